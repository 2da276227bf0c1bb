#pragma once
// A child window placed by its parent's docking layout.

#include <windows.h>

#include <string>
#include <vector>

namespace korvex::ui {

enum class Align { None, Top, Bottom, Left, Right, Client };

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND Handle() const noexcept { return hwnd_; }

    Align GetAlign() const noexcept { return align_; }
    void SetAlign(Align align) noexcept { align_ = align; }

    // Moves the control into rect (parent coordinates) as part of a docking pass: the move joins
    // batch, which the first control that moves begins (a null batch is none yet).
    virtual void Place(HDWP& batch, const RECT& rect);

    // Called after the control got a new size from its parent's layout.
    virtual void OnResized() {}

    // The size the control asks of the docking layout: the size it was made with, or the last one
    // given to it from outside the layout (a splitter, the control itself). A parent too small to
    // give it squeezes it for the time being; once there is room again it gets that size back.
    SIZE DockExtent();
    // What the layout gave it last.
    void NotePlaced(SIZE placed) noexcept {
        placed_ = placed;
        placedOnce_ = true;
    }

    // The window moved to a monitor of another scale: the control's extents follow it.
    virtual void ScaleForDpi(int oldDpi, int newDpi);

    // A control that handles its own notifications (WM_NOTIFY, WM_COMMAND) gets them back from
    // its parent through Reflect, once it has called EnableReflection.
    virtual bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static Control* FromHandle(HWND hwnd);

    std::wstring Text() const;
    void SetText(const std::wstring& text) const;
    void SetFont(HFONT font) const;

protected:
    // Takes a native control created by the caller; destroyed with this object.
    void Attach(HWND hwnd) noexcept { hwnd_ = hwnd; }
    void EnableReflection();
    HWND hwnd_ = nullptr;

private:
    Align align_ = Align::None;
    HWND reflectedFrom_ = nullptr;  // the window this control takes notifications back from
    SIZE wanted_{};
    SIZE placed_{};
    bool placedOnce_ = false;
};

// Creates a child control of a system class with the given design size (already in pixels); throws
// platform::Win32Error when the system makes none.
HWND CreateChildControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, int id,
                        SIZE size);

// Lays out the controls inside area: top ones from the top down, bottom ones from the bottom up,
// then left, right, and client filling what remains; each group in the given order. A docked
// control keeps its extent across its edge (height for top and bottom, width for left and right).
void DockControls(const std::vector<Control*>& controls, RECT area);

}  // namespace korvex::ui
