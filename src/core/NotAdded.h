#pragma once
// The paths an add to the send list did not take, named to the user in one message after it:
// nothing given to the list is left out without a word.

#include <cstddef>
#include <string>
#include <vector>

namespace korvex {

struct NotAdded {
    std::vector<std::wstring> missing;  // not there, or not to be examined
    std::vector<std::wstring> devices;  // names of devices, not of files (see IsDevicePath)
    bool Empty() const noexcept { return missing.empty() && devices.empty(); }
};

// How many paths of each kind a message names before it only counts the rest.
inline constexpr std::size_t kNotAddedShown = 20;

// "Не найдены:" with the missing paths, then "Не добавлены (это имена устройств, а не файлы):"
// with the devices, one path a line, each list cut after shown paths with "… и ещё k"; the
// singular forms for a single path. Empty when nothing was left out.
std::wstring NotAddedText(const NotAdded& notAdded, std::size_t shown = kNotAddedShown);

}  // namespace korvex
