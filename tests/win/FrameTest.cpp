// The explorer frame in a real window under Wine: its status line, the view button and menu, the
// up button, the tooltip, and how the bars follow the monitor's scale.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "DeviceContext.h"
#include "FileExplore.h"
#include "FormFixture.h"
#include "FrameHost.h"
#include "Locale.h"
#include "StatusText.h"
#include "TestSupport.h"
#include "Utf8.h"

namespace korvex::test {
namespace {

using components::TQFileExplorer;
using F = TFrameFileExlore;

// The one checked item of the view menu (its command), or 0 when none or several are.
int CheckedViewItem(HMENU menu) {
    int checked = 0, count = 0;
    for (int item = F::kPmLarge; item <= F::kPmDetail; ++item)
        if (GetMenuState(menu, static_cast<UINT>(item), MF_BYCOMMAND) & MF_CHECKED) checked = item, ++count;
    return count == 1 ? checked : 0;
}

DWORD ListViewStyle(HWND list) {
    return static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE)) & LVS_TYPEMASK;
}

class Frame : public ::testing::Test {
protected:
    TempDir dir;
    FrameHost host;
    F& f = host.frame;
    TQFileExplorer& x = host.frame.QFileExplorer;

    // The frame's own design, with several entries selectable.
    void SetUp() override { host.Create({.multiSelect = true}); }

    // Lets the posted refresh arrive, as the message loop would.
    void Settle() {
        ASSERT_TRUE(WaitFor([&] { return !f.StatusRefreshPending(); }));
    }
    std::wstring Part(int i) const { return f.sb.PartText(i); }
    // The status line's drive text of the test folder's drive, with the sizes asked of the drive
    // itself (the text's form is the core's, tested on its own).
    std::wstring DriveText() const {
        const std::wstring root = dir.Path().substr(0, 3);
        ULARGE_INTEGER available{}, total{};
        EXPECT_TRUE(GetDiskFreeSpaceExW(root.c_str(), &available, &total, nullptr)) << EncodeUtf8(root);
        return StatusDriveText(static_cast<std::int64_t>(total.QuadPart), static_cast<std::int64_t>(available.QuadPart),
                               platform::ThousandsSeparator());
    }
    // The free megabytes of a drive text ("258,020 MB (76,454 MB free)"); -1 when there are none.
    static long long FreeMegabytes(const std::wstring& text) {
        const auto open = text.find(L'('), end = text.find(L" MB free)");
        if (open == std::wstring::npos || end == std::wstring::npos || end < open) return -1;
        long long value = 0;
        for (std::size_t i = open + 1; i < end; ++i)
            if (text[i] >= L'0' && text[i] <= L'9') value = value * 10 + (text[i] - L'0');
        return value;
    }
    // Other programs write to the drive meanwhile: the shown text is the drive's as it was at the
    // refresh, its free space somewhere between the drive's just before and just after it.
    ::testing::AssertionResult ShowsTheDriveText(const std::function<void()>& refresh) {
        const std::wstring before = DriveText();
        refresh();
        const std::wstring shown = Part(1), after = DriveText();
        const auto size = [](const std::wstring& text) { return text.substr(0, text.find(L'(')); };
        const long long free = FreeMegabytes(shown), a = FreeMegabytes(before), b = FreeMegabytes(after);
        if (size(shown) == size(before) && free >= std::min(a, b) && free <= std::max(a, b) &&
            shown.find(L'(') != std::wstring::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "shown \"" << EncodeUtf8(shown) << "\", drive before \""
                                             << EncodeUtf8(before) << "\", after \"" << EncodeUtf8(after) << "\"";
    }
    void SelectOnly(std::initializer_list<const wchar_t*> captions) {
        ListView_SetItemState(x.Handle(), -1, 0, LVIS_SELECTED);
        for (const wchar_t* caption : captions)
            for (std::size_t i = 0; i < x.Entries().size(); ++i)
                if (x.Entry(i).caption == caption) x.Select(i);
    }
    // A click at a point of the toolbar, as the mouse gives it.
    void ClickToolBar(POINT p) {
        const HWND bar = f.ToolBar.Handle();
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void ClickViewButton() {
        const RECT r = f.ToolBar.ButtonRect(F::kToolButton1);
        ClickToolBar({r.left + 4, (r.top + r.bottom) / 2});
    }
};

TEST_F(Frame, StatusTexts) {
    MakeDir(dir / L"Old");
    MakeDir(dir / L"New");
    WriteBytes(dir / L"one-and-a-half.bin", std::string(1536, 'x'));
    WriteBytes(dir / L"small.bin", std::string(500, 'x'));
    for (int i = 0; i < 8; ++i) WriteBytes(dir / (L"f" + std::to_wstring(i) + L".txt"), "t");
    MakeDir(dir / L"empty");

    EXPECT_TRUE(ShowsTheDriveText([&] {
        x.SetDirectory(dir.Path());
        Settle();
    }));
    EXPECT_EQ(Part(0), L"13 object(s)");
    EXPECT_NE(Part(1).find(L" MB free)"), std::wstring::npos);
    EXPECT_EQ(Part(2), L"");

    struct Case {
        std::initializer_list<const wchar_t*> selected;
        std::wstring count, size;
    };
    const Case cases[] = {
        {{L"Old", L"New"}, L"2 object(s) selected", L""},
        {{L"one-and-a-half.bin"}, L"1 object(s) selected", L"2 KB"},
        {{L"small.bin"}, L"1 object(s) selected", L"0 KB"},
        {{L"Old", L"small.bin", L"one-and-a-half.bin"}, L"3 object(s) selected", L"2 KB"},  // 2036 bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        SelectOnly(c.selected);
        f.RefreshStatusNow();
        EXPECT_EQ(Part(0), c.count);
        EXPECT_EQ(Part(1), c.size);
    }
    EXPECT_TRUE(ShowsTheDriveText([&] {
        SelectOnly({});
        f.RefreshStatusNow();
    }));
    EXPECT_EQ(Part(0), L"13 object(s)");

    EXPECT_TRUE(ShowsTheDriveText([&] {
        x.SetDirectory(dir / L"empty");
        Settle();
    }));
    EXPECT_EQ(Part(0), L"0 object(s)");
}

// Selecting the rows one by one raises a change per row; the status line is worked out once,
// and shows what a refresh after the last change shows.
TEST_F(Frame, ABurstOfChangesIsOneRefresh) {
    constexpr int kEntries = 300;
    for (int i = 0; i < kEntries; ++i)
        WriteBytes(dir / (L"sheet-" + std::to_wstring(i) + L".dwg"), std::string(1024, 's'));
    x.SetDirectory(dir.Path());
    Settle();
    int events = 0;
    auto inner = x.OnChange;
    x.OnChange = [&](TQFileExplorer& sender, int item, components::TItemChange change) {
        ++events;
        inner(sender, item, change);
    };
    const int before = f.StatusRefreshCount();
    for (std::size_t i = 0; i < kEntries; ++i) x.Select(i);
    EXPECT_GE(events, kEntries);
    Settle();
    EXPECT_EQ(f.StatusRefreshCount(), before + 1);
    EXPECT_EQ(Part(0), L"300 object(s) selected");
    EXPECT_EQ(Part(1), L"300 KB");

    // Select-all and a sort of the selected rows: one refresh each.
    ListView_SetItemState(x.Handle(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(x.Handle(), -1, LVIS_SELECTED, LVIS_SELECTED);
    Settle();
    EXPECT_EQ(f.StatusRefreshCount(), before + 2);
    x.SortColumnClick(1);
    Settle();
    EXPECT_EQ(f.StatusRefreshCount(), before + 3);
    EXPECT_EQ(Part(0), L"300 object(s) selected");

    // The sizes are the disk's at the refresh, as the list's own query reads them: files deleted
    // or grown since the listing count as they are now.
    for (int i = 0; i < 10; ++i) DeleteFileW((dir / (L"sheet-" + std::to_wstring(i) + L".dwg")).c_str());
    WriteBytes(dir / L"sheet-20.dwg", std::string(10 * 1024, 's'));
    x.OnChange(x, 0, components::TItemChange::ctState);
    f.RefreshStatusNow();
    EXPECT_EQ(Part(1), L"299 KB");
    EXPECT_EQ(Part(1), StatusSelectedSizeText(x.SelectedSize(), platform::ThousandsSeparator()));
}

TEST_F(Frame, ViewButtonCyclesAndTheMenuCheckFollows) {
    EXPECT_TRUE(platform::SameNameIgnoringCase(x.Directory(), L"c:\\"));  // the frame's own design
    EXPECT_EQ(f.ExplorerViewStyle(), 3);                                  // the report view, "Таблица"
    EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmDetail);
    const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    for (int expected : {0, 1, 2, 3, 0}) {
        ClickViewButton();
        EXPECT_EQ(f.ExplorerViewStyle(), expected);
        EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmLarge + expected);
        EXPECT_EQ(ListViewStyle(x.Handle()), styles[expected]);
    }
}

TEST_F(Frame, ExplorerViewStyleWritesOnlyTheFourViews) {
    for (int bad : {4, -1, 255, 0x100 + 2}) {
        f.SetExplorerViewStyle(bad);
        EXPECT_EQ(f.ExplorerViewStyle(), 3) << bad;
        EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmDetail) << bad;
    }
    f.SetExplorerViewStyle(2);
    EXPECT_EQ(ListViewStyle(x.Handle()), static_cast<DWORD>(LVS_LIST));
    EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmList);
    f.pmDetailClick(F::kPmSmall);
    EXPECT_EQ(f.ExplorerViewStyle(), 1);
    EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmSmall);
}

// What the view menu showed while it was open: seen from inside the program, at WM_INITMENUPOPUP.
struct MenuWatch {
    static inline HMENU opened = nullptr;
    static inline int checkedAtOpen = 0;
    static inline std::vector<std::wstring> captions;
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
            opened = reinterpret_cast<HMENU>(call->wParam);
            checkedAtOpen = CheckedViewItem(opened);
            captions.clear();
            for (int i = 0; i < GetMenuItemCount(opened); ++i) {
                wchar_t text[64] = {};
                GetMenuStringW(opened, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                captions.push_back(text);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
    // Down and Return, as the keyboard gives them: the menu's first item is chosen.
    static void CALLBACK ChooseFirst(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        INPUT keys[4] = {};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = i < 2 ? VK_DOWN : VK_RETURN;
            keys[i].ki.dwFlags = i % 2 ? KEYEVENTF_KEYUP : 0;
        }
        SendInput(4, keys, sizeof(INPUT));
    }

    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    UINT_PTR timer;
    explicit MenuWatch(TIMERPROC action = &CloseMenu) : timer(SetTimer(nullptr, 0, 100, action)) { opened = nullptr; }
    ~MenuWatch() {
        KillTimer(nullptr, timer);
        UnhookWindowsHookEx(hook);
    }
};

TEST_F(Frame, TheArrowOpensTheViewMenuAndChangesNothing) {
    f.SetExplorerViewStyle(1);
    const RECT r = f.ToolBar.ButtonRect(F::kToolButton1);
    {
        const MenuWatch watch;
        ClickToolBar({r.right - 3, (r.top + r.bottom) / 2});  // the arrow part
        EXPECT_EQ(MenuWatch::opened, f.ViewMenu.get());
        EXPECT_EQ(MenuWatch::checkedAtOpen, F::kPmSmall);
        EXPECT_EQ(MenuWatch::captions, (std::vector<std::wstring>{L"Плитка", L"Значки", L"Список", L"Таблица"}));
    }
    EXPECT_EQ(f.ExplorerViewStyle(), 1);
    EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmSmall);
    // Every item is a radio item.
    for (int item = F::kPmLarge; item <= F::kPmDetail; ++item) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(f.ViewMenu.get(), static_cast<UINT>(item), FALSE, &info);
        EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << item;
    }

    // An item chosen in the open menu sets its view and moves the check.
    {
        const MenuWatch watch(&MenuWatch::ChooseFirst);
        ClickToolBar({r.right - 3, (r.top + r.bottom) / 2});
        EXPECT_EQ(MenuWatch::opened, f.ViewMenu.get());
    }
    EXPECT_EQ(f.ExplorerViewStyle(), 0);
    EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmLarge);
}

TEST_F(Frame, UpButtonTooltipAndHandPointer) {
    MakeDir(dir / L"Docs");
    MakeDir(dir / L"Docs\\Old");
    x.SetDirectory(dir / L"Docs\\Old");
    const RECT up = f.ToolBar.ButtonRect(F::kSbUp);
    ClickToolBar({(up.left + up.right) / 2, (up.top + up.bottom) / 2});
    EXPECT_EQ(x.Directory(), dir / L"Docs\\");
    f.sbUpClick();
    EXPECT_EQ(x.Directory(), dir.Path());

    const HWND tips = reinterpret_cast<HWND>(SendMessageW(f.ToolBar.Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_TRUE(tips);
    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = f.ToolBar.Handle();
    tool.uId = F::kSbUp;
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"Up one level");

    auto cursorOver = [&](const RECT& r) {
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(f.ToolBar.Handle(), &p);
        SetCursorPos(p.x, p.y);
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        SendMessageW(f.ToolBar.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(f.ToolBar.Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorOver(up), LoadCursorW(nullptr, IDC_HAND));
    EXPECT_NE(cursorOver(f.ToolBar.ButtonRect(F::kToolButton1)), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(Frame, LayoutAndScale) {
    auto rectIn = [&](const ui::Control& c) {
        RECT r;
        GetWindowRect(c.Handle(), &r);
        MapWindowPoints(nullptr, f.Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const int dpi = ui::ScreenDpi();
    auto scale = [&](int px) { return MulDiv(px, dpi, 96); };
    RECT client;
    GetClientRect(f.Handle(), &client);
    const RECT bar = rectIn(f.CoolBar), status = rectIn(f.sb), panel = rectIn(f.Panel2), list = rectIn(x);
    EXPECT_EQ(bar.top, 0);
    EXPECT_GE(bar.bottom - bar.top, scale(22));
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(status.bottom - status.top, scale(19));
    EXPECT_EQ(panel.top, bar.bottom);
    EXPECT_EQ(panel.bottom, status.top);
    const int inset = scale(5) + 1;  // the border and the bevel
    EXPECT_EQ(list.left, panel.left + inset);
    EXPECT_EQ(list.top, panel.top + inset);
    EXPECT_EQ(list.right, panel.right - inset);
    EXPECT_EQ(list.bottom, panel.bottom - inset);
    int edges[4] = {};
    EXPECT_EQ(SendMessageW(f.sb.Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], scale(150));
    EXPECT_EQ(edges[1], scale(350));
    EXPECT_EQ(edges[2], scale(400));
    EXPECT_FALSE(SendMessageW(f.sb.Handle(), SB_ISSIMPLE, 0, 0));
    int side = 0, height = 0;
    ImageList_GetIconSize(f.ImageList.get(), &side, &height);
    EXPECT_EQ(side, scale(16));
    EXPECT_EQ(ImageList_GetImageCount(f.ImageList.get()), 2);
    EXPECT_EQ(f.ToolBar.ButtonRect(F::kSbUp).right - f.ToolBar.ButtonRect(F::kSbUp).left, scale(24));
    const RECT sep = f.ToolBar.ButtonRect(F::kToolButton6);
    EXPECT_EQ(sep.right - sep.left, scale(8));

    // One and a half times the scale: 24-pixel pictures, and the bars grow with it.
    f.ScaleForDpi(dpi, dpi * 3 / 2);
    host.Realign();
    ImageList_GetIconSize(f.ImageList.get(), &side, &height);
    EXPECT_EQ(side, MulDiv(16, dpi * 3 / 2, 96));
    EXPECT_EQ(ImageList_GetImageCount(f.ImageList.get()), 2);
    const RECT scaledStatus = rectIn(f.sb);
    EXPECT_NEAR(scaledStatus.bottom - scaledStatus.top, MulDiv(19, dpi * 3 / 2, 96), 1);
    SendMessageW(f.sb.Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    EXPECT_NEAR(edges[0], MulDiv(150, dpi * 3 / 2, 96), 1);
    const RECT scaledUp = f.ToolBar.ButtonRect(F::kSbUp);
    EXPECT_EQ(scaledUp.right - scaledUp.left, MulDiv(24, dpi * 3 / 2, 96));
    EXPECT_GE(rectIn(f.CoolBar).bottom - rectIn(f.CoolBar).top, MulDiv(22, dpi * 3 / 2, 96));
    EXPECT_EQ(rectIn(f.Panel2).top, rectIn(f.CoolBar).bottom);
}

// The main window's frame: the list view with "Список" checked, several entries selectable, the
// selection shown without the focus, and the path line kept up to date by its own handler.
class MainWindowFrame : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
};

TEST_F(MainWindowFrame, HostOverrides) {
    F& f = form->FrameFileExlore;
    EXPECT_EQ(f.ExplorerViewStyle(), 2);
    EXPECT_EQ(CheckedViewItem(f.ViewMenu.get()), F::kPmList);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(f.QFileExplorer.Handle(), GWL_STYLE));
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    MakeDir(files / L"sub");
    f.QFileExplorer.SetDirectory(files.Path());
    ASSERT_TRUE(WaitFor([&] { return !f.StatusRefreshPending(); }));
    EXPECT_EQ(f.sb.PartText(0), L"1 object(s)");
    EXPECT_EQ(form->PanelPath.Text(), files.Path());
}

}  // namespace
}  // namespace korvex::test
