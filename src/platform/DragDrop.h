#pragma once
// Drag and drop of files through OLE: the names a drop carries, the drop source of a drag that
// hands files to another program, and a window's drop target.

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "ComPtr.h"

namespace korvex::platform {

// Every name of a drop, in the drop's order and at full length.
std::vector<std::wstring> DroppedPaths(HDROP drop);

// The names of the data object's CF_HDROP; empty when it carries no files.
std::vector<std::wstring> DroppedPaths(IDataObject* data);

// Runs the drag of the data object (copy or link, never move: the user's files stay where they
// are) until the mouse button is released or Esc is pressed. The drop effect, DROPEFFECT_NONE
// when the drag was cancelled or could not start.
DWORD DragFiles(IDataObject* data);

// A window's drop target: it takes drops that carry files (as copies). Drop copies the names out
// of the data object and hands them to onDrop before it returns, so onDrop must not run long: the
// drag source waits for it. Whatever onDrop throws (or the copying) goes to onError as the drop's
// failure; the drop then reports E_UNEXPECTED and no effect. RegisterDragDrop at Register,
// RevokeDragDrop at Revoke or the end; afterwards the target, which the system may still hold,
// reaches nothing.
class DropRegistration {
public:
    using DropHandler = std::function<void(std::vector<std::wstring> paths)>;
    using ErrorHandler = std::function<void(std::exception_ptr error)>;

    DropRegistration() = default;
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;
    ~DropRegistration() { Revoke(); }

    // False when the system refused (no OLE on this thread); the target exists all the same.
    bool Register(HWND hwnd, DropHandler onDrop, ErrorHandler onError);
    void Revoke();
    IDropTarget* Target() const noexcept { return target_.get(); }

private:
    HWND hwnd_ = nullptr;
    ComPtr<IDropTarget> target_;
};

}  // namespace korvex::platform
