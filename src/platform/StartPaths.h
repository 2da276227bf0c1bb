#pragma once
// The paths this start of the program was given on its command line.

#include <string>
#include <string_view>
#include <vector>

namespace korvex::platform {

// The command line's paths (see CommandLinePaths) made full against the current folder as it is
// now, so call it before anything changes the current folder. A path the system cannot make
// full is kept as it was given; it will be named as missing. So is a path that names a device
// (IsDevicePath), which the system would make "\\.\CON" and which will be named as a device.
std::vector<std::wstring> StartPaths(std::wstring_view commandLine);

}  // namespace korvex::platform
