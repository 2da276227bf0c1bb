// Not a test: the main window with the explorer in a folder and the send list filled from it,
// for screenshots. Usage: korvex-mainform-preview FOLDER [WINDOW-LIST-FILE [BIG-TREE]]
// (adress.txt beside the exe, the mail client registered as usual). The window list notes each
// control's class and place; a big tree is then added with the progress shown from the start.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>

#include "MainForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    OleInitialize(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    {
        korvex::TMainForm form;
        if (!form.Create()) return 0;
        form.Show(SW_SHOWNORMAL);
        if (argc > 1) {
            form.FrameFileExlore.QFileExplorer.SetDirectory(argv[1]);
            form.AddPath(argv[1], true);
            form.FrameFileExlore.QFileExplorer.Select(0);
        }
        // With a second argument: the windows and their places, for checking a screenshot.
        if (argc > 2) {
            if (FILE* out = _wfopen(argv[2], L"w")) {
                struct Ctx {
                    FILE* out;
                } ctx{out};
                EnumChildWindows(
                    form.Handle(),
                    [](HWND w, LPARAM p) -> BOOL {
                        wchar_t cls[64];
                        GetClassNameW(w, cls, 64);
                        RECT r;
                        GetWindowRect(w, &r);
                        fwprintf(reinterpret_cast<Ctx*>(p)->out, L"%ls %ld,%ld %ldx%ld style=%08lx\n", cls, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, GetWindowLongW(w, GWL_STYLE));
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(&ctx));
                fclose(out);
            }
        }
        if (argc > 3) {
            form.SetLongAddDelay(0);
            form.AddPath(argv[3], true);
        }
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(form.Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    LocalFree(argv);
    OleUninitialize();
    return 0;
}
