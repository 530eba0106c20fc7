#include <gtest/gtest.h>

#include "TransfersTestSupport.h"
#include "core/StatusLog.h"
#include "tests/support/FakeClock.h"
#include "transfers/TransferList.h"

namespace korvana {
namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;
const std::string kLink = "http://127.0.0.1:8080/files/Song.mp3";

TransferItem CoreDownload(int number, std::string name, std::int64_t size) {
    TransferItem item;
    item.key = TransferKey::Core(number);
    item.name = std::move(name);
    item.size = size;
    return item;
}

class TransferListTest : public ::testing::Test {
  protected:
    TransferItem Record(const TransferKey& key) {
        const auto lock = list.Lock();
        const TransferItem* item = list.FindDownload(key);
        return item != nullptr ? *item : TransferItem{};
    }
    TransferItem Record(int fileNumber) { return Record(TransferKey::Core(fileNumber)); }
    TransferItem Record(const std::string& link) { return Record(TransferKey::Web(link)); }

    test::FakeClock clock;
    StatusLog log;
    test::LogCapture captured{log};
    TransferList list{clock, log};
};

// The real core can announce a file before it knows the file's size; the
// size that comes later must reach the record, or it never shows a bar.
TEST_F(TransferListTest, ACoreDownloadFirstSeenWithoutASizeLearnsItLater) {
    list.AddOrUpdateDownload(CoreDownload(6, "early.mp3", 0));
    list.AddOrUpdateDownload(CoreDownload(6, "early.mp3", 300000));
    EXPECT_EQ(Record(6).size, 300000);
}

TEST_F(TransferListTest, ACoreDownloadKeepsItsNameAndSizeAndFollowsTheCore) {
    list.AddOrUpdateDownload(CoreDownload(5, "first.mp3", 6 * kGiB));
    TransferItem update = CoreDownload(5, "renamed.mp3", 1);
    update.downloaded = 5 * kGiB;
    update.rate = 2048.0f;
    update.coreState = 1;
    list.AddOrUpdateDownload(update);
    TransferItem record = Record(5);
    EXPECT_EQ(record.name, "first.mp3");
    EXPECT_EQ(record.size, 6 * kGiB);
    EXPECT_EQ(record.downloaded, 5 * kGiB);
    EXPECT_EQ(record.rate, 2048.0f);
    EXPECT_EQ(record.coreState, 1);
    EXPECT_EQ(record.finishTime, 0);

    update.coreState = 2;
    list.AddOrUpdateDownload(update);
    EXPECT_EQ(Record(5).finishTime, clock.WallNow());

    list.UpdateDownloadProgress(5, 6 * kGiB, 10.0);
    list.UpdateDownloadProgress(99, 1, 1.0);
    record = Record(5);
    EXPECT_EQ(record.downloaded, 6 * kGiB);
    EXPECT_EQ(record.rate, 10.0f);
    EXPECT_EQ(record.coreState, 2);
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 1u);
}

TEST_F(TransferListTest, NewRecordsComeFirst) {
    list.AddOrUpdateDownload(CoreDownload(1, "a", 1));
    list.AddOrUpdateDownload(CoreDownload(2, "b", 1));
    list.OpenWebDownload(kLink, "c");
    std::vector<std::string> keys;
    const auto lock = list.Lock();
    list.ForEachDownload([&](const TransferItem& item) { keys.push_back(item.key.Text()); });
    EXPECT_EQ(keys, (std::vector<std::string>{kLink, "2", "1"}));
}

TEST_F(TransferListTest, AWebDownloadReportsUntilItIsToldToStop) {
    list.OpenWebDownload(kLink, "Song.mp3");
    TransferItem record = Record(kLink);
    EXPECT_TRUE(record.contacting);
    EXPECT_EQ(record.startTime, clock.WallNow());

    clock.Advance(std::chrono::seconds(3));
    // The link in another letter case is the same download.
    EXPECT_TRUE(list.ReportWebDownload("HTTP://127.0.0.1:8080/FILES/SONG.MP3", "Song.mp3", 10,
                                       5 * kGiB, 0));
    record = Record(kLink);
    EXPECT_FALSE(record.contacting);
    EXPECT_EQ(record.startTime, clock.WallNow());  // timed from the first report
    EXPECT_EQ(record.size, 5 * kGiB);
    EXPECT_EQ(record.finishTime, 0);

    EXPECT_TRUE(list.ReportWebDownload(kLink, "Song.mp3", 5 * kGiB, 5 * kGiB, 0));
    EXPECT_EQ(Record(kLink).finishTime, clock.WallNow());

    EXPECT_FALSE(list.ReportWebDownload(kLink, "Song.mp3", 5, 10, 3));
    EXPECT_EQ(Record(kLink).errorCode, 3);
}

TEST_F(TransferListTest, ACancelledOrClearedWebDownloadIsToldToStop) {
    list.OpenWebDownload(kLink, "Song.mp3");
    {
        const auto lock = list.Lock();
        list.FindDownload(TransferKey::Web(kLink))->cancelled = true;
    }
    EXPECT_FALSE(list.ReportWebDownload(kLink, "Song.mp3", 10, 100, 0));
    {
        const auto lock = list.Lock();
        list.RemoveDownload(TransferKey::Web(kLink));
    }
    // A report for a download no longer listed does not bring it back.
    EXPECT_FALSE(list.ReportWebDownload(kLink, "Song.mp3", 20, 100, 0));
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 0u);
}

TEST_F(TransferListTest, ADownloadStartedAgainBeginsAfresh) {
    list.OpenWebDownload(kLink, "Song.mp3");
    list.ReportWebDownload(kLink, "Song.mp3", 10, 100, 0);
    {
        const auto lock = list.Lock();
        TransferItem* record = list.FindDownload(TransferKey::Web(kLink));
        record->cancelled = true;
        record->finishTime = clock.WallNow();
    }
    list.OpenWebDownload(kLink, "Other name.mp3");
    const TransferItem record = Record(kLink);
    EXPECT_TRUE(record.contacting);
    EXPECT_FALSE(record.cancelled);
    EXPECT_EQ(record.finishTime, 0);
    EXPECT_EQ(record.downloaded, 0);
    EXPECT_EQ(record.name, "Song.mp3");  // the row keeps its name
    EXPECT_TRUE(list.ReportWebDownload(kLink, "Song.mp3", 10, 100, 0));
}

TEST_F(TransferListTest, AWebResultIsFoundByItsLinkAndACoreResultByItsName) {
    list.OpenWebDownload(kLink, "Song.mp3");
    list.AddOrUpdateDownload(CoreDownload(7, "Core Song.mp3", 100));
    EXPECT_TRUE(list.HasWebDownload("http://127.0.0.1:8080/files/song.MP3"));
    EXPECT_FALSE(list.HasWebDownload("http://127.0.0.1:8080/files/other.mp3"));
    EXPECT_FALSE(list.HasWebDownload("7"));  // a core download's file number is no link
    EXPECT_TRUE(list.HasCoreDownload("Core Song.mp3"));
    EXPECT_FALSE(list.HasCoreDownload("Song.mp3"));  // a web download's name
    EXPECT_FALSE(list.HasCoreDownload("core song.mp3"));
}

// The core lists a result's download under the name it gives the file.
TEST_F(TransferListTest, ACoreResultIsFoundUnderTheNameTheCoreListsItBy) {
    list.AddOrUpdateDownload(CoreDownload(7, "Live _at_ _home_ AC_DC.mp3", 100));
    EXPECT_TRUE(list.HasCoreDownload("Live <at> \"home\" AC/DC.mp3"));
    EXPECT_TRUE(list.HasCoreDownload("Live _at_ _home_ AC_DC.mp3"));
    EXPECT_FALSE(list.HasCoreDownload("Live <at> \"home\" AC-DC.mp3"));
}

TEST_F(TransferListTest, UploadsAreUpdatedByFileNumber) {
    UploadItem first;
    first.fileNumber = 4;
    first.uploaded = 100;
    first.lastUpdate = 10;
    list.AddOrUpdateUpload(first);  // reported by its totals: no name yet
    UploadItem named = first;
    named.name = "shared.mp3";
    named.uploaded = 6 * kGiB;
    named.requests = 3;
    named.lastUpdate = 20;
    list.AddOrUpdateUpload(named);
    std::vector<UploadItem> uploads;
    const auto lock = list.Lock();
    list.ForEachUpload([&](const UploadItem& item) { uploads.push_back(item); });
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].name, "shared.mp3");
    EXPECT_EQ(uploads[0].uploaded, 6 * kGiB);
    EXPECT_EQ(uploads[0].requests, 3);
    EXPECT_EQ(uploads[0].lastUpdate, 20);
    EXPECT_EQ(captured.Lines(),
              (std::vector<std::string>{"shared.mp3 updated to 6442450944 bytes uploaded"}));
}

// A link longer than a key may be is kept cut; its download's reports must
// still find it, or it would be stopped at its first report.
TEST_F(TransferListTest, AWebDownloadWithALongLinkIsFoundByItsReports) {
    const std::string link = "http://127.0.0.1:8080/files/" + std::string(600, 'a') + ".mp3";
    list.OpenWebDownload(link, "long.mp3");
    EXPECT_TRUE(list.ReportWebDownload(link, "long.mp3", 10, 100, 0));
    EXPECT_EQ(Record(link).downloaded, 10);
    EXPECT_EQ(Record(link).key.Link().size(), TransferItem::kMaxKey);
    EXPECT_TRUE(list.HasWebDownload(link));
    list.OpenWebDownload(link, "long.mp3");  // started again: the same record
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 1u);
}

TEST_F(TransferListTest, AKeyFindsItsOwnKindOnlyAndALinkInItsOwnCase) {
    list.AddOrUpdateDownload(CoreDownload(7, "core.mp3", 100));
    list.OpenWebDownload("7", "web.mp3");
    list.OpenWebDownload(kLink, "Song.mp3");
    EXPECT_EQ(Record(7).name, "core.mp3");
    EXPECT_EQ(Record(std::string("7")).name, "web.mp3");
    EXPECT_EQ(Record(TransferKey::Web("HTTP://127.0.0.1:8080/FILES/SONG.MP3")).name, "");
    EXPECT_EQ(Record(kLink).name, "Song.mp3");
    {
        const auto lock = list.Lock();
        list.RemoveDownload(TransferKey::Core(7));
        EXPECT_EQ(list.DownloadCount(), 2u);
    }
    EXPECT_EQ(Record(std::string("7")).name, "web.mp3");
}

class TransferNoticeTest : public TransferListTest {
  protected:
    void SetUp() override { list.Notice().SetListener(&notices); }
    void TearDown() override { list.Notice().SetListener(nullptr); }
    // What the board does as it reads the list.
    void Take() {
        list.Notice().Taken();
        notices.raised = 0;
    }

    test::CountingChangeListener notices;
};

TEST_F(TransferNoticeTest, ACoreReportRaisesTheNoticeOnlyWhenItBringsSomethingNew) {
    TransferItem item = CoreDownload(3, "a.mp3", 100);
    item.downloaded = 10;
    list.AddOrUpdateDownload(item);
    EXPECT_EQ(notices.raised, 1);
    Take();
    list.AddOrUpdateDownload(item);
    list.UpdateDownloadProgress(3, 10, 0.0);
    EXPECT_EQ(notices.raised, 0);
    list.UpdateDownloadProgress(3, 11, 0.0);
    EXPECT_EQ(notices.raised, 1);
    list.UpdateDownloadProgress(3, 12, 0.0);
    EXPECT_EQ(notices.raised, 1);  // once until the changes are taken
    Take();
    item.downloaded = 12;
    item.rate = 100.0f;
    list.AddOrUpdateDownload(item);
    EXPECT_EQ(notices.raised, 1);
    Take();
    item.coreState = 2;  // downloaded: its finish time is set at every report
    list.AddOrUpdateDownload(item);
    EXPECT_EQ(notices.raised, 1);
    Take();
    clock.Advance(std::chrono::seconds(5));
    list.AddOrUpdateDownload(item);
    EXPECT_EQ(notices.raised, 0);
}

TEST_F(TransferNoticeTest, AWebReportRaisesTheNoticeOnlyWhenItBringsSomethingNew) {
    list.OpenWebDownload(kLink, "Song.mp3");
    EXPECT_EQ(notices.raised, 1);
    Take();
    list.ReportWebDownload(kLink, "Song.mp3", 0, 100, 0);  // no longer contacting
    EXPECT_EQ(notices.raised, 1);
    Take();
    list.ReportWebDownload(kLink, "Song.mp3", 0, 100, 0);
    EXPECT_EQ(notices.raised, 0);
    list.ReportWebDownload(kLink, "Song.mp3", 50, 100, 0);
    EXPECT_EQ(notices.raised, 1);
    Take();
    list.ReportWebDownload(kLink, "Song.mp3", 50, 100, 3);
    EXPECT_EQ(notices.raised, 1);
}

TEST_F(TransferNoticeTest, AnUploadReportRaisesTheNoticeWhenItsRowWouldChange) {
    UploadItem item;
    item.fileNumber = 4;
    item.uploaded = 100;
    item.lastUpdate = clock.WallNow();
    list.AddOrUpdateUpload(item);
    EXPECT_EQ(notices.raised, 1);
    Take();
    // The core's poll reports it again, a little later, with the same total.
    clock.Advance(std::chrono::seconds(5));
    item.lastUpdate = clock.WallNow();
    item.requests = 2;
    list.AddOrUpdateUpload(item);
    EXPECT_EQ(notices.raised, 0);
    item.name = "named.mp3";
    list.AddOrUpdateUpload(item);
    EXPECT_EQ(notices.raised, 1);
    Take();
    item.uploaded = 200;
    list.AddOrUpdateUpload(item);
    EXPECT_EQ(notices.raised, 1);
    Take();
    // Unreported for 30 seconds its row left; reported again, it comes back.
    clock.Advance(std::chrono::seconds(31));
    item.lastUpdate = clock.WallNow();
    list.AddOrUpdateUpload(item);
    EXPECT_EQ(notices.raised, 1);
}

}  // namespace
}  // namespace korvana
