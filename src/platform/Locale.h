#pragma once
// Facts of the user's regional settings.

#include <string>
#include <string_view>

namespace korvex::platform {

wchar_t DecimalSeparator();

// The text in lower case by the system's rules, Cyrillic and other scripts included; the same
// folding for any two spellings that the file system takes for one name.
std::wstring FoldCase(std::wstring_view text);

}  // namespace korvex::platform
