#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace korvana {

// A growable array of 32-bit flags that grows in steps rather than one
// entry at a time: the new capacity is the old one plus an eighth of the
// current size (from 4 to 1024), or the requested size when that is larger.
// New entries are 0.
class FlagArray {
  public:
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }

    std::uint32_t At(std::size_t index) const { return index < size_ ? data_[index] : 0; }
    void Set(std::size_t index, std::uint32_t value);
    void SetSize(std::size_t size);
    void Add(std::uint32_t value);
    void RemoveAt(std::size_t index);
    // Drops every entry and the storage.
    void RemoveAll();

  private:
    std::unique_ptr<std::uint32_t[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace korvana
