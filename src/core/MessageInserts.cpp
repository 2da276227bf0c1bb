#include "MessageInserts.h"

namespace korvex {

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

}  // namespace

std::wstring FillInserts(std::wstring_view text, std::wstring_view first) {
    std::wstring out;
    out.reserve(text.size() + first.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i++];
        if (c != L'%' || i == text.size()) {
            out += c;
            continue;
        }
        const wchar_t next = text[i];
        if (next == L'0') break;
        if (IsDigit(next)) {
            // An insert number is 1 to 99: "%123" is insert 12 followed by "3".
            std::size_t number = next - L'0';
            ++i;
            if (i < text.size() && IsDigit(text[i])) number = number * 10 + (text[i++] - L'0');
            // Its printf form, "!s!", belongs to it.
            if (i < text.size() && text[i] == L'!') {
                if (const auto close = text.find(L'!', i + 1); close != std::wstring_view::npos) i = close + 1;
            }
            out += number == 1 && !first.empty() ? first : kUnnamedInsert;
            continue;
        }
        ++i;
        switch (next) {
            case L'n': out += L"\r\n"; break;
            case L'r': out += L'\r'; break;
            case L't': out += L'\t'; break;
            case L'b': out += L' '; break;
            case L'%':
            case L'.':
            case L'!': out += next; break;
            default: out += c; out += next;
        }
    }
    return out;
}

}  // namespace korvex
