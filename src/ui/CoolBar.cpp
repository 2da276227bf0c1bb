#include "CoolBar.h"

namespace korvex::ui {

void CoolBar::Create(HWND parent, int id, SIZE size) {
    // The docking layout places it; its height is its own, from its bands.
    Attach(CreateChildControl(
        REBARCLASSNAMEW, L"",
        WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_AUTOSIZE | CCS_NODIVIDER | CCS_NOPARENTALIGN, 0, parent,
        id, size));
    REBARINFO info{};
    info.cbSize = sizeof info;
    SendMessageW(hwnd_, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
}

void CoolBar::AddBand(HWND child, SIZE minChild) {
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
    band.fStyle = RBBS_NOGRIPPER;
    band.hwndChild = child;
    band.cxMinChild = static_cast<UINT>(minChild.cx);
    band.cyMinChild = static_cast<UINT>(minChild.cy);
    band.cx = static_cast<UINT>(minChild.cx);
    SendMessageW(hwnd_, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

void CoolBar::SetBandMinSize(int index, SIZE minChild) {
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILDSIZE;
    band.cxMinChild = static_cast<UINT>(minChild.cx);
    band.cyMinChild = static_cast<UINT>(minChild.cy);
    SendMessageW(hwnd_, RB_SETBANDINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band));
}

int CoolBar::BandCount() const {
    return static_cast<int>(SendMessageW(hwnd_, RB_GETBANDCOUNT, 0, 0));
}

int CoolBar::BarHeight() const {
    return static_cast<int>(SendMessageW(hwnd_, RB_GETBARHEIGHT, 0, 0));
}

}  // namespace korvex::ui
