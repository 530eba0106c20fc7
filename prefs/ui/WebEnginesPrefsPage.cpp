#include "prefs/ui/WebEnginesPrefsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {
namespace {

// Placement in dialog units inside the page.
constexpr DialogControl kEnginesGroup{kNoControlId, "Web engines", 14, 10, 322, 170};
constexpr int kNoteY = 186;

constexpr std::string_view kNoteText =
    "An empty address searches the simulated web on this computer. Engines of your own go in "
    "korvana/engines under your data folder. Changes take effect when Korvana MP3 Finder starts "
    "again.";

}  // namespace

WebEnginesPrefsPage::WebEnginesPrefsPage(std::vector<WebEngineChoice> stored,
                                         const std::vector<std::string>& refusedFiles,
                                         const DialogUnits& units, QWidget* parent)
    : QWidget(parent), stored_(std::move(stored)) {
    setObjectName(QStringLiteral("IDD_PREFS_WEB_ENGINES"));
    auto* group = new QGroupBox(FixedText(kEnginesGroup.text), this);
    units.Place(*group, kEnginesGroup);
    auto* scroll = new QScrollArea(group);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* rows = new QWidget(scroll);
    auto* column = new QVBoxLayout(rows);
    for (std::size_t i = 0; i < stored_.size(); ++i) {
        AddRow(*rows, i);
    }
    for (const std::string& refused : refusedFiles) {
        auto* error = new QLabel(QString::fromStdString(refused), rows);
        error->setObjectName(QStringLiteral("IDC_ENGINE_REFUSED"));
        error->setWordWrap(true);
        error->setStyleSheet(QStringLiteral("color: #a93226"));
        column->addWidget(error);
    }
    column->addStretch();
    scroll->setWidget(rows);
    auto* inside = new QVBoxLayout(group);
    inside->addWidget(scroll);
    auto* note = new QLabel(FixedText(kNoteText), this);
    note->setGeometry(units.Rect(kEnginesGroup.x, kNoteY, kEnginesGroup.width, 36));
    note->setWordWrap(true);
    note->setEnabled(false);
    if (!switches_.empty()) {
        setFocusProxy(switches_.front());
    }
}

void WebEnginesPrefsPage::AddRow(QWidget& rows, std::size_t index) {
    const WebEngineChoice& choice = stored_[index];
    const QString number = QString::number(index + 1);
    auto* on = new QCheckBox(QString::fromStdString(choice.name), &rows);
    on->setObjectName(QStringLiteral("IDC_ENGINE_ON_") + number);
    on->setChecked(choice.enabled);
    auto* address = new QLineEdit(QString::fromStdString(choice.url), &rows);
    address->setObjectName(QStringLiteral("IDC_ENGINE_URL_") + number);
    address->setPlaceholderText(QString::fromLatin1(kSimulatedWebUrl));
    // A definition's address is its file's to change.
    address->setReadOnly(choice.urlKey.empty());
    address->setEnabled(choice.enabled);
    connect(on, &QCheckBox::toggled, address, &QWidget::setEnabled);
    auto* layout = static_cast<QVBoxLayout*>(rows.layout());
    layout->addWidget(on);
    layout->addWidget(address);
    layout->addSpacing(4);
    switches_.push_back(on);
    addresses_.push_back(address);
}

std::vector<WebEngineChoice> WebEnginesPrefsPage::Typed() const {
    std::vector<WebEngineChoice> typed = stored_;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        std::string url = BaseUrl(addresses_[i]->text().trimmed().toStdString());
        if (!typed[i].urlKey.empty()) {
            typed[i].url = std::move(url);
        }
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
