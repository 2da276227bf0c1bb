#pragma once
// korvex.exe as a process in the build's own prefix: a copy of it in a temp folder, the client's
// registry key set up by the test, and its windows found and answered like a user would.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "TestPrefixGuard.h"
#include "TestSupport.h"
#include "UniqueResource.h"
#include "Utf8.h"

namespace korvex::test {

inline constexpr wchar_t kClientKey[] = L"Software\\RIT\\The Bat!";

// Bounds for what a started korvex.exe does: generous, for a machine that runs many Wine
// processes at once; a passing wait ends as soon as its condition holds.
inline constexpr std::chrono::seconds kProcessBound{90};

// A top-level window of the process with the given class, once it is visible.
inline HWND WaitForWindow(DWORD pid, const std::wstring& className) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND w : ProcessWindows(pid, className))
                if (IsWindowVisible(w)) return (found = w) != nullptr;
            return false;
        },
        kProcessBound);
    return found;
}

// Starts a process with the command line in folder. Under a loaded Wine a start has failed now
// and then with the program plainly there; the start is what a fixture needs, not what a test is
// about: it is tried again until it starts, within a bound, and each refusal is said in the log.
// False, with the last error kept, when none started.
inline bool StartProcess(std::wstring commandLine, const std::wstring& folder, PROCESS_INFORMATION& info) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    DWORD error = 0;
    const bool started = WaitFor(
        [&] {
            if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                               &info))
                return true;
            error = GetLastError();
            std::fprintf(stderr, "start failed with error %lu; trying again\n", error);
            return false;
        },
        std::chrono::seconds(10));
    if (!started) SetLastError(error);
    return started;
}

class KorvexProcess : public ::testing::Test {
protected:
    TempDir dir;
    platform::UniqueHandle process;
    platform::UniqueHandle thread;
    DWORD pid = 0;

    bool ownPrefix = false;  // the client's key is touched only inside the build's own prefix

    void SetUp() override {
        if (const auto refusal = NotInOwnTestPrefix()) GTEST_FAIL() << std::string(refusal->begin(), refusal->end());
        ownPrefix = true;
        RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey);
        ASSERT_TRUE(CopyFileW((ExeDir() + L"korvex.exe").c_str(), (dir / L"korvex.exe").c_str(), FALSE));
    }
    void TearDown() override {
        if (process) TerminateProcess(process.get(), 99);
        if (ownPrefix) RegDeleteTreeW(HKEY_CURRENT_USER, kClientKey);
    }
    void RegisterClient() { WriteRegistryText(HKEY_CURRENT_USER, kClientKey, L"EXE path", FakeBatPath()); }
    void RegisterMailbox(const wchar_t* name, const std::wstring& data) {
        WriteRegistryText(HKEY_CURRENT_USER, std::wstring(kClientKey) + L"\\Users depot", name, data);
    }
    void Start() {
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(StartProcess(L"\"" + (dir / L"korvex.exe") + L"\"", dir.Path(), info))
            << "error " << GetLastError();
        process.reset(info.hProcess);
        thread.reset(info.hThread);
        pid = info.dwProcessId;
    }
    DWORD WaitForExit() {
        if (WaitForSingleObject(process.get(), static_cast<DWORD>(std::chrono::milliseconds(kProcessBound).count())) !=
            WAIT_OBJECT_0)
            return 0xDEAD;
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        return code;
    }
    // The settings file beside the copy of the program.
    std::wstring IniPath() const { return dir / L"korvex.ini"; }

    // The keys of [Main] in the file's order, from the UTF-16 file the program creates.
    KeyValues MainKeys() const { return IniSection(IniPath(), L"Main", true); }
    void WriteIni(const std::wstring& text) const { WriteUtf16File(IniPath(), text); }
    HWND StartMainWindow() {
        Start();
        const HWND main = WaitForWindow(pid, L"KorvexMainForm");
        EXPECT_NE(main, nullptr);
        return main;
    }
    std::wstring Key(const std::wstring& name) const {
        for (const auto& [key, value] : MainKeys())
            if (key == name) return value;
        return L"<missing>";
    }
    static RECT RectOf(HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    }
    // Reads the box: caption, its one text and its buttons' captions; then clicks the named button.
    void AnswerBox(const std::wstring& caption, const std::wstring& text, std::vector<std::wstring> buttons,
                   const std::wstring& click) {
        const HWND box = WaitForWindow(pid, L"#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), caption);
        std::vector<std::wstring> texts;
        for (HWND s : ChildrenOfClass(box, L"Static"))
            if (!WindowText(s).empty()) texts.push_back(WindowText(s));
        EXPECT_EQ(texts, std::vector<std::wstring>{text});
        ASSERT_TRUE(ClickBoxButton(box, click, buttons)) << EncodeUtf8(click);
    }
    // Checks the captions of the box's buttons, in their order, and clicks the one named click;
    // false when no button has that name.
    static bool ClickBoxButton(HWND box, const std::wstring& click, const std::vector<std::wstring>& buttons) {
        std::vector<std::wstring> captions;
        HWND target = nullptr;
        for (HWND b : ChildrenOfClass(box, L"Button")) {
            captions.push_back(WindowText(b));
            if (WindowText(b) == click) target = b;
        }
        EXPECT_EQ(captions, buttons);
        if (target) PostMessageW(target, BM_CLICK, 0, 0);
        return target != nullptr;
    }
};

}  // namespace korvex::test
