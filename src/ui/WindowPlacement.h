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

// Bounds that lie on no monitor are moved onto the work area of the nearest one.
Bounds OnAMonitor(const Bounds& bounds);

// Normal, minimized or maximized.
WindowShowState ShowStateOf(HWND hwnd);

}  // namespace korvex::ui
