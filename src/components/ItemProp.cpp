// ItemProp: the shell's context menu and default command for file-system items (the paths are
// turned into items in ItemPropResolve.cpp).
//
// The menu: the items' IContextMenu (with its level-2/3 interfaces, held for the whole tracking and
// the command) fills a popup menu, a hidden relay window owns the tracked menu and passes its
// messages on, and the chosen command offset is carried out, unless its verb is "rename", which
// the caller performs in place.

#include "ItemProp.h"

#include "ItemPropResolve.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <exception>
#include <utility>

#include "AppError.h"
#include "BusyCursor.h"
#include "ComPtr.h"
#include "FileSystem.h"
#include "Locale.h"
#include "PathText.h"
#include "TextConversion.h"
#include "UniqueResource.h"
#include "Window.h"

namespace korvex::components {

namespace {

using platform::ComPtr;
using platform::ItemIdList;
using platform::ScopeExit;
using platform::UniqueMenu;
using platform::UniqueWindow;

// Menu identifiers are requested in 1..0x7FFF; the object's command offset is identifier - 1.
constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;

constexpr wchar_t kRelayClass[] = L"ItemPropMenuCallbackHelper";
constexpr wchar_t kRelayTitle[] = L"ItemPropCallbackProcessor";

// What the menu routine and the relay window's procedure share (one menu at a time).
struct UnitState {
    bool hasMenu2 = false;
    bool hasMenu3 = false;
    bool renameChosen = false;
    bool busy = false;
    std::wstring hint;
    // What a handler of the relay window threw while the menu was open; reported once the
    // operation is over.
    std::exception_ptr relayFailure;
};

UnitState& State() {
    static UnitState state;
    return state;
}

// The context-menu object and the higher levels it offers; each reference lives as long as this.
struct MenuObject {
    ComPtr<IContextMenu> menu;
    ComPtr<IContextMenu2> menu2;
    ComPtr<IContextMenu3> menu3;
};

MenuObject TakeLevels(ComPtr<IContextMenu> base) {
    MenuObject object;
    object.menu = std::move(base);
    object.menu2 = object.menu.As<IContextMenu2>();
    if (object.menu2) object.menu3 = object.menu2.As<IContextMenu3>();
    State().hasMenu2 = static_cast<bool>(object.menu2);
    State().hasMenu3 = static_cast<bool>(object.menu3);
    return object;
}

// A command string of one command offset: the wide form, else the ANSI form; empty when the
// object has none. Each is read into a MAX_PATH buffer and cut at its first NUL.
std::wstring CommandString(IContextMenu* menu, UINT offset, UINT wideType, UINT ansiType) {
    wchar_t wide[MAX_PATH] = {};
    if (SUCCEEDED(menu->GetCommandString(offset, wideType, nullptr, reinterpret_cast<LPSTR>(wide), MAX_PATH))) {
        wide[MAX_PATH - 1] = L'\0';
        return wide;
    }
    char ansi[MAX_PATH] = {};
    if (SUCCEEDED(menu->GetCommandString(offset, ansiType, nullptr, ansi, MAX_PATH))) {
        ansi[MAX_PATH - 1] = '\0';
        return platform::WideFromAnsi(ansi);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// The relay window: owner of the tracked menu, never shown.

LRESULT Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* object = reinterpret_cast<const MenuObject*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_CREATE:
            SetWindowLongPtrW(
                window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
            break;
        case WM_INITMENUPOPUP:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_MENUCHAR: {
            if (!object) break;
            LRESULT answer = 0;
            HRESULT hr = E_NOTIMPL;
            if (object->menu3) {
                hr = object->menu3->HandleMenuMsg2(message, wParam, lParam, &answer);
            } else if (object->menu2 && message != WM_MENUCHAR) {
                hr = object->menu2->HandleMenuMsg(message, wParam, lParam);
            }
            switch (message) {
                case WM_INITMENUPOPUP: return 0;
                case WM_DRAWITEM:
                case WM_MEASUREITEM: return TRUE;
                default:
                    // The menu's answer to a typed character comes from the object when it has one.
                    if (SUCCEEDED(hr)) return answer;
                    break;
            }
            break;
        }
        case WM_MENUSELECT: {
            auto& hint = State().hint;
            const UINT id = LOWORD(wParam);
            const UINT flags = HIWORD(wParam);
            hint.clear();
            if (flags == 0xFFFF && lParam == 0) return 0;  // the menu closed
            if (object && !(flags & (MF_POPUP | MF_SEPARATOR)) && id >= kFirstCommand && id <= kLastCommand) {
                const UINT offset = id - kFirstCommand;
                const std::wstring verb = CommandString(object->menu.get(), offset, GCS_VERBW, GCS_VERBA);
                const std::wstring help = CommandString(object->menu.get(), offset, GCS_HELPTEXTW, GCS_HELPTEXTA);
                if (!verb.empty() || !help.empty()) hint = verb + L"|" + help;
            }
            return 0;
        }
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK RelayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    // No exception may cross into the menu loop: the first one ends the menu (the failure ends
    // the user's action) and is reported when the operation is over.
    try {
        return Relay(window, message, wParam, lParam);
    } catch (...) {
        auto& failure = State().relayFailure;
        if (!failure) {
            failure = std::current_exception();
            EndMenu();
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

UniqueWindow CreateRelayWindow(const MenuObject& object) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass{};
    windowClass.style = CS_PARENTDC;
    windowClass.lpfnWndProc = RelayProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kRelayClass;
    RegisterClassW(&windowClass);  // fails harmlessly once the class is there; it is never unregistered
    return UniqueWindow(CreateWindowExW(0, kRelayClass, kRelayTitle, WS_POPUP | WS_BORDER | WS_SYSMENU, 0, 0, 0, 0,
                                        nullptr, nullptr, instance, const_cast<MenuObject*>(&object)));
}

// ---------------------------------------------------------------------------------------------
// Carrying out commands.

bool Invoke(IContextMenu* menu, UINT offset, HWND owner, DWORD mask, POINT at) {
    CMINVOKECOMMANDINFOEX info{};
    info.cbSize = sizeof info;
    info.fMask = CMIC_MASK_UNICODE | mask;
    // Shift and Ctrl change what some commands do (Shift+Delete deletes for good), as in the shell.
    if (GetKeyState(VK_SHIFT) < 0) info.fMask |= CMIC_MASK_SHIFT_DOWN;
    if (GetKeyState(VK_CONTROL) < 0) info.fMask |= CMIC_MASK_CONTROL_DOWN;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    info.lpVerbW = MAKEINTRESOURCEW(offset);
    info.nShow = SW_SHOWNORMAL;
    info.ptInvoke = at;
    return SUCCEEDED(menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info)));
}

// Fills a popup menu from the object, tracks it and carries out the choice.
bool ShowMenu(const MenuObject& object, HWND owner, POINT at) {
    UniqueWindow relay;  // declared first: the menu goes before the relay window
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return false;
    // Rename is offered (the caller edits the name in place). No CMF_EXPLORE: there is no folder
    // tree beside the list, and with it some shells leave Rename out. Shift shows the extended verbs.
    UINT flags = CMF_NORMAL | CMF_CANRENAME;
    if (GetKeyState(VK_SHIFT) < 0) flags |= CMF_EXTENDEDVERBS;
    if (FAILED(object.menu->QueryContextMenu(menu.get(), 0, kFirstCommand, kLastCommand, flags))) return false;
    relay = CreateRelayWindow(object);
    if (!relay) return false;

    const auto chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, relay.get(), nullptr));
    State().hint.clear();
    if (chosen < kFirstCommand || chosen > kLastCommand) return true;  // closed without a choice
    const UINT offset = chosen - kFirstCommand;
    if (platform::SameNameIgnoringCase(CommandString(object.menu.get(), offset, GCS_VERBW, GCS_VERBA), L"rename")) {
        State().renameChosen = true;
        return true;
    }
    return Invoke(object.menu.get(), offset, owner, CMIC_MASK_PTINVOKE, at);
}

enum class DefaultOutcome { NoDefault, Succeeded, Failed };

// The object's default item, carried out without a menu and without any box of the shell's.
DefaultOutcome RunDefault(const MenuObject& object, HWND owner) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return DefaultOutcome::NoDefault;
    if (FAILED(object.menu->QueryContextMenu(menu.get(), 0, kFirstCommand, kLastCommand, CMF_DEFAULTONLY)))
        return DefaultOutcome::NoDefault;
    const UINT item = GetMenuDefaultItem(menu.get(), FALSE, 0);
    if (item == static_cast<UINT>(-1) || item < kFirstCommand || item > kLastCommand) return DefaultOutcome::NoDefault;
    return Invoke(object.menu.get(), item - kFirstCommand, owner, CMIC_MASK_FLAG_NO_UI, POINT{})
               ? DefaultOutcome::Succeeded
               : DefaultOutcome::Failed;
}

// The file's registered association, started by the shell; a type without a program fails
// quietly (no "open with" or error box).
bool ShellOpen(const std::wstring& path, HWND owner) {
    const std::wstring folder(ExtractFileDir(path));
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpFile = path.c_str();
    // A working folder longer than MAX_PATH would make the start fail: then the shell picks one.
    info.lpDirectory = !folder.empty() && folder.size() < MAX_PATH ? folder.c_str() : nullptr;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

// One of the shell's objects (a menu, a data object) for the resolved items.
template <typename Interface>
ComPtr<Interface> UiObjectOf(const FolderItems& items, HWND owner) {
    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(items.children.size());
    for (const auto& child : items.children) ids.push_back(child.get());
    ComPtr<Interface> object;
    if (FAILED(items.folder->GetUIObjectOf(owner, static_cast<UINT>(ids.size()), ids.data(), __uuidof(Interface),
                                           nullptr, object.put_void())))
        return {};
    return object;
}

MenuObject MenuObjectOf(const FolderItems& items, HWND owner) {
    ComPtr<IContextMenu> menu = UiObjectOf<IContextMenu>(items, owner);
    if (!menu) return {};
    return TakeLevels(std::move(menu));
}

constexpr wchar_t kUnexpectedError[] = L"Unexpected error in the shell menu";

// Runs one operation: not inside another one, with the level flags and the rename report reset.
// A failure (thrown by the operation, or by the relay window while its menu was open) ends it
// with false and reaches the application's error box once the operation is over.
template <typename Body>
bool Operation(Body&& body) {
    auto& state = State();
    if (state.busy) return false;
    std::wstring failure;
    {
        const ScopeExit leave([] {
            State().busy = false;
            State().relayFailure = nullptr;
        });
        state.busy = true;
        state.hasMenu2 = state.hasMenu3 = state.renameChosen = false;
        state.relayFailure = nullptr;
        try {
            const bool result = body();
            if (!state.relayFailure) return result;
            std::rethrow_exception(state.relayFailure);
        } catch (const AppError& e) {
            failure = e.Message();
        } catch (...) {
            failure = kUnexpectedError;
        }
    }
    ui::ReportError(failure);
    return false;
}

}  // namespace

bool HasContextMenu2() {
    return State().hasMenu2;
}
bool HasContextMenu3() {
    return State().hasMenu3;
}
bool RenameChosen() {
    return State().renameChosen;
}
std::wstring MenuHint() {
    return State().hint;
}

namespace {

// The menu of the items resolve finds, as one operation.
template <typename Resolve>
bool PopupResolvedMenu(Resolve&& resolve, HWND owner, POINT at, bool& renameChosen) {
    return Operation([&] {
        const ui::BusyCursor busy;
        FolderItems items;
        if (!resolve(items)) return false;
        const MenuObject object = MenuObjectOf(items, owner);
        if (!object.menu) return false;
        const bool result = ShowMenu(object, owner, at);
        renameChosen = State().renameChosen;
        return result;
    });
}

}  // namespace

bool PopupItemMenu(const std::wstring& path, HWND owner, POINT at, bool& renameChosen) {
    renameChosen = false;
    return PopupResolvedMenu([&](FolderItems& items) { return ResolvePath(path, owner, items); }, owner, at,
                             renameChosen);
}

bool PopupItemsMenu(const std::wstring& folderPath, const std::vector<std::wstring>& names, HWND owner,
                    bool& renameChosen, POINT at) {
    renameChosen = false;
    if (names.empty()) return false;
    return PopupResolvedMenu([&](FolderItems& items) { return ResolveNames(folderPath, names, owner, items); }, owner,
                             at, renameChosen);
}

bool RunItemDefaultCommand(const std::wstring& path, HWND owner) {
    return Operation([&] {
        const ui::BusyCursor busy;
        const bool pattern = HasWildcard(ExtractFileName(path));
        if (!pattern) {
            // Folders and drives are entered by the list itself; some shells answer their default
            // command with a box that blocks.
            const DWORD attributes = platform::FileAttributes(path);
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
        }
        FolderItems items;
        if (ResolvePath(path, owner, items)) {
            const MenuObject object = MenuObjectOf(items, owner);
            if (object.menu) {
                switch (RunDefault(object, owner)) {
                    case DefaultOutcome::Succeeded: return true;
                    case DefaultOutcome::Failed: return false;
                    case DefaultOutcome::NoDefault: break;
                }
            }
        }
        // The shell's menu offers no default item (some shells never do for files): the file's
        // association does the same.
        return !pattern && ShellOpen(path, owner);
    });
}

platform::ComPtr<IDataObject> ItemsDataObject(const std::wstring& folderPath, const std::vector<std::wstring>& names,
                                              HWND owner) {
    if (names.empty()) return {};
    FolderItems items;
    if (!ResolveNames(folderPath, names, owner, items)) return {};
    return UiObjectOf<IDataObject>(items, owner);
}

bool TrackContextMenu(IContextMenu* menuObject, HWND owner, POINT at, bool& renameChosen) {
    renameChosen = false;
    if (!menuObject) return false;
    return Operation([&] {
        const ui::BusyCursor busy;
        menuObject->AddRef();
        const MenuObject object = TakeLevels(ComPtr<IContextMenu>(menuObject));
        const bool result = ShowMenu(object, owner, at);
        renameChosen = State().renameChosen;
        return result;
    });
}

}  // namespace korvex::components
