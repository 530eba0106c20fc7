#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// A web engine as data: where its result pages are, how to page through
// them and how to cut results out of them. Users add them as files, and the
// built-in engines are written the same way (BuiltInEngines.h). The format
// is documented in docs/engines.md. A user's definition is outside input:
// every field is checked and bounded, and a broken one is refused with a
// sentence that names its file and field.

inline constexpr std::size_t kMaxDefinitionBytes = 64 * 1024;
inline constexpr std::size_t kMaxMarkerLength = 256;
inline constexpr int kMaxDefinedPages = 50;
inline constexpr std::size_t kMaxDefinitionsLoaded = 32;
inline constexpr std::size_t kMaxListings = 4;

// The text between `open`, found at or after a position, and the next
// `close` after it.
struct MarkerPair {
    std::string open;
    std::string close;
};

// How the link of a result is cut from its block and made usable.
struct LinkRule {
    // Empty: the link begins where the block begins.
    std::string open;
    std::string close;
    // Without its `close` the link runs to the end of the block (else the
    // block gives no result).
    bool closeOptional = false;
    enum class Decoding { None, Escapes, Amp };
    Decoding decoding = Decoding::None;
    // Put before the cut link; "{base}" stands for the base URL.
    std::string prefix;
    // Checked: only http and https links are kept, and one starting with "/"
    // is taken on the base URL. Unchecked links are kept as they are cut.
    bool checked = true;
};

// How the name of a result is cut from its block.
struct NameRule {
    // Searched from the end of the link's `close` instead of the block's
    // start.
    bool afterLink = false;
    std::size_t skip = 0;
    // Skipped too when the text goes on with it.
    std::string skipText;
    // Empty: the name begins there.
    std::string open;
    std::string close;
};

// What is added to a result's name from its (download) link.
enum class NameEnding {
    // The name as cut; a result without one is named after its link.
    None,
    // The link's text from its last ".", when no "/" follows it.
    LinkTail,
    // "." and the link's extension.
    Extension,
    // The same with a "wma" extension taken as "mp3".
    ExtensionWmaAsMp3,
};

// A page counts as whole when it holds every `contains` text and, with
// `countAfter` set, the number cut by `shown` after it is at most the one cut
// by `total` (commas dropped). A page that is not whole is fetched again up
// to `refetchLimit` times, `refetchDelay` apart, then taken as it is.
struct CompletenessRule {
    std::vector<std::string> contains;
    std::string countAfter;
    MarkerPair shown;
    MarkerPair total;
    int refetchLimit = 0;
    std::chrono::milliseconds refetchDelay{0};
};

// How a result's download link is cut from its detail page: between the
// first `open` and the next `close`, or, with `before` set, from the last
// `open` that starts at least `back` bytes before `before` to the next
// `close`.
struct DetailRule {
    std::string open;
    std::string close;
    bool closeOptional = false;
    std::string before;
    std::size_t back = 0;
    // Handed to the search's shared detail queue where there is one (the
    // built-in engines); otherwise fetched in turn.
    bool queued = false;
    int maxFetches = 0;
};

enum class FetchPath {
    // The system HTTP library: http and https, certificates checked.
    System,
    // The program's own plain HTTP client.
    Plain,
};

enum class NextBlock {
    // After the end of the block.
    AfterBlock,
    // After the block's first marker, so blocks may hold each other.
    AfterBlockStart,
    // Where the name of the block was looked for.
    AtName,
};

struct EngineDefinition {
    // The file's name without ".json": the engine's settings key part.
    std::string id;
    std::string name;
    std::string baseUrl;
    // Listings searched in turn, each "{base}" then a path with "{term}" or
    // "{raw_term}" and, when paging, "{page}" or "{first}".
    std::vector<std::string> urlTemplates;
    // Set: the page is POSTed with this form body.
    std::string bodyTemplate;
    FetchPath fetch = FetchPath::System;
    int firstPage = 1;
    int pageStep = 1;
    int maxPages = 1;
    // Set: paging goes on only while a page holds this text.
    std::string nextMarker;
    std::optional<CompletenessRule> completeness;

    enum class Kind { Html, Json };
    Kind kind = Kind::Html;
    // Html: a page without `requiredMarker` gives nothing. Results are the
    // blocks from each `blockStart` to the next `blockEnd` (or the page's
    // end); the link, name and size are cut from a block.
    std::string requiredMarker;
    std::string blockStart;
    std::string blockEnd;
    NextBlock nextBlock = NextBlock::AfterBlock;
    LinkRule link;
    std::optional<NameRule> nameRule;
    std::optional<MarkerPair> sizeMarkers;
    NameEnding nameEnding = NameEnding::None;
    // Json: dotted paths, `items` from the answer, the others from an item.
    std::string itemsPath;
    std::string linkPath;
    std::string namePath;
    std::string sizePath;
    // Set: each result is a detail page that gives the download link.
    std::optional<DetailRule> detail;
};

// How far a definition may go. A user's file gets the defaults; the
// built-in engines page on while their sites link on.
struct DefinitionLimits {
    int maxPages = kMaxDefinedPages;
    int maxRefetches = 50;
    int maxDetailFetches = 200;
};

// A definition, or the sentence that says what is wrong with it.
struct DefinitionReading {
    std::optional<EngineDefinition> definition;
    std::string error;
};

// Reads one definition; `fileName` names it in errors and gives its id.
DefinitionReading ReadEngineDefinition(std::string_view text, const std::string& fileName,
                                       const DefinitionLimits& limits = {});

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

// The URL of one result page of the first listing: `{base}`, `{term}`
// (escaped as a query value), `{raw_term}` (as typed) and `{page}` or
// `{first}` put in.
std::string DefinedPageUrl(const EngineDefinition& engine, std::string_view term, int page);

// The same for any template of the engine (a listing, a form body, a link
// prefix).
std::string FillTemplate(const EngineDefinition& engine, std::string_view pattern,
                         std::string_view term, long long page);

}  // namespace korvana
