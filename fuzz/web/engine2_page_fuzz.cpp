#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/EngineScrapers.h"
#include "web/LinkText.h"

// Scrapes the input as the second engine's result page and as its detail
// page.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const auto entries = korvana::ScrapeEngine2Page(page, "http://127.0.0.1:4100/");
    if (entries.size() > korvana::kMaxEntriesPerPage) {
        std::abort();
    }
    for (const auto& entry : entries) {
        if (entry.title.size() > page.size()) {
            std::abort();
        }
    }
    const std::string link = korvana::ScrapeEngine2DownloadLink(page);
    korvana::DetailResultName("title", link, korvana::WmaRule::BecomesMp3);
    return 0;
}
