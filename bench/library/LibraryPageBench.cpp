// The Library page shown (offscreen) with its own rescan timer and a real
// event loop: the longest stall of the GUI thread while 20,000 files arrive
// at once in a listed folder, and the CPU the whole process uses while one
// file grows in a folder of 20,000 files (against the same folder at rest).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QTableView>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "bench/support/EventLoopBench.h"
#include "library/ui/LibraryIds.h"
#include "library/ui/LibraryPage.h"
#include "platform/Clock.h"
#include "platform/media/NullMediaBackend.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

using bench::EnsureApplication;
using bench::LoopGaps;
using bench::RunUntil;

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;

double Ms(std::chrono::nanoseconds span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

std::chrono::nanoseconds CpuOf(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// The process's CPU time in user mode: on a machine short of memory the
// kernel's time (page reclaim when code is paged in again) can swamp the
// program's own work.
std::chrono::nanoseconds UserCpu() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return std::chrono::seconds(usage.ru_utime.tv_sec) +
           std::chrono::microseconds(usage.ru_utime.tv_usec);
}

// `count` files of random sizes (up to 64 KB of sparse length) in `folder`,
// dated a minute back so that they count as settled.
void WriteFiles(const fs::path& folder, int count, unsigned seed) {
    fs::create_directories(folder);
    std::mt19937 random(seed);
    const auto past = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    for (int i = 0; i < count; ++i) {
        const fs::path file = folder / ("track " + std::to_string(i) + ".mp3");
        std::ofstream(file).close();
        fs::resize_file(file, random() % 65'536);
        fs::last_write_time(file, past);
    }
    fs::last_write_time(folder, past);
}

// The page over `downloads`, shown, with everything it needs.
struct ShownPage {
    explicit ShownPage(const fs::path& downloads)
        : page(LibraryPageServices{[downloads] { return downloads; },
                                   downloads.parent_path() / "TempPlay", prompter, opener, clock,
                                   std::make_unique<NullMediaBackend>(clock)}) {
        page.resize(1000, 560);
        page.show();
    }
    int Rows() const {
        return page.findChild<QTableView*>(QString::fromLatin1(library_ids::kLibraryList))
            ->model()
            ->rowCount();
    }

    SystemClock clock;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    LibraryPage page;
};

// Turns the event loop for `span` without a timer of its own, so that
// only the page's work is measured.
void IdleFor(std::chrono::milliseconds span) {
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec();
}

// 1,000 files listed; then 20,000 more appear at once (one rename of a
// folder prepared beside the downloads folder).
void BM_LibraryPageTwentyThousandArrive(benchmark::State& state) {
    EnsureApplication();
    LoopGaps gaps;
    double listedMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        test::TempDir dir;
        const fs::path downloads = dir.Path() / "Downloads";
        WriteFiles(downloads / "listed", 1'000, 1);
        WriteFiles(dir.Path() / "arriving", 20'000, 2);
        ShownPage shown(downloads);
        shown.page.Refresh();
        RunUntil([&] { return shown.Rows() == 1'000; }, std::chrono::seconds(30));
        state.ResumeTiming();
        fs::rename(dir.Path() / "arriving", downloads / "arrived");
        const Steady::time_point start = Steady::now();
        shown.page.Refresh();
        gaps = RunUntil([&] { return shown.Rows() == 21'000; }, std::chrono::seconds(60));
        listedMs = Ms(Steady::now() - start);
        if (shown.Rows() != 21'000) {
            state.SkipWithError("the arrivals were not listed");
        }
    }
    state.counters["listed_ms"] = listedMs;
    state.counters["longest_gui_gap_ms"] = gaps.longestMs;
    state.counters["longest_gui_busy_ms"] = gaps.longestBusyMs;
}
BENCHMARK(BM_LibraryPageTwentyThousandArrive)->Iterations(1)->Unit(benchmark::kMillisecond);

// The process's CPU over `seconds` of the page's own three-second rescans
// of a folder of 20,000 files; with state.range(0) set, one more file in it
// grows by 4 KB ten times a second (a download under way).
void BM_LibraryPageBigFolderCpu(benchmark::State& state) {
    EnsureApplication();
    const bool growing = state.range(0) != 0;
    constexpr auto kMeasured = std::chrono::seconds(30);
    double cpuPercent = 0;
    double userPercent = 0;
    for (auto _ : state) {
        test::TempDir dir;
        const fs::path downloads = dir.Path() / "Downloads";
        WriteFiles(downloads, 20'000, 3);
        ShownPage shown(downloads);
        shown.page.Refresh();
        RunUntil([&] { return shown.Rows() == 20'000; }, std::chrono::seconds(30));
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            if (!growing) {
                return;
            }
            std::ofstream file(downloads / "downloading.mp3", std::ios::binary);
            const std::string block(4096, 'x');
            while (!stop.load()) {
                file.write(block.data(), static_cast<std::streamsize>(block.size()));
                file.flush();
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        // The new file's arrival is listed before the measured stretch.
        IdleFor(std::chrono::seconds(4));
        const std::chrono::nanoseconds cpuBefore = CpuOf(CLOCK_PROCESS_CPUTIME_ID);
        const std::chrono::nanoseconds userBefore = UserCpu();
        const Steady::time_point start = Steady::now();
        IdleFor(kMeasured);
        const double wallMs = Ms(Steady::now() - start);
        cpuPercent = 100.0 * Ms(CpuOf(CLOCK_PROCESS_CPUTIME_ID) - cpuBefore) / wallMs;
        userPercent = 100.0 * Ms(UserCpu() - userBefore) / wallMs;
        stop.store(true);
        writer.join();
    }
    state.counters["process_cpu_percent"] = cpuPercent;
    state.counters["user_cpu_percent"] = userPercent;
}
BENCHMARK(BM_LibraryPageBigFolderCpu)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana
