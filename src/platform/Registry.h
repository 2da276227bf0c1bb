#pragma once
// Reading the registry: texts and value names of one key.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UniqueResource.h"

namespace korvex::platform {

class RegistryKey {
public:
    static std::optional<RegistryKey> OpenForRead(HKEY root, std::wstring_view subKey);

    enum class Status { Ok, Missing, WrongType };
    struct Text {
        Status status = Status::Missing;
        std::wstring value;
    };
    // A REG_SZ or REG_EXPAND_SZ value as stored (environment variables are not expanded), up to
    // its first NUL; any length, with or without a terminator.
    Text ReadText(std::wstring_view name) const;

    // The names of all values, in the registry's own order.
    std::vector<std::wstring> ValueNames() const;

private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    UniqueKey key_;
};

}  // namespace korvex::platform
