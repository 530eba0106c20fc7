#include "web/EngineScrapers.h"

#include "web/engines/BuiltInEngines.h"
#include "web/engines/DefinedEngine.h"

namespace korvana {
namespace {

// The engine's listing with its detail links put on `detailBase` as given.
std::vector<DetailEntry> DetailEntries(BuiltInEngine engine, std::string_view page,
                                       std::string_view detailBase, bool* hasNextPage) {
    EngineDefinition definition = BuiltInDefinitionOn(engine, detailBase);
    definition.link.prefix = "{base}";
    DefinedPage cut = CutDefinedPage(definition, page);
    if (hasNextPage != nullptr) {
        *hasNextPage = cut.hasNextPage;
    }
    std::vector<DetailEntry> entries;
    entries.reserve(cut.results.size());
    for (DefinedResult& result : cut.results) {
        entries.push_back({std::move(result.link), std::move(result.name)});
    }
    return entries;
}

}  // namespace

bool IsEngine1PageComplete(std::string_view page) {
    return IsPageComplete(*BuiltInDefinition(BuiltInEngine::Engine1).completeness, page);
}

Engine1Page ScrapeEngine1Page(std::string_view page) {
    DefinedPage cut = CutDefinedPage(BuiltInDefinition(BuiltInEngine::Engine1), page);
    Engine1Page scraped;
    scraped.hasNextPage = cut.hasNextPage;
    scraped.results.reserve(cut.results.size());
    for (DefinedResult& result : cut.results) {
        scraped.results.push_back({std::move(result.link), std::move(result.name)});
    }
    return scraped;
}

std::vector<DetailEntry> ScrapeEngine2Page(std::string_view page, std::string_view detailBase) {
    return DetailEntries(BuiltInEngine::Engine2, page, detailBase, nullptr);
}

std::string ScrapeEngine2DownloadLink(std::string_view detailPage) {
    return CutDownloadLink(BuiltInDefinition(BuiltInEngine::Engine2), detailPage);
}

Engine3Page ScrapeEngine3Page(std::string_view page, std::string_view detailBase) {
    Engine3Page scraped;
    scraped.entries = DetailEntries(BuiltInEngine::Engine3, page, detailBase, &scraped.hasNextPage);
    return scraped;
}

std::string ScrapeEngine3DownloadLink(std::string_view detailPage) {
    return CutDownloadLink(BuiltInDefinition(BuiltInEngine::Engine3), detailPage);
}

}  // namespace korvana
