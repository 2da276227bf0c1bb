// The docked layout of the main window: what grows when the window does, and the keyboard order.

#include "FormFixture.h"

namespace korvex::test {
namespace {

class Layout : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
    static SIZE SizeOf(const ui::Control& c) {
        RECT r;
        GetWindowRect(c.Handle(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    void Resize(int width, int height) {
        SetWindowPos(form->Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
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
    EXPECT_EQ(SizeOf(form->FrameFileExlore).cy, frame.cy + 100);
    EXPECT_EQ(SizeOf(form->ListViewAdress).cy, addresses.cy + 100);
    // The explorer list fills its frame's panel inside the border, and grows with the frame.
    const int inset = 2 * (form->FrameFileExlore.Panel2.BorderWidth() + 1);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cx, SizeOf(form->FrameFileExlore.Panel2).cx - inset);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cy, SizeOf(form->FrameFileExlore.Panel2).cy - inset);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cx, explorer.cx + 200);
    EXPECT_EQ(SizeOf(form->FrameFileExlore.QFileExplorer).cy, explorer.cy + 100);
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
    // The speed buttons never take the focus.
    EXPECT_FALSE(GetWindowLongW(form->btMakeQuery.Handle(), GWL_STYLE) & WS_TABSTOP);
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

    RECT suggested{0, 0, 1000, 700};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NEAR(SizeOf(form->Panel3).cx, 2 * panel3.cx, 2);
    EXPECT_NEAR(SizeOf(form->Panel6).cy, 2 * panel6.cy, 2);
    EXPECT_NEAR(SizeOf(form->EditAdress).cy, 2 * edit.cy, 2);
    EXPECT_EQ(reportColumn(3), 2 * column);
    EXPECT_EQ(ListView_GetColumnWidth(form->FrameFileExlore.QFileExplorer.Handle(), 0), 2 * listColumn);
    EXPECT_NEAR(fontHeight(form->EditSubj1.Handle()), 2 * editFont, 1);
    EXPECT_NEAR(fontHeight(form->FrameFileExlore.QFileExplorer.Handle()), 2 * explorerFont, 1);
    // The smallest size the window can be dragged to scales too.
    MINMAXINFO limits{};
    SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 2 * 560);
}

}  // namespace
}  // namespace korvex::test
