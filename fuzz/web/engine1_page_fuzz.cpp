#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/EngineScrapers.h"

// Scrapes the input as a result page of the first engine.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    korvana::IsEngine1PageComplete(page);
    const korvana::Engine1Page scraped = korvana::ScrapeEngine1Page(page);
    if (scraped.results.size() > korvana::kMaxEntriesPerPage) {
        std::abort();
    }
    for (const auto& result : scraped.results) {
        if (result.link.empty() || result.link.size() > page.size()) {
            std::abort();
        }
    }
    return 0;
}
