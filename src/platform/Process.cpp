#include "Process.h"

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

}  // namespace korvex::platform
