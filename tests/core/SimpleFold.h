#pragma once
// A case folding for tests of the window-free core, where the platform's is not at hand.

#include <cwctype>
#include <string>
#include <string_view>

inline std::wstring SimpleFold(std::wstring_view s) {
    std::wstring out(s);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}
