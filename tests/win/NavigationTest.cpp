// Moving through folders with the keyboard and the mouse, the shell menu of the selection and the
// default command, on a real list view in a real window under Wine. The shell calls go to
// recorders in place of the real ones, so the tests see exactly what the list asks of the shell;
// at the end the default command runs for real, through a file type of the test's own.

#include <gtest/gtest.h>

#include <windowsx.h>

#include <string>
#include <vector>

#include "ExplorerHost.h"
#include "ExplorerText.h"
#include "ItemProp.h"
#include "PathText.h"
#include "TestFileType.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

using components::TMouseButton;
using components::TQFileExplorer;
using components::TShiftState;
using Names = std::vector<std::wstring>;

// One call of the shell: the one-item menu, the several-items menu or the default command.
struct ShellCall {
    std::wstring what;  // "menu", "menus", "open"
    std::wstring path;  // the item, or the folder of the several items
    Names names;
    HWND owner = nullptr;
    POINT at{};
    POINT cursor{};  // where the mouse cursor was during the call
};

class Navigation : public ::testing::Test {
protected:
    TempDir dir;
    ExplorerHost host;
    TQFileExplorer& x = host.explorer;
    HWND list = nullptr;
    std::vector<std::wstring> events;
    std::vector<ShellCall> calls;
    std::function<void()> duringMenu;  // what the "command" chosen in a menu does
    bool chooseRename = false;

    void SetUp() override {
        host.Create({.multiSelect = true, .hideSelection = false});
        list = x.Handle();
        x.SetContextMenu(true);
        x.SetContextAction(true);
        x.OnClick = [this](TQFileExplorer&) { events.push_back(L"click"); };
        x.OnDblClick = [this](TQFileExplorer&) { events.push_back(L"dblclick"); };
        x.OnKeyDown = [this](TQFileExplorer&, WORD& key, TShiftState shift) {
            events.push_back(L"key " + std::to_wstring(key) + L" " + std::to_wstring(shift.Bits()));
        };
        x.OnMouseDown = [this](TQFileExplorer&, TMouseButton button, TShiftState, int, int) {
            events.push_back(button == TMouseButton::mbRight ? L"rdown" : L"down");
        };
        auto counting = x.OnChange;
        x.OnChange = [this, counting](TQFileExplorer& sender, int item, components::TItemChange change) {
            counting(sender, item, change);
            if (item < 0 && change == components::TItemChange::ctText) events.push_back(L"listing");
        };
        x.Shell.PopupItemMenu = [this](const std::wstring& path, HWND owner, POINT at, bool& rename) {
            Record({L"menu", path, {}, owner, at});
            rename = chooseRename;
            return true;
        };
        x.Shell.PopupItemsMenu = [this](const std::wstring& folder, const Names& names, HWND owner, bool& rename,
                                        POINT at) {
            Record({L"menus", folder, names, owner, at});
            rename = chooseRename;
            return true;
        };
        x.Shell.RunItemDefaultCommand = [this](const std::wstring& path, HWND owner) {
            Record({L"open", path, {}, owner, {}});
            return true;
        };
    }
    void TearDown() override { ReleaseKeys(); }

    void Record(ShellCall call) {
        GetCursorPos(&call.cursor);
        calls.push_back(std::move(call));
        if (duringMenu) duringMenu();
    }

    std::size_t IndexOf(const std::wstring& caption) const {
        for (std::size_t i = 0; i < x.Entries().size(); ++i)
            if (x.Entry(i).caption == caption) return i;
        throw std::runtime_error("no such row");
    }
    Names Selected() const {
        Names names;
        for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0;
             i = ListView_GetNextItem(list, i, LVNI_SELECTED))
            names.push_back(x.Entry(static_cast<std::size_t>(i)).caption);
        return names;
    }
    std::wstring Focused() const {
        const int i = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
        return i < 0 ? L"" : x.Entry(static_cast<std::size_t>(i)).caption;
    }
    void SelectOnly(std::initializer_list<const wchar_t*> captions) {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (auto c : captions) x.Select(IndexOf(c));
    }

    // A key pressed in the list with these modifier keys held (the thread's key state says so,
    // as it does for a real key press).
    void Press(WORD key, TShiftState held = {}) {
        SetHeld(held);
        const bool alt = held.Contains(components::ssAlt);
        SendMessageW(list, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? (1 << 29) | 1 : 1);
        ReleaseKeys();
    }
    static void SetHeld(TShiftState held) {
        BYTE keys[256];
        GetKeyboardState(keys);
        auto set = [&](std::initializer_list<int> vks, bool down) {
            for (int vk : vks) keys[vk] = down ? 0x80 : 0;
        };
        set({VK_SHIFT, VK_LSHIFT}, held.Contains(components::ssShift));
        set({VK_CONTROL, VK_LCONTROL}, held.Contains(components::ssCtrl));
        set({VK_MENU, VK_LMENU}, held.Contains(components::ssAlt));
        SetKeyboardState(keys);
    }
    static void ReleaseKeys() { SetHeld({}); }

    POINT CenterOf(std::size_t index) const {
        RECT r{};
        ListView_GetItemRect(list, static_cast<int>(index), &r, LVIR_LABEL);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void RightClick(POINT at) {
        SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    void DoubleClick(std::size_t index) {
        const POINT at = CenterOf(index);
        SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
};

// dir\Docs\ holds many folders and a file, Old last among the folders, so that it lies below
// the first page of the list.
class NavigationTree : public Navigation {
protected:
    std::wstring docs, old;
    void SetUp() override {
        Navigation::SetUp();
        docs = dir / L"Docs\\";
        old = docs + L"Old\\";
        MakeDir(docs);
        for (int i = 0; i < 40; ++i) MakeDir(docs + L"F" + std::to_wstring(100 + i));
        MakeDir(old);
        WriteBytes(docs + L"readme.txt", "r");
        MakeDir(old + L"Older");
        WriteBytes(old + L"a.txt", "a");
        WriteBytes(old + L"b.txt", "b");
        WriteBytes(old + L"c.txt", "c");
        x.SetDirectory(old);
    }
};

TEST_F(NavigationTree, KeysThatGoUpAndKeysThatDoNot) {
    using components::ssAlt;
    using components::ssCtrl;
    using components::ssShift;
    struct Case {
        const wchar_t* name;
        WORD key;
        TShiftState held;
        bool goesUp;
    };
    const Case cases[] = {
        {L"Backspace", VK_BACK, {}, true},
        {L"Shift+Backspace", VK_BACK, {ssShift}, true},
        {L"Ctrl+Alt+Backspace", VK_BACK, {ssCtrl, ssAlt}, true},
        {L"Ctrl+Up", VK_UP, {ssCtrl}, true},
        {L"Alt+Up", VK_UP, {ssAlt}, true},
        {L"Ctrl+Shift+Up", VK_UP, {ssCtrl, ssShift}, false},
        {L"Ctrl+Alt+Up", VK_UP, {ssCtrl, ssAlt}, false},
        {L"Up", VK_UP, {}, false},
        {L"Left", VK_LEFT, {ssCtrl}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        x.SetDirectory(old);
        ASSERT_EQ(x.Directory(), old);
        events.clear();
        Press(c.key, c.held);
        // The host hears of every key, unchanged, after its action.
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), L"key " + std::to_wstring(c.key) + L" " + std::to_wstring(c.held.Bits()));
        if (!c.goesUp) {
            EXPECT_EQ(x.Directory(), old);
            continue;
        }
        EXPECT_EQ(x.Directory(), docs);
        EXPECT_EQ((std::vector<std::wstring>{L"listing", events.back()}), events);
        // The folder that was left is the one entry selected, focused (the list's own handling of
        // Ctrl+Up included) and scrolled into view.
        EXPECT_EQ(Selected(), (Names{L"Old"}));
        EXPECT_EQ(Focused(), L"Old");
        const int index = static_cast<int>(IndexOf(L"Old"));
        const int top = ListView_GetTopIndex(list);
        EXPECT_GE(index, top);
        EXPECT_LT(index, top + ListView_GetCountPerPage(list));
    }
}

TEST_F(NavigationTree, UpFromADriveRootShowsTheDrivesAndTheDrivesViewStays) {
    x.SetDirectory(L"C:\\");
    Press(VK_BACK);
    EXPECT_EQ(x.Directory(), L"Drives");
    EXPECT_TRUE(x.IsDrivesView());
    EXPECT_EQ(Focused(), x.Entry(0).caption);  // C:\ is the drive that was left
    EXPECT_EQ(x.Entry(0).FullPath(), L"C:\\");
    EXPECT_EQ(Selected().size(), 1u);
    const int refills = host.refills;
    Press(VK_BACK);
    Press(VK_UP, {components::ssCtrl});
    x.UpOneLevel();
    EXPECT_EQ(x.Directory(), L"Drives");
    EXPECT_EQ(host.refills, refills);

    // Into a drive and back with the mouse's back button.
    SelectOnly({x.Entry(0).caption.c_str()});
    Press(VK_RETURN);
    EXPECT_EQ(x.Directory(), L"C:\\");
    x.SetDirectory(old);
    SendMessageW(list, WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(5, 5));
    SendMessageW(list, WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), MAKELPARAM(5, 5));
    EXPECT_EQ(x.Directory(), docs);
    EXPECT_EQ(Focused(), L"Old");
}

TEST_F(NavigationTree, EnterAndDoubleClick) {
    // Enter with nothing selected: only the key event.
    events.clear();
    Press(VK_RETURN);
    EXPECT_EQ(events, (Names{L"key 13 0"}));
    EXPECT_EQ(x.Directory(), old);

    // Enter on a folder: the double-click event, the new listing, then the key event.
    SelectOnly({L"Older"});
    events.clear();
    Press(VK_RETURN);
    EXPECT_EQ(events, (Names{L"dblclick", L"listing", L"key 13 0"}));
    EXPECT_EQ(x.Directory(), old + L"Older\\");
    EXPECT_TRUE(Selected().empty());

    // A double click acts on the first selected entry in list order, wherever the mouse is.
    x.SetDirectory(docs);
    SelectOnly({L"Old", L"F105"});
    events.clear();
    DoubleClick(IndexOf(L"Old"));
    EXPECT_EQ(events.front(), L"dblclick");
    EXPECT_EQ(x.Directory(), docs + L"F105\\");

    // A folder that went away since the listing: nothing changes.
    x.SetDirectory(docs);
    RemoveDirectoryW((docs + L"F100").c_str());
    SelectOnly({L"F100"});
    DoubleClick(IndexOf(L"F100"));
    EXPECT_EQ(x.Directory(), docs);
    EXPECT_TRUE(calls.empty());
}

TEST_F(NavigationTree, CtrlASelectsEveryEntry) {
    Press('A');
    EXPECT_TRUE(Selected().empty());  // A alone selects nothing
    Press('A', TShiftState{components::ssCtrl});
    EXPECT_EQ(Selected().size(), x.Entries().size());
}

TEST_F(NavigationTree, DefaultCommandOfAFile) {
    SelectOnly({L"b.txt"});
    DoubleClick(IndexOf(L"b.txt"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].what, L"open");
    EXPECT_EQ(calls[0].path, old + L"b.txt");
    EXPECT_EQ(calls[0].owner, list);

    // Enter on a file reached with the arrow keys after a click on another opens the selected one.
    SelectOnly({L"a.txt"});
    ListView_SetItemState(list, static_cast<int>(IndexOf(L"a.txt")), LVIS_FOCUSED, LVIS_FOCUSED);
    const POINT onA = CenterOf(IndexOf(L"a.txt"));
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(onA.x, onA.y));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(onA.x, onA.y));
    EXPECT_EQ(x.CurrentItemPath(), old + L"a.txt");  // the click was on a.txt
    SelectOnly({L"c.txt"});
    calls.clear();
    events.clear();
    Press(VK_RETURN);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].path, old + L"c.txt");
    EXPECT_EQ(events, (Names{L"dblclick", L"key 13 0"}));
    EXPECT_EQ(x.Directory(), old);

    // Without ContextAction only the double-click event.
    x.SetContextAction(false);
    calls.clear();
    events.clear();
    DoubleClick(IndexOf(L"c.txt"));
    Press(VK_RETURN);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(events, (Names{L"dblclick", L"dblclick", L"key 13 0"}));
}

TEST_F(NavigationTree, ClickSetsTheCurrentItemPath) {
    SelectOnly({L"b.txt"});
    events.clear();
    const POINT on = CenterOf(IndexOf(L"c.txt"));
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(on.x, on.y));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(on.x, on.y));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"click");
    EXPECT_EQ(x.CurrentItemPath(), old + L"c.txt");
    // On empty space with nothing selected the path stays.
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 480));
    SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 480));
    EXPECT_EQ(events.back(), L"click");
    EXPECT_EQ(x.CurrentItemPath(), old + L"c.txt");
}

TEST_F(NavigationTree, RightClickSelectionRules) {
    const POINT empty{5, 480};  // below the last of the four rows
    struct Case {
        const wchar_t* name;
        bool contextMenu;
        Names before;
        const wchar_t* on;  // nullptr: empty space
        Names after;
        std::wstring menu;  // "", "menu" or "menus"
    };
    const Case cases[] = {
        {L"empty space", true, {L"a.txt", L"b.txt"}, nullptr, {L"a.txt", L"b.txt"}, L""},
        {L"unselected among three selected", true, {L"Older", L"a.txt", L"c.txt"}, L"b.txt", {L"b.txt"}, L"menu"},
        {L"one of three selected",
         true,
         {L"Older", L"a.txt", L"c.txt"},
         L"c.txt",
         {L"Older", L"a.txt", L"c.txt"},
         L"menus"},
        {L"nothing selected", true, {}, L"a.txt", {L"a.txt"}, L"menu"},
        {L"ContextMenu off", false, {L"a.txt"}, L"b.txt", {L"a.txt"}, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        x.SetContextMenu(c.contextMenu);
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        for (const auto& name : c.before) x.Select(IndexOf(name));
        x.SetCurrentItemPath(L"");
        events.clear();
        calls.clear();
        RightClick(c.on ? CenterOf(IndexOf(c.on)) : empty);
        EXPECT_EQ(Selected(), c.after);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.front(), L"rdown");
        if (c.menu.empty()) {
            EXPECT_TRUE(calls.empty());
            EXPECT_EQ(events, (Names{L"rdown"}));
            continue;
        }
        ASSERT_EQ(calls.size(), 1u);
        const ShellCall& call = calls[0];
        EXPECT_EQ(call.what, c.menu);
        EXPECT_EQ(call.owner, list);
        // The menu opens where the cursor is, not at the click point.
        EXPECT_EQ(call.at.x, call.cursor.x);
        EXPECT_EQ(call.at.y, call.cursor.y);
        EXPECT_EQ(events[1], L"click");
        EXPECT_EQ(x.CurrentItemPath(), old + c.after.front());
        if (c.menu == L"menu") {
            EXPECT_EQ(call.path, old + c.on);
        } else {
            EXPECT_EQ(call.path, old);
            EXPECT_EQ(call.names, c.after);
            EXPECT_EQ(x.SelectionList(), c.after);
        }
    }
}

TEST_F(Navigation, SeveralDrivesGetOneMenuWithTheirRoots) {
    x.SetDirectory(L"Drives");
    ASSERT_GE(x.Entries().size(), 2u);
    x.Select(0);
    x.Select(1);
    RightClick(CenterOf(1));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].what, L"menus");
    EXPECT_EQ(calls[0].path, L"Drives");
    EXPECT_EQ(calls[0].names, (Names{x.Entry(0).FullPath(), x.Entry(1).FullPath()}));
}

TEST_F(NavigationTree, TheKeyboardOpensTheMenuAtTheFocusedEntry) {
    SelectOnly({L"a.txt", L"c.txt"});
    ListView_SetItemState(list, static_cast<int>(IndexOf(L"c.txt")), LVIS_FOCUSED, LVIS_FOCUSED);
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].what, L"menus");
    EXPECT_EQ(calls[0].names, (Names{L"a.txt", L"c.txt"}));
    RECT row{};
    ListView_GetItemRect(list, static_cast<int>(IndexOf(L"c.txt")), &row, LVIR_BOUNDS);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_TRUE(PtInRect(&row, calls[0].at));

    // One entry: its own menu. Nothing selected: no menu.
    SelectOnly({L"b.txt"});
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].what, L"menu");
    EXPECT_EQ(calls[1].path, old + L"b.txt");
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
    EXPECT_EQ(calls.size(), 2u);

    // The menu key and Shift+F10, as the system turns them into that message.
    SelectOnly({L"a.txt"});
    SendMessageW(list, WM_KEYDOWN, VK_APPS, 1);
    SendMessageW(list, WM_KEYUP, VK_APPS, 1 | (1u << 30) | (1u << 31));
    EXPECT_EQ(calls.size(), 3u);
    SetHeld({components::ssShift});
    SendMessageW(list, WM_SYSKEYDOWN, VK_F10, 1);
    ReleaseKeys();
    EXPECT_EQ(calls.size(), 4u);
    // A context-menu message from the mouse follows a right click, whose press opened the menu.
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(100, 100));
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(NavigationTree, AfterTheMenuTheFolderIsListedAgain) {
    // The "command" deletes one of the selected files and makes a folder.
    duringMenu = [this] {
        DeleteFileW((old + L"a.txt").c_str());
        MakeDir(old + L"New folder");
    };
    SelectOnly({L"a.txt", L"c.txt"});
    RightClick(CenterOf(IndexOf(L"c.txt")));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(host.Captions(), (Names{L"New folder", L"Older", L"b.txt", L"c.txt"}));
    EXPECT_EQ(Selected(), (Names{L"c.txt"}));
    EXPECT_EQ(Focused(), L"c.txt");

    // "Rename" chosen in the menu starts editing that entry's caption.
    duringMenu = nullptr;
    chooseRename = true;
    RightClick(CenterOf(IndexOf(L"b.txt")));
    const HWND edit = ListView_GetEditControl(list);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(WindowText(edit), L"b.txt");
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(ListView_GetEditControl(list), nullptr);
    EXPECT_EQ(host.Captions(), (Names{L"New folder", L"Older", L"b.txt", L"c.txt"}));
}

// Enter comes to the list also where the host's loop runs IsDialogMessage, which would take it
// as the key of a default button; Tab is still the loop's.
TEST_F(NavigationTree, EnterReachesTheListThroughADialogLoop) {
    SelectOnly({L"Older"});
    MSG enter{list, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    if (!IsDialogMessageW(host.Handle(), &enter)) DispatchMessageW(&enter);
    EXPECT_EQ(x.Directory(), old + L"Older\\");
    MSG tab{list, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(host.Handle(), &tab));
}

// The default command for real: a file type of the test's own (tests/support TestFileType) whose
// open command is a copy of the logging stand-in, started by the shell.
class RegisteredTypeNavigation : public Navigation {
protected:
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring log = dir / L"opener-log.jsonl";
    const std::wstring openerName = L"kxn-opener-" + id + L".exe";

    void SetUp() override {
        Navigation::SetUp();
        x.Shell.RunItemDefaultCommand = &components::RunItemDefaultCommand;
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr);
        Navigation::TearDown();
    }
    std::size_t IndexOfPath(const std::wstring& path) const {
        for (std::size_t i = 0; i < x.Entries().size(); ++i)
            if (x.Entry(i).FullPath() == path) return i;
        throw std::runtime_error("no row for the path");
    }
    // The shell starts the opener on its own, where no recorder counts it: wait for one more line,
    // then until no copy of the opener runs, and give all lines.
    std::vector<LogLine> AfterOneMoreStart(std::size_t before) const {
        EXPECT_TRUE(WaitFor([&] { return ReadFakeBatLog(log).size() > before; })) << "the opener never wrote";
        EXPECT_TRUE(WaitFor([&] { return !ProcessRunning(openerName); }));
        return ReadFakeBatLog(log);
    }
};

TEST_F(RegisteredTypeNavigation, DoubleClickAndEnterOnADocumentStartItsProgramOnceWithIt) {
    const std::wstring extension = L".kxn" + id;
    const std::wstring opener = dir / openerName;
    ASSERT_TRUE(CopyFileW(FakeBatPath().c_str(), opener.c_str(), FALSE));
    const TestFileType type(extension, L"KorvexNavigationTest" + id, L"\"" + opener + L"\" \"%1\"");
    if (type.Refused()) GTEST_SKIP() << *type.Unseen();
    ASSERT_FALSE(type.Unseen()) << *type.Unseen();

    const std::wstring folder = dir / L"Чертежи\\";
    MakeDir(folder);
    const std::wstring document = folder + L"план 1" + extension;
    const std::wstring other = folder + L"план 2" + extension;
    WriteBytes(document, "x");
    WriteBytes(other, "y");
    x.SetDirectory(folder);
    ASSERT_EQ(x.Entries().size(), 2u);

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    x.Select(IndexOfPath(document));
    DoubleClick(IndexOfPath(document));
    auto lines = AfterOneMoreStart(0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].at("raw").find(L"\"" + document + L"\""), std::wstring::npos) << lines[0].at("raw");

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    x.Select(IndexOfPath(other));
    Press(VK_RETURN);
    lines = AfterOneMoreStart(1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].at("raw").find(L"\"" + other + L"\""), std::wstring::npos) << lines[1].at("raw");

    EXPECT_TRUE(calls.empty());  // no recorder stood in
    EXPECT_EQ(x.Directory(), folder);
}

}  // namespace
}  // namespace korvex::test
