#pragma once

#include <windows.h>

namespace korvex::ui {

// Shows the hourglass for its lifetime and then puts the previous cursor back.
class BusyCursor {
public:
    BusyCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~BusyCursor() { SetCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR previous_;
};

}  // namespace korvex::ui
