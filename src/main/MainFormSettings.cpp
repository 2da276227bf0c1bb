// TMainForm: the window's life from creation to close, and the settings file.

#include "MainForm.h"

#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "AppError.h"
#include "IniFile.h"
#include "IniValue.h"
#include "PathText.h"
#include "WindowBounds.h"

namespace korvex {

namespace {

constexpr wchar_t kSection[] = L"Main";
constexpr wchar_t kFirstFolder[] = L"c:\\";

// How much of its caption must be on a screen for a window to be taken by it, at 96 dpi.
constexpr int kCaptionGrip = 100;

enum WindowState : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };

Bounds FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}
RECT ToRect(const Bounds& b) {
    return {b.left, b.top, b.right, b.bottom};
}

// Workspace coordinates (those of WINDOWPLACEMENT) count from the top left of the monitor's work
// area: the offset of the work area on the monitor nearest rect turns them into screen coordinates.
POINT WorkspaceOffset(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return {0, 0};
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// The window's bounds in its normal state, in screen coordinates, whatever its state now.
Bounds NormalBounds(HWND hwnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(hwnd, &placement)) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return FromRect(r);
    }
    RECT r = placement.rcNormalPosition;
    const POINT offset = WorkspaceOffset(r);
    OffsetRect(&r, offset.x, offset.y);
    return FromRect(r);
}

int CurrentState(HWND hwnd) {
    if (IsZoomed(hwnd)) return kMaximized;
    if (IsIconic(hwnd)) return kMinimized;
    return kNormal;
}

// Bounds whose caption the user cannot take on the work area of the monitor nearest to it are
// moved onto that work area.
Bounds OnAMonitor(const Bounds& bounds, int captionHeight, int grip) {
    const RECT caption{bounds.left, bounds.top, bounds.right, bounds.top + captionHeight};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST), &info)) return bounds;
    const Bounds area = FromRect(info.rcWork);
    return CaptionReachable(bounds, area, captionHeight, grip) ? bounds : MoveInto(bounds, area);
}

// Gives the hidden window its normal bounds (screen coordinates); it stays hidden.
void SetNormalBounds(HWND hwnd, const Bounds& bounds) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd, &placement);
    RECT r = ToRect(bounds);
    const POINT offset = WorkspaceOffset(r);
    OffsetRect(&r, -offset.x, -offset.y);
    placement.flags = 0;
    placement.showCmd = SW_HIDE;
    placement.rcNormalPosition = r;
    SetWindowPlacement(hwnd, &placement);
}

}  // namespace

std::wstring TMainForm::SettingsPath() const {
    return SettingsPathFor(config_.exePath);
}

void TMainForm::FormCreate() {
    DragAcceptFiles(hwnd_, TRUE);
    // An error here ends the remaining steps; the window still opens.
    try {
        if (!LoadMailClient() || !LoadAddressBook()) creationAborted_ = true;
    } catch (const AppError& e) {
        ShowError(e.Message());
    }
}

void TMainForm::Show(int showCommand) {
    const bool first = !settingsLoaded_;
    // Before the window appears, so that it appears where and as it was left.
    FormShow();
    if (first && startState_ == kMaximized) showCommand = SW_SHOWMAXIMIZED;
    if (first && startState_ == kMinimized) showCommand = SW_SHOWMINIMIZED;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

void TMainForm::FormShow() {
    if (settingsLoaded_) return;
    // Whatever goes wrong while applying them, the window opens with what was applied so far.
    try {
        LoadSettings();
    } catch (const AppError& e) {
        ShowError(e.Message());
    }
    settingsLoaded_ = true;
}

void TMainForm::FormClose() {
    // Nothing that goes wrong here keeps the window from closing.
    try {
        SaveSettings();
    } catch (const AppError& e) {
        ShowError(e.Message());
    } catch (const std::exception&) {
        ShowError(L"Unexpected error");
    }
    DragAcceptFiles(hwnd_, FALSE);
}

void TMainForm::LoadSettings() {
    const platform::IniFile ini(SettingsPath());
    // Each value defaults to the current state of what it restores: a missing file or key, or a
    // number that is none, leaves that thing as it is.
    auto text = [&](const wchar_t* key, std::wstring current) {
        return ini.Read(kSection, key).value_or(std::move(current));
    };
    auto integer = [&](const wchar_t* key, int current) {
        const auto value = ini.Read(kSection, key);
        return value ? IniIntegerOr(*value, current) : current;
    };

    EditSubj1.SetText(text(L"Subject", EditSubj1.Text()));

    // The window was created without a folder: only the folder that will be shown is listed,
    // the saved one when it exists, else the first folder.
    components::TQFileExplorer& explorer = FrameFileExlore.QFileExplorer;
    // A saved folder that is gone (or cannot be shown) gives way to the nearest folder above it.
    std::wstring folder = text(L"Path", explorer.Directory().empty() ? kFirstFolder : explorer.Directory());
    explorer.SetDirectory(folder);
    while (explorer.Directory().empty() && !(folder = ParentFolder(folder)).empty()) explorer.SetDirectory(folder);
    if (explorer.Directory().empty()) explorer.SetDirectory(kFirstFolder);

    FrameFileExlore.SetExplorerViewStyle(integer(L"ViewStyle", FrameFileExlore.ExplorerViewStyle()));

    const auto edit = ini.Read(kSection, L"Edit");
    CheckBoxEdit.SetChecked(edit ? IniFlagOr(*edit, CheckBoxEdit.Checked()) : CheckBoxEdit.Checked());

    // Whether or not it is listed; only the layout's placeholder stands for "none chosen yet".
    std::vector<std::wstring> listed;
    for (int i = 0; i < ComboAccaunts.ItemCount(); ++i) listed.push_back(ComboAccaunts.Item(i));
    ComboAccaunts.SetText(StartingMailbox(text(L"Box", ComboAccaunts.Text()), listed));

    // The size the window was given by the system stands in for a saved size of 0; a smaller one
    // than the window's smallest becomes that; only the whole window is then put on a monitor.
    const Bounds current = NormalBounds(hwnd_);
    const int left = integer(L"Left", current.left);
    const int top = integer(L"Top", current.top);
    const int width = integer(L"Width", current.Width());
    const int height = integer(L"Height", current.Height());
    const POINT smallest = MinimumTrackSize();
    const Bounds whole =
        WholeBounds(left, top, width, height, {smallest.x, smallest.y}, {current.Width(), current.Height()});
    const int captionHeight = GetSystemMetricsForDpi(SM_CYCAPTION, GetDpiForWindow(hwnd_)) +
                              GetSystemMetricsForDpi(SM_CYSIZEFRAME, GetDpiForWindow(hwnd_));
    const Bounds wanted = OnAMonitor(whole, captionHeight, Scale(kCaptionGrip));
    const UINT dpiBefore = GetDpiForWindow(hwnd_);
    SetNormalBounds(hwnd_, wanted);
    // Moving onto a monitor of another scale rescales the window to the size the system suggests;
    // the saved size is meant in that monitor's pixels, so it is given once more.
    if (GetDpiForWindow(hwnd_) != dpiBefore) SetNormalBounds(hwnd_, wanted);

    // Last, so that a maximized window keeps the bounds above for when it is restored. Values
    // other than the three states open the window normally.
    startState_ = integer(L"WindowState", CurrentState(hwnd_));
}

bool TMainForm::SaveSettings() {
    const platform::IniFile ini(SettingsPath());
    // The normal-state bounds whatever the state: a maximized or minimized window is not
    // restored to read them, and a minimized one never stores its parking place.
    const Bounds bounds = NormalBounds(hwnd_);
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"Subject", EditSubj1.Text()},
        {L"Path", FrameFileExlore.QFileExplorer.Directory()},
        {L"ViewStyle", std::to_wstring(FrameFileExlore.ExplorerViewStyle())},
        {L"Edit", IniFlagText(CheckBoxEdit.Checked())},
        {L"Box", ComboAccaunts.Text()},
        {L"Left", std::to_wstring(bounds.left)},
        {L"Top", std::to_wstring(bounds.top)},
        {L"Width", std::to_wstring(bounds.Width())},
        {L"Height", std::to_wstring(bounds.Height())},
        {L"WindowState", std::to_wstring(CurrentState(hwnd_))},
    };
    for (const auto& [key, value] : values) {
        if (!ini.Write(kSection, key, value)) {
            // Once: the values after this one would fail alike. The window closes all the same.
            ShowError(L"Unable to write to " + ini.Path());
            return false;
        }
    }
    return true;
}

void TMainForm::FrameFileExloreQFileExplorerChange(components::TQFileExplorer& sender, int item,
                                                   components::TItemChange change) {
    FrameFileExlore.QFileExplorerChange(sender, item, change);
    PanelPath.SetCaption(sender.Directory());
}

}  // namespace korvex
