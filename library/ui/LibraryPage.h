#pragma once

#include <QTimer>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "controls/ButtonLogic.h"
#include "controls/MenuOwner.h"
#include "controls/MenuTable.h"
#include "library/LibraryCommands.h"
#include "library/LibraryModel.h"
#include "library/Player.h"
#include "library/RandomSource.h"
#include "library/RescanPace.h"
#include "platform/media/MediaBackend.h"

class QGroupBox;
class QLabel;
class QTableView;

namespace korvana {

class CGradientMenu;
class FilterBox;
class Clock;
class DesktopOpener;
class LibraryRescan;
class LibraryTableModel;
class PlaylistTableModel;
class Prompter;
class ReleaseSlider;
class SkinButton;
struct LibraryLayout;

// What the Library page needs from the rest of the program. The references
// must outlive the page.
struct LibraryPageServices {
    // The downloads folder as it is now (GetDownloadsFolder); asked at every
    // rescan, since the preferences may move it.
    std::function<std::filesystem::path()> downloadsFolder;
    // Folders::tempPlay: where the player plays its copies from.
    std::filesystem::path tempPlay;
    Prompter& prompter;
    DesktopOpener& opener;
    const Clock& clock;
    // The player's audio, required; the program passes
    // MakeMediaBackend(clock, MediaOutputFromEnvironment()).
    std::unique_ptr<MediaBackend> media;
    // Random order's draws; a StandardRandomSource when null.
    std::unique_ptr<RandomSource> random = nullptr;
    // How Delete removes a file; MoveToTrashOrDelete when empty.
    RemoveFile remove = nullptr;
    // How often the folder is scanned.
    RescanTiming rescan = {};
    // Where the playlist, volume, order switches, track and position are
    // kept across restarts; nothing is kept when empty. The tags read from
    // the library's files are kept beside it, in library-tags.json.
    std::filesystem::path playerState{};
};

// The Library page: the files of the downloads folder with what their tags
// say, narrowed by the words typed into the filter box above them, kept in
// step with the
// folder by rescans that change single rows only (every three seconds
// while the folder changes, soon after a watcher sees it change, once a
// minute while it is quiet, and whenever the page is shown), the commands
// on them (Play, Add To Playlist, Launch, Delete, Explore), and the
// playlist player with its transport buttons, random and repeat switches,
// position and volume sliders. It forwards each action to the library and
// player logic and renders their state afterwards.
//
// The first rescan runs three seconds after creation. Destroying the page
// stops playback (emptying TempPlay) and waits for a rescan under way.
class LibraryPage : public QWidget, private MenuOwner {
    Q_OBJECT
  public:
    // How long after a command the player's state is saved.
    static constexpr std::chrono::milliseconds kSaveDelay{1000};

    explicit LibraryPage(LibraryPageServices services, QWidget* parent = nullptr);
    ~LibraryPage() override;

    // What the rescan timer runs: starts a rescan of the downloads folder
    // off the GUI thread unless one is under way; its changes are applied
    // to the list when it is back.
    void Refresh();
    // What the position timer runs every Player::kTickInterval while a
    // track plays (not while it is paused).
    void PlaybackTick();

    const LibraryModel& Library() const { return library_; }
    const Player& GetPlayer() const { return player_; }
    // Runs a command on the player and shows its outcome: the page's own
    // controls and the desktop's media controls alike.
    void RunPlayer(const std::function<void(Player&)>& command);
    bool PlaybackTickRunning() const { return tickTimer_.isActive(); }

    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool TakePlaylistDrop(QEvent* event);
    void RestorePlayer();
    void SavePlayer();
    void ResumeWhereItStopped();
    void CreateLists();
    void CreateLibraryButtons();
    void CreatePlaylistButtons();
    void CreatePlayerControls();
    SkinButton* AddButton(const char* id, const QString& tip, const QString& icon,
                          ButtonKind kind = ButtonKind::Push, const QString& caption = QString());
    void Place(const LibraryLayout& layout);
    void SetColumnWidths();

    // The library list.
    std::vector<LibraryEntry> SelectedEntries() const;
    std::vector<Track> SelectedTracks() const;
    LibraryCommands Commands() const;
    void ApplyScan(LibraryScan scan);
    void SortByColumn(int column);
    void FilterChanged(const QString& typed);
    void ShowFileMenu(const QPoint& pos);
    void DeleteSelection();
    void OnMenuCommand(int commandId) override;

    // The player.
    void ConnectPlayer();
    void RenderPlayer();
    void RenderPlaylist();
    void OnPlaylistSelectionChanged();

    LibraryPageServices services_;
    LibraryModel library_;
    StandardRandomSource standardRandom_;
    Player player_;
    MenuTable fileMenu_;
    std::unique_ptr<CGradientMenu> popup_;

    FilterBox* filter_ = nullptr;
    LibraryTableModel* libraryModel_ = nullptr;
    PlaylistTableModel* playlistModel_ = nullptr;
    QTableView* libraryList_ = nullptr;
    QTableView* playlist_ = nullptr;
    SkinButton* addToPlaylist_ = nullptr;
    SkinButton* launch_ = nullptr;
    SkinButton* explore_ = nullptr;
    SkinButton* moveUp_ = nullptr;
    SkinButton* moveDown_ = nullptr;
    SkinButton* removeTrack_ = nullptr;
    SkinButton* removeAll_ = nullptr;
    SkinButton* random_ = nullptr;
    SkinButton* repeat_ = nullptr;
    SkinButton* play_ = nullptr;
    SkinButton* pause_ = nullptr;
    SkinButton* stop_ = nullptr;
    SkinButton* previousTrack_ = nullptr;
    SkinButton* nextTrack_ = nullptr;
    QGroupBox* playerFrame_ = nullptr;
    QGroupBox* volumeFrame_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* volumeSymbol_ = nullptr;
    ReleaseSlider* position_ = nullptr;
    ReleaseSlider* volume_ = nullptr;
    bool syncingPlaylist_ = false;

    QTimer tickTimer_;
    // Saves the player's state a moment after the user changed it.
    QTimer saveTimer_;
    // The restored track's position, applied when that track next starts.
    std::optional<std::pair<std::int64_t, std::int64_t>> resume_;
    std::unique_ptr<LibraryRescan> rescan_;
};

}  // namespace korvana
