#include <gtest/gtest.h>

#include <climits>

#include "IniValue.h"
#include "WindowBounds.h"

using namespace korvex;

TEST(IniValue, SettingsPathReplacesTheExtensionOfTheName) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"D:\\Tools\\sender.exe", L"D:\\Tools\\sender.ini"},
        {L"D:\\Tools\\sender", L"D:\\Tools\\sender.ini"},
        {L"D:\\v1.2\\korvex", L"D:\\v1.2\\korvex.ini"},  // a dot in a folder is no extension
        {L"D:korvex.exe", L"D:korvex.ini"},
        {L"C:\\a.b\\k.tar.exe", L"C:\\a.b\\k.tar.ini"},
        {L"C:\\Проекты\\Корвекс.EXE", L"C:\\Проекты\\Корвекс.ini"},
    };
    for (const auto& [exe, ini] : cases) EXPECT_EQ(SettingsPathFor(exe), ini) << exe;
}

TEST(IniValue, IntegerForms) {
    struct Case {
        std::wstring text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {L"800", 800},
        {L"0", 0},
        {L"-32000", -32000},
        {L"+12", 12},
        {L"007", 7},
        {L"0x320", 800},
        {L"0X320", 800},
        {L"$320", 800},
        {L"$ff", 255},
        {L"-$10", -16},
        {L"0x7FFFFFFF", INT_MAX},
        {L"$FFFFFFFF", -1},  // the 32-bit pattern
        {L"$80000000", INT_MIN},
        {L"$000000001", 1},  // leading zeros are not significant
        {L"2147483647", INT_MAX},
        {L"-2147483648", INT_MIN},
        // Not whole numbers: the caller keeps its current value.
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"$100000000", std::nullopt},
        {L"99999999999999999999999", std::nullopt},
        {L"0x", std::nullopt},  // two characters: not hexadecimal, and no decimal number either
        {L"$", std::nullopt},
        {L"", std::nullopt},
        {L"-", std::nullopt},
        {L"yes", std::nullopt},
        {L"12px", std::nullopt},
        {L"1.5", std::nullopt},
        {L" 12", std::nullopt},
        {L"0x-1", std::nullopt},
        {L"$$1", std::nullopt},
        {L"x10", std::nullopt},
        {L"\u0661\u0662", std::nullopt},  // digits of another script are not decimal digits here
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << c.text;
    EXPECT_EQ(IniIntegerOr(L"yes", 42), 42);
    EXPECT_EQ(IniIntegerOr(L"0x320", 42), 800);
}

TEST(IniValue, FlagIsOneOrZeroAndAnyNonZeroIsSet) {
    EXPECT_EQ(IniFlagText(true), L"1");
    EXPECT_EQ(IniFlagText(false), L"0");
    for (const bool current : {false, true}) {
        EXPECT_TRUE(IniFlagOr(L"1", current));
        EXPECT_TRUE(IniFlagOr(L"-1", current));
        EXPECT_TRUE(IniFlagOr(L"$10", current));
        EXPECT_FALSE(IniFlagOr(L"0", current));
        EXPECT_FALSE(IniFlagOr(L"0x0", current));
        EXPECT_EQ(IniFlagOr(L"yes", current), current);
        EXPECT_EQ(IniFlagOr(L"", current), current);
    }
}

TEST(IniValue, StartingMailboxReplacesOnlyThePlaceholder) {
    const std::vector<std::wstring> listed{L"Office", L"Home"};
    EXPECT_EQ(StartingMailbox(L"ComboAccaunts", listed), L"Office");
    EXPECT_EQ(StartingMailbox(L"ComboAccaunts", {}), L"");
    EXPECT_EQ(StartingMailbox(L"Home", listed), L"Home");
    EXPECT_EQ(StartingMailbox(L"Архив", listed), L"Архив");  // kept, listed or not
    EXPECT_EQ(StartingMailbox(L"", listed), L"");
    EXPECT_EQ(StartingMailbox(L"comboaccaunts", listed), L"comboaccaunts");
}

TEST(WindowBounds, FromOriginSaturatesAndNeverGoesNegative) {
    EXPECT_EQ(BoundsFromOrigin(10, 20, 800, 600), (Bounds{10, 20, 810, 620}));
    EXPECT_EQ(BoundsFromOrigin(5, 5, -100, 0), (Bounds{5, 5, 5, 5}));
    const Bounds huge = BoundsFromOrigin(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_GE(huge.Width(), 0);
    EXPECT_GE(huge.Height(), 0);
    EXPECT_GT(huge.left, 0);
    EXPECT_LT(huge.top, 0);
}

TEST(WindowBounds, MoveIntoKeepsTheSizeOrCutsItToTheArea) {
    const Bounds area{0, 0, 1024, 738};
    struct Case {
        Bounds in, out;
    };
    const Case cases[] = {
        {{100, 100, 900, 700}, {100, 100, 900, 700}},       // inside: unchanged
        {{-5000, 100, -4200, 700}, {0, 100, 800, 700}},     // far left
        {{3000, 2000, 3800, 2600}, {224, 138, 1024, 738}},  // beyond the bottom right
        {{-10, -10, 2000, 2000}, {0, 0, 1024, 738}},        // larger than the area
        {{50, 50, 50, 50}, {50, 50, 50, 50}},               // empty
    };
    for (const auto& c : cases) EXPECT_EQ(MoveInto(c.in, area), c.out) << c.in.left << "," << c.in.top;
    const Bounds secondary{1024, -200, 2304, 824};
    EXPECT_EQ(MoveInto({-5000, 100, -4200, 700}, secondary), (Bounds{1024, 100, 1824, 700}));
    EXPECT_EQ(MoveInto({1, 2, 3, 4}, Bounds{10, 10, 5, 5}), (Bounds{10, 10, 10, 10}));  // an inverted area
}

// Saved bounds are made whole first, and only the whole window is then put where it can be reached:
// a zero-sized window far off the screen must end on it at a size that can be used.
TEST(WindowBounds, WholeBeforePlacedAndReachableByItsCaption) {
    const Size smallest{560, 400}, byDefault{960, 720};
    struct Case {
        int left, top, width, height;
        Bounds whole;
    };
    const Case cases[] = {
        {100, 100, 800, 600, {100, 100, 900, 700}},          // usable as saved
        {50000, 50000, 0, 0, {50000, 50000, 50960, 50720}},  // zero: the default size
        {0, 0, -5, -5, {0, 0, 960, 720}},                    // negative: the default size
        {0, 0, 10, 10, {0, 0, 560, 400}},                    // below the smallest
        {0, 0, 559, 900, {0, 0, 560, 900}},
        {-100, -100, 100000, 100000, {-100, -100, 99900, 99900}},           // huge: cut by the placing
        {INT_MAX, INT_MIN, INT_MAX, INT_MAX, {0, -(1 << 28), 1 << 28, 0}},  // the whole range
    };
    for (const auto& c : cases)
        EXPECT_EQ(WholeBounds(c.left, c.top, c.width, c.height, smallest, byDefault), c.whole)
            << c.left << "," << c.width;

    const Bounds area{0, 0, 1024, 738};
    struct Reach {
        Bounds window;
        bool reachable;
    };
    const Reach reach[] = {
        {{100, 100, 900, 700}, true},          {{-700, 100, 100, 700}, true},  // 100 px of caption on the screen
        {{-790, 100, 10, 700}, false},                                         // 10 px: no grip
        {{100, -690, 900, 10}, false},                                         // caption above the top
        {{100, 730, 900, 1300}, true},                                         // caption's top 8 px still there
        {{100, 738, 900, 1300}, false},                                        // below the bottom
        {{990, 100, 1020, 130}, true},    // narrower than the grip, wholly on the screen
        {{1000, 100, 1030, 130}, false},  // narrower than the grip, partly off
        {{50000, 50000, 50960, 50720}, false},
    };
    for (const auto& r : reach)
        EXPECT_EQ(CaptionReachable(r.window, area, 30, 64), r.reachable) << r.window.left << "," << r.window.top;
}
