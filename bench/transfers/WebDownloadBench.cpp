// Web download throughput over loopback from the simulated web: the whole
// download thread (receive, write into Incomplete, report to the transfer
// list, move into the downloads folder) beside libcurl writing the same
// file to disk, with the CPU time each spends per MiB. On a busy machine
// the paired benchmark, which alternates the two, is the one to compare.
// Run: korvana_bench --benchmark_filter='WebDownload|CurlToFile'
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "transfers/TransferList.h"
#include "web/download/WebDownloadTask.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kFileBytes = std::int64_t{1} << 30;
constexpr double kMiB = 1024.0 * 1024.0;

std::string FileUrl() {
    return korvana::bench::SharedWebServer().BaseUrl() + "/big/" + std::to_string(kFileBytes);
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A fresh folder for one run's files, removed afterwards.
class BenchFolder {
  public:
    BenchFolder() {
        std::string pattern = (fs::temp_directory_path() / "korvana-bench-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) != nullptr ? fs::path(pattern) : fs::path();
    }
    ~BenchFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

// One timed download: wall seconds and the calling thread's CPU seconds.
struct Run {
    bool ok = false;
    double seconds = 0.0;
    double cpuSeconds = 0.0;
};

template <typename Download>
Run Timed(Download download) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuBefore = ThreadCpuSeconds();
    Run run;
    run.ok = download();
    run.cpuSeconds = ThreadCpuSeconds() - cpuBefore;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

Run DownloadThreadRun(korvana::TransferList& list, std::size_t receiveBytes) {
    BenchFolder folder;
    korvana::WebDownloadJob job;
    job.link = FileUrl();
    job.name = "big.mp3";
    job.fileName = "big.mp3";
    job.incompleteFolder = folder.Path() / "Incomplete";
    job.downloadsFolder = folder.Path() / "Downloads";
    job.receiveBytes = receiveBytes;
    list.OpenWebDownload(job.link, job.name);
    return Timed([&] {
        const korvana::WebDownloadOutcome outcome = korvana::WebDownloadTask(job, list);
        return !outcome.finalPath.empty() && outcome.received == kFileBytes;
    });
}

Run CurlToFileRun() {
    BenchFolder folder;
    const fs::path path = folder.Path() / "big.mp3";
    const std::string url = FileUrl();
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    Run run = Timed([&] {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);  // the default writer: fwrite
        const CURLcode result = curl_easy_perform(curl);
        return std::fclose(file) == 0 && result == CURLE_OK;
    });
    curl_easy_cleanup(curl);
    run.ok = run.ok && static_cast<std::int64_t>(fs::file_size(path)) == kFileBytes;
    return run;
}

void Report(benchmark::State& state, const std::vector<Run>& runs) {
    double cpu = 0.0;
    for (const Run& run : runs) {
        cpu += run.cpuSeconds;
    }
    const double bytes = static_cast<double>(kFileBytes) * static_cast<double>(runs.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["cpu_ms_per_MiB"] = cpu * 1000.0 / (bytes / kMiB);
}

// Arg 0: the receive buffer (65536 is the download thread's own; 24999 the
// buffer of the original design).
void BM_WebDownloadTask(benchmark::State& state) {
    korvana::SystemClock clock;
    korvana::StatusLog log;
    korvana::TransferList list(clock, log);
    std::vector<Run> runs;
    for (auto _ : state) {
        const Run run = DownloadThreadRun(list, static_cast<std::size_t>(state.range(0)));
        if (!run.ok) {
            state.SkipWithError("download failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        runs.push_back(run);
    }
    Report(state, runs);
}
// Only the download is timed, not making and removing its folders.
BENCHMARK(BM_WebDownloadTask)
    ->Arg(24999)
    ->Arg(65536)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

void BM_CurlToFile(benchmark::State& state) {
    std::vector<Run> runs;
    for (auto _ : state) {
        const Run run = CurlToFileRun();
        if (!run.ok) {
            state.SkipWithError("curl failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        runs.push_back(run);
    }
    Report(state, runs);
}
BENCHMARK(BM_CurlToFile)->Iterations(1)->Unit(benchmark::kMillisecond)->UseManualTime();

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The two side by side, alternating, so that both see the same load:
// medians of each one's throughput and CPU time, and their ratio.
void BM_WebDownloadVersusCurl(benchmark::State& state) {
    korvana::SystemClock clock;
    korvana::StatusLog log;
    korvana::TransferList list(clock, log);
    std::vector<double> ours, curls, ourCpu, curlCpu;
    for (auto _ : state) {
        for (int round = 0; round < state.range(0); ++round) {
            const Run our = DownloadThreadRun(list, korvana::kWebDownloadBuffer);
            const Run curl = CurlToFileRun();
            if (!our.ok || !curl.ok) {
                state.SkipWithError("a download failed");
                return;
            }
            ours.push_back(kFileBytes / kMiB / our.seconds);
            curls.push_back(kFileBytes / kMiB / curl.seconds);
            ourCpu.push_back(our.cpuSeconds * 1000.0 / (kFileBytes / kMiB));
            curlCpu.push_back(curl.cpuSeconds * 1000.0 / (kFileBytes / kMiB));
        }
    }
    state.counters["ours_MiB_s"] = Median(ours);
    state.counters["curl_MiB_s"] = Median(curls);
    state.counters["ours_pct_of_curl"] = 100.0 * Median(ours) / Median(curls);
    state.counters["ours_cpu_ms_per_MiB"] = Median(ourCpu);
    state.counters["curl_cpu_ms_per_MiB"] = Median(curlCpu);
}
BENCHMARK(BM_WebDownloadVersusCurl)->Arg(5)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
