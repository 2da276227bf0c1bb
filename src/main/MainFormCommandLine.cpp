// TMainForm: paths from the program's command line (Explorer's "Send To", files dropped on the
// program's icon) and from later starts of the same program, added as a drop adds them.

#include "MainForm.h"

#include <utility>

#include "FileSystem.h"

namespace korvex {

namespace {

constexpr UINT kBusyRetry = 250;           // ms between looks while the window cannot take paths
constexpr std::size_t kMissingShown = 20;  // missing paths named one by one; the rest counted

}  // namespace

bool TMainForm::Busy() const {
    if (!hwnd_ || !IsWindowVisible(hwnd_) || !IsWindowEnabled(hwnd_) || filling_ || sending_) return true;
    // A menu (the system menu, the explorer's shell menu, "Добавить все") runs a loop of its own.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) &&
           (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE));
}

void TMainForm::QueueStartPaths(std::vector<std::wstring> paths) {
    if (paths.empty()) return;
    pendingPaths_.insert(pendingPaths_.end(), std::make_move_iterator(paths.begin()),
                         std::make_move_iterator(paths.end()));
    // Added from the message loop, not inside whoever handed them over.
    PostMessageW(hwnd_, kAddPendingMessage, 0, 0);
}

bool TMainForm::OfferPaths(std::vector<std::wstring> paths) {
    // Without paths the other start only asks for the window to come to the front.
    if (!paths.empty() && Busy()) return false;
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    QueueStartPaths(std::move(paths));
    return true;
}

void TMainForm::AddPendingPaths() {
    if (pendingPaths_.empty()) return;
    // Taken while free, but a box may have opened since: the paths wait for it to close.
    if (Busy()) {
        SetTimer(hwnd_, kAddPendingTimer, kBusyRetry, nullptr);
        return;
    }
    AddStartPaths(std::exchange(pendingPaths_, {}));
}

void TMainForm::AddStartPaths(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> present, missing;
    for (const std::wstring& path : paths)
        (platform::FileAttributes(path) == INVALID_FILE_ATTRIBUTES ? missing : present).push_back(path);
    AddPaths(present, true);
    if (missing.empty()) return;
    std::wstring text = missing.size() == 1 ? L"Не найден:" : L"Не найдены:";
    for (std::size_t i = 0; i < missing.size() && i < kMissingShown; ++i) text += L"\r\n" + missing[i];
    if (missing.size() > kMissingShown) text += L"\r\n… и ещё " + std::to_wstring(missing.size() - kMissingShown);
    prompter_.Show(hwnd_, {L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::Ok});
}

}  // namespace korvex
