#include "web/engines/DefinedEngine.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>

#include "util/PercentText.h"
#include "web/EngineScrapers.h"
#include "web/PageFetcher.h"
#include "web/WebResultSink.h"

namespace korvana {
namespace {

using Json = nlohmann::json;
constexpr auto npos = std::string_view::npos;
constexpr std::size_t kMaxJsonPageBytes = 8 * 1024 * 1024;

std::string_view Between(std::string_view text, const MarkerPair& markers) {
    const std::size_t start = text.find(markers.open);
    if (start == npos) {
        return {};
    }
    const std::size_t begin = start + markers.open.size();
    const std::size_t end = text.find(markers.close, begin);
    return end == npos ? std::string_view() : text.substr(begin, end - begin);
}

std::int64_t SizeFrom(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    std::int64_t size = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    return error == std::errc() && end != text.data() && size >= 0 ? size : -1;
}

// The link made absolute, or "" when it cannot be used.
std::string Absolute(const EngineDefinition& engine, std::string_view link) {
    if (link.starts_with("http://") || link.starts_with("https://")) {
        return std::string(link);
    }
    if (link.starts_with('/') && !link.starts_with("//")) {
        return engine.baseUrl + std::string(link);
    }
    return {};
}

// The last path segment of a link with its percent escapes decoded, as a
// file name; a "/" or NUL it decodes to would make it a path, so those stay
// escaped.
std::string LastSegment(std::string_view link) {
    link = link.substr(0, link.find_first_of("?#"));
    const std::size_t slash = link.rfind('/');
    const std::string_view segment = slash == npos ? link : link.substr(slash + 1);
    return *PercentDecoded(segment, {.keepEscaped = std::string_view("/\0", 2)});
}

void Keep(const EngineDefinition& engine, std::string_view link, std::string name,
          std::int64_t size, DefinedPage& page) {
    DefinedResult result;
    result.link = Absolute(engine, link);
    if (result.link.empty()) {
        return;
    }
    result.name = name.empty() ? LastSegment(result.link) : std::move(name);
    result.size = size;
    page.results.push_back(std::move(result));
}

void CutHtml(const EngineDefinition& engine, std::string_view text, DefinedPage& page) {
    for (std::size_t at = text.find(engine.blockStart);
         at != npos && page.results.size() < kMaxEntriesPerPage;) {
        const std::size_t end = text.find(engine.blockEnd, at + engine.blockStart.size());
        const std::string_view block = text.substr(at, end == npos ? npos : end - at);
        Keep(engine, Between(block, engine.linkMarkers),
             engine.nameMarkers ? std::string(Between(block, *engine.nameMarkers)) : std::string(),
             engine.sizeMarkers ? SizeFrom(Between(block, *engine.sizeMarkers)) : -1, page);
        at = end == npos ? npos : text.find(engine.blockStart, end + engine.blockEnd.size());
    }
}

const Json* At(const Json& root, std::string_view path) {
    const Json* value = &root;
    while (!path.empty()) {
        const std::size_t dot = path.find('.');
        const std::string key(path.substr(0, dot));
        if (!value->is_object()) {
            return nullptr;
        }
        const auto found = value->find(key);
        if (found == value->end()) {
            return nullptr;
        }
        value = &*found;
        path = dot == npos ? std::string_view() : path.substr(dot + 1);
    }
    return value;
}

std::string TextAt(const Json& item, const std::string& path) {
    const Json* value = path.empty() ? nullptr : At(item, path);
    return value != nullptr && value->is_string() ? value->get<std::string>() : std::string();
}

std::int64_t SizeAt(const Json& item, const std::string& path) {
    const Json* value = path.empty() ? nullptr : At(item, path);
    if (value == nullptr) {
        return -1;
    }
    if (value->is_number_integer()) {
        return std::max<std::int64_t>(-1, value->get<std::int64_t>());
    }
    return value->is_string() ? SizeFrom(value->get_ref<const std::string&>()) : -1;
}

void CutJson(const EngineDefinition& engine, std::string_view text, DefinedPage& page) {
    if (text.size() > kMaxJsonPageBytes) {
        return;
    }
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    const Json* items = root.is_discarded() ? nullptr : At(root, engine.itemsPath);
    if (items == nullptr || !items->is_array()) {
        return;
    }
    for (const Json& item : *items) {
        if (page.results.size() == kMaxEntriesPerPage) {
            break;
        }
        Keep(engine, TextAt(item, engine.linkPath), TextAt(item, engine.namePath),
             SizeAt(item, engine.sizePath), page);
    }
}

}  // namespace

DefinedPage CutDefinedPage(const EngineDefinition& engine, std::string_view page) {
    DefinedPage cut;
    if (engine.kind == EngineDefinition::Kind::Html) {
        CutHtml(engine, page, cut);
    } else {
        CutJson(engine, page, cut);
    }
    cut.hasNextPage =
        engine.nextMarker.empty() ? !cut.results.empty() : page.find(engine.nextMarker) != npos;
    return cut;
}

bool DefinedEngineTask(PageFetcher& fetcher, WebResultSink& sink, const EngineDefinition& engine,
                       int searchId, const std::string& term) {
    const bool paged = engine.urlTemplate.find("{page}") != std::string::npos;
    const int pages = paged ? engine.maxPages : 1;
    int pageNumber = engine.firstPage;
    for (int i = 0; i < pages; ++i, pageNumber += engine.pageStep) {
        if (fetcher.Stopping() || sink.IsSearchStopped(searchId)) {
            return true;
        }
        const std::string text =
            fetcher.FetchWithSystemHttp(DefinedPageUrl(engine, term, pageNumber));
        if (fetcher.LastFetchOverran()) {
            return false;
        }
        const DefinedPage page = CutDefinedPage(engine, text);
        for (const DefinedResult& result : page.results) {
            if (result.size >= 0) {
                sink.AddKnownWebResult(searchId, {result.link, result.name, result.size, {}},
                                       WebEngineId::Defined);
            } else {
                sink.AddWebResult(searchId, result.link, result.name, WebEngineId::Defined);
            }
        }
        if (!page.hasNextPage) {
            return true;
        }
    }
    return true;
}

}  // namespace korvana
