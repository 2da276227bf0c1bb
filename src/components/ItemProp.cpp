// ItemProp: placeholder until the shell menu lands; every operation reports that nothing ran.

#include "ItemProp.h"

namespace korvex::components {

bool HasContextMenu2() {
    return false;
}
bool HasContextMenu3() {
    return false;
}

bool PopupItemMenu(const std::wstring&, HWND, POINT, bool& renameChosen) {
    renameChosen = false;
    return false;
}

bool PopupItemsMenu(const std::wstring&, const std::vector<std::wstring>&, HWND, bool& renameChosen, POINT) {
    renameChosen = false;
    return false;
}

bool RunItemDefaultCommand(const std::wstring&, HWND) {
    return false;
}

bool TrackContextMenu(IContextMenu*, HWND, POINT, bool& renameChosen) {
    renameChosen = false;
    return false;
}

}  // namespace korvex::components
