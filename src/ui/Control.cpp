#include "Control.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "Win32Error.h"

namespace korvex::ui {

namespace {

// The controls that take their own notifications back, by window. Kept in the process rather than
// as a window property: a list asks its parent for every cell it paints, and under Wine each
// property read is a round trip to the window server (about 50 microseconds, a third of a paint).
class ReflectingControls {
public:
    void Add(HWND hwnd, Control* control) {
        const std::lock_guard lock(mutex_);
        byWindow_[hwnd] = control;
    }
    void Remove(HWND hwnd, const Control* control) {
        const std::lock_guard lock(mutex_);
        if (const auto it = byWindow_.find(hwnd); it != byWindow_.end() && it->second == control) byWindow_.erase(it);
    }
    Control* Find(HWND hwnd) const {
        const std::lock_guard lock(mutex_);
        const auto it = byWindow_.find(hwnd);
        return it == byWindow_.end() ? nullptr : it->second;
    }

private:
    mutable std::mutex mutex_;
    std::unordered_map<HWND, Control*> byWindow_;
};

ReflectingControls& Reflecting() {
    static ReflectingControls controls;
    return controls;
}

}  // namespace

Control::~Control() {
    if (reflectedFrom_) Reflecting().Remove(reflectedFrom_, this);
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Control::EnableReflection() {
    if (reflectedFrom_ == hwnd_) return;
    if (reflectedFrom_) Reflecting().Remove(reflectedFrom_, this);
    reflectedFrom_ = hwnd_;
    if (hwnd_) Reflecting().Add(hwnd_, this);
}

Control* Control::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    // A control whose window has gone (its handle cleared) takes nothing back; the entry goes
    // with the control.
    Control* control = Reflecting().Find(hwnd);
    return control && control->hwnd_ == hwnd ? control : nullptr;
}

bool Control::Reflect(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

SIZE Control::DockExtent() {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const SIZE now{r.right - r.left, r.bottom - r.top};
    // A size the layout did not give was given from outside: that is the one asked for now.
    if (!placedOnce_ || now.cx != placed_.cx || now.cy != placed_.cy) wanted_ = now;
    return wanted_;
}

void Control::ScaleForDpi(int oldDpi, int newDpi) {
    // The asked-for size scales, not a squeezed one.
    const SIZE from = DockExtent();
    SetWindowPos(hwnd_, nullptr, 0, 0, MulDiv(from.cx, newDpi, oldDpi), MulDiv(from.cy, newDpi, oldDpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::Place(HDWP& batch, const RECT& r) {
    // A control already where it goes is not moved: each move costs messages to it and its
    // children, and nested layouts place most controls where they are.
    RECT now{};
    if (GetWindowRect(hwnd_, &now)) {
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&now), 2);
        if (EqualRect(&now, &r)) return;
    }
    // The batch is begun by the first control that moves: a pass that moves nothing (most nested
    // passes) costs no batch, which under Wine is two round trips to the window server.
    if (!batch) batch = BeginDeferWindowPos(1);
    if (batch)
        batch = DeferWindowPos(batch, hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring Control::Text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Control::SetText(const std::wstring& text) const {
    SetWindowTextW(hwnd_, text.c_str());
}

void Control::SetFont(HFONT font) const {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HWND CreateChildControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent, int id,
                        SIZE size) {
    const HWND hwnd =
        CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, 0, 0, size.cx, size.cy, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw platform::Win32Error(GetLastError(), L"CreateWindowExW");
    return hwnd;
}

void DockControls(const std::vector<Control*>& controls, RECT area) {
    struct Placement {
        Control* control;
        RECT rect;
    };
    std::vector<Placement> placements;
    for (Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        for (Control* c : controls) {
            // A control hidden on its own is left out; one whose parent is not shown yet (the
            // window being created) is laid out all the same.
            if (c->GetAlign() != pass || !(GetWindowLongW(c->Handle(), GWL_STYLE) & WS_VISIBLE)) continue;
            const SIZE size = c->DockExtent();
            RECT r = area;
            switch (pass) {
                case Align::Top:
                    r.bottom = std::min(area.bottom, area.top + size.cy);
                    area.top = r.bottom;
                    break;
                case Align::Bottom:
                    r.top = std::max(area.top, area.bottom - size.cy);
                    area.bottom = r.top;
                    break;
                case Align::Left:
                    r.right = std::min(area.right, area.left + size.cx);
                    area.left = r.right;
                    break;
                case Align::Right:
                    r.left = std::max(area.left, area.right - size.cx);
                    area.right = r.left;
                    break;
                default: break;
            }
            placements.push_back({c, r});
        }
    }
    HDWP batch = nullptr;
    for (auto& p : placements) p.control->Place(batch, p.rect);
    if (batch) EndDeferWindowPos(batch);
    for (auto& p : placements) {
        RECT now;
        GetWindowRect(p.control->Handle(), &now);
        p.control->NotePlaced({now.right - now.left, now.bottom - now.top});
        p.control->OnResized();
    }
}

}  // namespace korvex::ui
