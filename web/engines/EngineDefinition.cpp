#include "web/engines/EngineDefinition.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <set>

#include "web/UrlEscape.h"
#include "web/WebEngineSettings.h"

namespace korvana {
namespace {

using Json = nlohmann::json;

// Thrown only inside this file, for the one sentence a refusal gives.
struct Refusal {
    std::string field;
    std::string problem;
};

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

void OnlyKnownFields(const Json& object, std::set<std::string> known, const std::string& prefix) {
    for (const auto& [key, value] : object.items()) {
        if (!known.contains(key)) {
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

void ReadRequest(const Json& root, EngineDefinition& engine) {
    engine.name = Text(root, "name", "name", 64, true);
    engine.baseUrl = Text(root, "base_url", "base_url", kMaxMarkerLength, true);
    if (const std::string problem = WebEngineUrlProblem(engine.baseUrl); !problem.empty()) {
        throw Refusal{"base_url", "is not usable: " + problem};
    }
    engine.baseUrl = BaseUrl(engine.baseUrl);
    engine.urlTemplate = Text(root, "url", "url", kMaxMarkerLength, true);
    if (!engine.urlTemplate.starts_with("{base}/") ||
        engine.urlTemplate.find("{term}") == std::string::npos) {
        throw Refusal{"url", "must begin with \"{base}/\" and hold \"{term}\""};
    }
    if (const Json* paging = Member(root, "paging")) {
        if (!paging->is_object()) {
            throw Refusal{"paging", "must be an object"};
        }
        OnlyKnownFields(*paging, {"first", "step", "max_pages", "next_marker"}, "paging.");
        engine.firstPage = Number(*paging, "first", "paging.first", 1, 0, 1000000);
        engine.pageStep = Number(*paging, "step", "paging.step", 1, 1, 1000);
        engine.maxPages = Number(*paging, "max_pages", "paging.max_pages", 5, 1, kMaxDefinedPages);
        engine.nextMarker =
            Text(*paging, "next_marker", "paging.next_marker", kMaxMarkerLength, false);
    }
}

void ReadResults(const Json& root, EngineDefinition& engine) {
    const Json& results = Object(root, "results", "results");
    const std::string kind = Text(results, "kind", "results.kind", 8, true);
    if (kind == "html") {
        OnlyKnownFields(results, {"kind", "block_start", "block_end", "link", "name", "size"},
                        "results.");
        engine.kind = EngineDefinition::Kind::Html;
        engine.blockStart =
            Text(results, "block_start", "results.block_start", kMaxMarkerLength, true);
        engine.blockEnd = Text(results, "block_end", "results.block_end", kMaxMarkerLength, true);
        engine.linkMarkers = Markers(results, "link", "results.link");
        if (Member(results, "name") != nullptr) {
            engine.nameMarkers = Markers(results, "name", "results.name");
        }
        if (Member(results, "size") != nullptr) {
            engine.sizeMarkers = Markers(results, "size", "results.size");
        }
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

std::string Stem(const std::string& fileName) {
    const std::string name = std::filesystem::path(fileName).filename().string();
    return name.ends_with(".json") ? name.substr(0, name.size() - 5) : name;
}

}  // namespace

DefinitionReading ReadEngineDefinition(std::string_view text, const std::string& fileName) {
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
        OnlyKnownFields(root, {"name", "base_url", "url", "paging", "results"}, "");
        ReadRequest(root, engine);
        ReadResults(root, engine);
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
    std::string url;
    std::string_view rest = engine.urlTemplate;
    while (!rest.empty()) {
        const std::size_t open = rest.find('{');
        url += rest.substr(0, open);
        if (open == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(open);
        if (rest.starts_with("{base}")) {
            url += engine.baseUrl;
            rest.remove_prefix(6);
        } else if (rest.starts_with("{term}")) {
            url += EscapeUrl(term, UrlEscape::QueryValue);
            rest.remove_prefix(6);
        } else if (rest.starts_with("{page}")) {
            url += std::to_string(page);
            rest.remove_prefix(6);
        } else {
            url += '{';
            rest.remove_prefix(1);
        }
    }
    return url;
}

}  // namespace korvana
