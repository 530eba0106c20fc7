#include "bench/support/EventLoopBench.h"

#include <time.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace korvana::bench {
namespace {

std::chrono::nanoseconds ThreadCpu() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

double Ms(std::chrono::nanoseconds span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

}  // namespace

void EnsureApplication() {
    if (QApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "korvana_bench";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

LoopGaps RunUntil(const std::function<bool()>& done, std::chrono::milliseconds patience) {
    using Steady = std::chrono::steady_clock;
    QEventLoop loop;
    QTimer beat;
    beat.setTimerType(Qt::PreciseTimer);
    beat.setInterval(1);
    Steady::time_point last = Steady::now();
    std::chrono::nanoseconds lastCpu = ThreadCpu();
    LoopGaps gaps;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const Steady::time_point now = Steady::now();
        const std::chrono::nanoseconds cpu = ThreadCpu();
        gaps.longestMs = std::max(gaps.longestMs, Ms(now - last));
        gaps.longestBusyMs = std::max(gaps.longestBusyMs, Ms(cpu - lastCpu));
        last = now;
        lastCpu = cpu;
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(patience, &loop, &QEventLoop::quit);
    beat.start();
    loop.exec();
    return gaps;
}

}  // namespace korvana::bench
