#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/FrameReader.h"

namespace {

// The first byte picks a small limit now and then, so that skipping
// oversized frames is reached without huge inputs.
std::size_t LimitFor(std::uint8_t selector) {
    return (selector & 1) != 0 ? korvana::GuiMessage::kMaxPayload : selector / 2u;
}

std::vector<std::string> ReadInPieces(std::string_view stream, std::size_t limit,
                                      std::uint8_t step) {
    korvana::FrameReader reader(limit);
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
    return bodies;
}

}  // namespace

// However the stream is cut into pieces, the same frames come out, none
// empty and none over the limit.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::size_t limit = LimitFor(data[0]);
    const std::string_view stream(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::vector<std::string> whole = ReadInPieces(stream, limit, 255);
    const std::vector<std::string> pieces = ReadInPieces(stream, limit, data[1]);
    if (whole != pieces) {
        __builtin_trap();
    }
    for (const std::string& body : whole) {
        if (body.empty() || body.size() > limit) {
            __builtin_trap();
        }
    }
    return 0;
}
