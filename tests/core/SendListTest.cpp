#include <gtest/gtest.h>

#include "SendList.h"

#include <vector>

#include "PathText.h"

#include "SimpleFold.h"

using namespace korvex;

TEST(SendList, SplitsPathAndRejectsCaseInsensitiveDuplicates) {
    SendList list(SimpleFold);
    EXPECT_TRUE(list.Add(L"c:\\data\\A.TXT", L"1 KB"));
    EXPECT_FALSE(list.Add(L"C:\\Data\\a.txt", L"2 KB"));
    EXPECT_TRUE(list.Contains(L"C:\\DATA\\a.txt"));
    // Another spelling of the same file is another path.
    EXPECT_TRUE(list.Add(L"C:\\Data\\sub\\..\\a.txt", L"1 KB"));
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_EQ(list[0].fileName, L"A.TXT");
    EXPECT_EQ(list[0].folder, L"c:\\data\\");
    EXPECT_EQ(list[0].sizeText, L"1 KB");
    EXPECT_EQ(list[1].folder, L"C:\\Data\\sub\\..\\");
}

TEST(SendList, DriveRelativePathGetsBackslashInFolder) {
    SendList list(SimpleFold);
    EXPECT_TRUE(list.Add(L"C:a.txt", L"0 B"));
    EXPECT_EQ(list[0].folder, L"C:\\");
    EXPECT_EQ(list[0].FullPath(), L"C:\\a.txt");
    // The index holds the entry's full path, as the duplicate test compares it.
    EXPECT_TRUE(list.Contains(L"c:\\A.txt"));
    EXPECT_FALSE(list.Contains(L"C:a.txt"));
}

// The prefixes that take a drive's or a server's path literally, or through the device namespace,
// name the same file: a file given both ways would be sent twice.
TEST(SendList, APathWithANamespacePrefixIsThePlainPath) {
    SendList list(SimpleFold);
    EXPECT_TRUE(list.Add(L"\\\\.\\C:\\kxt\\f03.dwg", L"1 KB"));
    EXPECT_EQ(list[0].folder, L"C:\\kxt\\");
    for (const auto* same : {L"C:\\kxt\\f03.dwg", L"\\\\?\\c:\\KXT\\f03.dwg", L"\\\\.\\C:\\kxt\\F03.DWG"}) {
        EXPECT_TRUE(list.Contains(same)) << same;
        EXPECT_FALSE(list.Add(same, L"1 KB")) << same;
    }
    EXPECT_FALSE(list.Add(L"\\\\?\\C:\\kxt\\", L"f03.dwg", L"1 KB")) << "a walk's folder with the prefix";
    EXPECT_TRUE(list.Add(L"\\\\?\\UNC\\srv\\share\\f03.dwg", L"1 KB"));
    EXPECT_TRUE(list.Contains(L"\\\\srv\\share\\f03.dwg"));
    EXPECT_FALSE(list.Add(L"\\\\.\\unc\\srv\\share\\F03.dwg", L"1 KB"));
    EXPECT_EQ(list.Size(), 2u);
}

TEST(SendList, RemoveAtKeepsOrderAndFreesTheIndex) {
    SendList list(SimpleFold);
    for (auto p : {L"C:\\1", L"C:\\2", L"C:\\3", L"C:\\4"}) list.Add(p, L"0 B");
    list.RemoveAt({2, 0, 2, 99});
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_EQ(list[0].fileName, L"2");
    EXPECT_EQ(list[1].fileName, L"4");
    EXPECT_TRUE(list.Add(L"c:\\1", L"0 B"));  // removed paths may come back
    EXPECT_FALSE(list.Add(L"C:\\4", L"0 B"));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Add(L"C:\\4", L"0 B"));
}

// Thousands of entries across many folders, added in runs per folder as a walk adds them and then
// out of order: the index grows, and every spelling still meets its entry after removals.
TEST(SendList, LargeListsKeepTheDuplicateTestThroughGrowthAndRemoval) {
    SendList list(SimpleFold);
    const auto path = [](int folder, int file) {
        return L"C:\\Set\\Part-" + std::to_wstring(folder) + L"\\Sheet-" + std::to_wstring(file) + L".DWG";
    };
    for (int folder = 0; folder < 40; ++folder)
        for (int file = 0; file < 100; ++file) ASSERT_TRUE(list.Add(path(folder, file), L"0 B"));
    ASSERT_EQ(list.Size(), 4000u);
    // The same files again, folder by folder, spelled in another case and in folder-and-name form.
    for (int folder = 39; folder >= 0; --folder) {
        const std::wstring lower = SimpleFold(path(folder, 0));
        EXPECT_FALSE(list.Add(ExtractFileDir(lower), L"sheet-0.dwg", L"1 B"));
        EXPECT_FALSE(list.Add(L"c:\\set\\part-" + std::to_wstring(folder), L"SHEET-99.dwg", L"1 B"));
        EXPECT_TRUE(list.Contains(SimpleFold(path(folder, 50))));
    }
    EXPECT_FALSE(list.Contains(L"C:\\Set\\Part-0"));
    EXPECT_FALSE(list.Contains(L"C:\\Set\\Part-0\\Sheet-100.DWG"));

    std::vector<std::size_t> odd;
    for (std::size_t i = 1; i < list.Size(); i += 2) odd.push_back(i);
    list.RemoveAt(odd);
    ASSERT_EQ(list.Size(), 2000u);
    EXPECT_EQ(list[1].FullPath(), path(0, 2));
    EXPECT_FALSE(list.Contains(path(0, 1)));
    EXPECT_TRUE(list.Contains(path(39, 98)));
    EXPECT_FALSE(list.Add(path(39, 98), L"0 B"));
    EXPECT_TRUE(list.Add(path(39, 99), L"0 B"));
    EXPECT_EQ(list[2000].FullPath(), path(39, 99));
}

// One folder met under several spellings in a row: each entry keeps the folder as given, and the
// duplicate test sees through all of them.
TEST(SendList, FolderSpellingsInARowAreOneFolder) {
    SendList list(SimpleFold);
    EXPECT_TRUE(list.Add(L"D:\\Out", L"a.pdf", L"0 B"));
    EXPECT_FALSE(list.Add(L"D:\\Out\\", L"A.PDF", L"0 B"));
    EXPECT_FALSE(list.Add(L"d:\\out", L"a.pdf", L"0 B"));
    EXPECT_TRUE(list.Add(L"d:\\out", L"b.pdf", L"0 B"));
    EXPECT_TRUE(list.Add(L"", L"c.pdf", L"0 B"));
    EXPECT_FALSE(list.Add(L"\\", L"C.pdf", L"0 B"));
    EXPECT_TRUE(list.Add(L"D:\\Out\\a.pdf", L"x", L"0 B"));  // a folder named like a file
    ASSERT_EQ(list.Size(), 4u);
    EXPECT_EQ(list[1].FullPath(), L"d:\\out\\b.pdf");
    EXPECT_EQ(list[2].FullPath(), L"\\c.pdf");
    EXPECT_EQ(list[3].FullPath(), L"D:\\Out\\a.pdf\\x");
}

// Names beyond ASCII go through the list's own folding; here one that knows Cyrillic, so that
// "ЧЕРТЁЖ" and "чертёж" are one name whichever way the path reaches the list.
TEST(SendList, NamesBeyondAsciiFoldByTheGivenFolding) {
    const auto cyrillicFold = [](std::wstring_view s) {
        std::wstring out = SimpleFold(s);
        for (auto& c : out) {
            if (c >= L'А' && c <= L'Я') c = static_cast<wchar_t>(c + 0x20);
            if (c == L'Ё') c = L'ё';
        }
        return out;
    };
    SendList list(cyrillicFold);
    EXPECT_TRUE(list.Add(L"C:\\Папка", L"Чертёж 1.DWG", L"0 B"));
    EXPECT_TRUE(list.Add(L"C:\\Папка", L"plan.dwg", L"0 B"));
    EXPECT_FALSE(list.Add(L"c:\\ПАПКА", L"ЧЕРТЁЖ 1.dwg", L"0 B"));
    EXPECT_FALSE(list.Add(L"C:\\папка\\чертёж 1.dwg", L"0 B"));
    EXPECT_FALSE(list.Add(L"C:\\ПАПКА", L"PLAN.DWG", L"0 B"));
    EXPECT_TRUE(list.Contains(L"C:\\ПАПКА\\чертёж 1.DWG"));
    EXPECT_TRUE(list.Contains(L"c:\\папка\\Plan.dwg"));
    EXPECT_FALSE(list.Contains(L"C:\\Папка\\Чертёж 2.dwg"));
    EXPECT_TRUE(list.Add(L"C:\\Папка", L"Чертёж 2.dwg", L"0 B"));
    EXPECT_EQ(list.Size(), 3u);
}
