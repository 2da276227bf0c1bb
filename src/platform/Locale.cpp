#include "Locale.h"

#include <windows.h>

namespace korvex::platform {

wchar_t DecimalSeparator() {
    wchar_t buf[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) return buf[0];
    return L'.';
}

std::wstring FoldCase(std::wstring_view text) {
    if (text.empty()) return {};
    std::wstring out(text.size(), L'\0');
    const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), static_cast<int>(text.size()),
                                out.data(), static_cast<int>(out.size()), nullptr, nullptr, 0);
    if (n <= 0) return std::wstring(text);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

}  // namespace korvex::platform
