#include <gtest/gtest.h>

#include <fstream>

#include "desktop/InstalledLayout.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

// A prefix laid out as the install rules lay it out: the program in bin/,
// the default core in lib/korvana/mldonkey/.
struct Prefix {
    test::TempDir dir;
    fs::path bin = dir.Path() / "bin";
    fs::path installedCore = dir.Path() / "lib" / "korvana" / "mldonkey" / "mlnet";
    fs::path coreFolder = dir.Path() / "home" / "mldonkey";

    Prefix() {
        fs::create_directories(bin);
        fs::create_directories(coreFolder);
    }
    static void Touch(const fs::path& file) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "core";
    }
};

TEST(InstalledLayout, AProgramIsInstalledOnlyWhenItsDefaultCoreIsInPlace) {
    Prefix prefix;
    EXPECT_FALSE(IsInstalledProgram(prefix.bin));
    // A folder of that name is not a core.
    fs::create_directories(prefix.installedCore);
    EXPECT_FALSE(IsInstalledProgram(prefix.bin));
    fs::remove(prefix.installedCore);
    Prefix::Touch(prefix.installedCore);
    EXPECT_TRUE(IsInstalledProgram(prefix.bin));
    EXPECT_EQ(InstalledCoreProgram(prefix.bin), prefix.installedCore);
    EXPECT_FALSE(IsInstalledProgram({}));
}

TEST(InstalledLayout, TheUsersOwnCoreComesBeforeTheInstalledOne) {
    Prefix prefix;
    const fs::path own = prefix.coreFolder / "mlnet";
    // Neither: the core folder's own path, reported missing at start-up.
    EXPECT_EQ(ChooseCoreProgram(prefix.coreFolder, prefix.bin), own);
    Prefix::Touch(prefix.installedCore);
    EXPECT_EQ(ChooseCoreProgram(prefix.coreFolder, prefix.bin), prefix.installedCore);
    Prefix::Touch(own);
    EXPECT_EQ(ChooseCoreProgram(prefix.coreFolder, prefix.bin), own);
}

}  // namespace
}  // namespace korvana
