#include "core/TextLimit.h"

namespace korvana {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the UTF-8 sequence that `lead` starts, 0 when it starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

}  // namespace

std::string TruncateText(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    // Walk back over at most three continuation bytes to the lead of the
    // character at the limit; cut before it when that character crosses it.
    std::size_t cut = maxBytes;
    std::size_t lead = maxBytes;
    while (lead > 0 && maxBytes - lead < 3 &&
           IsContinuation(static_cast<unsigned char>(text[lead]))) {
        --lead;
    }
    if (lead < maxBytes &&
        SequenceLength(static_cast<unsigned char>(text[lead])) > maxBytes - lead) {
        cut = lead;
    }
    text.resize(cut);
    return text;
}

}  // namespace korvana
