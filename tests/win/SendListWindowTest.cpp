// The send list in its window: Delete, Ctrl+A, dropped files, "Очистить".

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

TEST_F(SendListWindow, DropTakesOnlyTheFirstFileAndNoFolder) {
    form->ClearSendList();
    std::vector<std::wstring> dropped;
    for (int i = 0; i < 5; ++i) {
        dropped.push_back(files / (L"dropped-" + std::to_wstring(i) + L".dwg"));
        WriteBytes(dropped.back(), "d");
    }
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)), 0);
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"dropped-0.dwg"});

    MakeDir(files / L"folder");
    WriteBytes(files / L"folder\\inside.dwg", "i");
    SendMessageW(form->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({files / L"folder"})), 0);
    EXPECT_EQ(form->SendEntries().Size(), 1u);
}

}  // namespace
}  // namespace korvex::test
