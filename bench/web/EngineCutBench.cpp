// How fast the built-in engines cut their pages now that they are
// definitions: each scraper on the simulated web's largest recorded page of
// its engine, and on a hostile page of 1000 blocks.
// Run: korvana_bench --benchmark_filter=EngineCut
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "web/EngineScrapers.h"

namespace {

std::string RecordedPage(const std::string& name) {
    const auto path =
        std::filesystem::path(KORVANA_SOURCE_DIR) / "tests" / "web" / "data" / "recorded" / name;
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string Repeated(const std::string& block, int times) {
    std::string page;
    for (int i = 0; i < times; ++i) {
        page += block;
    }
    return page;
}

void Report(benchmark::State& state, const std::string& page) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void BM_EngineCut1(benchmark::State& state) {
    const std::string page = state.range(0) == 0
                                 ? RecordedPage("sim_e1_a_1.html")
                                 : Repeated(
                                       "<table class=\"sm\"><a href=\"http://h/x%20y.mp3\">t</a>"
                                       "<a title=\"\">Artist - Title</a></table>",
                                       1000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvana::ScrapeEngine1Page(page));
        benchmark::DoNotOptimize(korvana::IsEngine1PageComplete(page));
    }
    Report(state, page);
}
BENCHMARK(BM_EngineCut1)->Arg(0)->Arg(1);

void BM_EngineCut2(benchmark::State& state) {
    const std::string page =
        state.range(0) == 0
            ? RecordedPage("sim_e2_a.html")
            : Repeated("<tr><td><a href=\"dsong.aspx?id=1&amp;from=list\">Artist - Title</a>",
                       1000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvana::ScrapeEngine2Page(page, "http://127.0.0.1:4100/"));
    }
    Report(state, page);
}
BENCHMARK(BM_EngineCut2)->Arg(0)->Arg(1);

void BM_EngineCut3(benchmark::State& state) {
    const std::string page =
        state.range(0) == 0
            ? RecordedPage("sim_e3_a_artist1.html")
            : "<b>Next Page</b>" +
                  Repeated("<a href=\"download.php?id=1\"><b>Artist - Title</b></a>", 1000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            korvana::ScrapeEngine3Page(page, "http://127.0.0.1:4100/http_search/"));
    }
    Report(state, page);
}
BENCHMARK(BM_EngineCut3)->Arg(0)->Arg(1);

}  // namespace
