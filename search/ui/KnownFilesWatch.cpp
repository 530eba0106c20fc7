#include "search/ui/KnownFilesWatch.h"

#include <QAbstractItemModel>
#include <QTableView>

#include "library/ui/LibraryIds.h"
#include "library/ui/LibraryPage.h"
#include "search/ui/SearchPage.h"
#include "transfers/ui/TransfersPage.h"

namespace korvana {
namespace {

// Every file of the latest scan, whatever the list shows of them.
void TellLibrary(SearchPage& search, const LibraryPage& library) {
    std::vector<std::string> names;
    names.reserve(library.Library().Listing().size());
    for (const LibraryEntry& entry : library.Library().Listing()) {
        names.push_back(entry.fileName);
    }
    search.SetLibraryNames(names);
}

}  // namespace

void WatchKnownFiles(SearchPage& search, LibraryPage& library, TransfersPage& transfers) {
    QObject::connect(&transfers, &TransfersPage::Refreshed, &search, [&search, &transfers] {
        std::vector<std::string> names;
        for (const DownloadRow& row : transfers.Board().Downloads()) {
            names.push_back(row.name);
        }
        search.SetTransferNames(names);
    });
    // The library list's own model tells when rows come or go; a row that
    // changes in place (its tags or size arriving) keeps its name, so those
    // changes need no new set of names.
    const auto* list =
        library.findChild<QTableView*>(QString::fromLatin1(library_ids::kLibraryList));
    if (list == nullptr || list->model() == nullptr) {
        return;
    }
    const auto tell = [&search, &library] { TellLibrary(search, library); };
    const QAbstractItemModel* rows = list->model();
    QObject::connect(rows, &QAbstractItemModel::modelReset, &search, tell);
    QObject::connect(rows, &QAbstractItemModel::rowsInserted, &search, tell);
    QObject::connect(rows, &QAbstractItemModel::rowsRemoved, &search, tell);
    TellLibrary(search, library);
}

}  // namespace korvana
