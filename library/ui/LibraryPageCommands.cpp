// The Library page's list: the rescan's changes, sorting, the right-click
// menu and the commands on the selected rows.
#include <QApplication>
#include <QCursor>
#include <QTableView>
#include <algorithm>

#include "controls/CGradientMenu.h"
#include "library/ui/LibraryIds.h"
#include "library/ui/LibraryPage.h"
#include "library/ui/LibraryRescan.h"
#include "library/ui/LibraryTableModel.h"

namespace korvana {
namespace {

namespace ids = library_ids;

constexpr int kMenuBandWidth = 24;

}  // namespace

void LibraryPage::Refresh() {
    rescan_->Start();
}

void LibraryPage::ApplyScan(LibraryScan scan) {
    libraryModel_->Apply(library_.Apply(std::move(scan)));
}

// Rows in list order, as the commands walk them.
std::vector<std::size_t> LibraryPage::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : libraryList_->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<Track> LibraryPage::SelectedTracks() const {
    std::vector<Track> tracks;
    for (LibraryEntry& entry : library_.EntriesAt(SelectedRows())) {
        tracks.push_back(Track{std::move(entry.fileName), std::move(entry.fullPath)});
    }
    return tracks;
}

// Built for each use, so that Explore and Delete follow a downloads folder
// that the preferences moved.
LibraryCommands LibraryPage::Commands() const {
    return LibraryCommands(services_.prompter, services_.opener, services_.downloadsFolder(),
                           services_.remove);
}

void LibraryPage::SortByColumn(int column) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    libraryModel_->Apply(library_.ClickColumn(column));
    QApplication::restoreOverrideCursor();
}

// Only a click on a row opens the menu; its commands act on the selected
// rows, not on the clicked one.
void LibraryPage::ShowFileMenu(const QPoint& pos) {
    if (!libraryList_->indexAt(pos).isValid()) {
        return;
    }
    if (!popup_) {
        popup_ = std::make_unique<CGradientMenu>(kMenuBandWidth, 1, this);
        popup_->SetCaption("File");
        popup_->SetColours(QColor(0, 0, 0), QColor(128, 128, 255), QColor(255, 255, 255));
        popup_->Attach(&fileMenu_);
    }
    popup_->Popup(libraryList_->viewport()->mapToGlobal(pos), this);
}

void LibraryPage::OnMenuCommand(int commandId) {
    switch (commandId) {
        case ids::kAddToPlaylistCommand:
            RunPlayer([this](Player& player) { player.AddSelection(SelectedTracks()); });
            break;
        case ids::kPlayCommand:
            RunPlayer([this](Player& player) { player.PlaySelection(SelectedTracks()); });
            break;
        case ids::kLaunchCommand:
            Commands().Launch(library_, SelectedRows());
            break;
        case ids::kDeleteCommand:
            DeleteSelection();
            break;
        default:
            break;
    }
}

// The deleted files' rows go with the rescan that starts at once, rather
// than lingering until the next tick.
void LibraryPage::DeleteSelection() {
    Commands().Delete(library_, SelectedRows(),
                      PlayerHold{player_.CurrentFile(), player_.PlaybackOpen()});
    Refresh();
}

}  // namespace korvana
