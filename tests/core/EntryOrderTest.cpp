#include <gtest/gtest.h>

#include <cwctype>

#include "EntryOrder.h"
#include "ExplorerText.h"

using namespace korvex;

namespace {

OrderFacts Facts(std::wstring thousands = L",", std::wstring date = L"/") {
    OrderFacts f;
    f.thousandsSeparator = std::move(thousands);
    f.dateSeparator = std::move(date);
    f.upperCase = [](std::wstring_view s) {
        std::wstring out(s);
        for (auto& c : out) c = static_cast<wchar_t>(std::towupper(c));
        return out;
    };
    return f;
}

TExplorerEntry Folder(const std::wstring& name, const std::wstring& modified = L"") {
    TExplorerEntry e;
    e.caption = name;
    e.subItems = {L" ", L"File folder", modified, L"", L"C:\\x\\" + name, kKindDir};
    return e;
}
TExplorerEntry File(const std::wstring& name, const std::wstring& size, const std::wstring& modified = L"",
                    const std::wstring& type = L"Text") {
    TExplorerEntry e;
    e.caption = name;
    e.subItems = {size, type, modified, L"A", L"C:\\x\\" + name, kKindFile};
    return e;
}

std::vector<std::wstring> Sorted(const std::vector<TExplorerEntry>& entries, int column, bool reversed,
                                 const OrderFacts& facts) {
    std::vector<std::wstring> names;
    for (auto i : SortOrder(entries, column, reversed, facts)) names.push_back(entries[i].caption);
    return names;
}
using Names = std::vector<std::wstring>;

}  // namespace

TEST(EntryOrder, FoldersFirstThenNamesIgnoringCase) {
    const std::vector<TExplorerEntry> entries = {File(L"z.txt", L"1"), Folder(L"b"), File(L"B.txt", L"1"),
                                                 Folder(L"A")};
    EXPECT_EQ(Sorted(entries, 0, false, Facts()), (Names{L"A", L"b", L"B.txt", L"z.txt"}));
    EXPECT_EQ(Sorted(entries, 0, true, Facts()), (Names{L"z.txt", L"B.txt", L"b", L"A"}));
}

TEST(EntryOrder, SizeByValueAndReversalPutsFilesFirst) {
    const std::vector<TExplorerEntry> entries = {Folder(L"dir"), File(L"ten", L"10"), File(L"nine", L"9"),
                                                 File(L"big", L"1000000")};
    // The first click sorts reversed: files before folders, largest first.
    EXPECT_EQ(Sorted(entries, 1, true, Facts()), (Names{L"big", L"ten", L"nine", L"dir"}));
    EXPECT_EQ(Sorted(entries, 1, false, Facts()), (Names{L"dir", L"nine", L"ten", L"big"}));
}

TEST(EntryOrder, ModifiedByTimeNotByText) {
    const std::vector<TExplorerEntry> entries = {File(L"jan", L"1", L"01/15/2005 09:00"),
                                                 File(L"dec", L"1", L"12/31/2004"),
                                                 File(L"dec-late", L"1", L"12/31/2004 23:59")};
    EXPECT_EQ(Sorted(entries, 3, false, Facts()), (Names{L"dec", L"dec-late", L"jan"}));
    EXPECT_EQ(Sorted(entries, 3, true, Facts()), (Names{L"jan", L"dec-late", L"dec"}));
}

// Where the thousands and the date separator are one character (German: "." for both), dates
// still read as dates.
TEST(EntryOrder, ModifiedWorksWhereThousandsAndDateSeparatorsAgree) {
    const OrderFacts german = Facts(L".", L".");
    const std::vector<TExplorerEntry> entries = {File(L"jan", L"1", L"01.15.2005 09:00"),
                                                 File(L"dec", L"1", L"12.31.2004"),
                                                 File(L"mar", L"1", L"03.02.2002 14:07")};
    EXPECT_EQ(Sorted(entries, 3, false, german), (Names{L"mar", L"dec", L"jan"}));
    EXPECT_EQ(ReadSortValue(L"1.234.567", german), 1234567.0);
}

// Day first (Russian: "." between the fields, and a no-break space grouping digits) and year
// first: the dates sort by the day they name, not by the text or by a month-first reading.
TEST(EntryOrder, ModifiedInTheOrderOfTheUsersShortDate) {
    OrderFacts russian = Facts(L"\u00A0", L".");
    russian.dateOrder = DateOrder::dayMonthYear;
    const std::vector<TExplorerEntry> entries = {
        File(L"11 Dec", L"1", L"11.12.2026"), File(L"3 Jul", L"1", L"03.07.2026 08:00"),
        File(L"12 Nov", L"1", L"12.11.2026 23:59"), File(L"7 Mar", L"1", L"07.03.2026 10:20"),
        File(L"31 Dec 2025", L"1", L"31.12.2025")};
    EXPECT_EQ(Sorted(entries, 3, false, russian), (Names{L"31 Dec 2025", L"7 Mar", L"3 Jul", L"12 Nov", L"11 Dec"}));
    // A date the order makes impossible (a 31st month) is no date.
    EXPECT_EQ(ReadDateTime(L"12.31.2026", DateOrder::dayMonthYear, L".", L":"), std::nullopt);

    OrderFacts iso = Facts(L" ", L"-");
    iso.dateOrder = DateOrder::yearMonthDay;
    const std::vector<TExplorerEntry> isoEntries = {File(L"b", L"1", L"2026-03-07 10:20"),
                                                    File(L"a", L"1", L"2025-12-31"), File(L"c", L"1", L"2026-11-12")};
    EXPECT_EQ(Sorted(isoEntries, 3, false, iso), (Names{L"a", L"b", L"c"}));
}

// A listing hands over each time as its fields: in every order and separator the key is the one
// read back from the text written for it, and the text read back in another order is another day.
TEST(EntryOrder, ModifiedGivenAsFieldsGivesTheKeysOfItsText) {
    const LocalTime times[] = {{2026, 3, 7, 10, 20, 41}, {2026, 12, 11, 0, 0, 0},   {2026, 12, 11, 0, 0, 31},
                               {1601, 1, 1, 0, 0, 0},    {2004, 2, 29, 23, 59, 58}, {9999, 12, 31, 12, 0, 0}};
    const std::tuple<DateOrder, const wchar_t*, const wchar_t*> forms[] = {{DateOrder::monthDayYear, L"/", L":"},
                                                                           {DateOrder::dayMonthYear, L".", L":"},
                                                                           {DateOrder::yearMonthDay, L"-", L":"},
                                                                           {DateOrder::dayMonthYear, L". ", L"."}};
    for (const auto& [order, date, time] : forms) {
        OrderFacts facts = Facts(L",", date);
        facts.dateOrder = order;
        facts.timeSeparator = time;
        for (const LocalTime& t : times) {
            TExplorerEntry fromText = File(L"a.txt", L"1", ModifiedTimeText(t, order, date, time));
            TExplorerEntry fromFields = fromText;
            PrepareSortKeys(fromText, facts);
            PrepareSortKeys(fromFields, facts, 1.0, ModifiedTimeValue(t));
            ASSERT_TRUE(ModifiedTimeValue(t).has_value());
            EXPECT_EQ(fromFields.sortKeys.column3, fromText.sortKeys.column3) << fromText.subItems[2];
            EXPECT_NE(fromText.sortKeys.column3, 0.0) << fromText.subItems[2];
        }
    }
    // Fields that name no date (a failed conversion) give no value: the text decides, as before.
    EXPECT_EQ(ModifiedTimeValue(LocalTime{}), std::nullopt);
    EXPECT_EQ(ModifiedTimeValue(LocalTime{2026, 2, 30, 0, 0, 0}), std::nullopt);
}

TEST(EntryOrder, TypeAndAttributesCompareFoldingAsciiOnly) {
    const std::vector<TExplorerEntry> entries = {File(L"1", L"1", L"", L"text"), File(L"2", L"1", L"", L"Archive"),
                                                 File(L"3", L"1", L"", L"TEXT"), File(L"4", L"1", L"", L"Ёлка"),
                                                 File(L"5", L"1", L"", L"ёлка")};
    // Equal texts keep their order; Cyrillic letters are not folded, so "Ё" and "ё" differ.
    EXPECT_EQ(Sorted(entries, 2, false, Facts()), (Names{L"2", L"1", L"3", L"4", L"5"}));
    EXPECT_EQ(CompareAsciiNoCase(L"abc", L"ABD"), L'C' - L'D');
}

TEST(EntryOrder, DrivesView) {
    auto drive = [](const wchar_t* name, const wchar_t* type, const wchar_t* total, const wchar_t* free) {
        TExplorerEntry e;
        e.caption = name;
        e.subItems = {type, total, free, L"", L"C:\\", kKindDrive};
        return e;
    };
    const std::vector<TExplorerEntry> entries = {drive(L"C", L"Fixed", L"9,000", L"10,000"),
                                                 drive(L"D", L"CDROM", L"10,000", L"0"),
                                                 drive(L"E", L"Remote", L"800", L"999")};
    // "Type" texts read as 0: all equal, order kept either way.
    EXPECT_EQ(Sorted(entries, 1, true, Facts()), (Names{L"C", L"D", L"E"}));
    // "Disk Size" compares its grouped digits as text.
    EXPECT_EQ(Sorted(entries, 2, false, Facts()), (Names{L"D", L"E", L"C"}));
    // "Free Space" compares numbers once the separators are gone.
    EXPECT_EQ(Sorted(entries, 3, false, Facts()), (Names{L"D", L"E", L"C"}));
}

TEST(EntryOrder, ReadingNumbersAndDates) {
    EXPECT_EQ(ReadNumber(L" 42 ", L'.'), 42.0);
    EXPECT_EQ(ReadNumber(L"1,5", L','), 1.5);
    EXPECT_EQ(ReadNumber(L" ", L'.'), std::nullopt);
    EXPECT_EQ(ReadNumber(L"1.2.3", L'.'), std::nullopt);
    constexpr auto mdy = DateOrder::monthDayYear;
    EXPECT_EQ(ReadDateTime(L"02/30/2004", mdy, L"/", L":"), std::nullopt);
    EXPECT_EQ(ReadDateTime(L"02/29/2004", mdy, L"/", L":"), ReadDateTime(L"02/28/2004", mdy, L"/", L":").value() + 1);
    EXPECT_EQ(ReadDateTime(L"01/01/1970 12:00", mdy, L"/", L":"), 0.5);
    EXPECT_EQ(ReadSortValue(L"garbage", Facts()), 0.0);
    // The comparison of a single pair agrees with the sort.
    EXPECT_LT(CompareEntries(File(L"a", L"9"), File(L"b", L"10"), 1, false, Facts()), 0);
    EXPECT_GT(CompareEntries(File(L"a", L"9"), File(L"b", L"10"), 1, true, Facts()), 0);
}

// A listing hands over each size as a number: the keys are those read from the size's text, in
// every locale's separators, folders (size text " ") included.
TEST(EntryOrder, SizeGivenAsANumberGivesTheKeysOfItsText) {
    const std::uint64_t sizes[] = {0, 1, 9, 999, 1000, 1234567, 5ull << 30, (1ull << 53) - 1};
    for (const OrderFacts& facts : {Facts(), Facts(L".", L"."), Facts(L" ", L"."), Facts(L"", L"-")}) {
        for (const std::uint64_t size : sizes) {
            TExplorerEntry fromText = File(L"a.txt", std::to_wstring(size), L"03/04/2005 06:07");
            TExplorerEntry fromNumber = fromText;
            PrepareSortKeys(fromText, facts);
            PrepareSortKeys(fromNumber, facts, static_cast<double>(size));
            EXPECT_EQ(fromNumber.sortKeys.column1, fromText.sortKeys.column1) << size;
            EXPECT_EQ(fromNumber.sortKeys.column3, fromText.sortKeys.column3) << size;
            EXPECT_EQ(fromNumber.sortKeys.name, fromText.sortKeys.name);
        }
        TExplorerEntry folder = Folder(L"d"), folderFromNumber = folder;
        PrepareSortKeys(folder, facts);
        PrepareSortKeys(folderFromNumber, facts, 0.0);
        EXPECT_EQ(folderFromNumber.sortKeys.column1, folder.sortKeys.column1);
    }
}

TEST(EntryOrder, SortingAViewKeepsTheRowsAndTheOrderOfTies) {
    std::vector<TExplorerEntry> rows = {File(L"c", L"5"), File(L"a", L"7"), File(L"b", L"5"), Folder(L"d")};
    for (auto& r : rows) PrepareSortKeys(r, Facts());
    std::vector<std::uint32_t> view = {0, 1, 2, 3};
    SortView(rows, view, 0, false, Facts());
    EXPECT_EQ(view, (std::vector<std::uint32_t>{3, 1, 2, 0}));  // d, a, b, c
    // By size from the name order: b and c tie at 5 and keep their order.
    SortView(rows, view, 1, false, Facts());
    EXPECT_EQ(view, (std::vector<std::uint32_t>{3, 2, 0, 1}));  // d, b, c, a
    SortView(rows, view, 1, true, Facts());
    EXPECT_EQ(view, (std::vector<std::uint32_t>{1, 2, 0, 3}));  // a, b, c, d
    EXPECT_EQ(rows[0].caption, L"c");                           // the rows themselves never move
}
