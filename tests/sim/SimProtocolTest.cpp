// korvana-sim as a process, driven through a raw socket like a front end.
#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"

namespace korvana::sim::test {
namespace {

namespace fs = std::filesystem;
using korvana::test::TempDir;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Three listed songs the generated catalogue never matches, each a few
// seconds long so downloads end quickly.
fs::path WriteCatalogue(const fs::path& folder) {
    const fs::path path = folder / "catalogue.txt";
    std::ofstream(path) << "Testband Zyx\tFirst Quuxsong\tDebut\t128\t3\t4\n"
                           "Testband Zyx\tSecond Quuxsong\tDebut\t192\t4\t2\n"
                           "Other Zyx\tThird Song\tLater\t128\t3\t1\n";
    return path;
}

std::map<std::string, std::string> OptionPairs(const Frame& frame) {
    std::map<std::string, std::string> pairs;
    GuiMessage m = frame.Reader();
    for (std::uint16_t n = m.Get16(); n > 0; --n) {
        const std::optional<std::string> name = m.GetString();
        const std::optional<std::string> value = m.GetString();
        if (name && value) {
            pairs[*name] = *value;
        }
    }
    return pairs;
}

struct Answer {
    std::map<std::int32_t, std::string> described;  // result id -> name
    std::set<std::int32_t> bound;
};

// Reads results until `count` of them are bound to `search`.
Answer CollectResults(RawClient& client, std::int32_t search, std::size_t count) {
    Answer answer;
    client.WaitFor([&](const Frame& frame) {
        GuiMessage m = frame.Reader();
        if (frame.opcode == 4) {
            const auto id = static_cast<std::int32_t>(m.Get32());
            m.Get32();
            m.Get16();
            answer.described[id] = m.GetString().value_or("");
        } else if (frame.opcode == 5 && static_cast<std::int32_t>(m.Get32()) == search) {
            answer.bound.insert(static_cast<std::int32_t>(m.Get32()));
        }
        return answer.bound.size() >= count;
    });
    return answer;
}

std::optional<ListedDownload> AskForDownload(RawClient& client, std::int32_t number) {
    client.Send(GuiMessage(45));
    std::optional<ListedDownload> found;
    client.WaitFor([&](const Frame& frame) {
        if (frame.opcode != 53) {
            return false;
        }
        for (const ListedDownload& download : ReadDownloadList(frame)) {
            if (download.number == number) {
                found = download;
            }
        }
        return true;
    });
    return found;
}

TEST(SimSession, HelloInBothForms) {
    TempDir dir;
    SimProcess documented(dir.Path(), {});
    ASSERT_NE(documented.Port(), 0);
    RawClient first(documented.Port());
    const std::optional<Frame> hello = first.Next();
    ASSERT_TRUE(hello);
    EXPECT_EQ(hello->opcode, 0);
    EXPECT_TRUE(hello->payload.empty());

    TempDir other;
    SimProcess real(other.Path(), {"--real-core-forms"});
    RawClient second(real.Port());
    const std::optional<Frame> realHello = second.Next();
    ASSERT_TRUE(realHello);
    EXPECT_EQ(realHello->payload,
              (std::vector<std::uint8_t>{41, 0, 0, 0, 59, 0, 0, 0, 68, 0, 0, 0}));
}

TEST(SimSession, LogInBringsNetworksOptionsAndStatistics) {
    TempDir dir;
    SimProcess sim(dir.Path(), {});
    RawClient client(sim.Port());
    client.LogIn();
    std::vector<std::string> networks;
    std::map<std::string, std::string> options;
    const std::optional<Frame> stats = client.WaitFor([&](const Frame& frame) {
        if (frame.opcode == 20) {
            GuiMessage m = frame.Reader();
            m.Get32();
            networks.push_back(m.GetString().value_or(""));
        } else if (frame.opcode == 1) {
            options.merge(OptionPairs(frame));
        }
        return frame.opcode == 49;
    });
    ASSERT_TRUE(stats);
    EXPECT_EQ(networks,
              (std::vector<std::string>{"Gnutella", "Gnutella2", "Donkey", "Fasttrack", "Overnet",
                                        "DirectConnect", "Soulseek", "OpenNap"}));
    for (const char* name :
         {"max_hard_upload_rate", "max_hard_download_rate", "max_upload_slots",
          "max_concurrent_downloads", "enable_gnutella", "enable_opennap", "GNUT-client_port",
          "port", "OpenNap-client_port", "incoming_directory"}) {
        EXPECT_TRUE(options.contains(name)) << name;
    }
    EXPECT_EQ(options.size(), 21u);
    GuiMessage m = stats->Reader();
    for (int i = 0; i < 3; ++i) {
        m.Get64();
    }
    for (int i = 0; i < 7; ++i) {
        m.Get32();
    }
    ASSERT_EQ(m.Get16(), 8u);
    m.Get32();
    EXPECT_GT(m.Get32(), 0u);  // Gnutella is on by default and has servers
    // Statistics keep coming without being asked for.
    EXPECT_TRUE(client.WaitForOpcode(49));
}

TEST(SimSession, TraceRecordsEveryFrameAndBadPasswordsAreRefused) {
    TempDir dir;
    SimProcess sim(dir.Path(), {});
    {
        RawClient client(sim.Port());
        client.LogIn("admin", "secret");
        const std::optional<Frame> refusal = client.WaitForOpcode(47);
        ASSERT_TRUE(refusal);
        EXPECT_TRUE(refusal->payload.empty());
        EXPECT_TRUE(client.ReadUntilClosed());
    }
    RawClient client(sim.Port());
    client.LogIn();
    client.Send(GuiMessage(45));
    ASSERT_TRUE(client.WaitForOpcode(53));
    EXPECT_EQ(ReadText(sim.TracePath()),
              "0 1e000000\n47 01000000000000\n52 0600736563726574050061646d696e\n"
              "0 1e000000\n47 01000000000000\n52 0000050061646d696e\n45 \n");
}

TEST(SimSession, SearchesAreAnsweredFromTheCatalogueAndCanBeClosed) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--catalogue", WriteCatalogue(dir.Path()).string()});
    RawClient client(sim.Port());
    client.LogIn();
    // Closed in the same breath as it was started: never answered.
    client.SendAll(
        {SearchMessage(0, "quuxsong"), NumberMessage(27, 0), SearchMessage(1, "QUUXSONG zyx")});
    const Answer answer = CollectResults(client, 1, 2);
    EXPECT_EQ(answer.bound, (std::set<std::int32_t>{1, 2}));
    EXPECT_EQ(answer.described.at(1), "Testband Zyx - First Quuxsong.mp3");
    EXPECT_EQ(answer.described.at(2), "Testband Zyx - Second Quuxsong.mp3");

    // A later search binds known results again without describing them anew.
    client.Send(SearchMessage(2, "zyx"));
    const Answer again = CollectResults(client, 2, 3);
    EXPECT_EQ(again.bound, (std::set<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(again.described.size(), 1u);
    const std::string trace = ReadText(sim.TracePath());
    EXPECT_NE(trace.find("\n27 00000000\n"), std::string::npos);
}

TEST(SimSession, DownloadRunsPausesResumesAndLandsInTheIncomingFolder) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--catalogue", WriteCatalogue(dir.Path()).string(),
                                "--download-rate", "25000"});
    RawClient client(sim.Port());
    client.LogIn();
    const fs::path incoming = dir.Path() / "downloads";
    client.Send(StringsMessage(28, {"incoming_directory", incoming.string()}));
    client.Send(SearchMessage(0, "first quuxsong"));
    ASSERT_EQ(CollectResults(client, 0, 1).bound.size(), 1u);

    client.SendAll({DownloadMessage("Testband Zyx - First Quuxsong.mp3", 1), GuiMessage(45)});
    const std::optional<Frame> list = client.WaitForOpcode(53);
    ASSERT_TRUE(list);
    const std::vector<ListedDownload> downloads = ReadDownloadList(*list);
    ASSERT_EQ(downloads.size(), 1u);
    const ListedDownload fresh = downloads[0];
    EXPECT_EQ(fresh.state, 5);  // new
    EXPECT_EQ(fresh.name, "Testband Zyx - First Quuxsong.mp3");
    EXPECT_GE(fresh.number, 1);

    std::optional<ListedDownload> running;
    while ((running = AskForDownload(client, fresh.number)) && running->state == 5) {
    }
    ASSERT_TRUE(running);
    EXPECT_EQ(running->state, 0);
    client.Send(SwitchMessage(fresh.number, false));
    const std::optional<ListedDownload> paused = AskForDownload(client, fresh.number);
    EXPECT_EQ(paused->state, 1);
    EXPECT_LT(paused->downloaded, paused->size);
    client.Send(SwitchMessage(fresh.number, true));
    EXPECT_EQ(AskForDownload(client, fresh.number)->state, 0);
    EXPECT_TRUE(client.WaitForOpcode(46));  // progress between asks

    std::optional<ListedDownload> done;
    while ((done = AskForDownload(client, fresh.number)) && done->state == 0) {
        client.WaitForOpcode(46, 500ms);
    }
    ASSERT_TRUE(done);
    EXPECT_EQ(done->state, 2);
    EXPECT_EQ(done->downloaded, done->size);
    const fs::path file = incoming / "Testband Zyx - First Quuxsong.mp3";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), done->size);
    EXPECT_FALSE(AskForDownload(client, fresh.number)) << "an ended download leaves the list";
}

TEST(SimSession, CancelAndOptionsComeBack) {
    TempDir dir;
    SimProcess sim(dir.Path(),
                   {"--catalogue", WriteCatalogue(dir.Path()).string(), "--download-rate", "0"});
    RawClient client(sim.Port());
    client.LogIn();
    client.Send(StringsMessage(28, {"max_hard_upload_rate", "42"}));
    const std::optional<Frame> options = client.WaitFor([](const Frame& f) {
        return f.opcode == 1 && OptionPairs(f).contains("max_hard_upload_rate") &&
               OptionPairs(f).at("max_hard_upload_rate") == "42";
    });
    EXPECT_TRUE(options);

    client.Send(SearchMessage(0, "third"));
    ASSERT_EQ(CollectResults(client, 0, 1).bound, (std::set<std::int32_t>{3}));
    client.Send(DownloadMessage("", 3));
    const std::int32_t number = 1;
    EXPECT_EQ(AskForDownload(client, number)->name, "Other Zyx - Third Song.mp3");
    client.Send(NumberMessage(11, number));
    EXPECT_EQ(AskForDownload(client, number)->state, 4);
    EXPECT_FALSE(AskForDownload(client, number));
}

TEST(SimSession, ConsoleSharingAndSaving) {
    TempDir dir;
    SimProcess sim(dir.Path(), {});
    const fs::path music = dir.Path() / "Music";
    fs::create_directories(music);
    std::ofstream(music / "track.mp3") << "not really music";
    RawClient client(sim.Port());
    client.LogIn();
    client.Send(StringsMessage(29, {"share " + music.string()}));
    const std::optional<Frame> shared = client.WaitForOpcode(48);
    ASSERT_TRUE(shared);
    GuiMessage file = shared->Reader();
    file.Get32();
    file.Get32();
    EXPECT_EQ(file.GetString(), "track.mp3");
    EXPECT_EQ(file.Get32(), 16u);
    const std::optional<Frame> answer = client.WaitForOpcode(19);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->Reader().GetString(),
              "\n----------------------------------\nEval command: share " + music.string() +
                  "\n\ndirectory added\n\n");
    client.Send(GuiMessage(49));
    EXPECT_TRUE(client.WaitForOpcode(34));

    client.Send(StringsMessage(29, {"save"}));
    ASSERT_TRUE(client.WaitForOpcode(19));
    const std::string ini = ReadText(sim.CoreFolder() / "downloads.ini");
    EXPECT_NE(ini.find(" shared_directories = [\n  {     dirname = \"" + music.string() +
                       "\"\n     strategy = only_directory\n     priority = 0\n};\n"),
              std::string::npos);
    client.Send(StringsMessage(29, {"unshare " + music.string()}));
    client.Send(StringsMessage(29, {"save"}));
    ASSERT_TRUE(client.WaitFor([](const Frame& f) {
        return f.opcode == 19 &&
               f.Reader().GetString()->find("Eval command: save") != std::string::npos;
    }));
    EXPECT_EQ(ReadText(sim.CoreFolder() / "downloads.ini").find(music.string()), std::string::npos);
}

TEST(SimSession, ShutdownAndSignalsEndTheCoreCleanly) {
    TempDir dir;
    SimProcess sim(dir.Path(), {});
    {
        RawClient stranger(sim.Port());
        stranger.Send(GuiMessage(3));  // not logged in: ignored
        RawClient client(sim.Port());
        client.LogIn();
        client.Send(StringsMessage(28, {"max_upload_slots", "9"}));
        client.Send(GuiMessage(3));
        EXPECT_EQ(sim.WaitForExit(), 0);
    }
    EXPECT_NE(ReadText(sim.CoreFolder() / "downloads.ini").find(" max_upload_slots = 9\n"),
              std::string::npos);

    // A restarted core reads its options back.
    SimProcess again(dir.Path(), {});
    RawClient client(again.Port());
    client.LogIn();
    EXPECT_TRUE(client.WaitFor([](const Frame& f) {
        return f.opcode == 1 && OptionPairs(f).count("max_upload_slots") &&
               OptionPairs(f).at("max_upload_slots") == "9";
    }));
    again.Signal(SIGTERM);
    EXPECT_EQ(again.WaitForExit(), 0);
}

TEST(SimSession, RealCoreFormsCommitToTheIncomingSharedFolder) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--real-core-forms", "--catalogue",
                                WriteCatalogue(dir.Path()).string(), "--download-rate", "1000000"});
    RawClient client(sim.Port());
    client.LogIn();
    const fs::path music = dir.Path() / "My Music";
    fs::create_directories(music);
    client.Send(StringsMessage(29, {"share 0 \"" + music.string() + "\" incoming_files"}));
    client.Send(SearchMessage(0, "third song"));
    const std::optional<Frame> result = client.WaitForOpcode(4);
    ASSERT_TRUE(result);
    GuiMessage m = result->Reader();
    m.Get32();
    m.Get32();
    m.Get16();
    m.GetString();
    EXPECT_EQ(m.Get16(), 1u);
    EXPECT_EQ(m.GetString()->rfind("urn:ed2k:", 0), 0u);
    client.Send(DownloadMessage("Other Zyx - Third Song.mp3", 3));
    std::optional<ListedDownload> done;
    while ((done = AskForDownload(client, 1)) && (done->state == 0 || done->state == 5)) {
        client.WaitForOpcode(46, 200ms);
    }
    EXPECT_TRUE(fs::exists(music / "Other Zyx - Third Song.mp3"));
}

}  // namespace
}  // namespace korvana::sim::test
