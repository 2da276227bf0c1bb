// Adding from the explorer on real folders: "Добавить", "Добавить все" with its menu, long adds
// that stay responsive, and entries dragged from the explorer.

#include <algorithm>

#include "FormFixture.h"

namespace korvex::test {
namespace {

class AddFromExplorer : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
    components::TQFileExplorer& Explorer() { return form->FrameFileExlore.QFileExplorer; }
    void ShowFolder(const std::wstring& folder) {
        Explorer().SetDirectory(folder);
        ASSERT_EQ(EnsureSlash(Explorer().Directory()), EnsureSlash(folder));
    }
    static std::wstring EnsureSlash(std::wstring s) { return s.ends_with(L'\\') ? s : s + L'\\'; }
    void Select(std::initializer_list<std::wstring_view> names) {
        for (std::size_t i = 0; i < Explorer().Entries().size(); ++i)
            if (std::find(names.begin(), names.end(), Explorer().Entry(i).caption) != names.end()) Explorer().Select(i);
    }
    void ClickAdd() { SendMessageW(form->btAddFiles.Handle(), BM_CLICK, 0, 0); }
    std::vector<std::wstring> SortedNames() const {
        auto names = FileNames();
        std::sort(names.begin(), names.end());
        return names;
    }
};

// "Добавить" with one folder selected: its whole tree, hidden and system files too, depth first;
// again: nothing new; nothing selected: nothing.
TEST_F(AddFromExplorer, AddWithASelectedFolderAddsItsTreeOnce) {
    MakeSet();
    WriteBytes(files / L"beside.dwg", "x");
    ShowFolder(files.Path());
    ClickAdd();
    EXPECT_TRUE(form->SendEntries().Empty());

    Select({L"set"});
    ClickAdd();
    EXPECT_EQ(SortedNames(), (std::vector<std::wstring>{L"a.dwg", L"b.dwg", L"c.dwg", L"d.dwg", L"hidden.dwg",
                                                        L"system.dwg", L"z.dwg"}));
    // Depth first: everything beneath sub\ stands together.
    std::vector<std::size_t> inSub;
    for (std::size_t i = 0; i < form->SendEntries().Size(); ++i)
        if (form->SendEntries()[i].folder.find(L"\\sub\\") != std::wstring::npos) inSub.push_back(i);
    ASSERT_EQ(inSub.size(), 3u);
    EXPECT_EQ(inSub.back() - inSub.front(), 2u);
    ClickAdd();
    EXPECT_EQ(form->SendEntries().Size(), 7u);
    EXPECT_EQ(form->ListViewFiles.Count(), 7);
}

// Names come in the explorer's display order, not in the order they were selected or listed.
TEST_F(AddFromExplorer, SelectedFilesArriveInDisplayOrder) {
    for (auto name : {L"c.dwg", L"a.dwg", L"b.dwg", L"d.dwg"}) WriteBytes(files / name, "x");
    ShowFolder(files.Path());
    Select({L"d.dwg", L"a.dwg", L"c.dwg"});
    std::vector<std::wstring> shown;
    for (const auto& e : Explorer().Entries())
        if (e.caption != L"b.dwg") shown.push_back(e.caption);
    ClickAdd();
    EXPECT_EQ(FileNames(), shown);
    // Reversing the view reverses what the next add brings.
    form->ClearSendList();
    Explorer().SortColumnClick(Explorer().SortColumn());
    std::reverse(shown.begin(), shown.end());
    ClickAdd();
    EXPECT_EQ(FileNames(), shown);
}

// "Только файлы" takes the files standing in the shown folder; "С поддиректориями" everything.
TEST_F(AddFromExplorer, OnlyFilesAndWithSubfolders) {
    MakeDir(files / L"only");
    MakeDir(files / L"only\\x");
    MakeDir(files / L"only\\y");
    WriteBytes(files / L"only\\x\\f.dwg", "f");
    WriteBytes(files / L"only\\y\\g.dwg", "g", FILE_ATTRIBUTE_HIDDEN);
    ShowFolder(files / L"only");
    form->NNoSubdirsClick(TMainForm::NNoSubdirs);
    EXPECT_TRUE(form->SendEntries().Empty());
    form->NNoSubdirsClick(TMainForm::NSubdirs);
    EXPECT_EQ(SortedNames(), (std::vector<std::wstring>{L"f.dwg", L"g.dwg"}));

    const std::wstring set = MakeSet();
    form->ClearSendList();
    ShowFolder(set);
    Select({L"a.dwg"});  // the selection does not matter here
    form->NNoSubdirsClick(TMainForm::NNoSubdirs);
    EXPECT_EQ(SortedNames(), (std::vector<std::wstring>{L"a.dwg", L"hidden.dwg", L"system.dwg", L"z.dwg"}));
    form->NNoSubdirsClick(TMainForm::NSubdirs);
    EXPECT_EQ(form->SendEntries().Size(), 7u);
}

// In the drives view the names are no paths: nothing is added, however it is asked.
TEST_F(AddFromExplorer, DrivesViewAddsNothing) {
    // The current folder holds a folder named like the pseudo-folder: still nothing.
    MakeDir(files / L"DRIVES");
    WriteBytes(files / L"DRIVES\\x.dwg", "x");
    ShowFolder(files.Path());
    Explorer().SetDirectory(L"DRIVES");
    ASSERT_TRUE(Explorer().IsDrivesView());
    ASSERT_FALSE(Explorer().Entries().empty());
    for (std::size_t i = 0; i < Explorer().Entries().size(); ++i) Explorer().Select(i);
    ClickAdd();
    form->NNoSubdirsClick(TMainForm::NNoSubdirs);
    form->NNoSubdirsClick(TMainForm::NSubdirs);
    EXPECT_TRUE(form->SendEntries().Empty());
}

// "Добавить все" opens its menu; dismissed it adds nothing, each item adds its way.
TEST_F(AddFromExplorer, AddAllMenu) {
    const std::wstring set = MakeSet();
    ShowFolder(set);
    wchar_t text[64];
    ASSERT_EQ(GetMenuItemCount(form->PopupMenu.get()), 2);
    GetMenuStringW(form->PopupMenu.get(), TMainForm::NNoSubdirs, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Только файлы");
    GetMenuStringW(form->PopupMenu.get(), TMainForm::NSubdirs, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"С поддиректориями");

    auto clickWithKeys = [&](std::initializer_list<WORD> keys) {
        for (WORD key : keys) PostMessageW(form->Handle(), WM_KEYDOWN, key, 0);
        SendMessageW(form->btAddAll.Handle(), BM_CLICK, 0, 0);
    };
    // The menu is dismissed (as a click elsewhere or a system cancel does).
    PostMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
    SendMessageW(form->btAddAll.Handle(), BM_CLICK, 0, 0);
    clickWithKeys({VK_ESCAPE});
    EXPECT_TRUE(form->SendEntries().Empty());
    clickWithKeys({VK_DOWN, VK_RETURN});
    EXPECT_EQ(form->SendEntries().Size(), 4u);
    clickWithKeys({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(form->SendEntries().Size(), 7u);
}

// A window of the test's own that notes what the button bar said whenever it was painted.
struct PaintProbe {
    static inline std::vector<std::wstring> seen;
    static inline HWND bar = nullptr;
    static inline HWND splitter = nullptr;
    static inline bool busyCursor = false;
    HWND hwnd = nullptr;
    PaintProbe() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_PAINT) {
                PAINTSTRUCT ps;
                BeginPaint(w, &ps);
                seen.push_back(WindowText(bar));
                // Over the window, even over a splitter, the mouse shows the hourglass.
                SendMessageW(splitter, WM_SETCURSOR, reinterpret_cast<WPARAM>(splitter),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                busyCursor = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
                EndPaint(w, &ps);
                return 0;
            }
            return DefWindowProcW(w, m, wp, lp);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvexPaintProbe";
        RegisterClassW(&wc);
        hwnd = CreateWindowW(L"KorvexPaintProbe", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr, wc.hInstance, nullptr);
    }
    ~PaintProbe() { DestroyWindow(hwnd); }
};

// A long add shows its count and lets windows paint, swallows clicks meant for other controls,
// and stops at Esc keeping what it added: the first part of what the whole walk adds.
TEST_F(AddFromExplorer, EscStopsALongAddAndKeepsWhatItAdded) {
    const std::wstring root = files / L"tree";
    MakeDir(root);
    for (int f = 0; f < 5; ++f) {
        const std::wstring folder = root + L"\\part-" + std::to_wstring(f);
        MakeDir(folder);
        for (int i = 0; i < 60; ++i) WriteBytes(folder + L"\\sheet-" + std::to_wstring(i) + L".dwg", "x");
    }
    ShowFolder(root);
    const std::wstring caption = WindowText(form->Handle());
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PaintProbe probe;
    PaintProbe::bar = form->PanelAddProgress.Handle();
    PaintProbe::splitter = form->Splitter2.Handle();
    PaintProbe::seen.clear();
    UpdateWindow(probe.hwnd);
    PaintProbe::seen.clear();
    InvalidateRect(probe.hwnd, nullptr, TRUE);

    form->SetLongAddDelay(0);  // every walk counts as long
    const RECT clear = [&] {
        RECT r;
        GetClientRect(form->btClear.Handle(), &r);
        return r;
    }();
    const LPARAM inside = MAKELPARAM(clear.right / 2, clear.bottom / 2);
    PostMessageW(form->btClear.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    PostMessageW(form->btClear.Handle(), WM_LBUTTONUP, 0, inside);
    PostMessageW(form->ListViewFiles.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    form->NNoSubdirsClick(TMainForm::NSubdirs);

    const std::size_t kept = form->SendEntries().Size();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 300u);
    EXPECT_EQ(form->ListViewFiles.Count(), static_cast<int>(kept));
    // The count was shown while the walk ran and the probe painted meanwhile; afterwards the bar
    // and the caption are as before.
    ASSERT_FALSE(PaintProbe::seen.empty());
    EXPECT_TRUE(PaintProbe::seen.front().starts_with(L"Найдено")) << PaintProbe::seen.front();
    EXPECT_TRUE(PaintProbe::busyCursor);
    EXPECT_EQ(WindowText(form->PanelAddProgress.Handle()), L"");
    EXPECT_EQ(WindowText(form->Handle()), caption);
    // The click on "Очистить" was swallowed, not kept for later.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, form->btClear.Handle(), WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE));
    EXPECT_EQ(form->SendEntries().Size(), kept);

    // What was kept is where the whole walk begins.
    const std::vector<std::wstring> partial = FileNames();
    std::vector<std::wstring> partialFolders;
    for (const auto& e : form->SendEntries().Entries()) partialFolders.push_back(e.FullPath());
    form->ClearSendList();
    form->NNoSubdirsClick(TMainForm::NSubdirs);
    ASSERT_EQ(form->SendEntries().Size(), 300u);
    for (std::size_t i = 0; i < kept; ++i) EXPECT_EQ(form->SendEntries()[i].FullPath(), partialFolders[i]);
}

// Entries dragged from the explorer and let go over the send list are added as "Добавить" adds
// them. The drag runs the system's drag loop; the button is already up, so it drops at once where
// the cursor stands.
TEST_F(AddFromExplorer, EntriesDraggedOntoTheWindowAreAdded) {
    MakeSet();
    WriteBytes(files / L"one.dwg", "1");
    ShowFolder(files.Path());
    Select({L"set", L"one.dwg"});
    RECT list;
    GetWindowRect(form->ListViewFiles.Handle(), &list);
    SetCursorPos((list.left + list.right) / 2, (list.top + list.bottom) / 2);
    NMLISTVIEW begin{};
    begin.hdr.hwndFrom = Explorer().Handle();
    begin.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Explorer().Handle()));
    begin.hdr.code = LVN_BEGINDRAG;
    begin.iItem = 0;
    // As the list sends it: to its parent, the frame, which passes it on to the window.
    SendMessageW(GetParent(Explorer().Handle()), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
    EXPECT_EQ(SortedNames(), (std::vector<std::wstring>{L"a.dwg", L"b.dwg", L"c.dwg", L"d.dwg", L"hidden.dwg",
                                                        L"one.dwg", L"system.dwg", L"z.dwg"}));
}

// The same with the real mouse: pressed on an entry, moved past the drag threshold and over the
// send list, released there. The list view itself starts the drag.
TEST_F(AddFromExplorer, EntryDraggedWithTheMouseOntoTheSendListIsAdded) {
    WriteBytes(files / L"one.dwg", "1");
    WriteBytes(files / L"two.dwg", "2");
    ShowFolder(files.Path());
    std::size_t index = 0;
    while (Explorer().Entry(index).caption != L"two.dwg") ++index;
    Explorer().Select(index);
    RECT item{LVIR_LABEL};
    ASSERT_TRUE(SendMessageW(Explorer().Handle(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)));
    POINT from{item.left + 5, (item.top + item.bottom) / 2};
    ClientToScreen(Explorer().Handle(), &from);
    RECT list;
    GetWindowRect(form->ListViewFiles.Handle(), &list);
    const POINT to{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
    auto mouse = [](DWORD flags, POINT at) {
        const INPUT in = AbsoluteMouseInput(at, flags);
        // A key release between two moves keeps the system from merging them into one move
        // straight to the end, which the list would never see.
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_F24;
        key.ki.dwFlags = KEYEVENTF_KEYUP;
        const INPUT both[] = {in, key};
        SendInput(2, const_cast<INPUT*>(both), sizeof(INPUT));
    };
    mouse(0, from);
    mouse(MOUSEEVENTF_LEFTDOWN, from);
    for (int step = 1; step <= 5; ++step)
        mouse(0, {from.x + (to.x - from.x) * step / 5, from.y + (to.y - from.y) * step / 5});
    mouse(MOUSEEVENTF_LEFTUP, to);
    EXPECT_TRUE(WaitFor([&] { return !form->SendEntries().Empty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"two.dwg"});
}

}  // namespace
}  // namespace korvex::test
