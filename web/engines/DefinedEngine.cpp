#include "web/engines/DefinedEngine.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>

#include "util/PercentText.h"
#include "web/LinkText.h"
#include "web/engines/PageText.h"

namespace korvana {
namespace {

using Json = nlohmann::json;
constexpr auto npos = std::string_view::npos;
constexpr std::size_t kMaxJsonPageBytes = 8 * 1024 * 1024;

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

std::string Decoded(LinkRule::Decoding decoding, std::string_view link) {
    switch (decoding) {
        case LinkRule::Decoding::Escapes:
            return DecodeLink(link);
        case LinkRule::Decoding::Amp:
            return ReplaceAll(link, "&amp;", "&");
        case LinkRule::Decoding::None:
            break;
    }
    return std::string(link);
}

// The link of a block as the page gives it, and where its `close` ends (the
// block's length plus the close's when it has none).
struct RawLink {
    std::string_view text;
    std::size_t afterClose = 0;
};

std::optional<RawLink> CutRawLink(const LinkRule& rule, std::string_view block) {
    std::size_t begin = 0;
    if (!rule.open.empty()) {
        const std::size_t open = block.find(rule.open);
        if (open == npos) {
            return std::nullopt;
        }
        begin = open + rule.open.size();
    }
    std::size_t stop = block.find(rule.close, begin);
    if (stop == npos) {
        if (!rule.closeOptional) {
            return std::nullopt;
        }
        stop = block.size();
    }
    return RawLink{block.substr(begin, stop - begin), stop + rule.close.size()};
}

// Where the name is looked for: after the link or at the block's start,
// moved past what the rule skips.
std::size_t NameStart(const NameRule& rule, std::string_view block, std::size_t afterLink) {
    std::size_t from = (rule.afterLink ? afterLink : 0) + rule.skip;
    if (from <= block.size() && !rule.skipText.empty() &&
        block.substr(from).starts_with(rule.skipText)) {
        from += rule.skipText.size();
    }
    return from;
}

std::string_view CutName(const NameRule& rule, std::string_view block, std::size_t from) {
    if (from > block.size()) {
        return {};
    }
    return rule.open.empty() ? Between(block.substr(from), {}, rule.close)
                             : Between(block, rule.open, rule.close, from);
}

// The link as a result takes it, or "" when the block gives none.
std::string ResultLink(const EngineDefinition& engine, std::string_view raw) {
    const std::string decoded = Decoded(engine.link.decoding, raw);
    if (decoded.empty()) {
        return {};
    }
    const std::string link =
        FillTemplate(engine, engine.link.prefix, std::string_view(), 0) + decoded;
    return engine.link.checked ? Absolute(engine, link) : link;
}

// The result of one block, if any, and where the next block is looked for.
std::size_t CutBlock(const EngineDefinition& engine, std::string_view text, std::size_t at,
                     DefinedPage& page) {
    const std::size_t end =
        engine.blockEnd.empty() ? npos : text.find(engine.blockEnd, at + engine.blockStart.size());
    const std::string_view block = text.substr(at, end == npos ? npos : end - at);
    std::size_t next = at + engine.blockStart.size();
    if (engine.nextBlock == NextBlock::AfterBlock) {
        next = end == npos ? npos : end + engine.blockEnd.size();
    }
    const std::optional<RawLink> raw = CutRawLink(engine.link, block);
    if (!raw) {
        return next;
    }
    std::string_view name;
    if (engine.nameRule) {
        const std::size_t from = NameStart(*engine.nameRule, block, raw->afterClose);
        name = CutName(*engine.nameRule, block, from);
        if (engine.nextBlock == NextBlock::AtName) {
            next = at + from;
        }
    }
    DefinedResult result;
    result.link = ResultLink(engine, raw->text);
    if (result.link.empty()) {
        return next;
    }
    result.name =
        engine.detail ? std::string(name) : NameWithEnding(engine.nameEnding, name, result.link);
    result.size =
        engine.sizeMarkers
            ? SizeFrom(Between(block, engine.sizeMarkers->open, engine.sizeMarkers->close))
            : -1;
    page.results.push_back(std::move(result));
    return next;
}

void CutHtml(const EngineDefinition& engine, std::string_view text, DefinedPage& page) {
    for (std::size_t at = text.find(engine.blockStart);
         at != npos && page.results.size() < kMaxEntriesPerPage;) {
        const std::size_t next = CutBlock(engine, text, at, page);
        at = next == npos ? npos : text.find(engine.blockStart, next);
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
        DefinedResult result;
        result.link = Absolute(engine, TextAt(item, engine.linkPath));
        if (result.link.empty()) {
            continue;
        }
        const std::string name = TextAt(item, engine.namePath);
        result.name = engine.detail ? name : NameWithEnding(engine.nameEnding, name, result.link);
        result.size = SizeAt(item, engine.sizePath);
        page.results.push_back(std::move(result));
    }
}

}  // namespace

DefinedPage CutDefinedPage(const EngineDefinition& engine, std::string_view page) {
    DefinedPage cut;
    if (engine.kind == EngineDefinition::Kind::Html) {
        if (!engine.requiredMarker.empty() && page.find(engine.requiredMarker) == npos) {
            return cut;
        }
        CutHtml(engine, page, cut);
    } else {
        CutJson(engine, page, cut);
    }
    cut.hasNextPage =
        engine.nextMarker.empty() ? !cut.results.empty() : page.find(engine.nextMarker) != npos;
    return cut;
}

bool IsPageComplete(const CompletenessRule& rule, std::string_view page) {
    for (const std::string& text : rule.contains) {
        if (page.find(text) == npos) {
            return false;
        }
    }
    if (rule.countAfter.empty()) {
        return true;
    }
    const std::size_t after = page.find(rule.countAfter);
    if (after == npos) {
        return false;
    }
    const std::string_view shown = Between(page, rule.shown.open, rule.shown.close, after);
    const std::string total =
        WithoutLeadingBlanksAndCommas(Between(page, rule.total.open, rule.total.close, after));
    if (shown.empty() || total.empty()) {
        return false;
    }
    return LeadingInteger(shown) <= LeadingInteger(total);
}

std::string CutDownloadLink(const EngineDefinition& engine, std::string_view detailPage) {
    if (!engine.detail) {
        return {};
    }
    const DetailRule& rule = *engine.detail;
    std::size_t open = npos;
    if (rule.before.empty()) {
        open = detailPage.find(rule.open);
    } else {
        const std::size_t mark = detailPage.find(rule.before);
        if (mark == npos || mark < rule.back) {
            return {};
        }
        open = detailPage.rfind(rule.open, mark - rule.back);
    }
    if (open == npos) {
        return {};
    }
    const std::size_t begin = open + rule.open.size();
    const std::size_t close = detailPage.find(rule.close, begin);
    if (close == npos && !rule.closeOptional) {
        return {};
    }
    const std::string_view link = detailPage.substr(begin, close == npos ? npos : close - begin);
    return engine.link.checked ? Absolute(engine, link) : std::string(link);
}

std::string NameWithEnding(NameEnding ending, std::string_view name, std::string_view link) {
    switch (ending) {
        case NameEnding::LinkTail:
            return ListedResultName(name, link);
        case NameEnding::Extension:
            return DetailResultName(name, link, WmaRule::Keep);
        case NameEnding::ExtensionWmaAsMp3:
            return DetailResultName(name, link, WmaRule::BecomesMp3);
        case NameEnding::None:
            break;
    }
    return name.empty() ? LastSegment(link) : std::string(name);
}

}  // namespace korvana
