#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/CoreDispatcher.h"
#include "tests/support/RecordingSinks.h"

namespace {

// Every opcode the dispatcher reads, some it ignores and one it does not know.
constexpr std::array<std::uint16_t, 16> kOpcodes = {0,  1,  4,  5,  19, 20, 34, 46,
                                                    48, 49, 52, 53, 12, 2,  3,  700};

class ZeroClock final : public korvana::Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return {}; }
    std::time_t WallNow() const override { return 0; }
};

}  // namespace

// Input: one byte choosing the core's layout (odd: a real core's hello
// first), then frames, each as a selector byte, a 16-bit length and that
// many payload bytes. Selector 255 hands the payload over as a raw body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    korvana::StatusLog log;
    ZeroClock clock;
    korvana::CoreTables tables;
    korvana::RecordingResultSink results;
    korvana::RecordingTransferSink transfers;
    for (std::int32_t search = 0; search < 4; ++search) {
        results.AddSearch(search);
    }
    korvana::CoreDispatcher dispatcher(log, clock, tables);
    dispatcher.SetResultSink(&results);
    dispatcher.SetTransferSink(&transfers);
    if ((data[0] & 1) != 0) {
        dispatcher.Dispatch(std::string("\0\0\x29\0\0\0", 6));
    }
    std::size_t at = 1;
    while (at + 3 <= size) {
        const std::uint8_t selector = data[at];
        const std::size_t length =
            std::min<std::size_t>(data[at + 1] | (data[at + 2] << 8), size - at - 3);
        const std::string payload(reinterpret_cast<const char*>(data) + at + 3, length);
        at += 3 + length;
        if (selector == 255) {
            dispatcher.Dispatch(payload);
            continue;
        }
        const std::uint16_t opcode = kOpcodes[selector % kOpcodes.size()];
        std::string body{static_cast<char>(opcode & 0xFF), static_cast<char>(opcode >> 8)};
        dispatcher.Dispatch(body + payload);
    }
    tables.OptionValue("max_hard_upload_rate");
    tables.ConnectedServers();
    return 0;
}
