#include "controls/FlagArray.h"

#include <algorithm>

namespace korvana {

void FlagArray::Set(std::size_t index, std::uint32_t value) {
    if (index < size_) {
        data_[index] = value;
    }
}

void FlagArray::SetSize(std::size_t size) {
    if (size <= capacity_) {
        std::fill(data_.get() + std::min(size_, size), data_.get() + size, 0u);
        size_ = size;
        return;
    }
    const std::size_t step = std::clamp<std::size_t>(size_ / 8, 4, 1024);
    const std::size_t capacity = std::max(capacity_ + step, size);
    auto grown = std::make_unique<std::uint32_t[]>(capacity);
    std::copy(data_.get(), data_.get() + size_, grown.get());
    data_ = std::move(grown);
    capacity_ = capacity;
    size_ = size;
}

void FlagArray::Add(std::uint32_t value) {
    SetSize(size_ + 1);
    data_[size_ - 1] = value;
}

void FlagArray::RemoveAt(std::size_t index) {
    if (index >= size_) {
        return;
    }
    std::copy(data_.get() + index + 1, data_.get() + size_, data_.get() + index);
    --size_;
}

void FlagArray::RemoveAll() {
    data_.reset();
    size_ = 0;
    capacity_ = 0;
}

}  // namespace korvana
