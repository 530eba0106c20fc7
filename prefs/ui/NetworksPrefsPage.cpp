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
constexpr int kNoteX = 256;
constexpr int kNoteWidth = 72;
// Left of the port column's heading.
constexpr int kNotConnectedX = 24;
constexpr int kNotConnectedWidth = 176;

QString DropDownName(const NetworkRow& row) {
    return QStringLiteral("IDC_") + FixedText(row.enableOption).toUpper();
}

// Cores name the port options differently, so the port boxes are named
// after their rows.
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
        dropDowns_[i]->setEnabled(values.switchAvailable);
        auto* port = new QLineEdit(ShownText(values.port), this);
        port->setObjectName(PortName(row));
        port->setMaxLength(static_cast<int>(kMaxOptionTextBytes));
        port->setGeometry(units.Rect(kPortX, y, kPortWidth, kControlHeight));
        AcceptDigitsOnly(*port);
        port->setEnabled(!values.portOption.empty());
        ports_[i] = port;
        AddAvailabilityNote(units, values, y);
    }
    if (!AnyReported(filled_)) {
        QLabel* note =
            AddLabel(*this, kCoreOptionsUnreportedText,
                     units.Rect(kNotConnectedX, kHeadingY, kNotConnectedWidth, kTextHeight));
        note->setObjectName(QStringLiteral("IDC_CORE_NOT_CONNECTED"));
    }
    // The page's focus goes to its first control that can take it.
    for (std::size_t i = 0; i < kNetworkCount && focusProxy() == nullptr; ++i) {
        if (dropDowns_[i]->isEnabled()) {
            setFocusProxy(dropDowns_[i]);
        } else if (ports_[i]->isEnabled()) {
            setFocusProxy(ports_[i]);
        }
    }
}

// A row of a connected core that lacks the network, or only its port
// option, says so beside the port box.
void NetworksPrefsPage::AddAvailabilityNote(const DialogUnits& units,
                                            const NetworkFieldValues& values, int y) {
    if (!AnyReported(filled_) || !values.portOption.empty()) {
        return;
    }
    const std::string_view text = values.switchAvailable ? kNoPortText : kUnavailableText;
    QLabel* note =
        AddLabel(*this, text, units.Rect(kNoteX, y + kTextOffset, kNoteWidth, kTextHeight));
    note->setEnabled(false);
}

NetworkFields NetworksPrefsPage::Fields() const {
    NetworkFields fields = filled_;
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        fields.rows[i].enableIndex = dropDowns_[i]->currentIndex();
        fields.rows[i].port = TypedBytes(ports_[i]->text(), filled_.rows[i].port);
    }
    return fields;
}

}  // namespace korvana
