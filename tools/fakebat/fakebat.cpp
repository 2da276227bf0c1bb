// Stand-in for the mail client in tests and the demo: it sends nothing, it only appends one JSON
// line per start to a log (path from KORVEX_FAKEBAT_LOG, else fakebat-log.jsonl beside the exe).
// A line that cannot be appended is never dropped silently: it goes to "<log>.failed" with the
// reason, and the exit code says so.

#include <windows.h>

#include <cstdint>
#include <string>

#include "JsonLine.h"
#include "LogLock.h"
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

// Exit codes: 0 the line is in the log; kFallback it could not be appended and went to the
// fallback file (the log's path with ".failed"); kLost not even that could be written.
constexpr int kFallback = 5;
constexpr int kLost = 6;

// How long a copy keeps trying before it gives up on the log: copies started by the hundred
// queue at the mutex, and a reader of the log may hold it open for a moment (a sharing
// violation); other failures that may pass (access denied to a file being deleted, resources)
// are tried for a shorter while.
constexpr DWORD kPatienceMs = 120000;
constexpr DWORD kShortPatienceMs = 5000;

DWORD RetryLimit(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return kPatienceMs;
        case ERROR_ACCESS_DENIED:
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
        case ERROR_NO_SYSTEM_RESOURCES:
        case ERROR_WRITE_FAULT: return kShortPatienceMs;
        default: return 0;
    }
}

// Appends the line, retrying failures that may pass; 0 or the last error.
DWORD TryAppend(const std::wstring& path, const std::string& line) {
    const ULONGLONG begin = GetTickCount64();
    DWORD error = 0;
    for (;;) {
        const korvex::platform::UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA, 0, nullptr,
                                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            // A copy that died in the middle of its line left it without an end: start on a new one.
            std::string text = line;
            LARGE_INTEGER size{};
            if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
                LARGE_INTEGER last{};
                last.QuadPart = size.QuadPart - 1;
                char c = '\n';
                DWORD read = 0;
                if (SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN) &&
                    ReadFile(file.get(), &c, 1, &read, nullptr) && read == 1 && c != '\n')
                    text.insert(text.begin(), '\n');
            }
            DWORD written = 0;
            if (WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                written == text.size())
                return 0;
            error = GetLastError();
            if (error == 0) error = ERROR_WRITE_FAULT;
            // Part of the line may be in: the next try begins with a line end (see above).
        } else {
            error = GetLastError();
        }
        if (GetTickCount64() - begin >= RetryLimit(error)) return error;
        Sleep(10);
    }
}

// Several copies may start at once. They append one after another under a mutex named after the
// log (see LogLock.h), each line whole with a single write; the log is also opened without
// sharing, so a reader never sees half a line.
int AppendLine(const std::wstring& path, const std::string& line) {
    const korvex::platform::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, korvex::FakeBatLogMutexName(path).c_str()));
    bool owned = false;
    if (mutex) {
        // An abandoned mutex is ours all the same: its holder ended, perhaps in the middle of a line.
        const DWORD wait = WaitForSingleObject(mutex.get(), kPatienceMs);
        owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    // Without the mutex the unshared open still keeps lines whole; it only queues less fairly.
    const DWORD error = TryAppend(path, line);
    if (owned) ReleaseMutex(mutex.get());
    if (error == 0) return 0;

    // Never silent: the line and the reason go to a second file beside the log.
    const std::string note =
        "{\"error\":" + std::to_string(error) + ",\"line\":" + std::to_string(line.size()) + "}\t" + line;
    return TryAppend(path + L".failed", note) == 0 ? kFallback : kLost;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring raw = GetCommandLineW();
    const auto cmd = korvex::ParseMailCommand(raw);
    return AppendLine(LogPath(), korvex::MailCommandJson(raw, cmd, CreationTime()) + "\n");
}
