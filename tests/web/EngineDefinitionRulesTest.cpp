#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/web/WebTestSupport.h"
#include "web/engines/BuiltInEngines.h"
#include "web/engines/DefinedEngine.h"
#include "web/engines/EngineDefinition.h"

// What a definition can say beyond one GET page of blocks: forms, several
// listings, whole pages, detail pages, and the rules the built-in engines
// are written in; and how each new field refuses what it cannot use.
namespace korvana {
namespace {

using test::RecordingSink;
using test::ScriptedFetcher;

EngineDefinition Read(const std::string& text) {
    DefinitionReading reading = ReadEngineDefinition(text, "rules.json");
    EXPECT_EQ(reading.error, "") << text;
    return reading.definition.value_or(EngineDefinition{});
}

std::string Refusal(const std::string& text) {
    const DefinitionReading reading = ReadEngineDefinition(text, "bad.json");
    EXPECT_FALSE(reading.definition) << text;
    return reading.error;
}

// A definition made of `request` fields and an HTML `results` object.
std::string Html(const std::string& request, const std::string& results,
                 const std::string& more = "") {
    return R"({"name":"T","base_url":"http://h.test",)" + request +
           R"(,"results":{"kind":"html",)" + results + "}" + more + "}";
}

const std::string kBlocks =
    R"("block_start":"<li>","block_end":"</li>","link":{"open":"href=\"","close":"\""},
       "name":{"open":"<b>","close":"</b>"})";

TEST(BuiltInEngineDefinitions, ReadOnlyWithTheirOwnLimits) {
    for (const BuiltInEngine engine :
         {BuiltInEngine::Engine1, BuiltInEngine::Engine2, BuiltInEngine::Engine3}) {
        const std::string text(BuiltInDefinitionText(engine));
        EXPECT_TRUE(ReadEngineDefinition(text, "e.json", BuiltInLimits()).definition) << text;
        // A user's file may not page on without end.
        const std::string error = ReadEngineDefinition(text, "e.json").error;
        EXPECT_TRUE(error.starts_with("e.json: field \"paging.max_pages\"") ||
                    error.starts_with("e.json: field \"detail.max_fetches\""))
            << error;
    }
    EXPECT_EQ(BuiltInDefinition(BuiltInEngine::Engine3).urlTemplates.size(), 2u);
    EXPECT_EQ(BuiltInDefinitionOn(BuiltInEngine::Engine2, "http://x:1/").baseUrl, "http://x:1/");
}

// The parser's fuzz seeds hold the built-in engines' shapes within a user's
// limits; they must stay readable, or the fuzzer starts from refusals.
TEST(BuiltInEngineDefinitions, TheirShapesReadAsUserFiles) {
    const auto folder = std::filesystem::path(KORVANA_SOURCE_DIR) / "fuzz" / "web" / "corpus" /
                        "engine_definition_fuzz";
    int read = 0;
    for (const char* name :
         {"builtin_engine1.json", "builtin_engine2.json", "builtin_engine3.json"}) {
        std::ifstream in(folder / name, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_EQ(ReadEngineDefinition(text, name).error, "") << name;
        ++read;
    }
    EXPECT_EQ(read, 3);
}

TEST(EngineDefinitionRules, NewFieldsRefuseWhatTheyCannotUse) {
    const std::pair<std::string, std::string> cases[] = {
        {Html(R"("url":"{base}/s?q={term}","method":"PUT")", kBlocks),
         "bad.json: field \"method\" must be \"GET\" or \"POST\""},
        {Html(R"("url":"{base}/s","body":"q={term}")", kBlocks),
         "bad.json: field \"body\" needs \"method\": \"POST\""},
        {Html(R"("url":"{base}/s","method":"POST","body":"q={term}","fetch":"system")", kBlocks),
         "bad.json: field \"fetch\" must be \"plain\" for a POST"},
        {R"({"name":"T","base_url":"https://h.test","url":"{base}/s?q={term}","fetch":"plain",
             "results":{"kind":"json","items":"a","link":"b"}})",
         "bad.json: field \"fetch\" \"plain\" needs an http:// base_url"},
        {Html(R"("url":"{base}/s?x=1","method":"POST","body":"q={term}")", kBlocks),
         "bad.json: field \"url\" must not hold \"?\" when a body is sent"},
        {Html(R"("url":[])", kBlocks),
         "bad.json: field \"url\" must be a text or a list of 1 to 4 texts"},
        {Html(R"("url":["{base}/a?q={term}","/b?q={term}"])", kBlocks),
         "bad.json: field \"url[1]\" must begin with \"{base}/\" and hold \"{term}\""},
        {Html(R"("url":"{base}/s?q={term}")", kBlocks + R"(,"next_block":"at_name")"),
         "bad.json: field \"results.next_block\" \"at_name\" needs \"name\" with "
         "\"after_link\": true"},
        {Html(R"("url":"{base}/s?q={term}")",
              R"("block_start":"<li>","link":{"close":"\"","decode":"base64"})"),
         "bad.json: field \"results.link.decode\" must be \"none\", \"escapes\" or \"amp\""},
        {Html(R"("url":"{base}/s?q={term}")",
              R"("block_start":"<li>","link":{"close":"\"","check":1})"),
         "bad.json: field \"results.link.check\" must be true or false"},
        {Html(R"("url":"{base}/s?q={term}")",
              R"("block_start":"<li>","link":{"close":"\""},"name":{"close":"<","skip":65})"),
         "bad.json: field \"results.name.skip\" must be a whole number from 0 to 64"},
        {Html(R"("url":"{base}/s?q={term}","complete":{"refetch_limit":3})", kBlocks),
         "bad.json: field \"complete\" needs \"contains\" or \"count\""},
        {Html(R"("url":"{base}/s?q={term}","complete":{"contains":["a",""]})", kBlocks),
         "bad.json: field \"complete.contains[1]\" must be a text of 1 to 256 characters"},
        {Html(R"("url":"{base}/s?q={term}","complete":{"contains":["a"],"refetch_limit":3000})",
              kBlocks),
         "bad.json: field \"complete.refetch_limit\" must be a whole number from 0 to 50"},
        {Html(R"("url":"{base}/s?q={term}")", kBlocks,
              R"(,"detail":{"open":"x","close":"y","max_fetches":100000})"),
         "bad.json: field \"detail.max_fetches\" must be a whole number from 1 to 200"},
        {Html(R"("url":"{base}/s?q={term}")", kBlocks, R"(,"detail":{"close":"y"})"),
         "bad.json: field \"detail.open\" is missing"},
    };
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(Refusal(text), error) << text;
    }
}

TEST(EngineDefinitionRules, AFormIsPostedWithItsTermAndListingsRunInTurn) {
    const EngineDefinition engine =
        Read(Html(R"("url":["{base}/artist","{base}/title"],"method":"POST",
                     "body":"q={term}&raw={raw_term}")",
                  kBlocks));
    ScriptedFetcher fetcher;
    RecordingSink sink;
    fetcher.ServeOthers([](const std::string& url) {
        return "<li><a href=\"/f/" + url.substr(14, 1) + ".mp3\"><b>N</b></li>";
    });
    EXPECT_TRUE(DefinedEngineTask(fetcher, sink, engine, 1, "a b&c"));
    EXPECT_EQ(fetcher.Log(),
              (std::vector<std::string>{"POST http://h.test/artist?q=a%20b%26c&raw=a b&c",
                                        "POST http://h.test/title?q=a%20b%26c&raw=a b&c"}));
    ASSERT_EQ(sink.Results().size(), 2u);
    EXPECT_EQ(sink.Results()[1].link, "http://h.test/f/t.mp3");
}

TEST(EngineDefinitionRules, PagesCountFromTheirFirstByTheirStepWhileTheMarkIsThere) {
    const EngineDefinition engine =
        Read(Html(R"("url":"{base}/s?q={term}&from={first}","fetch":"plain",
                     "paging":{"first":1,"step":10,"max_pages":4,"next_marker":"more"})",
                  R"("require":"<ul>",)" + kBlocks));
    ScriptedFetcher fetcher;
    RecordingSink sink;
    fetcher.Serve("http://h.test/s?q=x&from=1", "<ul><li>href=\"/1\"</li> more");
    fetcher.Serve("http://h.test/s?q=x&from=11", "<li>href=\"/2\"</li> more, but no list");
    EXPECT_TRUE(DefinedEngineTask(fetcher, sink, engine, 1, "x"));
    EXPECT_EQ(fetcher.Log(), (std::vector<std::string>{"GET http://h.test/s?q=x&from=1",
                                                       "GET http://h.test/s?q=x&from=11"}));
    // The second page lacks the required mark: nothing from it, no next page.
    ASSERT_EQ(sink.Results().size(), 1u);
    EXPECT_EQ(sink.Results()[0].name, "1");
}

TEST(EngineDefinitionRules, APageIsFetchedAgainUntilWholeThenTakenAsItIs) {
    const EngineDefinition engine =
        Read(Html(R"("url":"{base}/s?q={term}","complete":{"contains":["<end>"],
                "count":{"after":"Shown","shown":{"open":"to ","close":";"},
                         "total":{"open":"of ","close":";"}},
                "refetch_limit":3,"refetch_delay_ms":0})",
                  kBlocks));
    const std::string block = "<li>href=\"/a.mp3\"</li>";
    ScriptedFetcher fetcher;
    RecordingSink sink;
    int served = 0;
    // Whole only on the third fetch: its count reads 20 of 1,000.
    fetcher.ServeOthers([&](const std::string&) {
        ++served;
        return block + (served < 3 ? "Shown to 20; of 10; <end>" : "Shown to 20; of 1,000; <end>");
    });
    DefinedEngineTask(fetcher, sink, engine, 1, "x");
    EXPECT_EQ(served, 3);
    EXPECT_EQ(fetcher.Pauses(), 2);

    ScriptedFetcher never;
    never.ServeOthers([&](const std::string&) { return block; });
    DefinedEngineTask(never, sink, engine, 1, "x");
    EXPECT_EQ(never.Log().size(), 4u);
    EXPECT_EQ(sink.Results().size(), 2u);
}

const std::string kDetailEngine =
    Html(R"("url":"{base}/s?q={term}")",
         R"("block_start":"<li>","block_end":"</li>","link":{"open":"href=\"","close":"\""},
       "name":{"open":"<b>","close":"</b>"},"name_ending":"extension_wma_as_mp3")",
         R"(,"detail":{"before":"Get it","back":3,"open":"'","close":"'","max_fetches":2})");

TEST(EngineDefinitionRules, DetailPagesGiveTheDownloadLinkAndAreBounded) {
    const EngineDefinition engine = Read(kDetailEngine);
    ScriptedFetcher fetcher;
    RecordingSink sink;
    fetcher.Serve("http://h.test/s?q=x",
                  "<li>href=\"/d/1\"<b>One</b></li><li>href=\"/d/2\"<b>Two</b></li>"
                  "<li>href=\"/d/3\"<b>Three</b></li>");
    fetcher.Serve("http://h.test/d/1", "<a href='/f/one.WMA'>Get it</a>");
    fetcher.Serve("http://h.test/d/2", "<a href='javascript:x.mp3'>Get it</a>");
    EXPECT_TRUE(DefinedEngineTask(fetcher, sink, engine, 1, "x"));
    // Two detail fetches at most; the second link is not a web link.
    EXPECT_EQ(fetcher.Log().size(), 3u);
    ASSERT_EQ(sink.Results().size(), 1u);
    EXPECT_EQ(sink.Results()[0].link, "http://h.test/f/one.WMA");
    EXPECT_EQ(sink.Results()[0].name, "One.mp3");
    EXPECT_EQ(sink.Results()[0].knownSize, -1);
}

TEST(EngineDefinitionRules, QueuedDetailsAreHandedOnAndAStoppedSearchFetchesNone) {
    EngineDefinition engine = Read(kDetailEngine);
    engine.detail->queued = true;
    ScriptedFetcher fetcher;
    RecordingSink sink;
    fetcher.ServeOthers([](const std::string&) { return "<li>href=\"/d/1\"<b>One</b></li>"; });
    std::vector<DetailEntry> handed;
    const DefinedRun run{fetcher, sink, WebEngineId::Defined,
                         [&handed](int, DetailEntry entry) { handed.push_back(entry); }};
    EXPECT_TRUE(RunDefinedEngine(run, engine, 3, "x"));
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].detailLink, "http://h.test/d/1");
    EXPECT_EQ(handed[0].title, "One");
    EXPECT_EQ(fetcher.Log().size(), 1u);

    // A page of an unpaged listing is asked for at once, but nothing after it.
    sink.Stop(4);
    EXPECT_TRUE(RunDefinedEngine(run, engine, 4, "x"));
    EXPECT_EQ(fetcher.Log().size(), 2u);
    EXPECT_EQ(handed.size(), 1u);
}

TEST(EngineDefinitionRules, BlocksMayHoldEachOtherOrGoOnFromTheName) {
    const std::string page = "<li>href=\"/a\"<li>href=\"/b\"</li><li>href=\"/c\"</li>";
    EngineDefinition engine = Read(Html(R"("url":"{base}/s?q={term}")", kBlocks));
    EXPECT_EQ(CutDefinedPage(engine, page).results.size(), 2u);
    engine.nextBlock = NextBlock::AfterBlockStart;
    EXPECT_EQ(CutDefinedPage(engine, page).results.size(), 3u);

    const EngineDefinition rows = Read(Html(
        R"("url":"{base}/s?q={term}")",
        R"("block_start":"song?","next_block":"at_name","link":{"close":"\"","close_optional":true,
           "decode":"amp","prefix":"{base}/","check":false},
           "name":{"after_link":true,"skip":1,"skip_text":"!","close":"<"},"name_ending":"none")"));
    const DefinedPage cut = CutDefinedPage(rows, "song?a=1&amp;b\">!A< song?c\" song?\">x<");
    ASSERT_EQ(cut.results.size(), 3u);
    EXPECT_EQ(cut.results[0].link, "http://h.test/song?a=1&b");
    EXPECT_EQ(cut.results[0].name, "A");
    // The name is looked for right after the link and its skip: the rest of
    // the row up to "<", where the next block is looked for too.
    EXPECT_EQ(cut.results[1].name, "song?\">x");
    EXPECT_EQ(cut.results[2].link, "http://h.test/song?");
}

}  // namespace
}  // namespace korvana
