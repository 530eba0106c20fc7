#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "web/engines/EngineDefinition.h"

namespace korvana {

class PageFetcher;
class WebResultSink;

struct DefinedResult {
    std::string link;
    std::string name;
    // -1 when the page does not tell.
    std::int64_t size = -1;
};

struct DefinedPage {
    std::vector<DefinedResult> results;
    bool hasNextPage = false;
};

// The results of one page of a defined engine, at most kMaxEntriesPerPage.
// A link starting with "/" is taken on the engine's base; other links that
// are not http or https are dropped. Without a name rule a result is named
// after the last path segment of its link. Without a next-page marker,
// paging goes on while pages give results.
DefinedPage CutDefinedPage(const EngineDefinition& engine, std::string_view page);

// One search on a defined engine, page by page through the system HTTP
// library (http or https, certificates checked), at most its page limit.
// Results whose size the page told are listed complete; the others wait for
// their size probe. Ends early when the search is stopped or the program
// stops; false when a fetch ran out of time.
bool DefinedEngineTask(PageFetcher& fetcher, WebResultSink& sink, const EngineDefinition& engine,
                       int searchId, const std::string& term);

}  // namespace korvana
