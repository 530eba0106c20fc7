#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace korvana {

// A map from the core's 32-bit ids to 32-bit values in one flat array of
// 8-byte slots (open addressing, linear probing). A result flood puts a
// million ids in such a table; a node-based map would spend five times the
// bytes on them. Not thread-safe.
class IdTable {
  public:
    // The largest value a table can hold.
    static constexpr std::uint32_t kMaxValue = 0xFFFF'FFFEu;

    std::optional<std::uint32_t> Find(std::int32_t id) const;
    // Sets the value (at most kMaxValue) of `id`, which is added when
    // absent. True when it was absent.
    bool Set(std::int32_t id, std::uint32_t value);
    // Adds `id` with `value` unless it is there; true when it was added.
    bool Insert(std::int32_t id, std::uint32_t value = 0);
    std::size_t Size() const { return size_; }

  private:
    struct Slot {
        std::int32_t id = 0;
        // The value plus one; 0 marks a free slot.
        std::uint32_t stored = 0;
    };

    // The slot holding `id`, or the free slot where it would go.
    std::size_t Locate(std::int32_t id) const;
    void Grow();

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

}  // namespace korvana
