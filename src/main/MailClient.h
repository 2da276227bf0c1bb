#pragma once
// Where the mail client lives and which mailboxes it has, from the current user's registry.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex {

inline constexpr std::wstring_view kMailClientKey = L"Software\\RIT\\The Bat!";

struct MailClientInfo {
    bool found = false;                    // the key opened and "EXE path" holds a text that is not empty
    std::wstring exePath;                  // "EXE path" as stored
    std::vector<std::wstring> mailboxes;   // data of the values whose names contain "User #"
    std::optional<std::wstring> badValue;  // a value that should be text but is not; reading stopped there
};

// Reads clientKey and clientKey\"Users depot" under root.
MailClientInfo ReadMailClient(HKEY root, std::wstring_view clientKey);

}  // namespace korvex
