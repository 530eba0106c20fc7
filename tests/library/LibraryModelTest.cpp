#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "library/LibraryModel.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

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

// What a table model over the rows does with the events: applies each to
// its own copy, and moves the selected row numbers as a view would.
struct TableMirror {
    std::vector<LibraryEntry> rows;
    std::set<std::size_t> selected;

    void Apply(const std::vector<RowEvent>& events, const LibraryModel& model) {
        for (const RowEvent& event : events) {
            std::set<std::size_t> moved;
            if (event.kind == RowEvent::Kind::Reset) {
                rows = model.Rows();
                selected.clear();
                continue;
            }
            if (event.kind == RowEvent::Kind::Resized) {
                ASSERT_LT(event.row, rows.size());
                ASSERT_LT(event.to, rows.size());
                rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(event.row));
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(event.to), event.entry);
                for (std::size_t row : selected) {
                    moved.insert(MovedRow(row, event.row, event.to));
                }
            } else if (event.kind == RowEvent::Kind::Inserted) {
                ASSERT_LE(event.row, rows.size());
                ASSERT_FALSE(event.entries.empty());
                const std::size_t count = event.entries.size();
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(event.row),
                            event.entries.begin(), event.entries.end());
                for (std::size_t row : selected) {
                    moved.insert(row >= event.row ? row + count : row);
                }
            } else {
                ASSERT_GT(event.count, 0u);
                ASSERT_LE(event.row + event.count, rows.size());
                const auto first = rows.begin() + static_cast<std::ptrdiff_t>(event.row);
                rows.erase(first, first + static_cast<std::ptrdiff_t>(event.count));
                for (std::size_t row : selected) {
                    if (row < event.row) {
                        moved.insert(row);
                    } else if (row >= event.row + event.count) {
                        moved.insert(row - event.count);
                    }
                }
            }
            selected = moved;
        }
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
    const auto events = model.ApplyScan({Entry("a", 5), Entry("b", 9), Entry("c", 5)});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, RowEvent::Kind::Reset);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"b", "a", "c"}));
}

TEST(LibraryModel, LaterScansOnlyAddAndRemoveRows) {
    LibraryModel model;
    TableMirror table;
    table.Apply(model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 20)}),
                model);
    table.selected = {0, 2};  // a and c
    const auto events = model.ApplyScan({Entry("a", 50), Entry("c", 30), Entry("e", 35),
                                         Entry("f", 99), Entry("d", 20), Entry("g", 30)});
    for (const RowEvent& event : events) {
        EXPECT_NE(event.kind, RowEvent::Kind::Reset);
    }
    ASSERT_EQ(events.size(), 4u);  // b out; f, e, g in, apart
    table.Apply(events, model);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"f", "a", "e", "c", "g", "d"}));
    std::vector<std::string> selected;
    for (std::size_t row : table.selected) {
        selected.push_back(model.Rows()[row].fileName);
    }
    EXPECT_EQ(selected, (std::vector<std::string>{"a", "c"}));

    EXPECT_TRUE(model.ApplyScan(model.Listing()).empty());
}

// A file first seen while it was still being written must not keep the size
// it had then, nor the place that size gave it.
TEST(LibraryModel, AFileWhoseSizeChangedShowsItAtItsNewPlaceAndStaysSelected) {
    LibraryModel model;
    TableMirror table;
    table.Apply(model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 20)}),
                model);
    table.selected = {1, 3};  // b and d
    const auto events = model.ApplyScan(
        {Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 45), Entry("e", 0)});
    ASSERT_EQ(events.size(), 2u);  // d moved, then e in
    EXPECT_EQ(events[0].kind, RowEvent::Kind::Resized);
    table.Apply(events, model);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "d", "b", "c", "e"}));
    EXPECT_EQ(model.Rows()[1].sizeText, "45");
    EXPECT_EQ(table.selected, (std::set<std::size_t>{1, 2}));  // d and b

    // Growing and shrinking the other way, and one file that keeps its place.
    table.Apply(model.ApplyScan({Entry("a", 10), Entry("b", 40), Entry("c", 30), Entry("d", 45),
                                 Entry("e", 99)}),
                model);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"e", "d", "b", "c", "a"}));
    EXPECT_EQ(table.selected, (std::set<std::size_t>{1, 2}));
    const auto same = model.ApplyScan(
        {Entry("a", 10), Entry("b", 41), Entry("c", 30), Entry("d", 45), Entry("e", 99)});
    ASSERT_EQ(same.size(), 1u);
    EXPECT_EQ(same[0].row, 2u);
    EXPECT_EQ(same[0].to, 2u);
    EXPECT_EQ(model.Rows()[2].sizeText, "41");
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
    table.Apply(model.ApplyScan(listing), model);
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
    const auto events = model.ApplyScan(listing);
    ASSERT_EQ(events.size(), 3u);
    for (const RowEvent& event : events) {
        EXPECT_EQ(event.kind, RowEvent::Kind::Inserted);
    }
    EXPECT_EQ(model.Rows(), OneByOne(before, arrivals, model.Sort()));
    table.Apply(events, model);
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
    const auto events = model.ApplyScan(listing);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, RowEvent::Kind::Reset);
    EXPECT_EQ(model.Rows(), OneByOne(before, arrivals, model.Sort()));

    // Removing them again: as many runs, so one reset again.
    listing.resize(200);
    const auto removed = model.ApplyScan(listing);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].kind, RowEvent::Kind::Reset);
    EXPECT_EQ(model.Rows(), before);
}

TEST(LibraryModel, NeighbouringRowsThatGoAreOneRemoval) {
    LibraryModel model;
    TableMirror table;
    table.Apply(model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30), Entry("d", 20),
                                 Entry("e", 10)}),
                model);
    table.selected = {0, 4};
    const auto events = model.ApplyScan({Entry("a", 50), Entry("e", 10)});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, RowEvent::Kind::Removed);
    EXPECT_EQ(events[0].count, 3u);
    table.Apply(events, model);
    EXPECT_EQ(Names(table.rows), (std::vector<std::string>{"a", "e"}));
    EXPECT_EQ(table.selected, (std::set<std::size_t>{0, 1}));
}

// A growing file's scan brings its size alone; the listing follows it too,
// so a later sort shows it.
TEST(LibraryModel, ResizedFilesMoveWithoutAFullListing) {
    LibraryModel model;
    TableMirror table;
    table.Apply(model.ApplyScan({Entry("a", 50), Entry("b", 40), Entry("c", 30)}), model);
    table.selected = {2};
    LibraryScan scan;
    scan.resized = {Entry("c", 60), Entry("gone", 5)};
    const auto events = model.Apply(std::move(scan));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, RowEvent::Kind::Resized);
    table.Apply(events, model);
    EXPECT_EQ(Names(table.rows), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(table.selected, (std::set<std::size_t>{0}));
    EXPECT_EQ(model.Listing()[2].sizeText, "60");
    EXPECT_TRUE(model.Apply(LibraryScan{}).empty());
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

    const auto events = model.ClickColumn(kFilenameColumn);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, RowEvent::Kind::Reset);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"Z", "b", "a"}));
    EXPECT_EQ(model.HeaderImage(kFilenameColumn), kHeaderDescending);
    EXPECT_EQ(model.HeaderImage(kSizeColumn), kHeaderUnsorted);

    model.ClickColumn(kFilenameColumn);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "b", "Z"}));
    model.ApplyScan({Entry("b", 1), Entry("Z", 3), Entry("a", 2), Entry("c", 0)});
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "b", "c", "Z"}));
}

TEST(LibraryModel, EntriesAtSkipsRowsThatDoNotExist) {
    LibraryModel model;
    model.ApplyScan({Entry("a", 2), Entry("b", 1)});
    EXPECT_EQ(Names(model.EntriesAt({1, 7, 0})), (std::vector<std::string>{"b", "a"}));
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
    table.Apply(model.Refresh(scanner), model);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"one.mp3", "two.mp3", "three.mp3"}));
    table.selected = {2};

    write("sub/deeper/new.mp3", 250);
    fs::remove(dir.Path() / "sub" / "two.mp3");
    table.Apply(model.Refresh(scanner), model);
    EXPECT_EQ(table.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"one.mp3", "new.mp3", "three.mp3"}));
    ASSERT_EQ(table.selected.size(), 1u);
    EXPECT_EQ(model.Rows()[*table.selected.begin()].fileName, "three.mp3");
}

}  // namespace
}  // namespace korvana::test
