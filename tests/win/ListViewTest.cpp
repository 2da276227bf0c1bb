// The list-view wrapper's column upkeep: a hold on a list's drawing is released once, by the
// outermost hold, and never shows a list; shared column widths are shared out again only when the
// list's width changes, so a width the user dragged survives a layout that keeps the list's width.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ListHost.h"
#include "ListView.h"

namespace korvex::test {
namespace {

bool HasStyle(HWND hwnd, DWORD style) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & style) == style;
}

int ColumnWidthSum(HWND list, int columns) {
    int sum = 0;
    for (int i = 0; i < columns; ++i) sum += ListView_GetColumnWidth(list, i);
    return sum;
}

int ClientWidth(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r.right - r.left;
}

TEST(ListViewRedrawHold, TheOutermostHoldCatchesTheListUpAndAHiddenListStaysHidden) {
    ListHost host;
    host.Create();
    ui::ListView list;
    list.Create(host.Handle(), 1, LVS_OWNERDATA, 0, SIZE{200, 120});
    list.AddColumn(L"Name", 100);
    {
        const ui::RedrawHold outer(list.Handle());
        {
            const ui::RedrawHold inner(list.Handle());
            ListView_SetItemCountEx(list.Handle(), 500, 0);
        }
        // The inner hold left the list to the outer one: no scroll-bar upkeep yet.
        EXPECT_FALSE(HasStyle(list.Handle(), WS_VSCROLL));
    }
    EXPECT_TRUE(HasStyle(list.Handle(), WS_VSCROLL));
    // The list keeps its own visibility, and the window it is in stays hidden.
    EXPECT_TRUE(HasStyle(list.Handle(), WS_VISIBLE));
    EXPECT_FALSE(IsWindowVisible(host.Handle()));

    // A list hidden on its own is not held at all: switching drawing back on would show it.
    ShowWindow(list.Handle(), SW_HIDE);
    {
        const ui::RedrawHold hold(list.Handle());
        list.AddColumn(L"Size", 80);
    }
    EXPECT_FALSE(HasStyle(list.Handle(), WS_VISIBLE));
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list.Handle())), 2);
}

TEST(ListViewSharedColumns, AWidthTheUserGaveStaysUntilTheListsWidthChanges) {
    ListHost host;
    host.Create();
    ui::ListView list;
    list.Create(host.Handle(), 1, LVS_OWNERDATA, 0, SIZE{200, 120});
    for (const wchar_t* caption : {L"Имя файла", L"Путь", L"Размер"}) list.AddColumn(caption, 60);
    list.ShareWidthAmongColumns(true);
    list.SetAlign(ui::Align::Client);
    host.AddChild(list);
    host.Realign();
    ASSERT_EQ(ColumnWidthSum(list.Handle(), 3), ClientWidth(list.Handle()));

    // The user drags the first column narrower; a layout that leaves the list as wide as it was
    // (the window made taller) keeps that width.
    ListView_SetColumnWidth(list.Handle(), 0, 30);
    RECT bounds{};
    GetWindowRect(host.Handle(), &bounds);
    const int width = bounds.right - bounds.left;
    SetWindowPos(host.Handle(), nullptr, 0, 0, width, bounds.bottom - bounds.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host.Realign();
    EXPECT_EQ(ListView_GetColumnWidth(list.Handle(), 0), 30);

    // A wider window shares the new width out among the columns again.
    SetWindowPos(host.Handle(), nullptr, 0, 0, width + 90, bounds.bottom - bounds.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ColumnWidthSum(list.Handle(), 3), ClientWidth(list.Handle()));
    EXPECT_GT(ListView_GetColumnWidth(list.Handle(), 0), 30);
}

}  // namespace
}  // namespace korvex::test
