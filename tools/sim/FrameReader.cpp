#include "tools/sim/FrameReader.h"

namespace korvana::sim {

void FrameReader::Append(const std::uint8_t* bytes, std::size_t n) {
    if (start_ > 0 && start_ * 2 >= buffer_.size()) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes, bytes + n);
}

FrameReader::Status FrameReader::Next(std::vector<std::uint8_t>& body) {
    if (Buffered() < 4) {
        return Status::kNeedMore;
    }
    std::size_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        length |= static_cast<std::size_t>(buffer_[start_ + i]) << (8 * i);
    }
    if (length > kMaxBody) {
        return Status::kTooLong;
    }
    if (Buffered() < 4 + length) {
        return Status::kNeedMore;
    }
    const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + 4);
    body.assign(first, first + static_cast<std::ptrdiff_t>(length));
    start_ += 4 + length;
    return Status::kFrame;
}

}  // namespace korvana::sim
