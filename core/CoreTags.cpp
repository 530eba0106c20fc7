#include "core/CoreTags.h"

#include <algorithm>
#include <cstring>

namespace korvana {
namespace {

// Each tag is packed as: name length (one byte), name, type (one byte), then
// either text length (one byte) and text, or the four bytes of the integer.
// The limits of 127 characters keep every length within one byte.
static_assert(CoreTag::kMaxName <= 255 && CoreTag::kMaxText <= 255);

void PutText(std::string& packed, const std::string& text, std::size_t limit) {
    const std::size_t length = std::min(text.size(), limit);
    packed.push_back(static_cast<char>(length));
    packed.append(text, 0, length);
}

std::string_view TakeText(std::string_view packed, std::size_t& at) {
    const auto length = static_cast<unsigned char>(packed[at]);
    const std::string_view text = packed.substr(at + 1, length);
    at += 1 + length;
    return text;
}

}  // namespace

CoreTags::CoreTags(const std::vector<CoreTag>& tags) {
    std::size_t bytes = 0;
    for (const CoreTag& tag : tags) {
        bytes += 3 + std::min(tag.name.size(), CoreTag::kMaxName) +
                 (tag.type == CoreTag::kTextType ? std::min(tag.text.size(), CoreTag::kMaxText)
                                                 : sizeof(std::int32_t));
    }
    packed_.reserve(bytes);
    for (const CoreTag& tag : tags) {
        PutText(packed_, tag.name, CoreTag::kMaxName);
        packed_.push_back(static_cast<char>(tag.type));
        if (tag.type == CoreTag::kTextType) {
            PutText(packed_, tag.text, CoreTag::kMaxText);
        } else {
            char bytesOfValue[sizeof(std::int32_t)];
            std::memcpy(bytesOfValue, &tag.intValue, sizeof bytesOfValue);
            packed_.append(bytesOfValue, sizeof bytesOfValue);
        }
    }
}

CoreTags::Iterator::Iterator(std::string_view packed, std::size_t at)
    : packed_(packed), at_(at), next_(at) {
    Read();
}

CoreTags::Iterator& CoreTags::Iterator::operator++() {
    at_ = next_;
    Read();
    return *this;
}

CoreTags::Iterator CoreTags::Iterator::operator++(int) {
    Iterator before = *this;
    ++*this;
    return before;
}

// Only this file writes the buffer, so every record is whole.
void CoreTags::Iterator::Read() {
    if (at_ >= packed_.size()) {
        return;
    }
    std::size_t at = at_;
    current_ = CoreTagView{};
    current_.name = TakeText(packed_, at);
    current_.type = static_cast<std::uint8_t>(packed_[at++]);
    if (current_.type == CoreTag::kTextType) {
        current_.text = TakeText(packed_, at);
    } else {
        std::memcpy(&current_.intValue, packed_.data() + at, sizeof current_.intValue);
        at += sizeof current_.intValue;
    }
    next_ = at;
}

}  // namespace korvana
