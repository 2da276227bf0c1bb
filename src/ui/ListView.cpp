#include "ListView.h"

namespace korvex::ui {

void ListView::Create(HWND parent, int id, DWORD style, DWORD extendedStyle, SIZE size) {
    Attach(
        CreateChildControl(WC_LISTVIEWW, L"", style | LVS_REPORT | WS_TABSTOP | WS_CLIPSIBLINGS, 0, parent, id, size));
    ListView_SetExtendedListViewStyleEx(hwnd_, extendedStyle, extendedStyle);
}

void ListView::AddColumn(const wchar_t* caption, int width, int format) {
    HWND header = ListView_GetHeader(hwnd_);
    const int index = header ? Header_GetItemCount(header) : 0;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(caption);
    ListView_InsertColumn(hwnd_, index, &column);
}

void ListView::OnResized() {
    if (!shareWidth_) return;
    HWND header = ListView_GetHeader(hwnd_);
    const int columns = header ? Header_GetItemCount(header) : 0;
    if (columns == 0) return;
    RECT r;
    GetClientRect(hwnd_, &r);
    const int width = r.right - r.left;
    sharedWidth_ = width;
    for (int i = 0; i < columns; ++i) {
        const int share = width / columns + (i < width % columns ? 1 : 0);
        ListView_SetColumnWidth(hwnd_, i, share);
    }
}

int ListView::Count() const {
    return ListView_GetItemCount(hwnd_);
}

void ListView::SetVirtualCount(std::size_t count) {
    ListView_SetItemCountEx(hwnd_, static_cast<int>(count), LVSICF_NOSCROLL);
    if (shareWidth_) {
        RECT r;
        GetClientRect(hwnd_, &r);
        if (r.right - r.left != sharedWidth_) OnResized();
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::InsertItem(int index, const std::wstring& text) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    ListView_InsertItem(hwnd_, &item);
}

void ListView::DeleteAll() {
    ListView_DeleteAllItems(hwnd_);
}

std::wstring ListView::ItemText(int item, int subItem) const {
    std::wstring text(256, L'\0');
    for (;;) {
        LVITEMW lv{};
        lv.iSubItem = subItem;
        lv.pszText = text.data();
        lv.cchTextMax = static_cast<int>(text.size());
        const auto n = static_cast<std::size_t>(
            SendMessageW(hwnd_, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv)));
        if (n + 1 < text.size()) {
            text.resize(n);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::vector<std::size_t> ListView::SelectedIndices() const {
    std::vector<std::size_t> selected;
    for (int i = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(hwnd_, i, LVNI_SELECTED))
        selected.push_back(static_cast<std::size_t>(i));
    return selected;
}

int ListView::FirstSelected() const {
    return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
}

void ListView::SelectAll() {
    ListView_SetItemState(hwnd_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void ListView::ClearSelection() {
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
}

void ListView::Select(int item) {
    ListView_SetItemState(hwnd_, item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

}  // namespace korvex::ui
