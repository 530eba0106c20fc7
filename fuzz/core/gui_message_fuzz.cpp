#include <cstddef>
#include <cstdint>

#include "core/GuiMessage.h"

// Decodes arbitrary bytes as every primitive in turn; reads must stay inside
// the loaded body whatever the counts say.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvana::GuiMessage message;
    if (!message.Load(data, size)) {
        return 0;
    }
    while (message.Remaining() > 0) {
        const std::uint8_t kind = message.Get8();
        switch (kind % 6) {
            case 0:
                message.Get16();
                break;
            case 1:
                message.Get32();
                break;
            case 2:
                message.Get64();
                break;
            case 3:
                if (!message.GetString()) {
                    return 0;
                }
                break;
            case 4:
                message.GetDecimal();
                break;
            default: {
                std::uint8_t hash[16];
                message.GetBytes(hash, sizeof hash);
            }
        }
    }
    return 0;
}
