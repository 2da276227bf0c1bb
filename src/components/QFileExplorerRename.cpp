// TQFileExplorer: renaming a file or folder by editing its caption in place.

#include "ExplorerText.h"
#include "FileSystem.h"
#include "PathText.h"
#include "QFileExplorer.h"
#include "Win32Error.h"

namespace korvex::components {

void TQFileExplorer::BeginRename(std::size_t index) {
    if (!hwnd_ || index >= order_.size() || Entry(index).Kind() == kKindDrive) return;
    if (!(GetWindowLongW(hwnd_, GWL_STYLE) & LVS_EDITLABELS)) return;
    SetFocus(hwnd_);
    ListView_EnsureVisible(hwnd_, static_cast<int>(index), FALSE);
    ListView_EditLabel(hwnd_, static_cast<int>(index));
}

void TQFileExplorer::RenameEntry(std::size_t index, const std::wstring& newName) {
    if (index >= order_.size()) return;
    const std::uint32_t row = order_[index];
    const TExplorerEntry old = rows_[row];
    if (old.Kind() == kKindDrive || newName == old.caption) return;
    const std::wstring context = L"Cannot rename \"" + old.caption + L"\" to \"" + newName + L"\"";
    if (!IsPlainName(newName)) throw platform::Win32Error(ERROR_INVALID_NAME, context);
    const std::wstring folder(ExtractFileDir(old.FullPath()));
    const std::wstring target = folder + newName;
    if (!MoveFileW(platform::ToApiPath(old.FullPath()).c_str(), platform::ToApiPath(target).c_str()))
        throw platform::Win32Error(GetLastError(), context);

    // The row as the disk has it now: the system may have trimmed the name (trailing dots and
    // blanks), and the new extension may bring another type name and icon.
    bool found = false;
    std::optional<ShellRequest> question;
    platform::EnumerateDirectory(target, [&](const WIN32_FIND_DATAW& data) {
        if (found) return;
        found = true;
        rows_[row] = MakeFolderEntry(folder, platform::ViewOf(data), Facts(), {}, &question);
    });
    if (question) {
        question->row = row;
        AskMore({std::move(*question)});
    }
    if (!found) {
        ListAgain();
        return;
    }
    // The renamed entry is selected and focused; the rest of the selection stays.
    const int item = static_cast<int>(index);
    SetFocusedAndSelected(index);
    ListView_SetSelectionMark(hwnd_, item);
    ListView_RedrawItems(hwnd_, static_cast<int>(index), static_cast<int>(index));
    RaiseChange(static_cast<int>(index), TItemChange::ctText);
}

}  // namespace korvex::components
