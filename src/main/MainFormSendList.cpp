// TMainForm: the send list, and adding to it from the explorer and from drops.

#include "MainForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "BusyCursor.h"
#include "Locale.h"
#include "SendListFiller.h"
#include "UniqueResource.h"

namespace korvex {

void TMainForm::RefreshSendListView() {
    ListViewFiles.SetVirtualCount(sendList_.Size());
}

void TMainForm::AddPath(std::wstring_view path, bool recursive) {
    std::optional<ui::BusyCursor> busy;
    if (recursive) busy.emplace();
    SendListFiller(sendList_, platform::DecimalSeparator()).AddPath(path, recursive);
    RefreshSendListView();
}

void TMainForm::AddFolder(std::wstring_view folder, bool recursive) {
    ui::BusyCursor busy;
    SendListFiller(sendList_, platform::DecimalSeparator()).AddFolder(folder, recursive);
    RefreshSendListView();
}

void TMainForm::ClearSendList() {
    sendList_.Clear();
    ListViewFiles.ClearSelection();
    RefreshSendListView();
}

void TMainForm::WMDropFiles(HDROP drop) {
    const platform::UniqueDrop owner(drop);
    // Only the first dropped item is taken, at its full length.
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length == 0) return;
    std::wstring name(length + 1, L'\0');
    name.resize(DragQueryFileW(drop, 0, name.data(), length + 1));
    AddPath(name, false);
}

void TMainForm::ListViewFilesKeyDown(WORD key) {
    if (key == 'A' && GetKeyState(VK_CONTROL) < 0) ListViewFiles.SelectAll();
    if (key == VK_DELETE) {
        const auto selected = ListViewFiles.SelectedIndices();
        if (selected.empty()) return;
        sendList_.RemoveAt(selected);
        ListViewFiles.ClearSelection();
        RefreshSendListView();
        if (!sendList_.Empty()) {
            const int focus = static_cast<int>(std::min(selected.front(), sendList_.Size() - 1));
            ListView_SetItemState(ListViewFiles.Handle(), focus, LVIS_FOCUSED, LVIS_FOCUSED);
        }
    }
}

void TMainForm::btAddFilesClick(HWND sender) {
    if (sender == btClear.Handle()) ClearSendList();
}

}  // namespace korvex
