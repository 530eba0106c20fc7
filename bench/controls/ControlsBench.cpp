#include <benchmark/benchmark.h>

#include "controls/ProgressGradient.h"
#include "controls/Shade.h"

namespace korvana {
namespace {

// One page button's shades, built when a page initialises or a button is
// resized.
void BM_BrushedButtonShades(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    ShadeRequest request;
    SystemColours colours;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeButtonShades(request, width, width / 2, 4, colours));
    }
}
BENCHMARK(BM_BrushedButtonShades)->Arg(96)->Arg(400);

// One progress cell of the transfers list, computed for every visible row
// on every refresh.
void BM_ProgressCellLayout(benchmark::State& state) {
    ProgressRange range;
    range.SetPosition(static_cast<int>(state.range(0)));
    ProgressColours colours;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LayOutProgress(range, colours, 160, true));
    }
}
BENCHMARK(BM_ProgressCellLayout)->Arg(5)->Arg(100);

}  // namespace
}  // namespace korvana
