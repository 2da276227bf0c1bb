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
    Resize(1000, 700);
    EXPECT_EQ(SizeOf(form->Panel1).cx, panel1.cx + 200);
    EXPECT_EQ(SizeOf(form->Panel3).cx, panel3.cx);
    EXPECT_EQ(SizeOf(form->Panel6).cy, panel6.cy);
    EXPECT_EQ(SizeOf(form->Panel6).cx, panel6.cx + 200);
    EXPECT_EQ(SizeOf(form->FrameFileExlore).cy, frame.cy + 100);
    EXPECT_EQ(SizeOf(form->ListViewAdress).cy, addresses.cy + 100);
    // The explorer list fills its frame.
    EXPECT_EQ(SizeOf(form->QFileExplorer).cx, SizeOf(form->FrameFileExlore).cx);
    EXPECT_EQ(SizeOf(form->QFileExplorer).cy, SizeOf(form->FrameFileExlore).cy);
}

TEST_F(Layout, TabOrder) {
    const HWND order[] = {form->QFileExplorer.Handle(), form->ListViewFiles.Handle(), form->EditAdress.Handle(),
                          form->ListViewAdress.Handle(), form->CheckBoxEdit.Handle(), form->ComboAccaunts.Handle(),
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

}  // namespace
}  // namespace korvex::test
