#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TempDir.h"
#include "tools/sim/ConsoleCommands.h"
#include "tools/sim/DownloadTable.h"
#include "tools/sim/DownloadsIni.h"
#include "tools/sim/SimConfig.h"

namespace korvana::sim {
namespace {

namespace fs = std::filesystem;

TEST(SimDownloadsIni, SharedFoldersInTheRealCoreLayout) {
    CoreSettings settings;
    settings.options = {{"max_hard_upload_rate", "7"},
                        {"GNUT-client_port", "6346"},
                        {"incoming_directory", "/home/user/My \"Music\""}};
    settings.shared = std::vector<SharedDirectory>{{"/home/user/Music", "only_directory", 0},
                                                   {"shared", "all_files", 0},
                                                   {"incoming/files", "incoming_files", 0}};
    const std::string text = FormatDownloadsIni(settings);
    EXPECT_NE(text.find(" max_hard_upload_rate = 7\n"), std::string::npos);
    EXPECT_NE(text.find(" incoming_directory = \"/home/user/My \\\"Music\\\"\"\n"),
              std::string::npos);
    EXPECT_NE(text.find(" shared_directories = [\n"
                        "  {     dirname = \"/home/user/Music\"\n"
                        "     strategy = only_directory\n"
                        "     priority = 0\n"
                        "};\n"
                        "  {     dirname = shared\n"
                        "     strategy = all_files\n"
                        "     priority = 0\n"
                        "};\n"
                        "  {     dirname = \"incoming/files\"\n"
                        "     strategy = incoming_files\n"
                        "     priority = 0\n"
                        "};]\n"),
              std::string::npos);

    const CoreSettings read = ParseDownloadsIni(text);
    EXPECT_EQ(read.options, settings.options);
    EXPECT_EQ(read.shared, settings.shared);
}

TEST(SimDownloadsIni, EmptyListAndJunk) {
    const CoreSettings empty =
        ParseDownloadsIni(FormatDownloadsIni({{{"port", "1"}}, std::vector<SharedDirectory>{}}));
    ASSERT_TRUE(empty.shared);
    EXPECT_TRUE(empty.shared->empty());
    EXPECT_EQ(empty.options.size(), 1u);

    const CoreSettings junk = ParseDownloadsIni("garbage\n  {     dirname = x\n" +
                                                std::string(kMaxIniLine + 1, 'a') + "\n = \n");
    EXPECT_TRUE(junk.options.empty());
    EXPECT_FALSE(junk.shared);
}

TEST(SimConsole, ShareUnshareReshareSave) {
    test::TempDir dir;
    fs::create_directories(dir.Path() / "My Music");
    SharedFolders folders(dir.Path());
    const std::string music = (dir.Path() / "My Music").string();

    // The documented core takes an unquoted path with blanks whole.
    EXPECT_EQ(RunConsoleCommand("share " + music, folders, WireForm::kDocumented).output,
              "directory added");
    EXPECT_EQ(folders.Directories().front().dirname, music);
    EXPECT_EQ(RunConsoleCommand("share \"" + music + "\"", folders, WireForm::kDocumented).output,
              "directory already shared");
    EXPECT_EQ(RunConsoleCommand("share 3 \"" + music + "\"", folders, WireForm::kRealCore).output,
              "prio of " + music + " changed from 0 to 3");
    EXPECT_EQ(RunConsoleCommand("share /no/such/dir", folders, WireForm::kDocumented).output,
              "no such directory");
    // The real core counts words.
    EXPECT_EQ(RunConsoleCommand("share a b c d", folders, WireForm::kRealCore).output,
              "Failure: Bad number of arguments");
    EXPECT_EQ(RunConsoleCommand("unshare " + music, folders, WireForm::kDocumented).output,
              "directory removed");
    EXPECT_EQ(RunConsoleCommand("unshare " + music, folders, WireForm::kDocumented).output,
              "directory already unshared");
    EXPECT_EQ(RunConsoleCommand("reshare", folders, WireForm::kDocumented).output,
              "Reshare check done");
    const ConsoleOutcome save = RunConsoleCommand("save", folders, WireForm::kDocumented);
    EXPECT_TRUE(save.save);
    EXPECT_EQ(save.output, "options and sources saved");
    EXPECT_EQ(RunConsoleCommand("vd", folders, WireForm::kDocumented).output, "Unknown command vd");
}

TEST(SimConsole, IncomingStrategyAndSplitting) {
    test::TempDir dir;
    SharedFolders folders(dir.Path());
    EXPECT_EQ(folders.IncomingFolder(), dir.Path() / "incoming/files");
    EXPECT_EQ(RunConsoleCommand("share 0 \"" + dir.Path().string() + "\" incoming_files", folders,
                                WireForm::kRealCore)
                  .output,
              "directory added");
    EXPECT_EQ(folders.IncomingFolder(), dir.Path());
    EXPECT_EQ(SplitCommandLine(R"(share 0 "a \"b\" c" x)"),
              (std::vector<std::string>{"share", "0", "a \"b\" c", "x"}));
}

TEST(SimDownloads, StatesFollowCommands) {
    DownloadTable table;
    Download* added = table.Add(4, {}, "a.mp3", 3, 1000, {});
    ASSERT_NE(added, nullptr);
    const std::int32_t number = added->number;
    EXPECT_GE(number, 1);
    EXPECT_EQ(table.Find(number)->state, FileState::kNew);
    EXPECT_TRUE(table.Advance(0.1, 1000).empty());
    EXPECT_EQ(table.Find(number)->state, FileState::kDownloading);
    EXPECT_TRUE(table.Switch(number, false));
    EXPECT_FALSE(table.Switch(number, false));
    EXPECT_TRUE(table.Advance(5, 1000).empty());  // paused: no progress
    EXPECT_EQ(table.Find(number)->downloaded, 100u);
    EXPECT_TRUE(table.Switch(number, true));
    EXPECT_EQ(table.Advance(2, 1000), (std::vector<std::int32_t>{number}));
    EXPECT_EQ(table.Find(number)->downloaded, 1000u);
    EXPECT_EQ(table.FindSong(4), table.Find(number));

    Download* other = table.Add(5, {}, "b.mp3", 3, 1000, {});
    EXPECT_TRUE(table.Cancel(other->number));
    EXPECT_EQ(table.Find(other->number)->state, FileState::kCancelled);
    EXPECT_FALSE(table.Cancel(other->number));
    EXPECT_EQ(table.FindSong(5), nullptr);
}

TEST(SimDownloads, FilesStayInTheirFolderAndNeverOverwrite) {
    EXPECT_EQ(SafeFileName("../../etc/passwd"), "_.._etc_passwd");
    EXPECT_EQ(SafeFileName(".."), "download");
    EXPECT_EQ(SafeFileName("a\nb/c.mp3"), "a_b_c.mp3");
    test::TempDir dir;
    std::string error;
    const auto first = WriteNewFile(dir.Path(), "../Song.mp3", "one", error);
    const auto second = WriteNewFile(dir.Path(), "../Song.mp3", "two", error);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->parent_path(), dir.Path());
    EXPECT_EQ(second->filename(), "_Song.mp3_1");
    std::ifstream in(*first);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "one");
    EXPECT_FALSE(WriteNewFile(dir.Path() / "missing", "x", "y", error));
    EXPECT_FALSE(error.empty());
}

TEST(SimCommandLine, DefaultsOptionsAndRefusals) {
    const ParsedCommandLine defaults = ParseCommandLine({});
    ASSERT_TRUE(defaults.config);
    EXPECT_EQ(defaults.config->port, 4001);
    EXPECT_EQ(defaults.config->host, "127.0.0.1");
    EXPECT_EQ(defaults.config->form, WireForm::kDocumented);

    const ParsedCommandLine all = ParseCommandLine({"--port",
                                                    "0",
                                                    "--host",
                                                    "127.0.0.2",
                                                    "--ready-file",
                                                    "r",
                                                    "--trace=t",
                                                    "--dir",
                                                    "d",
                                                    "--close-after",
                                                    "3",
                                                    "--flood",
                                                    "100",
                                                    "--real-core-forms",
                                                    "--no-hello",
                                                    "--garbage",
                                                    "--hello-delay-ms",
                                                    "250",
                                                    "--download-rate",
                                                    "0"});
    ASSERT_TRUE(all.config) << all.error;
    EXPECT_EQ(all.config->port, 0);
    EXPECT_EQ(all.config->traceFile, "t");
    EXPECT_EQ(all.config->faults.closeAfterFrames, 3);
    EXPECT_EQ(all.config->faults.flood, 100);
    EXPECT_EQ(all.config->faults.helloDelayMs, 250);
    EXPECT_TRUE(all.config->faults.noHello && all.config->faults.garbage);
    EXPECT_EQ(all.config->form, WireForm::kRealCore);
    EXPECT_EQ(all.config->downloadRate, 0);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--host", "0.0.0.0"},
                                                {"--host", "192.168.1.2"},
                                                {"--port", "65536"},
                                                {"--port"},
                                                {"--flood", "x"},
                                                {"--bogus"}}) {
        const ParsedCommandLine parsed = ParseCommandLine(bad);
        EXPECT_FALSE(parsed.config) << bad[0];
        EXPECT_FALSE(parsed.error.empty());
    }
    EXPECT_TRUE(IsLoopbackHost("::1"));
    EXPECT_TRUE(IsLoopbackHost("localhost"));
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
}

// The program starts every core with a real core's loopback bind options;
// the simulated core must take them, listen where the GUI address says and
// still serve its demo web engines, which only its own options turn off.
TEST(SimCommandLine, TakesARealCoresLoopbackBindOptions) {
    const ParsedCommandLine bound =
        ParseCommandLine({"-gui_bind_addr", "127.0.0.3", "-telnet_bind_addr", "127.0.0.1",
                          "-http_bind_addr", "127.0.0.1"});
    ASSERT_TRUE(bound.config) << bound.error;
    EXPECT_EQ(bound.config->host, "127.0.0.3");
    EXPECT_FALSE(bound.config->ownOptionsGiven);
    EXPECT_TRUE(ParseCommandLine({"--port", "0"}).config->ownOptionsGiven);

    for (const std::string option : {"-gui_bind_addr", "-telnet_bind_addr", "-http_bind_addr"}) {
        EXPECT_FALSE(ParseCommandLine({option, "0.0.0.0"}).config) << option;
        EXPECT_FALSE(ParseCommandLine({option}).config) << option;
    }
}

}  // namespace
}  // namespace korvana::sim
