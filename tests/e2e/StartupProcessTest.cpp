// korvex.exe as a process: the start-up boxes are found, read and answered like a user would.

#include "ProcessFixture.h"

namespace korvex::test {
namespace {

using StartupProcess = KorvexProcess;

TEST(TestPrefixGuard, RefusesWithoutTheMarkedPrefix) {
    EXPECT_EQ(NotInOwnTestPrefix(), std::nullopt) << "these tests run in the marked prefix";
    wchar_t saved[4096] = {};
    const DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", saved, 4096);
    ASSERT_GT(n, 0u);
    for (const wchar_t* prefix : {static_cast<const wchar_t*>(nullptr), L"/nonexistent/korvex-prefix", L""}) {
        SetEnvironmentVariableW(L"WINEPREFIX", prefix);
        const auto refusal = NotInOwnTestPrefix();
        ASSERT_TRUE(refusal.has_value()) << (prefix ? prefix : L"(unset)");
        EXPECT_NE(refusal->find(L"refusing to run"), std::wstring::npos);
    }
    SetEnvironmentVariableW(L"WINEPREFIX", saved);
}

TEST_F(StartupProcess, NoMailClientShowsErrorAndEndsWithCodeZero) {
    WriteBytes(dir / L"adress.txt", "a@example.com\r\n");
    Start();
    AnswerBox(L"Error", L"TheBAT! не найден!", {L"OK"}, L"OK");
    EXPECT_EQ(WaitForExit(), 0u);
}

TEST_F(StartupProcess, MissingAddressBookAnsweredNoEndsWithCodeZero) {
    RegisterClient();
    Start();
    AnswerBox(L"Warning", L"Файл \"adress.txt\" не найден!\r\nПродолжить работу?", {L"&Yes", L"&No"}, L"&No");
    EXPECT_EQ(WaitForExit(), 0u);
}

TEST_F(StartupProcess, MissingAddressBookAnsweredYesOpensTheWindow) {
    RegisterClient();
    Start();
    AnswerBox(L"Warning", L"Файл \"adress.txt\" не найден!\r\nПродолжить работу?", {L"&Yes", L"&No"}, L"&Yes");
    const HWND main = WaitForWindow(pid, L"KorvexMainForm");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Korvex 0.2");
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(), 0u);
}

}  // namespace
}  // namespace korvex::test
