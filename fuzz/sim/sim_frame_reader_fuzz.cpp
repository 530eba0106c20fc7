#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/sim/FrameReader.h"

// The stream is fed in uneven pieces, as a socket delivers it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvana::sim::FrameReader reader;
    std::vector<std::uint8_t> body;
    std::size_t offset = 0;
    std::size_t piece = 1;
    while (offset < size) {
        const std::size_t n = piece < size - offset ? piece : size - offset;
        reader.Append(data + offset, n);
        offset += n;
        piece = piece * 3 % 97 + 1;
        for (;;) {
            const auto status = reader.Next(body);
            if (status == korvana::sim::FrameReader::Status::kTooLong) {
                return 0;
            }
            if (status != korvana::sim::FrameReader::Status::kFrame) {
                break;
            }
        }
    }
    return 0;
}
