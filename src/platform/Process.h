#pragma once

#include <windows.h>

#include <string_view>

#include "UniqueResource.h"

namespace korvex::platform {

// Starts application with exactly commandLine as its command line, in a normally shown window,
// and does not wait for it. Returns 0, or the system's error code when the start failed.
// Names the system cannot take (an application of MAX_PATH characters or more, a command line of
// 32,767 or more) are refused with ERROR_FILENAME_EXCED_RANGE before the system sees them.
DWORD StartProcess(std::wstring_view application, std::wstring_view commandLine);
// The same, handing the started process's handle to process (for those who wait for it).
DWORD StartProcess(std::wstring_view application, std::wstring_view commandLine, UniqueHandle& process);

}  // namespace korvex::platform
