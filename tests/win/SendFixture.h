#pragma once
// A main window ready to send whose starts are recorded: the stand-in client's processes are
// counted and waited for, so a missing log line fails at once and by name.

#include "FormFixture.h"

namespace korvex::test {

class SendFixture : public FormFixture {
protected:
    std::wstring log;
    StartRecorder starts;

    void SetUp() override {
        log = files / L"fakebat-log.jsonl";
        SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
    }
    void TearDown() override { SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", nullptr); }

    // The window over the registry key as the test left it; starts go to starter (the recorder's
    // real starts when empty).
    bool CreateSendForm(ProcessStarter starter = {}) {
        TMainFormConfig config = Config();
        config.startProcess = starter ? std::move(starter) : starts.Starter();
        if (!CreateForm(std::move(config))) return false;
        form->Show(SW_SHOWNORMAL);
        return true;
    }
    void CreateReadySendForm(ProcessStarter starter = {}) {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook("a@example.com\r\n");
        ASSERT_TRUE(CreateSendForm(std::move(starter)));
    }

    void AddFiles(std::initializer_list<std::wstring> names) {
        for (const auto& name : names) {
            WriteBytes(files / name, "x");
            form->AddPath(files / name, false);
        }
    }
    void Fill(const std::wstring& mailbox, const std::wstring& address, const std::wstring& subject) {
        form->ComboAccaunts.SetText(mailbox);
        form->EditAdress.SetText(address);
        form->EditSubj1.SetText(subject);
    }
    void Press() { SendMessageW(form->btMakeQuery.Handle(), BM_CLICK, 0, 0); }

    // What a send may not change: the send list and every input.
    struct Inputs {
        std::vector<std::wstring> files;
        std::wstring mailbox, address, subject;
        bool edit;
        bool operator==(const Inputs&) const = default;
    };
    Inputs CurrentInputs() const {
        return {FileNames(), form->ComboAccaunts.Text(), form->EditAdress.Text(), form->EditSubj1.Text(),
                form->CheckBoxEdit.Checked()};
    }
};

}  // namespace korvex::test
