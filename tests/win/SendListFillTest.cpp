// Filling the send list from real folders: the walk, duplicates, sizes, names and links.

#include <algorithm>

#include "FileSystem.h"
#include "FormFixture.h"
#include "Locale.h"
#include "UniqueResource.h"

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

// However a file is spelled, it is one entry: sent twice, one drawing would reach the recipient twice.
TEST_F(SendListFill, EverySpellingOfOneFileIsOneEntry) {
    MakeDir(files / L"Data");
    WriteBytes(files / L"Data\\a.pdf", "x");
    WriteBytes(files / L"Data\\Чертёж.dwg", "x");
    const std::wstring canonical = files / L"Data\\a.pdf";
    std::wstring slashed = canonical;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    const std::wstring spellings[] = {
        canonical,
        files / L"data\\A.PDF",
        files / L"Data\\.\\a.pdf",
        slashed,
        files / L"Data\\..\\Data\\a.pdf",
        L"\\\\?\\" + canonical,
        canonical + L".",
        canonical + L" ",
        files / L"Data\\\\a.pdf",
        // The device namespace's spelling of a file on a drive is that file.
        L"\\\\.\\" + canonical,
        L"//./" + slashed,
        L"\\\\.\\" + files / L"Data\\..\\Data\\A.pdf",
    };
    for (const auto& spelling : spellings) form->AddPath(spelling, false);
    ASSERT_EQ(form->SendEntries().Size(), 1u);
    // The list shows the system's own form of the path.
    EXPECT_EQ(form->SendEntries()[0].FullPath(), canonical);
    EXPECT_EQ(form->ListViewFiles.ItemText(0, 1), files / L"Data\\");

    // Drops and folder walks meet the same test.
    form->AddPaths({files / L"Data/./Чертёж.dwg", files / L"DATA\\ЧЕРТЁЖ.DWG"}, false);
    form->AddPath(files / L"Data\\..\\Data", true);
    form->AddFolder(L"\\\\?\\" + files / L"Data", false);
    EXPECT_EQ(form->SendEntries().Size(), 2u);
    EXPECT_EQ(form->ListViewFiles.Count(), 2);
    EXPECT_TRUE(prompter.shown.empty()) << prompter.shown.front().text;
    // A path that does not exist adds nothing, with or without recursion, and is named.
    form->AddPath(files / L"missing.txt", false);
    form->AddPath(files / L"missing", true);
    EXPECT_EQ(form->SendEntries().Size(), 2u);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, L"Не найден:\r\n" + files / L"missing.txt");
    EXPECT_EQ(prompter.shown[1].text, L"Не найден:\r\n" + files / L"missing");
}

// A device's name is no file, wherever it stands and however it is spelled: nothing of it reaches
// the list, and every one is named with the paths that are not there, in one message after the add.
TEST_F(SendListFill, DevicesAreNamedAndNeverAdded) {
    WriteBytes(files / L"a.dwg", "a");
    const std::wstring drive = files.Path().substr(0, 3);  // "C:\"
    const std::vector<std::wstring> devices{
        files / L"CON",
        drive + L"NUL",
        files / L"nul.txt",
        files / L"Aux .dwg",
        files / L"PRN. ",
        files / L"COM1",
        files / L"lpt9.pdf",
        files / L"COM\u00B9.dwg",
        files / L"CONOUT$",
        L"\\\\.\\CON",
        L"\\\\.\\PhysicalDrive0",
        L"\\\\?\\GLOBALROOT\\Device\\Null",
        L"\\\\.\\" + drive.substr(0, 2),
        L"\\\\.\\" + drive + L"..\\..\\kxt",
    };
    std::vector<std::wstring> given{files / L"a.dwg"};
    given.insert(given.end(), devices.begin(), devices.end());
    given.push_back(files / L"gone.dwg");
    form->AddPaths(given, true);
    ASSERT_EQ(form->SendEntries().Size(), 1u);
    EXPECT_EQ(form->SendEntries()[0].FullPath(), files / L"a.dwg");
    ASSERT_EQ(prompter.shown.size(), 1u);
    std::wstring expected =
        L"Не найден:\r\n" + files / L"gone.dwg" + L"\r\n\r\nНе добавлены (это имена устройств, а не файлы):";
    for (const auto& device : devices) expected += L"\r\n" + device;
    EXPECT_EQ(prompter.shown[0].text, expected);
    EXPECT_EQ(prompter.shown[0].icon, ui::MessageIcon::Warning);

    // The paths of a second start take the same road, and a device is named as the user gave it,
    // not as the system makes it full ("\\.\CON").
    prompter.shown.clear();
    form->AddStartPaths({files / L"CON", files / L"a.dwg"});
    EXPECT_EQ(form->SendEntries().Size(), 1u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Не добавлен (это имя устройства, а не файл):\r\n" + files / L"CON");
}

// A file on disk can bear a device's name (a program that bypasses the name rules makes one, so
// does another system): the walk of its folder names it instead of listing it, since the client
// would be handed the device.
TEST_F(SendListFill, AWalkNamesFilesThatBearDevicesNames) {
    MakeDir(files / L"odd");
    WriteBytes(files / L"odd\\a.dwg", "a");
    // Made, and removed, by the literal path: any other spelling of it opens the device.
    const std::wstring literal = L"\\\\?\\" + files / L"odd\\NUL.dwg";
    if (!platform::UniqueFile(CreateFileW(literal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)))
        GTEST_SKIP() << "this system makes no file named as a device (error " << GetLastError() << ")";
    const platform::ScopeExit remove([&] { DeleteFileW(literal.c_str()); });
    form->AddPath(files / L"odd", true);
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"a.dwg"});
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, L"Не добавлен (это имя устройства, а не файл):\r\n" + files / L"odd\\NUL.dwg");
}

// Short 8.3 names are the same files as their long names, where the file system has them.
TEST_F(SendListFill, ShortNamesAreTheLongOnes) {
    WriteBytes(files / L"Long drawing name.dwg", "x");
    std::wstring shortPath(MAX_PATH, L'\0');
    shortPath.resize(GetShortPathNameW((files / L"Long drawing name.dwg").c_str(), shortPath.data(), MAX_PATH));
    if (shortPath.empty() || shortPath.find(L'~') == std::wstring::npos)
        GTEST_SKIP() << "this file system gives no short names";
    form->AddPath(shortPath, false);
    form->AddPath(files / L"Long drawing name.dwg", false);
    ASSERT_EQ(form->SendEntries().Size(), 1u);
    EXPECT_EQ(form->SendEntries()[0].fileName, L"Long drawing name.dwg");
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

// Links to folders are listed but never walked into: the files behind them are added where they
// really are, once, whichever way the walk meets them.
TEST_F(SendListFill, LinksToFoldersAreNotFollowed) {
    const std::wstring root = files / L"tree";
    MakeDir(root);
    MakeDir(root + L"\\a");
    MakeDir(root + L"\\b");
    WriteBytes(root + L"\\top.dwg", "t");
    WriteBytes(root + L"\\a\\inner.dwg", "i");
    WriteBytes(root + L"\\b\\sibling.dwg", "s");
    ASSERT_TRUE(CreateSymbolicLinkW((root + L"\\a\\back-to-root").c_str(), root.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(
        CreateSymbolicLinkW((root + L"\\a\\self").c_str(), (root + L"\\a").c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(CreateSymbolicLinkW((root + L"\\a\\to-sibling").c_str(), (root + L"\\b").c_str(),
                                    SYMBOLIC_LINK_FLAG_DIRECTORY));
    ASSERT_TRUE(platform::IsFolderLink(platform::FileAttributes(root + L"\\a\\to-sibling")));

    form->AddPath(root, true);
    std::vector<std::wstring> paths;
    for (const auto& e : form->SendEntries().Entries()) paths.push_back(e.FullPath());
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths,
              (std::vector<std::wstring>{root + L"\\a\\inner.dwg", root + L"\\b\\sibling.dwg", root + L"\\top.dwg"}));

    // "С поддиректориями" in a folder with a link to its sibling, and a drop of the tree.
    form->ClearSendList();
    form->AddFolder(root + L"\\a", true);
    EXPECT_EQ(FileNames(), std::vector<std::wstring>{L"inner.dwg"});
    form->ClearSendList();
    form->AddPaths({root + L"\\a", root + L"\\b"}, true);
    EXPECT_EQ(form->SendEntries().Size(), 2u);
}

}  // namespace
}  // namespace korvex::test
