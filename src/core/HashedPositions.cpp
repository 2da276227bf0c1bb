#include "HashedPositions.h"

#include <algorithm>

namespace korvex {

std::size_t HashedPositions::Home(std::uint64_t hash) const noexcept {
    // The hash's bits mixed once more (a multiply and a shift), so that a weak low half of the
    // caller's hash does not crowd one end of the table.
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
}

void HashedPositions::Insert(std::uint64_t hash, std::size_t position) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    std::size_t i = Home(hash);
    while (slots_[i].position != kFree) i = (i + 1) & mask_;
    slots_[i] = {hash, position};
    ++count_;
}

void HashedPositions::Grow() {
    std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
    old.swap(slots_);
    mask_ = slots_.size() - 1;
    count_ = 0;
    for (const Slot& slot : old)
        if (slot.position != kFree) Insert(slot.hash, slot.position);
}

void HashedPositions::Clear() noexcept {
    // The table keeps its size: a list emptied is mostly filled again to a like length.
    std::fill(slots_.begin(), slots_.end(), Slot{});
    count_ = 0;
}

}  // namespace korvex
