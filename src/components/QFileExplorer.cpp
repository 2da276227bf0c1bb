// TQFileExplorer: construction, the list's window, properties and notifications.

#include "QFileExplorer.h"

#include "DeviceContext.h"
#include "ExplorerText.h"
#include "FileSystem.h"
#include "ItemProp.h"
#include "Locale.h"
#include "PathText.h"

namespace korvex::components {

namespace {

DWORD ViewStyleBits(TViewStyle style) {
    switch (style) {
        case TViewStyle::vsIcon: return LVS_ICON;
        case TViewStyle::vsSmallIcon: return LVS_SMALLICON;
        case TViewStyle::vsList: return LVS_LIST;
        default: return LVS_REPORT;
    }
}

// Double buffering keeps refills and scrolling free of flicker. The list style goes without it:
// there Wine's double-buffered paint leaves the strip below the last row unerased (black).
void ApplyDoubleBuffer(HWND list, TViewStyle style) {
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_DOUBLEBUFFER,
                                        style == TViewStyle::vsList ? 0 : LVS_EX_DOUBLEBUFFER);
}

}  // namespace

TQFileExplorer::TQFileExplorer() : about_(L"TQFileExplorer: drives and folders with the shell's icons and type names") {
    Shell.PopupItemMenu = &components::PopupItemMenu;
    Shell.PopupItemsMenu = &components::PopupItemsMenu;
    Shell.RunItemDefaultCommand = &components::RunItemDefaultCommand;
}

TQFileExplorer::~TQFileExplorer() {
    // The window goes while every member is still there: its last messages and notifications
    // still reach this object.
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

int TQFileExplorer::Scale(int pixels) const {
    return MulDiv(pixels, dpi_, 96);
}

void TQFileExplorer::Create(HWND parent, int id, SIZE size, const Options& options) {
    viewStyle_ = options.viewStyle;
    DWORD style = LVS_OWNERDATA | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE | WS_TABSTOP | WS_CLIPSIBLINGS |
                  ViewStyleBits(options.viewStyle);
    if (!options.multiSelect) style |= LVS_SINGLESEL;
    if (!options.hideSelection) style |= LVS_SHOWSELALWAYS;
    if (!options.readOnly) style |= LVS_EDITLABELS;
    Attach(ui::CreateChildControl(WC_LISTVIEWW, L"", style, options.border ? WS_EX_CLIENTEDGE : 0, parent, id, size));
    SetVirtualRows({.count = [this] { return order_.size(); },
                    .text = [this](std::size_t row, int column) -> const std::wstring& {
                        const TExplorerEntry& entry = Entry(row);
                        return column == 0 ? entry.caption
                                           : entry.subItems[static_cast<std::size_t>(std::min(column, 4) - 1)];
                    },
                    .image = [this](std::size_t row) { return Entry(row).imageIndex; }});
    HookListMessages();
    DWORD extended = LVS_EX_HEADERDRAGDROP;
    if (options.gridLines) extended |= LVS_EX_GRIDLINES;
    if (options.rowSelect) extended |= LVS_EX_FULLROWSELECT;
    ListView_SetExtendedListViewStyleEx(hwnd_, extended, extended);
    ApplyDoubleBuffer(hwnd_, options.viewStyle);

    // The system's image lists, shared: the list never destroys them.
    ListView_SetImageList(hwnd_, platform::SystemImageList(false), LVSIL_NORMAL);
    ListView_SetImageList(hwnd_, platform::SystemImageList(true), LVSIL_SMALL);

    // The font and the columns follow the monitor the window is on; 0 when it cannot be told.
    const UINT windowDpi = GetDpiForWindow(parent);
    dpi_ = windowDpi ? static_cast<int>(windowDpi) : ui::ScreenDpi();
    MakeFont();
    // The columns and the first listing change the header several times: it is laid out once.
    const ui::RedrawHold hold(hwnd_);
    CreateColumns();
    RefreshList();
}

void TQFileExplorer::MakeFont() {
    platform::UniqueGdiObject font(ui::CreateWindowFont(dpi_));
    SetFont(static_cast<HFONT>(font.get()));
    font_ = std::move(font);  // the old font is deleted only once the list no longer uses it
}

void TQFileExplorer::ScaleForDpi(int oldDpi, int newDpi) {
    Control::ScaleForDpi(oldDpi, newDpi);
    dpi_ = newDpi;
    MakeFont();
    // The report columns' widths are read from the header first: in the other views the list's
    // own column-width call speaks of the one list column instead.
    const HWND header = ListView_GetHeader(hwnd_);
    std::vector<int> widths;
    for (int i = 0, n = header ? Header_GetItemCount(header) : 0; i < n; ++i) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        Header_GetItem(header, i, &item);
        widths.push_back(item.cxy);
    }
    const int listWidth = viewStyle_ == TViewStyle::vsList ? ListView_GetColumnWidth(hwnd_, 0) : 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = MulDiv(widths[i], newDpi, oldDpi);
        ListView_SetColumn(hwnd_, static_cast<int>(i), &column);
    }
    if (listWidth > 0) ListView_SetColumnWidth(hwnd_, 0, MulDiv(listWidth, newDpi, oldDpi));
}

void TQFileExplorer::SetColumn(int index, const wchar_t* caption, int width, int format) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = format;
    column.cx = Scale(width);
    column.pszText = const_cast<wchar_t*>(caption);
    if (!ListView_SetColumn(hwnd_, index, &column)) ListView_InsertColumn(hwnd_, index, &column);
}

void TQFileExplorer::CreateColumns() {
    SetColumn(0, L"Name", 140, LVCFMT_LEFT);
    SetColumn(1, L"Size", 70, LVCFMT_RIGHT);
    SetColumn(2, L"Type", 90, LVCFMT_LEFT);
    SetColumn(3, L"Modified", 100, LVCFMT_LEFT);
    SetColumn(4, L"Attributes", 60, LVCFMT_LEFT);
    drivesColumns_.reset();  // a new window's columns are set for its first listing's view
}

void TQFileExplorer::SetViewColumns(bool drives) {
    // The columns are set when the list changes between drives and folders, not at every listing:
    // a width the user gave a column stays while the view does.
    if (drivesColumns_ == drives) return;
    drivesColumns_ = drives;
    const ui::RedrawHold hold(hwnd_);
    if (drives) {
        SetColumn(1, L"Type", 100, LVCFMT_LEFT);
        SetColumn(2, L"Disk Size", 100, LVCFMT_RIGHT);
        SetColumn(3, L"Free Space", 100, LVCFMT_RIGHT);
    } else {
        SetColumn(1, L"Size", 70, LVCFMT_RIGHT);
        SetColumn(2, L"Type", 150, LVCFMT_LEFT);
        SetColumn(3, L"Modified", 110, LVCFMT_LEFT);
    }
}

bool TQFileExplorer::IsDrivesView() const {
    return IsDrivesWord(directory_);
}

void TQFileExplorer::SetDirectory(const std::wstring& value) {
    // Paths are compared as the file system compares names: two folders whose names differ only in
    // characters the language rules pass over (a soft hyphen) are two folders.
    if (platform::SameNameIgnoringCase(value, directory_)) return;
    if (IsDrivesWord(value)) {
        directory_ = value;
        RefreshList();
        return;
    }
    const DWORD attributes = platform::FileAttributes(value);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    const std::wstring folder = EnsureBackslash(value);
    // The process's current folder follows the one shown while the system can hold it; a longer
    // one is listed all the same and leaves the current folder where it was.
    platform::FollowWithCurrentDirectory(folder);
    directory_ = folder;
    RefreshList();
}

void TQFileExplorer::SetMask(const std::wstring& value) {
    if (value == mask_) return;
    mask_ = value;
    RefreshList();
}

void TQFileExplorer::SetFileType(TFileType value) {
    if (value == fileType_) return;
    fileType_ = value;
    RefreshList();
}

void TQFileExplorer::SetCurrentItemPath(const std::wstring& value) {
    if (value != currentItemPath_) currentItemPath_ = value;
}

void TQFileExplorer::SetViewStyle(TViewStyle style) {
    viewStyle_ = style;
    if (!hwnd_) return;
    const LONG_PTR bits = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, (bits & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | ViewStyleBits(style));
    ApplyDoubleBuffer(hwnd_, style);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

OrderFacts TQFileExplorer::Facts() {
    OrderFacts facts;
    facts.thousandsSeparator = platform::ThousandsSeparator();
    facts.dateOrder = platform::ShortDateOrder();
    facts.dateSeparator = platform::DateSeparator();
    facts.timeSeparator = platform::TimeSeparator();
    facts.decimalSeparator = platform::DecimalSeparator();
    facts.upperCase = &platform::UpperCase;
    return facts;
}

void TQFileExplorer::RaiseChange(int item, TItemChange change) {
    if (OnChange) OnChange(*this, item, change);
}

bool TQFileExplorer::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    if (ListView::Reflect(msg, wParam, lParam, result)) return true;  // the rows' texts and images
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    result = 0;
    switch (header->code) {
        case LVN_ODFINDITEMW: {
            // Typing a name's first letters moves to it, as in any file list.
            const auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
            result = -1;
            if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return true;
            const std::wstring wanted = platform::UpperCase(find->lvfi.psz);
            const std::size_t count = order_.size();
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t i = (static_cast<std::size_t>(std::max(find->iStart, 0)) + k) % count;
                if (Entry(i).sortKeys.name.starts_with(wanted)) {
                    result = static_cast<LRESULT>(i);
                    break;
                }
            }
            return true;
        }
        case LVN_ODCACHEHINT: {
            // The rows the list is about to show: their answers are asked first.
            const auto* hint = reinterpret_cast<NMLVCACHEHINT*>(header);
            PreferPositions(hint->iFrom, hint->iTo);
            return true;
        }
        case LVN_COLUMNCLICK: SortColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); return true;
        case NM_CLICK: ClickHandling(); return true;
        case NM_DBLCLK: DoubleClickHandling(); return true;
        case LVN_BEGINLABELEDITW: {
            // Files and folders may be renamed; drives may not.
            const int item = reinterpret_cast<NMLVDISPINFOW*>(header)->item.iItem;
            const bool allowed = item >= 0 && static_cast<std::size_t>(item) < RowCount() &&
                                 Entry(static_cast<std::size_t>(item)).Kind() != kKindDrive;
            if (allowed) {
                ++busy_;
                if (const HWND edit = ListView_GetEditControl(hwnd_)) SendMessageW(edit, EM_LIMITTEXT, 255, 0);
            }
            result = allowed ? FALSE : TRUE;
            return true;
        }
        case LVN_ENDLABELEDITW: {
            // The list shows the rows' own captions: it is never told to store the text (FALSE).
            const platform::ScopeExit ends([this] {
                if (busy_ > 0) --busy_;
            });
            const auto& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
            result = FALSE;
            // No text: the edit was cancelled (Escape).
            if (item.pszText && item.iItem >= 0 && static_cast<std::size_t>(item.iItem) < RowCount())
                RenameEntry(static_cast<std::size_t>(item.iItem), item.pszText);
            return true;
        }
        case LVN_ITEMCHANGED: {
            if (quietChanges_) return true;
            const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
            if (change->uChanged & LVIF_STATE)
                RaiseChange(change->iItem, TItemChange::ctState);
            else if (change->uChanged & LVIF_TEXT)
                RaiseChange(change->iItem, TItemChange::ctText);
            else if (change->uChanged & LVIF_IMAGE)
                RaiseChange(change->iItem, TItemChange::ctImage);
            return true;
        }
        case LVN_ODSTATECHANGED:
            if (quietChanges_) return true;
            RaiseChange(reinterpret_cast<NMLVODSTATECHANGE*>(header)->iFrom, TItemChange::ctState);
            return true;
        default: return false;
    }
}

}  // namespace korvex::components
