#include "core/GuiMessage.h"

#include <algorithm>
#include <charconv>

namespace korvana {

void GuiMessage::Reset() {
    opcode_ = 0;
    payload_.clear();
    cursor_ = 0;
}

bool GuiMessage::Load(const std::uint8_t* bytes, std::size_t n) {
    payload_.clear();
    if (n > kMaxPayload) {
        return false;
    }
    payload_.assign(bytes, bytes + n);
    return true;
}

void GuiMessage::PutLittleEndian(std::uint64_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        payload_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    cursor_ = payload_.size();
}

void GuiMessage::Put8(std::uint8_t v) {
    PutLittleEndian(v, 1);
}
void GuiMessage::Put16(std::uint16_t v) {
    PutLittleEndian(v, 2);
}
void GuiMessage::Put32(std::uint32_t v) {
    PutLittleEndian(v, 4);
}
void GuiMessage::Put64(std::uint64_t v) {
    PutLittleEndian(v, 8);
}

void GuiMessage::PutString(std::string_view text) {
    // The count has 16 bits: a longer text is cut so that the count still
    // matches the bytes that follow and the stream stays in step.
    text = text.substr(0, kMaxString);
    Put16(static_cast<std::uint16_t>(text.size()));
    payload_.insert(payload_.end(), text.begin(), text.end());
    cursor_ = payload_.size();
}

void GuiMessage::PutHash(const std::uint8_t (&hash)[16]) {
    payload_.insert(payload_.end(), hash, hash + 16);
    cursor_ = payload_.size();
}

std::uint64_t GuiMessage::GetLittleEndian(std::size_t width) {
    if (Remaining() < width) {
        return 0;
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        v |= static_cast<std::uint64_t>(payload_[cursor_ + i]) << (8 * i);
    }
    cursor_ += width;
    return v;
}

std::uint8_t GuiMessage::Get8() {
    return static_cast<std::uint8_t>(GetLittleEndian(1));
}
std::uint16_t GuiMessage::Get16() {
    return static_cast<std::uint16_t>(GetLittleEndian(2));
}
std::uint32_t GuiMessage::Get32() {
    return static_cast<std::uint32_t>(GetLittleEndian(4));
}
std::uint64_t GuiMessage::Get64() {
    return GetLittleEndian(8);
}

std::optional<std::string> GuiMessage::GetString() {
    const std::size_t count = Get16();
    if (Remaining() < count) {
        return std::nullopt;
    }
    std::string text(reinterpret_cast<const char*>(payload_.data() + cursor_), count);
    for (char& c : text) {
        if (c == '\0') {
            c = '0';
        }
    }
    cursor_ += count;
    return text;
}

double GuiMessage::GetDecimal() {
    const std::optional<std::string> text = GetString();
    if (!text) {
        return 0.0;
    }
    // from_chars, not strtod: the GUI toolkit switches the C locale to the
    // user's, where a decimal comma would turn "12.5" into 12.
    const char* first = text->data();
    const char* last = first + text->size();
    while (first != last && (*first == ' ' || *first == '\t' || *first == '\n')) {
        ++first;
    }
    if (first != last && *first == '+') {
        ++first;
    }
    double value = 0.0;
    if (std::from_chars(first, last, value).ec != std::errc()) {
        return 0.0;
    }
    return value;
}

bool GuiMessage::GetBytes(std::uint8_t* out, std::size_t n) {
    if (Remaining() < n) {
        return false;
    }
    std::copy(payload_.begin() + static_cast<std::ptrdiff_t>(cursor_),
              payload_.begin() + static_cast<std::ptrdiff_t>(cursor_ + n), out);
    cursor_ += n;
    return true;
}

std::vector<std::uint8_t> GuiMessage::ToFrame() const {
    const std::uint32_t length = static_cast<std::uint32_t>(payload_.size() + 2);
    std::vector<std::uint8_t> frame;
    frame.reserve(payload_.size() + 6);
    for (int i = 0; i < 4; ++i) {
        frame.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
    }
    frame.push_back(static_cast<std::uint8_t>(opcode_));
    frame.push_back(static_cast<std::uint8_t>(opcode_ >> 8));
    frame.insert(frame.end(), payload_.begin(), payload_.end());
    return frame;
}

}  // namespace korvana
