#include "search/ui/ResultTableModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <algorithm>
#include <random>

#include "search/ProbePacer.h"
#include "tests/search/SearchTestSupport.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

using test::HandOver;
using test::MakeCoreResult;
using test::ManualProbes;
using test::OkHeader;

class ResultTableModelTest : public ::testing::Test {
  protected:
    ResultTableModelTest() {
        auto probes = std::make_unique<ManualProbes>();
        probes_ = probes.get();
        model_ = std::make_unique<SearchModel>();
        pacer_ = std::make_unique<ProbePacer>(*model_, std::move(probes));
        id_ = model_->TakeNextSearchId();
        model_->OpenSearch(id_);
        table_ = std::make_unique<ResultTableModel>(*model_);
        tester_ = std::make_unique<QAbstractItemModelTester>(
            table_.get(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        table_->ShowSearch(id_);
    }

    std::string AddWeb(int n) {
        const std::string link = "http://127.0.0.1/" + std::to_string(n) + ".mp3";
        model_->AddWebResult(id_, link, "web " + std::to_string(n), WebEngineId::Engine1);
        return link;
    }
    // Does at once what the drain timer does a moment later.
    void Settle() { table_->DrainNow(); }
    // Starts up to `count` probes, newest first, as the pacing would over
    // time; the test runs them.
    void StartProbes(int count) {
        for (int i = 0; i < count; ++i) {
            probeTime_ += std::chrono::hours(1);
            pacer_->Pace(probeTime_);
        }
    }

    std::vector<const SearchResult*> Listed() const {
        std::vector<const SearchResult*> listed;
        for (int row = 0; row < table_->rowCount(); ++row) {
            listed.push_back(table_->RowAt(row).result.get());
        }
        return listed;
    }
    std::vector<const SearchResult*> Shown() {
        std::vector<const SearchResult*> shown;
        for (const ListedRow& row : model_->ShowSearch(id_)) {
            shown.push_back(row.result.get());
        }
        return shown;
    }
    QString Cell(int row, ResultColumn column, int role = Qt::DisplayRole) const {
        return table_->data(table_->index(row, static_cast<int>(column)), role).toString();
    }

    ManualProbes* probes_ = nullptr;
    std::unique_ptr<SearchModel> model_;
    std::unique_ptr<ProbePacer> pacer_;
    std::chrono::steady_clock::time_point probeTime_;
    std::int32_t id_ = 0;
    std::unique_ptr<ResultTableModel> table_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(ResultTableModelTest, CellsShowTheColumnTextsWithTheirAlignments) {
    auto core = MakeCoreResult(id_, 5, "Core Song.mp3", 4'294'967'296LL, 2);
    core->bitrate = 320;
    HandOver(*model_, core);
    AddWeb(1);
    Settle();
    ASSERT_EQ(table_->rowCount(), 2);
    EXPECT_EQ(table_->columnCount(), 7);
    EXPECT_EQ(Cell(0, ResultColumn::Filename), "web 1");
    EXPECT_EQ(Cell(0, ResultColumn::Size), "Unknown");
    EXPECT_EQ(Cell(1, ResultColumn::Size), "4294967296");
    EXPECT_EQ(Cell(1, ResultColumn::Net), "BitTorrent");
    EXPECT_EQ(Cell(1, ResultColumn::Info), "320 kbps");
    EXPECT_EQ(Cell(1, ResultColumn::Status), "");
    EXPECT_FALSE(table_->data(table_->index(1, 0), Qt::DecorationRole).value<QPixmap>().isNull());
    const auto alignment = [&](ResultColumn column) {
        return table_->data(table_->index(0, static_cast<int>(column)), Qt::TextAlignmentRole)
                   .value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(ResultColumn::Status), Qt::AlignHCenter);
    EXPECT_EQ(alignment(ResultColumn::Net), Qt::AlignHCenter);
    EXPECT_EQ(alignment(ResultColumn::Sources), Qt::AlignHCenter);
    EXPECT_EQ(alignment(ResultColumn::Filename), Qt::AlignLeft);
    EXPECT_EQ(alignment(ResultColumn::Size), Qt::AlignLeft);
    EXPECT_EQ(table_->headerData(2, Qt::Horizontal).toString(), "Size");
}

TEST_F(ResultTableModelTest, HeaderImagesFollowTheSortState) {
    const auto image = [&](int section) {
        return table_->headerData(section, Qt::Horizontal, Qt::DecorationRole)
            .value<QPixmap>()
            .toImage();
    };
    const QImage unsorted = image(1);
    EXPECT_EQ(image(2), unsorted);
    table_->SortBy(ResultColumn::Size);
    const QImage descending = image(2);
    EXPECT_NE(descending, unsorted);
    EXPECT_EQ(image(1), unsorted);
    table_->SortBy(ResultColumn::Size);
    EXPECT_NE(image(2), descending);
    EXPECT_NE(image(2), unsorted);
}

// Streams random results and probe reports in bursts under several sort
// states. Rows with equal keys may differ in order from a rebuilt list (the
// insertion rule's own tests cover that), so the keys in list order and the
// rows listed are compared.
TEST_F(ResultTableModelTest, BurstsOfRowsAndProbeReportsKeepTheTableInOrder) {
    std::mt19937 random(3);
    int next = 0;
    const ResultColumn columns[] = {ResultColumn::Size, ResultColumn::Filename,
                                    ResultColumn::Sources};
    for (const ResultColumn column : columns) {
        table_->SortBy(column);
        for (int burst = 0; burst < 10; ++burst) {
            for (int i = 0; i < 20; ++i) {
                ++next;
                if (random() % 2 == 0) {
                    HandOver(*model_, MakeCoreResult(id_, next, "core " + std::to_string(next % 7),
                                                     random() % 4 * 100));
                } else {
                    probes_->headers[AddWeb(next)] =
                        random() % 3 == 0 ? std::string() : OkHeader(random() % 500 + 1);
                }
            }
            StartProbes(5);
            probes_->RunAll();
            Settle();
            std::vector<const SearchResult*> listed = Listed();
            std::vector<const SearchResult*> shown = Shown();
            std::vector<std::string> listedKeys;
            std::vector<std::string> shownKeys;
            // "Unknown" and "-" sort as 0.
            const auto key = [column](const ListedRow& row) {
                const std::string text = ColumnText(row, column);
                return text == "Unknown" || text == "-" ? std::string("0") : text;
            };
            const std::vector<ListedRow> rebuilt = model_->ShowSearch(id_);
            for (int row = 0; row < table_->rowCount(); ++row) {
                listedKeys.push_back(key(table_->RowAt(row)));
                shownKeys.push_back(key(rebuilt[static_cast<std::size_t>(row)]));
            }
            ASSERT_EQ(listedKeys, shownKeys) << "burst " << burst;
            std::sort(listed.begin(), listed.end());
            std::sort(shown.begin(), shown.end());
            ASSERT_EQ(listed, shown) << "burst " << burst;
        }
    }
}

TEST_F(ResultTableModelTest, SelectionFollowsARowThatMovesWhenItsSizeArrives) {
    table_->SortBy(ResultColumn::Size);
    table_->SortBy(ResultColumn::Size);
    HandOver(*model_, MakeCoreResult(id_, 1, "small", 10));
    HandOver(*model_, MakeCoreResult(id_, 2, "large", 5000));
    const std::string link = AddWeb(3);
    Settle();
    ASSERT_EQ(Cell(0, ResultColumn::Filename), "web 3");
    QItemSelectionModel selection(table_.get());
    selection.select(table_->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    probes_->headers[link] = OkHeader(700);
    StartProbes(1);
    probes_->RunAll();
    Settle();
    EXPECT_EQ(Cell(1, ResultColumn::Filename), "web 3");
    EXPECT_EQ(Cell(1, ResultColumn::Size), "700");
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().front().row(), 1);
}

TEST_F(ResultTableModelTest, CountsReachTheTabsAndAFailedProbeRemovesItsRow) {
    QSignalSpy counts(table_.get(), &ResultTableModel::ResultCountChanged);
    HandOver(*model_, MakeCoreResult(id_, 1, "core", 10));
    AddWeb(2);
    Settle();
    ASSERT_EQ(counts.count(), 1);
    EXPECT_EQ(counts.takeFirst(), (QList<QVariant>{id_, 1}));
    EXPECT_EQ(table_->rowCount(), 2);
    StartProbes(1);
    probes_->RunAll();
    Settle();
    EXPECT_EQ(table_->rowCount(), 1);
    EXPECT_EQ(Cell(0, ResultColumn::Filename), "core");
    EXPECT_EQ(counts.count(), 0);
}

TEST_F(ResultTableModelTest, AFloodReachesTheViewAsOneInsertionAtTheTop) {
    HandOver(*model_, MakeCoreResult(id_, 0, "first", 10));
    Settle();
    QSignalSpy inserted(table_.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reordered(table_.get(), &QAbstractItemModel::layoutChanged);
    QSignalSpy reset(table_.get(), &QAbstractItemModel::modelReset);
    for (int i = 1; i <= 1000; ++i) {
        HandOver(*model_, MakeCoreResult(id_, i, "flood " + std::to_string(i), i));
    }
    Settle();
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 0);
    EXPECT_EQ(inserted[0][2].toInt(), 999);
    EXPECT_EQ(reordered.size() + reset.size(), 0);
    EXPECT_EQ(Cell(0, ResultColumn::Filename), "flood 1000");
    EXPECT_EQ(Cell(1000, ResultColumn::Filename), "first");
}

TEST_F(ResultTableModelTest, ResultsQueuedForARemovedSearchNeverShow) {
    HandOver(*model_, MakeCoreResult(id_, 1, "queued", 10));
    model_->RemoveSearch(id_);
    Settle();
    EXPECT_EQ(table_->rowCount(), 0);
}

}  // namespace
}  // namespace korvana
