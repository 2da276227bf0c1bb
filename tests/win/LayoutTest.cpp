// The docked layout of the main window: what grows when the window does, the splitters, the
// smallest sizes, docking at the first show, the keyboard order and the focus.

#include <algorithm>

#include "FormFixture.h"

namespace korvex::test {
namespace {

RECT BoundsOf(const ui::Control& c) {
    RECT r;
    GetWindowRect(c.Handle(), &r);
    return r;
}
SIZE SizeOf(const ui::Control& c) {
    const RECT r = BoundsOf(c);
    return {r.right - r.left, r.bottom - r.top};
}
POINT CentreOf(const ui::Control& c) {
    const RECT r = BoundsOf(c);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The left button pressed or released without a move.
void MouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof in);
}
void Settle() {
    PumpPending();
}

class Layout : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
    void Resize(int width, int height) { SetWindowPos(form->Handle(), nullptr, 0, 0, width, height, SWP_NOZORDER); }
    // Drags the splitter's middle by (dx, dy) with the real mouse, in a few steps; the offset
    // the mouse really moved.
    POINT DragSplitter(ui::Splitter& splitter, int dx, int dy) {
        const POINT from = CentreOf(splitter);
        MouseTo(from);
        Settle();
        MouseButton(true);
        EXPECT_TRUE(WaitFor([&] { return splitter.Dragging(); }));
        for (int step = 1; step <= 4; ++step) {
            MouseTo({from.x + dx * step / 4, from.y + dy * step / 4});
            Settle();
        }
        POINT to;
        GetCursorPos(&to);
        MouseButton(false);
        EXPECT_TRUE(WaitFor([&] { return !splitter.Dragging(); }));
        return {to.x - from.x, to.y - from.y};
    }
};

TEST_F(Layout, ExtraRoomGoesToTheExplorerTheSendListWidthAndTheAddressList) {
    Resize(800, 600);
    const SIZE panel1 = SizeOf(form->Panel1), panel3 = SizeOf(form->Panel3), panel6 = SizeOf(form->Panel6);
    const SIZE frame = SizeOf(form->FrameFileExlore), addresses = SizeOf(form->ListViewAdress);
    const SIZE explorer = SizeOf(form->FrameFileExlore.QFileExplorer);
    Resize(1000, 700);
    EXPECT_EQ(SizeOf(form->Panel1).cx, panel1.cx + 200);
    EXPECT_EQ(SizeOf(form->Panel3).cx, panel3.cx);
    EXPECT_EQ(SizeOf(form->Panel6).cy, panel6.cy);
    EXPECT_EQ(SizeOf(form->Panel6).cx, panel6.cx + 200);
    EXPECT_EQ(SizeOf(form->btJournal).cx, 60);  // whole beside the other three
    EXPECT_EQ(SizeOf(form->FrameFileExlore).cy, frame.cy + 100);
    EXPECT_EQ(SizeOf(form->ListViewAdress).cy, addresses.cy + 100);
    // The explorer list fills its frame's panel inside the border, and grows with the frame.
    const int inset = 2 * (form->FrameFileExlore.Panel2.BorderWidth() + 1);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cx, SizeOf(form->FrameFileExlore.Panel2).cx - inset);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cy, SizeOf(form->FrameFileExlore.Panel2).cy - inset);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cx, explorer.cx + 200);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cy, explorer.cy + 100);
}

// Each splitter, dragged with the mouse, moves its border: the panel on its edge takes what the
// filling one gives; dragged far, both keep their smallest sizes.
TEST_F(Layout, DraggingASplitterMovesItsBorderDownToTheSmallestSizes) {
    Resize(900, 650);
    struct Case {
        ui::Splitter& splitter;
        ui::Control& moved;
        ui::Control& rest;
    } cases[] = {{form->Splitter2, form->Panel3, form->FrameFileExlore},
                 {form->Splitter3, form->Panel6, form->FrameFileExlore}};
    for (auto& [splitter, moved, rest] : cases) {
        const bool vertical = splitter.Vertical();
        SCOPED_TRACE(vertical ? "Splitter2" : "Splitter3");
        auto extent = [&](const ui::Control& c) { return vertical ? SizeOf(c).cx : SizeOf(c).cy; };
        const int moved0 = extent(moved), rest0 = extent(rest);
        // Towards the rest by 40 pixels: the moved panel grows by what the mouse moved.
        const POINT by = DragSplitter(splitter, vertical ? -40 : 0, vertical ? 0 : -40);
        const int delta = vertical ? -by.x : -by.y;
        EXPECT_NEAR(delta, 40, 1);
        EXPECT_EQ(extent(moved), moved0 + delta);
        EXPECT_EQ(extent(rest), rest0 - delta);
        // The splitter stays on the border between the two.
        const RECT bar = BoundsOf(splitter), m = BoundsOf(moved), r = BoundsOf(form->Panel1);
        if (vertical) {
            EXPECT_EQ(bar.right, m.left);
            EXPECT_EQ(bar.left, r.right);
        } else {
            EXPECT_EQ(bar.bottom, m.top);
            EXPECT_EQ(bar.top, BoundsOf(form->FrameFileExlore).bottom);
        }
        // Far towards the edge, then far into the rest.
        DragSplitter(splitter, vertical ? 2000 : 0, vertical ? 0 : 2000);
        EXPECT_EQ(extent(moved), splitter.MinMoved());
        DragSplitter(splitter, vertical ? -2000 : 0, vertical ? 0 : -2000);
        EXPECT_EQ(vertical ? SizeOf(form->Panel1).cx : extent(rest), splitter.MinRest());
    }
    // The bars show the resizing cursors.
    SendMessageW(form->Splitter2.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Splitter2.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    SendMessageW(form->Splitter3.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Splitter3.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZENS));
}

// The window can be made no smaller than what keeps every control usable, whatever the splitters
// made of the panels: at that size the four buttons keep their widths side by side.
// A parent too small for a docked control squeezes it; once the room is back, so is its size (at
// a start on a high-scale monitor the window is first laid out smaller than it opens).
TEST_F(Layout, ASqueezedControlGetsItsSizeBack) {
    ui::Panel strip;
    strip.Create(form->Handle(), SIZE{300, 40}, {.bevel = false});
    ui::Panel left, right;
    left.Create(strip.Handle(), SIZE{100, 40}, {.bevel = false});
    left.SetAlign(ui::Align::Left);
    right.Create(strip.Handle(), SIZE{100, 40}, {.bevel = false});
    right.SetAlign(ui::Align::Right);
    strip.AddChild(left);
    strip.AddChild(right);
    for (const int width : {300, 150, 60, 400}) {
        SetWindowPos(strip.Handle(), nullptr, 0, 0, width, 40, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(SizeOf(left).cx, std::min(width, 100)) << width;
        EXPECT_EQ(SizeOf(right).cx, std::clamp(width - 100, 0, 100)) << width;
    }
}

TEST_F(Layout, SmallestWindowKeepsEveryControlUsable) {
    Resize(900, 650);
    DragSplitter(form->Splitter2, -60, 0);
    DragSplitter(form->Splitter3, 0, -60);
    MINMAXINFO limits{};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    Resize(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y);
    EXPECT_GE(SizeOf(form->Panel1).cx, form->Splitter2.MinRest());
    EXPECT_GE(SizeOf(form->FrameFileExlore).cy, form->Splitter3.MinRest());
    EXPECT_GE(SizeOf(form->ListViewAdress).cy, 40);
    for (auto* button : {&form->btAddAll, &form->btAddFiles, &form->btClear}) EXPECT_EQ(SizeOf(*button).cx, 103);
    EXPECT_LE(BoundsOf(form->btAddAll).right, BoundsOf(form->btAddFiles).left);
    EXPECT_LE(BoundsOf(form->btAddFiles).right, BoundsOf(form->btJournal).left);
    // "Журнал" keeps its place between them, narrowed if need be.
    EXPECT_EQ(BoundsOf(form->btJournal).right, BoundsOf(form->btClear).left);
    // Smaller than that the system does not go.
    Resize(300, 200);
    RECT window;
    GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.right - window.left, limits.ptMinTrackSize.x);
    EXPECT_EQ(window.bottom - window.top, limits.ptMinTrackSize.y);
}

// The send list's three columns share its width, also once enough rows bring a scroll bar.
TEST_F(Layout, SendListColumnsShareTheWidthWithAndWithoutAScrollBar) {
    Resize(900, 650);
    auto columnsFill = [&] {
        RECT client;
        GetClientRect(form->ListViewFiles.Handle(), &client);
        int sum = 0;
        for (int i = 0; i < 4; ++i) sum += ListView_GetColumnWidth(form->ListViewFiles.Handle(), i);
        return sum == client.right;
    };
    // Name, folder, size and what the sends made of the entry.
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(form->ListViewFiles.Handle())), 4);
    EXPECT_TRUE(columnsFill());
    std::vector<std::wstring> paths;
    for (int i = 0; i < 60; ++i) {
        paths.push_back(files / (L"sheet-" + std::to_wstring(i) + L".dwg"));
        WriteBytes(paths.back(), "x");
    }
    form->AddPaths(paths, false);
    ASSERT_TRUE(GetWindowLongW(form->ListViewFiles.Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(columnsFill());
    EXPECT_FALSE(GetWindowLongW(form->ListViewFiles.Handle(), GWL_STYLE) & WS_HSCROLL);
    form->ClearSendList();
    EXPECT_TRUE(columnsFill());
}

TEST_F(Layout, TabOrder) {
    const HWND order[] = {form->FrameFileExlore.QFileExplorer.Handle(),
                          form->ListViewFiles.Handle(),
                          form->EditAdress.Handle(),
                          form->ListViewAdress.Handle(),
                          form->CheckBoxEdit.Handle(),
                          form->ComboAccaunts.Handle(),
                          form->EditSubj1.Handle()};
    HWND at = order[0];
    for (std::size_t i = 1; i < std::size(order); ++i) {
        at = GetNextDlgTabItem(form->Handle(), at, FALSE);
        // The combo box takes the focus in its edit field.
        const HWND expected = order[i];
        EXPECT_TRUE(at == expected || IsChild(expected, at)) << "step " << i;
        if (IsChild(expected, at)) at = expected;
    }
    // The speed buttons and the splitters are no stops.
    for (const ui::Control* c :
         std::initializer_list<const ui::Control*>{&form->btAddAll, &form->btAddFiles, &form->btClear,
                                                   &form->btMakeQuery, &form->Splitter2, &form->Splitter3})
        EXPECT_FALSE(GetWindowLongW(c->Handle(), GWL_STYLE) & WS_TABSTOP);
}

// A click on a speed button acts and leaves the keyboard focus where the user was typing.
TEST_F(Layout, SpeedButtonsLeaveTheFocusWhereItWas) {
    Resize(900, 650);
    WriteBytes(files / L"a.dwg", "a");
    form->AddPath(files / L"a.dwg", false);
    SetFocus(form->EditAdress.Handle());
    ASSERT_EQ(GetFocus(), form->EditAdress.Handle());
    MouseTo(CentreOf(form->btClear));
    MouseButton(true);
    MouseButton(false);
    EXPECT_TRUE(WaitFor([&] { return form->SendEntries().Empty(); }));
    EXPECT_EQ(GetFocus(), form->EditAdress.Handle());
    SetFocus(form->ListViewFiles.Handle());
    MouseTo(CentreOf(form->btAddFiles));
    MouseButton(true);
    MouseButton(false);
    Settle();
    EXPECT_EQ(GetFocus(), form->ListViewFiles.Handle());
}

// Moving to a monitor of twice the scale: extents, fonts and the explorer's columns follow.
TEST_F(Layout, FollowsAChangeOfMonitorScale) {
    Resize(800, 600);
    const SIZE panel3 = SizeOf(form->Panel3), panel6 = SizeOf(form->Panel6), edit = SizeOf(form->EditAdress);
    auto reportColumn = [&](int i) {
        LVCOLUMNW c{};
        c.mask = LVCF_WIDTH;
        ListView_GetColumn(form->FrameFileExlore.QFileExplorer.Handle(), i, &c);
        return c.cx;
    };
    const int column = reportColumn(3);
    const int listColumn = ListView_GetColumnWidth(form->FrameFileExlore.QFileExplorer.Handle(), 0);  // the list view's
    auto fontHeight = [](HWND w) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof font, &font);
        return font.lfHeight;
    };
    const LONG editFont = fontHeight(form->EditSubj1.Handle());
    const LONG explorerFont = fontHeight(form->FrameFileExlore.QFileExplorer.Handle());
    const int minMoved = form->Splitter2.MinMoved(), minRest = form->Splitter3.MinRest();

    RECT suggested{0, 0, 1600, 1200};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NEAR(SizeOf(form->Panel3).cx, 2 * panel3.cx, 2);
    EXPECT_NEAR(SizeOf(form->Panel6).cy, 2 * panel6.cy, 2);
    EXPECT_NEAR(SizeOf(form->EditAdress).cy, 2 * edit.cy, 2);
    EXPECT_EQ(SizeOf(form->Splitter2).cx, 6);
    EXPECT_EQ(form->Splitter2.MinMoved(), 2 * minMoved);
    EXPECT_EQ(form->Splitter3.MinRest(), 2 * minRest);
    EXPECT_EQ(reportColumn(3), 2 * column);
    EXPECT_EQ(ListView_GetColumnWidth(form->FrameFileExlore.QFileExplorer.Handle(), 0), 2 * listColumn);
    EXPECT_NEAR(fontHeight(form->EditSubj1.Handle()), 2 * editFont, 1);
    EXPECT_NEAR(fontHeight(form->FrameFileExlore.QFileExplorer.Handle()), 2 * explorerFont, 1);
    // The smallest size the window can be dragged to scales too (the window frame does not).
    MINMAXINFO limits{};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_GE(limits.ptMinTrackSize.x, 2 * (panel3.cx + 3 + 3 * 103));
}

// The controls are docked once, at the first show, for the size the window opens with: also when
// that is the size it was made with, which no resize message announces.
class LayoutAtFirstShow : public FormFixture {
protected:
    void ExpectDocked() const;
};

TEST_F(LayoutAtFirstShow, ControlsAreDockedForTheSizeTheWindowOpensWith) {
    RegisterClient({{L"User #0", L"Office"}});
    WriteAddressBook("a@example.com\r\n");
    for (const bool keepsItsSize : {true, false}) {
        SCOPED_TRACE(keepsItsSize ? "saved bounds equal to the window's own" : "saved bounds of another size");
        ASSERT_TRUE(CreateForm());
        RECT made;
        GetWindowRect(form->Handle(), &made);
        const int width = keepsItsSize ? made.right - made.left : 860;
        const int height = keepsItsSize ? made.bottom - made.top : 610;
        WriteUtf16File(exeDir / L"korvex.ini", L"[Main]\r\nLeft=" + std::to_wstring(made.left) +
                                                   L"\r\nTop=" + std::to_wstring(made.top) + L"\r\nWidth=" +
                                                   std::to_wstring(width) + L"\r\nHeight=" +
                                                   std::to_wstring(height) + L"\r\n");
        form->Show(SW_SHOWNORMAL);
        RECT shown;
        GetWindowRect(form->Handle(), &shown);
        ASSERT_EQ(shown.right - shown.left, width);
        ASSERT_EQ(shown.bottom - shown.top, height);
        ExpectDocked();
        form.reset();
    }
}

void LayoutAtFirstShow::ExpectDocked() const {
    RECT client;
    GetClientRect(form->Handle(), &client);
    MapWindowPoints(form->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    const RECT panel1 = BoundsOf(form->Panel1), bar = BoundsOf(form->Splitter2), panel3 = BoundsOf(form->Panel3);
    EXPECT_EQ(panel1.left, client.left);
    EXPECT_EQ(panel1.right, bar.left);
    EXPECT_EQ(bar.right - bar.left, 3);
    EXPECT_EQ(bar.right, panel3.left);
    EXPECT_EQ(panel3.right, client.right);
    EXPECT_EQ(panel3.right - panel3.left, 374);
    EXPECT_EQ(panel1.bottom - panel1.top, client.bottom - client.top);
    const RECT frame = BoundsOf(form->FrameFileExlore), bar3 = BoundsOf(form->Splitter3),
               panel6 = BoundsOf(form->Panel6);
    EXPECT_EQ(BoundsOf(form->PanelPath).bottom, frame.top);
    EXPECT_EQ(frame.bottom, bar3.top);
    EXPECT_EQ(bar3.bottom - bar3.top, 3);
    EXPECT_EQ(bar3.bottom, panel6.top);
    EXPECT_EQ(panel6.bottom - panel6.top, 211);
    EXPECT_GT(frame.bottom - frame.top, 50);
    // The button bar: two buttons from the left, two at the right, 103 pixels each but "Журнал".
    const RECT bar2 = BoundsOf(form->Panel2), all = BoundsOf(form->btAddAll), add = BoundsOf(form->btAddFiles),
               clear = BoundsOf(form->btClear), journal = BoundsOf(form->btJournal);
    EXPECT_EQ(bar2.bottom - bar2.top, 29);
    EXPECT_EQ(all.right, add.left);
    EXPECT_EQ(all.left - bar2.left, bar2.right - clear.right);
    for (const RECT& b : {all, add, clear}) EXPECT_EQ(b.right - b.left, 103);
    EXPECT_EQ(journal.right, clear.left);
    EXPECT_GE(journal.left, add.right);  // the system's first size may be too narrow for all of its width
    EXPECT_GT(SizeOf(form->ListViewFiles).cy, 100);
    EXPECT_GT(SizeOf(form->ListViewAdress).cy, 100);
}

}  // namespace
}  // namespace korvex::test
