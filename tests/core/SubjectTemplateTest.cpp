#include <gtest/gtest.h>

#include "SubjectTemplate.h"

using namespace korvex;

TEST(ExpandSubject, Table) {
    struct Case {
        std::wstring tmpl;
        unsigned long long n, i;
        std::wstring out;
    };
    const Case cases[] = {
        {L"Чертежи (часть %i / %n)", 3, 1, L"Чертежи (часть 1 / 3)"},
        {L"Чертежи (часть %i / %n)", 3, 3, L"Чертежи (часть 3 / 3)"},
        {L"no placeholders", 5, 2, L"no placeholders"},
        {L"%N of %I", 2, 1, L"2 of 1"},
        {L"%n-%n", 12, 1, L"12-12"},
        {L"100% done %", 1, 1, L"100% done %"},
        {L"%x %% %", 9, 9, L"%x %% %"},
        {L"%%n", 7, 1, L"%7"},
        {L"%", 1, 1, L"%"},
        {L"", 4, 2, L""},
        // An inserted count is not searched again: "%" followed by the count's digits stays.
        {L"%%nn", 1, 1, L"%1n"},
        {L"%%in", 4, 2, L"%2n"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandSubject(c.tmpl, c.n, c.i), c.out) << c.tmpl;
}
