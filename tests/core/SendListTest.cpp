#include <gtest/gtest.h>

#include "SendList.h"

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
