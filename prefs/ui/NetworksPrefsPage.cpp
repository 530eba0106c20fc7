#include "prefs/ui/NetworksPrefsPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {
namespace {

// Placement in dialog units inside the page.
constexpr DialogControl kNetworksGroup{kNoControlId, kNetworksGroupText, 14, 10, 322, 208};
constexpr int kHeadingY = 25;
constexpr int kFirstRowY = 37;
constexpr int kRowStep = 22;
constexpr int kLabelX = 56;
constexpr int kLabelWidth = 70;
constexpr int kDropDownX = 136;
constexpr int kDropDownWidth = 56;
constexpr int kPortX = 206;
constexpr int kPortWidth = 44;
constexpr int kControlHeight = 14;
constexpr int kTextOffset = 3;
constexpr int kTextHeight = 8;

QString DropDownName(const NetworkRow& row) {
    return QStringLiteral("IDC_") + FixedText(row.enableOption).toUpper();
}

// The eDonkey port option has no network prefix, so the port boxes are
// named after their rows.
QString PortName(const NetworkRow& row) {
    return QStringLiteral("IDC_PORT_") + FixedText(row.label).toUpper();
}

QComboBox* MakeDropDown(QWidget& page, const NetworkRow& row, int selected) {
    auto* dropDown = new QComboBox(&page);
    dropDown->setObjectName(DropDownName(row));
    for (const std::string_view choice : kEnableChoices) {
        dropDown->addItem(FixedText(choice));
    }
    dropDown->setCurrentIndex(selected);
    return dropDown;
}

}  // namespace

NetworksPrefsPage::NetworksPrefsPage(const CoreOptionsPort& core, const DialogUnits& units,
                                     QWidget* parent)
    : QWidget(parent), filled_(FillNetworks(core)) {
    setObjectName(QStringLiteral("IDD_PREFS_NETWORKS"));
    auto* group = new QGroupBox(FixedText(kNetworksGroup.text), this);
    units.Place(*group, kNetworksGroup);
    AddLabel(*this, kPortColumnText, units.Rect(kPortX, kHeadingY, kPortWidth, kTextHeight));
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        const NetworkRow& row = kNetworkRows[i];
        const NetworkFieldValues& values = filled_.rows[i];
        const int y = kFirstRowY + static_cast<int>(i) * kRowStep;
        AddLabel(*this, row.label, units.Rect(kLabelX, y + kTextOffset, kLabelWidth, kTextHeight));
        dropDowns_[i] = MakeDropDown(*this, row, values.enableIndex);
        dropDowns_[i]->setGeometry(units.Rect(kDropDownX, y, kDropDownWidth, kControlHeight));
        auto* port = new QLineEdit(ShownText(values.port), this);
        port->setObjectName(PortName(row));
        port->setMaxLength(static_cast<int>(kMaxOptionTextBytes));
        port->setGeometry(units.Rect(kPortX, y, kPortWidth, kControlHeight));
        ports_[i] = port;
    }
    setFocusProxy(dropDowns_[0]);
}

NetworkFields NetworksPrefsPage::Fields() const {
    NetworkFields fields;
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        fields.rows[i].enableIndex = dropDowns_[i]->currentIndex();
        fields.rows[i].port = TypedBytes(ports_[i]->text(), filled_.rows[i].port);
    }
    return fields;
}

}  // namespace korvana
