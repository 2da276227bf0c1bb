#include <gtest/gtest.h>

#include "StatusText.h"

using namespace korvex;

TEST(StatusText, NumberPatterns) {
    struct Case {
        double value;
        const wchar_t* pattern;
        std::wstring comma, blank;  // with "," and with a no-break space as the separator
    };
    const Case cases[] = {
        {0, L"#,#0", L"0", L"0"},
        {5, L"#,#0", L"5", L"5"},
        {1234567, L"#,#0", L"1,234,567", L"1\u00a0234\u00a0567"},
        {1.5, L"#,#0 KB", L"2 KB", L"2 KB"},  // halves away from zero
        {2.5, L"#,#0 KB", L"3 KB", L"3 KB"},
        {0.49, L"#,#0 KB", L"0 KB", L"0 KB"},
        {-1.5, L"#,#0", L"-2", L"-2"},
        {999.5, L"#,#0", L"1,000", L"1\u00a0000"},
        {0, L"0,#", L"00", L"00"},
        {5, L"0,#", L"05", L"05"},
        {12, L"0,#", L"12", L"12"},
        {1234, L"0,# MB free)", L"1,234 MB free)", L"1\u00a0234 MB free)"},
        {1234, L"0#", L"1234", L"1234"},  // no "," no grouping
        {7, L"000", L"007", L"007"},
        {7, L" KB", L"7 KB", L"7 KB"},  // no positions: the digits all the same
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumberPattern(c.value, c.pattern, L","), c.comma) << c.value << " " << c.pattern;
        EXPECT_EQ(FormatNumberPattern(c.value, c.pattern, L"\u00a0"), c.blank) << c.value << " " << c.pattern;
    }
}

TEST(StatusText, CountSizeAndDriveTexts) {
    EXPECT_EQ(StatusCountText(12, false), L"12 object(s)");
    EXPECT_EQ(StatusCountText(0, false), L"0 object(s)");
    EXPECT_EQ(StatusCountText(20000, true), L"20000 object(s) selected");  // plain digits, no grouping
    EXPECT_EQ(StatusSelectedSizeText(1536, L","), L"2 KB");
    EXPECT_EQ(StatusSelectedSizeText(500, L","), L"0 KB");
    EXPECT_EQ(StatusSelectedSizeText(0, L","), L"0 KB");
    EXPECT_EQ(StatusSelectedSizeText(5'000'000'000, L"."), L"4.882.813 KB");
    EXPECT_EQ(StatusDriveText(40'000'000'000, 5'000'000, L","), L"38,147 MB (05 MB free)");
    EXPECT_EQ(StatusDriveText(40'000'000'000, 5'000'000, L"\u00a0"), L"38\u00a0147 MB (05 MB free)");
    EXPECT_EQ(StatusDriveText(0, 0, L","), L"0 MB (00 MB free)");  // a drive that cannot be queried
    EXPECT_EQ(StatusDriveText(2'000'000'000'000, 1'500'000'000'000, L","), L"1,907,349 MB (1,430,511 MB free)");
}
