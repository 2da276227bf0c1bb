#include <gtest/gtest.h>

#include "SendText.h"

using namespace korvex;

TEST(SendText, ClientPathMessagesNameTheProblemAndThePath) {
    const std::wstring path = L"C:\\Program Files\\The Bat!\\thebat64.exe";
    EXPECT_EQ(ClientPathMessage(ClientPathProblem::Empty, L""),
              L"Путь к почтовому клиенту пуст (значение \"EXE path\" в реестре).\r\nНичего не отправлено.");
    EXPECT_EQ(ClientPathMessage(ClientPathProblem::Missing, path),
              L"Почтовый клиент не найден:\r\n\u00AB" + path + L"\u00BB\r\nНичего не отправлено.");
    EXPECT_EQ(ClientPathMessage(ClientPathProblem::Folder, L"C:\\Tools"),
              L"Путь к почтовому клиенту указывает на папку, а не на программу:\r\n\u00ABC:\\Tools\u00BB\r\n"
              L"Ничего не отправлено.");
    // A long path is counted whole and shown shortened in its middle.
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'a') + L".exe";
    const std::wstring tooLong = ClientPathMessage(ClientPathProblem::TooLong, longPath);
    EXPECT_TRUE(
        tooLong.starts_with(L"Путь к почтовому клиенту слишком длинный: 307 символов, а Windows запускает "
                            L"программы с путём не длиннее 259.\r\n\u00AB"))
        << tooLong;
    EXPECT_NE(tooLong.find(QuotedPath(longPath)), std::wstring::npos);
    EXPECT_EQ(QuotedPath(longPath).size(), kShownPathLength + 2);
    EXPECT_NE(QuotedPath(longPath).find(L'\u2026'), std::wstring::npos);
}

TEST(SendText, SummarySaysWhatWasStoppedAndWhatFailed) {
    struct Case {
        DispatchOutcome outcome;
        std::wstring summary;
    };
    const Case cases[] = {
        {{.total = 5, .attempted = 5}, L""},
        {{.total = 10, .attempted = 4, .stopped = true}, L"Отправка остановлена: запущено 4 из 10, не запущено 6."},
        {{.total = 3, .attempted = 3, .failed = 2, .firstError = 2},
         L"Почтовый клиент не удалось запустить для 2 из 3 файлов.\r\nC:\\bat.exe:\r\nno such file"},
        {{.total = 10, .attempted = 4, .failed = 1, .firstError = 5, .stopped = true},
         L"Отправка остановлена: запущено 3 из 10, не запущено 7.\r\n"
         L"Почтовый клиент не удалось запустить для 1 из 4 файлов.\r\nC:\\bat.exe:\r\nno such file"},
        {{.total = 4, .attempted = 4, .unconfirmed = 2},
         L"Почтовый клиент не ответил на 2 из 4 запусков: проверьте, дошли ли эти файлы (журнал \u2014 "
         L"\u00ABбез ответа\u00BB)."},
    };
    for (const auto& c : cases) EXPECT_EQ(SendSummary(c.outcome, L"C:\\bat.exe", L"no such file"), c.summary);

    // Files gone right before their starts are named, and are not counted as started.
    DispatchOutcome gone{.total = 3, .attempted = 3, .stopped = false};
    gone.gone = {0, 2};
    EXPECT_EQ(SendSummary(gone, L"C:\\bat.exe", L"", {L"C:\\a.dwg", L"C:\\c.dwg"}),
              L"Файлы исчезли до своего запуска и почтовому клиенту не переданы (2):\r\nC:\\a.dwg\r\nC:\\c.dwg");
    gone.stopped = true;
    gone.total = 5;
    EXPECT_TRUE(SendSummary(gone, L"C:\\bat.exe", L"", {L"C:\\a.dwg", L"C:\\c.dwg"})
                    .starts_with(L"Отправка остановлена: запущено 1 из 5, не запущено 4."));
}
