#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "web/EngineScrapers.h"
#include "web/WebResultSink.h"
#include "web/engines/EngineDefinition.h"

namespace korvana {

class PageFetcher;

struct DefinedResult {
    std::string link;
    // With a detail rule: the title the listing shows.
    std::string name;
    // -1 when the page does not tell.
    std::int64_t size = -1;
};

struct DefinedPage {
    std::vector<DefinedResult> results;
    bool hasNextPage = false;
};

// The results of one page of a defined engine, at most kMaxEntriesPerPage.
// A checked link starting with "/" is taken on the engine's base; other
// checked links that are not http or https are dropped, and so is a link
// that is empty once decoded. Names follow the engine's name ending; without
// one, a result without a name is named after the last path segment of its
// link. Without a next-page marker, paging goes on while pages give results.
DefinedPage CutDefinedPage(const EngineDefinition& engine, std::string_view page);

// Whether a page holds everything its completeness rule asks for.
bool IsPageComplete(const CompletenessRule& rule, std::string_view page);

// The download link of a detail page by the engine's detail rule; empty when
// the page has none (or, checked, none that can be used).
std::string CutDownloadLink(const EngineDefinition& engine, std::string_view detailPage);

// The name of a result: `name` with the ending that `link` gives it.
std::string NameWithEnding(NameEnding ending, std::string_view name, std::string_view link);

// What one engine's search works with. `queueDetail`, when set, takes the
// entries whose detail rule says they are queued.
struct DefinedRun {
    PageFetcher& fetcher;
    WebResultSink& sink;
    WebEngineId engineId = WebEngineId::Defined;
    std::function<void(int searchId, DetailEntry entry)> queueDetail;
};

// One search on a defined engine: each listing in turn, page by page (at most
// its page limit, while pages link on), pages that are not whole fetched
// again as the completeness rule says, and each result's detail page
// fetched or queued (at most the detail limit). Results whose size the page
// told are listed complete; the others wait for their size probe. Ends early
// when the search is stopped or the program stops (checked before each page
// of a paged listing and before each detail page); false when a fetch ran
// out of time.
bool RunDefinedEngine(const DefinedRun& run, const EngineDefinition& engine, int searchId,
                      const std::string& term);

// One detail page: fetched, and its download link handed on under the
// entry's title with the engine's name ending. False when the fetch ran out
// of time.
bool RunDefinedDetail(const DefinedRun& run, const EngineDefinition& engine, int searchId,
                      const DetailEntry& entry);

// A user's engine: RunDefinedEngine with its results marked as defined ones.
bool DefinedEngineTask(PageFetcher& fetcher, WebResultSink& sink, const EngineDefinition& engine,
                       int searchId, const std::string& term);

}  // namespace korvana
