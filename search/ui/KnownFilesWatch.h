#pragma once

namespace korvana {

class LibraryPage;
class SearchPage;
class TransfersPage;

// Keeps the search page's marks in step with the files of the Library page's
// list and the downloads of the Transfers page, each time their rows change
// on the GUI thread; the pages must outlive the connections (children of one
// window).
void WatchKnownFiles(SearchPage& search, LibraryPage& library, TransfersPage& transfers);

}  // namespace korvana
