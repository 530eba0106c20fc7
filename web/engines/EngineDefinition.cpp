#include "web/engines/EngineDefinition.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "web/UrlEscape.h"
#include "web/WebEngineSettings.h"
#include "web/engines/DefinitionFields.h"

namespace korvana {

namespace definition_fields {

const Json* Member(const Json& object, const char* name) {
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

std::string Text(const Json& object, const char* name, const std::string& field,
                 std::size_t maxLength, bool required) {
    const Json* value = Member(object, name);
    if (value == nullptr) {
        if (required) {
            throw Refusal{field, "is missing"};
        }
        return {};
    }
    if (!value->is_string() || value->get_ref<const std::string&>().empty() ||
        value->get_ref<const std::string&>().size() > maxLength) {
        throw Refusal{field, "must be a text of 1 to " + std::to_string(maxLength) + " characters"};
    }
    return value->get<std::string>();
}

int Number(const Json& object, const char* name, const std::string& field, int fallback, int least,
           int most) {
    const Json* value = Member(object, name);
    if (value == nullptr) {
        return fallback;
    }
    if (!value->is_number_integer() || value->get<long long>() < least ||
        value->get<long long>() > most) {
        throw Refusal{field, "must be a whole number from " + std::to_string(least) + " to " +
                                 std::to_string(most)};
    }
    return static_cast<int>(value->get<long long>());
}

bool Flag(const Json& object, const char* name, const std::string& field, bool fallback) {
    const Json* value = Member(object, name);
    if (value != nullptr && !value->is_boolean()) {
        throw Refusal{field, "must be true or false"};
    }
    return value == nullptr ? fallback : value->get<bool>();
}

int Choice(const Json& object, const char* name, const std::string& field,
           std::initializer_list<const char*> choices, int fallback) {
    const Json* value = Member(object, name);
    if (value == nullptr) {
        return fallback;
    }
    std::string listed;
    int index = 0;
    for (const char* choice : choices) {
        if (value->is_string() && value->get_ref<const std::string&>() == choice) {
            return index;
        }
        ++index;
        const bool last = index == static_cast<int>(choices.size());
        listed += std::string(index == 1 ? "" : last ? " or " : ", ") + "\"" + choice + "\"";
    }
    throw Refusal{field, "must be " + listed};
}

const Json& Object(const Json& object, const char* name, const std::string& field) {
    const Json* value = Member(object, name);
    if (value == nullptr) {
        throw Refusal{field, "is missing"};
    }
    if (!value->is_object()) {
        throw Refusal{field, "must be an object"};
    }
    return *value;
}

void OnlyKnownFields(const Json& object, std::initializer_list<const char*> known,
                     const std::string& prefix) {
    for (const auto& item : object.items()) {
        const std::string& key = item.key();
        if (std::none_of(known.begin(), known.end(),
                         [&key](const char* name) { return key == name; })) {
            throw Refusal{prefix + key, "is not a field of an engine definition"};
        }
    }
}

MarkerPair Markers(const Json& object, const char* name, const std::string& field) {
    const Json& pair = Object(object, name, field);
    OnlyKnownFields(pair, {"open", "close"}, field + ".");
    return {Text(pair, "open", field + ".open", kMaxMarkerLength, true),
            Text(pair, "close", field + ".close", kMaxMarkerLength, true)};
}

}  // namespace definition_fields

namespace {

using namespace definition_fields;

bool HoldsTerm(std::string_view text) {
    return text.find("{term}") != std::string_view::npos ||
           text.find("{raw_term}") != std::string_view::npos;
}

// A listing's URL; the term may be in the form body instead.
std::string ListingTemplate(const Json& value, const std::string& field, bool termInBody) {
    if (!value.is_string() || value.get_ref<const std::string&>().empty() ||
        value.get_ref<const std::string&>().size() > kMaxMarkerLength) {
        throw Refusal{field,
                      "must be a text of 1 to " + std::to_string(kMaxMarkerLength) + " characters"};
    }
    const std::string& url = value.get_ref<const std::string&>();
    if (!url.starts_with("{base}/") || (!HoldsTerm(url) && !termInBody)) {
        throw Refusal{field, "must begin with \"{base}/\" and hold \"{term}\""};
    }
    return url;
}

// One listing as a text, or several searched in turn as a list.
void ReadListings(const Json& root, EngineDefinition& engine) {
    const Json* body = Member(root, "body");
    const bool termInBody =
        body != nullptr && body->is_string() && HoldsTerm(body->get_ref<const std::string&>());
    const Json* url = Member(root, "url");
    if (url == nullptr) {
        throw Refusal{"url", "is missing"};
    }
    if (!url->is_array()) {
        engine.urlTemplates.push_back(ListingTemplate(*url, "url", termInBody));
        return;
    }
    if (url->empty() || url->size() > kMaxListings) {
        throw Refusal{
            "url", "must be a text or a list of 1 to " + std::to_string(kMaxListings) + " texts"};
    }
    for (std::size_t i = 0; i < url->size(); ++i) {
        engine.urlTemplates.push_back(
            ListingTemplate((*url)[i], "url[" + std::to_string(i) + "]", termInBody));
    }
}

// GET through the system library by default; a form is POSTed through the
// plain client, which speaks http only.
void ReadMethod(const Json& root, EngineDefinition& engine) {
    const bool post = Choice(root, "method", "method", {"GET", "POST"}, 0) == 1;
    engine.bodyTemplate = Text(root, "body", "body", kMaxMarkerLength, false);
    engine.fetch = Choice(root, "fetch", "fetch", {"system", "plain"}, post ? 1 : 0) == 1
                       ? FetchPath::Plain
                       : FetchPath::System;
    if (!engine.bodyTemplate.empty() && !post) {
        throw Refusal{"body", "needs \"method\": \"POST\""};
    }
    if (post && engine.fetch != FetchPath::Plain) {
        throw Refusal{"fetch", "must be \"plain\" for a POST"};
    }
    if (engine.fetch == FetchPath::Plain && !engine.baseUrl.starts_with("http://")) {
        throw Refusal{"fetch", "\"plain\" needs an http:// base_url"};
    }
    for (const std::string& url : engine.urlTemplates) {
        if (!engine.bodyTemplate.empty() && url.find('?') != std::string::npos) {
            throw Refusal{"url", "must not hold \"?\" when a body is sent"};
        }
    }
}

void ReadPaging(const Json& root, const DefinitionLimits& limits, EngineDefinition& engine) {
    const Json* paging = Member(root, "paging");
    if (paging == nullptr) {
        return;
    }
    if (!paging->is_object()) {
        throw Refusal{"paging", "must be an object"};
    }
    OnlyKnownFields(*paging, {"first", "step", "max_pages", "next_marker"}, "paging.");
    engine.firstPage = Number(*paging, "first", "paging.first", 1, 0, 1000000);
    engine.pageStep = Number(*paging, "step", "paging.step", 1, 1, 1000);
    engine.maxPages = Number(*paging, "max_pages", "paging.max_pages", std::min(5, limits.maxPages),
                             1, limits.maxPages);
    engine.nextMarker = Text(*paging, "next_marker", "paging.next_marker", kMaxMarkerLength, false);
}

void ReadRequest(const Json& root, const DefinitionLimits& limits, EngineDefinition& engine) {
    engine.name = Text(root, "name", "name", 64, true);
    engine.baseUrl = Text(root, "base_url", "base_url", kMaxMarkerLength, true);
    if (const std::string problem = WebEngineUrlProblem(engine.baseUrl); !problem.empty()) {
        throw Refusal{"base_url", "is not usable: " + problem};
    }
    engine.baseUrl = BaseUrl(engine.baseUrl);
    ReadListings(root, engine);
    ReadMethod(root, engine);
    ReadPaging(root, limits, engine);
}

std::string Stem(const std::string& fileName) {
    const std::string name = std::filesystem::path(fileName).filename().string();
    return name.ends_with(".json") ? name.substr(0, name.size() - 5) : name;
}

}  // namespace

DefinitionReading ReadEngineDefinition(std::string_view text, const std::string& fileName,
                                       const DefinitionLimits& limits) {
    if (text.size() > kMaxDefinitionBytes) {
        return {std::nullopt,
                fileName + ": larger than " + std::to_string(kMaxDefinitionBytes) + " bytes"};
    }
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        return {std::nullopt, fileName + ": not a JSON object"};
    }
    EngineDefinition engine;
    engine.id = Stem(fileName);
    try {
        OnlyKnownFields(root,
                        {"name", "base_url", "url", "method", "body", "fetch", "paging", "complete",
                         "results", "detail"},
                        "");
        ReadRequest(root, limits, engine);
        ReadCompleteness(root, limits, engine);
        ReadResults(root, engine);
        ReadDetail(root, limits, engine);
    } catch (const Refusal& refusal) {
        return {std::nullopt, fileName + ": field \"" + refusal.field + "\" " + refusal.problem};
    }
    return {std::move(engine), {}};
}

LoadedDefinitions LoadEngineDefinitions(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == ".json" && it->is_regular_file(error)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    LoadedDefinitions loaded;
    for (const std::filesystem::path& file : files) {
        if (loaded.engines.size() == kMaxDefinitionsLoaded) {
            loaded.errors.push_back(file.filename().string() + ": more than " +
                                    std::to_string(kMaxDefinitionsLoaded) +
                                    " engines; this one and later ones are left out");
            break;
        }
        std::ifstream in(file, std::ios::binary);
        std::string text;
        text.resize(kMaxDefinitionBytes + 1);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
        DefinitionReading reading = ReadEngineDefinition(text, file.filename().string());
        if (reading.definition) {
            loaded.engines.push_back(std::move(*reading.definition));
        } else {
            loaded.errors.push_back(std::move(reading.error));
        }
    }
    return loaded;
}

std::filesystem::path DefinedEnginesFolder(const std::optional<std::string>& xdgDataHome,
                                           const std::optional<std::string>& home) {
    if (xdgDataHome && std::filesystem::path(*xdgDataHome).is_absolute()) {
        return std::filesystem::path(*xdgDataHome) / "korvana" / "engines";
    }
    if (home && std::filesystem::path(*home).is_absolute()) {
        return std::filesystem::path(*home) / ".local" / "share" / "korvana" / "engines";
    }
    return {};
}

std::string DefinedPageUrl(const EngineDefinition& engine, std::string_view term, int page) {
    return FillTemplate(engine, engine.urlTemplates.front(), term, page);
}

std::string FillTemplate(const EngineDefinition& engine, std::string_view pattern,
                         std::string_view term, long long page) {
    static constexpr std::string_view kPlaceholders[] = {"{base}", "{term}", "{raw_term}", "{page}",
                                                         "{first}"};
    std::string url;
    std::string_view rest = pattern;
    while (!rest.empty()) {
        const std::size_t open = rest.find('{');
        url += rest.substr(0, open);
        if (open == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(open);
        const auto* placeholder =
            std::find_if(std::begin(kPlaceholders), std::end(kPlaceholders),
                         [rest](std::string_view name) { return rest.starts_with(name); });
        if (placeholder == std::end(kPlaceholders)) {
            url += '{';
            rest.remove_prefix(1);
            continue;
        }
        switch (placeholder - std::begin(kPlaceholders)) {
            case 0:
                url += engine.baseUrl;
                break;
            case 1:
                url += EscapeUrl(term, UrlEscape::QueryValue);
                break;
            case 2:
                url += term;
                break;
            default:
                url += std::to_string(page);
                break;
        }
        rest.remove_prefix(placeholder->size());
    }
    return url;
}

}  // namespace korvana
