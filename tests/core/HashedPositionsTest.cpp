#include <gtest/gtest.h>

#include "HashedPositions.h"

#include <vector>

using namespace korvex;

// Elements that share a hash (here every third one) are told apart only by the caller's
// comparison; the table must hand over each of them, before and after it grows and is renumbered.
TEST(HashedPositions, SharedHashesReachTheCallersComparison) {
    HashedPositions index;
    std::vector<int> values;
    const auto hashOf = [](int value) { return static_cast<std::uint64_t>(value / 3); };
    const auto has = [&](int value) {
        return index.Find(hashOf(value), [&](std::size_t p) { return values[p] == value; });
    };
    for (int v = 0; v < 300; ++v) {
        EXPECT_FALSE(has(v));
        index.Insert(hashOf(v), values.size());
        values.push_back(v);
    }
    for (int v = 0; v < 300; ++v) EXPECT_TRUE(has(v)) << v;
    EXPECT_FALSE(has(300));
    EXPECT_FALSE(has(-1));

    // Drop the even values; the others move down to close the gaps.
    std::vector<int> kept;
    index.Renumber([&](std::size_t p) {
        if (values[p] % 2 == 0) return HashedPositions::kDropped;
        return static_cast<std::size_t>(values[p] / 2);
    });
    for (int v = 1; v < 300; v += 2) kept.push_back(v);
    values = kept;
    EXPECT_EQ(index.Size(), 150u);
    for (int v = 0; v < 300; ++v) EXPECT_EQ(has(v), v % 2 == 1) << v;

    index.Clear();
    EXPECT_EQ(index.Size(), 0u);
    EXPECT_FALSE(has(1));
    index.Insert(hashOf(7), 0);
    values = {7};
    EXPECT_TRUE(has(7));
    EXPECT_FALSE(has(8));
}
