#include <gtest/gtest.h>

#include "PathText.h"

using namespace korvex;

TEST(PathText, EnsureBackslash) {
    const std::pair<std::wstring, std::wstring> cases[] = {{L"C:", L"C:\\"},
                                                           {L"C:\\", L"C:\\"},
                                                           {L"", L"\\"},
                                                           {L"C:\\Data", L"C:\\Data\\"},
                                                           {L"\\\\srv\\share\\", L"\\\\srv\\share\\"}};
    for (const auto& [in, out] : cases) EXPECT_EQ(EnsureBackslash(in), out) << in;
}

TEST(PathText, RemoveQuotes) {
    EXPECT_EQ(RemoveQuotes(L"\"Иван Петров\" <ivan@example.com>"), L"Иван Петров <ivan@example.com>");
    EXPECT_EQ(RemoveQuotes(L"\"\"a\"b\""), L"ab");
    EXPECT_EQ(RemoveQuotes(L"plain text, 'single' kept"), L"plain text, 'single' kept");
    EXPECT_EQ(RemoveQuotes(L""), L"");
}

TEST(PathText, SplitsAtLastBackslashOrColon) {
    struct Case {
        std::wstring path, dir, name;
    };
    const Case cases[] = {
        {L"C:\\Drawings\\plan.dwg", L"C:\\Drawings\\", L"plan.dwg"},
        {L"C:plan.dwg", L"C:", L"plan.dwg"},
        {L"plan.dwg", L"", L"plan.dwg"},
        {L"C:\\Drawings\\", L"C:\\Drawings\\", L""},
        {L"\\\\srv\\share\\a.txt", L"\\\\srv\\share\\", L"a.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFileDir(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    }
}

TEST(PathText, ChangeFileExt) {
    EXPECT_EQ(ChangeFileExt(L"D:\\Tools\\sender.exe", L".ini"), L"D:\\Tools\\sender.ini");
    EXPECT_EQ(ChangeFileExt(L"D:\\Tools\\sender", L".ini"), L"D:\\Tools\\sender.ini");
    EXPECT_EQ(ChangeFileExt(L"D:\\v1.2\\sender", L".ini"), L"D:\\v1.2\\sender.ini");
    EXPECT_EQ(ChangeFileExt(L"D:\\Tools\\a.b.exe", L".ini"), L"D:\\Tools\\a.b.ini");
}

TEST(PathText, IsPlainName) {
    const std::pair<std::wstring, bool> cases[] = {
        {L"plan.dwg", true}, {L"Чертёж 1", true},   {L".hidden", true},
        {L"a..b", true},     {L"", false},          {L".", false},
        {L"..", false},      {L"sub\\plan", false}, {L"sub/plan", false},
        {L"C:plan", false},  {L"a*b", false},       {L"a?b", false},
        {L"a\"b", false},    {L"a<b", false},       {L"a>b", false},
        {L"a|b", false},     {L"tab\there", false}, {std::wstring(1, L'\x1F'), false},
        {L"\x7F", true},
    };
    for (const auto& [name, plain] : cases) EXPECT_EQ(IsPlainName(name), plain) << name;
}

TEST(PathText, ParentFolder) {
    struct Case {
        std::wstring folder, parent;
    };
    const Case cases[] = {
        {L"C:\\a\\b", L"C:\\a\\"},
        {L"C:\\a\\b\\", L"C:\\a\\"},
        {L"C:\\a", L"C:\\"},
        {L"C:\\", L""},
        {L"C:", L""},
        {L"\\\\srv\\share\\dir\\", L"\\\\srv\\share\\"},
        {L"\\\\srv\\share\\", L""},
        {L"\\\\srv\\share", L""},
        {L"plain", L""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ParentFolder(c.folder), c.parent) << c.folder;
}

TEST(PathText, WithoutVerbatimPrefix) {
    EXPECT_EQ(WithoutVerbatimPrefix(L"\\\\?\\C:\\d\\a.pdf"), L"C:\\d\\a.pdf");
    EXPECT_EQ(WithoutVerbatimPrefix(L"\\\\?\\UNC\\srv\\share\\a"), L"\\\\srv\\share\\a");
    EXPECT_EQ(WithoutVerbatimPrefix(L"\\\\?\\unc\\srv\\s"), L"\\\\srv\\s");
    EXPECT_EQ(WithoutVerbatimPrefix(L"\\\\srv\\share\\a"), L"\\\\srv\\share\\a");
    EXPECT_EQ(WithoutVerbatimPrefix(L"C:\\d\\a.pdf"), L"C:\\d\\a.pdf");
    EXPECT_EQ(WithoutVerbatimPrefix(L"\\\\?\\"), L"");
}
