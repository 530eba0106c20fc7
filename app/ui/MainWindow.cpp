#include "app/ui/MainWindow.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "app/FolderClearer.h"
#include "app/MainLayout.h"
#include "app/ui/ShutdownDialog.h"
#include "controls/CGradientMenu.h"
#include "controls/ListMemory.h"
#include "controls/QtBridge.h"
#include "controls/SkinButton.h"
#include "core/StatusLog.h"
#include "platform/SettingsStore.h"
#include "res/ResourceIds.h"

namespace korvana {

namespace {

// Shade parameters shared by every picture button of the window.
constexpr int kGranularity = 8;
constexpr int kHighlight = 10;

QString IdName(const char* name) {
    return QString::fromLatin1(name);
}

QWidget* PlaceholderPage(const QString& name, const QString& title) {
    auto* page = new QLabel(title);
    page->setObjectName(name);
    page->setAlignment(Qt::AlignCenter);
    return page;
}

// SVG artwork drawn once at the size it is shown at.
QIcon SizedIcon(const char* path, int pixels) {
    return QIcon(QIcon(QString::fromLatin1(path)).pixmap(pixels, pixels));
}

void Place(QWidget* widget, const LayoutRect& rect) {
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
}

struct PageButtonSpec {
    const char* name;
    const char* text;
    const char* icon;
    const char* tip;
};

constexpr PageButtonSpec kPageButtons[] = {
    {"IDC_SEARCH_BUTTON", "Search", ":/res/icons/search.svg", "See your current searches (F2)"},
    {"IDC_TRANSFERS_BUTTON", "Transfers", ":/res/icons/transfers.svg",
     "See your current transfers (F3)"},
    {"IDC_LIBRARY_BUTTON", "Library", ":/res/icons/library.svg", "See your file library (F4)"},
};

struct PaneSpec {
    const char* name;
    const char* icon;  // empty for the fillers
    const char* tip;
    int iconOffsetY;
};

constexpr PaneSpec kPanes[] = {
    {"IDC_LEFT_FILLER", "", "", 0},
    {"IDC_SERVERS_PANE", ":/res/icons/servers.svg", "Number of connected p2p servers", -4},
    {"IDC_BANDWIDTH_PANE", ":/res/icons/bandwidth.svg", "Total p2p bandwidth in use", -2},
    {"IDC_SHARED_PANE", ":/res/icons/shared.svg", "Number of shared files on p2p", 1},
    {"IDC_DOWNLOADS_PANE", ":/res/icons/downloads.svg", "Number of downloads", -1},
    {"IDC_RIGHT_FILLER", "", "", 0},
};

SkinButton* MakeButton(QWidget* parent, const char* name, ButtonStyle style) {
    auto* button = new SkinButton(QString(), style, parent);
    button->setObjectName(IdName(name));
    button->SetShade(kNoiseShade, kGranularity, kHighlight, 0, Qt::black);
    return button;
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, MainWindowPages pages, QWidget* parent)
    : QWidget(parent),
      services_(std::move(services)),
      host_(services_.host != nullptr ? *services_.host : idleHost_),
      stopper_(
          services_.clock, services_.core,
          [this](std::string_view line) {
              if (services_.statusLog != nullptr) {
                  services_.statusLog->Line(line);
              }
          },
          !services_.remoteCoreAddress.empty()) {
    setObjectName(IdName("IDD_MAINWINDOW"));
    setWindowTitle(QStringLiteral("Korvana MP3 Finder"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildMenuBar();
    client_ = new QWidget(this);
    client_->setObjectName(IdName("IDC_CLIENT"));
    layout->addWidget(client_);
    pageHost_ = new QStackedWidget(client_);
    pageHost_->setObjectName(IdName("IDC_PAGE_HOST"));
    AddPages(pages);
    BuildPageButtons();
    BuildStatusRow();
    separator_ = new QFrame(client_);
    separator_->setObjectName(IdName("IDC_SEPARATOR"));
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Plain);
    client_->installEventFilter(this);
    RefreshStatusPanes();
    SetLeastSize();
    KeepListColumns();
    resize(1000, 700);

    stopTimer_.setInterval(static_cast<int>(kShutdownTick.count()));
    connect(&stopTimer_, &QTimer::timeout, this, &MainWindow::PollCoreStop);
}

MainWindow::~MainWindow() = default;

void MainWindow::AddPages(const MainWindowPages& pages) {
    pageHost_->addWidget(pages.search ? pages.search
                                      : PlaceholderPage(IdName("IDD_SEARCH"), tr("Search")));
    pageHost_->addWidget(pages.transfers
                             ? pages.transfers
                             : PlaceholderPage(IdName("IDD_TRANSFERS"), tr("Transfers")));
    pageHost_->addWidget(pages.library ? pages.library
                                       : PlaceholderPage(IdName("IDD_LIBRARY"), tr("Library")));
}

// Every page keeps its controls whole at the least size: the window cannot
// be made smaller than what the largest of them needs.
void MainWindow::SetLeastSize() {
    const QSize pages = pageHost_->minimumSizeHint();
    const LayoutRect least = MinimumClientSize(pages.width(), pages.height());
    client_->setMinimumSize(least.width, least.height);
}

void MainWindow::KeepListColumns() {
    if (services_.settings == nullptr) {
        return;
    }
    for (QTableView* view : pageHost_->findChildren<QTableView*>()) {
        if (!view->objectName().isEmpty()) {
            auto* memory = new ListMemory(*view, *services_.settings,
                                          "Lists/" + view->objectName().toStdString());
            memory->Restore();
        }
    }
}

void MainWindow::ShowAsLastTime() {
    const std::optional<std::string> page =
        services_.settings ? services_.settings->Read(kLastPageKey) : std::nullopt;
    if (page == "1" || page == "2") {
        ShowPage(*page == "1" ? 1 : 2);
    }
    const std::optional<std::string> stored =
        services_.settings ? services_.settings->Read(kWindowGeometryKey) : std::nullopt;
    if (stored && restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*stored)))) {
        show();
        return;
    }
    showMaximized();
}

void MainWindow::BuildPageButtons() {
    const ButtonStyle pageStyle{ButtonKind::Check, true, false, TextAlign::Centre};
    for (int i = 0; i < 3; ++i) {
        const PageButtonSpec& spec = kPageButtons[i];
        SkinButton* button = MakeButton(client_, spec.name, pageStyle);
        button->SetText(QString::fromLatin1(spec.text));
        button->SetIcon(SizedIcon(spec.icon, 32), kIconLeft);
        button->SetToolTipText(QString::fromLatin1(spec.tip));
        button->setGeometry(10 + i * 126, 8, 120, 52);
        connect(button, &SkinButton::clicked, this, [this, i] { ShowPage(i); });
        pageButtons_[static_cast<std::size_t>(i)] = button;
    }
    pageButtons_[0]->SetCheck(true);
    pageButtons_[0]->SetShade(kBrushedShade, kGranularity, kHighlight, 0, Qt::black);

    preferencesButton_ = MakeButton(client_, "IDC_PREFERENCES_BUTTON", pageStyle);
    preferencesButton_->SetText(tr("Preferences"));
    preferencesButton_->SetIcon(SizedIcon(":/res/icons/preferences.svg", 32), kIconLeft);
    preferencesButton_->SetToolTipText(QStringLiteral("Change your preferences"));
    preferencesButton_->setGeometry(10 + 3 * 126, 8, 130, 52);
    connect(preferencesButton_, &SkinButton::clicked, this, [this] {
        // A momentary button: it never stays down, whatever the dialog does.
        preferencesButton_->Uncheck();
        host_.OpenPreferences();
        preferencesButton_->Uncheck();
    });
}

void MainWindow::BuildStatusRow() {
    const ButtonStyle paneStyle{ButtonKind::Push, true, false, TextAlign::Centre};
    for (std::size_t i = 0; i < statusRow_.size(); ++i) {
        const PaneSpec& spec = kPanes[i];
        SkinButton* pane = MakeButton(client_, spec.name, paneStyle);
        if (*spec.icon != '\0') {
            const QIcon icon = SizedIcon(spec.icon, 16);
            pane->SetIcon(icon, kIconLeft, icon);
            pane->SetIconOffsetY(spec.iconOffsetY);
            pane->SetToolTipText(QString::fromLatin1(spec.tip));
        }
        pane->setFocusPolicy(Qt::NoFocus);
        QFont font = pane->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        pane->SetButtonFont(font);
        statusRow_[i] = pane;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        LayOutClient();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::LayOutClient() {
    const MainLayout layout = ComputeMainLayout(client_->width(), client_->height());
    Place(pageHost_, layout.pageHost);
    const LayoutRect panes[] = {layout.leftFiller, layout.serversPane,   layout.bandwidthPane,
                                layout.sharedPane, layout.downloadsPane, layout.rightFiller};
    for (std::size_t i = 0; i < statusRow_.size(); ++i) {
        Place(statusRow_[i], panes[i]);
    }
    Place(separator_, layout.separator);
}

void MainWindow::ShowPage(int index) {
    for (int i = 0; i < 3; ++i) {
        SkinButton* button = pageButtons_[static_cast<std::size_t>(i)];
        button->SetCheck(i == index);
        button->SetShade(i == index ? kBrushedShade : kNoiseShade, kGranularity, kHighlight, 0,
                         Qt::black);
    }
    if (pageHost_->currentIndex() != index) {
        pageHost_->setCurrentIndex(index);
        pageHost_->currentWidget()->setFocus();
    }
    host_.AskUpdateCheck();
}

int MainWindow::VisiblePage() const {
    return pageHost_->currentIndex();
}

void MainWindow::RefreshStatusPanes() {
    const StatusInputs inputs = host_.ReadStatus();
    const StatusTexts texts = ComputeStatusTexts(inputs);
    statusRow_[1]->SetText(QString::fromStdString(texts.servers));
    statusRow_[2]->SetText(QString::fromStdString(texts.bandwidth));
    statusRow_[3]->SetText(QString::fromStdString(texts.shared));
    statusRow_[4]->SetText(QString::fromStdString(texts.downloads));
    emit DownloadsTextChanged(TextFromBytes(texts.downloads));
}

}  // namespace korvana
