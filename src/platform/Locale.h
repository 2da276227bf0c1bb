#pragma once
// Facts of the user's regional settings.

#include <windows.h>

#include <string>
#include <string_view>

#include "ExplorerText.h"

namespace korvex::platform {

wchar_t DecimalSeparator();
std::wstring ThousandsSeparator();
std::wstring DateSeparator();
// The order of the day, month and year in the user's short date (day first in Russian).
DateOrder ShortDateOrder();
std::wstring TimeSeparator();

// Upper case by the user's rules.
std::wstring UpperCase(std::wstring_view text);

// Whether two names or paths are equal ignoring letter case, as the file system compares them:
// code unit by code unit once upper-cased, no character passed over (the user's language rules
// would take "a\u00ADb" for "ab"; they serve only to order names for display).
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b);

// A file time as the user's local date and time (with the daylight saving rule of that date).
LocalTime ToLocalTime(const FILETIME& time);

// ToLocalTime for many times in a row, as a listing needs it: the time zone is read once, when
// the converter is made, instead of once per time.
class LocalTimeConverter {
public:
    LocalTimeConverter();
    LocalTime operator()(const FILETIME& time) const;

private:
    TIME_ZONE_INFORMATION zone_{};
    bool zoneKnown_ = false;
};

// The text in lower case by the system's rules, Cyrillic and other scripts included; the same
// folding for any two spellings that the file system takes for one name.
std::wstring FoldCase(std::wstring_view text);

}  // namespace korvex::platform
