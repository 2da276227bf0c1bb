// TMainForm: the window's life from creation to close, and the settings file.

#include "MainForm.h"

#include <shellapi.h>

#include "AppError.h"

namespace korvex {

void TMainForm::FormCreate() {
    DragAcceptFiles(hwnd_, TRUE);
    // An error here ends the remaining steps; the window still opens.
    try {
        if (!LoadMailClient() || !LoadAddressBook()) creationAborted_ = true;
    } catch (const AppError& e) {
        ShowError(e.Message());
    }
}

void TMainForm::Show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
    UpdateWindow(hwnd_);
}

void TMainForm::FormShow() {}

void TMainForm::FrameFileExloreQFileExplorerChange(components::TQFileExplorer& sender, int item,
                                                   components::TItemChange change) {
    FrameFileExlore.QFileExplorerChange(sender, item, change);
    PanelPath.SetCaption(sender.Directory());
}

}  // namespace korvex
