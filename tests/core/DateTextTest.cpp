#include <gtest/gtest.h>

#include "DateText.h"

using namespace korvex;

TEST(DateText, ShortDateInEachOrder) {
    struct Case {
        int year, month, day;
        DateOrder order;
        const wchar_t* separator;
        const wchar_t* text;
    };
    const Case cases[] = {
        {2026, 3, 7, DateOrder::dayMonthYear, L".", L"07.03.2026"},  // Russian
        {2026, 3, 7, DateOrder::monthDayYear, L"/", L"03/07/2026"},  // United States
        {2026, 3, 7, DateOrder::yearMonthDay, L"-", L"2026-03-07"},  // ISO
        {2026, 12, 11, DateOrder::dayMonthYear, L".", L"11.12.2026"},
        {2026, 12, 11, DateOrder::yearMonthDay, L". ", L"2026. 12. 11"},  // a separator of two characters
        {987, 1, 2, DateOrder::dayMonthYear, L"/", L"02/01/0987"},        // the year always four digits
        {12026, 1, 2, DateOrder::yearMonthDay, L"/", L"12026/01/02"},     // or all of them
        {2026, 3, 7, DateOrder::monthDayYear, L"", L"03072026"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortDateText(c.year, c.month, c.day, c.order, c.separator), c.text) << c.text;
}

TEST(DateText, OrderOfAShortDatePicture) {
    const std::pair<const wchar_t*, std::optional<DateOrder>> cases[] = {
        {L"dd.MM.yyyy", DateOrder::dayMonthYear},             // Russian
        {L"M/d/yyyy", DateOrder::monthDayYear},               // United States
        {L"yyyy-MM-dd", DateOrder::yearMonthDay},             // Swedish, ISO
        {L"d. M. yyyy", DateOrder::dayMonthYear},             // Slovak
        {L"yyyy. MM. dd.", DateOrder::yearMonthDay},          // Hungarian
        {L"dd/MM/yy", DateOrder::dayMonthYear},               // a two-digit year
        {L"yyyy'年'M'月'd'日'", DateOrder::yearMonthDay},     // quoted text
        {L"'day' dd 'of' MM yyyy", DateOrder::dayMonthYear},  // letters in quotes are no fields
        {L"'yy'MM/dd/yyyy", DateOrder::monthDayYear},
        {L"MMMM yyyy", std::nullopt},   // no day
        {L"dd-yyyy-MM", std::nullopt},  // none of the three orders
        {L"", std::nullopt},
        {L"'dd.MM.yyyy", std::nullopt},  // an open quote to the end
    };
    for (const auto& [picture, order] : cases) EXPECT_EQ(DateOrderOfPicture(picture), order) << picture;
}

TEST(DateText, CalendarDatesAndTheirDayNumbers) {
    EXPECT_EQ(DayNumber(1970, 1, 1), 0);
    EXPECT_EQ(DayNumber(1969, 12, 31), -1);
    EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2);  // 2000 is a leap year
    EXPECT_EQ(DayNumber(1900, 3, 1) - DayNumber(1900, 2, 28), 1);  // 1900 is not
    EXPECT_EQ(DayNumber(2027, 1, 1) - DayNumber(2026, 1, 1), 365);
    EXPECT_EQ(DayNumber(1601, 1, 1), -134774);  // where file times begin
    const std::tuple<int, int, int, bool> cases[] = {
        {2004, 2, 29, true},  {2100, 2, 29, false}, {2000, 2, 29, true}, {2026, 4, 31, false}, {2026, 12, 31, true},
        {2026, 13, 1, false}, {2026, 0, 1, false},  {2026, 1, 0, false}, {0, 0, 0, false},  // what a failed conversion
                                                                                            // leaves
    };
    for (const auto& [year, month, day, valid] : cases)
        EXPECT_EQ(IsCalendarDate(year, month, day), valid) << year << "-" << month << "-" << day;
}
