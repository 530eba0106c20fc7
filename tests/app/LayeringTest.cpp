#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Whether a line includes a Qt header: `#include <QWidget>` or `# include
// "QtCore/QString"`, with any spacing around the `#`.
bool IncludesQtHeader(std::string_view line) {
    std::string compact;
    std::copy_if(line.begin(), line.end(), std::back_inserter(compact),
                 [](char c) { return c != ' ' && c != '\t'; });
    for (std::string_view opening : {"#include<Q", "#include\"Q"}) {
        if (compact.starts_with(opening) && compact.size() > opening.size() &&
            std::isalpha(static_cast<unsigned char>(compact[opening.size()]))) {
            return true;
        }
    }
    return false;
}

TEST(Layering, QtIncludesAreRecognisedWhateverTheSpacing) {
    EXPECT_TRUE(IncludesQtHeader("#include <QWidget>"));
    EXPECT_TRUE(IncludesQtHeader("  #  include \"QtCore/QString\""));
    EXPECT_FALSE(IncludesQtHeader("#include <string>"));
    EXPECT_FALSE(IncludesQtHeader("// #include <QWidget>"));
    EXPECT_FALSE(IncludesQtHeader("#include <Q>"));
}

// The logic layer must build and run without Qt: no Qt header may appear in
// a logic folder outside its ui/ sub-folder.
TEST(Layering, LogicFoldersIncludeNoQtHeader) {
    const fs::path root = KORVANA_SOURCE_DIR;
    std::vector<std::string> offenders;
    std::size_t scanned = 0;
    for (const char* folder : {"util", "core", "web", "search", "transfers", "library", "prefs",
                               "services", "app", "desktop"}) {
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
                if (IncludesQtHeader(line)) {
                    offenders.push_back(text + ": " + line);
                }
            }
        }
    }
    EXPECT_GT(scanned, 0u);
    EXPECT_TRUE(offenders.empty()) << ::testing::PrintToString(offenders);
}

}  // namespace
