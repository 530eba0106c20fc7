#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/EngineScrapers.h"
#include "web/engines/DefinedEngine.h"
#include "web/engines/EngineDefinition.h"

namespace {

korvana::EngineDefinition Fixed(bool json) {
    const char* text =
        json ? R"({"name":"J","base_url":"http://127.0.0.1:4100","url":"{base}/s?q={term}",
                   "results":{"kind":"json","items":"a.b","link":"u","name":"n","size":"s"}})"
             : R"({"name":"H","base_url":"http://127.0.0.1:4100","url":"{base}/s?q={term}",
                   "paging":{"next_marker":"next"},
                   "results":{"kind":"html","block_start":"<li","block_end":"</li>",
                              "link":{"open":"href=\"","close":"\""},
                              "size":{"open":"b=","close":";"}}})";
    auto reading = korvana::ReadEngineDefinition(text, "fixed.json");
    if (!reading.definition) {
        std::abort();
    }
    return *reading.definition;
}

}  // namespace

// Reads the input as an engine definition, and as a result page of a fixed
// HTML engine and of a fixed JSON engine.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const korvana::EngineDefinition html = Fixed(false);
    static const korvana::EngineDefinition json = Fixed(true);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto reading = korvana::ReadEngineDefinition(input, "input.json");
    if (reading.definition.has_value() == !reading.error.empty()) {
        std::abort();
    }
    if (reading.definition) {
        korvana::DefinedPageUrl(*reading.definition, input.substr(0, 64), 3);
    }
    for (const auto* engine : {&html, &json}) {
        const auto page = korvana::CutDefinedPage(*engine, input);
        if (page.results.size() > korvana::kMaxEntriesPerPage) {
            std::abort();
        }
        for (const auto& result : page.results) {
            if (!result.link.starts_with("http://") && !result.link.starts_with("https://")) {
                std::abort();
            }
        }
    }
    return 0;
}
