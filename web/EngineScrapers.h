#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The page scrapers of the three built-in engines: plain, case-sensitive
// substring search on the page text, always taking the first match at or
// after a position. Each is its engine's definition (web/engines/
// BuiltInEngines.cpp) applied to one page. They only read; fetching is done
// by the engines. Each keeps at most kMaxEntriesPerPage entries of a page,
// so a hostile page cannot queue unbounded work.

inline constexpr std::size_t kMaxEntriesPerPage = 1000;

// A result ready for the result model: the file's link and its name.
struct ScrapedResult {
    std::string link;
    std::string name;
};

// A result that still needs its detail page: the link of that page and the
// title shown in the list.
struct DetailEntry {
    std::string detailLink;
    std::string title;
};

struct Engine1Page {
    std::vector<ScrapedResult> results;
    bool hasNextPage = false;
};

// Whether a result page of the first engine arrived whole: it has its title
// and "Next" marks, and its "Showing Results ... thru N</b> of TOTAL (<a"
// line with N at most TOTAL.
bool IsEngine1PageComplete(std::string_view page);

// Every "class=\"sm\"" block up to its "</table>": the link (decoded with
// DecodeLink) and the title give one result; a block without a link gives
// none. A next page exists when the page holds "<b>Next</b></a>".
Engine1Page ScrapeEngine1Page(std::string_view page);

// Every "dsong.aspx" link of a result page of the second engine, made
// absolute on `detailBase` with "&amp;" turned into "&", with its title.
std::vector<DetailEntry> ScrapeEngine2Page(std::string_view page, std::string_view detailBase);

// The link after "Download : <a href=\"" on a detail page of the second
// engine; empty when the page has none.
std::string ScrapeEngine2DownloadLink(std::string_view detailPage);

struct Engine3Page {
    std::vector<DetailEntry> entries;
    bool hasNextPage = false;
};

// The "download.php" entries of a listing page of the third engine, made
// absolute on `detailBase`. A page without "<b>Next Page" is the last one
// (or a failed fetch): it reports no next page and gives no entries.
Engine3Page ScrapeEngine3Page(std::string_view page, std::string_view detailBase);

// The link of the "Download Now" anchor of a detail page of the third
// engine: the quoted text that ends just before the marker's "\">". Empty
// when the page has no such marker.
std::string ScrapeEngine3DownloadLink(std::string_view detailPage);

}  // namespace korvana
