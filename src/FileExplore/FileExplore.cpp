#include "FileExplore.h"

#include <unordered_map>

#include "DeviceContext.h"
#include "ExplorerText.h"
#include "FileSystem.h"
#include "FramePictures.h"
#include "Locale.h"
#include "PathText.h"
#include "StatusText.h"
#include "Win32Error.h"

namespace korvex {

namespace {

// Posted to the frame by the first change of a burst; the refresh runs when it arrives.
constexpr UINT kRefreshStatusMessage = WM_APP + 0x46;

constexpr int kToolBarId = 1, kCoolBarId = 2, kStatusBarId = 3;
constexpr wchar_t kUpHint[] = L"Up one level";

struct ViewItem {
    int command;
    const wchar_t* caption;
};
constexpr ViewItem kViewItems[] = {
    {TFrameFileExlore::kPmLarge, L"Плитка"},
    {TFrameFileExlore::kPmSmall, L"Значки"},
    {TFrameFileExlore::kPmList, L"Список"},
    {TFrameFileExlore::kPmDetail, L"Таблица"},
};

}  // namespace

void TFrameFileExlore::Create(HWND parent, int explorerId, SIZE size,
                              const components::TQFileExplorer::Options& explorer, const std::wstring& firstFolder) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    // The scale of the monitor the host window is on.
    const UINT parentDpi = GetDpiForWindow(parent);
    dpi_ = parentDpi ? static_cast<int>(parentDpi) : ui::ScreenDpi();
    CreateWin({.name = L"KorvexExplorerFrame"}, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT, parent, RECT{0, 0, size.cx, size.cy});

    // The toolbar's parent stays its notify window when the band takes it: its clicks, its
    // drop-down arrow and its tooltip texts come here.
    ToolBar.Create(hwnd_, kToolBarId,
                   TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                   SIZE{Scale(80), Scale(22)});
    MakePictures();
    ToolBar.AddButton(kSbUp, 0);
    ToolBar.AddSeparator(kToolButton6, Scale(8));
    ToolBar.AddButton(kToolButton1, 1, BTNS_DROPDOWN);
    ToolBar.SetHandCursor(kSbUp);
    CoolBar.Create(hwnd_, kCoolBarId, SIZE{size.cx, Scale(26)});
    CoolBar.AddBand(ToolBar.Handle(), SIZE{0, 0});
    CoolBar.SetAlign(ui::Align::Top);
    SizeBars();

    Panel2.Create(hwnd_, SIZE{size.cx, size.cy / 2}, Scale(5));
    Panel2.SetAlign(ui::Align::Client);
    QFileExplorer.OnChange = [this](components::TQFileExplorer& sender, int item, components::TItemChange change) {
        QFileExplorerChange(sender, item, change);
    };
    QFileExplorer.Create(Panel2.Handle(), explorerId, size, explorer);
    QFileExplorer.SetAlign(ui::Align::Client);
    QFileExplorer.SetContextMenu(true);
    QFileExplorer.SetContextAction(true);
    QFileExplorer.SetFileType({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
    if (!firstFolder.empty()) QFileExplorer.SetDirectory(firstFolder);
    Panel2.AddChild(QFileExplorer);

    sb.Create(hwnd_, kStatusBarId, SIZE{size.cx, Scale(19)});
    sb.SetParts({Scale(150), Scale(200), Scale(50)});
    sb.SetAlign(ui::Align::Bottom);

    ViewMenu.reset(CreatePopupMenu());
    if (!ViewMenu) throw platform::Win32Error(GetLastError(), L"CreatePopupMenu");
    for (const ViewItem& item : kViewItems) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.fType = MFT_STRING | MFT_RADIOCHECK;
        info.wID = static_cast<UINT>(item.command);
        info.dwTypeData = const_cast<wchar_t*>(item.caption);
        InsertMenuItemW(ViewMenu.get(), GetMenuItemCount(ViewMenu.get()), TRUE, &info);
    }
    // The check mark starts at the view the list was made with.
    CheckMenuRadioItem(ViewMenu.get(), kPmLarge, kPmDetail, kPmLarge + ExplorerViewStyle(), MF_BYCOMMAND);

    AddChild(CoolBar);
    AddChild(sb);
    AddChild(Panel2);
    Realign();
}

void TFrameFileExlore::MakePictures() {
    const int side = Scale(16);
    platform::UniqueImageList pictures = MakeFramePictures(side);
    ToolBar.SetImageList(pictures.get(), SIZE{side, side});
    ImageList = std::move(pictures);  // the old list goes once the toolbar shows the new one
}

// The toolbar's buttons and the band around it at the current scale; the rebar takes the
// band's height and tells the frame (RBN_HEIGHTCHANGE).
void TFrameFileExlore::SizeBars() {
    ToolBar.SetButtonSize(SIZE{Scale(24), Scale(22)});
    const SIZE content = ToolBar.ContentSize();
    SetWindowPos(ToolBar.Handle(), nullptr, 0, 0, content.cx, std::max<LONG>(content.cy, Scale(22)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CoolBar.SetBandMinSize(0, SIZE{content.cx, Scale(22)});
}

void TFrameFileExlore::ScaleForDpi(int oldDpi, int newDpi) {
    Container::ScaleForDpi(oldDpi, newDpi);
    dpi_ = newDpi;
    MakePictures();
    TBBUTTONINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.dwMask = TBIF_SIZE;
    separator.cx = static_cast<WORD>(Scale(8));
    SendMessageW(ToolBar.Handle(), TB_SETBUTTONINFOW, kToolButton6, reinterpret_cast<LPARAM>(&separator));
    SizeBars();
    Realign();
}

int TFrameFileExlore::ExplorerViewStyle() const {
    return static_cast<int>(QFileExplorer.ViewStyle());
}

void TFrameFileExlore::SetExplorerViewStyle(int value) {
    if (value < 0 || value > 3) return;
    pmDetailClick(kPmLarge + value);
}

void TFrameFileExlore::pmDetailClick(int item) {
    const int tag = item & 0xFF;
    if (item < kPmLarge || item > kPmDetail) return;
    QFileExplorer.SetViewStyle(static_cast<components::TViewStyle>(tag));
    CheckMenuRadioItem(ViewMenu.get(), kPmLarge, kPmDetail, static_cast<UINT>(item), MF_BYCOMMAND);
}

void TFrameFileExlore::ToolButton1Click() {
    int v = ExplorerViewStyle() + 1;
    if (v > 3) v = 0;
    SetExplorerViewStyle(v);
}

void TFrameFileExlore::sbUpClick() {
    QFileExplorer.UpOneLevel();
}

void TFrameFileExlore::ShowViewMenu() {
    RECT button = ToolBar.ButtonRect(kToolButton1);
    MapWindowPoints(ToolBar.Handle(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS params{sizeof params, button};
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenuEx(ViewMenu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_VERTICAL,
                                           button.left, button.bottom, hwnd_, &params));
    if (chosen) pmDetailClick(static_cast<int>(chosen));
}

void TFrameFileExlore::QFileExplorerChange(components::TQFileExplorer&, int, components::TItemChange) {
    if (refreshPending_) return;
    refreshPending_ = true;
    // Without a queue to post to, the refresh runs at once.
    if (!hwnd_ || !PostMessageW(hwnd_, kRefreshStatusMessage, 0, 0)) RefreshStatus();
}

void TFrameFileExlore::RefreshStatusNow() {
    if (refreshPending_) RefreshStatus();
}

void TFrameFileExlore::RefreshStatus() {
    refreshPending_ = false;
    ++refreshCount_;
    if (!sb.Handle()) return;
    const std::wstring separator = platform::ThousandsSeparator();
    const bool anySelected = QFileExplorer.Handle() && ListView_GetSelectedCount(QFileExplorer.Handle()) > 0;
    sb.SetPartText(0, StatusCountText(QFileExplorer.SelectedCount(), anySelected));
    if (anySelected) {
        sb.SetPartText(1, QFileExplorer.SelectedTypes().Contains(otFile)
                              ? StatusSelectedSizeText(SelectedFilesSize(), separator)
                              : std::wstring());
    } else {
        const auto [size, free] = QFileExplorer.GetDriveSpace();
        sb.SetPartText(1, StatusDriveText(size, free, separator));
    }
}

std::int64_t TFrameFileExlore::SelectedFilesSize() const {
    // A search per selected entry is what the list's own query makes, and under Wine each costs
    // about as much as listing a hundred entries of the folder. Past a few dozen entries one walk
    // of the folder reads the same sizes from the disk, now, for all of them.
    const int selected = ListView_GetSelectedCount(QFileExplorer.Handle());
    const auto rows = QFileExplorer.Entries().size();
    if (selected <= 32 || static_cast<std::size_t>(selected) * 16 < rows || QFileExplorer.IsDrivesView())
        return QFileExplorer.SelectedSize();
    std::unordered_map<std::wstring, std::uint64_t> sizes;
    sizes.reserve(rows);
    platform::EnumerateDirectory(EnsureBackslash(QFileExplorer.Directory()) + L"*", [&](const WIN32_FIND_DATAW& found) {
        sizes.emplace(platform::FoldCase(found.cFileName), platform::FindDataSize(found));
    });
    std::uint64_t total = 0;
    QFileExplorer.ForEachSelected([&](std::size_t i) {
        // Names as the file system compares them; a drive (no bare name) and a deleted file add nothing.
        const std::wstring_view name = BareName(QFileExplorer.Entry(i).FullPath());
        if (name.empty()) return;
        if (const auto it = sizes.find(platform::FoldCase(name)); it != sizes.end()) total += it->second;
    });
    return static_cast<std::int64_t>(total);
}

bool TFrameFileExlore::OnNotify(NMHDR* header, LRESULT& result) {
    result = 0;
    if (header->hwndFrom == ToolBar.Handle() && header->code == TBN_DROPDOWN) {
        if (reinterpret_cast<NMTOOLBARW*>(header)->iItem != kToolButton1) return false;
        ShowViewMenu();
        result = TBDDRET_DEFAULT;
        return true;
    }
    if (header->code == TTN_GETDISPINFOW && header->idFrom == kSbUp) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        info->lpszText = const_cast<wchar_t*>(kUpHint);
        info->hinst = nullptr;
        return true;
    }
    if (header->hwndFrom == CoolBar.Handle() && header->code == RBN_HEIGHTCHANGE) {
        Realign();
        return true;
    }
    return false;
}

LRESULT TFrameFileExlore::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kRefreshStatusMessage:
            if (refreshPending_) RefreshStatus();
            return 0;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == ToolBar.Handle() && HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == kSbUp) sbUpClick();
                if (LOWORD(wParam) == kToolButton1) ToolButton1Click();
                return 0;
            }
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (OnNotify(reinterpret_cast<NMHDR*>(lParam), result)) return result;
            break;
        }
        default: break;
    }
    return Container::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex
