#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/EngineScrapers.h"
#include "web/engines/BuiltInEngines.h"
#include "web/engines/DefinedEngine.h"
#include "web/engines/EngineDefinition.h"

// The input is a definition, an empty line, then a page. The definition is
// read with the built-in engines' limits, so any rule they could use is
// tried; the page is cut by it as a listing, a detail page and a page that
// may be whole.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find("\n\n");
    const std::string_view text = input.substr(0, split);
    const std::string_view page =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 2);
    const auto reading =
        korvana::ReadEngineDefinition(text, "input.json", korvana::BuiltInLimits());
    if (reading.definition.has_value() == !reading.error.empty()) {
        std::abort();
    }
    if (!reading.definition) {
        return 0;
    }
    const korvana::EngineDefinition& engine = *reading.definition;
    const auto cut = korvana::CutDefinedPage(engine, page);
    if (cut.results.size() > korvana::kMaxEntriesPerPage) {
        std::abort();
    }
    for (const auto& result : cut.results) {
        if (result.link.empty() || (engine.link.checked && !result.link.starts_with("http://") &&
                                    !result.link.starts_with("https://"))) {
            std::abort();
        }
    }
    if (const std::string link = korvana::CutDownloadLink(engine, page);
        link.size() > page.size()) {
        std::abort();
    }
    if (engine.completeness) {
        korvana::IsPageComplete(*engine.completeness, page);
    }
    for (const std::string& listing : engine.urlTemplates) {
        korvana::FillTemplate(engine, listing, page.substr(0, 64), 1);
    }
    return 0;
}
