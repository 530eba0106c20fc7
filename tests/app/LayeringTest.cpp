#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The logic layer must build and run without Qt: no Qt header may appear in
// a logic folder outside its ui/ sub-folder.
TEST(Layering, LogicFoldersIncludeNoQtHeader) {
    const fs::path root = KORVANA_SOURCE_DIR;
    const std::regex qtInclude(R"(^\s*#\s*include\s*[<"]Q[A-Za-z]+)");
    std::vector<std::string> offenders;
    std::size_t scanned = 0;
    for (const char* folder :
         {"core", "web", "search", "transfers", "library", "prefs", "services", "app"}) {
        if (!fs::exists(root / folder)) {
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const fs::path relative = fs::relative(entry.path(), root);
            const std::string text = relative.generic_string();
            const bool source =
                entry.path().extension() == ".h" || entry.path().extension() == ".cpp";
            if (!source || text.find("/ui/") != std::string::npos || text == "app/main.cpp") {
                continue;
            }
            ++scanned;
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                if (std::regex_search(line, qtInclude)) {
                    offenders.push_back(text + ": " + line);
                }
            }
        }
    }
    EXPECT_GT(scanned, 0u);
    EXPECT_TRUE(offenders.empty()) << ::testing::PrintToString(offenders);
}

}  // namespace
