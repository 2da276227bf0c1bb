#pragma once
// korvex.exe as a process in the build's own prefix: a copy of it in a temp folder, the client's
// registry key set up by the test, and its windows found and answered like a user would.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPrefixGuard.h"
#include "TestSupport.h"
#include "UniqueResource.h"

namespace korvex::test {

inline constexpr wchar_t kClientKey[] = L"Software\\RIT\\The Bat!";

inline std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}
inline std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A top-level window of the process with the given class, once it is visible.
inline HWND WaitForWindow(DWORD pid, const std::wstring& className) {
    struct Search {
        DWORD pid;
        const std::wstring* className;
        HWND found;
    } search{pid, &className, nullptr};
    WaitFor([&] {
        EnumWindows(
            [](HWND w, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == s->pid && IsWindowVisible(w) && ClassOf(w) == *s->className) {
                    s->found = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

inline std::vector<HWND> Children(HWND parent, const wchar_t* className) {
    std::vector<HWND> found;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == className) found.push_back(c);
    return found;
}

// The first window of the class among all descendants of parent.
inline HWND FindDescendant(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (ClassOf(w) == s->className) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    void RegisterClient() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kClientKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        const std::wstring exe = FakeBatPath();
        RegSetValueExW(key, L"EXE path", 0, REG_SZ, reinterpret_cast<const BYTE*>(exe.c_str()),
                       static_cast<DWORD>((exe.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    void RegisterMailbox(const wchar_t* name, const std::wstring& data) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kClientKey) + L"\\Users depot").c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
    void Start() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + (dir / L"korvex.exe") + L"\"";
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(
            CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &info));
        process.reset(info.hProcess);
        thread.reset(info.hThread);
        pid = info.dwProcessId;
    }
    DWORD WaitForExit() {
        if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) return 0xDEAD;
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        return code;
    }
    // The settings file beside the copy of the program.
    std::wstring IniPath() const { return dir / L"korvex.ini"; }

    // The keys of [Main] in the file's order, from the UTF-16 file the program creates.
    std::vector<std::pair<std::wstring, std::wstring>> MainKeys() const {
        const platform::UniqueFile file(
            CreateFileW(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        std::string bytes(file ? GetFileSize(file.get(), nullptr) : 0, '\0');
        DWORD read = 0;
        if (!bytes.empty()) ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        std::vector<std::pair<std::wstring, std::wstring>> keys;
        if (read < 2 || bytes.substr(0, 2) != "\xFF\xFE") return keys;
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (read - 2) / 2);
        bool inMain = false;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find(L"\r\n", start);
            if (end == std::wstring::npos) end = text.size();
            const std::wstring line = text.substr(start, end - start);
            start = end + 2;
            if (line.starts_with(L"["))
                inMain = line == L"[Main]";
            else if (inMain && line.find(L'=') != std::wstring::npos)
                keys.emplace_back(line.substr(0, line.find(L'=')), line.substr(line.find(L'=') + 1));
        }
        return keys;
    }
    void WriteIni(const std::wstring& text) const {
        std::string bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
        WriteBytes(IniPath(), bytes);
    }
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
    // The text of a control of the other process: WM_GETTEXT is carried across, GetWindowText is not.
    static std::wstring ControlText(HWND w) {
        wchar_t text[512] = {};
        SendMessageW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
        return text;
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
        EXPECT_EQ(TextOf(box), caption);
        std::vector<std::wstring> texts;
        for (HWND s : Children(box, L"Static"))
            if (!TextOf(s).empty()) texts.push_back(TextOf(s));
        EXPECT_EQ(texts, std::vector<std::wstring>{text});
        std::vector<std::wstring> captions;
        HWND target = nullptr;
        for (HWND b : Children(box, L"Button")) {
            captions.push_back(TextOf(b));
            if (TextOf(b) == click) target = b;
        }
        EXPECT_EQ(captions, buttons);
        ASSERT_NE(target, nullptr);
        PostMessageW(target, BM_CLICK, 0, 0);
    }
};

}  // namespace korvex::test
