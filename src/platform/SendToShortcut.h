#pragma once
// The program's shortcut in the user's "Send To" folder: Explorer's "Отправить" menu lists every
// shortcut there and starts its target with the selected files on the command line.

#include <optional>
#include <string>
#include <string_view>

namespace korvex::platform {

inline constexpr wchar_t kSendToShortcutName[] = L"Korvex.lnk";

// The current user's Send To folder, made when it is missing; empty when the shell has none.
std::wstring SendToFolder();

struct ShortcutInfo {
    std::wstring target;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring description;
};

// What the shell's link object reads from the shortcut file; nothing when there is no such file
// or it is no shortcut.
std::optional<ShortcutInfo> ReadShortcut(const std::wstring& linkPath);

// Whether the shortcut file exists and starts exactly this executable (case ignored).
bool IsShortcutTo(const std::wstring& linkPath, std::wstring_view exePath);

// Writes the shortcut file through the shell's link object: target the executable, no arguments,
// the executable's folder as working folder, and the description. Throws AppError on failure.
void WriteShortcut(const std::wstring& linkPath, const std::wstring& exePath, const std::wstring& description);

// Removes the shortcut file; a file that is not there is no error. Throws AppError on failure.
void RemoveShortcut(const std::wstring& linkPath);

}  // namespace korvex::platform
