#include <gtest/gtest.h>

#include "AddressList.h"

#include "SimpleFold.h"

using namespace korvex;

namespace {
// Letter case is folded by a stand-in that knows only ASCII; the platform folds every script.
const AddressRows kRows{L"alpha@x", L"Beta <b@x>", L"bor@x", L"carl@x", L"BRAVO@x", L""};
}  // namespace

TEST(FindRow, NextRowThatBeginsWithTheTypedText) {
    struct Case {
        const wchar_t* text;
        std::size_t start;
        bool partial, wrap;
        std::optional<std::size_t> row;
    } const cases[] = {
        {L"b", 0, true, true, 1},  // letter case ignored
        {L"b", 2, true, true, 2},  // from the start row on, the start row included
        {L"b", 5, true, true, 1},  // wrapping past the end
        {L"b", 5, true, false, std::nullopt},
        {L"br", 0, true, true, 4},
        {L"BOR@X", 0, false, true, 2},  // the whole text
        {L"bor", 0, false, true, std::nullopt},
        {L"z", 0, true, true, std::nullopt},
        {L"", 3, true, true, 3},    // the empty text begins every row
        {L"a", 99, true, true, 0},  // a start past the end begins at the top
        {L"a", 99, true, false, std::nullopt},
        {L"alpha@x and more", 0, true, true, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << (c.partial ? " partial" : " whole") << (c.wrap ? " wrap" : ""));
        EXPECT_EQ(FindRow(kRows, {c.text, c.start, c.partial, c.wrap}, SimpleFold), c.row);
    }
    EXPECT_EQ(FindRow({}, {L"a"}, SimpleFold), std::nullopt);
}

TEST(RowCursor, WalksLikeAStringEnumerator) {
    const auto rows = std::make_shared<const AddressRows>(kRows);
    RowCursor cursor(rows);
    auto first = cursor.Next(2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], L"alpha@x");
    EXPECT_EQ(first[1], L"Beta <b@x>");
    RowCursor clone = cursor;  // walks on from the same position, on its own
    EXPECT_TRUE(cursor.Skip(2));
    EXPECT_EQ(cursor.Next(1).at(0), L"BRAVO@x");
    EXPECT_EQ(clone.Next(1).at(0), L"bor@x");
    // Fewer left than asked: what is left, then nothing.
    auto rest = cursor.Next(10);
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0], L"");
    EXPECT_TRUE(cursor.Next(1).empty());
    EXPECT_TRUE(cursor.Skip(0));
    EXPECT_FALSE(cursor.Skip(1));
    cursor.Reset();
    EXPECT_EQ(cursor.Position(), 0u);
    EXPECT_FALSE(cursor.Skip(7));
    EXPECT_EQ(cursor.Position(), kRows.size());
    cursor.Reset();
    EXPECT_EQ(cursor.Next(kRows.size()).size(), kRows.size());
    // No rows at all.
    RowCursor none(std::make_shared<const AddressRows>());
    EXPECT_TRUE(none.Next(5).empty());
    EXPECT_FALSE(none.Skip(1));
}
