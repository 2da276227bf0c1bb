// The shell's context menu and default command (ItemProp) under Wine: real shell menus for files,
// folders and drives, the relay window with a logging stand-in menu object, and default commands
// of a file type the test registers.

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "ComPtr.h"
#include "ItemProp.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

using components::HasContextMenu2;
using components::HasContextMenu3;
using components::MenuHint;
using components::PopupItemMenu;
using components::PopupItemsMenu;
using components::RenameChosen;
using components::RunItemDefaultCommand;
using components::TrackContextMenu;
using Names = std::vector<std::wstring>;

constexpr POINT kAt{120, 90};

// ---------------------------------------------------------------------------------------------
// Windows of this thread and process.

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> ThreadWindows(const wchar_t* className) {
    std::pair<std::vector<HWND>, const wchar_t*> found{{}, className};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto& f = *reinterpret_cast<decltype(found)*>(param);
            if (ClassOf(window) == f.second) f.first.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.first;
}

HWND OpenMenuWindow() {
    for (HWND window : ThreadWindows(L"#32768"))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

// Closes every dialog box of this process that shows up while it lives, and counts them.
class DialogWatchdog {
public:
    DialogWatchdog()
        : thread_([this] {
              while (!stop_) {
                  EnumWindows(
                      [](HWND window, LPARAM param) -> BOOL {
                          DWORD pid = 0;
                          GetWindowThreadProcessId(window, &pid);
                          if (pid == GetCurrentProcessId() && ClassOf(window) == L"#32770") {
                              auto* self = reinterpret_cast<DialogWatchdog*>(param);
                              const std::lock_guard lock(self->mutex_);
                              self->seen_.insert(window);
                              PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                              PostMessageW(window, WM_CLOSE, 0, 0);
                          }
                          return TRUE;
                      },
                      reinterpret_cast<LPARAM>(this));
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~DialogWatchdog() {
        stop_ = true;
        thread_.join();
    }
    std::size_t Seen() {
        const std::lock_guard lock(mutex_);
        return seen_.size();
    }

private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::set<HWND> seen_;
    std::thread thread_;
};

// ---------------------------------------------------------------------------------------------
// Driving a tracked menu from inside its own loop: a thread timer runs one step per tick once the
// menu's window is on screen. Keys posted to the menu window reach the menu loop before the next
// tick. A menu still open long after the last step is ended, so a fault cannot hang the test.

class MenuDriver {
public:
    using Step = std::function<void(HWND menuWindow)>;

    explicit MenuDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 10, &MenuDriver::Tick);
    }
    ~MenuDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;

    // Every step ran and the menu did not have to be ended by force.
    bool Completed() const { return next_ == steps_.size() && !forced_; }
    bool MenuSeen() const { return next_ > 0; }

    static Step Keys(std::vector<WPARAM> keys) {
        return [keys](HWND menuWindow) {
            for (const WPARAM key : keys) {
                PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
                PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000000);
            }
        };
    }
    static Step Escape() { return Keys({VK_ESCAPE}); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuDriver* self = current_;
        if (!self) return;
        const HWND menuWindow = OpenMenuWindow();
        if (!menuWindow) return;
        if (self->next_ < self->steps_.size()) {
            self->steps_[self->next_++](menuWindow);
        } else if (++self->idleTicks_ > 1000) {
            self->forced_ = true;
            EndMenu();
        }
    }

    static inline MenuDriver* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int idleTicks_ = 0;
    bool forced_ = false;
    UINT_PTR timer_ = 0;
};

struct MenuItem {
    std::wstring text;  // without the "&" marks
    UINT id = 0;
    bool separator = false;
};

std::vector<MenuItem> ReadMenu(HWND menuWindow) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    std::vector<MenuItem> items;
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        MenuItem item{.id = info.wID, .separator = (info.fType & MFT_SEPARATOR) != 0};
        for (const wchar_t* c = text; *c; ++c)
            if (*c != L'&') item.text += *c;
        items.push_back(item);
    }
    return items;
}

// The number of Down presses that highlight the item with this text (separators are skipped).
std::size_t DownsTo(const std::vector<MenuItem>& items, const std::wstring& text) {
    std::size_t downs = 0;
    for (const auto& item : items) {
        if (item.separator) continue;
        ++downs;
        if (item.text == text) return downs;
    }
    return 0;
}

bool HasItem(const std::vector<MenuItem>& items, const std::wstring& text) {
    return std::any_of(items.begin(), items.end(), [&](const MenuItem& item) { return item.text == text; });
}

// Steps that read the menu and then pick the item with this text (Escape when there is none).
std::vector<MenuDriver::Step> Choose(std::vector<MenuItem>& seen, const std::wstring& text) {
    return {[&seen, text](HWND menuWindow) {
        seen = ReadMenu(menuWindow);
        std::vector<WPARAM> keys(DownsTo(seen, text), VK_DOWN);
        keys.push_back(keys.empty() ? VK_ESCAPE : VK_RETURN);
        MenuDriver::Keys(keys)(menuWindow);
    }};
}

std::vector<MenuDriver::Step> ReadAndEscape(std::vector<MenuItem>& seen) {
    return {[&seen](HWND menuWindow) { seen = ReadMenu(menuWindow); }, MenuDriver::Escape()};
}

// ---------------------------------------------------------------------------------------------

std::vector<std::wstring> ClipboardFiles() {
    platform::ComPtr<IDataObject> data;
    if (FAILED(OleGetClipboard(data.put())) || !data) return {};
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return {};
    std::vector<std::wstring> files;
    const auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring file(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        file.resize(DragQueryFileW(drop, i, file.data(), static_cast<UINT>(file.size())));
        files.push_back(file);
    }
    ReleaseStgMedium(&medium);
    std::sort(files.begin(), files.end());
    return files;
}

void ClearClipboard() {
    OleSetClipboard(nullptr);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

class ItemPropFixture : public ::testing::Test {
protected:
    TempDir dir;
    HWND owner = nullptr;

    void SetUp() override {
        owner = CreateWindowExW(0, L"STATIC", L"ItemProp test owner", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        // Every path out of the unit takes its relay window with it.
        EXPECT_TRUE(ThreadWindows(L"ItemPropMenuCallbackHelper").empty());
        EXPECT_EQ(OpenMenuWindow(), nullptr);
    }
};

// ---------------------------------------------------------------------------------------------
// Real shell menus.

using ShellMenu = ItemPropFixture;

TEST_F(ShellMenu, OpensForFilesFoldersAndDrivesAndEscapeRunsNothing) {
    WriteBytes(dir / L"a.txt", "a");
    WriteBytes(dir / L"b.txt", "b");
    WriteBytes(dir / L"c.txt", "c");
    MakeDir(dir / L"Sub");
    struct Case {
        const char* what;
        std::function<bool(bool&)> open;
        bool folder;
    };
    const Case cases[] = {
        {"one file", [&](bool& r) { return PopupItemMenu(dir / L"a.txt", owner, kAt, r); }, false},
        {"three files",
         [&](bool& r) {
             return PopupItemsMenu(dir.Path(), {L"a.txt", L"b.txt", L"c.txt"}, owner, r, kAt);
         },
         false},
        {"a folder", [&](bool& r) { return PopupItemMenu(dir / L"Sub", owner, kAt, r); }, true},
        {"a drive root", [&](bool& r) { return PopupItemMenu(L"C:\\", owner, kAt, r); }, true},
        {"two drives",
         [&](bool& r) {
             return PopupItemsMenu(L"dRiVeS", {L"C:\\", L"Z:\\"}, owner, r, kAt);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<MenuItem> seen;
        MenuDriver driver(ReadAndEscape(seen));
        bool rename = true;
        EXPECT_TRUE(c.open(rename));
        EXPECT_FALSE(rename);
        EXPECT_TRUE(driver.Completed());
        EXPECT_TRUE(HasItem(seen, L"Properties")) << seen.size();
        if (!c.folder) EXPECT_TRUE(HasItem(seen, L"Rename"));  // asked for: the list edits the name in place
        EXPECT_EQ(MenuHint(), L"");
    }
}

// A command of the shell's menu carried out: "Copy" puts exactly the menu's items on the clipboard.
TEST_F(ShellMenu, CopyCarriesTheMenusItems) {
    const std::wstring unicodeName = L"чертёж 図面 ü.txt";  // outside any one ANSI code page
    for (auto name : {L"a.txt", L"b.txt", L"c.log", L"gone.txt"}) WriteBytes(dir / name, "x");
    WriteBytes(dir / unicodeName, "x");
    MakeDir(dir / L"Sub");
    DeleteFileW((dir / L"gone.txt").c_str());
    const std::wstring folder = dir.Path().substr(0, dir.Path().size() - 1);
    struct Case {
        const char* what;
        std::function<bool(bool&)> open;
        Names expected;
    };
    const Case cases[] = {
        {"one file", [&](bool& r) { return PopupItemMenu(dir / L"b.txt", owner, kAt, r); }, {dir / L"b.txt"}},
        {"a name outside the code page",
         [&](bool& r) { return PopupItemMenu(dir / unicodeName, owner, kAt, r); },
         {dir / unicodeName}},
        {"several names, a deleted one left out",
         [&](bool& r) {
             return PopupItemsMenu(folder, {L"a.txt", L"gone.txt", L"c.log"}, owner, r, kAt);
         },
         {dir / L"a.txt", dir / L"c.log"}},
        {"a pattern",
         [&](bool& r) { return PopupItemMenu(dir / L"*.txt", owner, kAt, r); },
         {dir / L"a.txt", dir / L"b.txt", dir / unicodeName}},
        {"a pattern that also matches . and ..",
         [&](bool& r) { return PopupItemMenu(dir / L"*", owner, kAt, r); },
         {dir / L"Sub", dir / L"a.txt", dir / L"b.txt", dir / L"c.log", dir / unicodeName}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearClipboard();
        std::vector<MenuItem> seen;
        MenuDriver driver(Choose(seen, L"Copy"));
        bool rename = true;
        EXPECT_TRUE(c.open(rename));
        EXPECT_FALSE(rename);
        ASSERT_TRUE(driver.Completed());
        Names expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(ClipboardFiles(), expected);
    }
    ClearClipboard();
}

TEST_F(ShellMenu, NothingToShow) {
    std::vector<MenuItem> unused;
    MenuDriver driver(ReadAndEscape(unused));  // must never run
    bool rename = true;
    EXPECT_FALSE(PopupItemMenu(dir / L"missing.txt", owner, kAt, rename));
    EXPECT_FALSE(rename);
    EXPECT_FALSE(PopupItemMenu(dir / L"*.none", owner, kAt, rename));
    EXPECT_FALSE(PopupItemMenu(L"", owner, kAt, rename));
    EXPECT_FALSE(PopupItemsMenu(dir.Path(), {}, owner, rename, kAt));
    EXPECT_FALSE(PopupItemsMenu(dir.Path(), {L"missing.txt", L""}, owner, rename, kAt));
    EXPECT_FALSE(PopupItemsMenu(dir / L"NoSuchFolder", {L"a.txt"}, owner, rename, kAt));
    EXPECT_FALSE(PopupItemsMenu(L"Drives", {L"not a drive"}, owner, rename, kAt));
    EXPECT_FALSE(driver.MenuSeen());
}

// Deep trees: the shell takes the long form where it can; where it cannot, nothing is shown.
TEST_F(ShellMenu, PathsLongerThanMaxPath) {
    std::wstring deep = dir.Path();
    while (deep.size() < 300) {
        deep += std::wstring(40, L'd') + L"\\";
        MakeDir(deep);
    }
    const std::wstring file = deep + L"long.txt";
    WriteBytes(file, "x");
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));
    std::vector<MenuItem> seen;
    {
        MenuDriver driver(ReadAndEscape(seen));
        bool rename = true;
        const bool shown = PopupItemMenu(file, owner, kAt, rename);
        EXPECT_EQ(shown, driver.MenuSeen());
        EXPECT_FALSE(rename);
        std::printf("[ long path ] menu shown: %d, items %zu\n", shown, seen.size());
    }
    {
        MenuDriver driver(ReadAndEscape(seen));
        bool rename = true;
        const bool shown = PopupItemsMenu(deep, {L"long.txt"}, owner, rename, kAt);
        EXPECT_EQ(shown, driver.MenuSeen());
        std::printf("[ long path ] items menu shown: %d\n", shown);
    }
}

// A shell that cuts a long path may land on another item whose name is the cut one: the menu is
// then not shown at all, rather than shown for that other item.
TEST_F(ShellMenu, ACutLongPathNeverNamesAnotherItem) {
    std::wstring folder = dir.Path();
    folder += std::wstring(200 - folder.size() - 1, L'f') + L"\\";
    ASSERT_EQ(folder.size(), 200u);
    MakeDir(folder);
    const std::wstring sibling = folder + std::wstring(MAX_PATH - 1 - folder.size(), L's');
    const std::wstring requested = sibling + L"-and-more.txt";
    WriteBytes(sibling, "x");
    WriteBytes(requested, "x");
    ASSERT_GE(requested.size(), static_cast<std::size_t>(MAX_PATH));
    const std::function<bool(bool&)> openers[] = {
        [&](bool& r) { return PopupItemMenu(requested, owner, kAt, r); },
        [&](bool& r) { return PopupItemsMenu(folder, {requested.substr(folder.size())}, owner, r, kAt); },
    };
    for (const auto& open : openers) {
        ClearClipboard();
        std::vector<MenuItem> seen;
        MenuDriver driver(Choose(seen, L"Copy"));
        bool rename = true;
        if (open(rename)) EXPECT_EQ(ClipboardFiles(), Names{requested});
        EXPECT_NE(ClipboardFiles(), Names{sibling});
    }
    ClearClipboard();
}

}  // namespace
}  // namespace korvex::test
