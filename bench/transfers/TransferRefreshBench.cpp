// The refresh of the downloads list with many downloads, and the views
// taking its steps: every row changing (all downloads receiving) and no row
// changing (all paused and untouched, where only unchanged texts are
// compared and no step is queued), each also with the list sorted by rate,
// where receiving downloads change places at every refresh.
// Run: korvana_bench --benchmark_filter=TransferRefresh
#include <benchmark/benchmark.h>

#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "transfers/TransferBoard.h"
#include "transfers/TransferCommandSink.h"
#include "transfers/TransferList.h"

namespace {

class SteppingClock final : public korvana::Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return {}; }
    std::time_t WallNow() const override { return wall; }
    std::time_t wall = 1'700'000'000;
};

class NoCommands final : public korvana::TransferCommandSink {
  public:
    void SendCancelDownload(std::int32_t) override {}
    void SendSwitchDownload(std::int32_t, bool) override {}
};

// Arg 0: downloads; arg 1: 1 when every download receives between refreshes;
// arg 2: 1 when the list is sorted by rate.
void BM_TransferRefresh(benchmark::State& state) {
    const auto count = static_cast<int>(state.range(0));
    const bool receiving = state.range(1) != 0;
    const bool sorted = state.range(2) != 0;
    SteppingClock clock;
    korvana::StatusLog log;
    korvana::TransferList list(clock, log);
    NoCommands core;
    korvana::TransferBoard board({list, core, nullptr, clock, log});
    for (int number = 1; number <= count; ++number) {
        korvana::TransferItem item;
        item.key = korvana::TransferKey::Core(number);
        item.name = "Artist " + std::to_string(number) + " - Title.mp3";
        item.size = 5'000'000;
        item.coreState = receiving ? 0 : 1;
        item.startTime = clock.wall;
        list.AddOrUpdateDownload(item);
    }
    board.Refresh();
    if (sorted) {
        board.ClickDownloadColumn(korvana::kDownloadRate);
    }
    board.TakeDownloadChanges();
    std::int64_t step = 0;
    for (auto _ : state) {
        if (receiving) {
            state.PauseTiming();
            ++step;
            ++clock.wall;
            for (int number = 1; number <= count; ++number) {
                // Rates that change their order at every step.
                list.UpdateDownloadProgress(
                    number, step * 1000,
                    1000.0 + static_cast<double>((number * 7919 + step * 31) % 1000));
            }
            state.ResumeTiming();
        }
        board.Refresh();
        benchmark::DoNotOptimize(board.TakeDownloadChanges());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_TransferRefresh)
    ->Args({1000, 0, 0})
    ->Args({1000, 1, 0})
    ->Args({10000, 0, 0})
    ->Args({10000, 1, 0})
    ->Args({10000, 0, 1})
    ->Args({10000, 1, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
