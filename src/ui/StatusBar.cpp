#include "StatusBar.h"

namespace korvex::ui {

void StatusBar::Create(HWND parent, int id, SIZE size) {
    Attach(CreateChildControl(STATUSCLASSNAMEW, L"", WS_CLIPSIBLINGS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                              0, parent, id, size));
    SendMessageW(hwnd_, SB_SIMPLE, FALSE, 0);
}

void StatusBar::SetParts(std::vector<int> widths) {
    widths_ = std::move(widths);
    std::vector<int> edges;
    int right = 0;
    for (int w : widths_) edges.push_back(right += w);
    SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::SetPartText(int part, const std::wstring& text) const {
    // Setting a part repaints it, which costs more than asking what it shows.
    if (PartText(part) == text) return;
    SendMessageW(hwnd_, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::PartText(int part) const {
    const auto length = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void StatusBar::ScaleForDpi(int oldDpi, int newDpi) {
    Control::ScaleForDpi(oldDpi, newDpi);
    std::vector<int> widths;
    for (int w : widths_) widths.push_back(MulDiv(w, newDpi, oldDpi));
    SetParts(std::move(widths));
}

}  // namespace korvex::ui
