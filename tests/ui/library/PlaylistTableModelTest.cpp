#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <string>
#include <vector>

#include "library/Playlist.h"
#include "library/ui/PlaylistTableModel.h"
#include "tests/ui/UiWait.h"

namespace korvana::test {
namespace {

Track TrackNamed(const std::string& name) {
    return Track{name, "/dl/" + name};
}

std::vector<std::string> Titles(const QAbstractItemModel& model) {
    std::vector<std::string> titles;
    for (int row = 0; row < model.rowCount(); ++row) {
        titles.push_back(model.index(row, 0).data().toString().toStdString());
    }
    return titles;
}

// The playlist's table, watched by Qt's model tester, which fails the test
// at the first step that leaves the model inconsistent.
class PlaylistTableModelTest : public ::testing::Test {
  protected:
    void Fill(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            playlist.Append(TrackNamed(name));
        }
        table.DrainNow();
    }

    Playlist playlist;
    PlaylistTableModel table{playlist};
    QAbstractItemModelTester tester{&table, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(PlaylistTableModelTest, EachEditReachesTheViewAsItsOwnStepAndTheSelectionFollows) {
    QSignalSpy inserted(&table, &QAbstractItemModel::rowsInserted);
    QSignalSpy moved(&table, &QAbstractItemModel::rowsMoved);
    QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
    QSignalSpy resets(&table, &QAbstractItemModel::modelReset);
    Fill({"a", "b", "c", "d"});
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][2].toInt(), 3);
    QItemSelectionModel selection(&table);
    selection.select(table.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    playlist.Select(3);

    playlist.MoveSelectedUp();
    playlist.MoveSelectedUp();
    table.DrainNow();
    EXPECT_EQ(Titles(table), (std::vector<std::string>{"a", "d", "b", "c"}));
    EXPECT_EQ(moved.size(), 2);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows()[0].row(), 1);

    playlist.MoveSelectedDown();
    playlist.Select(0);
    playlist.RemoveSelected();
    table.DrainNow();
    EXPECT_EQ(Titles(table), (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_EQ(removed.size(), 1);
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows()[0].data().toString().toStdString(), "d");

    playlist.Clear();
    table.DrainNow();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_EQ(resets.size(), 0);
}

TEST_F(PlaylistTableModelTest, EditsReachTheViewWithoutBeingAskedFor) {
    playlist.Append(TrackNamed("a"));
    playlist.Append(TrackNamed("b"));
    ASSERT_TRUE(WaitUntil([&] { return table.rowCount() == 2; }));
    EXPECT_EQ(table.index(1, 1).data().toString().toStdString(), "/dl/b");
}

TEST(PlaylistTableModel, AViewMadeLaterStartsFromTheRowsAsTheyStand) {
    Playlist playlist;
    playlist.Append(TrackNamed("a"));
    playlist.Append(TrackNamed("b"));
    PlaylistTableModel table(playlist);
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(Titles(table), (std::vector<std::string>{"a", "b"}));
    playlist.Append(TrackNamed("c"));
    table.DrainNow();
    EXPECT_EQ(Titles(table), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace korvana::test
