#include "prefs/ui/PreferencesDialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QSvgRenderer>

#include <array>

#include "platform/Prompter.h"
#include "prefs/PreferencesSave.h"
#include "prefs/ui/CorePrefsPage.h"
#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/GeneralPrefsPage.h"
#include "prefs/ui/MoveWithProgress.h"
#include "prefs/ui/NetworksPrefsPage.h"
#include "prefs/ui/PrefsUiText.h"
#include "prefs/ui/SharingPrefsPage.h"
#include "prefs/ui/WebEnginesPrefsPage.h"
#include "services/DownloadNotices.h"

// The page images live in this library's own resource file; a static
// library's resources are registered only when something asks for them.
static void RegisterPageImages() {
    Q_INIT_RESOURCE(prefs_pages);
}

namespace korvana {
namespace {

// The dialog's outer size in dialog units: the page host's right edge and
// the page list's bottom edge, each with the same 7-unit margin they have
// on the top and left.
constexpr int kDialogWidth = 416;
constexpr int kDialogHeight = 262;

constexpr std::array<const char*, 5> kPageImages{":/prefs/general.svg", ":/prefs/networks.svg",
                                                 ":/prefs/sharing.svg", ":/prefs/core.svg",
                                                 ":/prefs/web.svg"};

// The image drawn at 1x and 2x, so it stays sharp on high-density screens.
QIcon PageIcon(const char* resource) {
    QSvgRenderer renderer(QString::fromLatin1(resource));
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(kPageImageSize * scale, kPageImageSize * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Moves the wait cursor of a Save out of the way before the first message
// box of that Save, and in any case when the Save is over.
class WaitCursorDuringSave final : public Prompter {
  public:
    explicit WaitCursorDuringSave(Prompter& prompter) : prompter_(prompter) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursorDuringSave() override { RestoreArrow(); }

    void Inform(const std::string& text, const std::string& caption) override {
        RestoreArrow();
        prompter_.Inform(text, caption);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        RestoreArrow();
        return prompter_.AskYesNo(text, caption);
    }

  private:
    void RestoreArrow() {
        if (waiting_) {
            waiting_ = false;
            QGuiApplication::restoreOverrideCursor();
        }
    }

    Prompter& prompter_;
    bool waiting_ = true;
};

QPushButton* MakeButton(QWidget& dialog, const DialogControl& control, const char* name,
                        const DialogUnits& units) {
    auto* button = new QPushButton(FixedText(control.text), &dialog);
    button->setObjectName(QString::fromLatin1(name));
    units.Place(*button, control);
    return button;
}

}  // namespace

PreferencesDialog::PreferencesDialog(CoreOptionsPort& core, SettingsStore& settings,
                                     Prompter& prompter, const std::filesystem::path& installFolder,
                                     const LoadedDefinitions& engines, FolderPicker picker,
                                     QWidget* parent)
    : QDialog(parent),
      core_(core),
      settings_(settings),
      prompter_(prompter),
      pageList_(new QListWidget(this)),
      pageHost_(new QStackedWidget(this)) {
    RegisterPageImages();
    setObjectName(QStringLiteral("IDD_PREFERENCES"));
    setWindowTitle(FixedText(kPreferencesTitle));
    setModal(true);
    const DialogUnits units = DialogUnits::ForFont(font());
    setFixedSize(units.X(kDialogWidth), units.Y(kDialogHeight));

    units.Place(*pageList_, kPageList);
    BuildPageList();

    pageHost_->setObjectName(QStringLiteral("IDC_PREFS_PAGE_HOST"));
    pageHost_->setFrameShape(QFrame::StyledPanel);
    units.Place(*pageHost_, kPageHost);
    general_ = new GeneralPrefsPage(core, ReadDownloadNoticesChoice(settings), units, pageHost_);
    networks_ = new NetworksPrefsPage(core, units, pageHost_);
    sharing_ = new SharingPrefsPage(core, settings, prompter, installFolder, std::move(picker),
                                    units, pageHost_);
    pageHost_->addWidget(general_);
    pageHost_->addWidget(networks_);
    pageHost_->addWidget(sharing_);
    corePage_ = new CorePrefsPage(ReadCoreSettings(settings), units, pageHost_);
    pageHost_->addWidget(corePage_);
    enginesPage_ = new WebEnginesPrefsPage(ReadWebEngineChoices(settings, engines.engines),
                                           engines.errors, units, pageHost_);
    pageHost_->addWidget(enginesPage_);
    pageHost_->setCurrentIndex(0);

    QPushButton* save = MakeButton(*this, kSaveButton, "IDC_PREFS_SAVE", units);
    QPushButton* cancel = MakeButton(*this, kCancelButton, "IDCANCEL", units);
    connect(save, &QPushButton::clicked, this, &PreferencesDialog::Save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // No button is a default one: the dialog would otherwise pick the first
    // in the focus chain (Save, or a hidden page's Browse) and press it on
    // Enter in any box.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    pageList_->setFocus();
}

void PreferencesDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
    }
    event->accept();
}

void PreferencesDialog::BuildPageList() {
    pageList_->setObjectName(QStringLiteral("IDC_PREFS_LIST"));
    pageList_->setViewMode(QListView::IconMode);
    pageList_->setFlow(QListView::TopToBottom);
    pageList_->setWrapping(false);
    pageList_->setMovement(QListView::Static);
    pageList_->setResizeMode(QListView::Adjust);
    pageList_->setSelectionMode(QAbstractItemView::SingleSelection);
    pageList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pageList_->setIconSize(QSize(kPageImageSize, kPageImageSize));
    // Each item takes the list's whole width, so that its name is never cut.
    const QSize itemSize(pageList_->width() - 2 * pageList_->frameWidth(),
                         kPageImageSize + 2 * pageList_->fontMetrics().height() + 6);
    pageList_->setGridSize(itemSize);
    for (std::size_t i = 0; i < kPageNames.size(); ++i) {
        auto* item = new QListWidgetItem(PageIcon(kPageImages[i]), FixedText(kPageNames[i]));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        item->setSizeHint(itemSize);
        pageList_->addItem(item);
    }
    // Only a click switches pages: moving the selection with the keyboard
    // leaves the page on show.
    connect(pageList_, &QListWidget::clicked, this, &PreferencesDialog::PageListClicked);
}

int PreferencesDialog::VisiblePage() const {
    return pageHost_->currentIndex();
}

void PreferencesDialog::PageListClicked() {
    const QList<QListWidgetItem*> selected = pageList_->selectedItems();
    const int clicked = selected.isEmpty() ? -1 : pageList_->row(selected.first());
    const int next = PageAfterClick(clicked, VisiblePage());
    if (next < 0) {
        return;
    }
    pageHost_->setCurrentIndex(next);
    pageHost_->currentWidget()->setFocus(Qt::MouseFocusReason);
}

void PreferencesDialog::reject() {
    if (!saving_) {
        QDialog::reject();
    }
}

// A move of the downloads folder lets the event loop turn until it is over,
// so a second click on Save or a Cancel may arrive meanwhile; both wait for
// the first Save to finish.
void PreferencesDialog::Save() {
    if (saving_) {
        return;
    }
    const std::optional<CoreSettings> coreSettings = corePage_->Typed();
    if (!coreSettings) {
        prompter_.Inform(kCorePortInvalidText, kCoreSettingsCaption);
        pageHost_->setCurrentWidget(corePage_);
        return;
    }
    if (const std::string problem = enginesPage_->Problem(); !problem.empty()) {
        pageHost_->setCurrentWidget(enginesPage_);
        prompter_.Inform(problem, kWebEnginesCaption);
        return;
    }
    saving_ = true;
    bool saved = false;
    {
        WaitCursorDuringSave messages(prompter_);
        saved = SavePreferences(core_, messages, general_->Fields(), networks_->Fields(),
                                sharing_->Prefs(),
                                [this](const auto& from, const auto& to) {
                                    return MoveWithProgress(this, from, to);
                                })
                    .has_value();
    }
    saving_ = false;
    // A box that holds no valid number keeps the dialog open to be corrected.
    if (!saved) {
        return;
    }
    WriteWebEngineChoices(settings_, enginesPage_->Typed());
    WriteDownloadNoticesChoice(settings_, general_->DownloadNoticesWanted());
    if (WriteCoreSettings(settings_, *coreSettings) == CoreSettingsSaved::PasswordNotKept) {
        prompter_.Inform(kPasswordNotKeptText, kCoreSettingsCaption);
    }
    accept();
}

}  // namespace korvana
