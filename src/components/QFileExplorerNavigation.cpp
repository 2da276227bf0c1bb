// TQFileExplorer: moving through the folders with the mouse and the keyboard, and the shell's menu
// for the selection.

#include <windowsx.h>

#include "AppError.h"
#include "ExplorerText.h"
#include "Locale.h"
#include "PathText.h"
#include "QFileExplorer.h"
#include "Window.h"

namespace korvex::components {

namespace {

TShiftState HeldKeys(bool altFromMessage) {
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Insert(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Insert(ssCtrl);
    if (altFromMessage || GetKeyState(VK_MENU) < 0) shift.Insert(ssAlt);
    return shift;
}

TShiftState MouseShift(WPARAM keyFlags) {
    TShiftState shift;
    if (keyFlags & MK_SHIFT) shift.Insert(ssShift);
    if (keyFlags & MK_CONTROL) shift.Insert(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Insert(ssAlt);
    if (keyFlags & MK_LBUTTON) shift.Insert(ssLeft);
    if (keyFlags & MK_RBUTTON) shift.Insert(ssRight);
    if (keyFlags & MK_MBUTTON) shift.Insert(ssMiddle);
    return shift;
}

bool IsFolderKind(const std::wstring& kind) {
    return kind == kKindDir || kind == kKindDrive;
}

}  // namespace

void TQFileExplorer::OnListDestroyed() {
    KillTimer(hwnd_, kWatchTimer);
    watch_.reset();
    // The background thread ends with the window it answers to, without waiting for a question
    // under way; what it had not handed over goes with it, and the window is woken no more.
    answers_.reset();
    wanted_.clear();
    askPosted_ = false;
}

LRESULT TQFileExplorer::HandleListMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == ShellAnswersMessage()) {
        TakeShellAnswers();
        return 0;
    }
    if (msg == AskShellMessage()) {
        askPosted_ = false;
        AskWanted();
        return 0;
    }
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            WORD key = static_cast<WORD>(wParam);
            const bool wentUp = KeyDownHandling(key, HeldKeys(msg == WM_SYSKEYDOWN && (lParam & (1 << 29))));
            if (key == 0) return 0;  // a host took the key
            const LRESULT result = CallList(hwnd, msg, key, lParam);
            // The list's own handling of an arrow moves the focus: the folder that was left keeps it.
            if (wentUp) FocusLeftFolder();
            return result;
        }
        case WM_GETDLGCODE: {
            // Enter opens the selected entry: a window whose loop runs IsDialogMessage would
            // otherwise take it as its default button's key and the list would never see it.
            const LRESULT code = CallList(hwnd, msg, wParam, lParam);
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
                return code | DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYUP:
            // The menu key opens the menu on its release; taken here, so that the system's
            // default handling, where it has one, makes no second menu.
            if (wParam != VK_APPS || !contextMenu_) break;
            KeyboardContextMenu();
            return 0;
        case WM_RBUTTONDOWN:
            // Never passed on: the list's own handling would select and track the button itself.
            MouseDownHandling(TMouseButton::mbRight, MouseShift(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
            MouseDownHandling(msg == WM_LBUTTONDOWN ? TMouseButton::mbLeft : TMouseButton::mbMiddle, MouseShift(wParam),
                              GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return CallList(hwnd, msg, wParam, lParam);
        case WM_XBUTTONDOWN:
            // The mouse's back button goes up, as in the system's own file windows.
            if (GET_XBUTTON_WPARAM(wParam) == XBUTTON1) UpOneLevel();
            return TRUE;
        case WM_CONTEXTMENU:
            if (!contextMenu_) break;
            // From the keyboard (the menu key, Shift+F10) the position is -1, -1; one that comes
            // from the mouse follows a right click, whose press has opened the menu already.
            if (GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1) KeyboardContextMenu();
            return 0;
        case WM_TIMER:
            if (wParam != kWatchTimer) break;
            OnWatchTimer();
            return 0;
        default: break;
    }
    return CallList(hwnd, msg, wParam, lParam);
}

void TQFileExplorer::UpOneLevel() {
    if (IsDrivesView()) return;
    const std::wstring folder = EnsureBackslash(directory_);
    const std::optional<std::wstring> target = ParentOrDrives(folder);
    if (!target) return;
    const std::wstring before = directory_;
    SetDirectory(*target);
    if (directory_ == before) return;  // the parent could not be shown
    // A drive root is the drives view's entry "C:\"; a folder its parent's entry without the slash.
    leftFolder_ = IsDrivesView() ? folder : folder.substr(0, folder.size() - 1);
    FocusLeftFolder();
}

void TQFileExplorer::FocusLeftFolder() {
    if (leftFolder_.empty()) return;
    const std::wstring wanted = platform::FoldCase(leftFolder_);
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (IsFolderKind(Entry(i).Kind()) && platform::FoldCase(Entry(i).FullPath()) == wanted) {
            FocusOnly(i);
            return;
        }
    }
}

void TQFileExplorer::FocusOnly(std::size_t index) {
    if (!hwnd_ || index >= order_.size()) return;
    const int item = static_cast<int>(index);
    {
        ++quietChanges_;
        ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        --quietChanges_;
    }
    SetFocusedAndSelected(index);
    ListView_SetSelectionMark(hwnd_, item);
    ListView_EnsureVisible(hwnd_, item, FALSE);
}

void TQFileExplorer::ClickHandling() {
    if (const int first = FirstSelected(); first >= 0)
        SetCurrentItemPath(Entry(static_cast<std::size_t>(first)).FullPath());
    if (OnClick) OnClick(*this);
}

void TQFileExplorer::DoubleClickHandling() {
    if (OnDblClick) OnDblClick(*this);
    const int first = FirstSelected();
    if (first < 0) return;
    // A copy: entering a folder replaces the rows.
    const TExplorerEntry entry = Entry(static_cast<std::size_t>(first));
    if (IsFolderKind(entry.Kind())) {
        SetDirectory(EnsureBackslash(entry.FullPath()));
    } else if (entry.Kind() == kKindFile && contextAction_) {
        if (Shell.RunItemDefaultCommand) Shell.RunItemDefaultCommand(entry.FullPath(), hwnd_);
    }
}

bool TQFileExplorer::KeyDownHandling(WORD& key, TShiftState shift) {
    const WORD pressed = key;
    bool wentUp = false;
    const bool upArrow = pressed == VK_UP;
    if (pressed == VK_BACK || (upArrow && shift == TShiftState{ssCtrl}) || (upArrow && shift == TShiftState{ssAlt})) {
        const std::wstring before = directory_;
        UpOneLevel();
        wentUp = directory_ != before;
    } else if (pressed == VK_RETURN && FirstSelected() >= 0) {
        DoubleClickHandling();
    } else if (pressed == VK_F2 && shift.Empty()) {
        if (const int focused = FocusedIndex(); focused >= 0) BeginRename(static_cast<std::size_t>(focused));
    } else if (pressed == VK_F5 && shift.Empty()) {
        ListAgain();
    } else if (pressed == 'A' && shift == TShiftState{ssCtrl} && hwnd_ &&
               !(GetWindowLongW(hwnd_, GWL_STYLE) & LVS_SINGLESEL)) {
        // Ctrl+A selects every entry, as in the system's own file windows: one state change.
        SelectAll();
    }
    WORD forHost = pressed;
    if (OnKeyDown) OnKeyDown(*this, forHost, shift);
    key = forHost;
    return wentUp;
}

void TQFileExplorer::MouseDownHandling(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
    if (button != TMouseButton::mbRight || !contextMenu_ || !hwnd_) return;
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    const int item = ListView_HitTest(hwnd_, &hit);
    if (item < 0 || static_cast<std::size_t>(item) >= RowCount() || !(hit.flags & LVHT_ONITEM)) return;
    SetFocus(hwnd_);
    if (!IsSelected(static_cast<std::size_t>(item))) ClearSelection();
    SetFocusedAndSelected(static_cast<std::size_t>(item));
    ClickHandling();
    POINT at{};
    GetCursorPos(&at);
    ShowSelectionMenu(at);
}

void TQFileExplorer::KeyboardContextMenu() {
    if (!hwnd_ || ListView_GetSelectedCount(hwnd_) == 0) return;
    // At the focused entry when it is selected, else at the first selected one.
    int item = FocusedIndex();
    if (item < 0 || !IsSelected(static_cast<std::size_t>(item))) item = FirstSelected();
    if (item < 0) return;
    ListView_EnsureVisible(hwnd_, item, FALSE);
    RECT label{};
    ListView_GetItemRect(hwnd_, item, &label, LVIR_LABEL);
    POINT at{label.left + (label.bottom - label.top) / 2, (label.top + label.bottom) / 2};
    ClientToScreen(hwnd_, &at);
    if (const int first = FirstSelected(); first >= 0)
        SetCurrentItemPath(Entry(static_cast<std::size_t>(first)).FullPath());
    ShowSelectionMenu(at);
}

void TQFileExplorer::ShowSelectionMenu(POINT at) {
    bool renameChosen = false;
    std::wstring renamePath;
    {
        // No listing again while the menu is open: the rows stay those the menu was made for.
        ++busy_;
        const platform::ScopeExit done([this] { --busy_; });
        if (SelectedCount() >= 2) {
            SelectedFilenames();
            std::vector<std::wstring> names = selectionList_;
            if (IsDrivesView()) {
                // Drives have no bare name: their roots stand for them.
                names.clear();
                ForEachSelected([&](std::size_t i) { names.push_back(Entry(i).FullPath()); });
            }
            int focused = FocusedIndex();
            if (focused < 0 || !IsSelected(static_cast<std::size_t>(focused))) focused = FirstSelected();
            if (focused >= 0) renamePath = Entry(static_cast<std::size_t>(focused)).FullPath();
            if (Shell.PopupItemsMenu) Shell.PopupItemsMenu(directory_, names, hwnd_, renameChosen, at);
        } else {
            renamePath = currentItemPath_;
            if (Shell.PopupItemMenu) Shell.PopupItemMenu(currentItemPath_, hwnd_, at, renameChosen);
        }
    }
    if (!hwnd_) return;
    // Whatever the command did on disk (deleted, pasted, renamed, made a folder) shows at once.
    ListAgain();
    if (!renameChosen || renamePath.empty()) return;
    const std::wstring wanted = platform::FoldCase(renamePath);
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (platform::FoldCase(Entry(i).FullPath()) == wanted) {
            BeginRename(i);
            return;
        }
    }
}

}  // namespace korvex::components
