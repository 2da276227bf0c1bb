#include "TestSupport.h"

#include <winioctl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "FileSystem.h"
#include "Process.h"
#include "TextConversion.h"
#include "UniqueResource.h"
#include "Utf8.h"

namespace korvex::test {

namespace {
std::wstring UniqueName(std::wstring_view prefix) {
    static std::atomic<unsigned> counter{0};
    return std::wstring(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) +
           L"-" + std::to_wstring(counter++);
}

constexpr std::wstring_view kTempPrefix = L"korvex-test-";

std::wstring TempRoot() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, n);
}

std::wstring WithBackslash(const std::wstring& path) {
    return !path.empty() && path.back() == L'\\' ? path : path + L"\\";
}

// The explorer makes the folder it lists the process's current one, and a current folder cannot
// be removed: step out of the tree first.
void LeaveIfCurrent(const std::wstring& folder) {
    wchar_t current[MAX_PATH + 1];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, current);
    if (n == 0 || n > MAX_PATH) return;
    const std::wstring here = WithBackslash(std::wstring(current, n));
    if (here.size() >= folder.size() &&
        CompareStringOrdinal(here.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                             static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL)
        SetCurrentDirectoryW(TempRoot().c_str());
}

// One pass over the tree: true when the folder is gone. The entries are listed before any is
// removed, since removing entries while a search runs may make it skip others.
bool RemovePass(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, DWORD>> children;
    platform::EnumerateDirectory(folder + L"*", [&](const WIN32_FIND_DATAW& found) {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") children.emplace_back(folder + name, found.dwFileAttributes);
    });
    for (const auto& [child, attributes] : children) {
        const std::wstring api = platform::ToApiPath(child);
        if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(api.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            RemovePass(child + L"\\");
        else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveDirectoryW(api.c_str());  // a link: the link goes, not what it leads to
        else
            DeleteFileW(api.c_str());
    }
    const std::wstring api = platform::ToApiPath(folder);
    SetFileAttributesW(api.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (RemoveDirectoryW(api.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool RemoveTree(const std::wstring& path) {
    const std::wstring folder = WithBackslash(path);
    LeaveIfCurrent(folder);
    // A file still open in another process (a stand-in writing its log) goes a moment later.
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (RemovePass(folder)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25 + 25 * (attempt % 4)));
    }
    return false;
}

void RemoveStaleTempDirs() {
    const std::wstring root = TempRoot();
    std::vector<std::pair<std::wstring, DWORD>> stale;
    platform::EnumerateDirectory(root + std::wstring(kTempPrefix) + L"*", [&](const WIN32_FIND_DATAW& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
        const std::wstring name = found.cFileName;
        // korvex-test-{process id}-{ticks}-{counter}
        const auto pid = static_cast<DWORD>(std::wcstoul(name.c_str() + kTempPrefix.size(), nullptr, 10));
        if (pid != 0 && pid != GetCurrentProcessId()) stale.emplace_back(root + name, pid);
    });
    for (const auto& [folder, pid] : stale) {
        // A folder of a process that runs (or of a new process with the same id) stays.
        const platform::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) continue;
        RemoveTree(folder);
    }
}

TempDir::TempDir() {
    static std::once_flag sweep;
    std::call_once(sweep, RemoveStaleTempDirs);
    path_ = TempRoot() + UniqueName(kTempPrefix) + L"\\";
    MakeDir(path_);
}

TempDir::~TempDir() {
    if (!RemoveTree(path_)) std::fprintf(stderr, "warning: could not remove %ls\n", path_.c_str());
}

void MakeDir(const std::wstring& path) {
    if (!CreateDirectoryW(platform::ToApiPath(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("CreateDirectory failed");
}

void WriteBytes(const std::wstring& path, std::string_view bytes, DWORD attributes) {
    platform::UniqueFile file(CreateFileW(platform::ToApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("CreateFile failed");
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    file.reset();
    if (attributes != FILE_ATTRIBUTE_NORMAL) SetFileAttributesW(platform::ToApiPath(path).c_str(), attributes);
}

void WriteSparse(const std::wstring& path, std::uint64_t size) {
    platform::UniqueFile file(CreateFileW(platform::ToApiPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("CreateFile failed");
    DWORD unused = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
    if (!SetEndOfFile(file.get())) throw std::runtime_error("SetEndOfFile failed");
}

void SetModified(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0}, utc{};
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    FILETIME time{};
    SystemTimeToFileTime(&utc, &time);
    platform::UniqueFile file(CreateFileW(platform::ToApiPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file || !SetFileTime(file.get(), nullptr, nullptr, &time)) throw std::runtime_error("SetFileTime failed");
}

std::wstring ExeDir() {
    std::wstring path = platform::ModuleFileName();
    path.erase(path.find_last_of(L'\\') + 1);
    return path;
}

std::wstring FakeBatPath() {
    return ExeDir() + L"fakebat.exe";
}

TestRegistryKey::TestRegistryKey(std::wstring_view name)
    : path_(L"Software\\KorvexTests\\" + UniqueName(std::wstring(name) + L"-")) {}

TestRegistryKey::~TestRegistryKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

bool WriteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                        std::string_view bytes) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const platform::UniqueKey owned(key);
    return RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool WriteRegistryText(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value) {
    return WriteRegistryValue(
        root, path, name, REG_SZ,
        std::string_view(reinterpret_cast<const char*>(value.c_str()), (value.size() + 1) * sizeof(wchar_t)));
}

namespace {
std::wstring Join(const std::wstring& path, std::wstring_view sub) {
    return sub.empty() ? path : path + L"\\" + std::wstring(sub);
}
void Require(bool written) {
    if (!written) throw std::runtime_error("writing the test's registry key failed");
}
}  // namespace

void TestRegistryKey::SetText(std::wstring_view subKey, std::wstring_view name, std::wstring_view value) const {
    Require(WriteRegistryText(HKEY_CURRENT_USER, Join(path_, subKey), std::wstring(name), std::wstring(value)));
}

void TestRegistryKey::SetRaw(std::wstring_view subKey, std::wstring_view name, DWORD type,
                             std::string_view bytes) const {
    Require(WriteRegistryValue(HKEY_CURRENT_USER, Join(path_, subKey), std::wstring(name), type, bytes));
}

void TestRegistryKey::SetDword(std::wstring_view subKey, std::wstring_view name, DWORD value) const {
    Require(WriteRegistryValue(HKEY_CURRENT_USER, Join(path_, subKey), std::wstring(name), REG_DWORD,
                               std::string_view(reinterpret_cast<const char*>(&value), sizeof value)));
}

ui::MessageResult FakePrompter::Show(HWND, const ui::MessageSpec& box) {
    shown.push_back(box);
    // Unanswered, a box takes its default button, as Enter would.
    if (answers.empty())
        return box.buttons == ui::MessageButtons::Choices ? ui::ChoiceResult(box.defaultChoice) : ui::MessageResult::Ok;
    const auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        PumpPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

namespace {

// Reads the flat JSON objects the stand-in writes: string, bool, number and string-array values.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : s_(text) {}
    LogLine Object() {
        LogLine line;
        Expect('{');
        while (Peek() != '}') {
            const std::string key = String();
            Expect(':');
            line[key] = Value();
            if (Peek() == ',') ++i_;
        }
        return line;
    }

private:
    char Peek() {
        while (i_ < s_.size() && s_[i_] == ' ') ++i_;
        if (i_ >= s_.size()) throw std::runtime_error("truncated JSON");
        return s_[i_];
    }
    void Expect(char c) {
        if (Peek() != c) throw std::runtime_error("malformed JSON");
        ++i_;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (s_.at(i_) != '"') {
            char c = s_[i_++];
            if (c == '\\') {
                c = s_.at(i_++);
                switch (c) {
                    case 'n': out += '\n'; break;
                    case 'r': out += '\r'; break;
                    case 't': out += '\t'; break;
                    case 'u':
                        out += static_cast<char>(std::stoi(std::string(s_.substr(i_, 4)), nullptr, 16));
                        i_ += 4;
                        break;
                    default: out += c;
                }
            } else {
                out += c;
            }
        }
        ++i_;
        return out;
    }
    std::wstring Value() {
        const char c = Peek();
        if (c == '"') return *DecodeUtf8(String());
        if (c == '[') {
            ++i_;
            std::wstring joined;
            bool first = true;
            while (Peek() != ']') {
                if (!first) joined += L"|";
                joined += *DecodeUtf8(String());
                first = false;
                if (Peek() == ',') ++i_;
            }
            ++i_;
            return joined;
        }
        const auto start = i_;
        while (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '}') ++i_;
        return *DecodeUtf8(s_.substr(start, i_ - start));
    }
    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

bool ProcessRunning(std::wstring_view exeName) {
    const platform::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        const std::wstring_view exe = entry.szExeFile;
        const auto slash = exe.find_last_of(L"\\/");
        const std::wstring_view name = slash == std::wstring_view::npos ? exe : exe.substr(slash + 1);
        if (CompareStringOrdinal(name.data(), static_cast<int>(name.size()), exeName.data(),
                                 static_cast<int>(exeName.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

std::vector<LogLine> ReadFakeBatLog(const std::wstring& path) {
    std::string bytes;
    try {
        bytes = platform::ReadFileBytes(path);
    } catch (const std::exception&) {
        return {};
    }
    std::vector<LogLine> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        try {
            lines.push_back(JsonReader(std::string_view(bytes).substr(start, end - start)).Object());
        } catch (const std::exception&) {
            // the rest of a line its writer did not finish: no start of its own
        }
    }
    return lines;
}

namespace {

std::string Narrow(std::wstring_view text) {
    return EncodeUtf8(text);
}

// What the stand-in wrote beside its log when it could not append (see tools/fakebat).
std::string FallbackNote(const std::wstring& log) {
    try {
        const std::string note = platform::ReadFileBytes(log + L".failed");
        return note.empty() ? std::string() : "; " + Narrow(log) + ".failed says: " + note.substr(0, 2000);
    } catch (const std::exception&) {
        return {};
    }
}

bool AnyFakeBatRunning() {
    return ProcessRunning(L"fakebat.exe");
}

void SortByStart(std::vector<LogLine>& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const LogLine& a, const LogLine& b) {
        return std::stoull(a.at("created")) < std::stoull(b.at("created"));
    });
}

}  // namespace

std::vector<LogLine> WaitForFakeBatLog(const std::wstring& path, std::size_t count) {
    // Without the starts at hand: wait for the lines, or until no stand-in has run for a while
    // (the program that starts them may be between two starts), then say what is missing.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    auto quietSince = std::chrono::steady_clock::now();
    std::vector<LogLine> lines;
    for (;;) {
        lines = ReadFakeBatLog(path);
        if (lines.size() >= count) break;
        const auto now = std::chrono::steady_clock::now();
        if (AnyFakeBatRunning()) quietSince = now;
        const bool quiet = now - quietSince > std::chrono::seconds(5);
        if (quiet || now > deadline) {
            lines = ReadFakeBatLog(path);
            if (lines.size() >= count) break;
            std::string present;
            for (const auto& line : lines)
                present += "\n  " + Narrow(line.count("attachments") ? line.at("attachments") : L"?");
            throw std::runtime_error("stand-in log " + Narrow(path) + ": " + std::to_string(lines.size()) + " of " +
                                     std::to_string(count) + " lines " +
                                     (quiet ? "after every stand-in ended" : "after two minutes") + FallbackNote(path) +
                                     "; lines present for:" + present);
        }
        PumpPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    SortByStart(lines);
    return lines;
}

std::vector<LogLine> WaitForFakeBatLog(const std::wstring& path, const StartRecorder& starts) {
    if (!starts.WaitForExit())
        throw std::runtime_error(std::to_string(starts.Running()) + " of " + std::to_string(starts.Started()) +
                                 " started stand-ins still run after two minutes (log " + Narrow(path) + ")");
    const std::vector<LogLine> all = ReadFakeBatLog(path);
    std::vector<bool> used(all.size(), false);
    std::vector<LogLine> lines;
    std::string missing;
    std::size_t missingCount = 0;
    for (const auto& command : starts.Commands()) {
        bool found = false;
        for (std::size_t i = 0; i < all.size() && !found; ++i) {
            if (used[i] || !all[i].count("raw") || all[i].at("raw") != command) continue;
            used[i] = found = true;
            lines.push_back(all[i]);
        }
        if (!found && ++missingCount <= 20) missing += "\n  " + Narrow(command);
    }
    if (missingCount > 0) {
        const std::wstring exits = starts.UnusualExits();
        throw std::runtime_error("stand-in log " + Narrow(path) + ": " + std::to_string(starts.Started()) +
                                 " starts, every one ended, but " + std::to_string(missingCount) + " have no line" +
                                 (exits.empty() ? "" : " (exit codes: " + Narrow(exits) + ")") + FallbackNote(path) +
                                 "; missing:" + missing);
    }
    return lines;
}

StartRecorder::~StartRecorder() {
    WaitForExit(std::chrono::seconds(30));
}

ProcessStarter StartRecorder::Starter() {
    return [this](std::wstring_view application, std::wstring_view commandLine) {
        return Start(application, commandLine);
    };
}

std::uint32_t StartRecorder::Start(std::wstring_view application, std::wstring_view commandLine) {
    platform::UniqueHandle process;
    const DWORD error = platform::StartProcess(application, commandLine, process);
    if (error == 0) {
        commands_.emplace_back(commandLine);
        processes_.push_back(std::move(process));
    } else {
        ++refused_[error];
    }
    return error;
}

std::size_t StartRecorder::Refused() const {
    std::size_t count = 0;
    for (const auto& [error, n] : refused_) count += n;
    return count;
}

bool StartRecorder::WaitForExit(std::chrono::milliseconds limit) const {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (const auto& process : processes_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (WaitForSingleObject(process.get(), static_cast<DWORD>(std::max<long long>(left.count(), 0))) !=
            WAIT_OBJECT_0)
            return false;
    }
    return true;
}

std::size_t StartRecorder::Running() const {
    return static_cast<std::size_t>(std::count_if(processes_.begin(), processes_.end(), [](const auto& process) {
        return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
    }));
}

namespace {

// "code ×count" for each code, in the codes' order.
std::wstring CountsText(const std::map<DWORD, std::size_t>& counts) {
    std::wstring text;
    for (const auto& [code, n] : counts)
        text += (text.empty() ? L"" : L", ") + std::to_wstring(code) + L" \u00D7" + std::to_wstring(n);
    return text;
}

}  // namespace

std::wstring StartRecorder::RefusedErrors() const {
    return CountsText(refused_);
}

void ReportRefusedStarts(const StartRecorder& starts) {
    if (starts.Refused() == 0) return;
    const std::string text = std::to_string(starts.Refused()) + " of " +
                             std::to_string(starts.Refused() + starts.Started()) +
                             " starts refused by the system (errors: " + EncodeUtf8(starts.RefusedErrors()) + ")";
    std::printf("%s\n", text.c_str());
}

std::wstring StartRecorder::UnusualExits() const {
    std::map<DWORD, std::size_t> codes;
    for (const auto& process : processes_) {
        DWORD code = 0;
        if (GetExitCodeProcess(process.get(), &code) && code != 0 && code != STILL_ACTIVE) ++codes[code];
    }
    return CountsText(codes);
}

std::string ReadBytes(const std::wstring& path) {
    const platform::UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

std::wstring IniFileText(const std::wstring& path, bool utf16Only) {
    const std::string bytes = ReadBytes(path);
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    return utf16Only ? std::wstring() : platform::WideFromAnsi(bytes);
}

KeyValues IniSection(const std::wstring& path, const std::wstring& section, bool utf16Only) {
    KeyValues keys;
    const std::wstring text = IniFileText(path, utf16Only);
    bool inside = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        start = end + 1;
        if (line.starts_with(L"[")) {
            inside = line == L"[" + section + L"]";
        } else if (const auto eq = line.find(L'='); inside && eq != std::wstring::npos) {
            keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return keys;
}

void WriteUtf16File(const std::wstring& path, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    WriteBytes(path, bytes);
}

KeyValues FirstRunMainSection(const RECT& r) {
    return {{L"Subject", L"Чертежи (часть %i / %n)"},
            {L"Path", L"c:\\"},
            {L"ViewStyle", L"2"},
            {L"Edit", L"0"},
            {L"Box", L"Office"},
            {L"Left", std::to_wstring(r.left)},
            {L"Top", std::to_wstring(r.top)},
            {L"Width", std::to_wstring(r.right - r.left)},
            {L"Height", std::to_wstring(r.bottom - r.top)},
            {L"WindowState", L"0"}};
}

std::wstring WindowText(HWND window) {
    const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{&match, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (!(*s->match)(w)) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOfClass(HWND parent, std::wstring_view className) {
    std::vector<HWND> found;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == className) found.push_back(c);
    return found;
}

std::vector<HWND> TopLevelWindows(const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>* match;
        std::vector<HWND> found;
    } search{&match, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if ((*s->match)(w)) s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ProcessWindows(DWORD processId, std::wstring_view className) {
    return TopLevelWindows([&](HWND w) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        return owner == processId && ClassOf(w) == className;
    });
}

std::vector<HWND> ThreadWindows(DWORD threadId, std::wstring_view className) {
    return TopLevelWindows(
        [&](HWND w) { return GetWindowThreadProcessId(w, nullptr) == threadId && ClassOf(w) == className; });
}

HWND FindDescendant(HWND parent, std::wstring_view className) {
    return FindDescendant(parent, [&](HWND w) { return ClassOf(w) == className; });
}

HWND FindDescendant(HWND parent, std::wstring_view className, int id) {
    return FindDescendant(parent, [&](HWND w) { return GetDlgCtrlID(w) == id && ClassOf(w) == className; });
}

INPUT AbsoluteMouseInput(POINT at, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(at.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(at.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void MouseTo(POINT at, DWORD flags) {
    INPUT in = AbsoluteMouseInput(at, flags);
    SendInput(1, &in, sizeof in);
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace korvex::test
