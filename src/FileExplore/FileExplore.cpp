#include "FileExplore.h"

namespace korvex {

void TFrameFileExlore::Create(HWND parent, int explorerId, SIZE size,
                              const components::TQFileExplorer::Options& explorer) {
    CreateWin({.name = L"KorvexExplorerFrame"}, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT, parent, RECT{0, 0, size.cx, size.cy});
    QFileExplorer.OnChange = [this](components::TQFileExplorer& sender, int item, components::TItemChange change) {
        QFileExplorerChange(sender, item, change);
    };
    QFileExplorer.Create(hwnd_, explorerId, size, explorer);
    QFileExplorer.SetAlign(ui::Align::Client);
    QFileExplorer.SetContextMenu(true);
    QFileExplorer.SetContextAction(true);
    QFileExplorer.SetFileType({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
    AddChild(QFileExplorer);
    Realign();
}

int TFrameFileExlore::ExplorerViewStyle() const {
    return static_cast<int>(QFileExplorer.ViewStyle());
}

void TFrameFileExlore::SetExplorerViewStyle(int value) {
    if (value < 0 || value > 3) return;
    QFileExplorer.SetViewStyle(static_cast<components::TViewStyle>(value));
}

void TFrameFileExlore::QFileExplorerChange(components::TQFileExplorer&, int, components::TItemChange) {}

}  // namespace korvex
