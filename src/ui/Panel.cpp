#include "Panel.h"

#include "UniqueResource.h"

namespace korvex::ui {

namespace {
constexpr int kBevel = 2;  // a lowered outer and a raised inner edge of one pixel each
}

void Panel::Create(HWND parent, SIZE size, Options options, const wchar_t* caption) {
    options_ = options;
    CreateWin({.name = L"KorvexPanel"}, caption, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT, parent, RECT{0, 0, size.cx, size.cy});
}

void Panel::SetCaption(const std::wstring& caption) {
    SetText(caption);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT Panel::DockArea() const {
    RECT r = Container::DockArea();
    if (options_.bevel) InflateRect(&r, -kBevel, -kBevel);
    return r;
}

void Panel::OnPaint(HDC dc) {
    RECT r;
    GetClientRect(hwnd_, &r);
    if (options_.bevel) DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = Text();
    if (caption.empty()) return;
    InflateRect(&r, -(kBevel + 2), -kBevel);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const platform::SelectedObject selectedFont(dc, Font());
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    format |= options_.captionAlign == CaptionAlign::Center  ? DT_CENTER
              : options_.captionAlign == CaptionAlign::Right ? DT_RIGHT
                                                             : DT_LEFT;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, format);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE: InvalidateRect(hwnd_, nullptr, TRUE); break;
        default: break;
    }
    return Container::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex::ui
