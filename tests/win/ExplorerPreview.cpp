// Shows the explorer list in report view over a folder (the first argument, else the drives),
// for looking at it as a user would: korvex-explorer-preview.exe C:\windows

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "ExplorerHost.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    korvex::test::ExplorerHost host;
    host.Create({.viewStyle = korvex::components::TViewStyle::vsReport, .multiSelect = true});
    host.explorer.SetFileType(
        {korvex::ftReadOnly, korvex::ftHidden, korvex::ftSystem, korvex::ftArchive, korvex::ftNormal});
    host.explorer.SetDirectory(argc > 1 ? argv[1] : L"DRIVES");
    LocalFree(argv);
    MSG msg;
    while (IsWindowVisible(host.Handle()) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
