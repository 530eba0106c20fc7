#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <string>
#include <thread>
#include <vector>

#include "controls/RowTableModel.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

struct NamedRow {
    int id = 0;
    std::string name;
};

int RowKey(const NamedRow& row) {
    return row.id;
}

using Change = RowChange<NamedRow>;

// A list as the logic keeps one: steps queued under a lock, a notice raised.
class QueuedList {
  public:
    void Queue(Change change) {
        {
            const std::lock_guard lock(mutex_);
            queued_.push_back(std::move(change));
        }
        notice_.Raise();
    }
    RowChanges<NamedRow> Take() {
        const std::lock_guard lock(mutex_);
        notice_.Taken();
        ++takes_;
        return std::exchange(queued_, {});
    }
    ChangeNotice& Notice() { return notice_; }
    int Takes() const { return takes_; }

  private:
    std::mutex mutex_;
    RowChanges<NamedRow> queued_;
    ChangeNotice notice_;
    int takes_ = 0;
};

class NamedTable final : public RowTableModel<NamedRow> {
  public:
    explicit NamedTable(QueuedList& list)
        : RowTableModel(std::chrono::milliseconds(20)), list_(list) {
        list_.Notice().SetListener(&Notices());
    }
    ~NamedTable() override { list_.Notice().SetListener(nullptr); }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole) {
            return {};
        }
        const NamedRow& row = RowAt(index.row());
        return index.column() == 0 ? QVariant(row.id) : QVariant(QString::fromStdString(row.name));
    }

    std::vector<int> Ids() const {
        std::vector<int> ids;
        for (const NamedRow& row : Rows()) {
            ids.push_back(row.id);
        }
        return ids;
    }

  private:
    RowChanges<NamedRow> TakeChanges() override { return list_.Take(); }

    QueuedList& list_;
};

std::vector<NamedRow> Rows(std::initializer_list<int> ids) {
    std::vector<NamedRow> rows;
    for (const int id : ids) {
        rows.push_back({id, "row " + std::to_string(id)});
    }
    return rows;
}

class RowTableModelTest : public ::testing::Test {
  protected:
    QueuedList list_;
    NamedTable table_{list_};
    QAbstractItemModelTester tester_{&table_,
                                     QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(RowTableModelTest, StepsReachTheViewAsRangesInTheirOrder) {
    table_.Apply({Change::Reset(Rows({1, 2, 3, 4}))});
    QSignalSpy inserted(&table_, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&table_, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(&table_, &QAbstractItemModel::rowsMoved);
    QSignalSpy changed(&table_, &QAbstractItemModel::dataChanged);

    table_.Apply({Change::Inserted(1, Rows({7, 8})), Change::Removed(4, 2), Change::Moved(0, 2),
                  Change::Changed(0, {{7, "seven"}})});

    EXPECT_EQ(table_.Ids(), (std::vector<int>{7, 8, 1, 2}));
    EXPECT_EQ(table_.RowAt(0).name, "seven");
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(inserted[0][2].toInt(), 2);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 4);
    EXPECT_EQ(removed[0][2].toInt(), 5);
    ASSERT_EQ(moved.size(), 1);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().column(), 1);
}

TEST_F(RowTableModelTest, SelectionFollowsItsRowsThroughMovesAndReorderings) {
    table_.Apply({Change::Reset(Rows({1, 2, 3, 4}))});
    QItemSelectionModel selection(&table_);
    selection.setCurrentIndex(table_.index(1, 0), QItemSelectionModel::SelectCurrent);

    table_.Apply({Change::Moved(1, 3)});
    EXPECT_EQ(table_.RowAt(selection.currentIndex().row()).id, 2);

    table_.Apply({Change::Reordered(Rows({2, 4, 3, 1}))});
    ASSERT_TRUE(selection.currentIndex().isValid());
    EXPECT_EQ(selection.currentIndex().row(), 0);
    EXPECT_EQ(table_.Ids(), (std::vector<int>{2, 4, 3, 1}));
}

TEST_F(RowTableModelTest, EmptyStepsTellTheViewNothing) {
    table_.Apply({Change::Reset(Rows({1, 2}))});
    QSignalSpy inserted(&table_, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&table_, &QAbstractItemModel::rowsRemoved);
    QSignalSpy moved(&table_, &QAbstractItemModel::rowsMoved);

    table_.Apply({Change::Inserted(1, {}), Change::Removed(0, 0), Change::Moved(1, 1)});

    EXPECT_EQ(inserted.size() + removed.size() + moved.size(), 0);
    EXPECT_EQ(table_.Ids(), (std::vector<int>{1, 2}));
}

TEST_F(RowTableModelTest, ABurstFromAnotherThreadIsTakenInFewDrains) {
    std::thread producer([this] {
        for (int id = 0; id < 300; ++id) {
            list_.Queue(Change::Inserted(0, {{id, "r"}}));
        }
    });
    producer.join();

    ASSERT_TRUE(test::WaitUntil([this] { return table_.rowCount() == 300; }));
    EXPECT_EQ(list_.Takes(), 1);
    EXPECT_EQ(table_.RowAt(0).id, 299);

    list_.Queue(Change::Removed(0, 1));
    ASSERT_TRUE(test::WaitUntil([this] { return table_.rowCount() == 299; }));
    EXPECT_EQ(list_.Takes(), 2);
}

TEST(RowChangesTest, APlainCopyTakesTheStepsLikeAView) {
    std::vector<NamedRow> rows = Rows({1, 2, 3});
    ApplyRowChanges(rows, {Change::Moved(2, 0), Change::Inserted(3, Rows({9})),
                           Change::Removed(1, 1), Change::Changed(0, {{3, "three"}})});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "three");
    EXPECT_EQ(rows[1].id, 2);
    EXPECT_EQ(rows[2].id, 9);
}

TEST(ChangeNoticeTest, RaisesOncePerTakeAndNeverAfterDetaching) {
    struct Counting : ChangeListener {
        int calls = 0;
        void OnChangesWaiting() override { ++calls; }
    } listener;
    ChangeNotice notice;
    notice.Raise();
    notice.SetListener(&listener);
    notice.Raise();
    notice.Raise();
    EXPECT_EQ(listener.calls, 1);
    notice.Taken();
    notice.Raise();
    EXPECT_EQ(listener.calls, 2);
    notice.SetListener(nullptr);
    notice.Taken();
    notice.Raise();
    EXPECT_EQ(listener.calls, 2);
}

}  // namespace
}  // namespace korvana
