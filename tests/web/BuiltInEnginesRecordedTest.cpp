#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/web/RecordedEnginePages.h"

// The built-in engines against what they made of saved and recorded pages
// (the simulated web's pages and hand-made edge cases) before they became
// definitions: every link, name, completeness, next-page answer, address,
// fetch and result byte for byte.
namespace korvana {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(KORVANA_SOURCE_DIR) / "tests" / "web" / "data";

std::string Expected(const std::string& name) {
    return test::WebTestPage("recorded/expected/" + name);
}

TEST(BuiltInEnginesRecorded, EveryPageIsCutAsRecorded) {
    int compared = 0;
    for (const fs::path& folder : {kData, kData / "recorded"}) {
        for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
            if (file.path().extension() != ".html") {
                continue;
            }
            const std::string name = file.path().filename().string();
            const std::string expected = Expected(name + ".txt");
            ASSERT_FALSE(expected.empty()) << "no recording for " << name;
            const std::string relative = folder == kData ? name : "recorded/" + name;
            EXPECT_EQ(test::DescribeBuiltInScrapes(test::WebTestPage(relative)), expected) << name;
            ++compared;
        }
    }
    EXPECT_GE(compared, 40);
}

TEST(BuiltInEnginesRecorded, AddressesAreBuiltAsRecorded) {
    std::string urls;
    for (const char* term : {"song", "blue hour", "a&b=c#d", "{page}{term}", "caf\xc3\xa9", ""}) {
        urls += test::DescribeBuiltInUrls("http://127.0.0.1:4100", term);
        urls += test::DescribeBuiltInUrls("https://host.example:8443/", term);
    }
    EXPECT_EQ(urls, Expected("urls.txt"));
}

// Whole searches over the recorded site: which pages are fetched in which
// order and through which path, and what each engine hands on.
TEST(BuiltInEnginesRecorded, SearchesFetchAndFindAsRecorded) {
    for (const std::string term : {"a", "b"}) {
        test::ScriptedFetcher fetcher;
        test::ServeRecordedSite(fetcher);
        EXPECT_EQ(test::DescribeBuiltInTasks(fetcher, test::kRecordedBase, term),
                  Expected("tasks_" + term + ".txt"))
            << term;
    }
}

}  // namespace
}  // namespace korvana
