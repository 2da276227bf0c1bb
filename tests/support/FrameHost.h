#pragma once
// A top-level window that holds one explorer frame, filling it.

#include "FileExplore.h"
#include "Window.h"

namespace korvex::test {

class FrameHost : public ui::Container {
public:
    TFrameFileExlore frame;
    void Create(const components::TQFileExplorer::Options& options) {
        CreateWin({.name = L"KorvexFrameHost"}, L"Frame host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr,
                  RECT{0, 0, 760, 520});
        frame.Create(hwnd_, 1, SIZE{736, 472}, options);
        frame.SetAlign(ui::Align::Client);
        AddChild(frame);
        Realign();
        ShowWindow(hwnd_, SW_SHOWNORMAL);
    }
};

}  // namespace korvex::test
