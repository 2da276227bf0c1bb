#pragma once
// Helpers for the tests that run under Wine on real files, registry keys and processes.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Prompter.h"

namespace korvex::test {

// A fresh folder under the temp folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }  // ends in "\"
    std::wstring operator/(std::wstring_view name) const { return path_ + std::wstring(name); }

private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& path);
void MakeDir(const std::wstring& path);
void WriteBytes(const std::wstring& path, std::string_view bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
// A file of the given size that takes no room on disk.
void WriteSparse(const std::wstring& path, std::uint64_t size);
std::wstring ExeDir();
// Sets the last-write time of a file or folder to a local date and time.
void SetModified(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);

// A registry key of the test's own under HKCU\Software\KorvexTests, deleted at the end.
class TestRegistryKey {
public:
    explicit TestRegistryKey(std::wstring_view name);
    ~TestRegistryKey();
    const std::wstring& Path() const { return path_; }
    void SetText(std::wstring_view subKey, std::wstring_view name, std::wstring_view value) const;
    void SetDword(std::wstring_view subKey, std::wstring_view name, DWORD value) const;

private:
    std::wstring path_;
};

// Answers message boxes in-process and remembers what was asked.
class FakePrompter final : public ui::Prompter {
public:
    ui::MessageResult Show(HWND owner, const ui::MessageSpec& box) override;
    std::vector<ui::MessageSpec> shown;
    std::vector<ui::MessageResult> answers;  // taken from the front; Ok when none is left
};

// Waits for a condition with a bound; true when it came.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(30));

// One line of the stand-in client's log, its fields as texts (arrays joined by "|").
using LogLine = std::map<std::string, std::wstring>;
std::vector<LogLine> ReadFakeBatLog(const std::wstring& path);
// The log lines once count of them are there, ordered by the starts of their processes.
std::vector<LogLine> WaitForFakeBatLog(const std::wstring& path, std::size_t count);

std::wstring FakeBatPath();

}  // namespace korvex::test
