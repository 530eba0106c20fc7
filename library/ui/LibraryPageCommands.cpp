// The Library page's list: the rescan's changes, sorting, the right-click
// menu and the commands on the selected rows.
#include <QApplication>
#include <QCursor>
#include <QTableView>
#include <algorithm>
#include <unordered_set>

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

// The list hears of the changes through the library's notice.
void LibraryPage::ApplyScan(LibraryScan scan) {
    library_.Apply(std::move(scan));
}

// The rows as the list shows them, in list order, as the commands walk
// them: the library's own rows may be a step ahead of the view.
std::vector<LibraryEntry> LibraryPage::SelectedEntries() const {
    std::vector<int> rows;
    for (const QModelIndex& index : libraryList_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    std::vector<LibraryEntry> entries;
    entries.reserve(rows.size());
    for (const int row : rows) {
        entries.push_back(libraryModel_->RowAt(row));
    }
    return entries;
}

std::vector<Track> LibraryPage::SelectedTracks() const {
    std::vector<Track> tracks;
    for (LibraryEntry& entry : SelectedEntries()) {
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

// The selected rows that stay shown stay selected, even when the list is
// rebuilt under them; hidden rows leave the selection, so that no command
// acts on a file the user cannot see.
void LibraryPage::FilterChanged(const QString& typed) {
    std::unordered_set<std::string> selected;
    for (LibraryEntry& entry : SelectedEntries()) {
        selected.insert(std::move(entry.fullPath));
    }
    const QModelIndex current = libraryList_->currentIndex();
    const std::string currentPath =
        current.isValid() ? libraryModel_->RowAt(current.row()).fullPath : std::string();
    library_.SetFilter(WordFilter(typed.toStdString()));
    libraryModel_->DrainNow();
    // Neighbouring rows go in as one range.
    QItemSelection keep;
    const std::vector<LibraryEntry>& rows = libraryModel_->Rows();
    const auto at = [this](std::size_t row) {
        return libraryModel_->index(static_cast<int>(row), 0);
    };
    std::size_t runStart = 0;
    bool inRun = false;
    for (std::size_t row = 0; row <= rows.size(); ++row) {
        const bool kept = row < rows.size() && selected.contains(rows[row].fullPath);
        if (kept && !inRun) {
            runStart = row;
        } else if (!kept && inRun) {
            keep.select(at(runStart), at(row - 1));
        }
        inRun = kept;
        if (row < rows.size() && !currentPath.empty() && rows[row].fullPath == currentPath) {
            libraryList_->selectionModel()->setCurrentIndex(at(row), QItemSelectionModel::NoUpdate);
        }
    }
    libraryList_->selectionModel()->select(
        keep, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void LibraryPage::SortByColumn(int column) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    libraryModel_->ClickColumn(column);
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
            Commands().Launch(SelectedEntries());
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
    Commands().Delete(SelectedEntries(), PlayerHold{player_.CurrentFile(), player_.PlaybackOpen()});
    Refresh();
}

}  // namespace korvana
