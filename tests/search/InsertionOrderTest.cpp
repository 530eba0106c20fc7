#include <gtest/gtest.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "SearchTestSupport.h"
#include "search/ResultList.h"
#include "search/ResultRows.h"

namespace korvana {
namespace {

// The insertion rule written as a walk from the top over the column texts,
// the straightforward way, to check the binary search and the sorts against.
long long NumberOf(const std::string& text) {
    return text == "Unknown" || text == "-" ? 0 : std::atoll(text.c_str());
}

int LinearCompare(const ListedRow& a, const ListedRow& b, ResultColumn column) {
    const std::string ta =
        ColumnText(a, column == ResultColumn::Status ? ResultColumn::Size : column);
    const std::string tb =
        ColumnText(b, column == ResultColumn::Status ? ResultColumn::Size : column);
    if (column == ResultColumn::Filename || column == ResultColumn::Net) {
        return ::strcasecmp(ta.c_str(), tb.c_str());
    }
    const long long na = NumberOf(ta);
    const long long nb = NumberOf(tb);
    return na < nb ? -1 : (na > nb ? 1 : 0);
}

void LinearInsert(std::vector<ListedRow>& rows, const ListedRow& row, RowOrdering ordering) {
    std::size_t at = 0;
    if (ordering.column && *ordering.column != ResultColumn::Link) {
        while (at < rows.size()) {
            const int order = LinearCompare(rows[at], row, *ordering.column);
            if (ordering.ascending ? order > 0 : order < 0) {
                break;
            }
            ++at;
        }
    }
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), row);
}

// Results with few distinct keys, so that equal keys are common.
class RandomResults {
  public:
    explicit RandomResults(unsigned seed) : random_(seed) {}

    ListedRow Next() {
        SearchResult& result = store_->emplace_back();
        result.fromCore = Pick(3) != 0;
        static const char* kNames[] = {"abc.mp3", "ABC.mp3", "b.mp3", "Zed.mp3", "a", ""};
        static const std::string kNets[] = {"Donkey", "donkey", "BitTorrent", "unknown"};
        const std::string name = kNames[Pick(6)];
        if (result.fromCore) {
            result.size = static_cast<std::int64_t>(Pick(5)) * (1LL << 31);
            test::HandedCoreResult core = test::MakeCoreResult(
                0, static_cast<std::int32_t>(store_->size()), name, result.size);
            core->sources = static_cast<std::int32_t>(Pick(4));
            core->bitrate = static_cast<std::int32_t>(Pick(3)) * 64;
            result.core = core.record;
            result.network = &kNets[Pick(4)];
        } else {
            const int state = static_cast<int>(Pick(3));
            result.probe = state == 0 ? ProbeState::New
                                      : (state == 1 ? ProbeState::Probing : ProbeState::SizeKnown);
            result.size = result.probe == ProbeState::SizeKnown ? 1 + Pick(4) * 1000 : 0;
            result.web = std::make_unique<WebLocation>(
                WebLocation{name, "http://127.0.0.1/" + std::to_string(store_->size())});
        }
        return MakeRow(std::shared_ptr<const SearchResult>(store_, &result));
    }

  private:
    std::uint64_t Pick(std::uint64_t n) { return random_() % n; }

    std::mt19937_64 random_;
    std::shared_ptr<std::deque<SearchResult>> store_ = std::make_shared<std::deque<SearchResult>>();
};

std::vector<RowOrdering> EveryOrdering() {
    std::vector<RowOrdering> orderings = {RowOrdering{}};
    for (int column = 0; column < kResultColumnCount; ++column) {
        for (bool ascending : {false, true}) {
            orderings.push_back(RowOrdering{static_cast<ResultColumn>(column), ascending});
        }
    }
    return orderings;
}

std::vector<const SearchResult*> Order(const std::vector<ListedRow>& rows) {
    std::vector<const SearchResult*> order;
    for (const ListedRow& row : rows) {
        order.push_back(row.result.get());
    }
    return order;
}

std::string Describe(RowOrdering ordering) {
    return ordering.column ? "column " + std::to_string(static_cast<int>(*ordering.column)) +
                                 (ordering.ascending ? " ascending" : " descending")
                           : "unsorted";
}

TEST(InsertionOrder, BinarySearchPlacesEveryRowWhereTheLinearWalkDoes) {
    for (const RowOrdering ordering : EveryOrdering()) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            RandomResults results(seed);
            std::vector<ListedRow> linear;
            std::vector<ListedRow> searched;
            for (int i = 0; i < 60; ++i) {
                const ListedRow row = results.Next();
                LinearInsert(linear, row, ordering);
                const std::size_t at = InsertPosition(searched, row, ordering);
                searched.insert(searched.begin() + static_cast<std::ptrdiff_t>(at), row);
            }
            ASSERT_EQ(Order(searched), Order(linear)) << Describe(ordering) << " seed " << seed;
        }
    }
}

TEST(InsertionOrder, OneStableSortEqualsInsertingNewestFirst) {
    for (const RowOrdering ordering : EveryOrdering()) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            RandomResults results(seed);
            std::vector<ListedRow> newestFirst;
            std::vector<ListedRow> linear;
            for (int i = 0; i < 80; ++i) {
                newestFirst.push_back(results.Next());
                LinearInsert(linear, newestFirst.back(), ordering);
            }
            OrderAsInserted(newestFirst, ordering);
            ASSERT_EQ(Order(newestFirst), Order(linear)) << Describe(ordering) << " seed " << seed;
        }
    }
}

// Applies one event to the list the straightforward way: a probe's report
// deletes the row and inserts it again, or only deletes it.
void LinearApply(std::vector<ListedRow>& rows, const ListEvent& event, RowOrdering ordering) {
    if (event.kind != ListEvent::Kind::Added) {
        const auto listed = std::find_if(rows.begin(), rows.end(), [&](const ListedRow& row) {
            return row.result == event.row.result;
        });
        if (listed == rows.end()) {
            return;
        }
        rows.erase(listed);
        if (event.kind == ListEvent::Kind::Failed) {
            return;
        }
    }
    LinearInsert(rows, event.row, ordering);
}

// Random batches of new rows and probe reports, some for rows that arrive
// in the same batch.
std::vector<ListEvent> RandomBatch(RandomResults& results, std::vector<ListedRow>& unprobed,
                                   std::mt19937& random) {
    std::vector<ListEvent> batch;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
        if (unprobed.empty() || random() % 3 != 0) {
            ListedRow row = results.Next();
            if (!row.SizeKnown()) {
                unprobed.push_back(row);
            }
            batch.push_back({ListEvent::Kind::Added, row});
            continue;
        }
        const std::size_t pick = random() % unprobed.size();
        ListedRow row = unprobed[pick];
        unprobed.erase(unprobed.begin() + static_cast<std::ptrdiff_t>(pick));
        if (random() % 2 == 0) {
            batch.push_back({ListEvent::Kind::Failed, row});
        } else {
            row.probe = ProbeState::SizeKnown;
            row.size = 1 + static_cast<std::int64_t>(random() % 3) * 1000;
            batch.push_back({ListEvent::Kind::Sized, row});
        }
    }
    return batch;
}

// The kinds of the steps, in order, for checking how the view is told.
std::string Kinds(const RowChanges<ListedRow>& steps) {
    std::string kinds;
    for (const RowChange<ListedRow>& step : steps) {
        static const char kLetters[] = "IRCMOZ";
        kinds += kLetters[static_cast<int>(step.kind)];
    }
    return kinds;
}

TEST(InsertionOrder, BatchesOfEventsEqualApplyingEachEventInTurn) {
    for (const RowOrdering ordering : EveryOrdering()) {
        for (unsigned seed = 1; seed <= 10; ++seed) {
            RandomResults results(seed);
            std::mt19937 random(seed);
            std::vector<ListedRow> unprobed;
            std::vector<ListedRow> linear;
            std::vector<ListedRow> list;
            for (int round = 0; round < 25; ++round) {
                const std::vector<ListEvent> batch = RandomBatch(results, unprobed, random);
                for (const ListEvent& event : batch) {
                    LinearApply(linear, event, ordering);
                }
                const RowChanges<ListedRow> steps = ListSteps(list, batch, ordering);
                // Removals first, then at most one insertion and one reordering.
                const std::string kinds = Kinds(steps);
                const std::size_t removals = kinds.find_first_not_of('R');
                EXPECT_TRUE(removals == std::string::npos || kinds.substr(removals) == "I" ||
                            kinds.substr(removals) == "IO" || kinds.substr(removals) == "O")
                    << kinds;
                ApplyRowChanges(list, steps);
                ASSERT_EQ(Order(list), Order(linear))
                    << Describe(ordering) << " seed " << seed << " round " << round;
                for (std::size_t i = 0; i < linear.size(); ++i) {
                    ASSERT_EQ(list[i].size, linear[i].size);
                }
            }
        }
    }
}

ListedRow WebRow(RandomResults& results) {
    ListedRow row = results.Next();
    while (row.result->fromCore) {
        row = results.Next();
    }
    return row;
}

TEST(InsertionOrder, AFloodIsOneBlockAndFailedRowsGoAsRunsFromTheBottom) {
    RandomResults results(7);
    std::vector<ListEvent> flood;
    for (int i = 0; i < 1000; ++i) {
        flood.push_back({ListEvent::Kind::Added, results.Next()});
    }
    std::vector<ListedRow> list;
    RowChanges<ListedRow> steps = ListSteps(list, flood, RowOrdering{});
    ASSERT_EQ(Kinds(steps), "I");
    EXPECT_EQ(steps[0].rows.size(), 1000u);
    ApplyRowChanges(list, steps);
    // Newest on top.
    EXPECT_EQ(list.front().result, flood.back().row.result);

    std::vector<ListEvent> failures;
    for (const std::size_t at : {3u, 4u, 5u, 9u, 500u}) {
        failures.push_back({ListEvent::Kind::Failed, list[at]});
    }
    steps = ListSteps(list, failures, RowOrdering{});
    ASSERT_EQ(Kinds(steps), "RRR");
    EXPECT_EQ(steps[0].first, 500u);
    EXPECT_EQ(steps[1].first, 9u);
    EXPECT_EQ(steps[2].first, 3u);
    EXPECT_EQ(steps[2].count, 3u);
}

TEST(InsertionOrder, ScatteredArrivalsAreAppendedThenReorderedOnce) {
    RandomResults results(11);
    const RowOrdering bySize{ResultColumn::Size, true};
    std::vector<ListedRow> list;
    for (const std::int64_t size : {100, 300, 500}) {
        ListedRow row = WebRow(results);
        row.probe = ProbeState::SizeKnown;
        row.size = size;
        list.push_back(row);
    }
    std::vector<ListEvent> scattered;
    for (const std::int64_t size : {200, 400}) {
        ListedRow row = WebRow(results);
        row.probe = ProbeState::SizeKnown;
        row.size = size;
        scattered.push_back({ListEvent::Kind::Added, row});
    }
    const RowChanges<ListedRow> steps = ListSteps(list, scattered, bySize);
    ASSERT_EQ(Kinds(steps), "IO");
    EXPECT_EQ(steps[0].first, 3u);
    ApplyRowChanges(list, steps);
    std::vector<std::int64_t> sizes;
    for (const ListedRow& row : list) {
        sizes.push_back(row.size);
    }
    EXPECT_EQ(sizes, (std::vector<std::int64_t>{100, 200, 300, 400, 500}));
}

}  // namespace
}  // namespace korvana
