#pragma once
// Splits fuzzer bytes into texts: a zero byte ends each field, every other byte is one character
// (Latin-1), so quotes, blanks and separators come up often.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline std::vector<std::wstring> SplitFields(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::wstring> fields(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && fields.size() < count) {
            fields.emplace_back();
        } else {
            fields.back() += static_cast<wchar_t>(data[i]);
        }
    }
    fields.resize(count);
    return fields;
}
