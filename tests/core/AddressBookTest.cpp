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

namespace {
// The UTF-16 bytes of text, little- or big-endian, without a mark.
std::string Utf16(std::wstring_view text, bool bigEndian) {
    std::string out;
    for (wchar_t c : text) {
        const auto unit = static_cast<char16_t>(c);
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}
const std::string kLe = "\xFF\xFE", kBe = "\xFE\xFF";
}  // namespace

TEST(DecodeAddressBook, Utf16WithItsByteOrderMark) {
    struct Case {
        const char* what;
        std::wstring text;  // encoded after the mark
        std::string extra;  // raw bytes appended after the encoded text
        Lines lines;
    };
    const Case cases[] = {
        {"CR LF line ends", L"Иван <i@x>\r\n\"Пётр\" <p@x>\r\n", "", {L"Иван <i@x>", L"Пётр <p@x>"}},
        {"LF line ends, no final end", L"a@x\nb@x", "", {L"a@x", L"b@x"}},
        {"no line end at all", L"единственный@x", "", {L"единственный@x"}},
        {"only the mark", L"", "", {}},
        {"empty lines and a lone CR", L"one\n\nt\rwo\n", "", {L"one", L"", L"two"}},
        {"Ctrl+Z at a line start ends the file",
         L"a\n\x1A"
         L"b\nc\n",
         "",
         {L"a"}},
        {"Ctrl+Z inside a line",
         L"a\x1A"
         L"b\n",
         "",
         {L"a\x1A"
          L"b"}},
        {"a mark inside the text is a character",
         L"a\nb\xFEFF"
         L"c\n\xFEFF"
         L"d",
         "",
         {L"a",
          L"b\xFEFF"
          L"c",
          L"\xFEFF"
          L"d"}},
        {"a reversed mark inside the text is a character",
         L"x\xFFFE"
         L"y",
         "",
         {L"x\xFFFE"
          L"y"}},
        {"a character outside the basic plane", L"\xD83D\xDCE7 mail@x\n", "", {L"\xD83D\xDCE7 mail@x"}},
        {"odd last byte after a line end", L"a@x\r\n", "\x41", {L"a@x"}},
        {"odd last byte in a line", L"a@x", "\x41", {L"a@x"}},
    };
    for (const bool bigEndian : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (bigEndian ? " (BE)" : " (LE)"));
            const std::string bytes = (bigEndian ? kBe : kLe) + Utf16(c.text, bigEndian) + c.extra;
            EXPECT_EQ(DecodeAddressBook(bytes, Cp1251), c.lines);
        }
    }
    // A mark of one byte order is no mark for the other: the UTF-16 LE bytes of "a" read big-endian.
    EXPECT_EQ(DecodeAddressBook(kBe + Utf16(L"a", false), Cp1251), (Lines{L"\x6100"}));
    // Only the mark's own two bytes are taken: a single FF or FE is ANSI, as before.
    EXPECT_EQ(DecodeAddressBook("\xFF", Cp1251), (Lines{L"я"}));
    EXPECT_EQ(DecodeAddressBook("\xFE"
                                "a",
                                Cp1251),
              (Lines{L"ю"
                     L"a"}));
}
