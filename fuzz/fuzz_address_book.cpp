#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "AddressBook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto latin1 = [](std::string_view b) {
        std::wstring out;
        for (unsigned char c : b) out += static_cast<wchar_t>(c);
        return out;
    };
    const auto entries = korvex::DecodeAddressBook(bytes, latin1);
    std::size_t lineFeeds = 0;
    for (char c : bytes) lineFeeds += c == '\n';
    if (entries.size() > lineFeeds + 1) std::abort();
    for (const auto& entry : entries)
        if (entry.find_first_of(L"\"\n") != std::wstring::npos) std::abort();
    return 0;
}
