// Downloads the user starts from search results, fetched by the real core
// from eDonkey peers on loopback that the fake server names as the files'
// sources, must end as whole files in our downloads folder, and each
// finished row on the Transfers page must lead to the very file the core
// made (a second file of a name already taken and a name the core changes
// included), with the core's figures in its size, sort and tooltip.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "search/CoreCommands.h"
#include "tests/realcore/LoopbackPeer.h"
#include "tests/realcore/RealCoreWorld.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferCommandSink.h"
#include "transfers/TransferRows.h"

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

// A file a peer offers: its name in the search results, its bytes, the
// name the core lists its download by and gives its file, and the exact
// size a tooltip shows.
struct Song {
    std::string name;
    std::string bytes;
    std::string coreName;
    std::string sizeInTip;
};

class RealCorePeerTest : public RealCoreWorld {
  protected:
    // Connects the core to `server` and searches for `keywords` as the
    // search page does; the results once `count` are listed.
    std::vector<RecordingResultSink::Handed> FindResults(const FakeEd2kServer& server,
                                                         const std::string& keywords,
                                                         std::size_t count) {
        Console("set allow_local_network true");
        Console("n 127.0.0.1 " + std::to_string(server.Port()));
        Console("c");
        if (!Eventually(
                [&] { return Console("vm").find("State:Connected") != std::string::npos; })) {
            ADD_FAILURE() << "the core did not log in to the server: " << Console("vm");
            return {};
        }
        results.AddSearch(kSearchId);
        SearchTerms terms;
        terms.keywords = keywords;
        commands->SendSearchQuery(kSearchId, terms);
        Eventually([&] { return results.Results().size() >= count; });
        return results.Results();
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

    // The Transfers page's row of the core's download of that size.
    static std::optional<int> RowOfSize(const TransferBoard& board, std::int64_t size) {
        const std::vector<DownloadRow>& rows = board.Downloads();
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].key.IsCore() && rows[row].sizeBytes == size) {
                return static_cast<int>(row);
            }
        }
        return std::nullopt;
    }

    // Checks what the Transfers page shows of each finished song, and its
    // file, once every row has found its file.
    void ExpectRowsLeadToTheirFiles(TransferBoard& board, const std::vector<Song>& songs) {
        const auto allFound = [&] {
            board.Refresh();
            return std::all_of(songs.begin(), songs.end(), [&](const Song& song) {
                const auto row = RowOfSize(board, static_cast<std::int64_t>(song.bytes.size()));
                return row && board.FinishedFileAt(*row);
            });
        };
        ASSERT_TRUE(Eventually(allFound, 30s)) << Console("vd");
        for (const Song& song : songs) {
            SCOPED_TRACE(song.name);
            const auto size = static_cast<std::int64_t>(song.bytes.size());
            const int row = *RowOfSize(board, size);
            const std::optional<fs::path> file = board.FinishedFileAt(row);
            ASSERT_TRUE(file);
            EXPECT_EQ(file->parent_path(), DownloadsFolder());
            EXPECT_EQ(ReadFile(*file), song.bytes) << file->filename();
            const DownloadRow& shown = board.Downloads()[static_cast<std::size_t>(row)];
            EXPECT_EQ(shown.name, song.coreName);
            // The search page sees the result's download as already there.
            EXPECT_TRUE(transfers.HasCoreDownload(song.name));
            EXPECT_EQ(shown.size, std::to_string(size));
            EXPECT_EQ(shown.received, size);
            const std::string tip = DownloadTip(shown, kDownloadHumanSize);
            EXPECT_NE(tip.find(song.sizeInTip), std::string::npos) << tip;
        }
    }

    // What the search page sends through, set once the link is connected.
    std::unique_ptr<CoreLinkCommands> commands;
};

TEST_F(RealCorePeerTest, DownloadsFromSearchResultsEndInOurDownloadsFolder) {
    const std::string name = "peer song.mp3";
    // The same name twice is two files to the core (their sizes tell them
    // apart here); the core changes "<", ">" and '"' in a name. No more than
    // three: the core asks a server for the sources of three files a minute.
    const std::vector<Song> songs = {
        {name, SongBytes(300000, 'p'), name, "(300,000 bytes)"},
        {name, SongBytes(200000, 'a'), name, "(200,000 bytes)"},
        {"peer <live> \"take\" 2.mp3", SongBytes(230000, 'c'), "peer _live_ _take_ 2.mp3",
         "(230,000 bytes)"},
    };
    const auto isSongOfName = [&](std::int64_t size) {
        return size == static_cast<std::int64_t>(songs[0].bytes.size()) ||
               size == static_cast<std::int64_t>(songs[1].bytes.size());
    };
    std::vector<std::unique_ptr<LoopbackPeer>> peers;
    std::vector<Ed2kListing> listings;
    for (const Song& song : songs) {
        peers.push_back(std::make_unique<LoopbackPeer>(song.name, song.bytes));
        listings.emplace_back(song.name, peers.back()->Size(), peers.back()->Hash(),
                              peers.back()->Port());
    }
    FakeEd2kServer server(listings);
    ConnectLink();
    commands = std::make_unique<CoreLinkCommands>(*link);
    const std::vector<RecordingResultSink::Handed> found =
        FindResults(server, "peer", songs.size());
    ASSERT_EQ(found.size(), songs.size()) << Console("vs");
    for (const RecordingResultSink::Handed& result : found) {
        commands->SendDownloadRequest(result.name, result.resultId);
    }

    const fs::path finished = DownloadsFolder() / name;
    // The core asks its servers for sources once a minute. While the peers
    // send, the transfer list follows the core's progress reports.
    std::optional<TransferItem> partial;
    ASSERT_TRUE(Eventually(
        [&] {
            const std::optional<TransferItem> now = InProgress(name);
            partial = now && now->downloaded > 0 && now->downloaded < now->size ? now : partial;
            return fs::exists(finished);
        },
        150s))
        << "source queries: " << server.SourceQueries()
        << "\npeer got: " << Joined(peers.front()->Received()) << "\n"
        << Console("vd");
    ASSERT_TRUE(partial) << "no progress shown before the end";
    EXPECT_TRUE(isSongOfName(partial->size)) << partial->size;
    EXPECT_GT(partial->rate, 0.0f);
    EXPECT_TRUE(Eventually(
        [&] {
            const std::string bytes = ReadFile(finished);
            return bytes == songs[0].bytes || bytes == songs[1].bytes;
        },
        10s));
    EXPECT_GE(server.SourceQueries(), 1);

    const std::optional<TransferItem> item = Finished(name);
    ASSERT_TRUE(item) << Console("vd");
    EXPECT_TRUE(isSongOfName(item->size)) << item->size;
    EXPECT_EQ(item->downloaded, item->size);
    EXPECT_TRUE(item->coreState == kStateDownloaded || item->coreState == kStateShared)
        << int{item->coreState};
    EXPECT_NE(item->finishTime, 0);

    CoreLinkTransferCommands coreCommands(*link);
    TransferBoard board(
        {transfers, coreCommands, nullptr, clock, log, [this] { return DownloadsFolder(); }});
    ExpectRowsLeadToTheirFiles(board, songs);
    for (const auto& peer : peers) {
        EXPECT_GE(peer->BytesSent(), static_cast<std::int64_t>(peer->Size()));
    }
    // The numbered file and the changed name are the core's own.
    EXPECT_TRUE(fs::is_regular_file(DownloadsFolder() / "peer song.mp3_1"));
    EXPECT_TRUE(fs::is_regular_file(DownloadsFolder() / "peer _live_ _take_ 2.mp3"));

    // Sorted by size, the rows follow the core's sizes.
    board.ClickDownloadColumn(kDownloadHumanSize);
    std::vector<std::int64_t> sizes;
    for (const DownloadRow& shown : board.Downloads()) {
        sizes.push_back(shown.sizeBytes);
    }
    EXPECT_EQ(sizes.size(), songs.size());
    EXPECT_TRUE(std::is_sorted(sizes.begin(), sizes.end()) ||
                std::is_sorted(sizes.rbegin(), sizes.rend()))
        << ::testing::PrintToString(sizes);
}

}  // namespace
}  // namespace korvana::realcore
