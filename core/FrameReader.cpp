#include "core/FrameReader.h"

#include <algorithm>

namespace korvana {
namespace {

constexpr std::size_t kHeaderSize = 4;

std::uint32_t ReadLength(const std::string& buffer, std::size_t at) {
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < kHeaderSize; ++i) {
        length |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(buffer[at + i])) << (8 * i);
    }
    return length;
}

}  // namespace

void FrameReader::Append(std::string_view bytes) {
    if (broken_) {
        return;
    }
    // Bytes that belong to a skipped frame are never stored.
    const std::size_t dropped =
        static_cast<std::size_t>(std::min<std::uint64_t>(skipping_, bytes.size()));
    skipping_ -= dropped;
    bytes.remove_prefix(dropped);
    Compact();
    buffer_.append(bytes);
}

std::optional<std::string> FrameReader::Next() {
    while (!broken_ && buffer_.size() - start_ >= kHeaderSize) {
        const std::uint32_t length = ReadLength(buffer_, start_);
        if (length > brokenLength_) {
            broken_ = true;
            brokenAt_ = length;
            return std::nullopt;
        }
        const std::size_t available = buffer_.size() - start_ - kHeaderSize;
        if (length > maxBody_) {
            const std::size_t dropped = std::min<std::size_t>(length, available);
            start_ += kHeaderSize + dropped;
            skipping_ = length - dropped;
            if (skipping_ > 0) {
                return std::nullopt;
            }
            continue;
        }
        if (available < length) {
            return std::nullopt;
        }
        const std::size_t body = start_ + kHeaderSize;
        start_ = body + length;
        if (length > 0) {
            return buffer_.substr(body, length);
        }
    }
    return std::nullopt;
}

bool FrameReader::InFrame() const {
    return !broken_ && (skipping_ > 0 || buffer_.size() > start_);
}

void FrameReader::Clear() {
    buffer_.clear();
    start_ = 0;
    skipping_ = 0;
    broken_ = false;
    brokenAt_ = 0;
}

void FrameReader::Compact() {
    if (start_ == 0) {
        return;
    }
    buffer_.erase(0, start_);
    start_ = 0;
}

}  // namespace korvana
