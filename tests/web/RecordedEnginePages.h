#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "tests/web/WebTestSupport.h"
#include "web/EngineScrapers.h"
#include "web/LinkText.h"
#include "web/WebEngines.h"

namespace korvana::test {

// One line's worth of text with its line breaks, tabs, backslashes and
// other control or non-ASCII bytes written as escapes, so that a recorded
// answer is plain text that shows every byte.
inline std::string Visible(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

// Everything the built-in engines make of one page, read as each kind of
// page they fetch: the first engine's completeness and results, the second
// and third engines' listing entries with the names their download links
// would give, and both detail pages' download links.
inline std::string DescribeBuiltInScrapes(std::string_view page) {
    std::string out;
    out += "engine1 complete=" + std::to_string(IsEngine1PageComplete(page) ? 1 : 0);
    const Engine1Page one = ScrapeEngine1Page(page);
    out += " next=" + std::to_string(one.hasNextPage ? 1 : 0) + "\n";
    for (const ScrapedResult& result : one.results) {
        out += "  " + Visible(result.link) + "\t" + Visible(result.name) + "\n";
    }
    const std::string link2 = ScrapeEngine2DownloadLink(page);
    const std::string link3 = ScrapeEngine3DownloadLink(page);
    out += "engine2 download=" + Visible(link2) + "\n";
    for (const DetailEntry& entry : ScrapeEngine2Page(page, "http://e2.test/")) {
        out += "  " + Visible(entry.detailLink) + "\t" + Visible(entry.title) + "\t" +
               Visible(DetailResultName(entry.title, link2, WmaRule::BecomesMp3)) + "\n";
    }
    const Engine3Page three = ScrapeEngine3Page(page, "http://e3.test/http_search/");
    out += "engine3 download=" + Visible(link3) +
           " next=" + std::to_string(three.hasNextPage ? 1 : 0) + "\n";
    for (const DetailEntry& entry : three.entries) {
        out += "  " + Visible(entry.detailLink) + "\t" + Visible(entry.title) + "\t" +
               Visible(DetailResultName(entry.title, link3, WmaRule::Keep)) + "\n";
    }
    return out;
}

// The addresses the built-in engines ask for `term`.
inline std::string DescribeBuiltInUrls(std::string_view base, std::string_view term) {
    std::string out;
    for (const long first : {1L, 11L, 21L}) {
        out += Visible(Engine1PageUrl(base, term, first)) + "\n";
    }
    out += Visible(Engine2PageUrl(base, term)) + "\n";
    for (const long page : {1L, 2L}) {
        out += Visible(Engine3ArtistPageUrl(base, term, page)) + "\n";
        out += Visible(Engine3TitlePageUrl(base, term, page)) + "\n";
    }
    return out;
}

// What the three engines' tasks fetch and find for `term` when `fetcher`
// serves the pages (the fetch log, then each result), the second engine's
// detail pages run as they are handed on.
inline std::string DescribeBuiltInTasks(ScriptedFetcher& fetcher, std::string_view base,
                                        const std::string& term) {
    RecordingSink sink;
    std::vector<DetailEntry> handed;
    EngineTuning tuning;
    tuning.engine1RefetchLimit = 2;
    tuning.engine1RefetchDelay = std::chrono::milliseconds(0);
    const std::string url(base);
    const EngineContext context{EngineUrls{url, url, url}, tuning, fetcher, sink,
                                [&handed](int, DetailEntry entry) { handed.push_back(entry); }};
    std::string out;
    out += "engine1 " + std::to_string(Engine1Task(context, 1, term) ? 1 : 0) + "\n";
    out += "engine2 " + std::to_string(Engine2PageTask(context, 2, term) ? 1 : 0) + "\n";
    for (const DetailEntry& entry : handed) {
        out += "  detail " + Visible(entry.detailLink) + "\t" + Visible(entry.title) + " " +
               std::to_string(Engine2DetailTask(context, 2, entry) ? 1 : 0) + "\n";
    }
    out += "engine3 " + std::to_string(Engine3Task(context, 3, term) ? 1 : 0) + "\n";
    for (const std::string& fetched : fetcher.Log()) {
        out += "fetch " + Visible(fetched) + "\n";
    }
    for (const RecordingSink::Result& result : sink.Results()) {
        out += "result " + std::to_string(result.searchId) + " " +
               std::to_string(static_cast<int>(result.engine)) + " " + Visible(result.link) + "\t" +
               Visible(result.name) + "\n";
    }
    return out;
}

// The site recorded from the simulated web (on port 17101) for the term "a",
// and for "b" the same with the first engine's page served cut short.
inline constexpr std::string_view kRecordedBase = "http://127.0.0.1:17101";

inline std::string RecordedPage(const std::string& name) {
    return WebTestPage("recorded/" + name);
}

inline void ServeRecordedSite(ScriptedFetcher& fetcher) {
    const std::string base(kRecordedBase);
    fetcher.Serve(Engine1PageUrl(base, "a", 1), RecordedPage("sim_e1_a_1.html"));
    fetcher.Serve(Engine1PageUrl(base, "a", 11), RecordedPage("sim_e1_a_11.html"));
    fetcher.Serve(Engine1PageUrl(base, "b", 1), RecordedPage("sim_e1_a_incomplete.html"));
    fetcher.Serve(Engine2PageUrl(base, "a"), RecordedPage("sim_e2_a.html"));
    fetcher.Serve(Engine2PageUrl(base, "b"), RecordedPage("edge_engine2_quirks.html"));
    fetcher.Serve(Engine3ArtistPageUrl(base, "a", 1), RecordedPage("sim_e3_a_artist1.html"));
    fetcher.Serve(Engine3TitlePageUrl(base, "a", 1), RecordedPage("sim_e3_kestrel_artist1.html"));
    fetcher.Serve(Engine3TitlePageUrl(base, "a", 2), RecordedPage("sim_e3_a_title2.html"));
    fetcher.Serve(Engine3ArtistPageUrl(base, "b", 1), RecordedPage("edge_engine3_quirks.html"));
    for (const char* id : {"1", "7", "12"}) {
        fetcher.Serve(base + "/dsong.aspx?id=" + id + "&from=list",
                      RecordedPage(std::string("sim_e2_detail_") + id + ".html"));
        fetcher.Serve(base + "/http_search/download.php?id=" + id,
                      RecordedPage(std::string("sim_e3_detail_") + id + ".html"));
    }
}

}  // namespace korvana::test
