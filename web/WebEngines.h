#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "web/EngineScrapers.h"
#include "web/WebEngineSettings.h"

namespace korvana {

class PageFetcher;
class WebResultSink;

struct EngineTuning {
    // A page of the first engine that is not complete is fetched again up to
    // this many times, `engine1RefetchDelay` apart, then scraped as it is.
    int engine1RefetchLimit = 3000;
    std::chrono::milliseconds engine1RefetchDelay{100};
};

// What an engine thread works with. `startEngine2Detail` runs an
// Engine2DetailTask for an entry, at once or when a slot frees.
struct EngineContext {
    EngineUrls urls;
    EngineTuning tuning;
    PageFetcher& fetcher;
    WebResultSink& sink;
    std::function<void(int searchId, DetailEntry entry)> startEngine2Detail;
};

// The three built-in engines are definitions (web/engines/BuiltInEngines.cpp)
// run by the same runner as a user's engines; these functions run them on the
// context's base URLs.

// The engines' URLs. The search term goes in unchanged; the HTTP client
// sends its spaces as "%20".
std::string Engine1PageUrl(std::string_view base, std::string_view term, long first);
std::string Engine2PageUrl(std::string_view base, std::string_view term);
std::string Engine3ArtistPageUrl(std::string_view base, std::string_view term, long page);
std::string Engine3TitlePageUrl(std::string_view base, std::string_view term, long page);

// Each engine ends early, returning false, when one of its fetches ran out
// of time (PageFetcher::LastFetchOverran), whatever part of the page came:
// a server that sends without end or a byte at a time counts as failed for
// the search instead of holding its worker; true otherwise.

// The first engine: result pages first = 1, 11, 21, ... through the system
// HTTP library while a page links to the next; each page is refetched until
// complete (see EngineTuning). Ends when the search is stopped.
bool Engine1Task(const EngineContext& context, int searchId, const std::string& term);

// The second engine: one POSTed result page (fetched even when the search
// was stopped before); each entry's detail page is handed to
// startEngine2Detail.
bool Engine2PageTask(const EngineContext& context, int searchId, const std::string& term);

// One detail page of the second engine: its download link and the name
// "title.extension", where a "wma" extension becomes "mp3".
bool Engine2DetailTask(const EngineContext& context, int searchId, const DetailEntry& entry);

// The third engine: all artist pages (page = 1, 2, ...) while a page shows
// a next-page mark, then all title pages from page 1; every entry's detail
// page is fetched in turn for its download link.
bool Engine3Task(const EngineContext& context, int searchId, const std::string& term);

}  // namespace korvana
