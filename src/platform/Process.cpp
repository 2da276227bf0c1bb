#include "Process.h"

#include <algorithm>
#include <string>

#include "UniqueResource.h"

namespace korvex::platform {

DWORD StartProcess(std::wstring_view application, std::wstring_view commandLine) {
    UniqueHandle process;
    return StartProcess(application, commandLine, process);
}

DWORD StartProcess(std::wstring_view application, std::wstring_view commandLine, UniqueHandle& process) {
    // Names longer than the system takes never reach it: Windows refuses them, and an application
    // name of 2,000 characters crashes Wine 8's process start.
    if (application.size() >= MAX_PATH || commandLine.size() >= 32767) return ERROR_FILENAME_EXCED_RANGE;
    const std::wstring app(application);
    std::wstring command(commandLine);  // CreateProcessW may write into its command line
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(app.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return GetLastError();
    process.reset(info.hProcess);
    UniqueHandle thread(info.hThread);
    return 0;
}

bool WaitUntilSettled(HANDLE process, DWORD boundMs, const std::function<void()>& pump) {
    // Short enough for painting and Esc between two looks; WaitForInputIdle itself returns at once
    // when the process goes idle, so a quick client costs no slice.
    constexpr ULONGLONG kSliceMs = 50;
    const ULONGLONG begin = GetTickCount64();
    for (;;) {
        const ULONGLONG elapsed = GetTickCount64() - begin;
        const DWORD slice =
            elapsed >= boundMs ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(kSliceMs, boundMs - elapsed));
        const DWORD idle = WaitForInputIdle(process, slice);
        if (idle == 0 || WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return true;
        // A program without a message queue of its own (a console program) never goes idle: its end
        // is what settles it.
        if (idle == WAIT_FAILED && MsgWaitForMultipleObjects(1, &process, FALSE, slice, QS_ALLINPUT) == WAIT_OBJECT_0)
            return true;
        if (elapsed >= boundMs) return false;
        if (pump) pump();
    }
}

SettledStart StartAndSettle(std::wstring_view application, std::wstring_view commandLine, DWORD boundMs,
                            const std::function<void()>& pump) {
    UniqueHandle process;
    SettledStart result;
    result.error = StartProcess(application, commandLine, process);
    if (result.error == 0) result.confirmed = WaitUntilSettled(process.get(), boundMs, pump);
    return result;
}

}  // namespace korvex::platform
