#include <gtest/gtest.h>

#include "tests/support/CountingChangeListener.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <set>

#include "library/LibraryModel.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

using Step = RowChange<LibraryEntry>;

// Where row `row` is after the row at `from` moved to `to`.
std::size_t MovedRow(std::size_t row, std::size_t from, std::size_t to) {
    if (row == from) {
        return to;
    }
    if (from < row && row <= to) {
        return row - 1;
    }
    if (to <= row && row < from) {
        return row + 1;
    }
    return row;
}

// Where the selected rows are after one step; a Reset forgets them.
std::set<std::size_t> FollowSelection(const std::set<std::size_t>& selected, const Step& step) {
    std::set<std::size_t> moved;
    for (const std::size_t row : selected) {
        switch (step.kind) {
            case Step::Kind::Moved:
                moved.insert(MovedRow(row, step.first, step.to));
                break;
            case Step::Kind::Inserted:
                moved.insert(row >= step.first ? row + step.rows.size() : row);
                break;
            case Step::Kind::Removed:
                if (row < step.first) {
                    moved.insert(row);
                } else if (row >= step.first + step.count) {
                    moved.insert(row - step.count);
                }
                break;
            case Step::Kind::Changed:
                moved.insert(row);
                break;
            case Step::Kind::Reordered:
            case Step::Kind::Reset:
                break;
        }
    }
    return moved;
}

// Where the selected rows are after a reordering: with their files.
std::set<std::size_t> FollowByPath(const std::set<std::size_t>& selected,
                                   const std::vector<LibraryEntry>& before,
                                   const std::vector<LibraryEntry>& after) {
    std::set<std::size_t> moved;
    for (const std::size_t row : selected) {
        const auto found = std::find_if(after.begin(), after.end(), [&](const LibraryEntry& e) {
            return e.fullPath == before[row].fullPath;
        });
        if (found != after.end()) {
            moved.insert(static_cast<std::size_t>(found - after.begin()));
        }
    }
    return moved;
}

// What a view over the library does: takes the queued steps, checks each
// is in range, applies them to its own copy and moves the selected row
// numbers as a view would.
struct TableMirror {
    std::vector<LibraryEntry> rows;
    std::set<std::size_t> selected;
    RowChanges<LibraryEntry> taken;

    void Take(LibraryModel& model) {
        taken = model.TakeChanges();
        for (const Step& step : taken) {
            const bool sized = step.kind == Step::Kind::Inserted ||
                               step.kind == Step::Kind::Changed || step.kind == Step::Kind::Reset;
            ASSERT_TRUE(!sized || step.rows.size() == step.count);
            if (step.kind == Step::Kind::Inserted) {
                ASSERT_LE(step.first, rows.size());
                ASSERT_FALSE(step.rows.empty());
            } else if (step.kind == Step::Kind::Removed || step.kind == Step::Kind::Changed) {
                ASSERT_GT(step.count, 0u);
                ASSERT_LE(step.first + step.count, rows.size());
            } else if (step.kind == Step::Kind::Moved) {
                ASSERT_LT(step.first, rows.size());
                ASSERT_LT(step.to, rows.size());
            }
            if (step.kind == Step::Kind::Reordered) {
                ASSERT_EQ(step.rows.size(), rows.size());
                selected = FollowByPath(selected, rows, step.rows);
            } else {
                selected = FollowSelection(selected, step);
            }
            ApplyRowChanges(rows, {step});
        }
    }
    std::vector<Step::Kind> Kinds() const {
        std::vector<Step::Kind> kinds;
        for (const Step& step : taken) {
            kinds.push_back(step.kind);
        }
        return kinds;
    }
};

std::vector<std::string> Names(const std::vector<LibraryEntry>& rows) {
    std::vector<std::string> names;
    for (const LibraryEntry& row : rows) {
        names.push_back(row.fileName);
    }
    return names;
}

LibraryEntry Entry(const std::string& name, std::int64_t size) {
    return MakeLibraryEntry("/dl/" + name, size);
}

TEST(LibraryModel, FirstScanFillsTheListInSortOrderAtOnce) {
    LibraryModel model;
    TableMirror table;
    model.ApplyScan({Entry("a", 5), Entry("b", 9), Entry("c", 5)});
    table.Take(model);
    EXPECT_EQ(table.Kinds(), std::vector<Step::Kind>{Step::Kind::Reset});
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(table.rows, model.Rows());
}

TEST(LibraryModel, LaterScansOnlyAddAndRemoveRows) {
    LibraryModel model;
    TableMirror table;
    model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 20)});
    table.Take(model);
    table.selected = {0, 2};  // a and c
    model.ApplyScan({Entry("a", 50), Entry("c", 30), Entry("e", 35), Entry("f", 99), Entry("d", 20),
                     Entry("g", 30)});
    table.Take(model);
    // b out; f, e, g in, apart
    EXPECT_EQ(table.Kinds(), (std::vector<Step::Kind>{Step::Kind::Removed, Step::Kind::Inserted,
                                                      Step::Kind::Inserted, Step::Kind::Inserted}));
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"f", "a", "e", "c", "g", "d"}));
    std::vector<std::string> selected;
    for (std::size_t row : table.selected) {
        selected.push_back(model.Rows()[row].fileName);
    }
    EXPECT_EQ(selected, (std::vector<std::string>{"a", "c"}));
}

// A file first seen while it was still being written must not keep the size
// it had then, nor the place that size gave it.
TEST(LibraryModel, AFileWhoseSizeChangedShowsItAtItsNewPlaceAndStaysSelected) {
    LibraryModel model;
    TableMirror table;
    model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 20)});
    table.Take(model);
    table.selected = {1, 3};  // b and d
    model.ApplyScan(
        {Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 45), Entry("e", 0)});
    table.Take(model);
    // d moves, then shows its size; then e comes in.
    EXPECT_EQ(table.Kinds(), (std::vector<Step::Kind>{Step::Kind::Moved, Step::Kind::Changed,
                                                      Step::Kind::Inserted}));
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "d", "b", "c", "e"}));
    EXPECT_EQ(model.Rows()[1].sizeText, "45");
    EXPECT_EQ(table.selected, (std::set<std::size_t>{1, 2}));  // d and b

    // Growing and shrinking the other way, and one file that keeps its place.
    model.ApplyScan(
        {Entry("a", 10), Entry("b", 40), Entry("c", 30), Entry("d", 45), Entry("e", 99)});
    table.Take(model);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"e", "d", "b", "c", "a"}));
    EXPECT_EQ(table.selected, (std::set<std::size_t>{1, 2}));
    model.ApplyScan(
        {Entry("a", 10), Entry("b", 41), Entry("c", 30), Entry("d", 45), Entry("e", 99)});
    table.Take(model);
    ASSERT_EQ(table.Kinds(), std::vector<Step::Kind>{Step::Kind::Changed});
    EXPECT_EQ(table.taken[0].first, 2u);
    EXPECT_EQ(table.rows[2].sizeText, "41");
    EXPECT_EQ(table.selected, (std::set<std::size_t>{1, 2}));
}

// What inserting the arrivals one at a time at their sorted places gives.
std::vector<LibraryEntry> OneByOne(std::vector<LibraryEntry> rows,
                                   const std::vector<LibraryEntry>& arrivals,
                                   const LibrarySort& sort) {
    for (const LibraryEntry& entry : arrivals) {
        rows.insert(
            rows.begin() + static_cast<std::ptrdiff_t>(SortedInsertIndex(rows, entry, sort)),
            entry);
    }
    return rows;
}

TEST(LibraryModel, ArrivalsTogetherGoWhereOneByOneWouldAndNeighboursComeAsOne) {
    LibraryModel model;
    TableMirror table;
    std::vector<LibraryEntry> listing;
    for (int i = 0; i < 20; ++i) {
        listing.push_back(Entry("old" + std::to_string(i), 100 + 10 * i));
    }
    model.ApplyScan(listing);
    table.Take(model);
    table.selected = {0, 19};
    const std::vector<LibraryEntry> before = model.Rows();
    // Five equal to an old row, three between two old rows, two below all.
    std::vector<LibraryEntry> arrivals;
    for (int i = 0; i < 5; ++i) {
        arrivals.push_back(Entry("same" + std::to_string(i), 150));
    }
    for (int i = 0; i < 3; ++i) {
        arrivals.push_back(Entry("between" + std::to_string(i), 205 + i));
    }
    arrivals.push_back(Entry("small1", 1));
    arrivals.push_back(Entry("small0", 1));
    listing.insert(listing.begin() + 7, arrivals.begin(), arrivals.end());
    model.ApplyScan(listing);
    table.Take(model);
    EXPECT_EQ(table.Kinds(), std::vector<Step::Kind>(3, Step::Kind::Inserted));
    EXPECT_EQ(model.Rows(), OneByOne(before, arrivals, model.Sort()));
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(model.Rows()[*table.selected.begin()].fileName, "old19");
    EXPECT_EQ(model.Rows()[*table.selected.rbegin()].fileName, "old0");
}

TEST(LibraryModel, ScatteredArrivalsPastTheLimitResetTheViewsOnce) {
    LibraryModel model;
    std::vector<LibraryEntry> listing;
    for (int i = 0; i < 200; ++i) {
        listing.push_back(Entry("old" + std::to_string(i), 2 * i));
    }
    model.ApplyScan(listing);
    const std::vector<LibraryEntry> before = model.Rows();
    std::vector<LibraryEntry> arrivals;
    for (int i = 0; i < 150; ++i) {
        arrivals.push_back(Entry("new" + std::to_string(i), 2 * i + 1));  // one between each
    }
    listing.insert(listing.end(), arrivals.begin(), arrivals.end());
    model.ApplyScan(listing);
    TableMirror table;
    table.Take(model);
    EXPECT_EQ(table.Kinds(), std::vector<Step::Kind>{Step::Kind::Reset});
    EXPECT_EQ(model.Rows(), OneByOne(before, arrivals, model.Sort()));
    EXPECT_EQ(table.rows, model.Rows());

    // Removing them again: as many runs, so one reset again.
    listing.resize(200);
    model.ApplyScan(listing);
    table.Take(model);
    EXPECT_EQ(table.Kinds(), std::vector<Step::Kind>{Step::Kind::Reset});
    EXPECT_EQ(model.Rows(), before);
    EXPECT_EQ(table.rows, before);
}

TEST(LibraryModel, NeighbouringRowsThatGoAreOneRemoval) {
    LibraryModel model;
    TableMirror table;
    model.ApplyScan(
        {Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 20), Entry("e", 10)});
    table.Take(model);
    table.selected = {0, 4};
    model.ApplyScan({Entry("a", 50), Entry("e", 10)});
    table.Take(model);
    ASSERT_EQ(table.Kinds(), std::vector<Step::Kind>{Step::Kind::Removed});
    EXPECT_EQ(table.taken[0].count, 3u);
    EXPECT_EQ(Names(table.rows), (std::vector<std::string>{"a", "e"}));
    EXPECT_EQ(table.selected, (std::set<std::size_t>{0, 1}));
}

// A growing file's scan brings its size alone; the listing follows it too,
// so a later sort shows it.
TEST(LibraryModel, ResizedFilesMoveWithoutAFullListing) {
    LibraryModel model;
    TableMirror table;
    model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30)});
    table.Take(model);
    table.selected = {2};
    LibraryScan scan;
    scan.resized = {Entry("c", 60), Entry("gone", 5)};
    model.Apply(std::move(scan));
    table.Take(model);
    EXPECT_EQ(table.Kinds(), (std::vector<Step::Kind>{Step::Kind::Moved, Step::Kind::Changed}));
    EXPECT_EQ(Names(table.rows), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(table.rows[0].sizeText, "60");
    EXPECT_EQ(table.selected, (std::set<std::size_t>{0}));
    EXPECT_EQ(model.Listing()[2].sizeText, "60");
}

TEST(LibraryModel, PathsDifferingInCaseAreTwoFiles) {
    LibraryModel model;
    model.ApplyScan({Entry("Song.mp3", 1)});
    model.ApplyScan({Entry("Song.mp3", 1), Entry("song.mp3", 1)});
    EXPECT_EQ(model.Rows().size(), 2u);
    model.ApplyScan({Entry("song.mp3", 1)});
    ASSERT_EQ(model.Rows().size(), 1u);
    EXPECT_EQ(model.Rows()[0].fileName, "song.mp3");
}

TEST(LibraryModel, ColumnClicksToggleTheSortAndItsHeaderImages) {
    LibraryModel model;
    model.ApplyScan({Entry("b", 1), Entry("Z", 3), Entry("a", 2)});
    EXPECT_EQ(model.HeaderImage(kSizeColumn), kHeaderDescending);

    model.ClickColumn(kSizeColumn);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"b", "a", "Z"}));
    EXPECT_EQ(model.HeaderImage(kSizeColumn), kHeaderAscending);
    EXPECT_EQ(model.HeaderImage(kFilenameColumn), kHeaderUnsorted);

    TableMirror table;
    table.Take(model);
    table.selected = {0, 2};  // b and Z
    model.ClickColumn(kFilenameColumn);
    table.Take(model);
    EXPECT_EQ(table.Kinds(), std::vector<Step::Kind>{Step::Kind::Reordered});
    EXPECT_EQ(Names(table.rows), (std::vector<std::string>{"Z", "b", "a"}));
    EXPECT_EQ(table.selected, (std::set<std::size_t>{0, 1}));
    EXPECT_EQ(model.HeaderImage(kFilenameColumn), kHeaderDescending);
    EXPECT_EQ(model.HeaderImage(kSizeColumn), kHeaderUnsorted);

    model.ClickColumn(kFilenameColumn);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "b", "Z"}));
    model.ApplyScan({Entry("b", 1), Entry("Z", 3), Entry("a", 2), Entry("c", 0)});
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "b", "c", "Z"}));
}

// Rows that arrived before the click and are still waiting for the view
// reach it first; the new order then takes every row, arrivals included.
TEST(LibraryModel, ASortWhileRowsArriveReordersAfterTheWaitingSteps) {
    LibraryModel model;
    TableMirror table;
    model.ApplyScan({Entry("b", 1), Entry("d", 3)});
    table.Take(model);
    table.selected = {1};  // b
    model.ApplyScan({Entry("b", 1), Entry("d", 3), Entry("a", 2), Entry("c", 4)});
    model.ClickColumn(kFilenameColumn);
    table.Take(model);
    const std::vector<Step::Kind> kinds = table.Kinds();
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back(), Step::Kind::Reordered);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), Step::Kind::Reset), 0);
    EXPECT_EQ(Names(table.rows), (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(table.selected, std::set<std::size_t>{2});
}

TEST(LibraryModel, RefreshFollowsTheFolderAndKeepsOtherRows) {
    TempDir dir;
    const auto write = [&](const fs::path& relative, std::size_t bytes) {
        fs::create_directories((dir.Path() / relative).parent_path());
        std::ofstream(dir.Path() / relative) << std::string(bytes, 'x');
    };
    write("one.mp3", 300);
    write("sub/two.mp3", 200);
    write("sub/deeper/three.mp3", 100);
    LibraryScanner scanner(dir.Path());
    LibraryModel model;
    TableMirror table;
    model.Refresh(scanner);
    table.Take(model);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"one.mp3", "two.mp3", "three.mp3"}));
    table.selected = {2};

    write("sub/deeper/new.mp3", 250);
    fs::remove(dir.Path() / "sub" / "two.mp3");
    model.Refresh(scanner);
    table.Take(model);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"one.mp3", "new.mp3", "three.mp3"}));
    ASSERT_EQ(table.selected.size(), 1u);
    EXPECT_EQ(model.Rows()[*table.selected.begin()].fileName, "three.mp3");
}

TEST(LibraryModel, AScanThatChangesNothingQueuesNothingAndRaisesNoNotice) {
    TempDir dir;
    std::ofstream(dir.Path() / "one.mp3") << "one";
    LibraryScanner scanner(dir.Path());
    LibraryModel model;
    test::CountingChangeListener listener;
    model.Notice().SetListener(&listener);
    model.Refresh(scanner);
    EXPECT_EQ(listener.raised.load(), 1);
    EXPECT_FALSE(model.TakeChanges().empty());

    model.Refresh(scanner);
    model.ApplyScan(model.Listing());
    model.Apply(LibraryScan{});
    EXPECT_EQ(listener.raised.load(), 1);
    EXPECT_TRUE(model.TakeChanges().empty());

    // An empty folder applied to an empty list is no change either.
    LibraryModel empty;
    empty.Notice().SetListener(&listener);
    empty.ApplyScan({});
    EXPECT_EQ(listener.raised.load(), 1);
    EXPECT_TRUE(empty.TakeChanges().empty());
    model.Notice().SetListener(nullptr);
    empty.Notice().SetListener(nullptr);
}

// A view that falls behind is not sent every step it missed: past the
// limit the waiting steps become one Reset to the rows as they stand, and
// later ones follow it.
TEST(LibraryModel, StepsLeftWaitingNeverPassTheLimit) {
    LibraryModel model;
    TableMirror table;
    std::vector<LibraryEntry> listing{Entry("first", 1'000)};
    model.ApplyScan(listing);
    table.Take(model);
    for (int i = 0; i < 40; ++i) {
        listing.push_back(Entry("n" + std::to_string(i), 1'000 + i));  // above all
        listing.push_back(Entry("s" + std::to_string(i), i));          // below all
        model.ApplyScan(listing);
    }
    table.Take(model);
    EXPECT_LE(table.taken.size(), LibraryModel::kMostRowEvents);
    ASSERT_FALSE(table.taken.empty());
    EXPECT_EQ(table.taken.front().kind, Step::Kind::Reset);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(table.rows.size(), 81u);
}

// Scans of every kind, taken at random moments: the view's copy always
// ends equal to the library's rows, and selected rows that stay keep
// their selection unless a Reset came.
TEST(LibraryModel, AViewTakingStepsAtAnyMomentEndsWithTheLibrarysRows) {
    std::mt19937 random(7);
    LibraryModel model;
    TableMirror table;
    std::vector<LibraryEntry> listing;
    for (int round = 0; round < 300; ++round) {
        const auto change = random() % 4;
        if (change == 0 || listing.empty()) {
            listing.push_back(Entry("f" + std::to_string(round), random() % 50));
        } else if (change == 1) {
            listing.erase(listing.begin() + static_cast<std::ptrdiff_t>(random() % listing.size()));
        } else if (change == 2) {
            LibraryEntry& grown = listing[random() % listing.size()];
            grown = MakeLibraryEntry(grown.fullPath, random() % 50);
        }
        model.ApplyScan(listing);
        if (random() % 3 != 0) {
            continue;
        }
        std::set<std::string> before;
        for (const std::size_t row : table.selected) {
            before.insert(table.rows[row].fullPath);
        }
        table.Take(model);
        ASSERT_EQ(table.rows, model.Rows()) << "round " << round;
        std::set<std::string> after;
        for (const std::size_t row : table.selected) {
            after.insert(table.rows[row].fullPath);
        }
        const std::vector<Step::Kind> kinds = table.Kinds();
        const bool reset = std::count(kinds.begin(), kinds.end(), Step::Kind::Reset) > 0;
        for (const std::string& path : before) {
            const bool stays =
                std::any_of(listing.begin(), listing.end(),
                            [&](const LibraryEntry& e) { return e.fullPath == path; });
            EXPECT_EQ(after.count(path) == 1, stays && !reset) << path << " round " << round;
        }
        table.selected.clear();
        for (std::size_t row = 0; row < table.rows.size(); row += 3) {
            table.selected.insert(row);
        }
    }
}

}  // namespace
}  // namespace korvana::test
