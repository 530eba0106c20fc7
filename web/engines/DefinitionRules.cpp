#include <algorithm>
#include <cctype>

#include "web/engines/DefinitionFields.h"

namespace korvana::definition_fields {
namespace {

std::string Path(const Json& object, const char* name, const std::string& field, bool required) {
    std::string path = Text(object, name, field, kMaxMarkerLength, required);
    const bool wellFormed = std::all_of(path.begin(), path.end(),
                                        [](char c) {
                                            return std::isalnum(static_cast<unsigned char>(c)) ||
                                                   c == '_' || c == '-' || c == '.';
                                        }) &&
                            path.find("..") == std::string::npos && !path.starts_with('.') &&
                            !path.ends_with('.');
    if (!path.empty() && !wellFormed) {
        throw Refusal{field, "must be names joined by dots, such as \"response.docs\""};
    }
    return path;
}

LinkRule ReadLink(const Json& results) {
    const std::string field = "results.link";
    const Json& link = Object(results, "link", field);
    OnlyKnownFields(link, {"open", "close", "close_optional", "decode", "prefix", "check"},
                    field + ".");
    LinkRule rule;
    rule.open = Text(link, "open", field + ".open", kMaxMarkerLength, false);
    rule.close = Text(link, "close", field + ".close", kMaxMarkerLength, true);
    rule.closeOptional = Flag(link, "close_optional", field + ".close_optional", false);
    rule.decoding = static_cast<LinkRule::Decoding>(
        Choice(link, "decode", field + ".decode", {"none", "escapes", "amp"}, 0));
    rule.prefix = Text(link, "prefix", field + ".prefix", kMaxMarkerLength, false);
    rule.checked = Flag(link, "check", field + ".check", true);
    return rule;
}

NameRule ReadName(const Json& results) {
    const std::string field = "results.name";
    const Json& name = Object(results, "name", field);
    OnlyKnownFields(name, {"open", "close", "after_link", "skip", "skip_text"}, field + ".");
    NameRule rule;
    rule.afterLink = Flag(name, "after_link", field + ".after_link", false);
    rule.skip = static_cast<std::size_t>(Number(name, "skip", field + ".skip", 0, 0, 64));
    rule.skipText = Text(name, "skip_text", field + ".skip_text", kMaxMarkerLength, false);
    rule.open = Text(name, "open", field + ".open", kMaxMarkerLength, false);
    rule.close = Text(name, "close", field + ".close", kMaxMarkerLength, true);
    return rule;
}

void ReadHtmlResults(const Json& results, EngineDefinition& engine) {
    OnlyKnownFields(results,
                    {"kind", "require", "block_start", "block_end", "next_block", "link", "name",
                     "size", "name_ending"},
                    "results.");
    engine.kind = EngineDefinition::Kind::Html;
    engine.requiredMarker = Text(results, "require", "results.require", kMaxMarkerLength, false);
    engine.blockStart = Text(results, "block_start", "results.block_start", kMaxMarkerLength, true);
    engine.blockEnd = Text(results, "block_end", "results.block_end", kMaxMarkerLength, false);
    engine.nextBlock =
        static_cast<NextBlock>(Choice(results, "next_block", "results.next_block",
                                      {"after_block", "after_block_start", "at_name"}, 0));
    engine.link = ReadLink(results);
    if (Member(results, "name") != nullptr) {
        engine.nameRule = ReadName(results);
    }
    if (Member(results, "size") != nullptr) {
        engine.sizeMarkers = Markers(results, "size", "results.size");
    }
    engine.nameEnding = static_cast<NameEnding>(
        Choice(results, "name_ending", "results.name_ending",
               {"none", "link_tail", "extension", "extension_wma_as_mp3"}, 0));
    // Searching on from the name only moves forward when the name is looked
    // for past the link.
    if (engine.nextBlock == NextBlock::AtName &&
        (!engine.nameRule || !engine.nameRule->afterLink)) {
        throw Refusal{"results.next_block", "\"at_name\" needs \"name\" with \"after_link\": true"};
    }
}

}  // namespace

void ReadResults(const Json& root, EngineDefinition& engine) {
    const Json& results = Object(root, "results", "results");
    const std::string kind = Text(results, "kind", "results.kind", 8, true);
    if (kind == "html") {
        ReadHtmlResults(results, engine);
        return;
    }
    if (kind != "json") {
        throw Refusal{"results.kind", "must be \"html\" or \"json\""};
    }
    OnlyKnownFields(results, {"kind", "items", "link", "name", "size"}, "results.");
    engine.kind = EngineDefinition::Kind::Json;
    engine.itemsPath = Path(results, "items", "results.items", true);
    engine.linkPath = Path(results, "link", "results.link", true);
    engine.namePath = Path(results, "name", "results.name", false);
    engine.sizePath = Path(results, "size", "results.size", false);
}

void ReadDetail(const Json& root, const DefinitionLimits& limits, EngineDefinition& engine) {
    if (Member(root, "detail") == nullptr) {
        return;
    }
    const Json& detail = Object(root, "detail", "detail");
    OnlyKnownFields(detail,
                    {"open", "close", "close_optional", "before", "back", "queued", "max_fetches"},
                    "detail.");
    DetailRule rule;
    rule.open = Text(detail, "open", "detail.open", kMaxMarkerLength, true);
    rule.close = Text(detail, "close", "detail.close", kMaxMarkerLength, true);
    rule.closeOptional = Flag(detail, "close_optional", "detail.close_optional", false);
    rule.before = Text(detail, "before", "detail.before", kMaxMarkerLength, false);
    rule.back = static_cast<std::size_t>(Number(detail, "back", "detail.back", 0, 0, 64));
    rule.queued = Flag(detail, "queued", "detail.queued", false);
    rule.maxFetches = Number(detail, "max_fetches", "detail.max_fetches",
                             std::min(50, limits.maxDetailFetches), 1, limits.maxDetailFetches);
    engine.detail = std::move(rule);
}

void ReadCompleteness(const Json& root, const DefinitionLimits& limits, EngineDefinition& engine) {
    if (Member(root, "complete") == nullptr) {
        return;
    }
    const Json& complete = Object(root, "complete", "complete");
    OnlyKnownFields(complete, {"contains", "count", "refetch_limit", "refetch_delay_ms"},
                    "complete.");
    CompletenessRule rule;
    if (const Json* contains = Member(complete, "contains")) {
        if (!contains->is_array() || contains->empty() || contains->size() > 8) {
            throw Refusal{"complete.contains", "must be a list of 1 to 8 texts"};
        }
        for (std::size_t i = 0; i < contains->size(); ++i) {
            const Json holder = {{"text", (*contains)[i]}};
            rule.contains.push_back(Text(holder, "text",
                                         "complete.contains[" + std::to_string(i) + "]",
                                         kMaxMarkerLength, true));
        }
    }
    if (Member(complete, "count") != nullptr) {
        const Json& count = Object(complete, "count", "complete.count");
        OnlyKnownFields(count, {"after", "shown", "total"}, "complete.count.");
        rule.countAfter = Text(count, "after", "complete.count.after", kMaxMarkerLength, true);
        rule.shown = Markers(count, "shown", "complete.count.shown");
        rule.total = Markers(count, "total", "complete.count.total");
    }
    if (rule.contains.empty() && rule.countAfter.empty()) {
        throw Refusal{"complete", "needs \"contains\" or \"count\""};
    }
    rule.refetchLimit = Number(complete, "refetch_limit", "complete.refetch_limit",
                               std::min(10, limits.maxRefetches), 0, limits.maxRefetches);
    rule.refetchDelay = std::chrono::milliseconds(
        Number(complete, "refetch_delay_ms", "complete.refetch_delay_ms", 100, 0, 60000));
    engine.completeness = std::move(rule);
}

}  // namespace korvana::definition_fields
