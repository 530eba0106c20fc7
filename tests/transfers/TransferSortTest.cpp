#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TransferBoardFixture.h"
#include "transfers/TransferSort.h"
#include "transfers/TransferTexts.h"

namespace korvana::test {
namespace {

using Lines = std::vector<std::string>;

class TransferSortTest : public TransferBoardTest {
  protected:
    // A core download that is receiving at `rate` bytes per second.
    void AddRunning(int number, const std::string& name, std::int64_t size, float rate) {
        AddCore(number, name, size, kCoreStateDownloading, size / 4);
        list.UpdateDownloadProgress(number, size / 4, rate);
    }
    static bool HasReorder(const RowChanges<DownloadRow>& steps) {
        for (const RowChange<DownloadRow>& step : steps) {
            if (step.kind == RowChange<DownloadRow>::Kind::Reordered) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(TransferSortTest, SizeSortsByTheByteCountLargestFirstThenTheOtherWay) {
    AddCore(1, "nine hundred", 900);
    AddCore(2, "ten thousand", 10000);
    AddCore(3, "fifty", 50);
    Refresh();
    const Lines arrived = Names();

    ClickDownloads(kDownloadHumanSize);
    EXPECT_EQ(Names(), (Lines{"ten thousand", "nine hundred", "fifty"}));
    EXPECT_TRUE(HasReorder(downloadSteps));
    EXPECT_EQ(board.DownloadSort().Image(kDownloadHumanSize), SortImage::Descending);
    EXPECT_EQ(board.DownloadSort().Image(kDownloadSize), SortImage::Unsorted);

    ClickDownloads(kDownloadHumanSize);
    EXPECT_EQ(Names(), (Lines{"fifty", "nine hundred", "ten thousand"}));
    EXPECT_EQ(board.DownloadSort().Image(kDownloadHumanSize), SortImage::Ascending);
    // The byte column sorts by the same numbers, not by its text.
    ClickDownloads(kDownloadSize);
    EXPECT_EQ(Names(), (Lines{"ten thousand", "nine hundred", "fifty"}));
    EXPECT_NE(arrived, Names());
}

TEST_F(TransferSortTest, RowsStayInOrderAsTheirFiguresChangeAndNewOnesArrive) {
    AddRunning(1, "slow", 1000000, 1000.0f);
    AddRunning(2, "fast", 1000000, 9000.0f);
    Refresh();
    ClickDownloads(kDownloadRate);
    ASSERT_EQ(Names(), (Lines{"fast", "slow"}));

    list.UpdateDownloadProgress(1, 500000, 20000.0f);
    Refresh();
    EXPECT_EQ(Names(), (Lines{"slow", "fast"}));
    EXPECT_TRUE(HasReorder(downloadSteps));

    AddRunning(3, "middle", 1000000, 10000.0f);
    Refresh();
    EXPECT_EQ(Names(), (Lines{"slow", "middle", "fast"}));

    // A refresh that changes no rate moves nothing.
    Refresh();
    EXPECT_FALSE(HasReorder(downloadSteps));
}

TEST_F(TransferSortTest, EqualRowsKeepTheirOrderAndNamesIgnoreLetterCase) {
    AddCore(1, "b", 100);
    AddCore(2, "A", 100);
    AddCore(3, "c", 100);
    Refresh();
    const Lines arrived = Names();
    ClickDownloads(kDownloadSize);
    EXPECT_EQ(Names(), arrived);
    ClickDownloads(kDownloadName);
    EXPECT_EQ(Names(), (Lines{"c", "b", "A"}));
    ClickDownloads(kDownloadName);
    EXPECT_EQ(Names(), (Lines{"A", "b", "c"}));
}

TEST_F(TransferSortTest, DownloadsWithoutAnEstimateComeAfterEveryEstimate) {
    AddCore(1, "unknown size", 0);
    AddCore(2, "long", 1000000, kCoreStateDownloading, 1000);
    AddCore(3, "short", 1000, kCoreStateDownloading, 900);
    Tick();
    Tick();
    ClickDownloads(kDownloadTimeLeft);
    ClickDownloads(kDownloadTimeLeft);
    EXPECT_EQ(Names(), (Lines{"short", "long", "unknown size"}));
}

// A refresh may move rows while the menu is open: the command still acts
// on the download the user right-clicked.
TEST_F(TransferSortTest, AMenuCommandFollowsItsDownloadWhenTheRowMoves) {
    AddRunning(1, "first", 1000000, 9000.0f);
    AddRunning(2, "second", 1000000, 1000.0f);
    Refresh();
    ClickDownloads(kDownloadRate);
    ASSERT_EQ(Names(), (Lines{"first", "second"}));
    board.OpenMenu(0);

    list.UpdateDownloadProgress(2, 500000, 50000.0f);
    Refresh();
    ASSERT_EQ(Names(), (Lines{"second", "first"}));
    board.RunCommand(kCommandCancel);
    EXPECT_EQ(core.sent, (std::vector<std::string>{"cancel 1"}));
}

}  // namespace
}  // namespace korvana::test
