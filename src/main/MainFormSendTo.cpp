// TMainForm: the system menu's item that puts Korvex into Explorer's "Отправить" menu, as a
// shortcut to this executable in the user's Send To folder. Nothing else on the machine changes.

#include "MainForm.h"

#include "AppError.h"
#include "PathText.h"
#include "SendToShortcut.h"

namespace korvex {

namespace {

constexpr wchar_t kSendToItem[] = L"Korvex в меню «Отправить»";
constexpr wchar_t kShortcutDescription[] = L"Korvex: отправить файлы письмами, по файлу в письме";

}  // namespace

std::wstring TMainForm::SendToShortcutPath() const {
    const std::wstring folder = config_.sendToFolder.empty() ? platform::SendToFolder() : config_.sendToFolder;
    if (folder.empty()) return {};
    return EnsureBackslash(folder) + platform::kSendToShortcutName;
}

void TMainForm::AddSendToMenuItem() {
    // The system menu belongs to the window and goes with it.
    const HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kSysSendTo, kSendToItem);
}

void TMainForm::UpdateSendToMenuItem() {
    const std::wstring link = SendToShortcutPath();
    const bool present = !link.empty() && platform::IsShortcutTo(link, config_.exePath);
    CheckMenuItem(GetSystemMenu(hwnd_, FALSE), kSysSendTo, MF_BYCOMMAND | (present ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(GetSystemMenu(hwnd_, FALSE), kSysSendTo, MF_BYCOMMAND | (link.empty() ? MF_GRAYED : MF_ENABLED));
}

void TMainForm::ToggleSendToShortcut() {
    const std::wstring link = SendToShortcutPath();
    if (link.empty()) return;
    try {
        // A shortcut of the same name to another copy of the program is replaced by ours.
        if (platform::IsShortcutTo(link, config_.exePath))
            platform::RemoveShortcut(link);
        else
            platform::WriteShortcut(link, config_.exePath, kShortcutDescription);
    } catch (const AppError& e) {
        ShowError(e.Message());
    }
    UpdateSendToMenuItem();
}

}  // namespace korvex
