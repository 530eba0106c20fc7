// The library list's costs: sorted insertion against a rebuild, applying a
// scan with a few changes and one with 20,000 arrivals, scanning a tree of 10,000 files in 100
// folders (first scan, compared with `find` on the same tree, and a scan of the unchanged tree),
// and MP3 decoding speed against real time.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "library/LibraryModel.h"
#include "platform/media/Mp3Decoder.h"
#include "tools/media/Mp3Writer.h"

namespace {

namespace fs = std::filesystem;
using korvana::LibraryEntry;

std::vector<LibraryEntry> Entries(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<LibraryEntry> entries;
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back(
            korvana::MakeLibraryEntry("/downloads/folder" + std::to_string(i % 100) + "/song " +
                                          std::to_string(random()) + ".mp3",
                                      static_cast<std::int64_t>(random() % 10'000'000)));
    }
    return entries;
}

void SortedInsertion(benchmark::State& state) {
    const auto entries = Entries(static_cast<std::size_t>(state.range(0)), 1);
    for (auto _ : state) {
        std::vector<LibraryEntry> rows;
        for (const LibraryEntry& entry : entries) {
            const std::size_t row = korvana::SortedInsertIndex(rows, entry, {});
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row), entry);
        }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(SortedInsertion)->Arg(10'000)->Arg(50'000)->Unit(benchmark::kMillisecond);

void Rebuild(benchmark::State& state) {
    const auto entries = Entries(static_cast<std::size_t>(state.range(0)), 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvana::SortedRows(entries, {}).data());
    }
}
BENCHMARK(Rebuild)->Arg(10'000)->Arg(50'000)->Unit(benchmark::kMillisecond);

// Ten files arrive and ten leave in a list of 10,000 rows.
void ApplyScanWithTenChanges(benchmark::State& state) {
    const auto listing = Entries(10'000, 2);
    auto next = listing;
    next.erase(next.begin(), next.begin() + 10);
    const auto arrivals = Entries(10, 3);
    next.insert(next.end(), arrivals.begin(), arrivals.end());
    for (auto _ : state) {
        state.PauseTiming();
        korvana::LibraryModel model;
        model.ApplyScan(listing);
        model.TakeChanges();
        state.ResumeTiming();
        model.ApplyScan(next);
        benchmark::DoNotOptimize(model.TakeChanges().size());
    }
}
BENCHMARK(ApplyScanWithTenChanges)->Unit(benchmark::kMicrosecond);

// 20,000 files arrive at once in a list of state.range(0) rows: one merge
// and one ranged insertion or reset.
void ApplyScanWithTwentyThousandArrivals(benchmark::State& state) {
    const auto listing = Entries(static_cast<std::size_t>(state.range(0)), 4);
    auto next = listing;
    const auto arrivals = Entries(20'000, 5);
    next.insert(next.end(), arrivals.begin(), arrivals.end());
    for (auto _ : state) {
        state.PauseTiming();
        korvana::LibraryModel model;
        model.ApplyScan(listing);
        model.TakeChanges();
        state.ResumeTiming();
        model.ApplyScan(next);
        benchmark::DoNotOptimize(model.TakeChanges().size());
    }
}
BENCHMARK(ApplyScanWithTwentyThousandArrivals)->Arg(1)->Arg(20'000)->Unit(benchmark::kMillisecond);

// 10,000 small files in 100 folders under the temporary folder, settled (a
// minute old). The tree is made on first use and removed when the program
// ends: by the destructor of the object that holds its path, so that the
// path is still there when it runs.
class BenchTree {
  public:
    BenchTree() {
        std::string pattern = (fs::temp_directory_path() / "korvana-bench-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        const auto past = fs::file_time_type::clock::now() - std::chrono::minutes(1);
        for (int folder = 0; folder < 100; ++folder) {
            const fs::path dir = root_ / ("album " + std::to_string(folder));
            fs::create_directories(dir);
            for (int file = 0; file < 100; ++file) {
                const fs::path path = dir / ("track " + std::to_string(file) + ".mp3");
                std::ofstream(path) << std::string(static_cast<std::size_t>(file), 'x');
                fs::last_write_time(path, past);
            }
            fs::last_write_time(dir, past);
        }
        fs::last_write_time(root_, past);
    }
    ~BenchTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    BenchTree(const BenchTree&) = delete;
    BenchTree& operator=(const BenchTree&) = delete;

    const fs::path& Root() const { return root_; }

  private:
    fs::path root_;
};

const fs::path& Tree() {
    static const BenchTree tree;
    return tree.Root();
}

void FirstScan(benchmark::State& state) {
    const fs::path& tree = Tree();
    for (auto _ : state) {
        korvana::LibraryScanner scanner(tree);
        benchmark::DoNotOptimize(scanner.Scan().entries.size());
    }
}
BENCHMARK(FirstScan)->Unit(benchmark::kMillisecond)->UseRealTime();

void FindOnTheSameTree(benchmark::State& state) {
    const std::string command = "find '" + Tree().string() + "' > /dev/null";
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::system(command.c_str()));
    }
}
BENCHMARK(FindOnTheSameTree)->Unit(benchmark::kMillisecond)->UseRealTime();

void UnchangedRefresh(benchmark::State& state) {
    korvana::LibraryScanner scanner(Tree());
    korvana::LibraryModel model;
    model.Refresh(scanner);
    model.TakeChanges();
    for (auto _ : state) {
        model.Refresh(scanner);
        benchmark::DoNotOptimize(model.TakeChanges().size());
    }
}
BENCHMARK(UnchangedRefresh)->Unit(benchmark::kMillisecond);

// The quiet scan that also stats every known file, so that files rewritten
// in place are seen: its cost over an unchanged 10k-file tree.
void UnchangedEveryFileScan(benchmark::State& state) {
    korvana::LibraryScanner scanner(Tree());
    scanner.Scan();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            scanner.Scan(korvana::LibraryScanner::Look::EveryFile).resized.size());
    }
}
BENCHMARK(UnchangedEveryFileScan)->Unit(benchmark::kMillisecond);

// Decoding one minute of stereo audio; "x_real_time" is how many times
// faster than playing it.
void DecodeOneMinute(benchmark::State& state) {
    korvana::mp3gen::Mp3Spec spec;
    spec.durationMs = 60'000;
    spec.content = korvana::mp3gen::Content::Noise;
    const std::string bytes = korvana::mp3gen::MakeMp3(spec);
    std::vector<std::int16_t> buffer(1152 * 2);
    for (auto _ : state) {
        korvana::Mp3Decoder decoder;
        decoder.OpenMemory(bytes);
        for (bool ended = false; !ended;) {
            benchmark::DoNotOptimize(decoder.Read(buffer.data(), 1152, &ended));
        }
    }
    state.counters["x_real_time"] = benchmark::Counter(
        60.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(DecodeOneMinute)->Unit(benchmark::kMillisecond);

}  // namespace
