// What a flood of status lines costs: a million lines written by another
// thread (as the core link writes them) with the "Debug Status Messages"
// window hidden, then shown; and the same with the window open. Reports the
// CPU the whole process spent, the writer's cost per line, and the longest
// gap between two turns of the GUI thread's event loop.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "app/ui/StatusLogDialog.h"
#include "bench/support/EventLoopBench.h"
#include "core/StatusLog.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

using bench::EnsureApplication;

using Steady = std::chrono::steady_clock;

constexpr int kLines = 1'000'000;

double ProcessCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Turns the event loop (a 1 ms timer, once per turn at most) until `done`
// holds, and returns the longest gap between two turns in ms.
template <typename Done>
double LongestGapUntil(Done done) {
    QEventLoop loop;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(1);
    Steady::time_point last = Steady::now();
    Steady::duration longest{};
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const Steady::time_point now = Steady::now();
        longest = std::max(longest, now - last);
        last = now;
        if (done()) {
            loop.quit();
        }
    });
    beat.start();
    loop.exec();
    return std::chrono::duration<double, std::milli>(longest).count();
}

struct Flood {
    double writerNsPerLine = 0;
    double longestGapMs = 0;
};

// Writes kLines lines from a thread of its own while the GUI thread turns.
Flood WriteFlood(StatusLog& log) {
    std::atomic<bool> finished{false};
    double writerMs = 0;
    std::thread writer([&] {
        const double start = ThreadCpuMs();
        for (int i = 0; i < kLines; ++i) {
            log.Line("Asking for downloading files " + std::to_string(i));
        }
        writerMs = ThreadCpuMs() - start;
        finished = true;
    });
    Flood flood;
    flood.longestGapMs = LongestGapUntil([&] { return finished.load(); });
    writer.join();
    flood.writerNsPerLine = writerMs * 1e6 / kLines;
    return flood;
}

// A status log writing to its file, watched by the status window.
struct WatchedLog {
    WatchedLog() {
        log.OpenFile(dir.Path() / "korvana.log");
        dialog.Watch(log);
    }
    test::TempDir dir;
    StatusLog log;
    StatusLogDialog dialog;
};

void BM_StatusLinesHiddenThenShown(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        WatchedLog watched;
        StatusLog& log = watched.log;
        StatusLogDialog& dialog = watched.dialog;
        const double cpuBefore = ProcessCpuMs();
        const Flood hidden = WriteFlood(log);
        const double hiddenCpu = ProcessCpuMs() - cpuBefore;
        // Showing takes the ring's newest lines in one batch, within one
        // turn of the loop: that turn is the gap.
        const Steady::time_point showStart = Steady::now();
        dialog.show();
        QCoreApplication::processEvents();
        const double showMs =
            std::chrono::duration<double, std::milli>(Steady::now() - showStart).count();
        state.counters["hidden_total_cpu_ms"] = hiddenCpu;
        state.counters["writer_ns_per_line"] = hidden.writerNsPerLine;
        state.counters["hidden_longest_gui_gap_ms"] = hidden.longestGapMs;
        state.counters["show_gui_gap_ms"] = showMs;
        state.counters["lines_listed"] = dialog.LineCount();
        dialog.hide();
    }
}
BENCHMARK(BM_StatusLinesHiddenThenShown)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_StatusLinesWithTheWindowOpen(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        WatchedLog watched;
        StatusLogDialog& dialog = watched.dialog;
        dialog.show();
        QCoreApplication::processEvents();
        const double cpuBefore = ProcessCpuMs();
        const Flood shown = WriteFlood(watched.log);
        state.counters["shown_total_cpu_ms"] = ProcessCpuMs() - cpuBefore;
        state.counters["writer_ns_per_line"] = shown.writerNsPerLine;
        state.counters["shown_longest_gui_gap_ms"] = shown.longestGapMs;
        dialog.hide();
    }
}
BENCHMARK(BM_StatusLinesWithTheWindowOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvana
