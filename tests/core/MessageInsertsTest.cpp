#include <gtest/gtest.h>

#include "MessageInserts.h"

using namespace korvex;

TEST(MessageInserts, FillsTheFirstAndNeverLeavesARawInsert) {
    const std::wstring unnamed(kUnnamedInsert);
    struct Case {
        std::wstring_view text, first;
        std::wstring filled;
    };
    const Case cases[] = {
        {L"Ошибка в формате EXE для %1.", L"C:\\Bat\\thebat.exe", L"Ошибка в формате EXE для C:\\Bat\\thebat.exe."},
        {L"%1 is not a valid Win32 application.", L"C:\\a b.exe", L"C:\\a b.exe is not a valid Win32 application."},
        {L"Bad EXE format for %1.", L"", L"Bad EXE format for " + unnamed + L"."},
        {L"%1!s! needs %2!lu! bytes", L"x", L"x needs " + unnamed + L" bytes"},
        {L"%1 and %1 again", L"p", L"p and p again"},
        {L"%10 is the tenth, %123 the twelfth and a 3", L"p",
         unnamed + L" is the tenth, " + unnamed + L"3 the twelfth and a 3"},
        // Escapes as the system reads them; the text ends at "%0".
        {L"100%% done%n", L"", L"100% done\r\n"},
        {L"a%tb%bc%.%!", L"", L"a\tb c.!"},
        {L"kept%0 cut %1", L"p", L"kept"},
        // No insert: as it is, a lone or unknown "%" too.
        {L"Access denied.", L"p", L"Access denied."},
        {L"50% off %q", L"p", L"50% off %q"},
        {L"ends in %", L"p", L"ends in %"},
        {L"%1!unclosed", L"p", L"p!unclosed"},
        {L"", L"p", L""},
    };
    for (const auto& c : cases) {
        const std::wstring filled = FillInserts(c.text, c.first);
        EXPECT_EQ(filled, c.filled) << std::wstring(c.text);
    }
}
