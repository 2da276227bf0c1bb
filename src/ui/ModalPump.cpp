#include "ModalPump.h"

#include <utility>

namespace korvex::ui {

namespace {

// The input messages as ranges, so that they can be taken out of the queue before anything else.
constexpr std::pair<UINT, UINT> kInputRanges[] = {
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, WM_MOUSELAST},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
    {WM_NCMOUSEHOVER, WM_MOUSELEAVE},  // WM_NCMOUSEHOVER, WM_MOUSEHOVER, WM_NCMOUSELEAVE, WM_MOUSELEAVE
};

// A window that does not validate its update region must not hold the work: at most this many
// paints per pump.
constexpr int kMaxPaints = 64;

}  // namespace

bool ModalPump::IsInput(UINT message) noexcept {
    for (const auto& [first, last] : kInputRanges)
        if (message >= first && message <= last) return true;
    return false;
}

bool ModalPump::IsClose(const MSG& msg) noexcept {
    return msg.message == WM_CLOSE || (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE);
}

bool ModalPump::IsDeferred(const MSG& msg) const noexcept {
    if (msg.message == WM_DROPFILES) return true;
    return IsClose(msg) && !(closeOwner_ && msg.hwnd == closeOwner_);
}

ModalPump::~ModalPump() {
    for (const MSG& msg : deferred_) PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void ModalPump::Swallow(const MSG& msg) noexcept {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_ESCAPE) escape_ = true;
    // Alt+F4 as the window would take it, once per press (not for the keyboard's repeats).
    const auto flags = HIWORD(msg.lParam);
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && (flags & KF_ALTDOWN) && !(flags & KF_REPEAT))
        if (const HWND top = GetAncestor(msg.hwnd, GA_ROOT)) PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool ModalPump::Pump() {
    MSG msg;
    for (const auto& [first, last] : kInputRanges)
        while (PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) Swallow(msg);
    if (dispatch_ == Dispatch::PaintOnly) {
        for (int i = 0; i < kMaxPaints && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
            DispatchMessageW(&msg);
        return escape_;
    }
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {  // for the loop that comes after the work
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (IsInput(msg.message)) {
            Swallow(msg);
            continue;
        }
        if (IsDeferred(msg)) {
            deferred_.push_back(msg);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return escape_;
}

}  // namespace korvex::ui
