// Filling the send list from real folders: the walk, duplicates, sizes, names and links.

#include <algorithm>

#include "FormFixture.h"
#include "Locale.h"

namespace korvex::test {
namespace {

class SendListFill : public FormFixture {
protected:
    void SetUp() override { CreateReadyForm(); }
    std::wstring Folder(std::size_t i) const { return form->SendEntries()[i].folder; }
};

TEST_F(SendListFill, WalksDepthFirstAndTakesHiddenAndSystemFiles) {
    const std::wstring root = MakeSet();

    form->AddFolder(root, false);
    auto names = FileNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.dwg", L"hidden.dwg", L"system.dwg", L"z.dwg"}));

    form->ClearSendList();
    form->AddPath(root, true);
    ASSERT_EQ(form->SendEntries().Size(), 7u);
    // Depth first: everything beneath sub\ stands together, and deeper\ together inside it.
    std::vector<std::size_t> inSub, inDeeper;
    for (std::size_t i = 0; i < 7; ++i) {
        if (Folder(i).find(L"\\sub\\") != std::wstring::npos) inSub.push_back(i);
        if (Folder(i).ends_with(L"\\deeper\\")) inDeeper.push_back(i);
    }
    ASSERT_EQ(inSub.size(), 3u);
    EXPECT_EQ(inSub.back() - inSub.front(), 2u);
    ASSERT_EQ(inDeeper.size(), 1u);

    // A folder holding only subfolders adds nothing without the recursion flag.
    form->ClearSendList();
    MakeDir(files / L"only");
    MakeDir(files / L"only\\x");
    WriteBytes(files / L"only\\x\\f.dwg", "f");
    form->AddFolder(files / L"only", false);
    form->AddPath(files / L"only", false);
    form->AddFolder(files / L"set\\no-such-folder", true);
    EXPECT_TRUE(form->SendEntries().Empty());
    EXPECT_EQ(form->ListViewFiles.Count(), 0);
}

TEST_F(SendListFill, SkipsDuplicatesByCaseButNotOtherSpellings) {
    MakeDir(files / L"Data");
    WriteBytes(files / L"Data\\a.txt", "x");
    WriteBytes(files / L"Data\\Чертёж.dwg", "x");
    form->AddPath(files / L"data\\A.TXT", false);
    form->AddPath(files / L"Data\\a.txt", false);
    form->AddPath(files / L"DATA\\ЧЕРТЁЖ.DWG", false);
    form->AddPath(files / L"Data\\чертёж.dwg", false);
    EXPECT_EQ(form->SendEntries().Size(), 2u);
    form->AddPath(files / L"Data\\..\\Data\\a.txt", false);
    EXPECT_EQ(form->SendEntries().Size(), 3u);
    // Adding the whole folder again adds nothing new.
    form->AddPath(files / L"Data", true);
    EXPECT_EQ(form->SendEntries().Size(), 3u);
    EXPECT_EQ(form->ListViewFiles.Count(), 3);
    // A path that does not exist adds nothing, with or without recursion.
    form->AddPath(files / L"missing.txt", false);
    form->AddPath(files / L"missing", true);
    EXPECT_EQ(form->SendEntries().Size(), 3u);
}

TEST_F(SendListFill, SizeTextComesFromTheDisk) {
    const wchar_t sep = platform::DecimalSeparator();
    WriteBytes(files / L"empty.dwg", "");
    WriteBytes(files / L"small.dwg", std::string(1536, 'x'));
    WriteSparse(files / L"huge.dwg", 5ull << 30);
    WriteSparse(files / L"big.dwg", 3ull << 30);
    for (auto name : {L"empty.dwg", L"small.dwg", L"huge.dwg", L"big.dwg"}) form->AddPath(files / name, false);
    ASSERT_EQ(form->SendEntries().Size(), 4u);
    EXPECT_EQ(form->SendEntries()[0].sizeText, L"0 B");
    EXPECT_EQ(form->SendEntries()[1].sizeText, std::wstring(L"1") + sep + L"5 KB");
    EXPECT_EQ(form->SendEntries()[2].sizeText, L"5120 MB");
    EXPECT_EQ(form->SendEntries()[3].sizeText, L"3072 MB");
    // The list shows the three texts of an entry in its three columns.
    EXPECT_EQ(form->ListViewFiles.ItemText(2, 0), L"huge.dwg");
    EXPECT_EQ(form->ListViewFiles.ItemText(2, 1), files.Path());
    EXPECT_EQ(form->ListViewFiles.ItemText(2, 2), L"5120 MB");
}

TEST_F(SendListFill, LongPathsAndNamesOutsideTheCodePage) {
    std::wstring deep = files.Path();
    while (deep.size() < 300) {
        deep += L"папка-с-длинным-именем-" + std::to_wstring(deep.size()) + L"\\";
        MakeDir(deep);
    }
    const std::wstring name = L"図面-αβγ-ĉ.dwg";
    WriteBytes(deep + name, std::string(2048, 'x'));
    form->AddPath(files.Path(), true);
    ASSERT_EQ(form->SendEntries().Size(), 1u);
    EXPECT_EQ(form->SendEntries()[0].FullPath(), deep + name);
    EXPECT_EQ(form->SendEntries()[0].sizeText, L"2 KB");
    // The same file by its long path directly: found as a duplicate, and sized.
    form->ClearSendList();
    form->AddPath(deep + name, false);
    ASSERT_EQ(form->SendEntries().Size(), 1u);
    EXPECT_EQ(form->SendEntries()[0].sizeText, L"2 KB");
}

TEST_F(SendListFill, LinkCycleEndsAndEveryFileArrivesOnce) {
    const std::wstring root = files / L"tree";
    MakeDir(root);
    MakeDir(root + L"\\a");
    WriteBytes(root + L"\\top.dwg", "t");
    WriteBytes(root + L"\\a\\inner.dwg", "i");
    ASSERT_TRUE(CreateSymbolicLinkW((root + L"\\a\\back-to-root").c_str(), root.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(
        CreateSymbolicLinkW((root + L"\\a\\self").c_str(), (root + L"\\a").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    form->AddPath(root, true);
    auto names = FileNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"inner.dwg", L"top.dwg"}));
}

}  // namespace
}  // namespace korvex::test
