// Stand-in for the mail client in tests and the demo: it sends nothing, it only appends one JSON
// line per start to a log (path from KORVEX_FAKEBAT_LOG, else fakebat-log.jsonl beside the exe).

#include <windows.h>

#include <string>

#include "JsonLine.h"
#include "MailCommandParser.h"
#include "UniqueResource.h"

namespace {

std::wstring LogPath() {
    wchar_t buf[32768];
    DWORD n = GetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", buf, 32768);
    if (n > 0 && n < 32768) return std::wstring(buf, n);
    n = GetModuleFileNameW(nullptr, buf, 32768);
    std::wstring path(buf, n);
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"fakebat-log.jsonl";
}

std::uint64_t CreationTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// Several copies may start at once: the log is opened without sharing, so one line is written
// whole before the next copy gets in.
int AppendLine(const std::wstring& path, const std::string& line) {
    for (int attempt = 0; attempt < 2000; ++attempt) {
        const korvex::platform::UniqueFile file(
            CreateFileW(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            DWORD written = 0;
            const BOOL ok = WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            return ok && written == line.size() ? 0 : 2;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return 3;
        Sleep(5);
    }
    return 4;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring raw = GetCommandLineW();
    const auto cmd = korvex::ParseMailCommand(raw);
    return AppendLine(LogPath(), korvex::MailCommandJson(raw, cmd, CreationTime()) + "\n");
}
