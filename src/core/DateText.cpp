#include "DateText.h"

#include <array>

namespace korvex {

namespace {

void AppendTwoDigits(std::wstring& out, int value) {
    out += static_cast<wchar_t>(L'0' + (value / 10) % 10);
    out += static_cast<wchar_t>(L'0' + value % 10);
}

void AppendYear(std::wstring& out, int year) {
    if (year >= 0 && year < 10000) {
        for (int unit = 1000; unit > 0; unit /= 10) out += static_cast<wchar_t>(L'0' + year / unit % 10);
    } else {
        out += std::to_wstring(year);
    }
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::wstring ShortDateText(int year, int month, int day, DateOrder order, std::wstring_view separator) {
    std::wstring text;
    text.reserve(8 + 2 * separator.size());
    switch (order) {
        case DateOrder::dayMonthYear:
            AppendTwoDigits(text, day);
            text += separator;
            AppendTwoDigits(text, month);
            text += separator;
            AppendYear(text, year);
            break;
        case DateOrder::yearMonthDay:
            AppendYear(text, year);
            text += separator;
            AppendTwoDigits(text, month);
            text += separator;
            AppendTwoDigits(text, day);
            break;
        case DateOrder::monthDayYear:
        default:
            AppendTwoDigits(text, month);
            text += separator;
            AppendTwoDigits(text, day);
            text += separator;
            AppendYear(text, year);
            break;
    }
    return text;
}

std::optional<DateOrder> DateOrderOfPicture(std::wstring_view picture) {
    // The place of each field's first letter, counted in fields met.
    std::array<int, 3> place{-1, -1, -1};  // day, month, year
    int fields = 0;
    bool quoted = false;
    for (const wchar_t c : picture) {
        if (c == L'\'') quoted = !quoted;
        if (quoted) continue;
        const int field = c == L'd' ? 0 : c == L'M' ? 1 : c == L'y' ? 2 : -1;
        if (field >= 0 && place[static_cast<std::size_t>(field)] < 0) place[static_cast<std::size_t>(field)] = fields++;
    }
    const auto [day, month, year] = place;
    if (day < 0 || month < 0 || year < 0) return std::nullopt;
    if (month < day && day < year) return DateOrder::monthDayYear;
    if (day < month && month < year) return DateOrder::dayMonthYear;
    if (year < month && month < day) return DateOrder::yearMonthDay;
    return std::nullopt;
}

bool IsCalendarDate(int year, int month, int day) {
    return year >= 0 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

long long DayNumber(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(year - era * 400);
    const unsigned doy =
        (153 * static_cast<unsigned>(month + (month > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(day) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

}  // namespace korvex
