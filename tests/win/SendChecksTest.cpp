// What a send checks before its first start (the client path, the length of every command), what
// no registry value can do to the program, and a long send's progress with Esc.

#include <functional>

#include "SendFixture.h"

namespace korvex::test {
namespace {

bool Contains(const std::wstring& text, std::wstring_view part) {
    return text.find(part) != std::wstring::npos;
}

class SendChecks : public SendFixture {};

TEST_F(SendChecks, AClientPathThatCannotStartStopsTheSendWithOneMessage) {
    const std::wstring longFolder = L"C:\\" + std::wstring(1000, L'd');
    const std::wstring huge = L"C:\\" + std::wstring(100000, L'h') + L"\\client.exe";
    struct Case {
        const char* what;
        std::function<void()> set;
        std::vector<std::wstring> fragments;  // all in the message
    } const cases[] = {
        {"missing",
         [&] { reg.SetText(L"", L"EXE path", files / L"no-such-client.exe"); },
         {L"Почтовый клиент не найден", files / L"no-such-client.exe"}},
        {"a folder", [&] { reg.SetText(L"", L"EXE path", files.Path()); }, {L"указывает на папку", files.Path()}},
        {"a folder, no final backslash",
         [&] { reg.SetText(L"", L"EXE path", files.Path().substr(0, files.Path().size() - 1)); },
         {L"указывает на папку"}},
        {"1,014 characters",
         [&] { reg.SetText(L"", L"EXE path", longFolder + L"\\client.exe"); },
         {L"слишком длинный: 1014 символов", L"не длиннее 259", L"«C:\\ddd", L"\u2026", L"ddd\\client.exe»"}},
        {"260 characters",
         [&] { reg.SetText(L"", L"EXE path", L"C:\\" + std::wstring(253, L'e') + L".exe"); },
         {L"слишком длинный: 260 символов"}},
        {"100,000 characters",
         [&] { reg.SetText(L"", L"EXE path", huge); },
         {L"слишком длинный: 100014 символов", L"h\\client.exe»"}},
        // A value of the wrong type stops the client's reading at start-up; the window opens all
        // the same, with no client path.
        {"empty", [&] { reg.SetDword(L"", L"EXE path", 1); }, {L"пуст", L"EXE path"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form.reset();
        c.set();
        ASSERT_TRUE(CreateSendForm());  // no value may keep the window from opening
        AddFiles({L"a.dwg", L"b.dwg"});
        Fill(L"Office", L"a@b", L"s");
        form->CheckBoxEdit.SetChecked(true);
        const Inputs before = CurrentInputs();
        prompter.shown.clear();
        Press();
        EXPECT_EQ(starts.Started(), 0u);
        ASSERT_EQ(prompter.shown.size(), 1u);
        const std::wstring& text = prompter.shown[0].text;
        for (const auto& fragment : c.fragments) EXPECT_TRUE(Contains(text, fragment)) << fragment.substr(0, 80);
        EXPECT_TRUE(Contains(text, L"Ничего не отправлено"));
        EXPECT_LT(text.size(), 500u);  // a long path is shortened for the box
        EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Error);
        EXPECT_EQ(CurrentInputs(), before);
    }
    EXPECT_TRUE(ReadFakeBatLog(log).empty());
}

TEST_F(SendChecks, RegistryValuesOfAnyShapeGiveAClientPathThatWorks) {
    const std::wstring client = FakeBatPath();
    const std::string bytes(reinterpret_cast<const char*>(client.data()), client.size() * sizeof(wchar_t));
    const std::string nul(2, '\0');
    struct Case {
        const char* what;
        DWORD type;
        std::string data;
    } const cases[] = {
        {"no terminator", REG_SZ, bytes},
        {"an odd last byte", REG_SZ, bytes + "x"},
        {"text after a NUL", REG_SZ, bytes + nul + "j\0u\0n\0k\0"},
        {"several terminators", REG_EXPAND_SZ, bytes + nul + nul + nul},
    };
    RegisterClient({{L"User #0", L"Office"}});
    WriteAddressBook("a@example.com\r\n");
    WriteBytes(files / L"a.dwg", "x");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form.reset();
        reg.SetRaw(L"", L"EXE path", c.type, c.data);
        ASSERT_TRUE(CreateSendForm());
        EXPECT_EQ(form->ClientExePath(), client);
    }
    form->AddPath(files / L"a.dwg", false);
    Fill(L"Office", L"a@b", L"s");
    Press();
    const auto lines = WaitForFakeBatLog(log, starts);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at("program"), client);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SendChecks, CommandsAtAndJustOverTheSystemLimit) {
    CreateReadySendForm();
    AddFiles({L"a.dwg", L"ab.dwg"});
    Fill(L"Office", L"a@b", L"x");
    // The subject that makes a.dwg's command exactly as long as the system takes: ab.dwg's is then
    // one character longer.
    const auto commands = [&](const std::wstring& subject) {
        return PlanSend({FakeBatPath(), L"Office", L"a@b", subject, false}, form->SendEntries().Entries()).commands;
    };
    const std::wstring subject(kMaxCommandLength - (commands(L"x")[0].size() - 1), L'x');
    ASSERT_EQ(commands(subject)[0].size(), kMaxCommandLength);
    ASSERT_EQ(commands(subject)[1].size(), kMaxCommandLength + 1);
    form->EditSubj1.SetText(subject);
    ASSERT_EQ(form->EditSubj1.Text(), subject);  // the box holds it whole

    // One command over the limit: none starts, and the message names its file and the limit.
    const Inputs before = CurrentInputs();
    Press();
    EXPECT_EQ(starts.Started(), 0u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    const std::wstring& text = prompter.shown[0].text;
    EXPECT_TRUE(Contains(text, L"«" + (files / L"ab.dwg") + L"»"));
    EXPECT_TRUE(Contains(text, L"длиннее 32766 символов"));
    EXPECT_TRUE(Contains(text, L"Ничего не отправлено"));
    EXPECT_EQ(CurrentInputs(), before);

    // Exactly at the limit: the command reaches the client whole.
    form->ClearSendList();
    form->AddPath(files / L"a.dwg", false);
    prompter.shown.clear();
    Press();
    const auto lines = WaitForFakeBatLog(log, starts);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at("raw").size(), kMaxCommandLength);
    EXPECT_EQ(lines[0].at("subject"), subject);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SendChecks, ALongSendShowsItsProgressAndEscStopsIt) {
    constexpr std::size_t kFiles = 200;
    std::size_t made = 0, escAt = 0;
    std::wstring progressCaption;
    RegisterClient({{L"User #0", L"Office"}});
    WriteAddressBook("a@example.com\r\n");
    TMainFormConfig config = Config();
    config.progressDelayMs = 0;  // the progress from the first start on, as a long send shows it
    config.startProcess = [&](std::wstring_view, std::wstring_view) -> StartOutcome {
        ++made;
        if (escAt == 0 && made > 3 && Contains(WindowText(form->Handle()), L" из 200")) {
            progressCaption = WindowText(form->Handle());
            escAt = made;
            // The user presses Esc, clicks "Очистить" and "Отправить" again while the send runs.
            PostMessageW(form->ListViewFiles.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessageW(form->btClear.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageW(form->btClear.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            SendMessageW(form->btMakeQuery.Handle(), BM_CLICK, 0, 0);
        }
        return made == 3 ? ERROR_ACCESS_DENIED : 0u;  // one start fails on the way
    };
    ASSERT_TRUE(CreateForm(std::move(config)));
    form->Show(SW_SHOWNORMAL);
    const std::wstring caption = WindowText(form->Handle());
    std::vector<std::wstring> names;
    for (std::size_t i = 0; i < kFiles; ++i) names.push_back(L"лист-" + std::to_wstring(i) + L".dwg");
    for (const auto& name : names) {
        WriteBytes(files / name, "x");
        form->AddPath(files / name, false);
    }
    Fill(L"Office", L"a@b", L"s");
    Press();

    ASSERT_GT(escAt, 0u) << "no progress was shown";
    EXPECT_TRUE(Contains(progressCaption, L"отправка: ")) << progressCaption;
    EXPECT_TRUE(Contains(progressCaption, L"Esc")) << progressCaption;
    EXPECT_EQ(made, escAt);  // the start under way was the last; the second press started nothing
    ASSERT_EQ(prompter.shown.size(), 1u);
    const std::wstring& summary = prompter.shown[0].text;
    // Started are the starts that succeeded; the failed one is told apart.
    EXPECT_TRUE(Contains(summary, L"Отправка остановлена: запущено " + std::to_wstring(escAt - 1) + L" из 200"))
        << summary;
    EXPECT_TRUE(Contains(summary, L"не запущено " + std::to_wstring(kFiles - escAt + 1))) << summary;
    EXPECT_TRUE(Contains(summary, L"не удалось запустить для 1 из " + std::to_wstring(escAt) + L" файлов")) << summary;
    EXPECT_EQ(WindowText(form->Handle()), caption);
    EXPECT_EQ(form->SendEntries().Size(), kFiles);  // the click on "Очистить" went nowhere
    EXPECT_FALSE(form->Sending());
}

TEST_F(SendChecks, AShortSendLeavesTheCaptionAlone) {
    std::vector<std::wstring> captions;
    CreateReadySendForm([&](std::wstring_view, std::wstring_view) -> std::uint32_t {
        captions.push_back(WindowText(form->Handle()));
        return 0;
    });
    const std::wstring caption = WindowText(form->Handle());
    AddFiles({L"a.dwg", L"b.dwg", L"c.dwg"});
    Fill(L"Office", L"a@b", L"s");
    Press();
    EXPECT_EQ(captions, std::vector<std::wstring>(3, caption));
    EXPECT_EQ(WindowText(form->Handle()), caption);
    EXPECT_TRUE(prompter.shown.empty());
}

// A file that is gone before the send is never handed to the client: the user is told which and
// may send the others, which keep their numbers in the list.
TEST_F(SendChecks, MissingFilesAreNamedAndNeverSent) {
    CreateReadySendForm();
    AddFiles({L"1.dwg", L"2.dwg", L"3.dwg", L"4.dwg", L"5.dwg"});
    Fill(L"Office", L"a@b", L"Чертежи (часть %i / %n)");
    DeleteFileW((files / L"2.dwg").c_str());
    DeleteFileW((files / L"4.dwg").c_str());

    // "Отмена" (and Esc, which answers Cancel) starts nothing and changes nothing.
    for (const auto answer : {ui::ChoiceResult(1), ui::MessageResult::Cancel}) {
        prompter.shown.clear();
        prompter.answers = {answer};
        const Inputs before = CurrentInputs();
        Press();
        EXPECT_EQ(starts.Started(), 0u);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(CurrentInputs(), before);
    }
    const ui::MessageSpec& box = prompter.shown[0];
    EXPECT_EQ(box.caption, L"Korvex");
    EXPECT_TRUE(box.text.starts_with(L"Не найдены файлы")) << box.text;
    EXPECT_TRUE(Contains(box.text, files / L"2.dwg"));
    EXPECT_TRUE(Contains(box.text, files / L"4.dwg"));
    EXPECT_FALSE(Contains(box.text, files / L"3.dwg"));
    EXPECT_EQ(box.buttons, ui::MessageButtons::Choices);
    EXPECT_EQ(box.choices, (std::vector<std::wstring>{L"Отправить остальные", L"Отмена"}));

    prompter.shown.clear();
    prompter.answers = {ui::ChoiceResult(0)};
    Press();
    const auto lines = WaitForFakeBatLog(log, starts);
    ASSERT_EQ(lines.size(), 3u);
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {{L"1.dwg", L"Чертежи (часть 1 / 5)"},
                                                                  {L"3.dwg", L"Чертежи (часть 3 / 5)"},
                                                                  {L"5.dwg", L"Чертежи (часть 5 / 5)"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].at("attachments"), files / expected[i].first);
        EXPECT_EQ(lines[i].at("subject"), expected[i].second);
    }
    EXPECT_EQ(prompter.shown.size(), 1u);  // the question; the send itself went well
}

TEST_F(SendChecks, MissingFilesBoxNamesTenAndCountsTheRest) {
    CreateReadySendForm();
    std::vector<std::wstring> names;
    for (int i = 0; i < 14; ++i) names.push_back(L"f" + std::to_wstring(i) + L".dwg");
    for (const auto& name : names) {
        WriteBytes(files / name, "x");
        form->AddPath(files / name, false);
    }
    Fill(L"Office", L"a@b", L"s");
    for (std::size_t i = 0; i < 12; ++i) DeleteFileW((files / names[i]).c_str());
    prompter.answers = {ui::ChoiceResult(1)};
    Press();
    ASSERT_EQ(prompter.shown.size(), 1u);
    const std::wstring& text = prompter.shown[0].text;
    EXPECT_TRUE(text.starts_with(L"Не найдены файлы (12 из 14)")) << text;
    EXPECT_TRUE(Contains(text, files / names[9]));
    EXPECT_FALSE(Contains(text, files / names[10]));
    EXPECT_TRUE(Contains(text, L"и ещё 2"));

    // Every file gone: nothing to ask, nothing started.
    for (std::size_t i = 12; i < 14; ++i) DeleteFileW((files / names[i]).c_str());
    prompter.shown.clear();
    Press();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].buttons, ui::MessageButtons::Ok);
    EXPECT_TRUE(Contains(prompter.shown[0].text, L"Ничего не отправлено"));
    EXPECT_EQ(starts.Started(), 0u);
}

// Installed where clients usually are, under "Program Files": the client's own name reaches it
// whole, not cut at the first blank.
TEST_F(SendChecks, AClientPathWithBlanksReachesTheClientWhole) {
    const std::wstring folder = files / L"Program Files";
    MakeDir(folder);
    MakeDir(folder + L"\\The Bat!");
    const std::wstring client = folder + L"\\The Bat!\\thebat.exe";
    ASSERT_TRUE(CopyFileW(FakeBatPath().c_str(), client.c_str(), FALSE));
    reg.SetText(L"", L"EXE path", client);
    reg.SetText(L"Users depot", L"User #0", L"Office");
    WriteAddressBook("a@example.com\r\n");
    ASSERT_TRUE(CreateSendForm());
    AddFiles({L"a.dwg"});
    Fill(L"Office", L"a@b", L"s");
    Press();
    const auto lines = WaitForFakeBatLog(log, starts);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at("program"), client);
    EXPECT_EQ(lines[0].at("stray"), L"");
    EXPECT_TRUE(lines[0].at("raw").starts_with(L"\"" + client + L"\" /MAILU=Office;"));
    EXPECT_EQ(lines[0].at("attachments"), files / L"a.dwg");
}

}  // namespace
}  // namespace korvex::test
