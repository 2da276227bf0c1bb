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
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

#include "AppError.h"
#include "ComPtr.h"
#include "DragDrop.h"
#include "FileSystem.h"
#include "ItemProp.h"
#include "PathText.h"
#include "TestFileType.h"
#include "TestSupport.h"
#include "UniqueResource.h"
#include "Window.h"

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

HWND OpenMenuWindow() {
    for (HWND window : ThreadWindows(GetCurrentThreadId(), L"#32768"))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

// Closes every dialog box of this process that shows up while it lives, and counts them.
class DialogWatchdog {
public:
    DialogWatchdog()
        : thread_([this] {
              while (!stop_) {
                  for (HWND window : ProcessWindows(GetCurrentProcessId(), L"#32770")) {
                      const std::lock_guard lock(mutex_);
                      seen_.insert(window);
                      PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
                      PostMessageW(window, WM_CLOSE, 0, 0);
                  }
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
        MenuItem item{{}, info.wID, (info.fType & MFT_SEPARATOR) != 0};
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

// The clipboard is one for every test process of the desktop: the tests that read it take turns.
class ClipboardTurn {
public:
    ClipboardTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\KorvexItemPropClipboard")) {
        if (mutex_) WaitForSingleObject(mutex_.get(), INFINITE);
    }
    ~ClipboardTurn() {
        ClearClipboard();
        if (mutex_) ReleaseMutex(mutex_.get());
    }
    ClipboardTurn(const ClipboardTurn&) = delete;
    ClipboardTurn& operator=(const ClipboardTurn&) = delete;

private:
    platform::UniqueHandle mutex_;
};

class ItemPropFixture : public ::testing::Test {
protected:
    TempDir dir;
    HWND owner = nullptr;
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);

    void SetUp() override {
        SetCursor(arrow);
        owner = CreateWindowExW(0, L"STATIC", L"ItemProp test owner", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        // Every path out of the unit takes its relay window with it.
        EXPECT_TRUE(ThreadWindows(GetCurrentThreadId(), L"ItemPropMenuCallbackHelper").empty());
        EXPECT_EQ(OpenMenuWindow(), nullptr);
        EXPECT_EQ(GetCursor(), arrow);  // the hourglass is gone on every path out
    }
};

// ---------------------------------------------------------------------------------------------
// Real shell menus.

// Roots of the machine's first drives ("C:\\", ...), as the drives view names them.
Names FirstDrives(std::size_t count) {
    Names roots;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26 && roots.size() < count; ++letter)
        if (drives & (1u << letter)) roots.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + letter)) + L":\\");
    return roots;
}

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
        {"two drives", [&](bool& r) { return PopupItemsMenu(L"dRiVeS", FirstDrives(2), owner, r, kAt); }, true},
    };
    ASSERT_EQ(FirstDrives(2).size(), 2u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<MenuItem> seen;
        MenuDriver driver(ReadAndEscape(seen));
        bool rename = true;
        EXPECT_TRUE(c.open(rename));
        EXPECT_FALSE(rename);
        EXPECT_TRUE(driver.Completed());
        EXPECT_TRUE(HasItem(seen, L"Properties")) << seen.size();
        EXPECT_TRUE(HasContextMenu2() && HasContextMenu3());  // the shell's objects offer both
        if (!c.folder) {
            EXPECT_TRUE(HasItem(seen, L"Rename"));  // asked for: the list edits the name in place
        }
        EXPECT_EQ(MenuHint(), L"");
    }
}

// A command of the shell's menu carried out: "Copy" puts exactly the menu's items on the clipboard.
TEST_F(ShellMenu, CopyCarriesTheMenusItems) {
    const ClipboardTurn turn;
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
// Whether the shell itself takes the path: the desktop parses it to an item whose parsing name is
// the path. Asked of the shell directly, apart from the code under test.
bool ShellTakes(const std::wstring& path) {
    platform::ItemIdList id;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, id.put(), 0, nullptr)) || !id) return false;
    platform::UniqueCoTaskMem<wchar_t> name;
    return SUCCEEDED(SHGetNameFromIDList(id.get(), SIGDN_DESKTOPABSOLUTEPARSING, name.put())) && name &&
           CompareStringOrdinal(name.get(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
}

TEST_F(ShellMenu, PathsLongerThanMaxPath) {
    const ClipboardTurn turn;
    std::wstring deep = dir.Path();
    while (deep.size() < 300) {
        deep += std::wstring(40, L'd') + L"\\";
        MakeDir(deep);
    }
    const std::wstring file = deep + L"long.txt";
    WriteBytes(file, "x");
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));
    // Where the shell takes such a path, the menu must be shown: refusing long paths is no answer.
    const bool shellTakes = ShellTakes(file);
    const std::function<bool(bool&)> openers[] = {
        [&](bool& r) { return PopupItemMenu(file, owner, kAt, r); },
        [&](bool& r) { return PopupItemMenu(deep + L"*.txt", owner, kAt, r); },
        [&](bool& r) { return PopupItemsMenu(deep, {L"long.txt"}, owner, r, kAt); },
    };
    for (const auto& open : openers) {
        ClearClipboard();
        std::vector<MenuItem> seen;
        MenuDriver driver(Choose(seen, L"Copy"));
        bool rename = true;
        const bool shown = open(rename);
        if (shellTakes) {
            EXPECT_TRUE(shown);
        }
        EXPECT_EQ(shown, driver.MenuSeen());
        EXPECT_FALSE(rename);
        if (shown) {
            EXPECT_EQ(ClipboardFiles(), Names{file});
        }
    }
}

// A file whose path passes MAX_PATH beside a file whose name is that path cut at MAX_PATH - 1
// characters: a shell that cuts long paths lands on the sibling.
struct CutPath {
    std::wstring folder, sibling, requested;
};

CutPath MakeCutPath(const TempDir& dir) {
    CutPath cut;
    cut.folder = dir.Path();
    cut.folder += std::wstring(200 - cut.folder.size() - 1, L'f') + L"\\";
    MakeDir(cut.folder);
    cut.sibling = cut.folder + std::wstring(MAX_PATH - 1 - cut.folder.size(), L's');
    cut.requested = cut.sibling + L"-and-more.txt";
    WriteBytes(cut.sibling, "x");
    WriteBytes(cut.requested, "x");
    return cut;
}

// A shell that cuts a long path may land on another item whose name is the cut one: the menu is
// then not shown at all, rather than shown for that other item.
TEST_F(ShellMenu, ACutLongPathNeverNamesAnotherItem) {
    const ClipboardTurn turn;
    const CutPath cut = MakeCutPath(dir);
    const std::wstring &folder = cut.folder, &sibling = cut.sibling, &requested = cut.requested;
    ASSERT_EQ(folder.size(), 200u);
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
        if (open(rename)) {
            EXPECT_EQ(ClipboardFiles(), Names{requested});
        }
        EXPECT_NE(ClipboardFiles(), Names{sibling});
    }
}

// The data object a drag of explorer entries hands to another program names the same items as
// their menu: a long path the shell takes is named whole, a cut one never names the other item,
// and names that are gone are left out.
TEST_F(ShellMenu, TheDragsDataObjectNamesTheMenusItems) {
    const CutPath cut = MakeCutPath(dir);
    std::wstring deep = dir.Path();
    while (deep.size() < 300) {
        deep += std::wstring(40, L'd') + L"\\";
        MakeDir(deep);
    }
    const std::wstring longFile = deep + L"long.txt";
    WriteBytes(longFile, "x");
    WriteBytes(dir / L"a.txt", "a");
    WriteBytes(dir / L"b.txt", "b");

    // Null: nothing to drag. The names of a data object otherwise.
    auto named = [&](const std::wstring& folder, const Names& names) -> std::optional<Names> {
        const auto data = components::ItemsDataObject(folder, names, owner);
        if (!data) return std::nullopt;
        Names paths = platform::DroppedPaths(data.get());
        std::sort(paths.begin(), paths.end());
        return paths;
    };
    EXPECT_EQ(named(dir.Path(), {L"b.txt", L"gone.txt", L"a.txt"}), (Names{dir / L"a.txt", dir / L"b.txt"}));
    EXPECT_EQ(named(dir.Path(), {L"gone.txt"}), std::nullopt);
    EXPECT_EQ(named(dir.Path(), {}), std::nullopt);

    const auto cutNamed = named(cut.folder, {cut.requested.substr(cut.folder.size())});
    if (cutNamed) {
        EXPECT_EQ(*cutNamed, Names{cut.requested});
    }
    // Cut or not, the sibling is never what the drag hands over.
    EXPECT_NE(cutNamed, std::optional<Names>(Names{cut.sibling}));

    const auto longNamed = named(deep, {L"long.txt"});
    if (ShellTakes(longFile)) {
        EXPECT_EQ(longNamed, Names{longFile});
    } else if (longNamed) {
        EXPECT_EQ(*longNamed, Names{longFile});
    }
}

// ---------------------------------------------------------------------------------------------
// The relay and the menu stage with a stand-in menu object of the test's own. Wine's own menu
// objects offer no "rename" item here and answer every relayed message with E_NOTIMPL.

constexpr LRESULT kMenuCharAnswer = MAKELRESULT(2, MNC_SELECT);

class LoggingMenu final : public IContextMenu3 {
public:
    struct Relayed {
        int level;  // 2: HandleMenuMsg, 3: HandleMenuMsg2
        UINT message;
        WPARAM wParam;
    };
    struct Invocation {
        DWORD cbSize, fMask;
        HWND hwnd;
        UINT_PTR verb, verbW;
        int nShow;
    };
    // The items: command offset, text, verb. "open" sits at offset 18, identifier 19.
    struct Item {
        UINT offset;
        const wchar_t* text;
        const wchar_t* verb;
        bool ownerDrawn;
    };
    static constexpr Item kItems[] = {
        {18, L"&Open", L"open", false}, {3, L"Re&name", L"ReName", false}, {7, L"Painted", L"paint", true}};

    explicit LoggingMenu(int level) : level_(level) {}

    ULONG refs = 1;
    HMENU filled = nullptr;
    UINT queryFlags = 0, queryFirst = 0, queryLast = 0;
    HRESULT queryResult = S_OK, invokeResult = S_OK;
    std::function<void()> onInvoke, onQuery;
    std::function<void(UINT message)> onRelayed;
    std::vector<Relayed> relayed;
    std::vector<Invocation> invoked;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IContextMenu)
            *out = static_cast<IContextMenu*>(this);
        else if (iid == IID_IContextMenu2 && level_ >= 2)
            *out = static_cast<IContextMenu2*>(this);
        else if (iid == IID_IContextMenu3 && level_ >= 3)
            *out = static_cast<IContextMenu3*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }

    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override {
        filled = menu;
        queryFlags = flags;
        queryFirst = first;
        queryLast = last;
        if (onQuery) onQuery();
        if (FAILED(queryResult)) return queryResult;
        for (const auto& item : kItems)
            InsertMenuW(menu, index++, MF_BYPOSITION | (item.ownerDrawn ? MF_OWNERDRAW : MF_STRING),
                        first + item.offset, item.ownerDrawn ? reinterpret_cast<LPCWSTR>(0x5EED) : item.text);
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 19);
    }
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override {
        const auto* ex = reinterpret_cast<const CMINVOKECOMMANDINFOEX*>(info);
        invoked.push_back({info->cbSize, info->fMask, info->hwnd, reinterpret_cast<UINT_PTR>(info->lpVerb),
                           info->cbSize >= sizeof *ex ? reinterpret_cast<UINT_PTR>(ex->lpVerbW) : 0, info->nShow});
        if (onInvoke) onInvoke();
        return invokeResult;
    }
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* name, UINT size) override {
        const Item* item = nullptr;
        for (const auto& candidate : kItems)
            if (candidate.offset == offset) item = &candidate;
        if (!item) return E_INVALIDARG;
        std::wstring text;
        if (type == GCS_VERBW)
            text = item->verb;
        else if (type == GCS_HELPTEXTW)
            text = std::wstring(L"Help for ") + item->verb;
        else
            return E_NOTIMPL;
        lstrcpynW(reinterpret_cast<wchar_t*>(name), text.c_str(), static_cast<int>(size));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT message, WPARAM wParam, LPARAM lParam) override {
        relayed.push_back({2, message, wParam});
        if (onRelayed) onRelayed(message);
        Answer(message, lParam);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        relayed.push_back({3, message, wParam});
        if (onRelayed) onRelayed(message);
        Answer(message, lParam);
        // An answer the relay must pass on only for WM_MENUCHAR.
        if (result) *result = message == WM_MENUCHAR ? kMenuCharAnswer : 0x5A5A;
        return S_OK;
    }

    std::size_t Count(UINT message) const {
        return static_cast<std::size_t>(
            std::count_if(relayed.begin(), relayed.end(), [&](const Relayed& r) { return r.message == message; }));
    }

private:
    static void Answer(UINT message, LPARAM lParam) {
        if (message == WM_MEASUREITEM) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measure->itemWidth = 80;
            measure->itemHeight = 18;
        }
    }
    int level_;
};

using MenuRelay = ItemPropFixture;

class MenuRelayLevels : public ItemPropFixture, public ::testing::WithParamInterface<int> {};

// What the relay window answers to the menu messages sent to it while the menu is open.
struct RelayAnswers {
    HWND window = nullptr;
    std::wstring title;
    LONG style = 0;
    bool visible = true;
    LRESULT initMenuPopup = -1, measureItem = -1, drawItem = -1, menuChar = -1;
    std::wstring hintAfterDown;
};

TEST_P(MenuRelayLevels, PassesTheMenuMessagesWithTheirAnswers) {
    const int level = GetParam();
    LoggingMenu object(level);
    RelayAnswers answers;
    std::size_t relayedBeforeOurs = 0;
    MenuDriver driver(
        {[&](HWND menuWindow) {
             const auto relays = ThreadWindows(GetCurrentThreadId(), L"ItemPropMenuCallbackHelper");
             ASSERT_EQ(relays.size(), 1u);
             const HWND relay = answers.window = relays.front();
             answers.title = WindowText(relay);
             answers.style = GetWindowLongW(relay, GWL_STYLE);
             answers.visible = IsWindowVisible(relay);
             relayedBeforeOurs = object.relayed.size();
             MEASUREITEMSTRUCT measure{ODT_MENU, 0, 7, 0, 0, 0x5EED};
             answers.measureItem = SendMessageW(relay, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
             DRAWITEMSTRUCT draw{ODT_MENU, 0, 7, ODA_DRAWENTIRE, 0, nullptr, nullptr, {}, 0x5EED};
             answers.drawItem = SendMessageW(relay, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
             answers.menuChar =
                 SendMessageW(relay, WM_MENUCHAR, MAKEWPARAM(L'q', MF_POPUP), reinterpret_cast<LPARAM>(object.filled));
             answers.initMenuPopup = SendMessageW(relay, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(object.filled), 0);
             MenuDriver::Keys({VK_DOWN})(menuWindow);
         },
         [&](HWND menuWindow) {
             answers.hintAfterDown = MenuHint();
             MenuDriver::Escape()(menuWindow);
         }});
    bool rename = true;
    EXPECT_TRUE(TrackContextMenu(&object, owner, kAt, rename));
    EXPECT_TRUE(driver.Completed());
    EXPECT_FALSE(rename);
    EXPECT_TRUE(object.invoked.empty());  // Escape carries out nothing
    EXPECT_EQ(object.refs, 1u);           // every reference the unit took is given back

    EXPECT_EQ(HasContextMenu2(), level >= 2);
    EXPECT_EQ(HasContextMenu3(), level >= 3);
    EXPECT_EQ(object.queryFirst, 1u);
    EXPECT_EQ(object.queryLast, 0x7FFFu);
    EXPECT_TRUE(object.queryFlags & CMF_CANRENAME);
    EXPECT_FALSE(object.queryFlags & (CMF_DEFAULTONLY | CMF_EXPLORE));

    EXPECT_EQ(answers.title, L"ItemPropCallbackProcessor");
    EXPECT_EQ(answers.style & (WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CHILD), WS_POPUP | WS_BORDER | WS_SYSMENU);
    EXPECT_FALSE(answers.visible);
    EXPECT_EQ(answers.initMenuPopup, 0);
    EXPECT_EQ(answers.measureItem, TRUE);
    EXPECT_EQ(answers.drawItem, TRUE);
    if (level >= 3)
        EXPECT_EQ(answers.menuChar, kMenuCharAnswer);
    else
        EXPECT_NE(answers.menuChar, kMenuCharAnswer);
    EXPECT_EQ(answers.hintAfterDown, L"open|Help for open");
    EXPECT_EQ(MenuHint(), L"");  // cleared when the menu closed

    // The messages the object saw, each at the highest level it offers: the menu's own (its popup
    // being opened with the menu it filled, the painted item measured and drawn), then the four
    // sent above, in order.
    if (level == 1) {
        EXPECT_TRUE(object.relayed.empty());
        return;
    }
    for (const auto& r : object.relayed) EXPECT_EQ(r.level, level);
    ASSERT_GE(relayedBeforeOurs, 1u);
    EXPECT_EQ(object.relayed.front().message, static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(object.relayed.front().wParam, reinterpret_cast<WPARAM>(object.filled));
    EXPECT_GE(object.Count(WM_MEASUREITEM), 2u);
    EXPECT_GE(object.Count(WM_DRAWITEM), 2u);
    std::vector<UINT> ours;
    for (auto r = object.relayed.begin() + static_cast<std::ptrdiff_t>(relayedBeforeOurs); r != object.relayed.end();
         ++r)
        ours.push_back(r->message);
    if (level >= 3)
        EXPECT_EQ(ours, (std::vector<UINT>{WM_MEASUREITEM, WM_DRAWITEM, WM_MENUCHAR, WM_INITMENUPOPUP}));
    else
        EXPECT_EQ(ours, (std::vector<UINT>{WM_MEASUREITEM, WM_DRAWITEM, WM_INITMENUPOPUP}));
}

INSTANTIATE_TEST_SUITE_P(Levels, MenuRelayLevels, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "Level" + std::to_string(info.param); });

TEST_F(MenuRelay, RenameIsKnownByItsVerbOtherCommandsAreCarriedOut) {
    struct Case {
        const char* what;
        std::size_t downs;
        HRESULT invokeResult;
        bool result, rename;
        UINT_PTR invokedOffset;  // 0: nothing carried out
    };
    const Case cases[] = {
        {"identifier 19 is an ordinary command", 1, S_OK, true, false, 18},
        {"the verb rename, in any letter case", 2, S_OK, true, true, 0},
        {"a command that fails", 1, E_FAIL, false, false, 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoggingMenu object(3);
        object.invokeResult = c.invokeResult;
        // While the command runs, the relay window is still there and no second menu can start.
        std::size_t relaysDuringCommand = 0;
        bool nestedResult = true;
        object.onInvoke = [&] {
            relaysDuringCommand = ThreadWindows(GetCurrentThreadId(), L"ItemPropMenuCallbackHelper").size();
            LoggingMenu other(3);
            bool nestedRename = false;
            nestedResult = TrackContextMenu(&other, owner, kAt, nestedRename) ||
                           PopupItemMenu(dir.Path() + L"*", owner, kAt, nestedRename);
        };
        std::vector<WPARAM> keys(c.downs, VK_DOWN);
        keys.push_back(VK_RETURN);
        MenuDriver driver({MenuDriver::Keys(keys)});
        bool rename = !c.rename;
        EXPECT_EQ(TrackContextMenu(&object, owner, kAt, rename), c.result);
        EXPECT_TRUE(driver.Completed());
        EXPECT_EQ(rename, c.rename);
        EXPECT_EQ(RenameChosen(), c.rename);
        EXPECT_EQ(object.refs, 1u);
        if (c.invokedOffset == 0) {
            EXPECT_TRUE(object.invoked.empty());
            continue;
        }
        ASSERT_EQ(object.invoked.size(), 1u);
        EXPECT_EQ(relaysDuringCommand, 1u);
        EXPECT_FALSE(nestedResult);
        const auto& call = object.invoked.front();
        EXPECT_EQ(call.cbSize, sizeof(CMINVOKECOMMANDINFOEX));
        EXPECT_TRUE(call.fMask & CMIC_MASK_UNICODE);
        EXPECT_EQ(call.verb, c.invokedOffset);
        EXPECT_EQ(call.verbW, c.invokedOffset);
        EXPECT_EQ(call.hwnd, owner);
        EXPECT_EQ(call.nShow, SW_SHOWNORMAL);
    }
}

TEST_F(MenuRelay, AnObjectThatFillsNoMenuShowsNothing) {
    LoggingMenu object(3);
    object.queryResult = E_FAIL;
    std::vector<MenuItem> unused;
    MenuDriver driver(ReadAndEscape(unused));
    bool rename = true;
    EXPECT_FALSE(TrackContextMenu(&object, owner, kAt, rename));
    EXPECT_FALSE(rename);
    EXPECT_FALSE(driver.MenuSeen());
    EXPECT_TRUE(object.invoked.empty());
    EXPECT_EQ(object.refs, 1u);
    EXPECT_FALSE(TrackContextMenu(nullptr, owner, kAt, rename));
}

// A failure of the operation itself ends it with false and reaches the application's error box
// once it is over, wherever it is thrown: while the menu is filled, inside the relay while the
// menu is open (the menu then ends), or while the command runs. A stand-in object throws.
TEST_F(MenuRelay, AFailureReachesTheErrorBox) {
    std::vector<std::wstring> reported;
    std::size_t relaysWhileReporting = 0;
    ui::SetErrorReporter([&](const std::wstring& message) {
        reported.push_back(message);
        relaysWhileReporting += ThreadWindows(GetCurrentThreadId(), L"ItemPropMenuCallbackHelper").size();
    });
    const platform::ScopeExit restore([] { ui::SetErrorReporter(nullptr); });
    const auto fail = [] { throw AppError(L"Меню оболочки не удалось"); };
    struct Case {
        const char* what;
        std::function<void(LoggingMenu&)> arrange;
        std::vector<WPARAM> keys;  // pressed once the menu is open
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"filling the menu", [&](LoggingMenu& m) { m.onQuery = fail; }, {VK_ESCAPE}, L"Меню оболочки не удалось"},
        {"filling the menu, not an error of ours",
         [](LoggingMenu& m) { m.onQuery = [] { throw std::runtime_error("broken"); }; },
         {VK_ESCAPE},
         L"Unexpected error in the shell menu"},
        {"the relay while the menu is open",
         [&](LoggingMenu& m) {
             m.onRelayed = [&](UINT message) {
                 if (message == WM_INITMENUPOPUP) fail();
             };
         },
         {VK_DOWN, VK_RETURN},
         L"Меню оболочки не удалось"},
        {"the command", [&](LoggingMenu& m) { m.onInvoke = fail; }, {VK_DOWN, VK_RETURN}, L"Меню оболочки не удалось"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reported.clear();
        relaysWhileReporting = 0;
        LoggingMenu object(3);
        c.arrange(object);
        MenuDriver driver({MenuDriver::Keys(c.keys)});
        bool rename = true;
        EXPECT_FALSE(TrackContextMenu(&object, owner, kAt, rename));
        EXPECT_FALSE(rename);
        EXPECT_EQ(reported, std::vector<std::wstring>{c.expected});
        EXPECT_EQ(relaysWhileReporting, 0u) << "reported once the menu and its relay are gone";
        EXPECT_EQ(object.refs, 1u);
        // The relay's failure ends the menu before any item can be chosen.
        if (object.onRelayed) {
            EXPECT_TRUE(object.invoked.empty());
        }
    }
    // The next operation starts afresh: nothing is left over from the failures.
    reported.clear();
    LoggingMenu object(3);
    MenuDriver driver({MenuDriver::Escape()});
    bool rename = true;
    EXPECT_TRUE(TrackContextMenu(&object, owner, kAt, rename));
    EXPECT_TRUE(driver.Completed());
    EXPECT_TRUE(reported.empty());
}

// ---------------------------------------------------------------------------------------------
// Default commands of a file type the test registers, whose open command is a copy of the logging
// stand-in (tests/support) under a name of this process's own.

class DefaultCommand : public ItemPropFixture {
protected:
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring log = dir / L"opener-log.jsonl";

    void SetUp() override {
        ItemPropFixture::SetUp();
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr);
        ItemPropFixture::TearDown();
    }
    // A copy of the logging stand-in under a name of its own.
    std::wstring Opener(const std::wstring& path) {
        EXPECT_TRUE(CopyFileW(FakeBatPath().c_str(), platform::ToApiPath(path).c_str(), FALSE));
        return path;
    }
    // The lines the opener wrote, once every copy of it has ended.
    std::vector<LogLine> Starts(const std::wstring& openerPath) {
        const std::wstring exeName(ExtractFileName(openerPath));
        EXPECT_TRUE(WaitFor([&] { return !ProcessRunning(exeName); }));
        return ReadFakeBatLog(log);
    }
    void ExpectStartedOnceWith(const std::wstring& openerPath, const std::wstring& quotedArgument) {
        const auto starts = Starts(openerPath);
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_NE(starts.front().at("raw").find(quotedArgument), std::wstring::npos) << starts.front().at("raw");
    }
};

// Wine's shell menus offer no default item for files: the file's association runs it. A program
// file is its own association ("%1" %*), so the stand-in started by path logs its own path.
TEST_F(DefaultCommand, OpensAFileInItsProgramOnce) {
    std::wstring deep = dir.Path();
    while (deep.size() < 280) {
        deep += std::wstring(40, L'd') + L"\\";
        MakeDir(deep);
    }
    struct Case {
        const char* what;
        std::wstring path;
        bool mustRun;  // false: the shell may refuse it, quietly
    };
    const Case cases[] = {
        {"a plain name", dir / (L"opener-" + id + L".exe"), true},
        {"a name outside the code page", dir / (L"чертёж 図面-" + id + L".exe"), true},
        {"a path longer than MAX_PATH", deep + L"deep-opener-" + id + L".exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(log.c_str());
        Opener(c.path);
        DialogWatchdog watchdog;
        const bool ran = RunItemDefaultCommand(c.path, owner);
        EXPECT_TRUE(ran || !c.mustRun);
        if (ran) {
            ExpectStartedOnceWith(c.path, L"\"" + c.path + L"\"");
        } else {
            EXPECT_TRUE(Starts(c.path).empty());
        }
        EXPECT_EQ(watchdog.Seen(), 0u);
    }
}

// A document of a type registered for the test: its open command gets the document.
TEST_F(DefaultCommand, OpensADocumentWithItsRegisteredProgram) {
    const std::wstring extension = L".kip" + id;
    const std::wstring opener = Opener(dir / (L"kip-opener-" + id + L".exe"));
    const TestFileType type(extension, L"KorvexItemPropTest" + id, L"\"" + opener + L"\" \"%1\"");
    if (type.Refused()) GTEST_SKIP() << *type.Unseen();
    ASSERT_FALSE(type.Unseen()) << *type.Unseen();
    const std::wstring document = dir / (L"чертёж" + extension);
    WriteBytes(document, "x");
    DialogWatchdog watchdog;
    EXPECT_TRUE(RunItemDefaultCommand(document, owner));
    ExpectStartedOnceWith(opener, L"\"" + document + L"\"");
    EXPECT_EQ(watchdog.Seen(), 0u);
}

// What has no program, or is no file, fails quietly: false, no box, nothing started.
TEST_F(DefaultCommand, FailsQuietly) {
    const std::wstring orphan = dir / (L"orphan.kipnone" + id);
    WriteBytes(orphan, "x");
    MakeDir(dir / L"Folder");
    const std::wstring paths[] = {orphan, dir / L"Folder", L"C:\\", dir / L"missing.txt", L""};
    DialogWatchdog watchdog;
    for (const auto& path : paths) {
        SCOPED_TRACE(testing::Message() << path.size());
        EXPECT_FALSE(RunItemDefaultCommand(path, owner));
    }
    EXPECT_EQ(watchdog.Seen(), 0u);
    EXPECT_TRUE(ReadFakeBatLog(log).empty());
}

}  // namespace
}  // namespace korvex::test
