#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/EngineScrapers.h"
#include "web/LinkText.h"

// Scrapes the input as a listing page of the third engine and as its detail
// page.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const auto listing = korvana::ScrapeEngine3Page(page, "http://127.0.0.1:4100/http_search/");
    if (listing.entries.size() > korvana::kMaxEntriesPerPage ||
        (!listing.hasNextPage && !listing.entries.empty())) {
        std::abort();
    }
    const std::string link = korvana::ScrapeEngine3DownloadLink(page);
    if (link.size() > page.size()) {
        std::abort();
    }
    korvana::DetailResultName("title", link, korvana::WmaRule::Keep);
    return 0;
}
