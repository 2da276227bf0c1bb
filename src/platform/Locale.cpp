#include "Locale.h"

#include <windows.h>

namespace korvex::platform {

wchar_t DecimalSeparator() {
    wchar_t buf[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) return buf[0];
    return L'.';
}

namespace {
std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buf[16] = {};
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, 16);
    return n > 1 ? std::wstring(buf, static_cast<std::size_t>(n - 1)) : fallback;
}

std::wstring MapCase(const wchar_t* locale, DWORD flags, std::wstring_view text) {
    if (text.empty()) return {};
    std::wstring out(text.size(), L'\0');
    const int n = LCMapStringEx(locale, flags, text.data(), static_cast<int>(text.size()), out.data(),
                                static_cast<int>(out.size()), nullptr, nullptr, 0);
    if (n <= 0) return std::wstring(text);
    out.resize(static_cast<std::size_t>(n));
    return out;
}
}  // namespace

std::wstring ThousandsSeparator() {
    return LocaleText(LOCALE_STHOUSAND, L",");
}
std::wstring DateSeparator() {
    return LocaleText(LOCALE_SDATE, L"/");
}
std::wstring TimeSeparator() {
    return LocaleText(LOCALE_STIME, L":");
}

DateOrder ShortDateOrder() {
    // The short date picture is what the user sets; the older order code stands in where the
    // picture is one of no plain order.
    wchar_t picture[80] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SSHORTDATE, picture, 80) > 1)
        if (const auto order = DateOrderOfPicture(picture)) return *order;
    const std::wstring code = LocaleText(LOCALE_IDATE, L"0");
    return code == L"1" ? DateOrder::dayMonthYear : code == L"2" ? DateOrder::yearMonthDay : DateOrder::monthDayYear;
}

std::wstring UpperCase(std::wstring_view text) {
    // Without linguistic casing the mapping follows the file system's rules, under which ASCII
    // letters map to their ASCII capitals in every locale: no system call for such text.
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c >= 0x80) return MapCase(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, text);
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return out;
}

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

LocalTime ToLocalTime(const FILETIME& time) {
    return LocalTimeConverter()(time);
}

LocalTimeConverter::LocalTimeConverter() : zoneKnown_(GetTimeZoneInformation(&zone_) != TIME_ZONE_ID_INVALID) {}

LocalTime LocalTimeConverter::operator()(const FILETIME& time) const {
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&time, &utc)) return {};
    // The zone read once gives the conversion the same rule it would look up itself each time.
    if (!SystemTimeToTzSpecificLocalTime(zoneKnown_ ? &zone_ : nullptr, &utc, &local)) local = utc;
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::wstring FoldCase(std::wstring_view text) {
    // ASCII text folds to its ASCII lower case by any rules: no system call for it (names and
    // extensions mostly are).
    std::wstring out(text);
    for (wchar_t& c : out) {
        if (c >= 0x80) return MapCase(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text);
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return out;
}

}  // namespace korvex::platform
