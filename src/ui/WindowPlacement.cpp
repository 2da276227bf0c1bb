#include "WindowPlacement.h"

namespace korvex::ui {

namespace {

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

}  // namespace

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

WindowShowState ShowStateOf(HWND hwnd) {
    if (IsZoomed(hwnd)) return kShownMaximized;
    if (IsIconic(hwnd)) return kShownMinimized;
    return kShownNormal;
}

Bounds OnAMonitor(const Bounds& bounds, int captionHeight, int grip) {
    const RECT caption{bounds.left, bounds.top, bounds.right, bounds.top + captionHeight};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST), &info)) return bounds;
    const Bounds area = FromRect(info.rcWork);
    return CaptionReachable(bounds, area, captionHeight, grip) ? bounds : MoveInto(bounds, area);
}

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

}  // namespace korvex::ui
