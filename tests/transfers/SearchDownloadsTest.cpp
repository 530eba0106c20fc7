#include <gtest/gtest.h>

#include "app/SearchDownloads.h"
#include "core/StatusLog.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"
#include "transfers/TransferList.h"
#include "web/download/WebDownloads.h"

namespace korvana {
namespace {

// Download Selected's duplicate check as the program wires it: the search
// page asks SearchDownloads, which asks the transfer list.
class SearchDownloadsTest : public ::testing::Test {
  protected:
    WebDownloadsConfig Config() {
        WebDownloadsConfig config;
        config.incompleteFolder = folder.Path() / "Incomplete";
        config.downloadsFolder = [this] { return folder.Path(); };
        return config;
    }

    test::TempDir folder;
    test::FakeClock clock;
    StatusLog log;
    TransferList list{clock, log};
    WebDownloads web{list, Config()};
    SearchDownloads downloads{list, web};
};

TEST_F(SearchDownloadsTest, ACoreResultAlreadyDownloadingIsFound) {
    TransferItem item;
    item.key = TransferKey::Core(12);  // the core's file number, not the result's id
    item.name = "Artist - Song.mp3";
    item.size = 1000;
    list.AddOrUpdateDownload(item);
    EXPECT_TRUE(downloads.HasTransfer("Artist - Song.mp3", false));
    EXPECT_FALSE(downloads.HasTransfer("Artist - Other.mp3", false));
}

TEST_F(SearchDownloadsTest, AWebResultIsFoundByItsLinkOnly) {
    const std::string link = "http://127.0.0.1:9/files/Song.mp3";
    list.OpenWebDownload(link, "Song.mp3");
    EXPECT_TRUE(downloads.HasTransfer("HTTP://127.0.0.1:9/files/song.mp3", true));
    EXPECT_FALSE(downloads.HasTransfer("http://127.0.0.1:9/files/Other.mp3", true));
    // A web download of the same name is not the core result's download.
    EXPECT_FALSE(downloads.HasTransfer("Song.mp3", false));
}

}  // namespace
}  // namespace korvana
