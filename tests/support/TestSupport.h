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
#include "SendDispatch.h"
#include "UniqueResource.h"

namespace korvex::test {

// A fresh folder under the temp folder, removed with everything in it at the end (a process that
// is inside it as its current folder is moved out first). The first one of a process also removes
// what earlier runs left behind: korvex-test folders of processes that no longer run.
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

// Removes the folder and everything in it, read-only entries included; retries entries that are
// busy for a moment. False when something could not be removed.
bool RemoveTree(const std::wstring& path);
// Removes the korvex-test folders under the temp folder whose process no longer runs.
void RemoveStaleTempDirs();
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
    // A value of any type with exactly these bytes (no terminator added).
    void SetRaw(std::wstring_view subKey, std::wstring_view name, DWORD type, std::string_view bytes) const;

private:
    std::wstring path_;
};

// Answers message boxes in-process and remembers what was asked.
class FakePrompter final : public ui::Prompter {
public:
    ui::MessageResult Show(HWND owner, const ui::MessageSpec& box) override;
    std::vector<ui::MessageSpec> shown;
    std::vector<ui::MessageResult> answers;  // taken from the front; the default button when none is left
};

// Waits for a condition with a bound; true when it came.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(30));

// Starts processes as the program does (platform::StartProcess) and keeps what it started: the
// command lines of the starts that succeeded and the processes' handles, to wait for them. Starts
// the system refused are counted apart, by error: Wine refuses some of many starts at once
// (ERROR_INTERNAL_ERROR) when the machine is busy.
class StartRecorder {
public:
    StartRecorder() = default;
    StartRecorder(const StartRecorder&) = delete;
    StartRecorder& operator=(const StartRecorder&) = delete;
    ~StartRecorder();  // waits a bounded time for what it started, so nothing is left writing

    // A starter for TMainFormConfig::startProcess; it refers to this recorder.
    ProcessStarter Starter();
    std::uint32_t Start(std::wstring_view application, std::wstring_view commandLine);

    std::size_t Started() const { return commands_.size(); }
    std::size_t Refused() const;
    // The errors of the refused starts, as "error ×count" texts.
    std::wstring RefusedErrors() const;
    const std::vector<std::wstring>& Commands() const { return commands_; }
    // Waits until every started process has ended; false when the limit came first.
    bool WaitForExit(std::chrono::milliseconds limit = std::chrono::minutes(2)) const;
    std::size_t Running() const;
    // The exit codes of the ended processes that did not end with 0, as "code ×count" texts.
    std::wstring UnusualExits() const;

private:
    std::vector<std::wstring> commands_;
    std::vector<platform::UniqueHandle> processes_;
    std::map<DWORD, std::size_t> refused_;
};
// Says in the test's output how many of the recorder's starts the system refused, and why, if any.
void ReportRefusedStarts(const StartRecorder& starts);

// One line of the stand-in client's log, its fields as texts (arrays joined by "|").
using LogLine = std::map<std::string, std::wstring>;
// The whole lines of the log; a line that is not a whole JSON object is left out.
std::vector<LogLine> ReadFakeBatLog(const std::wstring& path);
// The log lines once count of them are there, ordered by the starts of their processes. Throws,
// with a message that says what is missing, when fewer lines are there once no stand-in runs.
std::vector<LogLine> WaitForFakeBatLog(const std::wstring& path, std::size_t count);
// The log lines of exactly the starts the recorder made, once all its processes have ended,
// ordered by those starts. Throws at once, naming the starts whose lines are missing (and what
// the stand-in said about them), when a line is missing.
std::vector<LogLine> WaitForFakeBatLog(const std::wstring& path, const StartRecorder& starts);

std::wstring FakeBatPath();

// --- input and the message queue
// A mouse input at a screen point in absolute coordinates (relative moves are accelerated), with
// the given button flags added to the move.
INPUT AbsoluteMouseInput(POINT at, DWORD flags = 0);
// The real mouse moved to a screen point (with a button pressed or released, by flags).
void MouseTo(POINT at, DWORD flags = 0);
// Dispatches every message waiting in this thread's queue.
void PumpPending();

// --- registry
// Writes a value under root\\path, making the key as needed: text (REG_SZ, an empty name for the
// key's default value), or any type's raw bytes. False when the system refuses.
bool WriteRegistryText(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);
bool WriteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type,
                        std::string_view bytes);

// --- windows
// A window's text, whichever process it belongs to (WM_GETTEXT is carried across processes).
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
// The first of parent's descendants (in EnumChildWindows' order) for which match is true.
HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match);
// The first descendant of the class; the first with the class and the control id.
HWND FindDescendant(HWND parent, std::wstring_view className);
HWND FindDescendant(HWND parent, std::wstring_view className, int id);
// parent's own child windows of the class (not their descendants), in z order.
std::vector<HWND> ChildrenOfClass(HWND parent, std::wstring_view className);
// The top-level windows for which match is true, in z order.
std::vector<HWND> TopLevelWindows(const std::function<bool(HWND)>& match);
// The top-level windows of a process (or a thread of this process: threadId) of the class.
std::vector<HWND> ProcessWindows(DWORD processId, std::wstring_view className);
std::vector<HWND> ThreadWindows(DWORD threadId, std::wstring_view className);

// --- settings files
using KeyValues = std::vector<std::pair<std::wstring, std::wstring>>;
// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
// A settings file's text: UTF-16LE after its byte-order mark, else the ANSI code page; none when
// utf16Only and the file has no mark.
std::wstring IniFileText(const std::wstring& path, bool utf16Only = false);
// The keys of one section of a settings file, in the file's order.
KeyValues IniSection(const std::wstring& path, const std::wstring& section, bool utf16Only = false);
// Writes the text as a UTF-16LE file with its byte-order mark, as the program keeps its settings.
void WriteUtf16File(const std::wstring& path, const std::wstring& text);
// The [Main] section a first run writes when the window is closed in its normal state at r.
KeyValues FirstRunMainSection(const RECT& r);
// Whether a process of this file name ("fakebat.exe", no folder; case ignored) runs now.
bool ProcessRunning(std::wstring_view exeName);

}  // namespace korvex::test
