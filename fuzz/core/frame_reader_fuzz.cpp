#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/FrameReader.h"

namespace {

// The first byte picks a small limit now and then, so that skipping
// oversized frames and breaking on impossible lengths are reached without
// huge inputs.
std::size_t LimitFor(std::uint8_t selector) {
    return (selector & 1) != 0 ? korvana::GuiMessage::kMaxPayload : selector / 2u;
}

std::size_t BrokenFor(std::uint8_t selector, std::size_t limit) {
    return (selector & 1) != 0 ? korvana::FrameReader::kBrokenLength : limit * 4;
}

struct Read {
    std::vector<std::string> bodies;
    bool broken = false;
    bool operator==(const Read&) const = default;
};

Read ReadInPieces(std::string_view stream, std::size_t limit, std::size_t brokenAt,
                  std::uint8_t step) {
    korvana::FrameReader reader(limit, brokenAt);
    std::vector<std::string> bodies;
    std::size_t piece = 1;
    while (!stream.empty()) {
        const std::size_t n = std::min(piece, stream.size());
        reader.Append(stream.substr(0, n));
        stream.remove_prefix(n);
        while (std::optional<std::string> body = reader.Next()) {
            bodies.push_back(std::move(*body));
        }
        piece = piece * 3 % (step + 2u) + 1;
    }
    return {std::move(bodies), reader.Broken()};
}

}  // namespace

// However the stream is cut into pieces, the same frames come out (and the
// stream breaks or not alike), none empty and none over the limit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t limit = LimitFor(data[0]);
    const std::size_t brokenAt = BrokenFor(data[0], limit);
    const std::string_view stream(reinterpret_cast<const char*>(data) + 2, size - 2);
    const Read whole = ReadInPieces(stream, limit, brokenAt, 255);
    const Read pieces = ReadInPieces(stream, limit, brokenAt, data[1]);
    if (!(whole == pieces)) {
        __builtin_trap();
    }
    for (const std::string& body : whole.bodies) {
        if (body.empty() || body.size() > limit) {
            __builtin_trap();
        }
    }
    return 0;
}
