#pragma once
// Positions in a sequence found by a 64-bit hash of the element at each, in one open-addressing
// table: no allocation per element, and a hash only needs the element's text while it is added.
// Different elements may share a hash, so a lookup hands every position with the hash to the
// caller's own comparison.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvex {

class HashedPositions {
public:
    // Whether a position with this hash satisfies isSame(position).
    template <typename IsSame>
    bool Find(std::uint64_t hash, IsSame&& isSame) const {
        if (slots_.empty()) return false;
        for (std::size_t i = Home(hash);; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.position == kFree) return false;
            if (slot.hash == hash && isSame(slot.position)) return true;
        }
    }

    void Insert(std::uint64_t hash, std::size_t position);

    // Keeps the positions for which newPosition gives a place other than kDropped, moved to it.
    template <typename NewPosition>
    void Renumber(NewPosition&& newPosition) {
        const std::vector<Slot> old = slots_;
        Clear();
        for (const Slot& slot : old)
            if (slot.position != kFree) {
                const std::size_t moved = newPosition(slot.position);
                if (moved != kDropped) Insert(slot.hash, moved);
            }
    }
    static constexpr std::size_t kDropped = SIZE_MAX;

    void Clear() noexcept;
    std::size_t Size() const noexcept { return count_; }

private:
    static constexpr std::size_t kFree = SIZE_MAX;
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t position = kFree;
    };
    std::size_t Home(std::uint64_t hash) const noexcept;
    void Grow();

    std::vector<Slot> slots_;  // a power of two in size, never more than half in use
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};

}  // namespace korvex
