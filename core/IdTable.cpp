#include "core/IdTable.h"

#include <utility>

namespace korvana {
namespace {

constexpr std::size_t kFirstCapacity = 16;

// Neighbouring ids, as the core hands them out, land far apart.
std::size_t Spread(std::int32_t id) {
    return static_cast<std::size_t>(static_cast<std::uint32_t>(id) * 0x9E37'79B1u);
}

}  // namespace

std::size_t IdTable::Locate(std::int32_t id) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = Spread(id) & mask;
    while (slots_[at].stored != 0 && slots_[at].id != id) {
        at = (at + 1) & mask;
    }
    return at;
}

std::optional<std::uint32_t> IdTable::Find(std::int32_t id) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const Slot& slot = slots_[Locate(id)];
    return slot.stored != 0 ? std::optional<std::uint32_t>(slot.stored - 1) : std::nullopt;
}

bool IdTable::Set(std::int32_t id, std::uint32_t value) {
    // At most three quarters full, so that a probe stays short.
    if ((size_ + 1) * 4 > slots_.size() * 3) {
        Grow();
    }
    Slot& slot = slots_[Locate(id)];
    const bool added = slot.stored == 0;
    slot = Slot{id, value + 1};
    size_ += added ? 1 : 0;
    return added;
}

bool IdTable::Insert(std::int32_t id, std::uint32_t value) {
    if (Find(id)) {
        return false;
    }
    return Set(id, value);
}

void IdTable::Grow() {
    std::vector<Slot> old = std::exchange(
        slots_, std::vector<Slot>(slots_.empty() ? kFirstCapacity : slots_.size() * 2));
    for (const Slot& slot : old) {
        if (slot.stored != 0) {
            slots_[Locate(slot.id)] = slot;
        }
    }
}

}  // namespace korvana
