#include "TestSupport.h"

#include <winioctl.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "FileSystem.h"
#include "UniqueResource.h"
#include "Utf8.h"

namespace korvex::test {

namespace {
std::wstring UniqueName(std::wstring_view prefix) {
    static std::atomic<unsigned> counter{0};
    return std::wstring(prefix) + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()) +
           L"-" + std::to_wstring(counter++);
}
}  // namespace

TempDir::TempDir() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    path_ = std::wstring(buffer, n) + UniqueName(L"korvex-test-") + L"\\";
    MakeDir(path_);
}

TempDir::~TempDir() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    const std::wstring folder = path.back() == L'\\' ? path : path + L"\\";
    platform::EnumerateDirectory(folder + L"*", [&](const WIN32_FIND_DATAW& found) {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") return;
        const std::wstring child = folder + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            RemoveTree(child);
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveDirectoryW(platform::ToApiPath(child).c_str());
        } else {
            SetFileAttributesW(platform::ToApiPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(platform::ToApiPath(child).c_str());
        }
    });
    RemoveDirectoryW(platform::ToApiPath(folder).c_str());
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

namespace {
platform::UniqueKey CreateKey(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("RegCreateKeyEx failed");
    return platform::UniqueKey(key);
}
std::wstring Join(const std::wstring& path, std::wstring_view sub) {
    return sub.empty() ? path : path + L"\\" + std::wstring(sub);
}
}  // namespace

void TestRegistryKey::SetText(std::wstring_view subKey, std::wstring_view name, std::wstring_view value) const {
    const auto key = CreateKey(Join(path_, subKey));
    const std::wstring data(value);
    RegSetValueExW(key.get(), std::wstring(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void TestRegistryKey::SetDword(std::wstring_view subKey, std::wstring_view name, DWORD value) const {
    const auto key = CreateKey(Join(path_, subKey));
    RegSetValueExW(key.get(), std::wstring(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

ui::MessageResult FakePrompter::Show(HWND, const ui::MessageSpec& box) {
    shown.push_back(box);
    if (answers.empty()) return ui::MessageResult::Ok;
    const auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
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

std::vector<LogLine> ReadFakeBatLog(const std::wstring& path) {
    std::string bytes;
    try {
        bytes = platform::ReadFileBytes(path);
    } catch (const std::exception&) {
        return {};
    }
    std::vector<LogLine> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(JsonReader(std::string_view(bytes).substr(start, end - start)).Object());
    return lines;
}

std::vector<LogLine> WaitForFakeBatLog(const std::wstring& path, std::size_t count) {
    std::vector<LogLine> lines;
    WaitFor([&] {
        lines = ReadFakeBatLog(path);
        return lines.size() >= count;
    });
    std::stable_sort(lines.begin(), lines.end(), [](const LogLine& a, const LogLine& b) {
        return std::stoull(a.at("created")) < std::stoull(b.at("created"));
    });
    return lines;
}

}  // namespace korvex::test
