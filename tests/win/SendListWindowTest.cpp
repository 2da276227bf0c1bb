// The send list in its window: Delete, Ctrl+A, "Очистить", and files dropped on the window.

#include <shlobj.h>

#include "FormFixture.h"

namespace korvex::test {
namespace {

class SendListWindow : public FormFixture {
protected:
    void SetUp() override {
        CreateReadyForm();
        for (auto name : {L"1.dwg", L"2.dwg", L"3.dwg", L"4.dwg"}) {
            WriteBytes(files / name, "x");
            form->AddPath(files / name, false);
        }
    }
    void PressKey(WORD key, bool ctrl = false) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        NMLVKEYDOWN key_down{};
        key_down.hdr.hwndFrom = form->ListViewFiles.Handle();
        key_down.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(form->ListViewFiles.Handle()));
        key_down.hdr.code = LVN_KEYDOWN;
        key_down.wVKey = key;
        SendMessageW(GetParent(form->ListViewFiles.Handle()), WM_NOTIFY, key_down.hdr.idFrom,
                     reinterpret_cast<LPARAM>(&key_down));
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }
};

TEST_F(SendListWindow, DeleteRemovesTheSelectedEntriesOnly) {
    PressKey(VK_DELETE);
    EXPECT_EQ(form->SendEntries().Size(), 4u);

    form->ListViewFiles.Select(0);
    form->ListViewFiles.Select(2);
    PressKey(VK_DELETE);
    EXPECT_EQ(FileNames(), (std::vector<std::wstring>{L"2.dwg", L"4.dwg"}));
    EXPECT_EQ(form->ListViewFiles.Count(), 2);
    EXPECT_TRUE(form->ListViewFiles.SelectedIndices().empty());
    // A removed file may be added again.
    form->AddPath(files / L"1.dwg", false);
    EXPECT_EQ(form->SendEntries().Size(), 3u);
}

TEST_F(SendListWindow, CtrlASelectsEverythingAndAPlainAOnlyTypes) {
    PressKey('A');
    EXPECT_TRUE(form->ListViewFiles.SelectedIndices().empty());
    PressKey('A', true);
    EXPECT_EQ(form->ListViewFiles.SelectedIndices().size(), 4u);
    PressKey(VK_DELETE);
    EXPECT_TRUE(form->SendEntries().Empty());
}

TEST_F(SendListWindow, ClearEmptiesTheList) {
    SendMessageW(form->btClear.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form->SendEntries().Empty());
    EXPECT_EQ(form->ListViewFiles.Count(), 0);
}

// A drop as the shell makes it: a DROPFILES block with wide names, released by the receiver.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const auto& p : paths) names += p + L'\0';
    names += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

class Drops : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
    void Drop(const std::vector<std::wstring>& paths) {
        SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
    }
    std::vector<std::wstring> FullPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& e : form->SendEntries().Entries()) paths.push_back(e.FullPath());
        return paths;
    }
};

// Five files and a folder dropped at once arrive in the drop's order, the folder as its whole
// tree where it stands; a file dropped again is skipped.
TEST_F(Drops, EveryItemArrivesInTheDropsOrderAndAFolderWithItsTree) {
    std::vector<std::wstring> dropped;
    for (auto name : {L"e.dwg", L"a.dwg", L"folder", L"d.dwg", L"b.dwg", L"c.dwg"}) dropped.push_back(files / name);
    for (const auto& path : dropped)
        if (!path.ends_with(L"folder")) WriteBytes(path, "d");
    MakeDir(files / L"folder");
    MakeDir(files / L"folder\\sub");
    WriteBytes(files / L"folder\\sub\\deep.dwg", "i");
    dropped.push_back(files / L"a.dwg");
    Drop(dropped);
    EXPECT_EQ(FullPaths(),
              (std::vector<std::wstring>{files / L"e.dwg", files / L"a.dwg", files / L"folder\\sub\\deep.dwg",
                                         files / L"d.dwg", files / L"b.dwg", files / L"c.dwg"}));
    EXPECT_EQ(form->ListViewFiles.Count(), 6);
}

// A path longer than 256 characters arrives whole, and is sized from the disk.
TEST_F(Drops, ALongPathArrivesWhole) {
    std::wstring deep = files.Path();
    while (deep.size() < 280) {
        deep += L"каталог-" + std::to_wstring(deep.size()) + L"\\";
        MakeDir(deep);
    }
    const std::wstring path = deep + L"чертёж-с-длинным-именем.dwg";
    WriteBytes(path, std::string(1024, 'x'));
    ASSERT_GT(path.size(), 300u);
    Drop({path});
    EXPECT_EQ(FullPaths(), std::vector<std::wstring>{path});
    EXPECT_EQ(form->SendEntries()[0].sizeText, L"1 KB");
}

// A drop through OLE (what the shell's drags give) carries the shell's own data object: its files
// arrive as a WM_DROPFILES drop's do; the window takes copies, never a move.
TEST_F(Drops, OleDropOfTheShellsDataObject) {
    for (auto name : {L"one.dwg", L"two.dwg"}) WriteBytes(files / name, "x");
    MakeDir(files / L"folder");
    WriteBytes(files / L"folder\\three.dwg", "x");
    const auto data = ShellDataObject(form->Handle(), files.Path(), {L"two.dwg", L"folder", L"one.dwg", L"none.dwg"});
    ASSERT_TRUE(data);
    IDropTarget* target = form->DropTarget();
    ASSERT_NE(target, nullptr);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(target->DragEnter(data.get(), MK_LBUTTON, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->Drop(data.get(), 0, POINTL{12, 12}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(FullPaths(),
              (std::vector<std::wstring>{files / L"two.dwg", files / L"folder\\three.dwg", files / L"one.dwg"}));
}

}  // namespace
}  // namespace korvex::test
