#include "library/ui/LibraryPage.h"

#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QResizeEvent>
#include <QShortcut>
#include <QTableView>
#include <QUrl>
#include <utility>

#include "controls/CGradientMenu.h"
#include "controls/FilterBox.h"
#include "controls/Shade.h"
#include "controls/SkinButton.h"
#include "library/ui/LibraryArtwork.h"
#include "library/ui/LibraryIds.h"
#include "library/ui/LibraryLayout.h"
#include "library/ui/LibraryRescan.h"
#include "library/ui/LibraryTableModel.h"
#include "library/ui/PlaylistTableModel.h"
#include "library/ui/ReleaseSlider.h"
#include "library/ui/TrashRemover.h"

namespace korvana {
namespace {

namespace ids = library_ids;

// Offsets that centre a small icon in a 24-pixel button; captioned
// buttons keep the icon above the caption.
constexpr int kSmallIconOffsetY = 4;
constexpr int kCaptionedIconOffsetY = 6;

void SetUpListView(QTableView& view) {
    view.setShowGrid(true);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setWordWrap(false);
    view.setTextElideMode(Qt::ElideRight);
    view.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 6);
    view.horizontalHeader()->setStretchLastSection(false);
    view.horizontalHeader()->setHighlightSections(false);
    view.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QLabel* AddLabel(const char* id, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(id));
    return label;
}

QGroupBox* AddFrame(const char* id, QWidget* parent) {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(id));
    return frame;
}

MenuTable FileMenu() {
    return MenuTable{
        ids::kFileMenu,
        {MenuCommand("Add To Playlist", ids::kAddToPlaylistCommand),
         MenuCommand("Play", ids::kPlayCommand), MenuCommand("Launch", ids::kLaunchCommand),
         MenuSeparator(), MenuCommand("Delete", ids::kDeleteCommand)}};
}

}  // namespace

LibraryPage::LibraryPage(LibraryPageServices services, QWidget* parent)
    : QWidget(parent),
      services_(std::move(services)),
      player_(*services_.media, services_.prompter, services_.clock,
              services_.random ? *services_.random : standardRandom_, services_.tempPlay),
      fileMenu_(FileMenu()) {
    if (!services_.remove) {
        services_.remove = MoveToTrashOrDelete;
    }
    LoadLibraryArtwork();
    setObjectName(QString::fromLatin1(ids::kPage));
    // The frames go first so that the controls inside them lie above them.
    playerFrame_ = AddFrame(ids::kPlayerFrame, this);
    volumeFrame_ = AddFrame(ids::kVolumeFrame, this);
    CreateLists();
    CreateLibraryButtons();
    CreatePlaylistButtons();
    CreatePlayerControls();
    ConnectPlayer();

    rescan_ = std::make_unique<LibraryRescan>(
        services_.downloadsFolder, [this](LibraryScan scan) { ApplyScan(std::move(scan)); },
        [this](std::vector<LibraryEntry> tagged) { library_.ApplyTags(tagged); }, services_.rescan);
    if (!services_.playerState.empty()) {
        rescan_->KeepTagsIn(services_.playerState.parent_path() / "library-tags.json");
    }
    tickTimer_.setInterval(Player::kTickInterval);
    connect(&tickTimer_, &QTimer::timeout, this, &LibraryPage::PlaybackTick);
    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(kSaveDelay);
    connect(&saveTimer_, &QTimer::timeout, this, &LibraryPage::SavePlayer);
    RestorePlayer();
    RenderPlayer();
}

// The table models listen to the library and the playlist, which are
// members: they go first, with their views, rather than with the page's
// children after the members are gone.
LibraryPage::~LibraryPage() {
    popup_.reset();
    rescan_.reset();
    SavePlayer();
    player_.Stop();
    delete std::exchange(libraryList_, nullptr);
    delete std::exchange(playlist_, nullptr);
    delete std::exchange(libraryModel_, nullptr);
    delete std::exchange(playlistModel_, nullptr);
}

void LibraryPage::CreateLists() {
    filter_ = new FilterBox(this);
    filter_->setObjectName(QString::fromLatin1(ids::kFilter));
    connect(filter_, &FilterBox::textChanged, this, &LibraryPage::FilterChanged);
    libraryModel_ = new LibraryTableModel(library_, this);
    libraryList_ = new QTableView(this);
    libraryList_->setObjectName(QString::fromLatin1(ids::kLibraryList));
    libraryList_->setModel(libraryModel_);
    SetUpListView(*libraryList_);
    libraryList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    libraryList_->setContextMenuPolicy(Qt::CustomContextMenu);
    libraryList_->horizontalHeader()->setSectionsMovable(true);
    libraryList_->horizontalHeader()->setSectionsClickable(true);
    libraryList_->horizontalHeader()->setSortIndicatorShown(false);
    libraryList_->setColumnHidden(kPathColumn, true);
    libraryList_->viewport()->installEventFilter(this);
    connect(libraryList_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &LibraryPage::SortByColumn);
    connect(libraryList_, &QTableView::customContextMenuRequested, this,
            &LibraryPage::ShowFileMenu);
    connect(libraryList_, &QTableView::doubleClicked, this, [this] {
        RunPlayer([this](Player& player) { player.PlaySelection(SelectedTracks()); });
    });

    playlistModel_ = new PlaylistTableModel(player_.GetPlaylist(), this);
    playlist_ = new QTableView(this);
    playlist_->setObjectName(QString::fromLatin1(ids::kPlaylist));
    playlist_->setModel(playlistModel_);
    SetUpListView(*playlist_);
    playlist_->setSelectionMode(QAbstractItemView::SingleSelection);
    playlist_->horizontalHeader()->hide();
    playlist_->setColumnHidden(1, true);
    playlist_->viewport()->installEventFilter(this);
    connect(playlist_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LibraryPage::OnPlaylistSelectionChanged);
    connect(playlist_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const auto row = static_cast<std::size_t>(index.row());
        RunPlayer([row](Player& player) { player.PlayRow(row); });
    });
    playlist_->installEventFilter(this);
    // Library rows (or files from elsewhere) dropped on the playlist join it.
    libraryList_->setDragEnabled(true);
    libraryList_->setDragDropMode(QAbstractItemView::DragOnly);
    playlist_->setAcceptDrops(true);
    playlist_->viewport()->setAcceptDrops(true);
}

SkinButton* LibraryPage::AddButton(const char* id, const QString& tip, const QString& icon,
                                   ButtonKind kind, const QString& caption) {
    auto* button = new SkinButton(caption, ButtonStyle{kind, true, false, TextAlign::Centre}, this);
    button->setObjectName(QString::fromLatin1(id));
    button->SetToolTipText(tip);
    const bool captioned = !caption.isEmpty();
    button->SetIcon(LibraryIcon(icon, captioned ? kLargeIconSize : kSmallIconSize));
    button->SetIconOffsetY(captioned ? kCaptionedIconOffsetY : kSmallIconOffsetY);
    button->SetShade(captioned ? kBrushedShade : kNoiseShade, 8, 10, 0, QColor(0, 0, 0));
    if (captioned) {
        auto* shortcut = new QShortcut(QKeySequence::mnemonic(caption), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, button, &SkinButton::clicked);
    }
    return button;
}

void LibraryPage::CreateLibraryButtons() {
    addToPlaylist_ =
        AddButton(ids::kAddToPlaylist, QStringLiteral("Add Item To Playlist"),
                  QStringLiteral("add_to_playlist"), ButtonKind::Push, QStringLiteral("&Playlist"));
    launch_ = AddButton(ids::kLaunch, QStringLiteral("Launch Item"), QStringLiteral("launch"),
                        ButtonKind::Push, QStringLiteral("&Launch"));
    explore_ = AddButton(ids::kExplore, QStringLiteral("Explore Downloads Folder"),
                         QStringLiteral("explore"), ButtonKind::Push, QStringLiteral("&Explore"));
    connect(addToPlaylist_, &SkinButton::clicked, this, [this] {
        RunPlayer([this](Player& player) { player.AddSelection(SelectedTracks()); });
    });
    connect(launch_, &SkinButton::clicked, this, [this] { Commands().Launch(SelectedEntries()); });
    connect(explore_, &SkinButton::clicked, this, [this] { Commands().Explore(); });
}

void LibraryPage::CreatePlaylistButtons() {
    moveUp_ = AddButton(ids::kMoveUp, QStringLiteral("Move Track Up"), QStringLiteral("move_up"));
    moveDown_ =
        AddButton(ids::kMoveDown, QStringLiteral("Move Track Down"), QStringLiteral("move_down"));
    removeTrack_ = AddButton(ids::kRemoveTrack, QStringLiteral("Remove Track"),
                             QStringLiteral("remove_track"));
    removeAll_ = AddButton(ids::kRemoveAll, QStringLiteral("Remove All Tracks"),
                           QStringLiteral("remove_all"));
    random_ = AddButton(ids::kRandom, QStringLiteral("Random"), QStringLiteral("random"),
                        ButtonKind::Check);
    repeat_ = AddButton(ids::kRepeat, QStringLiteral("Repeat"), QStringLiteral("repeat"),
                        ButtonKind::Check);
}

void LibraryPage::CreatePlayerControls() {
    title_ = AddLabel(ids::kTitle, this);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);
    time_ = AddLabel(ids::kTime, this);
    time_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    volumeSymbol_ = AddLabel(ids::kVolumeSymbol, this);
    volumeSymbol_->setPixmap(VolumeSymbol(QSize(65, 20)));

    position_ = new ReleaseSlider(this);
    position_->setObjectName(QString::fromLatin1(ids::kPosition));
    position_->setSingleStep(1000);
    volume_ = new ReleaseSlider(this);
    volume_->setObjectName(QString::fromLatin1(ids::kVolume));
    volume_->setRange(0, kMaxVolume);
    volume_->setSingleStep(50);
    volume_->setPageStep(100);
    volume_->setValue(kMaxVolume);

    play_ = AddButton(ids::kPlay, QStringLiteral("Play"), QStringLiteral("play"));
    pause_ = AddButton(ids::kPause, QStringLiteral("Pause"), QStringLiteral("pause"));
    stop_ = AddButton(ids::kStop, QStringLiteral("Stop"), QStringLiteral("stop"));
    previousTrack_ = AddButton(ids::kPreviousTrack, QStringLiteral("Previous Track"),
                               QStringLiteral("previous"));
    nextTrack_ = AddButton(ids::kNextTrack, QStringLiteral("Next Track"), QStringLiteral("next"));
}

QSize LibraryPage::minimumSizeHint() const {
    return MinimumLibraryPageSize();
}

void LibraryPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Place(LayOutLibraryPage(width(), height()));
}

// The user comes to look: whatever a quiet spell's long wait, or a downloads
// folder that the preferences moved, would still hide shows now.
void LibraryPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void LibraryPage::Place(const LibraryLayout& layout) {
    filter_->setGeometry(layout.filter);
    libraryList_->setGeometry(layout.libraryList);
    addToPlaylist_->setGeometry(layout.addToPlaylist);
    launch_->setGeometry(layout.launch);
    explore_->setGeometry(layout.explore);
    playlist_->setGeometry(layout.playlist);
    moveUp_->setGeometry(layout.moveUp);
    moveDown_->setGeometry(layout.moveDown);
    removeTrack_->setGeometry(layout.removeTrack);
    removeAll_->setGeometry(layout.removeAll);
    random_->setGeometry(layout.random);
    repeat_->setGeometry(layout.repeat);
    playerFrame_->setGeometry(layout.playerFrame);
    title_->setGeometry(layout.title);
    position_->setGeometry(layout.position);
    time_->setGeometry(layout.time);
    volumeFrame_->setGeometry(layout.volumeFrame);
    volumeSymbol_->setGeometry(layout.volumeSymbol);
    volume_->setGeometry(layout.volume);
    play_->setGeometry(layout.play);
    pause_->setGeometry(layout.pause);
    stop_->setGeometry(layout.stop);
    previousTrack_->setGeometry(layout.previousTrack);
    nextTrack_->setGeometry(layout.nextTrack);
    SetColumnWidths();
}

// The lists' columns follow their client areas, which also change when a
// scroll bar comes or goes.
bool LibraryPage::eventFilter(QObject* watched, QEvent* event) {
    if (playlist_ != nullptr && watched == playlist_->viewport() && TakePlaylistDrop(event)) {
        return true;
    }
    if (watched == playlist_ && event->type() == QEvent::KeyPress) {
        // Enter plays the selected track, Delete takes it off the playlist.
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                RunPlayer([](Player& player) { player.Play(); });
                return true;
            case Qt::Key_Delete:
                RunPlayer([](Player& player) { player.RemoveTrack(); });
                return true;
            default:
                break;
        }
    }
    if (event->type() == QEvent::Resize && libraryList_ != nullptr && playlist_ != nullptr &&
        (watched == libraryList_->viewport() || watched == playlist_->viewport())) {
        SetColumnWidths();
    }
    return QWidget::eventFilter(watched, event);
}

// Local files dragged onto the playlist: accepted while they hover, added
// in their order when dropped.
bool LibraryPage::TakePlaylistDrop(QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    const auto* drop = static_cast<QDropEvent*>(event);
    std::vector<Track> tracks;
    for (const QUrl& url : drop->mimeData()->urls()) {
        if (url.isLocalFile()) {
            const std::filesystem::path path(url.toLocalFile().toStdString());
            tracks.push_back(Track{path.filename().string(), path.string()});
        }
    }
    if (tracks.empty()) {
        event->ignore();
        return true;
    }
    event->accept();
    if (type == QEvent::Drop) {
        RunPlayer([&tracks](Player& player) { player.AddSelection(tracks); });
    }
    return true;
}

void LibraryPage::SetColumnWidths() {
    const auto widths = LibraryColumnWidths(libraryList_->viewport()->width());
    for (int column = 0; column < kLibraryColumns; ++column) {
        if (column != kPathColumn) {
            libraryList_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
        }
    }
    playlist_->setColumnWidth(0, playlist_->viewport()->width());
}

}  // namespace korvana
