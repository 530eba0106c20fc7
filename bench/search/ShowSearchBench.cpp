// Showing a search of 100,000 mixed results, sorted by Size: one stable sort
// against inserting each row by a walk from the top, and the memory that the
// model's records and the core link's pool take.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "core/ResultPool.h"
#include "search/CoreCommands.h"
#include "search/SearchModel.h"

namespace korvana {
namespace {

constexpr int kResults = 100'000;

// One search of `count` results: four core results to one web result, core
// results with tags as the core sends them, kept in the core link's pool.
void Fill(ResultPool& pool, SearchModel& model, int count) {
    model.OpenSearch(0);
    std::mt19937_64 random(42);
    for (int i = 0; i < count; ++i) {
        if (i % 5 == 4) {
            model.AddWebResult(0, "http://127.0.0.1:4100/files/song" + std::to_string(i) + ".mp3",
                               "Web Song " + std::to_string(i) + ".mp3", WebEngineId::Engine2);
            continue;
        }
        CoreResult result;
        result.resultId = i;
        result.networkNumber = 1 + i % 2;
        result.name = "Some Artist - Some Title (" + std::to_string(i) + ").mp3";
        result.size = static_cast<std::int64_t>(random() % 9'000'000) + 1'000'000;
        result.format = "mp3";
        result.type = "Audio";
        result.tags = CoreTags({CoreTag{"bitrate", 0, 192, {}},
                                CoreTag{"availability", 0, static_cast<std::int32_t>(i % 40), {}}});
        pool.Add(result);
        model.AddCoreResult(pool.Find(i), 0, i % 2 == 0 ? "BitTorrent" : "Donkey");
    }
}

struct FilledModel {
    FilledModel() {
        const long before = bench::ResidentBytes();
        model = std::make_unique<SearchModel>();
        Fill(pool, *model, kResults);
        bytesPerResult = static_cast<double>(bench::ResidentBytes() - before) / kResults;
        model->ShowSearch(0);
        model->SortBy(ResultColumn::Size);
    }
    ResultPool pool;
    std::unique_ptr<SearchModel> model;
    double bytesPerResult = 0;
};

FilledModel& Filled() {
    static FilledModel filled;
    return filled;
}

void BM_ShowSearchSortedBySize(benchmark::State& state) {
    FilledModel& filled = Filled();
    for (auto _ : state) {
        benchmark::DoNotOptimize(filled.model->ShowSearch(0));
    }
    state.counters["rows"] = kResults;
    state.counters["model_bytes_per_result"] = filled.bytesPerResult;
}
BENCHMARK(BM_ShowSearchSortedBySize)->Unit(benchmark::kMillisecond);

// The same rows put in place one at a time, each by a walk from the top of
// the list to the first row it precedes.
void BM_LinearInsertionSortedBySize(benchmark::State& state) {
    FilledModel& filled = Filled();
    const std::vector<ListedRow> sorted = filled.model->ShowSearch(0);
    // The walk meets the rows newest first; any order of the same keys costs
    // the same, so the shown rows are walked in reverse order of arrival.
    std::vector<ListedRow> newestFirst = sorted;
    std::shuffle(newestFirst.begin(), newestFirst.end(), std::mt19937(7));
    const RowOrdering ordering = filled.model->Ordering();
    for (auto _ : state) {
        std::vector<ListedRow> rows;
        for (const ListedRow& row : newestFirst) {
            std::size_t at = 0;
            while (at < rows.size() && !Precedes(row, rows[at], ordering)) {
                ++at;
            }
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), row);
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_LinearInsertionSortedBySize)->Unit(benchmark::kMillisecond)->Iterations(1);

// Inserting the rows one at a time at a place found by binary search: what
// each row streamed into a sorted list costs when batches are not merged.
void BM_BinaryInsertionSortedBySize(benchmark::State& state) {
    FilledModel& filled = Filled();
    std::vector<ListedRow> arriving = filled.model->ShowSearch(0);
    std::shuffle(arriving.begin(), arriving.end(), std::mt19937(7));
    const RowOrdering ordering = filled.model->Ordering();
    for (auto _ : state) {
        std::vector<ListedRow> rows;
        for (const ListedRow& row : arriving) {
            rows.insert(
                rows.begin() + static_cast<std::ptrdiff_t>(InsertPosition(rows, row, ordering)),
                row);
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_BinaryInsertionSortedBySize)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana
