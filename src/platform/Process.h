#pragma once

#include <windows.h>

#include <functional>
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

// Waits until the process has ended or waits for user input (WaitForInputIdle), whichever comes
// first, at most boundMs. pump runs between short waits, so the caller's window keeps painting.
// False when the bound came first.
bool WaitUntilSettled(HANDLE process, DWORD boundMs, const std::function<void()>& pump);

struct SettledStart {
    DWORD error = 0;         // 0: started
    bool confirmed = false;  // settled within the bound
};
// StartProcess, then WaitUntilSettled: the next start may follow once this one has settled.
SettledStart StartAndSettle(std::wstring_view application, std::wstring_view commandLine, DWORD boundMs,
                            const std::function<void()>& pump);

}  // namespace korvex::platform
