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

TEST(PathText, WithoutNamespacePrefix) {
    EXPECT_EQ(WithoutNamespacePrefix(L"\\\\?\\C:\\d\\a.pdf"), L"C:\\d\\a.pdf");
    EXPECT_EQ(WithoutNamespacePrefix(L"\\\\?\\UNC\\srv\\share\\a"), L"\\\\srv\\share\\a");
    EXPECT_EQ(WithoutNamespacePrefix(L"\\\\?\\unc\\srv\\s"), L"\\\\srv\\s");
    EXPECT_EQ(WithoutNamespacePrefix(L"\\\\srv\\share\\a"), L"\\\\srv\\share\\a");
    EXPECT_EQ(WithoutNamespacePrefix(L"C:\\d\\a.pdf"), L"C:\\d\\a.pdf");
    // The device namespace's spelling of a drive's or a server's file is that file.
    EXPECT_EQ(WithoutNamespacePrefix(L"\\\\.\\C:\\d\\a.pdf"), L"C:\\d\\a.pdf");
    EXPECT_EQ(WithoutNamespacePrefix(L"//./c:/d/a.pdf"), L"c:/d/a.pdf");
    EXPECT_EQ(WithoutNamespacePrefix(L"\\\\.\\UNC\\srv\\share\\a"), L"\\\\srv\\share\\a");
    // Anything else keeps its prefix: without it, "\\.\CON" or "\\?\Volume{…}\a" would be read as a
    // name in the current folder. A bare prefix and a bare volume ("\\.\C:") are no file paths.
    for (const std::wstring kept :
         {L"\\\\?\\", L"\\\\.\\", L"\\\\.\\CON", L"\\\\.\\C:", L"\\\\?\\C:", L"\\\\?\\GLOBALROOT\\Device\\Null",
          L"\\\\?\\Volume{1}\\a", L"\\\\.\\pipe\\x", L"\\\\?\\UNCX\\srv", L"\\\\?C:\\x"})
        EXPECT_EQ(WithoutNamespacePrefix(kept), kept);
}
