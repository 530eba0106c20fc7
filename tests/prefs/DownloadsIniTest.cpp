#include "prefs/DownloadsIni.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace korvana {
namespace {

using Folders = std::vector<std::string>;

const std::string kMarker = "  {     dirname = ";

TEST(DownloadsIni, OlderCoreFormat) {
    const std::string ini = " shared_directories = [\n" + kMarker +
                            R"("C:\\Program Files\\Korvana\\Downloads")" + "\n" + kMarker +
                            "shared\n" + kMarker + R"("D:\\Music\\")" + "\n};]\n";
    EXPECT_EQ(ReadSharedFolders(ini),
              (Folders{R"(C:\Program Files\Korvana\Downloads)", R"(D:\Music\)"}));
}

TEST(DownloadsIni, RealCoreFormat) {
    const std::string ini = R"( shared_directories = [
  {     dirname = "/home/user/Music"
     strategy = only_directory
     priority = 0
};
  {     dirname = shared
     strategy = all_files
     priority = 0
};
  {     dirname = "incoming/files"
     strategy = incoming_files
     priority = 0
};
  {     dirname = "incoming/directories"
     strategy = incoming_directories
     priority = 0
};
  {     dirname = Podcasts
     strategy = only_directory
     priority = 0
};
  {     dirname = "/home/user/M\195\188sik \"live\""
     strategy = all_files
     priority = 0
};]
)";
    EXPECT_EQ(ReadSharedFolders(ini),
              (Folders{"/home/user/Music", "Podcasts", "/home/user/M\xC3\xBCsik \"live\""}));
}

TEST(DownloadsIni, AStrategyBelongsOnlyToItsOwnEntry) {
    const std::string ini = kMarker + "\"/a\"\n};\n" + "     strategy = incoming_files\n" +
                            kMarker + "\"/b\"\n     strategy = only_directory\n};\n";
    EXPECT_EQ(ReadSharedFolders(ini), (Folders{"/a", "/b"}));
}

TEST(DownloadsIni, OnlyTheExactMarkerStartsAFolderLine) {
    const std::string ini =
        " {     dirname = \"/one-space-fewer\"\n"
        "  {    dirname = \"/four-spaces\"\n"
        "  {     DirName = \"/capitals\"\n"
        "\t{     dirname = \"/tab\"\n"
        "x  {     dirname = \"/prefixed\"\n" +
        kMarker + "\"/real\"\n";
    EXPECT_EQ(ReadSharedFolders(ini), (Folders{"/real"}));
}

TEST(DownloadsIni, UnfinishedAndEmptyValues) {
    const std::string ini = kMarker + "\"/no/closing quote \r\n" +  // runs to the line's end
                            kMarker + "\"\"\n" +                    // empty: no folder
                            kMarker + "\n" +                        // nothing at all
                            kMarker + "\"/nul\\000byte\"\n" +       // a zero byte: no folder
                            kMarker + "\"C:\\Dir\\\n" +             // lone backslash at the end
                            kMarker + "\"/last/without/newline";
    EXPECT_EQ(ReadSharedFolders(ini),
              (Folders{"/no/closing quote ", "C:\\Dir\\", "/last/without/newline"}));
}

TEST(DownloadsIni, OverlongLinesAreSkippedWholeAndReadingGoesOn) {
    const std::string longest = "/" + std::string(kMaxIniLineChars - kMarker.size() - 3, 'a');
    const std::string fits = kMarker + "\"" + longest + "\"";
    ASSERT_EQ(fits.size(), kMaxIniLineChars);
    // The embedded marker starts exactly where a reader that cut lines into
    // pieces of the limit would start a new piece.
    const std::string tooLong = kMarker + "\"/" +
                                std::string(3 * kMaxIniLineChars - kMarker.size() - 2, 'b') +
                                kMarker + "\"/c\"";
    const std::string ini = tooLong + "\n" + fits + "\n" + std::string(2000, 'x') + "\n" + kMarker +
                            "\"/after\"\n" + kMarker + "\"/" + std::string(600, 'd');
    EXPECT_EQ(ReadSharedFolders(ini), (Folders{longest, "/after"}));
}

TEST(DownloadsIni, GarbageGivesNothing) {
    EXPECT_TRUE(ReadSharedFolders("").empty());
    EXPECT_TRUE(ReadSharedFolders(std::string("\0\0\n\n\r\n};]{", 10)).empty());
    EXPECT_TRUE(ReadSharedFolders(kMarker.substr(0, 10)).empty());
}

TEST(DownloadsIniFile, MissingUnreadableAndCutFiles) {
    test::TempDir dir;
    EXPECT_TRUE(ReadSharedFoldersFile(dir.Path() / "none.ini").empty());
    EXPECT_TRUE(ReadSharedFoldersFile(dir.Path()).empty());  // a folder, not a file

    const std::filesystem::path ini = DownloadsIniPath(dir.Path());
    EXPECT_EQ(ini, dir.Path() / "mldonkey" / "downloads.ini");
    std::filesystem::create_directories(ini.parent_path());
    {
        std::ofstream out(ini, std::ios::binary);
        out << kMarker << "\"/first\"\n";
        // Filler lines up to the size cap, with a folder line cut by it.
        const std::string filler(99, '#');
        for (std::size_t size = 0; size + 100 < kMaxDownloadsIniBytes - 100; size += 100) {
            out << filler << "\n";
        }
        out << kMarker << "\"/" << std::string(300, 'z') << "\"\n";
    }
    ASSERT_GT(std::filesystem::file_size(ini), kMaxDownloadsIniBytes);
    EXPECT_EQ(ReadSharedFoldersFile(ini), (Folders{"/first"}));
}

TEST(DownloadsIniFile, ReadsAWholeFile) {
    test::TempDir dir;
    const std::filesystem::path ini = dir.Path() / "downloads.ini";
    std::ofstream(ini, std::ios::binary) << kMarker << "\"/x y\"\n" << kMarker << "\"/z\"";
    EXPECT_EQ(ReadSharedFoldersFile(ini), (Folders{"/x y", "/z"}));
}

}  // namespace
}  // namespace korvana
