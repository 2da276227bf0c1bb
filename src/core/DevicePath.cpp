#include "DevicePath.h"

#include <array>

#include "PathText.h"

namespace korvex {

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

wchar_t AsciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool EqualsAsciiUpper(std::wstring_view text, std::wstring_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (AsciiUpper(text[i]) != upper[i]) return false;
    return true;
}

bool IsDriveLetter(wchar_t c) {
    c = AsciiUpper(c);
    return c >= L'A' && c <= L'Z';
}

void DropTrailing(std::wstring_view& text, std::wstring_view characters) {
    while (!text.empty() && characters.find(text.back()) != std::wstring_view::npos) text.remove_suffix(1);
}

// The digit of "COMn" and "LPTn": 1 to 9, or a Latin-1 superscript one, two or three.
bool IsPortDigit(wchar_t c) {
    return (c >= L'1' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
}

}  // namespace

bool IsDeviceName(std::wstring_view name) {
    // What follows a colon is a stream, or nothing ("COM1:"); the system also drops trailing dots
    // and blanks, then looks at the part before the first dot without its trailing blanks.
    if (const auto colon = name.find(L':'); colon != std::wstring_view::npos) name = name.substr(0, colon);
    DropTrailing(name, L". ");
    if (const auto dot = name.find(L'.'); dot != std::wstring_view::npos) name = name.substr(0, dot);
    DropTrailing(name, L" ");
    static constexpr std::array<std::wstring_view, 6> kNames = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const std::wstring_view device : kNames)
        if (EqualsAsciiUpper(name, device)) return true;
    return name.size() == 4 &&
           (EqualsAsciiUpper(name.substr(0, 3), L"COM") || EqualsAsciiUpper(name.substr(0, 3), L"LPT")) &&
           IsPortDigit(name[3]);
}

bool IsDevicePath(std::wstring_view path) {
    // "\\.\" and "\\?\": only a drive's or a server's path behind them names a file, and only
    // those lose the prefix.
    if (path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'.' || path[2] == L'?') &&
        IsSeparator(path[3]) && WithoutNamespacePrefix(path).size() == path.size())
        return true;
    while (!path.empty() && IsSeparator(path.back())) path.remove_suffix(1);
    std::size_t start = 0;
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) {
            start = i;
            break;
        }
    // "C:CON" is CON in drive C's current folder.
    if (start == 0 && path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':') start = 2;
    return IsDeviceName(path.substr(start));
}

}  // namespace korvex
