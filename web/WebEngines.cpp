#include "web/WebEngines.h"

#include "web/engines/BuiltInEngines.h"
#include "web/engines/DefinedEngine.h"

namespace korvana {
namespace {

DefinedRun Run(const EngineContext& context, WebEngineId engine) {
    return {context.fetcher, context.sink, engine, context.startEngine2Detail};
}

std::string ListingUrl(BuiltInEngine engine, std::size_t listing, std::string_view base,
                       std::string_view term, long page) {
    const EngineDefinition definition = BuiltInDefinitionOn(engine, base);
    return FillTemplate(definition, definition.urlTemplates.at(listing), term, page);
}

}  // namespace

std::string Engine1PageUrl(std::string_view base, std::string_view term, long first) {
    return ListingUrl(BuiltInEngine::Engine1, 0, base, term, first);
}

std::string Engine2PageUrl(std::string_view base, std::string_view term) {
    const EngineDefinition definition = BuiltInDefinitionOn(BuiltInEngine::Engine2, base);
    return FillTemplate(definition, definition.urlTemplates.front(), term, 0) + "?" +
           FillTemplate(definition, definition.bodyTemplate, term, 0);
}

std::string Engine3ArtistPageUrl(std::string_view base, std::string_view term, long page) {
    return ListingUrl(BuiltInEngine::Engine3, 0, base, term, page);
}

std::string Engine3TitlePageUrl(std::string_view base, std::string_view term, long page) {
    return ListingUrl(BuiltInEngine::Engine3, 1, base, term, page);
}

bool Engine1Task(const EngineContext& context, int searchId, const std::string& term) {
    EngineDefinition engine = BuiltInDefinitionOn(BuiltInEngine::Engine1, context.urls.engine1);
    engine.completeness->refetchLimit = context.tuning.engine1RefetchLimit;
    engine.completeness->refetchDelay = context.tuning.engine1RefetchDelay;
    return RunDefinedEngine(Run(context, WebEngineId::Engine1), engine, searchId, term);
}

bool Engine2PageTask(const EngineContext& context, int searchId, const std::string& term) {
    return RunDefinedEngine(Run(context, WebEngineId::Engine2),
                            BuiltInDefinitionOn(BuiltInEngine::Engine2, context.urls.engine2),
                            searchId, term);
}

bool Engine2DetailTask(const EngineContext& context, int searchId, const DetailEntry& entry) {
    return RunDefinedDetail(Run(context, WebEngineId::Engine2),
                            BuiltInDefinitionOn(BuiltInEngine::Engine2, context.urls.engine2),
                            searchId, entry);
}

bool Engine3Task(const EngineContext& context, int searchId, const std::string& term) {
    return RunDefinedEngine(Run(context, WebEngineId::Engine3),
                            BuiltInDefinitionOn(BuiltInEngine::Engine3, context.urls.engine3),
                            searchId, term);
}

}  // namespace korvana
