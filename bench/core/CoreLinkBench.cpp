// How fast the receive thread can take a flood of results from the core:
// cutting the stream into frames, and decoding, pooling and binding results.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/CoreDispatcher.h"
#include "core/FrameReader.h"
#include "tests/support/RecordingSinks.h"

namespace {

class ZeroClock final : public korvana::Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return {}; }
    std::time_t WallNow() const override { return 0; }
};

korvana::GuiMessage Result(std::int32_t id) {
    korvana::GuiMessage m(4);
    m.Put32(static_cast<std::uint32_t>(id));
    m.Put32(1);
    m.Put16(1);
    m.PutString("Some Artist - Some Title (" + std::to_string(id) + ").mp3");
    const std::uint8_t hash[16] = {};
    m.PutHash(hash);
    m.Put64(4500000);
    m.PutString("mp3");
    m.PutString("Audio");
    m.Put16(2);
    m.PutString("availability");
    m.Put8(0);
    m.Put32(12);
    m.PutString("bitrate");
    m.Put8(0);
    m.Put32(192);
    m.PutString("");
    m.Put8(0);
    return m;
}

std::string Body(const korvana::GuiMessage& message) {
    const std::vector<std::uint8_t> frame = message.ToFrame();
    return std::string(frame.begin() + 4, frame.end());
}

void BM_DispatchResults(benchmark::State& state) {
    std::vector<std::string> bodies;
    for (std::int32_t id = 0; id < 1000; ++id) {
        bodies.push_back(Body(Result(id)));
        korvana::GuiMessage bind(5);
        bind.Put32(0);
        bind.Put32(static_cast<std::uint32_t>(id));
        bodies.push_back(Body(bind));
    }
    korvana::StatusLog log;
    ZeroClock clock;
    korvana::CoreTables tables;
    korvana::RecordingResultSink results;
    results.AddSearch(0);
    korvana::CoreDispatcher dispatcher(log, clock, tables);
    dispatcher.SetResultSink(&results);
    for (auto _ : state) {
        for (const std::string& body : bodies) {
            dispatcher.Dispatch(body);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_DispatchResults);

void BM_FrameReaderStream(benchmark::State& state) {
    std::string stream;
    for (std::int32_t id = 0; id < 1000; ++id) {
        const std::vector<std::uint8_t> frame = Result(id).ToFrame();
        stream.append(frame.begin(), frame.end());
    }
    const std::size_t chunk = 64 * 1024;
    for (auto _ : state) {
        korvana::FrameReader reader;
        std::size_t frames = 0;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            reader.Append(std::string_view(stream).substr(at, chunk));
            while (reader.Next()) {
                ++frames;
            }
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(BM_FrameReaderStream);

}  // namespace
