#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "AddressBook.h"

namespace {

std::wstring Latin1(std::string_view b) {
    std::wstring out;
    for (unsigned char c : b) out += static_cast<wchar_t>(c);
    return out;
}

void CheckEntries(const std::vector<std::wstring>& entries, std::size_t lineFeeds) {
    if (entries.size() > lineFeeds + 1) std::abort();
    for (const auto& entry : entries)
        if (entry.find_first_of(L"\"\n") != std::wstring::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::size_t lineFeeds = 0;
    for (char c : bytes) lineFeeds += c == '\n';
    CheckEntries(korvex::DecodeAddressBook(bytes, Latin1), lineFeeds);

    // The same bytes as the text of a UTF-16 file of either byte order: at most one entry per LF
    // unit, none with a quote or an LF, and an odd last byte changes nothing.
    for (const bool bigEndian : {false, true}) {
        const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        std::size_t unitFeeds = 0;
        for (std::size_t i = 0; i + 1 < size; i += 2)
            unitFeeds += bigEndian ? (data[i] == 0 && data[i + 1] == '\n') : (data[i] == '\n' && data[i + 1] == 0);
        const auto entries = korvex::DecodeAddressBook(mark + std::string(bytes), Latin1);
        CheckEntries(entries, unitFeeds);
        if (size % 2 == 1 &&
            entries != korvex::DecodeAddressBook(mark + std::string(bytes.substr(0, size - 1)), Latin1))
            std::abort();
    }
    return 0;
}
