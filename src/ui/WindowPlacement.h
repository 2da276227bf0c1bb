#pragma once
// A top-level window's place as the settings file keeps it: the bounds of its normal state in
// screen coordinates, whatever its state now, and on a monitor that is there.

#include <windows.h>

#include "WindowBounds.h"

namespace korvex::ui {

enum WindowShowState : int { kShownNormal = 0, kShownMinimized = 1, kShownMaximized = 2 };

// The window's bounds in its normal state, in screen coordinates, whatever its state now.
Bounds NormalBounds(HWND hwnd);

// Gives the hidden window its normal bounds (screen coordinates); it stays hidden.
void SetNormalBounds(HWND hwnd, const Bounds& bounds);

// Bounds whose caption the user cannot take on the work area of the monitor nearest to it are
// moved onto that work area (grip: how much of the caption must be on it, in pixels).
Bounds OnAMonitor(const Bounds& bounds, int captionHeight, int grip);

// Normal, minimized or maximized.
WindowShowState ShowStateOf(HWND hwnd);

}  // namespace korvex::ui
