// 100,000 results streamed from korvana-sim as fast as it sends them into a
// search page that is shown (offscreen): how long after the last result
// arrives every row is listed, the longest time the GUI thread goes without
// turning its event loop, and the memory each result takes (resident size
// before the search and once every row is listed).
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>

#include "bench/search/SearchPageDoubles.h"
#include "bench/support/BenchSupport.h"
#include "bench/support/EventLoopBench.h"
#include "core/CoreLink.h"
#include "core/StatusLog.h"
#include "search/CoreCommands.h"
#include "search/SearchSession.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "tests/support/SimHarness.h"
#include "tools/sim/web/SimWebServer.h"

namespace korvana {
namespace {

using bench::EnsureApplication;
using bench::LoopGaps;
using bench::RunUntil;

using Clock = std::chrono::steady_clock;

using bench::NoDownloads;
using bench::QuietPrompter;

// Passes results on to the model and notes when the last one came.
class TimedSink final : public CoreResultSink {
  public:
    explicit TimedSink(SearchModel& model) : model_(model) {}
    void AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                       std::string_view network) override {
        model_.AddCoreResult(std::move(result), searchId, network);
        last_ = Clock::now().time_since_epoch().count();
        ++count_;
    }
    long Count() const { return count_.load(); }
    Clock::time_point Last() const { return Clock::time_point(Clock::duration(last_.load())); }

  private:
    SearchModel& model_;
    std::atomic<Clock::rep> last_{0};
    std::atomic<long> count_{0};
};

struct StreamFigures {
    double listLagMs = -1;
    double longestGapMs = 0;
    double longestBusyMs = 0;
    double streamMs = 0;
    double bytesPerResult = 0;
};

StreamFigures StreamOnce(long results, bool sortedBySize, const std::filesystem::path& folder) {
    sim::test::SimProcess sim(folder, {"--flood", std::to_string(results)});
    sim::SimWebServer web;
    web.Start();
    StatusLog log;
    QuietPrompter prompter;
    SystemClock clock;
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.port = static_cast<std::uint16_t>(sim.Port());
    CoreLink link(config, log, prompter, clock);
    CoreLinkCommands commands(link);
    const std::string base = web.BaseUrl();
    SearchSession session(commands, SearchSessionOptions(EngineUrls{base, base, base}, {}));
    TimedSink sink(session.Model());
    link.SetSearchSink(&sink);
    link.StartReceiveThread();
    NoDownloads downloads;
    SearchPage page(session, downloads, prompter);
    page.resize(1000, 700);
    page.show();
    RunUntil([&] { return link.IsLoggedIn(); }, std::chrono::seconds(10));

    if (sortedBySize) {
        page.SortBy(ResultColumn::Size);
    }
    StreamFigures figures;
    const long before = bench::ResidentBytes();
    const Clock::time_point start = Clock::now();
    page.findChild<QLineEdit*>(QStringLiteral("IDC_KEYWORD"))->setText(QStringLiteral("flood"));
    page.StartSearch();
    const ResultTableModel& table = page.Results();
    const LoopGaps gaps =
        RunUntil([&] { return sink.Count() >= results && table.rowCount() >= results; },
                 std::chrono::seconds(120));
    figures.longestGapMs = gaps.longestMs;
    figures.longestBusyMs = gaps.longestBusyMs;
    const Clock::time_point listed = Clock::now();
    if (table.rowCount() >= results) {
        figures.listLagMs = std::chrono::duration<double, std::milli>(listed - sink.Last()).count();
    }
    figures.streamMs = std::chrono::duration<double, std::milli>(sink.Last() - start).count();
    figures.bytesPerResult = static_cast<double>(bench::ResidentBytes() - before) / results;
    session.Shutdown();
    return figures;
}

void BM_StreamFloodIntoShownPage(benchmark::State& state) {
    EnsureApplication();
    const long results = state.range(0);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("korvana-stream-" + std::to_string(::getpid()));
    StreamFigures figures;
    for (auto _ : state) {
        std::filesystem::create_directories(folder);
        figures = StreamOnce(results, state.range(1) != 0, folder);
        std::filesystem::remove_all(folder);
    }
    state.counters["list_lag_ms"] = figures.listLagMs;
    state.counters["longest_gui_gap_ms"] = figures.longestGapMs;
    state.counters["longest_gui_busy_ms"] = figures.longestBusyMs;
    state.counters["stream_ms"] = figures.streamMs;
    state.counters["bytes_per_result"] = figures.bytesPerResult;
}
// Unsorted (every new row goes to the top), and sorted by Size, where the
// rows of every batch land all over the list.
BENCHMARK(BM_StreamFloodIntoShownPage)
    ->Args({100'000, 0})
    ->Args({100'000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace korvana
