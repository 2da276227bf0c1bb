#pragma once
// A main window created in-process over a temp folder (standing in for the executable's folder),
// a registry key of the test's own and message boxes answered by the test.

#include <gtest/gtest.h>

#include <memory>

#include "MainForm.h"
#include "TestSupport.h"

namespace korvex::test {

class FormFixture : public ::testing::Test {
protected:
    TempDir exeDir;
    TempDir files;
    TestRegistryKey reg{L"form"};
    FakePrompter prompter;
    std::unique_ptr<TMainForm> form;

    // The client key with the stand-in as the client and the given mailboxes.
    void RegisterClient(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> mailboxes = {}) {
        reg.SetText(L"", L"EXE path", FakeBatPath());
        for (const auto& [name, data] : mailboxes) reg.SetText(L"Users depot", name, data);
    }
    void WriteAddressBook(std::string_view bytes) { WriteBytes(exeDir / L"adress.txt", bytes); }

    // A folder "set" of drawings: a, hidden, system, sub\ b, sub\deeper\ c, sub\ d, z.
    std::wstring MakeSet() {
        const std::wstring root = files / L"set";
        MakeDir(root);
        WriteBytes(root + L"\\a.dwg", "a");
        WriteBytes(root + L"\\hidden.dwg", "h", FILE_ATTRIBUTE_HIDDEN);
        WriteBytes(root + L"\\system.dwg", "s", FILE_ATTRIBUTE_SYSTEM);
        MakeDir(root + L"\\sub");
        WriteBytes(root + L"\\sub\\b.dwg", "b");
        MakeDir(root + L"\\sub\\deeper");
        WriteBytes(root + L"\\sub\\deeper\\c.dwg", "c");
        WriteBytes(root + L"\\sub\\d.dwg", "d");
        WriteBytes(root + L"\\z.dwg", "z");
        return root;
    }

    // The window's configuration over the fixture's folder, key and prompter.
    TMainFormConfig Config() {
        TMainFormConfig config;
        config.clientKey = reg.Path();
        config.exePath = exeDir / L"korvex.exe";
        config.prompter = &prompter;
        config.quitOnDestroy = false;
        return config;
    }
    bool CreateForm(TMainFormConfig config) {
        form = std::make_unique<TMainForm>(std::move(config));
        return form->Create();
    }
    // The window over the fixture's folder; the client key is the fixture's own unless given.
    bool CreateForm(const std::wstring& clientKey = {}) {
        TMainFormConfig config = Config();
        if (!clientKey.empty()) config.clientKey = clientKey;
        return CreateForm(std::move(config));
    }
    // A window ready to send: client registered, an address book present.
    void CreateReadyForm() {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook("a@example.com\r\n");
        ASSERT_TRUE(CreateForm());
        form->Show(SW_SHOWNORMAL);
    }
    std::vector<std::wstring> FileNames() const {
        std::vector<std::wstring> names;
        for (const auto& e : form->SendEntries().Entries()) names.push_back(e.fileName);
        return names;
    }
};

}  // namespace korvex::test
