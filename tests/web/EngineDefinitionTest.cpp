#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/TempDir.h"
#include "tests/web/WebTestSupport.h"
#include "web/engines/DefinedEngine.h"
#include "web/engines/EngineDefinition.h"

namespace korvana {
namespace {

constexpr const char* kHtmlEngine = R"({
  "name": "Tape Shelf",
  "base_url": "http://127.0.0.1:4100/",
  "url": "{base}/find?q={term}&p={page}",
  "paging": {"first": 0, "step": 1, "max_pages": 3, "next_marker": "more &raquo;"},
  "results": {"kind": "html", "block_start": "<li class=\"song\">", "block_end": "</li>",
              "link": {"open": "href=\"", "close": "\""},
              "name": {"open": "<b>", "close": "</b>"},
              "size": {"open": "data-bytes=\"", "close": "\""}}
})";

constexpr const char* kJsonEngine = R"({
  "name": "Open Tracks",
  "base_url": "https://tracks.example",
  "url": "{base}/api?term={term}",
  "results": {"kind": "json", "items": "data.tracks", "link": "file.url", "name": "title",
              "size": "file.bytes"}
})";

EngineDefinition Read(const char* text) {
    DefinitionReading reading = ReadEngineDefinition(text, "shelf.json");
    EXPECT_EQ(reading.error, "");
    return reading.definition.value_or(EngineDefinition{});
}

TEST(EngineDefinitionFile, ReadsEveryFieldAndBuildsPageAddresses) {
    const EngineDefinition engine = Read(kHtmlEngine);
    EXPECT_EQ(engine.id, "shelf");
    EXPECT_EQ(engine.name, "Tape Shelf");
    EXPECT_EQ(engine.baseUrl, "http://127.0.0.1:4100");
    EXPECT_EQ(engine.maxPages, 3);
    EXPECT_EQ(DefinedPageUrl(engine, "a&b c/é", 2),
              "http://127.0.0.1:4100/find?q=a%26b%20c%2F%C3%A9&p=2");
    const EngineDefinition json = Read(kJsonEngine);
    EXPECT_EQ(json.kind, EngineDefinition::Kind::Json);
    EXPECT_EQ(json.maxPages, 1);
    EXPECT_EQ(json.sizePath, "file.bytes");
}

TEST(EngineDefinitionFile, ABrokenDefinitionIsRefusedNamingItsFileAndField) {
    const std::pair<std::string, std::string> cases[] = {
        {"{not json", "bad.json: not a JSON object"},
        {R"({"name":"x","base_url":"http://h","results":{"kind":"html"}})",
         "bad.json: field \"url\" is missing"},
        {R"({"name":"x","base_url":"http://h","url":"{base}/s","results":{}})",
         "bad.json: field \"url\" must begin with \"{base}/\" and hold \"{term}\""},
        {R"({"name":"x","base_url":"ftp://h","url":"{base}/{term}","results":{}})",
         "bad.json: field \"base_url\" is not usable: The address must begin with http:// or "
         "https://."},
        {R"({"name":"x","base_url":"http://h","url":"{base}/{term}","reslts":{}})",
         "bad.json: field \"reslts\" is not a field of an engine definition"},
        {R"({"name":"x","base_url":"http://h","url":"{base}/{term}","paging":{"max_pages":1e9},
             "results":{"kind":"json","items":"a","link":"b"}})",
         "bad.json: field \"paging.max_pages\" must be a whole number from 1 to 50"},
        {R"({"name":"x","base_url":"http://h","url":"{base}/{term}",
             "results":{"kind":"json","items":"a..b","link":"b"}})",
         "bad.json: field \"results.items\" must be names joined by dots, such as "
         "\"response.docs\""},
        {R"({"name":"x","base_url":"http://h","url":"{base}/{term}",
             "results":{"kind":"html","block_start":"<li>","block_end":"</li>","link":{"open":""}}})",
         "bad.json: field \"results.link.open\" must be a text of 1 to 256 characters"},
        {R"({"name":"x","base_url":"http://h","url":"{base}/{term}","results":{"kind":"xml"}})",
         "bad.json: field \"results.kind\" must be \"html\" or \"json\""},
    };
    for (const auto& [text, error] : cases) {
        const DefinitionReading reading = ReadEngineDefinition(text, "bad.json");
        EXPECT_FALSE(reading.definition) << text;
        EXPECT_EQ(reading.error, error);
    }
    EXPECT_FALSE(
        ReadEngineDefinition(std::string(kMaxDefinitionBytes + 1, ' '), "big.json").definition);
}

TEST(EngineDefinitionFile, AFolderLoadsItsGoodFilesAndNamesItsBadOnes) {
    test::TempDir dir;
    const auto write = [&](const char* name, const char* text) {
        std::ofstream(dir.Path() / name) << text;
    };
    write("b-shelf.json", kHtmlEngine);
    write("a-broken.json", "[]");
    write("notes.txt", "not an engine");
    const LoadedDefinitions loaded = LoadEngineDefinitions(dir.Path());
    ASSERT_EQ(loaded.engines.size(), 1u);
    EXPECT_EQ(loaded.engines[0].id, "b-shelf");
    EXPECT_EQ(loaded.errors, std::vector<std::string>{"a-broken.json: not a JSON object"});
    EXPECT_TRUE(LoadEngineDefinitions(dir.Path() / "missing").engines.empty());
}

TEST(DefinedEnginePage, HtmlBlocksGiveLinksNamesAndSizes) {
    const EngineDefinition engine = Read(kHtmlEngine);
    const DefinedPage page = CutDefinedPage(engine, R"page(
        <li class="song"><a href="/f/One.mp3"><b>One</b></a> <i data-bytes="4000"></i></li>
        <li class="song"><a href="javascript:alert(1)"><b>Bad</b></a></li>
        <li class="song"><a href="https://cdn.example/x/Two%20B.mp3?t=1">no name</a></li>
        <li class="song"><a href="/x/a%2Fb%00c%zz.mp3"></a></li>
        <a>more &raquo;</a>)page");
    ASSERT_EQ(page.results.size(), 3u);
    // An escaped "/" or NUL would make the name a path: it stays escaped.
    EXPECT_EQ(page.results[2].name, "a%2Fb%00c%zz.mp3");
    EXPECT_EQ(page.results[0].link, "http://127.0.0.1:4100/f/One.mp3");
    EXPECT_EQ(page.results[0].name, "One");
    EXPECT_EQ(page.results[0].size, 4000);
    EXPECT_EQ(page.results[1].name, "Two B.mp3");
    EXPECT_EQ(page.results[1].size, -1);
    EXPECT_TRUE(page.hasNextPage);
    EXPECT_FALSE(CutDefinedPage(engine, "<li class=\"song\"><a href=\"/x\"></li>").hasNextPage);
}

TEST(DefinedEnginePage, JsonItemsGiveLinksNamesAndSizes) {
    const EngineDefinition engine = Read(kJsonEngine);
    const DefinedPage page = CutDefinedPage(engine, R"({"data":{"tracks":[
        {"title":"Song","file":{"url":"https://tracks.example/s.mp3","bytes":"123"}},
        {"title":"No link"},
        {"file":{"url":"/t.mp3","bytes":77}},
        {"title":"Odd size","file":{"url":"https://t/u.mp3","bytes":-4}}]}})");
    ASSERT_EQ(page.results.size(), 3u);
    EXPECT_EQ(page.results[0].size, 123);
    EXPECT_EQ(page.results[1].link, "https://tracks.example/t.mp3");
    EXPECT_EQ(page.results[1].name, "t.mp3");
    EXPECT_EQ(page.results[2].size, -1);
    EXPECT_TRUE(CutDefinedPage(engine, "{\"data\":1}").results.empty());
}

TEST(DefinedEngineSearch, PagesUntilNoNextPageWithinItsLimit) {
    const EngineDefinition engine = Read(kHtmlEngine);
    test::ScriptedFetcher fetcher;
    test::RecordingSink sink;
    const std::string block = R"(<li class="song"><a href="/f/A.mp3"><b>A</b></a></li>)";
    fetcher.ServeOthers([&](const std::string&) { return block + "more &raquo;"; });
    EXPECT_TRUE(DefinedEngineTask(fetcher, sink, engine, 4, "a"));
    // Three pages at most, from page 0.
    ASSERT_EQ(fetcher.Log().size(), 3u);
    EXPECT_EQ(fetcher.Log()[0], "SYSTEM http://127.0.0.1:4100/find?q=a&p=0");
    EXPECT_EQ(sink.NamesOf(WebEngineId::Defined).size(), 3u);

    test::ScriptedFetcher lastPage;
    lastPage.ServeOthers([&](const std::string&) { return block; });
    EXPECT_TRUE(DefinedEngineTask(lastPage, sink, engine, 4, "a"));
    EXPECT_EQ(lastPage.Log().size(), 1u);
}

}  // namespace
}  // namespace korvana
