#include "prefs/ui/WebEnginesPrefsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {
namespace {

// Placement in dialog units inside the page.
constexpr DialogControl kEnginesGroup{kNoControlId, "Web engines", 14, 10, 322, 150};
constexpr int kFirstRowY = 26;
constexpr int kRowStep = 32;
constexpr int kSwitchX = 24;
constexpr int kAddressX = 36;
constexpr int kAddressWidth = 290;
constexpr int kNoteY = 170;

constexpr std::string_view kNoteText =
    "An empty address searches the simulated web on this computer. Changes take effect when "
    "Korvana MP3 Finder starts again.";

}  // namespace

WebEnginesPrefsPage::WebEnginesPrefsPage(std::vector<WebEngineChoice> stored,
                                         const DialogUnits& units, QWidget* parent)
    : QWidget(parent), stored_(std::move(stored)) {
    setObjectName(QStringLiteral("IDD_PREFS_WEB_ENGINES"));
    auto* group = new QGroupBox(FixedText(kEnginesGroup.text), this);
    units.Place(*group, kEnginesGroup);
    for (std::size_t i = 0; i < stored_.size(); ++i) {
        const int y = kFirstRowY + static_cast<int>(i) * kRowStep;
        const QString index = QString::number(i + 1);
        auto* on = new QCheckBox(QString::fromStdString(stored_[i].name), this);
        on->setObjectName(QStringLiteral("IDC_ENGINE_ON_") + index);
        on->setChecked(stored_[i].enabled);
        on->setGeometry(units.Rect(kSwitchX, y, 200, 12));
        auto* address = new QLineEdit(QString::fromStdString(stored_[i].url), this);
        address->setObjectName(QStringLiteral("IDC_ENGINE_URL_") + index);
        address->setPlaceholderText(QString::fromLatin1(kSimulatedWebUrl));
        address->setGeometry(units.Rect(kAddressX, y + 13, kAddressWidth, 14));
        address->setEnabled(stored_[i].enabled);
        connect(on, &QCheckBox::toggled, address, &QWidget::setEnabled);
        switches_.push_back(on);
        addresses_.push_back(address);
    }
    auto* note = new QLabel(FixedText(kNoteText), this);
    note->setGeometry(units.Rect(kEnginesGroup.x, kNoteY, kEnginesGroup.width, 24));
    note->setWordWrap(true);
    note->setEnabled(false);
    if (!switches_.empty()) {
        setFocusProxy(switches_.front());
    }
}

std::vector<WebEngineChoice> WebEnginesPrefsPage::Typed() const {
    std::vector<WebEngineChoice> typed = stored_;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        std::string url = addresses_[i]->text().trimmed().toStdString();
        while (!url.empty() && url.back() == '/') {
            url.pop_back();
        }
        typed[i].url = std::move(url);
        typed[i].enabled = switches_[i]->isChecked();
    }
    return typed;
}

std::string WebEnginesPrefsPage::Problem() {
    const std::vector<WebEngineChoice> typed = Typed();
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const std::string problem = WebEngineUrlProblem(typed[i].url);
        if (!problem.empty()) {
            addresses_[i]->setFocus();
            return typed[i].name + ": " + problem;
        }
    }
    return {};
}

}  // namespace korvana
