#include <gtest/gtest.h>

#include "AddressBook.h"

using namespace korvex;

namespace {
// Stands in for code page 1251: the Cyrillic range 0xC0..0xFF, the rest as Latin-1.
std::wstring Cp1251(std::string_view bytes) {
    std::wstring out;
    for (unsigned char b : bytes)
        out += b >= 0xC0 ? static_cast<wchar_t>(0x0410 + (b - 0xC0)) : static_cast<wchar_t>(b);
    return out;
}
using Lines = std::vector<std::wstring>;
}  // namespace

TEST(DecodeAddressBook, LinesAndQuotes) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a@x\r\nb@x\r\n", {L"a@x", L"b@x"}},
        {"a@x\nb@x\n", {L"a@x", L"b@x"}},
        {"a@x\nb@x", {L"a@x", L"b@x"}},
        {"one\n\nthree\n", {L"one", L"", L"three"}},
        {"\n", {L""}},
        {"\"Ivan Petrov\" <ivan@x.ru>\n", {L"Ivan Petrov <ivan@x.ru>"}},
        {"a\rb\r\nc", {L"ab", L"c"}},  // a lone CR is dropped, not a line end
        {"a\n\x1A"
         "b\nc\n",
         {L"a"}},  // Ctrl+Z at a line start ends the file
        {"a\x1A"
         "b\n",
         {L"a\x1A"
          L"b"}},  // elsewhere it is an ordinary character
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeAddressBook(c.bytes, Cp1251), c.lines) << c.bytes;
}

TEST(DecodeAddressBook, ChoosesUtf8OrTheAnsiCodePage) {
    // "Иван <i@x>" in UTF-8 with and without a byte-order mark, and in code page 1251.
    const std::string utf8 = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD <i@x>";
    const std::string ansi = "\xC8\xE2\xE0\xED <i@x>";
    const Lines expected{L"Иван <i@x>"};
    EXPECT_EQ(DecodeAddressBook(utf8, Cp1251), expected);
    EXPECT_EQ(DecodeAddressBook("\xEF\xBB\xBF" + utf8 + "\r\n", Cp1251), expected);
    EXPECT_EQ(DecodeAddressBook(ansi, Cp1251), expected);
    // One invalid byte anywhere makes the whole file ANSI.
    EXPECT_EQ(DecodeAddressBook(utf8 + "\n\xC8\n", Cp1251), (Lines{Cp1251(utf8), L"И"}));
}
