// Each fault switch of korvana-sim does what it says, and a front end that
// reconnects after a fatal one finds a working core.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"

namespace korvana::sim::test {
namespace {

using korvana::test::TempDir;

bool IsPostLogIn(const Frame& frame) {
    return frame.opcode == 20;
}

TEST(SimFaults, NoHelloAndLateHello) {
    TempDir dir;
    SimProcess silent(dir.Path(), {"--no-hello"});
    RawClient client(silent.Port());
    EXPECT_FALSE(client.Next(300ms));
    client.LogIn();  // the log-in still works without a hello
    const std::optional<Frame> first = client.Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->opcode, 20);

    TempDir other;
    SimProcess slow(other.Path(), {"--hello-delay-ms", "400"});
    RawClient waiting(slow.Port());
    EXPECT_FALSE(waiting.Next(100ms));
    const std::optional<Frame> hello = waiting.Next();
    ASSERT_TRUE(hello);
    EXPECT_EQ(hello->opcode, 0);
}

TEST(SimFaults, CloseAfterFramesHitsOnlyTheFirstConnection) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--close-after", "4"});
    {
        RawClient client(sim.Port());
        client.LogIn();
        client.Send(GuiMessage(45));
        client.Send(GuiMessage(45));
        EXPECT_TRUE(client.ReadUntilClosed());
    }
    RawClient next(sim.Port());
    next.LogIn();
    for (int i = 0; i < 3; ++i) {
        next.Send(GuiMessage(45));
        EXPECT_TRUE(next.WaitForOpcode(53));
    }
}

TEST(SimFaults, OversizedFrameThenAConsoleMessage) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--oversized-frame"});
    RawClient client(sim.Port());
    client.LogIn();
    ASSERT_TRUE(client.WaitForOpcode(0));
    const std::optional<Frame> big = client.Next();
    ASSERT_TRUE(big);
    EXPECT_EQ(big->payload.size() + 2, 30000u);
    const std::optional<Frame> after = client.Next();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->opcode, 19);
    EXPECT_TRUE(client.WaitFor(IsPostLogIn));
}

TEST(SimFaults, GarbageAndDropMidFrameEndTheFirstConnection) {
    for (const char* fault : {"--garbage", "--drop-mid-frame"}) {
        TempDir dir;
        SimProcess sim(dir.Path(), {fault});
        {
            RawClient client(sim.Port());
            ASSERT_TRUE(client.Next());  // hello
            client.LogIn();
            const std::optional<std::vector<std::uint8_t>> rest = client.ReadUntilClosed();
            ASSERT_TRUE(rest) << fault;
            if (std::string(fault) == "--garbage") {
                EXPECT_EQ(rest->size(), 64u);
            } else {
                ASSERT_GE(rest->size(), 4u);
                const std::size_t announced = (*rest)[0] | (*rest)[1] << 8;
                EXPECT_LT(rest->size(), announced + 4) << "a frame cut short";
            }
        }
        RawClient next(sim.Port());
        next.LogIn();
        EXPECT_TRUE(next.WaitFor(IsPostLogIn)) << fault;
    }
}

TEST(SimFaults, TruncatedStrings) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--truncated-strings"});
    RawClient client(sim.Port());
    client.LogIn();
    const auto endsInAbsentString = [](const Frame& frame, int skip) {
        GuiMessage m = frame.Reader();
        for (int i = 0; i < skip; ++i) {
            m.Get8();
        }
        std::optional<std::string> text;
        while ((text = m.GetString()) && m.Remaining() > 0) {
        }
        return !text;
    };
    const std::optional<Frame> options =
        client.WaitFor([&](const Frame& f) { return f.opcode == 1 && endsInAbsentString(f, 2); });
    EXPECT_TRUE(options);
    client.Send(SearchMessage(0, "love"));
    EXPECT_TRUE(
        client.WaitFor([&](const Frame& f) { return f.opcode == 4 && endsInAbsentString(f, 10); }));
    client.Send(GuiMessage(45));
    const std::optional<Frame> list = client.WaitFor([](const Frame& f) {
        return f.opcode == 53 && f.Reader().Get16() == 1;  // only the cut-off entry
    });
    ASSERT_TRUE(list);
    EXPECT_TRUE(ReadDownloadList(*list).empty());
}

TEST(SimFaults, UnknownOpcodesAfterLogIn) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--unknown-opcodes"});
    RawClient client(sim.Port());
    client.LogIn();
    std::set<int> seen;
    client.WaitFor([&](const Frame& f) {
        seen.insert(f.opcode);
        return f.opcode == 4660;
    });
    for (int opcode : {2, 7, 60, 99, 4660}) {
        EXPECT_TRUE(seen.contains(opcode)) << opcode;
    }
}

struct SearchTally {
    std::multiset<std::int32_t> described;
    std::multiset<std::pair<std::int32_t, std::int32_t>> bound;  // search, result
};

SearchTally Tally(RawClient& client, std::size_t boundCount) {
    SearchTally tally;
    client.WaitFor([&](const Frame& f) {
        GuiMessage m = f.Reader();
        if (f.opcode == 4) {
            tally.described.insert(static_cast<std::int32_t>(m.Get32()));
        } else if (f.opcode == 5) {
            const auto search = static_cast<std::int32_t>(m.Get32());
            tally.bound.emplace(search, static_cast<std::int32_t>(m.Get32()));
        }
        return tally.bound.size() >= boundCount;
    });
    return tally;
}

TEST(SimFaults, DuplicateAndForeignResults) {
    TempDir dir;
    SimProcess duplicates(dir.Path(), {"--duplicate-results"});
    RawClient client(duplicates.Port());
    client.LogIn();
    client.Send(SearchMessage(0, "love"));
    const SearchTally twice = Tally(client, 10);
    ASSERT_FALSE(twice.described.empty());
    for (std::int32_t id : twice.described) {
        EXPECT_EQ(twice.described.count(id), 2u);
    }

    TempDir other;
    SimProcess foreign(other.Path(), {"--unknown-search-results"});
    RawClient second(foreign.Port());
    second.LogIn();
    second.Send(SearchMessage(3, "love"));
    const SearchTally tally = Tally(second, 3);
    bool foreignSearch = false;
    bool undescribed = false;
    for (const auto& [search, result] : tally.bound) {
        foreignSearch |= search != 3;
        undescribed |= search == 3 && !tally.described.contains(result);
    }
    EXPECT_TRUE(foreignSearch);
    EXPECT_TRUE(undescribed);
}

// How often `text` occurs in the file, once the file has had a moment to
// receive what the core writes after its last frame.
int Occurrences(const std::filesystem::path& file, const std::string& text) {
    std::this_thread::sleep_for(200ms);
    std::ifstream in(file);
    const std::string content((std::istreambuf_iterator<char>(in)), {});
    int count = 0;
    for (auto at = content.find(text); at != std::string::npos; at = content.find(text, at + 1)) {
        ++count;
    }
    return count;
}

TEST(SimFaults, FloodAnswersEachSearchWithNResults) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--flood", "20000", "--no-stats"});
    RawClient client(sim.Port());
    client.LogIn();
    client.Send(SearchMessage(5, "anything"));
    const SearchTally tally = Tally(client, 20000);
    EXPECT_EQ(tally.bound.size(), 20000u);
    EXPECT_EQ(tally.described.size(), 20000u);
    EXPECT_EQ(tally.bound.begin()->first, 5);
    EXPECT_FALSE(client.WaitForOpcode(5, 200ms));
    // Measurements of the front end count from the flood's last frame, which
    // the core reports once.
    EXPECT_EQ(Occurrences(dir.Path() / "sim.log", "flood sent at "), 1);
}

TEST(SimFaults, SearchesAnsweredFromTheCatalogueReportNoFlood) {
    TempDir dir;
    SimProcess sim(dir.Path(), {"--no-stats"});
    RawClient client(sim.Port());
    client.LogIn();
    client.Send(SearchMessage(0, "a"));
    ASSERT_TRUE(client.WaitForOpcode(5));
    while (client.WaitForOpcode(5, 500ms)) {
    }
    EXPECT_EQ(Occurrences(dir.Path() / "sim.log", "flood sent at "), 0);
}

}  // namespace
}  // namespace korvana::sim::test
