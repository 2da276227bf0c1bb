// Korvex: sends every file of a list as a message of its own through the installed mail client.

#include <windows.h>
#include <commctrl.h>

#include "AppError.h"
#include "ComSession.h"
#include "MainForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The shell's context menus need OLE on this thread; the application then joins COM.
    const korvex::OleSession ole;
    const korvex::ComSession com;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        korvex::TMainForm MainForm;
        if (!MainForm.Create()) return 0;
        MainForm.Show(showCommand);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(MainForm.Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        return static_cast<int>(msg.wParam);
    } catch (const korvex::AppError& e) {
        MessageBoxW(nullptr, e.Message().c_str(), L"Korvex", MB_OK | MB_ICONERROR);
    } catch (const std::exception&) {
        MessageBoxW(nullptr, L"Unexpected error", L"Korvex", MB_OK | MB_ICONERROR);
    }
    return 1;
}
