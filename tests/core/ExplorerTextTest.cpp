#include <gtest/gtest.h>

#include "ExplorerText.h"

using namespace korvex;

TEST(ExplorerText, AttributeLettersInFixedOrder) {
    const std::pair<std::uint32_t, std::wstring> cases[] = {
        {0x21, L"AR"}, {0x06, L"HS"}, {0x10, L""}, {0x00, L""}, {0x27, L"ARHS"}, {0x80 | 0x800, L""}, {0x30, L"A"}};
    for (const auto& [attrs, letters] : cases) EXPECT_EQ(AttributeLetters(attrs), letters) << attrs;
}

TEST(ExplorerText, DriveTypeNames) {
    const wchar_t* names[] = {L"<unknown>", L"<not exists>", L"Removable", L"Fixed", L"Remote", L"CDROM", L"RAM"};
    for (std::uint8_t code = 0; code < 7; ++code) EXPECT_EQ(DriveTypeName(code), names[code]);
    EXPECT_EQ(DriveTypeName(200), L"<unknown>");
}

TEST(ExplorerText, GroupedDigits) {
    EXPECT_EQ(GroupDigits(0, L","), L"0");
    EXPECT_EQ(GroupDigits(999, L","), L"999");
    EXPECT_EQ(GroupDigits(1000, L","), L"1,000");
    EXPECT_EQ(GroupDigits(1234567, L"\u00A0"), L"1\u00A0234\u00A0567");
    EXPECT_EQ(GroupDigits(107374182400ull, L"."), L"107.374.182.400");
}

TEST(ExplorerText, ModifiedTimeText) {
    constexpr auto mdy = DateOrder::monthDayYear, dmy = DateOrder::dayMonthYear, ymd = DateOrder::yearMonthDay;
    struct Case {
        LocalTime t;
        DateOrder order;
        const wchar_t *date, *time;
        std::wstring text;
    };
    const Case cases[] = {
        {{2002, 3, 2, 14, 7, 41}, mdy, L"/", L":", L"03/02/2002 14:07"},
        {{2002, 3, 2, 14, 7, 41}, mdy, L".", L":", L"03.02.2002 14:07"},
        {{2026, 3, 7, 10, 20, 0}, dmy, L".", L":", L"07.03.2026 10:20"},  // Russian
        {{2026, 12, 11, 9, 5, 0}, dmy, L".", L":", L"11.12.2026 09:05"},
        {{2026, 3, 7, 10, 20, 0}, ymd, L"-", L":", L"2026-03-07 10:20"},
        {{2004, 12, 31, 0, 0, 0}, mdy, L"/", L":", L"12/31/2004"},  // midnight: the date alone
        {{2004, 12, 31, 0, 0, 0}, dmy, L".", L":", L"31.12.2004"},
        {{2004, 12, 31, 0, 0, 1}, mdy, L"/", L":", L"12/31/2004"},  // two-second resolution
        {{2004, 12, 31, 0, 0, 30}, mdy, L"/", L":", L"12/31/2004 00:00"},
        {{2005, 1, 15, 23, 59, 59}, mdy, L"-", L".", L"01-15-2005 23.59"},
    };
    for (const auto& c : cases) EXPECT_EQ(ModifiedTimeText(c.t, c.order, c.date, c.time), c.text);
}

TEST(ExplorerText, FilterTest) {
    const std::uint32_t none = FilterWord({});
    const std::uint32_t archiveNormal = FilterWord({ftArchive, ftNormal});
    const std::uint32_t all = FilterWord({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
    EXPECT_EQ(all, 0xA7u);
    struct Case {
        std::uint32_t attrs;
        bool folderPass;
        bool inNone, inArchiveNormal, inAll;
    };
    const Case cases[] = {
        {0x20, false, true, true, true},     // archive file
        {0x21, false, false, false, true},   // read-only file
        {0x22, false, false, false, true},   // hidden file
        {0x24, false, false, false, true},   // system file
        {0x10, true, true, true, true},      // plain folder
        {0x12, true, false, false, true},    // hidden folder
        {0x10, false, false, false, false},  // a folder never passes a file pass
        {0x20, true, false, false, false},   // nor a file the folder pass
    };
    for (const auto& c : cases) {
        const std::uint32_t pass = c.folderPass ? kAttrDirectory : 0;
        EXPECT_EQ(PassesFilter(c.attrs, none | pass), c.inNone) << c.attrs;
        EXPECT_EQ(PassesFilter(c.attrs, archiveNormal | pass), c.inArchiveNormal) << c.attrs;
        EXPECT_EQ(PassesFilter(c.attrs, all | pass), c.inAll) << c.attrs;
    }
}

TEST(ExplorerText, MaskSplitKeepsBlanksAndEmptyPatterns) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(SplitMask(L"*.*"), V{L"*.*"});
    EXPECT_EQ(SplitMask(L"*.txt;*.doc"), (V{L"*.txt", L"*.doc"}));
    EXPECT_EQ(SplitMask(L"*.txt; *.doc"), (V{L"*.txt", L" *.doc"}));
    EXPECT_EQ(SplitMask(L"*.txt;;*.doc;"), (V{L"*.txt", L"", L"*.doc", L""}));
    EXPECT_EQ(SplitMask(L""), V{L""});
}

TEST(ExplorerText, MaskMatchesAllOnlyWithOneCatchAllPattern) {
    for (const wchar_t* mask : {L"*.*", L"*", L"*.*;", L";*", L";;*.*;"}) EXPECT_TRUE(MaskMatchesAll(mask)) << mask;
    // Two catch-all patterns list every file twice; a blank makes another pattern.
    for (const wchar_t* mask : {L"", L";", L"*.*;*", L"*;*", L"*.txt", L"*.*;*.txt", L" *.*", L"*.* ", L"*.", L"**"})
        EXPECT_FALSE(MaskMatchesAll(mask)) << mask;
}

TEST(ExplorerText, DrivesWordAndBareNamesAndKinds) {
    EXPECT_TRUE(IsDrivesWord(L"DRIVES"));
    EXPECT_TRUE(IsDrivesWord(L"drives"));
    EXPECT_TRUE(IsDrivesWord(L"Drives"));
    EXPECT_FALSE(IsDrivesWord(L"DRIVES\\"));
    EXPECT_FALSE(IsDrivesWord(L"C:\\"));
    EXPECT_EQ(BareName(L"C:\\Docs\\Old"), L"Old");
    EXPECT_EQ(BareName(L"C:\\"), L"");
    EXPECT_EQ(BareName(L"name"), L"name");
    EXPECT_EQ(KindOfTag(L"file"), TObjectTypes{otFile});
    EXPECT_EQ(KindOfTag(L"drv"), TObjectTypes{otDisk});
    EXPECT_TRUE(KindOfTag(L"DIR").Empty());
}

TEST(ExplorerText, ParentOrDrivesGoesUpOneLevelAndFromARootToTheDrives) {
    const std::pair<std::wstring, std::optional<std::wstring>> cases[] = {
        {L"C:\\Drawings\\2024", L"C:\\Drawings\\"},
        {L"C:\\Drawings\\2024\\", L"C:\\Drawings\\"},
        {L"C:\\Drawings", L"C:\\"},
        {L"C:\\", L"Drives"},
        {L"C:", L"Drives"},
        {L"\\\\srv\\share\\plans\\", L"\\\\srv\\share\\"},
        {L"plans", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& [folder, parent] : cases) EXPECT_EQ(ParentOrDrives(folder), parent) << folder;
}
