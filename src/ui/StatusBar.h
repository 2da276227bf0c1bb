#pragma once
// A thin wrapper of the comctl32 status bar with parts of fixed widths; the docking layout gives
// it its place and its height.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Control.h"

namespace korvex::ui {

class StatusBar : public Control {
public:
    void Create(HWND parent, int id, SIZE size);

    // The parts' widths in pixels, from the left.
    void SetParts(std::vector<int> widths);
    const std::vector<int>& PartWidths() const noexcept { return widths_; }
    void SetPartText(int part, const std::wstring& text) const;
    std::wstring PartText(int part) const;

    // Its height and the parts' widths follow the new scale.
    void ScaleForDpi(int oldDpi, int newDpi) override;

private:
    std::vector<int> widths_;
};

}  // namespace korvex::ui
