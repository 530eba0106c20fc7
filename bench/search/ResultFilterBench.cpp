// Typing into the result list's filter box with 100,000 results listed: what
// each keystroke costs on the GUI thread, through the model and its table
// alone, and through the search page shown offscreen (the table view's own
// work and a paint included). The words typed narrow step by step, then are
// taken back one letter at a time, then cleared, as a user does.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/search/SearchPageDoubles.h"
#include "bench/support/EventLoopBench.h"
#include "controls/FilterBox.h"
#include "search/SearchSession.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "tests/search/SearchTestSupport.h"

namespace korvana {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kResults = 100'000;
const char* const kArtists[] = {"The Loopbacks", "Static Garden", "Quiet Engines", "Blue Monday",
                                "Love Parade",   "Port Forty",    "Idle Hands",    "Night Shift"};
const char* const kTitles[] = {"Localhost Blues", "Love Song",   "Connection Refused",
                               "Idle Loop",       "Lullaby",     "Lovely Day",
                               "Slow Burn",       "Night Train", "Blue Moon"};
// Each string is the box's whole text after one keystroke.
const std::vector<std::string> kTyping = {"l",      "lo",      "lov",    "love",  "love ",
                                          "love s", "love so", "love s", "love ", "love",
                                          "lov",    "lo",      "l",      ""};

using bench::NoDownloads;
using bench::QuietPrompter;

void Fill(SearchModel& model, std::int32_t searchId) {
    for (int i = 0; i < kResults; ++i) {
        const std::string name = std::string(kArtists[i % 8]) + " - " + kTitles[(i / 8) % 9] +
                                 " (" + std::to_string(i) + ").mp3";
        // Tags as the core sends them, so that every keystroke tests them too.
        const std::string tags = std::string(kArtists[i % 8]) + "\n" + kTitles[(i / 8) % 9] +
                                 "\nLive at Port " + std::to_string(i % 50);
        test::HandOver(
            model, test::MakeCoreResult(searchId, i + 1, name, 1'000'000 + i * 7 % 9973, 1, tags));
    }
}

struct KeystrokeTimes {
    double longestMs = 0;
    double totalMs = 0;
    int count = 0;
};

template <typename Type>
KeystrokeTimes TypeAll(Type type) {
    KeystrokeTimes times;
    for (const std::string& text : kTyping) {
        const Clock::time_point start = Clock::now();
        type(text);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        times.longestMs = std::max(times.longestMs, ms);
        times.totalMs += ms;
        ++times.count;
    }
    return times;
}

void Report(benchmark::State& state, const KeystrokeTimes& worst, const KeystrokeTimes& all) {
    state.counters["rows"] = kResults;
    state.counters["keystroke_longest_ms"] = worst.longestMs;
    state.counters["keystroke_mean_ms"] = all.count > 0 ? all.totalMs / all.count : 0;
}

// The model and its table, without a view: what the filter itself costs.
void BM_FilterKeystrokeModelAndTable(benchmark::State& state) {
    bench::EnsureApplication();
    SearchModel model;
    model.OpenSearch(0);
    Fill(model, 0);
    ResultTableModel table(model);
    table.ShowSearch(0);
    KeystrokeTimes worst;
    KeystrokeTimes all;
    for (auto _ : state) {
        const KeystrokeTimes times =
            TypeAll([&](const std::string& text) { table.SetFilter(text); });
        worst.longestMs = std::max(worst.longestMs, times.longestMs);
        all.totalMs += times.totalMs;
        all.count += times.count;
    }
    Report(state, worst, all);
}
BENCHMARK(BM_FilterKeystrokeModelAndTable)->Unit(benchmark::kMillisecond)->Iterations(5);

// The page shown offscreen, sorted by Size, with a selection to keep: each
// keystroke goes into the filter box and the page is painted before the
// next.
void BM_FilterKeystrokeShownPage(benchmark::State& state) {
    bench::EnsureApplication();
    test::RecordingCommands core;
    test::SilentWeb web;
    SearchSession session(core, test::QuietSessionOptions(web, new test::ManualProbes));
    QuietPrompter prompter;
    NoDownloads downloads;
    SearchPage page(session, downloads, prompter);
    page.resize(1280, 900);
    page.show();
    const std::int32_t id = session.Start("love", {}).searchId;
    page.ShowSearch(id);
    Fill(session.Model(), id);
    page.SortBy(ResultColumn::Size);
    page.ResultView().selectRow(10);
    QApplication::processEvents();
    FilterBox& box = page.ResultFilter();
    KeystrokeTimes worst;
    KeystrokeTimes all;
    for (auto _ : state) {
        const KeystrokeTimes times = TypeAll([&](const std::string& text) {
            box.setText(QString::fromStdString(text));
            page.repaint();
        });
        worst.longestMs = std::max(worst.longestMs, times.longestMs);
        all.totalMs += times.totalMs;
        all.count += times.count;
    }
    Report(state, worst, all);
}
BENCHMARK(BM_FilterKeystrokeShownPage)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace korvana
