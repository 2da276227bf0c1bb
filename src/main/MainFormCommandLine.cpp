// TMainForm: paths from the program's command line (Explorer's "Send To", files dropped on the
// program's icon) and from later starts of the same program, added as a drop adds them.

#include "MainForm.h"

#include <utility>

namespace korvex {

namespace {

constexpr UINT kBusyRetry = 250;  // ms between looks while the window cannot take paths

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
    // Added as a drop adds them; the paths that are not there, or name devices, are named after
    // the others were added.
    AddPaths(paths, true);
}

}  // namespace korvex
