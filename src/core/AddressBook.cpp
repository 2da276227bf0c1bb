#include "AddressBook.h"

#include "PathText.h"
#include "Utf8.h"

namespace korvex {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::wstring DecodeText(std::string_view bytes, const AnsiDecoder& ansi) {
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        if (auto text = DecodeUtf8(bytes)) return *std::move(text);
        return ansi(bytes);
    }
    if (auto text = DecodeUtf8(bytes)) return *std::move(text);
    return ansi(bytes);
}

}  // namespace

std::vector<std::wstring> DecodeAddressBook(std::string_view bytes, const AnsiDecoder& ansi) {
    const std::wstring text = DecodeText(bytes, ansi);
    std::vector<std::wstring> entries;
    std::wstring line;
    bool lineStarted = false;  // something (even a dropped CR) was read since the last line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (!lineStarted && line.empty() && c == L'\x1A') return entries;  // end-of-file mark
        if (c == L'\n') {
            entries.push_back(RemoveQuotes(line));
            line.clear();
            lineStarted = false;
            continue;
        }
        lineStarted = true;
        if (c == L'\r') continue;  // CR LF ends the line at the LF; a lone CR is dropped
        line += c;
    }
    if (lineStarted) entries.push_back(RemoveQuotes(line));
    return entries;
}

}  // namespace korvex
