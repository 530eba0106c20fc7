// Download throughput over loopback from the simulated web: the socket client
// (HttpConnection, as web downloads read) beside libcurl, on the same file in
// the same run. Run: korvana_bench --benchmark_filter=Download
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>
#include <vector>

#include "bench/support/BenchSupport.h"
#include "web/HttpConnection.h"

namespace {

constexpr std::int64_t kFileBytes = std::int64_t{1} << 30;

std::string FilePath(std::int64_t bytes) {
    return "/big/" + std::to_string(bytes);
}

// Arg 0: the receive buffer (24999 is the download thread's, 256 the size of
// a page read).
void BM_SocketClientDownload(benchmark::State& state) {
    const auto buffer = static_cast<std::size_t>(state.range(0));
    const korvana::HttpTarget target{korvana::bench::SharedWebServer().Port(), FilePath(kFileBytes),
                                     "127.0.0.1"};
    std::vector<char> chunk(buffer);
    std::int64_t total = 0;
    for (auto _ : state) {
        const korvana::HttpOptions options;
        korvana::HttpConnection connection(options);
        if (connection.Open(target, korvana::HttpMethod::Get) != korvana::HttpResult::Ok) {
            state.SkipWithError("cannot connect");
            return;
        }
        std::size_t received = 0;
        while (connection.Receive(chunk.data(), chunk.size(), received) ==
                   korvana::HttpResult::Ok &&
               received > 0) {
            total += static_cast<std::int64_t>(received);
        }
    }
    state.SetBytesProcessed(total);
}
BENCHMARK(BM_SocketClientDownload)
    ->Arg(256)
    ->Arg(24999)
    ->Arg(65536)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

std::size_t Discard(char*, std::size_t size, std::size_t count, void* total) {
    *static_cast<std::int64_t*>(total) += static_cast<std::int64_t>(size * count);
    return size * count;
}

void BM_CurlDownload(benchmark::State& state) {
    const std::string url = korvana::bench::SharedWebServer().BaseUrl() + FilePath(kFileBytes);
    std::int64_t total = 0;
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Discard);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &total);
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
        if (curl_easy_perform(curl) != CURLE_OK) {
            state.SkipWithError("curl failed");
        }
        curl_easy_cleanup(curl);
    }
    state.SetBytesProcessed(total);
}
BENCHMARK(BM_CurlDownload)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
