#pragma once
// Short dates as the user's regional settings write them: two-digit day and month, a four-digit
// year, in the order and with the separator the settings give (07.03.2026, 03/07/2026,
// 2026-03-07), and the calendar arithmetic that orders them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvex {

// Which field of a short date comes first, second and third.
enum class DateOrder : std::uint8_t {
    monthDayYear,  // 03/07/2026 (United States)
    dayMonthYear,  // 07.03.2026 (Russia, most of Europe)
    yearMonthDay,  // 2026-03-07 (ISO, East Asia, Sweden)
};

// The date in that order with the separator between its fields; a year past 9999 keeps all its digits.
std::wstring ShortDateText(int year, int month, int day, DateOrder order, std::wstring_view separator);

// The order of the day, month and year fields ("d", "M", "y") in a short date picture such as
// "dd.MM.yyyy", "M/d/yyyy" or "yyyy'年'M'月'd'日'" (text in single quotes is passed over). None
// when a field is missing or the order is none of the three.
std::optional<DateOrder> DateOrderOfPicture(std::wstring_view picture);

// Whether the fields name a day of the proleptic Gregorian calendar (year 0 and later).
bool IsCalendarDate(int year, int month, int day);

// Days from 1 January 1970 to a calendar date (negative before it).
long long DayNumber(int year, int month, int day);

}  // namespace korvex
