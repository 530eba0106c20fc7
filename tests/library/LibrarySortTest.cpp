#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "library/LibrarySort.h"
#include "util/AsciiCase.h"

namespace korvana::test {
namespace {

// The list's own rule, row by row from the top: the first row that the new
// entry belongs before, else the end.
std::size_t WalkIndex(const std::vector<LibraryEntry>& rows, const LibraryEntry& entry,
                      const LibrarySort& sort) {
    if (sort.column != kSizeColumn && sort.column != kFilenameColumn) {
        return 0;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LibraryEntry& row = rows[i];
        bool stop = false;
        if (sort.column == kSizeColumn) {
            stop = sort.ascending ? row.size > entry.size : row.size < entry.size;
        } else {
            const int order = CompareIgnoringCase(row.fileName, entry.fileName);
            stop = sort.ascending ? order > 0 : order < 0;
        }
        if (stop) {
            return i;
        }
    }
    return rows.size();
}

std::vector<LibraryEntry> RandomEntries(std::mt19937& random, int count) {
    const std::vector<std::string> names = {"abc", "ABC", "abd", "Zed", "zed", "a", "b b", "~x"};
    std::vector<LibraryEntry> entries;
    for (int i = 0; i < count; ++i) {
        const std::string name = names[random() % names.size()];
        const std::int64_t size = static_cast<std::int64_t>(random() % 20) * 1'000'000'000;
        entries.push_back(MakeLibraryEntry("/d/" + std::to_string(i) + "/" + name, size));
    }
    return entries;
}

const LibrarySort kOrders[] = {{kSizeColumn, false},
                               {kSizeColumn, true},
                               {kFilenameColumn, false},
                               {kFilenameColumn, true},
                               {kPathColumn, false}};

TEST(LibrarySort, BinarySearchPlacesLikeTheWalkInEveryOrder) {
    std::mt19937 random(7);
    for (const LibrarySort& sort : kOrders) {
        for (int round = 0; round < 20; ++round) {
            std::vector<LibraryEntry> bySearch;
            std::vector<LibraryEntry> byWalk;
            for (const LibraryEntry& entry : RandomEntries(random, 60)) {
                const std::size_t searched = SortedInsertIndex(bySearch, entry, sort);
                const std::size_t walked = WalkIndex(byWalk, entry, sort);
                ASSERT_EQ(searched, walked) << "column " << sort.column;
                bySearch.insert(bySearch.begin() + static_cast<std::ptrdiff_t>(searched), entry);
                byWalk.insert(byWalk.begin() + static_cast<std::ptrdiff_t>(walked), entry);
            }
        }
    }
}

TEST(LibrarySort, RebuildEqualsInsertingEveryEntryInTurn) {
    std::mt19937 random(11);
    for (const LibrarySort& sort : kOrders) {
        const std::vector<LibraryEntry> listing = RandomEntries(random, 300);
        std::vector<LibraryEntry> inserted;
        for (const LibraryEntry& entry : listing) {
            inserted.insert(
                inserted.begin() + static_cast<std::ptrdiff_t>(WalkIndex(inserted, entry, sort)),
                entry);
        }
        EXPECT_EQ(SortedRows(listing, sort), inserted) << "column " << sort.column;
    }
}

TEST(LibrarySort, MergedArrivalsGoWhereInsertingEachInTurnPutsThem) {
    std::mt19937 random(13);
    for (const LibrarySort& sort : kOrders) {
        std::vector<LibraryEntry> walked;
        for (const LibraryEntry& entry : RandomEntries(random, 200)) {
            walked.insert(
                walked.begin() + static_cast<std::ptrdiff_t>(WalkIndex(walked, entry, sort)),
                entry);
        }
        std::vector<LibraryEntry> merged = walked;
        const std::vector<LibraryEntry> arrivals = RandomEntries(random, 150);
        for (const LibraryEntry& entry : arrivals) {
            walked.insert(
                walked.begin() + static_cast<std::ptrdiff_t>(WalkIndex(walked, entry, sort)),
                entry);
        }
        const std::vector<std::size_t> placed = MergeSortedRows(merged, arrivals, sort);
        EXPECT_EQ(merged, walked) << "column " << sort.column;
        ASSERT_EQ(placed.size(), arrivals.size());
        EXPECT_TRUE(std::is_sorted(placed.begin(), placed.end()));
        // The arrivals are the rows at those indexes, as a multiset of paths.
        std::vector<std::string> atPlaces;
        for (const std::size_t row : placed) {
            atPlaces.push_back(merged.at(row).fullPath);
        }
        std::vector<std::string> arrived;
        for (const LibraryEntry& entry : arrivals) {
            arrived.push_back(entry.fullPath);
        }
        std::sort(atPlaces.begin(), atPlaces.end());
        std::sort(arrived.begin(), arrived.end());
        EXPECT_EQ(atPlaces, arrived) << "column " << sort.column;
    }
}

TEST(LibrarySort, SizesCompareAsNumbersAndNamesIgnoreCase) {
    const std::vector<LibraryEntry> listing = {
        MakeLibraryEntry("/d/nine", 9), MakeLibraryEntry("/d/ten", 10),
        MakeLibraryEntry("/d/big", 5'000'000'000), MakeLibraryEntry("/d/Beta", 1)};
    const auto paths = [](const std::vector<LibraryEntry>& rows) {
        std::vector<std::string> out;
        for (const LibraryEntry& row : rows) {
            out.push_back(row.fileName);
        }
        return out;
    };
    EXPECT_EQ(paths(SortedRows(listing, {kSizeColumn, true})),
              (std::vector<std::string>{"Beta", "nine", "ten", "big"}));
    EXPECT_EQ(paths(SortedRows(listing, {kFilenameColumn, true})),
              (std::vector<std::string>{"Beta", "big", "nine", "ten"}));
    EXPECT_EQ(listing[2].sizeText, "5000000000");
}

TEST(LibrarySort, TagColumnsSortNumbersAsNumbersTextsIgnoringCaseAndBlanksLast) {
    const auto tagged = [](const std::string& name, const std::string& artist, int length,
                           int bitrate) {
        LibraryEntry entry = MakeLibraryEntry("/d/" + name, 1);
        entry.tags.artist = artist;
        entry.tags.lengthSeconds = length;
        entry.tags.bitrateKbps = bitrate;
        return entry;
    };
    const std::vector<LibraryEntry> listing = {tagged("a", "beta", 9, 320), tagged("b", "", 0, 0),
                                               tagged("c", "Alpha", 65, 96),
                                               tagged("d", "ALPHA", 100, 128)};
    const auto names = [](const std::vector<LibraryEntry>& rows) {
        std::string out;
        for (const LibraryEntry& row : rows) {
            out += row.fileName;
        }
        return out;
    };
    EXPECT_EQ(names(SortedRows(listing, {kArtistColumn, true})), "cdab");
    EXPECT_EQ(names(SortedRows(listing, {kArtistColumn, false})), "acdb");
    EXPECT_EQ(names(SortedRows(listing, {kLengthColumn, true})), "acdb");
    EXPECT_EQ(names(SortedRows(listing, {kLengthColumn, false})), "dcab");
    EXPECT_EQ(names(SortedRows(listing, {kBitrateColumn, true})), "cdab");
    EXPECT_EQ(names(SortedRows(listing, {kTitleColumn, true})), "abcd");
    for (const int column : {kArtistColumn, kLengthColumn, kBitrateColumn}) {
        for (const bool ascending : {true, false}) {
            const LibrarySort sort{column, ascending};
            std::vector<LibraryEntry> rows;
            for (const LibraryEntry& entry : listing) {
                rows.insert(rows.begin() +
                                static_cast<std::ptrdiff_t>(SortedInsertIndex(rows, entry, sort)),
                            entry);
            }
            EXPECT_EQ(rows, SortedRows(listing, sort)) << column;
        }
    }
}

TEST(LibraryEntry, NameIsTheLastPathPart) {
    EXPECT_EQ(MakeLibraryEntry("/a/b/song.mp3", 3).fileName, "song.mp3");
    EXPECT_EQ(MakeLibraryEntry("song.mp3", 3).fileName, "song.mp3");
    EXPECT_EQ(MakeLibraryEntry("/a/x", -1).sizeText, "0");
}

}  // namespace
}  // namespace korvana::test
