#pragma once
// A thin wrapper of the comctl32 rebar: bands that hold child windows, as tall as its bands.
// It tells its parent of a change of its height with RBN_HEIGHTCHANGE, so the parent can lay
// its controls out again.

#include <windows.h>
#include <commctrl.h>

#include "Control.h"

namespace korvex::ui {

class CoolBar : public Control {
public:
    void Create(HWND parent, int id, SIZE size);

    // Adds a band holding child (which the rebar takes as its own child window), at least
    // minChild in size.
    void AddBand(HWND child, SIZE minChild);
    void SetBandMinSize(int band, SIZE minChild);
    int BandCount() const;
    int BarHeight() const;

    // The height follows the bands, which the owner sizes for the new scale.
    void ScaleForDpi(int, int) override {}
};

}  // namespace korvex::ui
