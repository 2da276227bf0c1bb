#pragma once
// A hidden top-level window that docks the lists put into it, as the main window is while it is
// being built.

#include "Window.h"

namespace korvex::test {

class ListHost : public ui::Container {
public:
    void Create() {
        CreateWin({.name = L"KorvexListHost"}, L"List host", WS_OVERLAPPEDWINDOW, 0, nullptr, RECT{0, 0, 420, 300});
    }
};

}  // namespace korvex::test
