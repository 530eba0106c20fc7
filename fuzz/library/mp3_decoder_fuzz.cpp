#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/media/Mp3Decoder.h"

// Opens arbitrary bytes as an MP3 stream, decodes all of it, seeks into
// the middle and decodes again: whatever the bytes claim, reads stay inside
// them and every loop ends.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    korvana::Mp3Decoder decoder;
    if (!decoder.OpenMemory(bytes)) {
        return 0;
    }
    std::vector<std::int16_t> buffer(1152 * static_cast<std::size_t>(decoder.Channels()));
    const auto decodeAll = [&] {
        // A stream of n bytes holds far fewer than n reads of one frame.
        for (std::size_t read = 0; read <= size; ++read) {
            bool ended = false;
            decoder.Read(buffer.data(), 1152, &ended);
            if (ended) {
                return;
            }
        }
    };
    decodeAll();
    decoder.SeekFrame(decoder.LengthFrames() / 2);
    decodeAll();
    return 0;
}
