// Stand-in for the mail client in tests and the demo: it sends nothing, it only appends one JSON
// line per command to a log (path from KORVEX_FAKEBAT_LOG, else fakebat-log.jsonl beside the exe).
// A line that cannot be appended is never dropped silently: it goes to "<log>.failed" with the
// reason, and the exit code says so.
//
// By default every start logs its own command and ends. With KORVEX_FAKEBAT_SINGLE set to a number
// of milliseconds it behaves like the real single-instance client: the first start takes that long
// to come up, logs its command, and then stays, logging the commands that later starts hand to its
// hidden window (WM_COPYDATA) in the order they arrive; it ends at WM_CLOSE or after
// KORVEX_FAKEBAT_IDLE_MS (default 20,000) without a command. A later start that finds no client
// window within a few seconds logs its command itself, marked lost, and ends with kLostCommand.

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

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
constexpr int kLostCommand = 7;  // single-instance mode: no running client took the command

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

std::string LineOf(std::wstring_view raw, std::uint64_t created, bool lost = false) {
    return korvex::MailCommandJson(raw, korvex::ParseMailCommand(raw), created, lost) + "\n";
}

// A number from the environment, or nothing when the variable is not set or not a number.
std::optional<DWORD> EnvironmentNumber(const wchar_t* name) {
    wchar_t buf[32];
    const DWORD n = GetEnvironmentVariableW(name, buf, 32);
    if (n == 0 || n >= 32) return std::nullopt;
    DWORD value = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (buf[i] < L'0' || buf[i] > L'9') return std::nullopt;
        value = value * 10 + static_cast<DWORD>(buf[i] - L'0');
    }
    return value;
}

// How long a later start looks for the running client's window.
constexpr DWORD kFindPatienceMs = 3000;
// How long a later start waits for the client to take its command.
constexpr UINT kHandOverMs = 10000;

// What the client's window procedure needs.
struct ClientState {
    std::wstring log;
    ULONGLONG lastCommand = 0;
    DWORD idleMs = 20000;
    int exitCode = 0;
};
ClientState* g_client = nullptr;

// What a later start hands over: its process's creation time, then its command line.
struct HandOver {
    std::uint64_t created;
    wchar_t raw[1];
};

LRESULT CALLBACK ClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (!data || data->cbData < sizeof(std::uint64_t)) return FALSE;
            std::uint64_t created = 0;
            std::memcpy(&created, data->lpData, sizeof created);
            const std::size_t chars = (data->cbData - sizeof created) / sizeof(wchar_t);
            const std::wstring raw(
                reinterpret_cast<const wchar_t*>(static_cast<const char*>(data->lpData) + sizeof created), chars);
            g_client->lastCommand = GetTickCount64();
            const int result = AppendLine(g_client->log, LineOf(raw, created));
            if (result != 0) g_client->exitCode = result;
            return TRUE;
        }
        case WM_TIMER:
            if (GetTickCount64() - g_client->lastCommand >= g_client->idleMs) DestroyWindow(window);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, msg, wParam, lParam);
    }
}

int RunClient(const std::wstring& log, const std::wstring& raw, DWORD startupMs) {
    Sleep(startupMs);  // coming up: no window, no message queue yet
    ClientState state{log, GetTickCount64(), EnvironmentNumber(L"KORVEX_FAKEBAT_IDLE_MS").value_or(20000), 0};
    g_client = &state;
    state.exitCode = AppendLine(log, LineOf(raw, CreationTime()));
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ClientProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = korvex::kFakeBatClientClass;
    RegisterClassW(&wc);
    const std::wstring title = korvex::FakeBatClientTitle(log);
    const HWND window = CreateWindowExW(0, korvex::kFakeBatClientClass, title.c_str(), WS_OVERLAPPED, 0, 0, 0, 0,
                                        nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return kLost;
    SetTimer(window, 1, 200, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return state.exitCode;
}

int HandToClient(const std::wstring& log, const std::wstring& raw) {
    const std::uint64_t created = CreationTime();
    const std::wstring title = korvex::FakeBatClientTitle(log);
    const ULONGLONG begin = GetTickCount64();
    for (;;) {
        if (const HWND client = FindWindowW(korvex::kFakeBatClientClass, title.c_str())) {
            std::vector<char> payload(sizeof created + raw.size() * sizeof(wchar_t));
            std::memcpy(payload.data(), &created, sizeof created);
            std::memcpy(payload.data() + sizeof created, raw.data(), raw.size() * sizeof(wchar_t));
            COPYDATASTRUCT data{};
            data.cbData = static_cast<DWORD>(payload.size());
            data.lpData = payload.data();
            DWORD_PTR taken = 0;
            if (SendMessageTimeoutW(client, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kHandOverMs,
                                    &taken) &&
                taken)
                return 0;
            break;
        }
        if (GetTickCount64() - begin >= kFindPatienceMs) break;
        Sleep(20);
    }
    const int result = AppendLine(log, LineOf(raw, created, true));
    return result == 0 ? kLostCommand : result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring raw = GetCommandLineW();
    const std::wstring log = LogPath();
    const auto startupMs = EnvironmentNumber(L"KORVEX_FAKEBAT_SINGLE");
    if (!startupMs) return AppendLine(log, LineOf(raw, CreationTime()));
    // The first start creates the mutex and is the client for as long as it runs.
    const korvex::platform::UniqueHandle first(
        CreateMutexW(nullptr, FALSE, korvex::FakeBatClientMutexName(log).c_str()));
    if (first && GetLastError() != ERROR_ALREADY_EXISTS) return RunClient(log, raw, *startupMs);
    return HandToClient(log, raw);
}
