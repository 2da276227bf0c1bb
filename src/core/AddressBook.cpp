#include "AddressBook.h"

#include "Utf8.h"

namespace korvex {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 code units as they stand, two bytes each; an odd last byte is no unit and is left out.
std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

std::wstring DecodeText(std::string_view bytes, const AnsiDecoder& ansi) {
    if (bytes.starts_with(kUtf16LeBom)) return DecodeUtf16(bytes.substr(kUtf16LeBom.size()), false);
    if (bytes.starts_with(kUtf16BeBom)) return DecodeUtf16(bytes.substr(kUtf16BeBom.size()), true);
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        if (auto text = DecodeUtf8(bytes)) return *std::move(text);
        return ansi(bytes);
    }
    if (auto text = DecodeUtf8(bytes)) return *std::move(text);
    return ansi(bytes);
}

}  // namespace

// One entry from the characters of a line (its LF not included): every CR and every double quote
// left out.
std::wstring MakeEntry(std::wstring_view line) {
    std::wstring entry;
    entry.resize(line.size());
    std::size_t n = 0;
    for (const wchar_t c : line)
        if (c != L'\r' && c != L'"') entry[n++] = c;
    entry.resize(n);
    return entry;
}

std::vector<std::wstring> DecodeAddressBook(std::string_view bytes, const AnsiDecoder& ansi) {
    const std::wstring text = DecodeText(bytes, ansi);
    const std::wstring_view all(text);
    std::vector<std::wstring> entries;
    std::size_t start = 0;
    while (start < all.size()) {
        if (all[start] == L'\x1A') break;  // the end-of-file mark at the start of a line
        std::size_t end = all.find(L'\n', start);
        if (end == std::wstring_view::npos) end = all.size();  // the last line needs no line end
        entries.push_back(MakeEntry(all.substr(start, end - start)));
        start = end + 1;
    }
    return entries;
}

}  // namespace korvex
