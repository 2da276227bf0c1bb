#pragma once
// ItemProp: the shell's own context menu and default command for file-system items.
//
// A path, or a folder and names in it, is turned into shell item ID lists, the items' context-menu
// object is asked for its menu, the menu is tracked at a screen point and the chosen command is
// carried out. A hidden relay window passes the menu's owner-draw and init messages on to the
// object's level-2/3 interfaces, so that menus drawn by shell extensions work.
// Everything runs on the user-interface thread, one menu at a time; OLE must be initialised.
// A failure of the operation itself (an exception, also one thrown while its menu is open: that
// ends the menu) ends it with false and reaches the application's error box (ui::ReportError).

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "ComPtr.h"

namespace korvex::components {

// The current menu object offers IContextMenu2 / IContextMenu3 (reset by every operation).
bool HasContextMenu2();
bool HasContextMenu3();

// Whether the last menu ended with the shell's "rename" command (reset by every operation).
bool RenameChosen();

// The hint of the menu item under the mouse while a menu is open: its verb, "|", its help text
// (the part after "|" is the long hint). Empty when no menu is open or the item has none.
std::wstring MenuHint();

// Shows the menu of one file, folder or drive root ("C:\") at `at` (screen coordinates). A name
// part with "*" or "?" shows one menu for every match in the folder. renameChosen is set when the
// user picked the shell's "rename" command, which is not carried out here: the caller starts the
// in-place edit. True when a command ran successfully, the menu was closed without a choice, or
// rename was chosen; false when nothing could be resolved or the command failed.
bool PopupItemMenu(const std::wstring& path, HWND owner, POINT at, bool& renameChosen);

// One menu for several items of one folder (bare names). The folder "Drives" (any letter case)
// stands for the computer: the names are then drive roots such as "C:\". Names that no longer
// exist are left out; an empty list, or one with no name left, shows nothing and returns false.
bool PopupItemsMenu(const std::wstring& folderPath, const std::vector<std::wstring>& names, HWND owner,
                    bool& renameChosen, POINT at);

// Carries out a file's default command without a menu (opens it in its program): the shell
// menu's default item where the shell offers one, else the file's registered association.
// Folders and drives are not handed to the shell (the explorer list enters them itself): false.
// Fails quietly: false, and no box left behind.
bool RunItemDefaultCommand(const std::wstring& path, HWND owner);

// The shell's data object for several items of one folder (bare names), what a drag of them
// hands to another program. The names are resolved as for their menu: names that no longer
// exist, and long paths the shell cut so that they would name another item, are left out. Null
// when no name is left or the shell has no data object for them.
platform::ComPtr<IDataObject> ItemsDataObject(const std::wstring& folderPath, const std::vector<std::wstring>& names,
                                              HWND owner);

// The menu stage on a context-menu object the caller already has (the entry points above end
// here; tests hand in a stand-in object of their own). Tracks the menu at `at`.
bool TrackContextMenu(IContextMenu* menuObject, HWND owner, POINT at, bool& renameChosen);

}  // namespace korvex::components
