#include "Registry.h"

#include <algorithm>

namespace korvex::platform {

std::optional<RegistryKey> RegistryKey::OpenForRead(HKEY root, std::wstring_view subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, std::wstring(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    return RegistryKey(key);
}

RegistryKey::Text RegistryKey::ReadText(std::wstring_view name) const {
    const std::wstring valueName(name);
    DWORD type = 0;
    DWORD bytes = 0;
    LSTATUS status = RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes);
    std::wstring data;
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {Status::WrongType, {}};
        data.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                                  &bytes);
        if (status == ERROR_SUCCESS) {
            if (type != REG_SZ && type != REG_EXPAND_SZ) return {Status::WrongType, {}};
            // The text ends at its first NUL, as every reader of a registry string takes it; a
            // missing terminator is not needed and an odd last byte is left out.
            data.resize(std::min<std::size_t>(bytes / sizeof(wchar_t), data.size() - 1));
            if (const auto nul = data.find(L'\0'); nul != std::wstring::npos) data.resize(nul);
            return {Status::Ok, std::move(data)};
        }
    }
    return {Status::Missing, {}};
}

std::vector<std::wstring> RegistryKey::ValueNames() const {
    DWORD count = 0;
    DWORD maxName = 0;
    std::vector<std::wstring> names;
    if (RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::wstring buffer(maxName + 1, L'\0');
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (RegEnumValueW(key_.get(), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(buffer.data(), length);
    }
    return names;
}

}  // namespace korvex::platform
