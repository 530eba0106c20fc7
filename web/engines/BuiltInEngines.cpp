#include "web/engines/BuiltInEngines.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace korvana {
namespace {

// Result pages ten at a time, fetched again until whole; each result block
// holds its file's link and title.
constexpr std::string_view kEngine1 = R"json({
  "name": "Web engine 1",
  "base_url": "http://127.0.0.1:4100",
  "url": "{base}/ot_agree.asp?query={raw_term}&first={first}&pmore=more&tab=multi&cat=audio&adf=&agree=1",
  "paging": {"first": 1, "step": 10, "max_pages": 2147483647, "next_marker": "<b>Next</b></a>"},
  "complete": {"contains": ["title=\"\">", "<b>Next</b>"],
               "count": {"after": "Showing Results", "shown": {"open": "thru ", "close": "</b>"},
                         "total": {"open": "of", "close": "(<a"}},
               "refetch_limit": 3000, "refetch_delay_ms": 100},
  "results": {"kind": "html", "block_start": "class=\"sm\"", "block_end": "</table>",
              "next_block": "after_block_start",
              "link": {"open": "<a href=\"", "close": "\">", "decode": "escapes", "check": false},
              "name": {"open": "title=\"\">", "close": "</a>"},
              "name_ending": "link_tail"}
})json";

// One POSTed result page whose entries lead to detail pages, fetched a few at
// a time through the search's detail queue.
constexpr std::string_view kEngine2 = R"json({
  "name": "Web engine 2",
  "base_url": "http://127.0.0.1:4100",
  "method": "POST",
  "url": "{base}/sresult.aspx",
  "body": "txtSearch={raw_term}&mp3s=MP3s",
  "results": {"kind": "html", "block_start": "dsong.aspx", "next_block": "at_name",
              "link": {"close": "\"", "close_optional": true, "decode": "amp",
                       "prefix": "{base}/", "check": false},
              "name": {"after_link": true, "skip": 1, "skip_text": "\">", "close": "</a>"},
              "name_ending": "extension_wma_as_mp3"},
  "detail": {"open": "Download : <a href=\"", "close": "\"", "close_optional": true,
             "queued": true, "max_fetches": 2147483647}
})json";

// Artist pages, then title pages; a page without its next-page mark lists
// nothing. Each entry's detail page is fetched in turn.
constexpr std::string_view kEngine3 = R"json({
  "name": "Web engine 3",
  "base_url": "http://127.0.0.1:4100",
  "fetch": "plain",
  "url": ["{base}/http_search/search4.php?artist={raw_term}&title=&page={page}",
          "{base}/http_search/search4.php?artist=&title={raw_term}&page={page}"],
  "paging": {"first": 1, "step": 1, "max_pages": 2147483647, "next_marker": "<b>Next Page"},
  "results": {"kind": "html", "require": "<b>Next Page", "block_start": "download.php",
              "block_end": "</a>", "next_block": "after_block_start",
              "link": {"close": "\">", "decode": "escapes", "prefix": "{base}/http_search/",
                       "check": false},
              "name": {"after_link": true, "open": "<b>", "close": "</b>"},
              "name_ending": "extension"},
  "detail": {"before": "Download Now", "back": 3, "open": "\"", "close": "\"",
             "max_fetches": 2147483647}
})json";

EngineDefinition Read(BuiltInEngine engine) {
    DefinitionReading reading = ReadEngineDefinition(
        BuiltInDefinitionText(engine),
        "engine" + std::to_string(static_cast<int>(engine)) + ".json", BuiltInLimits());
    if (!reading.definition) {
        // The texts above are part of the program; a test reads each of them.
        std::fprintf(stderr, "%s\n", reading.error.c_str());
        std::abort();
    }
    return std::move(*reading.definition);
}

}  // namespace

DefinitionLimits BuiltInLimits() {
    constexpr int kUnbounded = std::numeric_limits<int>::max();
    return {.maxPages = kUnbounded, .maxRefetches = kUnbounded, .maxDetailFetches = kUnbounded};
}

std::string_view BuiltInDefinitionText(BuiltInEngine engine) {
    switch (engine) {
        case BuiltInEngine::Engine1:
            return kEngine1;
        case BuiltInEngine::Engine2:
            return kEngine2;
        case BuiltInEngine::Engine3:
            break;
    }
    return kEngine3;
}

const EngineDefinition& BuiltInDefinition(BuiltInEngine engine) {
    static const std::array<EngineDefinition, 3> definitions = {
        Read(BuiltInEngine::Engine1), Read(BuiltInEngine::Engine2), Read(BuiltInEngine::Engine3)};
    return definitions[static_cast<std::size_t>(engine) - 1];
}

EngineDefinition BuiltInDefinitionOn(BuiltInEngine engine, std::string_view baseUrl) {
    EngineDefinition definition = BuiltInDefinition(engine);
    definition.baseUrl = baseUrl;
    return definition;
}

}  // namespace korvana
