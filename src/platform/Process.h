#pragma once

#include <windows.h>

#include <string_view>

namespace korvex::platform {

// Starts application with exactly commandLine as its command line, in a normally shown window,
// and does not wait for it. Returns 0, or the system's error code when the start failed.
DWORD StartProcess(std::wstring_view application, std::wstring_view commandLine);

}  // namespace korvex::platform
