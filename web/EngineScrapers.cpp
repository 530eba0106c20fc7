#include "web/EngineScrapers.h"

#include <cctype>
#include <optional>

#include "web/LinkText.h"

namespace korvana {
namespace {

constexpr auto npos = std::string_view::npos;

// The text between `open` (first found at or after `from`) and the next
// `close`; empty when either is missing.
std::string_view Between(std::string_view text, std::string_view open, std::string_view close,
                         std::size_t from = 0) {
    const std::size_t start = text.find(open, from);
    if (start == npos) {
        return {};
    }
    const std::size_t begin = start + open.size();
    const std::size_t end = text.find(close, begin);
    if (end == npos) {
        return {};
    }
    return text.substr(begin, end - begin);
}

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A number read the way the C library's atoi reads it: leading blanks, a
// sign, then digits up to the first other character; no digits read as 0.
// Held far from overflow.
long long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 1'000'000'000'000'000LL) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

std::string WithoutLeadingBlanksAndCommas(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    std::string kept;
    for (char c : text.substr(i)) {
        if (c != ',') {
            kept += c;
        }
    }
    return kept;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != npos; at = text.find(from, start)) {
        out.append(text.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(text.substr(start));
    return out;
}

std::optional<ScrapedResult> Engine1Result(std::string_view block) {
    constexpr std::string_view kLinkOpen = "<a href=\"";
    const std::size_t linkStart = block.find(kLinkOpen);
    if (linkStart == npos) {
        return std::nullopt;
    }
    const std::size_t linkBegin = linkStart + kLinkOpen.size();
    const std::size_t linkEnd = block.find("\">", linkBegin);
    if (linkEnd == npos) {
        return std::nullopt;
    }
    ScrapedResult result;
    result.link = DecodeLink(block.substr(linkBegin, linkEnd - linkBegin));
    if (result.link.empty()) {
        return std::nullopt;
    }
    result.name = ListedResultName(Between(block, "title=\"\">", "</a>"), result.link);
    return result;
}

std::optional<DetailEntry> Engine3Entry(std::string_view block, std::string_view detailBase) {
    const std::size_t linkEnd = block.find("\">");
    if (linkEnd == npos) {
        return std::nullopt;
    }
    DetailEntry entry;
    entry.detailLink = std::string(detailBase) + DecodeLink(block.substr(0, linkEnd));
    entry.title = Between(block, "<b>", "</b>", linkEnd);
    return entry;
}

}  // namespace

bool IsEngine1PageComplete(std::string_view page) {
    if (page.find("title=\"\">") == npos || page.find("<b>Next</b>") == npos) {
        return false;
    }
    const std::size_t showing = page.find("Showing Results");
    if (showing == npos) {
        return false;
    }
    const std::string_view shownTo = Between(page, "thru ", "</b>", showing);
    const std::string total = WithoutLeadingBlanksAndCommas(Between(page, "of", "(<a", showing));
    if (shownTo.empty() || total.empty()) {
        return false;
    }
    return LeadingInteger(shownTo) <= LeadingInteger(total);
}

Engine1Page ScrapeEngine1Page(std::string_view page) {
    constexpr std::string_view kBlockMark = "class=\"sm\"";
    Engine1Page scraped;
    for (std::size_t at = page.find(kBlockMark);
         at != npos && scraped.results.size() < kMaxEntriesPerPage;
         at = page.find(kBlockMark, at + kBlockMark.size())) {
        const std::size_t end = page.find("</table>", at + 8);
        const std::string_view block = page.substr(at, end == npos ? npos : end - at);
        if (auto result = Engine1Result(block)) {
            scraped.results.push_back(std::move(*result));
        }
    }
    scraped.hasNextPage = page.find("<b>Next</b></a>") != npos;
    return scraped;
}

std::vector<DetailEntry> ScrapeEngine2Page(std::string_view page, std::string_view detailBase) {
    std::vector<DetailEntry> entries;
    for (std::size_t at = page.find("dsong.aspx");
         at != npos && entries.size() < kMaxEntriesPerPage;) {
        const std::size_t quote = page.find('"', at);
        const std::size_t linkEnd = quote == npos ? page.size() : quote;
        DetailEntry entry;
        entry.detailLink =
            std::string(detailBase) + ReplaceAll(page.substr(at, linkEnd - at), "&amp;", "&");
        // The title follows the quote and one more character; some rows put
        // a stray "\">" there, which is skipped as well.
        std::size_t titleStart = linkEnd + 2;
        if (titleStart + 1 < page.size() && page[titleStart] == '"' &&
            page[titleStart + 1] == '>') {
            titleStart += 2;
        }
        if (titleStart < page.size()) {
            const std::size_t titleEnd = page.find("</a>", titleStart);
            if (titleEnd != npos) {
                entry.title = page.substr(titleStart, titleEnd - titleStart);
            }
        }
        entries.push_back(std::move(entry));
        at = titleStart < page.size() ? page.find("dsong.aspx", titleStart) : npos;
    }
    return entries;
}

std::string ScrapeEngine2DownloadLink(std::string_view detailPage) {
    constexpr std::string_view kMark = "Download : <a href=\"";
    const std::size_t mark = detailPage.find(kMark);
    if (mark == npos) {
        return {};
    }
    const std::size_t begin = mark + kMark.size();
    const std::size_t end = detailPage.find('"', begin);
    return std::string(detailPage.substr(begin, end == npos ? npos : end - begin));
}

Engine3Page ScrapeEngine3Page(std::string_view page, std::string_view detailBase) {
    constexpr std::string_view kEntryMark = "download.php";
    Engine3Page scraped;
    if (page.find("<b>Next Page") == npos) {
        return scraped;
    }
    scraped.hasNextPage = true;
    for (std::size_t at = page.find(kEntryMark);
         at != npos && scraped.entries.size() < kMaxEntriesPerPage;
         at = page.find(kEntryMark, at + kEntryMark.size())) {
        const std::size_t end = page.find("</a>", at + kEntryMark.size());
        if (auto entry = Engine3Entry(page.substr(at, end == npos ? npos : end - at), detailBase)) {
            scraped.entries.push_back(std::move(*entry));
        }
    }
    return scraped;
}

std::string ScrapeEngine3DownloadLink(std::string_view detailPage) {
    const std::size_t mark = detailPage.find("Download Now");
    if (mark == npos || mark < 3) {
        return {};
    }
    const std::size_t open = detailPage.rfind('"', mark - 3);
    if (open == npos) {
        return {};
    }
    const std::size_t close = detailPage.find('"', open + 1);
    if (close == npos) {
        return {};
    }
    return std::string(detailPage.substr(open + 1, close - open - 1));
}

}  // namespace korvana
