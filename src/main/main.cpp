// Korvex: sends every file of a list as a message of its own through the installed mail client.

#include <windows.h>
#include <commctrl.h>

#include "AppError.h"
#include "ComSession.h"
#include "FileSystem.h"
#include "MainForm.h"
#include "SingleInstance.h"
#include "StartHandOver.h"
#include "StartPaths.h"
#include "UniqueResource.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    try {
        // Before anything changes the current folder: relative paths are the user's, from here.
        std::vector<std::wstring> paths = korvex::platform::StartPaths(GetCommandLineW());
        // One window per copy of the program: a later start hands its paths to the running one.
        korvex::platform::SingleInstance instance(korvex::platform::ModuleFileName());
        if (!instance.First()) {
            korvex::ui::DialogPrompter prompter;
            if (const auto exitCode = korvex::HandOverToRunning(instance, paths, prompter)) return *exitCode;
        }
        // The shell's context menus need OLE on this thread; joining OLE joins COM's single-threaded
        // apartment as well.
        const korvex::platform::OleSession ole;
        const INITCOMMONCONTROLSEX controls{sizeof controls,
                                            ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        korvex::TMainForm MainForm;
        // Before the window it hands paths to goes.
        const korvex::platform::ScopeExit stopListening([&instance] { instance.StopListening(); });
        // Listening from the start: a later start that comes while the start-up boxes are open
        // waits for the window instead of opening one of its own.
        instance.Listen([&MainForm](std::vector<std::wstring> offered) {
            try {
                return MainForm.OfferPaths(std::move(offered));
            } catch (...) {
                return false;
            }
        });
        if (!MainForm.Create()) return 0;
        MainForm.Show(showCommand);
        MainForm.QueueStartPaths(std::move(paths));
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            // Tab, Enter and Esc move between the controls of the main window and of the windows it
            // owns (the journal), as in a dialog box.
            const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
            const bool ours = root && (root == MainForm.Handle() || GetWindow(root, GW_OWNER) == MainForm.Handle());
            if (!ours || !IsDialogMessageW(root, &msg)) {
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
