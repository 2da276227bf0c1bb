#pragma once
// TFrameFileExlore: the explorer list in a frame with an up button, a choice of view and a status
// line of counts and sizes.
//
//   CoolBar   one band holding ToolBar: sbUp | ToolButton6 (separator) | ToolButton1 (view, with
//             an arrow that opens ViewMenu)
//   Panel2    a border of 5 and a lowered bevel around QFileExplorer
//   sb        the status line: count of entries, sizes, an empty third part

#include <windows.h>

#include "BorderPanel.h"
#include "CoolBar.h"
#include "QFileExplorer.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "UniqueResource.h"
#include "Window.h"

namespace korvex {

class TFrameFileExlore : public ui::Container {
public:
    // Toolbar buttons and view menu items. A view item's tag (its list view style 0 to 3) is its
    // command's low byte.
    enum Command : int {
        kSbUp = 0x101,
        kToolButton6 = 0x102,
        kToolButton1 = 0x103,
        kPmLarge = 0x200,
        kPmSmall = 0x201,
        kPmList = 0x202,
        kPmDetail = 0x203,
    };

    // Creates the frame and its explorer list with the given list settings (the host's overrides
    // of the frame's design: report view, one selectable entry, selection hidden without focus).
    // The list shows firstFolder; a host that chooses the folder later passes an empty one, so
    // nothing is listed twice.
    void Create(HWND parent, int explorerId, SIZE size, const components::TQFileExplorer::Options& explorer,
                const std::wstring& firstFolder = L"c:\\");

    // The list's view style as 0 large icons, 1 small icons, 2 list, 3 report. Writing 0 to 3 does
    // what the view menu's item does; any other value does nothing.
    int ExplorerViewStyle() const;
    void SetExplorerViewStyle(int value);

    // The list's change handler: refreshes the status line. Hosts that bind the list's change
    // event to a handler of their own call this one first. A burst of changes (a select-all, a
    // sort that selects rows again one by one) makes one refresh: the first change posts it, and
    // it runs from the message loop once the burst is over, reading the list as it is then.
    void QFileExplorerChange(components::TQFileExplorer& sender, int item, components::TItemChange change);
    // Runs a refresh that is waiting now (for callers that read the status line without going
    // back to the message loop); nothing when none is waiting.
    void RefreshStatusNow();
    bool StatusRefreshPending() const noexcept { return refreshPending_; }
    // How many refreshes ran, for tests and benchmarks.
    int StatusRefreshCount() const noexcept { return refreshCount_; }

    // The handlers of the view menu's items (by command), the view button and the up button.
    void pmDetailClick(int item);
    void ToolButton1Click();
    void sbUpClick();
    // Opens ViewMenu under ToolButton1 and carries out the chosen item.
    void ShowViewMenu();

    void ScaleForDpi(int oldDpi, int newDpi) override;

    // Declared first, so that it outlives the toolbar that shows it.
    platform::UniqueImageList ImageList;
    ui::CoolBar CoolBar;
    ui::ToolBar ToolBar;
    ui::BorderPanel Panel2;
    components::TQFileExplorer QFileExplorer;
    ui::StatusBar sb;
    platform::UniqueMenu ViewMenu;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void MakePictures();
    void SizeBars();
    void RefreshStatus();
    // The selected entries' size on disk, as the list's SelectedSize gives it.
    std::int64_t SelectedFilesSize() const;
    bool OnNotify(NMHDR* header, LRESULT& result);
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    bool refreshPending_ = false;
    int refreshCount_ = 0;
    int dpi_ = 96;
};

}  // namespace korvex
