#include <gtest/gtest.h>

#include "SendDispatch.h"

#include "SimpleFold.h"

using namespace korvex;

TEST(DispatchSend, OneStartPerEntryAndFailuresCounted) {
    SendList list(SimpleFold);
    list.Add(L"C:\\Drawings\\a.dwg", L"1 KB");
    list.Add(L"C:\\Drawings\\plan.dwg", L"1 KB");
    list.Add(L"D:\\c.dwg", L"1 KB");
    std::vector<std::pair<std::wstring, std::wstring>> starts;
    const SendRequest request{L"\"D:\\Mail\\client.exe\"", L"Work", L"recipient", L"Чертежи (часть %i / %n)", true};
    const auto outcome = DispatchSend(request, list.Entries(), [&](std::wstring_view app, std::wstring_view cmd) {
        starts.emplace_back(app, cmd);
        return starts.size() == 2 ? 0u : 5u;  // the first and third fail
    });
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[1].first, L"D:\\Mail\\client.exe");
    EXPECT_EQ(starts[1].second,
              L"\"D:\\Mail\\client.exe\" /MAILU=Work;TO=\"recipient\";A=\"C:\\Drawings\\plan.dwg\";"
              L"S=\"Чертежи (часть 2 / 3)\";edit");
    EXPECT_NE(starts[2].second.find(L"S=\"Чертежи (часть 3 / 3)\""), std::wstring::npos);
    EXPECT_EQ(outcome.attempted, 3u);
    EXPECT_EQ(outcome.failed, 2u);
    EXPECT_EQ(outcome.firstError, 5u);
}

TEST(DispatchSend, ClientApplicationLosesOnlyEnclosingQuotes) {
    EXPECT_EQ(ClientApplication(L"C:\\Program Files\\The Bat!\\thebat64.exe"),
              L"C:\\Program Files\\The Bat!\\thebat64.exe");
    EXPECT_EQ(ClientApplication(L"\"C:\\Program Files\\x.exe\""), L"C:\\Program Files\\x.exe");
    EXPECT_EQ(ClientApplication(L"\""), L"\"");
}
