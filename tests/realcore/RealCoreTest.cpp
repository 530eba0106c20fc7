// The program's core link, transfer list and Sharing page against a real
// MLDonkey core, with loopback fakes of an eDonkey server and a web server
// as the only world the core can reach. What the core did is read from its
// own console.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/CoreProcess.h"
#include "prefs/SharingPrefs.h"
#include "tests/realcore/RealCoreWorld.h"

namespace korvana::realcore {
namespace {

namespace fs = std::filesystem;

constexpr int kStateDownloading = 0;
constexpr int kStatePaused = 1;
constexpr int kStateCancelled = 4;

// The line `shares` prints for a folder.
std::string ShareLine(const fs::path& folder, const std::string& strategy) {
    return "  0 " + folder.string() + " " + strategy + "\n";
}

std::string Link(const FakeHttpServer& web, const std::string& name) {
    return "dllink http://127.0.0.1:" + std::to_string(web.Port()) + "/" + name;
}

using RealCoreTest = RealCoreWorld;

// Log-in names our downloads folder as the core's folder for finished
// files, without the option a real core does not have.
TEST_F(RealCoreTest, LogInMakesOurDownloadsFolderTheCoresIncomingFolder) {
    ConnectLink();
    const std::vector<CoreSharedFolder> listed = *link->SharedFolders();
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front(), (CoreSharedFolder{DownloadsFolder().string(), "incoming_files", 0}));
    const std::string shares = Console("shares");
    EXPECT_NE(shares.find("Shared directories:\n" + ShareLine(DownloadsFolder(), "incoming_files")),
              std::string::npos)
        << shares;
    EXPECT_EQ(core->Log().find("incoming_directory"), std::string::npos);
}

// The core fetches a link itself; the program learns of the file and of
// its end from the core's own announcements, without asking for the list.
TEST_F(RealCoreTest, DownloadFromALinkEndsInOurDownloadsFolder) {
    FakeHttpServer web(200 * 1024);
    const std::string song = SongBytes(90000, 'a');
    web.AddFile("first_song.mp3", song);
    ConnectLink();
    Console(Link(web, "first_song.mp3"));
    const fs::path finished = DownloadsFolder() / "first_song.mp3";
    ASSERT_TRUE(Eventually([&] { return ReadFile(finished) == song; })) << Console("vd");
    std::optional<std::int32_t> number;
    ASSERT_TRUE(Eventually([&] {
        const auto lock = transfers.Lock();
        transfers.ForEachDownload([&](const TransferItem& item) {
            if (item.name == "first_song.mp3" && item.coreState != kStateDownloading) {
                number = item.key.FileNumber();
            }
        });
        return number.has_value();
    }));
    const TransferItem item = *Download(*number);
    EXPECT_EQ(item.size, static_cast<std::int64_t>(song.size()));
    EXPECT_EQ(item.downloaded, item.size);
    EXPECT_NE(item.coreState, kStateCancelled);
    EXPECT_NE(item.coreState, kStatePaused);
    // The link's own name look-up was the only one: the core fetched none of
    // its start-up web files, which queue look-ups that fail here and held
    // up the download.
    const std::string coreLog = core->Log();
    EXPECT_EQ(coreLog.find("[cWeb] request"), std::string::npos) << coreLog;
    EXPECT_EQ(coreLog.find("could not resolve"), std::string::npos) << coreLog;
}

TEST_F(RealCoreTest, SearchResultsArriveThroughTheGuiProtocol) {
    FakeEd2kServer server({{"fake song one.mp3", 3000000}, {"fake song two.mp3", 4000000}});
    ConnectLink();
    Console("set allow_local_network true");
    Console("n 127.0.0.1 " + std::to_string(server.Port()));
    Console("c");
    ASSERT_TRUE(Eventually([&] {
        return Console("vm").find("State:Connected") != std::string::npos;
    })) << Console("vm");
    results.AddSearch(7);
    SearchTerms terms;
    terms.keywords = "fake song";
    link->SendSearchQuery(7, terms);
    ASSERT_TRUE(Eventually([&] { return results.Results().size() >= 2; })) << Console("vs");
    std::set<std::pair<std::string, std::int64_t>> found;
    for (const RecordingResultSink::Handed& result : results.Results()) {
        EXPECT_EQ(result.searchId, 7);
        found.emplace(result.name, result.size);
    }
    EXPECT_EQ(found, (std::set<std::pair<std::string, std::int64_t>>{
                         {"fake song one.mp3", 3000000}, {"fake song two.mp3", 4000000}}));
    EXPECT_GE(server.Searches(), 1);
}

TEST_F(RealCoreTest, PauseResumeAndCancelReachTheCore) {
    FakeHttpServer web(16 * 1024);
    web.AddFile("slow.mp3", SongBytes(600000, 'b'));
    ConnectLink();
    Console(Link(web, "slow.mp3"));
    const std::optional<std::int32_t> number = FileNumberOf("slow.mp3");
    ASSERT_TRUE(number) << Console("vd");

    link->SendSwitchDownload(*number, false);
    EXPECT_TRUE(ReachesState(*number, kStatePaused));
    EXPECT_NE(Console("vd").find("Paused"), std::string::npos) << Console("vd");

    link->SendSwitchDownload(*number, true);
    EXPECT_TRUE(ReachesState(*number, kStateDownloading));
    EXPECT_EQ(Console("vd").find("Paused"), std::string::npos) << Console("vd");

    link->SendCancelDownload(*number);
    // The download list no longer holds the file; the core's own word on it
    // must still reach the transfer list.
    EXPECT_TRUE(ReachesState(*number, kStateCancelled));
    EXPECT_EQ(Console("vd").find("slow.mp3"), std::string::npos) << Console("vd");
    EXPECT_FALSE(fs::exists(DownloadsFolder() / "slow.mp3"));
}

TEST_F(RealCoreTest, SharedFoldersWithSpacesAndQuotesAreSharedAndUnshared) {
    const std::vector<fs::path> folders = {dir.Path() / "with spaces", dir.Path() / "it's mine",
                                           dir.Path() / "say \"hi\""};
    for (const fs::path& folder : folders) {
        fs::create_directories(folder);
    }
    ConnectLink();
    {
        SharingPrefs page = SharingPrefs::Open(settings, prompter, dir.Path(), options.get());
        for (const fs::path& folder : folders) {
            page.Add(folder.string());
        }
        EXPECT_TRUE(page.Save(*options).notSent.empty());
    }
    ASSERT_TRUE(Eventually([&] { return link->SharedFolders()->size() >= 4 + 3; }));
    const std::string shares = Console("shares");
    for (const fs::path& folder : folders) {
        EXPECT_NE(shares.find(ShareLine(folder, "only_directory")), std::string::npos) << shares;
    }
    std::vector<std::string> expected;
    for (const fs::path& folder : folders) {
        expected.push_back(folder.string());
    }
    SharingPrefs reopened = SharingPrefs::Open(settings, prompter, dir.Path(), options.get());
    EXPECT_EQ(reopened.SharedFolders(), expected);

    for (int row = 2; row >= 0; --row) {
        reopened.Remove(row);
    }
    reopened.Save(*options);
    ASSERT_TRUE(Eventually(
        [&] { return Console("shares").find(folders[0].string()) == std::string::npos; }));
    const std::string after = Console("shares");
    for (const fs::path& folder : folders) {
        EXPECT_EQ(after.find(folder.string()), std::string::npos) << after;
    }
    EXPECT_NE(after.find(ShareLine(DownloadsFolder(), "incoming_files")), std::string::npos);
}

// A new downloads folder becomes the core's folder for finished files at
// once, and stays so at the next log-in.
TEST_F(RealCoreTest, FinishedDownloadsGoToANewlyChosenDownloadsFolder) {
    FakeHttpServer web(200 * 1024);
    const std::string song = SongBytes(70000, 'c');
    web.AddFile("moved.mp3", song);
    const fs::path old = DownloadsFolder();
    const fs::path chosen = dir.Path() / "New \"Downloads\"";
    ConnectLink();
    {
        SharingPrefs page = SharingPrefs::Open(settings, prompter, dir.Path(), options.get());
        page.Browse(chosen.string());
        page.Save(*options);
    }
    ASSERT_TRUE(Eventually([&] {
        const auto listed = link->SharedFolders();
        return !listed->empty() && listed->front().folder == chosen.string();
    }));
    EXPECT_NE(Console("shares").find("Shared directories:\n" + ShareLine(chosen, "incoming_files")),
              std::string::npos)
        << Console("shares");
    EXPECT_EQ(Console("shares").find(old.string()), std::string::npos) << Console("shares");

    Console(Link(web, "moved.mp3"));
    ASSERT_TRUE(Eventually([&] { return ReadFile(chosen / "moved.mp3") == song; }))
        << Console("vd");
    EXPECT_FALSE(fs::exists(old / "moved.mp3"));

    ConnectLink();
    EXPECT_EQ(link->SharedFolders()->front(),
              (CoreSharedFolder{chosen.string(), "incoming_files", 0}));
}

TEST_F(RealCoreTest, ShutdownEndsTheCore) {
    ConnectLink();
    link->SendShutdown();
    EXPECT_TRUE(Eventually([&] { return link->ShutdownSent(); }));
    EXPECT_TRUE(core->WaitForExit(30s).has_value());
}

// A program that starts while its core runs finds that core, starts no
// other, logs in to it and shows the downloads it already has.
TEST_F(RealCoreTest, AStartingProgramUsesTheCoreAlreadyRunning) {
    FakeHttpServer web(8 * 1024);
    web.AddFile("kept.mp3", SongBytes(400000, 'd'));
    ConnectLink();
    Console(Link(web, "kept.mp3"));
    ASSERT_TRUE(FileNumberOf("kept.mp3"));
    link.reset();  // the program ends without stopping its core

    const PosixCoreProcess running(fs::path(std::getenv("KORVANA_REAL_MLNET")).parent_path());
    EXPECT_TRUE(running.IsCoreRunning());
    TransferList restarted(clock, log);
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.downloadsFolder = [this] { return DownloadsFolder().string(); };
    CoreLink again(config, log, prompter, clock);
    again.SetTransferSink(&restarted);
    again.StartReceiveThread();
    EXPECT_TRUE(Eventually([&] {
        const auto lock = restarted.Lock();
        bool seen = false;
        restarted.ForEachDownload(
            [&](const TransferItem& item) { seen = seen || item.name == "kept.mp3"; });
        return again.IsLoggedIn() && seen;
    }));
    EXPECT_TRUE(core->IsRunning());
}

}  // namespace
}  // namespace korvana::realcore
