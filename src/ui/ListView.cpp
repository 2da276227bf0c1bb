#include "ListView.h"

#include <algorithm>

#include "AppError.h"
#include "Window.h"

namespace korvex::ui {

namespace {

// The lists held on this thread: a hold inside another of the same list leaves it to the outer.
thread_local std::vector<HWND> heldLists;

}  // namespace

RedrawHold::RedrawHold(HWND list)
    : list_(list && (GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE) &&
                    std::find(heldLists.begin(), heldLists.end(), list) == heldLists.end()
                ? list
                : nullptr) {
    if (!list_) return;
    heldLists.push_back(list_);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
}

RedrawHold::~RedrawHold() {
    if (!list_) return;
    heldLists.erase(std::find(heldLists.begin(), heldLists.end(), list_));
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    // A list on screen is repainted whole; one in a window not shown yet is painted when it shows.
    if (IsWindowVisible(list_))
        RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

ListView::~ListView() {
    // The owner's rows may be gone already: no row is answered from here on.
    rows_ = {};
    // A hooked window goes while this object is whole: its last messages still reach it.
    if (listProcedure_ && hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

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
    // A layout pass places every control, moved or not: the columns are shared out again only
    // when there is something new to share. Each new width moves the list's header, and a width
    // a user dragged stays until the list's width changes.
    if (width == sharedWidth_ && columns == sharedColumns_) return;
    sharedWidth_ = width;
    sharedColumns_ = columns;
    // Each new width would repaint the whole list at once; one repaint after the last is enough.
    const RedrawHold hold(hwnd_);
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
    OnResized();  // a scroll bar that came or went changed the width the columns share
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

void ListView::SetVirtualRows(VirtualRows rows) {
    rows_ = std::move(rows);
    EnableReflection();
}

std::size_t ListView::RowCount() const {
    if (rows_.count) return rows_.count();
    const int count = Count();
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

bool ListView::Reflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY || !rows_.text) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code != LVN_GETDISPINFOW) return false;
    result = 0;
    auto& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= RowCount()) return true;
    const auto row = static_cast<std::size_t>(item.iItem);
    if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0)
        lstrcpynW(item.pszText, rows_.text(row, item.iSubItem).c_str(), item.cchTextMax);
    if ((item.mask & LVIF_IMAGE) && rows_.image) item.iImage = rows_.image(row);
    return true;
}

std::vector<std::size_t> ListView::SelectedIndices() const {
    std::vector<std::size_t> selected;
    ForEachSelected([&](std::size_t i) { selected.push_back(i); });
    return selected;
}

int ListView::FirstSelected() const {
    const int first = NextSelected(-1);
    return first >= 0 && static_cast<std::size_t>(first) < RowCount() ? first : -1;
}

int ListView::NextSelected(int after) const {
    return hwnd_ ? ListView_GetNextItem(hwnd_, after, LVNI_SELECTED) : -1;
}

int ListView::FocusedIndex() const {
    const int focused = hwnd_ ? ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED) : -1;
    return focused >= 0 && static_cast<std::size_t>(focused) < RowCount() ? focused : -1;
}

bool ListView::IsSelected(std::size_t index) const {
    return hwnd_ && ListView_GetItemState(hwnd_, static_cast<int>(index), LVIS_SELECTED) & LVIS_SELECTED;
}

void ListView::Select(std::size_t index, bool selected) {
    ListView_SetItemState(hwnd_, static_cast<int>(index), selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void ListView::SetFocusedAndSelected(std::size_t index) {
    ListView_SetItemState(hwnd_, static_cast<int>(index), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ListView::SetFocused(std::size_t index) {
    ListView_SetItemState(hwnd_, static_cast<int>(index), LVIS_FOCUSED, LVIS_FOCUSED);
}

void ListView::SelectAll() {
    ListView_SetItemState(hwnd_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void ListView::ClearSelection() {
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
}

void ListView::HookListMessages() {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProcedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListView::HookProcedure)));
}

LRESULT CALLBACK ListView::HookProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* list = reinterpret_cast<ListView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        const WNDPROC own = list->listProcedure_;
        list->OnListDestroyed();
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        list->hwnd_ = nullptr;
        return CallWindowProcW(own, hwnd, msg, wParam, lParam);
    }
    // No exception may cross into the system's code: it ends this input's handling and reaches
    // the general error box.
    try {
        return list->HandleListMessage(hwnd, msg, wParam, lParam);
    } catch (const AppError& e) {
        ReportError(e.Message());
    } catch (...) {
        ReportError(list->UnexpectedErrorText());
    }
    return 0;
}

}  // namespace korvex::ui
