#include <gtest/gtest.h>

#include "SizeText.h"

using namespace korvex;

TEST(SizeText, WorkedValuesWithEitherDecimalSeparator) {
    struct Case {
        std::uint64_t bytes;
        std::wstring dot, comma;
    };
    const Case cases[] = {
        {0, L"0 B", L"0 B"},
        {1023, L"1023 B", L"1023 B"},
        {1024, L"1 KB", L"1 KB"},
        {1536, L"1.5 KB", L"1,5 KB"},
        {1152, L"1.12 KB", L"1,12 KB"},  // 112.5 hundredths round to the even 112
        {1176, L"1.15 KB", L"1,15 KB"},  // 114.84 rounds up
        {1048575, L"1024 KB", L"1024 KB"},
        {1048576, L"1 MB", L"1 MB"},
        {1073741824, L"1024 MB", L"1024 MB"},
        {3ull << 30, L"3072 MB", L"3072 MB"},
        {5ull << 30, L"5120 MB", L"5120 MB"},
        {(5ull << 20) + (1ull << 19), L"5.5 MB", L"5,5 MB"},
        {~0ull, L"17592186044416 MB", L"17592186044416 MB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SizeToText(c.bytes, L'.'), c.dot) << c.bytes;
        EXPECT_EQ(SizeToText(c.bytes, L','), c.comma) << c.bytes;
    }
}
