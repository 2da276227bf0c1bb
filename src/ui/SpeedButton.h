#pragma once
// A flat push button that never takes the keyboard focus: the focus stays where the user works.
// It tells its parent of a click with WM_COMMAND / BN_CLICKED, and answers BM_CLICK.

#include "Window.h"

namespace korvex::ui {

class SpeedButton : public Window {
public:
    void Create(HWND parent, int id, SIZE size, const wchar_t* caption);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint(HDC dc) override;
    void Click();
    void SetHot(bool hot);
    bool hot_ = false;
    bool pressed_ = false;
    bool tracking_ = false;
};

}  // namespace korvex::ui
