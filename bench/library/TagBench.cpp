// Reading the tags of 10,000 tagged MP3 files in 100 folders: the first
// scan, which reads every file, and rescans with nothing changed, which
// read none: the folder unchanged, and the folder listed whole again (as
// after a file elsewhere came or went) with every tag from the cache; a
// start with the tags kept from the last run, and their saving. And the
// filter box typed into over 100,000 tagged rows.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <chrono>
#include <filesystem>

#include "library/LibraryModel.h"
#include "library/LibraryScanner.h"
#include "library/TagQueue.h"
#include "library/TagStore.h"
#include "tools/media/Mp3Writer.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;

// The tree is made on first use and removed when the program ends.
class TaggedTree {
  public:
    TaggedTree() {
        std::string pattern = (fs::temp_directory_path() / "korvana-tag-bench-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        const auto past = fs::file_time_type::clock::now() - std::chrono::minutes(1);
        for (int folder = 0; folder < kFolders; ++folder) {
            const fs::path dir = root_ / ("album " + std::to_string(folder));
            fs::create_directories(dir);
            for (int file = 0; file < kFilesPerFolder; ++file) {
                korvana::mp3gen::Mp3Spec spec;
                spec.durationMs = 500 + file * 10;
                spec.bitrateKbps = 32;
                spec.tag = korvana::mp3gen::Id3v1Tag{"Track " + std::to_string(file),
                                                     "Artist " + std::to_string(folder % 37),
                                                     "Album " + std::to_string(folder),
                                                     "2026",
                                                     "",
                                                     255};
                const fs::path path = dir / ("track " + std::to_string(file) + ".mp3");
                korvana::mp3gen::WriteMp3(path, spec);
                fs::last_write_time(path, past);
            }
            fs::last_write_time(dir, past);
        }
        fs::last_write_time(root_, past);
    }
    ~TaggedTree() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    TaggedTree(const TaggedTree&) = delete;
    TaggedTree& operator=(const TaggedTree&) = delete;

    const fs::path& Root() const { return root_; }

  private:
    fs::path root_;
};

const fs::path& Tree() {
    static const TaggedTree tree;
    return tree.Root();
}

// The tree's files are a minute old: settled.
std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::size_t ReadAll(korvana::TagQueue& queue) {
    std::size_t read = 0;
    while (queue.Waiting()) {
        read += queue.ReadSome(128).size();
    }
    return read;
}

void TagsFirstScan(benchmark::State& state) {
    const fs::path& tree = Tree();
    std::size_t read = 0;
    for (auto _ : state) {
        korvana::LibraryScanner scanner(tree);
        korvana::TagQueue queue;
        korvana::LibraryScan scan = scanner.Scan();
        queue.Attach(scan, Now());
        read = ReadAll(queue);
    }
    state.counters["files_read"] = static_cast<double>(read);
}
BENCHMARK(TagsFirstScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void TagsRescanNothingChanged(benchmark::State& state) {
    korvana::LibraryScanner scanner(Tree());
    korvana::TagQueue queue;
    korvana::LibraryScan first = scanner.Scan();
    queue.Attach(first, Now());
    ReadAll(queue);
    const std::size_t before = queue.Cache().Reads();
    for (auto _ : state) {
        korvana::LibraryScan scan = scanner.Scan();
        queue.Attach(scan, Now());
        benchmark::DoNotOptimize(ReadAll(queue));
    }
    state.counters["files_read"] = static_cast<double>(queue.Cache().Reads() - before);
}
BENCHMARK(TagsRescanNothingChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

void TagsRelistedFromTheCache(benchmark::State& state) {
    korvana::TagQueue queue;
    {
        korvana::LibraryScanner scanner(Tree());
        korvana::LibraryScan first = scanner.Scan();
        queue.Attach(first, Now());
        ReadAll(queue);
    }
    const std::size_t before = queue.Cache().Reads();
    for (auto _ : state) {
        korvana::LibraryScanner scanner(Tree());
        korvana::LibraryScan scan = scanner.Scan();
        queue.Attach(scan, Now());
        benchmark::DoNotOptimize(ReadAll(queue));
    }
    state.counters["files_read"] = static_cast<double>(queue.Cache().Reads() - before);
}
BENCHMARK(TagsRelistedFromTheCache)->Unit(benchmark::kMillisecond)->UseRealTime();

// A start with the tags kept from the last run: the kept file loaded into
// a fresh cache, then the first scan, which then reads no file. And the
// saving of the 10,000 files' tags that follows a round of reading.
void TagsFirstScanFromTheKeptFile(benchmark::State& state) {
    const fs::path store = fs::temp_directory_path() / "korvana-tag-bench-store.json";
    {
        korvana::LibraryScanner scanner(Tree());
        korvana::TagQueue queue;
        korvana::LibraryScan first = scanner.Scan();
        queue.Attach(first, Now());
        ReadAll(queue);
        korvana::SaveTagStore(store, queue.Cache().Entries());
    }
    std::size_t reads = 0;
    for (auto _ : state) {
        korvana::TagQueue queue;
        queue.Remember(korvana::LoadTagStore(store));
        korvana::LibraryScanner scanner(Tree());
        korvana::LibraryScan scan = scanner.Scan();
        queue.Attach(scan, Now());
        benchmark::DoNotOptimize(ReadAll(queue));
        reads = queue.Cache().Reads();
    }
    state.counters["files_read"] = static_cast<double>(reads);
    state.counters["kept_bytes"] = static_cast<double>(fs::file_size(store));
    fs::remove(store);
}
BENCHMARK(TagsFirstScanFromTheKeptFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void TagsSavedForTheNextRun(benchmark::State& state) {
    const fs::path store = fs::temp_directory_path() / "korvana-tag-bench-saved.json";
    korvana::LibraryScanner scanner(Tree());
    korvana::TagQueue queue;
    korvana::LibraryScan first = scanner.Scan();
    queue.Attach(first, Now());
    ReadAll(queue);
    for (auto _ : state) {
        benchmark::DoNotOptimize(korvana::SaveTagStore(store, queue.Cache().Entries()));
    }
    fs::remove(store);
}
BENCHMARK(TagsSavedForTheNextRun)->Unit(benchmark::kMillisecond)->UseRealTime();

// A word typed letter by letter, each letter one new filter over the rows
// (the first letters narrow, so only the shown rows are looked at), then
// the box emptied again.
void FilterTypedOverManyRows(benchmark::State& state) {
    const auto rows = static_cast<std::size_t>(state.range(0));
    std::vector<korvana::LibraryEntry> listing;
    listing.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        korvana::LibraryEntry entry = korvana::MakeLibraryEntry(
            "/downloads/album " + std::to_string(i % 1000) + "/track " + std::to_string(i) + ".mp3",
            static_cast<std::int64_t>(i * 7919 % 10'000'000), 1);
        entry.tags = {"Artist " + std::to_string(i % 997), "Title " + std::to_string(i),
                      "Album " + std::to_string(i % 1000), 200, 128};
        listing.push_back(std::move(entry));
    }
    korvana::LibraryModel model;
    model.ApplyScan(listing);
    model.TakeChanges();
    const std::string word = "artist 99";
    for (auto _ : state) {
        for (std::size_t typed = 1; typed <= word.size(); ++typed) {
            model.SetFilter(korvana::WordFilter(word.substr(0, typed)));
            benchmark::DoNotOptimize(model.TakeChanges().size());
        }
        model.SetFilter(korvana::WordFilter());
        benchmark::DoNotOptimize(model.TakeChanges().size());
    }
    state.counters["keystrokes"] = static_cast<double>(word.size() + 1);
}
BENCHMARK(FilterTypedOverManyRows)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
