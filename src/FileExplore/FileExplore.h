#pragma once
// TFrameFileExlore: the explorer list in a frame with an up button, a choice of view and a status
// line of counts and sizes.

#include <windows.h>

#include "QFileExplorer.h"
#include "Window.h"

namespace korvex {

class TFrameFileExlore : public ui::Container {
public:
    // Creates the frame and its explorer list with the given list settings (the host's overrides
    // of the frame's design: report view, one selectable entry, selection hidden without focus).
    void Create(HWND parent, int explorerId, SIZE size, const components::TQFileExplorer::Options& explorer);

    // The list's view style as 0 large icons, 1 small icons, 2 list, 3 report. Writing 0 to 3 does
    // what the view menu's item does; any other value does nothing.
    int ExplorerViewStyle() const;
    void SetExplorerViewStyle(int value);

    // The list's change handler: refreshes the status line. Hosts that bind the list's change
    // event to a handler of their own call this one first.
    void QFileExplorerChange(components::TQFileExplorer& sender, int item, components::TItemChange change);

    components::TQFileExplorer QFileExplorer;
};

}  // namespace korvex
