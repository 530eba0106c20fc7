#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// A web engine a user adds as a file: where its result pages are, how to
// page through them and how to cut results out of them. The format is
// documented in docs/engines.md. Definitions are outside input: every field
// is checked and bounded, and a broken one is refused with a sentence that
// names its file and field.

inline constexpr std::size_t kMaxDefinitionBytes = 64 * 1024;
inline constexpr std::size_t kMaxMarkerLength = 256;
inline constexpr int kMaxDefinedPages = 50;
inline constexpr std::size_t kMaxDefinitionsLoaded = 32;

// The text between `open`, found at or after a position, and the next
// `close` after it.
struct MarkerPair {
    std::string open;
    std::string close;
};

struct EngineDefinition {
    // The file's name without ".json": the engine's settings key part.
    std::string id;
    std::string name;
    std::string baseUrl;
    // "{base}" then a path with "{term}" and, when paging, "{page}".
    std::string urlTemplate;
    int firstPage = 1;
    int pageStep = 1;
    int maxPages = 1;
    // Set: paging goes on only while a page holds this text.
    std::string nextMarker;

    enum class Kind { Html, Json };
    Kind kind = Kind::Html;
    // Html: results are the blocks from each `blockStart` to the next
    // `blockEnd`; the link, name and size are cut from a block.
    std::string blockStart;
    std::string blockEnd;
    MarkerPair linkMarkers;
    std::optional<MarkerPair> nameMarkers;
    std::optional<MarkerPair> sizeMarkers;
    // Json: dotted paths, `items` from the answer, the others from an item.
    std::string itemsPath;
    std::string linkPath;
    std::string namePath;
    std::string sizePath;
};

// A definition, or the sentence that says what is wrong with it.
struct DefinitionReading {
    std::optional<EngineDefinition> definition;
    std::string error;
};

// Reads one definition; `fileName` names it in errors and gives its id.
DefinitionReading ReadEngineDefinition(std::string_view text, const std::string& fileName);

struct LoadedDefinitions {
    std::vector<EngineDefinition> engines;
    // One sentence per file that was refused.
    std::vector<std::string> errors;
};

// Every "*.json" file in `folder`, in name order, at most
// kMaxDefinitionsLoaded; a missing folder holds none.
LoadedDefinitions LoadEngineDefinitions(const std::filesystem::path& folder);

// Where a user puts engine definitions: $XDG_DATA_HOME/korvana/engines, else
// ~/.local/share/korvana/engines; empty when neither is known.
std::filesystem::path DefinedEnginesFolder(const std::optional<std::string>& xdgDataHome,
                                           const std::optional<std::string>& home);

// The URL of one result page: `{base}`, `{term}` (escaped as a query value)
// and `{page}` put in.
std::string DefinedPageUrl(const EngineDefinition& engine, std::string_view term, int page);

}  // namespace korvana
