#include "app/ui/PerformanceProbe.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace korvana {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(10);
constexpr auto kReportedGap = std::chrono::milliseconds(20);
constexpr auto kRssEvery = std::chrono::milliseconds(100);
constexpr auto kSettle = std::chrono::seconds(2);

long long Nanoseconds(Clock::time_point at) {
    return static_cast<long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count());
}

// Resident pages times the page size, from /proc/self/statm; 0 when unreadable.
long long ResidentBytes() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return 0;
    }
    long long total = 0;
    long long resident = 0;
    const int read = std::fscanf(statm, "%lld %lld", &total, &resident);
    std::fclose(statm);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
}

class PerformanceProbe final : public QObject {
  public:
    PerformanceProbe(QWidget& window, std::FILE* out, QString searchWords)
        : QObject(&window), window_(window), out_(out), searchWords_(std::move(searchWords)) {
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, &PerformanceProbe::Tick);
        timer_.start(kTick);
        lastTick_ = lastRss_ = Clock::now();
        model_ = WatchList("IDC_RESULT_LIST", "rows");
        WatchList("IDC_LIBRARY_LIST", "library");
    }
    ~PerformanceProbe() override { std::fclose(out_); }

  private:
    void Write(const char* word, long long value, Clock::time_point at = Clock::now()) {
        std::fprintf(out_, "%lld %s %lld\n", Nanoseconds(at), word, value);
        std::fflush(out_);
    }

    // Reports the row count of the list named `id` under `word` at every
    // change; returns its model, or null when the window has no such list.
    QAbstractItemModel* WatchList(const char* id, const char* word) {
        auto* view = window_.findChild<QTableView*>(QString::fromLatin1(id));
        QAbstractItemModel* model = view != nullptr ? view->model() : nullptr;
        if (model == nullptr) {
            return nullptr;
        }
        const auto report = [this, model, word] { Write(word, model->rowCount()); };
        connect(model, &QAbstractItemModel::rowsInserted, this, report);
        connect(model, &QAbstractItemModel::rowsRemoved, this, report);
        connect(model, &QAbstractItemModel::modelReset, this, report);
        return model;
    }

    void Tick() {
        const Clock::time_point now = Clock::now();
        if (now - lastTick_ >= kReportedGap) {
            Write("gap",
                  std::chrono::duration_cast<std::chrono::milliseconds>(now - lastTick_).count(),
                  now);
        }
        lastTick_ = now;
        if (now - lastRss_ >= kRssEvery) {
            lastRss_ = now;
            Write("rss", ResidentBytes(), now);
        }
        StartSearchWhenShown();
    }

    void StartSearchWhenShown() {
        auto* keyword = searchWords_.isEmpty()
                            ? nullptr
                            : window_.findChild<QLineEdit*>(QStringLiteral("IDC_KEYWORD"));
        if (keyword == nullptr || !keyword->isVisible()) {
            return;
        }
        // The window settles first, so that memory freed after the splash
        // does not count against the results.
        const Clock::time_point now = Clock::now();
        if (shownAt_ == Clock::time_point()) {
            shownAt_ = now;
        }
        if (now - shownAt_ < kSettle) {
            return;
        }
        Write("rss", ResidentBytes());
        Write("search", model_ != nullptr ? model_->rowCount() : 0);
        keyword->setText(searchWords_);
        searchWords_.clear();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(keyword, &press);
    }

    QWidget& window_;
    std::FILE* out_;
    QString searchWords_;
    QAbstractItemModel* model_ = nullptr;
    QTimer timer_;
    Clock::time_point lastTick_;
    Clock::time_point lastRss_;
    Clock::time_point shownAt_;
};

}  // namespace

void StartPerformanceProbeIfAsked(QWidget& window) {
    const char* path = std::getenv("KORVANA_PROBE");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::FILE* out = std::fopen(path, "a");
    if (out == nullptr) {
        return;
    }
    new PerformanceProbe(window, out, QString::fromLocal8Bit(std::getenv("KORVANA_PROBE_SEARCH")));
}

}  // namespace korvana
