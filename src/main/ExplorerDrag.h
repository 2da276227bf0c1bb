#pragma once
// Drag and drop of files: the names a drop carries, the shell's own data object for entries of
// the explorer (so that another program takes them as files), the drop source of such a drag,
// and the window's drop target.

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "ComPtr.h"

namespace korvex {

// Every name of a drop, in the drop's order and at full length.
std::vector<std::wstring> DroppedPaths(HDROP drop);

// The names of the data object's CF_HDROP; empty when it carries no files.
std::vector<std::wstring> DroppedPaths(IDataObject* data);

// The shell's data object for the named entries of one folder; empty when the folder or none of
// the names can be parsed. Names that cannot be parsed are left out.
platform::ComPtr<IDataObject> ShellDataObject(HWND owner, const std::wstring& folder,
                                              const std::vector<std::wstring>& names);

// Runs the drag of the data object (copy or link, never move: the user's files stay where they
// are) until the mouse button is released or Esc is pressed. The drop effect, DROPEFFECT_NONE
// when the drag was cancelled or could not start.
DWORD DragFiles(IDataObject* data);

// The window's drop target: it takes drops that carry files (as copies) and hands them to onDrop.
// RegisterDragDrop at Register, RevokeDragDrop at Revoke or the end; afterwards the target, which
// the system may still hold, reaches nothing.
class DropRegistration {
public:
    DropRegistration() = default;
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;
    ~DropRegistration() { Revoke(); }

    // False when the system refused (no OLE on this thread); the target exists all the same.
    bool Register(HWND hwnd, std::function<void(IDataObject*)> onDrop);
    void Revoke();
    IDropTarget* Target() const noexcept { return target_.get(); }

private:
    HWND hwnd_ = nullptr;
    platform::ComPtr<IDropTarget> target_;
};

}  // namespace korvex
