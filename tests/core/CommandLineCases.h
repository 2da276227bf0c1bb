#pragma once
// Command lines and the arguments the system's rules make of them. The core test checks our split
// against this table; under Wine the same table is checked against CommandLineToArgvW itself.

#include <string>
#include <vector>

namespace korvex::test {

struct CommandLineCase {
    const wchar_t* why;
    std::wstring commandLine;
    std::vector<std::wstring> arguments;
};

inline const std::vector<CommandLineCase>& CommandLineCases() {
    static const std::vector<CommandLineCase> cases{
        {L"no arguments", L"korvex.exe", {L"korvex.exe"}},
        {L"quoted name with blanks, quoted Cyrillic path, plain path",
         L"\"C:\\Program Files\\Korvex\\korvex.exe\" \"C:\\Чертежи\\лист 1.dwg\" C:\\plan.dwg",
         {L"C:\\Program Files\\Korvex\\korvex.exe", L"C:\\Чертежи\\лист 1.dwg", L"C:\\plan.dwg"}},
        {L"runs of blanks and tabs, trailing blanks", L"k.exe   a\t \tb   ", {L"k.exe", L"a", L"b"}},
        {L"a quoted folder ending in a backslash: the quote is escaped and the quoted part goes on",
         L"k.exe \"C:\\Чертежи\\\" next",
         {L"k.exe", L"C:\\Чертежи\" next"}},
        {L"a quoted drive root as the last argument", L"k.exe \"D:\\\"", {L"k.exe", L"D:\""}},
        {L"two backslashes before the closing quote give one", L"k.exe \"D:\\\\\" x", {L"k.exe", L"D:\\", L"x"}},
        {L"backslashes not before a quote are literal",
         L"k.exe \\\\server\\share\\a.dwg",
         {L"k.exe", L"\\\\server\\share\\a.dwg"}},
        {L"a quoted part inside an argument",
         L"k.exe C:\\Work\\Мои\" \"чертежи\\a.dwg",
         {L"k.exe", L"C:\\Work\\Мои чертежи\\a.dwg"}},
        {L"an empty quoted argument", L"k.exe \"\" a", {L"k.exe", L"", L"a"}},
        {L"escaped quotes, odd runs of backslashes", L"k.exe a\\\"b \"c\\\\\\\"d\"", {L"k.exe", L"a\"b", L"c\\\"d"}},
        {L"a quoted name ends at its quote", L"\"k.exe\"a b", {L"k.exe", L"a", L"b"}},
        {L"an unquoted name takes backslashes and quotes as they are", L"C:\\k\\\"x y", {L"C:\\k\\\"x", L"y"}},
        {L"a doubled quote inside a quoted part", L"k.exe \"a\"\"b\" c", {L"k.exe", L"a\"b c"}},
    };
    return cases;
}

}  // namespace korvex::test
