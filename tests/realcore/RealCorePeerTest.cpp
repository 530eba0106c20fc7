// A download the user starts from a search result, fetched by the real core
// from an eDonkey peer on loopback that the fake server names as the file's
// source, must end as a whole file in our downloads folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "search/CoreCommands.h"
#include "tests/realcore/LoopbackPeer.h"
#include "tests/realcore/RealCoreWorld.h"

namespace korvana::realcore {
namespace {

namespace fs = std::filesystem;

constexpr int kStateDownloading = 0;
constexpr int kStateDownloaded = 2;
constexpr int kStateShared = 3;
constexpr std::int32_t kSearchId = 12;

std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += part + " ";
    }
    return text;
}

class RealCorePeerTest : public RealCoreWorld {
  protected:
    // Connects the core to `server` and searches for `keywords` as the
    // search page does; the result of that name, once listed.
    std::optional<RecordingResultSink::Handed> FindResult(const FakeEd2kServer& server,
                                                          const std::string& keywords,
                                                          const std::string& name) {
        Console("set allow_local_network true");
        Console("n 127.0.0.1 " + std::to_string(server.Port()));
        Console("c");
        if (!Eventually(
                [&] { return Console("vm").find("State:Connected") != std::string::npos; })) {
            ADD_FAILURE() << "the core did not log in to the server: " << Console("vm");
            return std::nullopt;
        }
        results.AddSearch(kSearchId);
        SearchTerms terms;
        terms.keywords = keywords;
        commands->SendSearchQuery(kSearchId, terms);
        std::optional<RecordingResultSink::Handed> found;
        Eventually([&] {
            for (const RecordingResultSink::Handed& result : results.Results()) {
                if (result.name == name) {
                    found = result;
                }
            }
            return found.has_value();
        });
        return found;
    }

    // The transfer list's download of that name while the core reports it
    // as downloading.
    std::optional<TransferItem> InProgress(const std::string& name) {
        const auto lock = transfers.Lock();
        std::optional<TransferItem> found;
        transfers.ForEachDownload([&](const TransferItem& item) {
            if (item.name == name && item.coreState == kStateDownloading) {
                found = item;
            }
        });
        return found;
    }

    // The transfer list's download of that name once the core no longer
    // reports it as downloading.
    std::optional<TransferItem> Finished(const std::string& name) {
        std::optional<TransferItem> finished;
        Eventually([&] {
            const auto lock = transfers.Lock();
            transfers.ForEachDownload([&](const TransferItem& item) {
                if (item.name == name && item.coreState != kStateDownloading) {
                    finished = item;
                }
            });
            return finished.has_value();
        });
        return finished;
    }

    // What the search page sends through, set once the link is connected.
    std::unique_ptr<CoreLinkCommands> commands;
};

TEST_F(RealCorePeerTest, DownloadFromASearchResultEndsInOurDownloadsFolder) {
    const std::string name = "peer song.mp3";
    const std::string song = SongBytes(300000, 'p');
    LoopbackPeer peer(name, song);
    FakeEd2kServer server({{name, peer.Size(), peer.Hash(), peer.Port()}});
    ConnectLink();
    commands = std::make_unique<CoreLinkCommands>(*link);
    const std::optional<RecordingResultSink::Handed> result = FindResult(server, "peer song", name);
    ASSERT_TRUE(result) << Console("vs");
    EXPECT_EQ(result->size, static_cast<std::int64_t>(peer.Size()));

    commands->SendDownloadRequest(result->name, result->resultId);
    const fs::path finished = DownloadsFolder() / name;
    // The core asks its servers for sources once a minute. While the peer
    // sends, the transfer list follows the core's progress reports.
    std::optional<TransferItem> partial;
    ASSERT_TRUE(Eventually(
        [&] {
            const std::optional<TransferItem> now = InProgress(name);
            partial = now && now->downloaded > 0 && now->downloaded < now->size ? now : partial;
            return fs::exists(finished);
        },
        150s))
        << "source queries: " << server.SourceQueries() << "\npeer got: " << Joined(peer.Received())
        << "\n"
        << Console("vd");
    ASSERT_TRUE(partial) << "no progress shown before the end";
    EXPECT_EQ(partial->size, static_cast<std::int64_t>(peer.Size()));
    EXPECT_GT(partial->rate, 0.0f);
    EXPECT_TRUE(Eventually([&] { return ReadFile(finished) == song; }, 10s));
    EXPECT_GE(server.SourceQueries(), 1);
    EXPECT_GE(peer.BytesSent(), static_cast<std::int64_t>(peer.Size()));

    const std::optional<TransferItem> item = Finished(name);
    ASSERT_TRUE(item) << Console("vd");
    EXPECT_EQ(item->size, static_cast<std::int64_t>(peer.Size()));
    EXPECT_EQ(item->downloaded, item->size);
    EXPECT_TRUE(item->coreState == kStateDownloaded || item->coreState == kStateShared)
        << int{item->coreState};
    EXPECT_NE(item->finishTime, 0);
}

}  // namespace
}  // namespace korvana::realcore
