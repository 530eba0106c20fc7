// Memory that searches take and give back: 100 searches of 10,000 results
// each (four core results to one web result), each shown once, then all
// removed. Reports the heap in use before, at the peak and after, from
// malloc's own count, so that memory the allocator keeps for later does not
// hide what the model freed. Each search's core records come from a pool of
// its own that is gone once the search has them; the core link's pool keeps
// its records for as long as it is connected, since the core may name any
// result it reported in a later search.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ResultPool.h"
#include "search/SearchModel.h"

namespace korvana {
namespace {

constexpr int kSearches = 100;
constexpr int kResultsPerSearch = 10'000;

double HeapInUse() {
    return static_cast<double>(mallinfo2().uordblks);
}

void FillSearch(SearchModel& model, std::int32_t searchId) {
    model.OpenSearch(searchId);
    ResultPool pool;
    for (int i = 0; i < kResultsPerSearch; ++i) {
        const std::string n = std::to_string(searchId) + "-" + std::to_string(i);
        if (i % 5 == 4) {
            model.AddWebResult(searchId, "http://127.0.0.1:4100/files/song" + n + ".mp3",
                               "Web Song " + n + ".mp3", WebEngineId::Engine2);
            continue;
        }
        CoreResult result;
        result.resultId = i;
        result.networkNumber = 1;
        result.name = "Some Artist - Some Title (" + n + ").mp3";
        result.size = 4'000'000 + i;
        pool.Add(result);
        model.AddCoreResult(pool.Find(i), searchId, "Donkey");
    }
}

void BM_HundredSearchesRemoved(benchmark::State& state) {
    for (auto _ : state) {
        SearchModel model;
        const double start = HeapInUse();
        // The rows on screen, as the list holds them.
        std::vector<ListedRow> shown;
        for (std::int32_t id = 0; id < kSearches; ++id) {
            FillSearch(model, id);
            shown = model.ShowSearch(id);
        }
        const double peak = HeapInUse();
        for (std::int32_t id = 0; id < kSearches; ++id) {
            model.RemoveSearch(id);
        }
        // The list lets go of the rows it showed once it shows others.
        shown = model.ShowSearch(-1);
        const double end = HeapInUse();
        state.counters["heap_start_MB"] = start / 1e6;
        state.counters["heap_peak_MB"] = peak / 1e6;
        state.counters["heap_end_MB"] = end / 1e6;
        state.counters["kept_of_peak_pct"] = 100.0 * (end - start) / (peak - start);
        state.counters["end_over_start"] = end / start;
    }
}
BENCHMARK(BM_HundredSearchesRemoved)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana
