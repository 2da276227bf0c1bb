// TQFileExplorer: moving through the folders with the mouse and the keyboard.

#include "ExplorerText.h"
#include "PathText.h"
#include "QFileExplorer.h"

namespace korvex::components {

void TQFileExplorer::UpOneLevel() {
    if (IsDrivesView()) return;
    const std::wstring folder = EnsureBackslash(directory_);
    if (folder.size() >= 2 && folder[folder.size() - 2] == L':') {
        SetDirectory(L"Drives");
        return;
    }
    const std::wstring_view withoutSlash = std::wstring_view(folder).substr(0, folder.size() - 1);
    const auto cut = withoutSlash.find_last_of(L"\\:");
    if (cut == std::wstring_view::npos) return;
    SetDirectory(std::wstring(withoutSlash.substr(0, cut + 1)));
}

}  // namespace korvex::components
