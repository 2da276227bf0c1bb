// The explorer list in a real window under Wine, on real folders.

#include <gtest/gtest.h>

#include <algorithm>

#include "ExplorerHost.h"
#include "ExplorerText.h"
#include "FileSystem.h"
#include "Locale.h"
#include "PathText.h"
#include "ShellInfo.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

using components::TQFileExplorer;
using Names = std::vector<std::wstring>;

const TFileType kAllTypes{ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal};

std::wstring ListViewText(HWND list, int item, int subItem) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, item, subItem, text, 256);
    return text;
}

std::wstring Date(const wchar_t* mm, const wchar_t* dd, const wchar_t* yyyy) {
    const std::wstring sep = platform::DateSeparator();
    return std::wstring(mm) + sep + dd + sep + yyyy;
}

class Explorer : public ::testing::Test {
protected:
    TempDir dir;
    ExplorerHost host;
    TQFileExplorer& x = host.explorer;

    // Several rows may be selected, as in the main window.
    void SetUp() override { host.Create({.multiSelect = true, .hideSelection = false}); }
    std::size_t IndexOf(const std::wstring& caption) {
        for (std::size_t i = 0; i < x.Entries().size(); ++i)
            if (x.Entry(i).caption == caption) return i;
        throw std::runtime_error("no such row");
    }
    const TExplorerEntry& Row(const std::wstring& caption) { return x.Entry(IndexOf(caption)); }
    void SelectOnly(std::initializer_list<const wchar_t*> captions) {
        ListView_SetItemState(x.Handle(), -1, 0, LVIS_SELECTED);
        for (auto c : captions) x.Select(IndexOf(c));
    }
};

TEST(ExplorerConstruction, DefaultsAndTheWindowItMakes) {
    TQFileExplorer fresh;
    EXPECT_EQ(fresh.Directory(), L"");
    EXPECT_EQ(fresh.Mask(), L"*.*");
    EXPECT_TRUE(fresh.FileType().Empty());
    EXPECT_FALSE(fresh.ContextMenu());
    EXPECT_FALSE(fresh.ContextAction());
    EXPECT_EQ(fresh.SortColumn(), 0);
    EXPECT_TRUE(fresh.SortReversed());
    EXPECT_FALSE(fresh.About().empty());
    const std::wstring about = fresh.About();
    fresh.SetAbout(L"changed");
    EXPECT_EQ(fresh.About(), about);
    EXPECT_TRUE(fresh.Entries().empty());

    ExplorerHost host;
    host.Create();
    EXPECT_EQ(host.refills, 1);  // the first fill, of nothing while no folder is set
    EXPECT_TRUE(host.explorer.Entries().empty());
    const Names captions{L"Name", L"Size", L"Type", L"Modified", L"Attributes"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(host.ColumnCaption(i), captions[static_cast<std::size_t>(i)]);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(host.explorer.Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    // The system's image lists are shared, never the list's own.
    EXPECT_TRUE(GetWindowLongW(host.explorer.Handle(), GWL_STYLE) & LVS_SHAREIMAGELISTS);
    EXPECT_EQ(ListView_GetImageList(host.explorer.Handle(), LVSIL_SMALL), platform::SystemImageList(true));
    EXPECT_EQ(ListView_GetImageList(host.explorer.Handle(), LVSIL_NORMAL), platform::SystemImageList(false));
}

TEST_F(Explorer, DirectorySetter) {
    MakeDir(dir / L"Temp");
    const std::wstring folder = dir / L"Temp";
    x.SetDirectory(folder);
    EXPECT_EQ(x.Directory(), folder + L"\\");
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_TRUE(platform::SameTextIgnoringCase(EnsureBackslash(current), folder + L"\\"));
    const int refills = host.refills;
    x.SetDirectory(platform::UpperCase(folder) + L"\\");  // the same folder in other case
    EXPECT_EQ(host.refills, refills);
    x.SetDirectory(folder);  // differs from the stored text by its backslash: lists again
    EXPECT_EQ(host.refills, refills + 1);
    x.SetDirectory(dir / L"no-such-folder");
    EXPECT_EQ(x.Directory(), folder + L"\\");
    EXPECT_EQ(host.refills, refills + 1);

    x.SetDirectory(L"drives");
    EXPECT_EQ(x.Directory(), L"drives");
    EXPECT_TRUE(x.IsDrivesView());
    x.SetDirectory(L"DRIVES");
    EXPECT_EQ(x.Directory(), L"drives");
    EXPECT_EQ(host.refills, refills + 2);
}

class ExplorerFolder : public Explorer {
protected:
    void SetUp() override {
        Explorer::SetUp();
        MakeDir(dir / L"b");
        MakeDir(dir / L"A");
        MakeDir(dir / L"hidden-dir");
        SetFileAttributesW((dir / L"hidden-dir").c_str(), FILE_ATTRIBUTE_HIDDEN);
        WriteBytes(dir / L"z.txt", std::string(10, 'z'));
        WriteBytes(dir / L"B.txt", std::string(9, 'b'));
        WriteBytes(dir / L"report.doc", "d");
        WriteBytes(dir / L" lead.doc", "d");
        WriteBytes(dir / L"ro.txt", "r", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
        WriteBytes(dir / L"hs.bin", "h", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
};

TEST_F(ExplorerFolder, MaskAndFileTypeDecideWhatIsListed) {
    struct Case {
        std::wstring mask;
        TFileType types;
        Names rows;
    };
    const Case cases[] = {
        {L"*.*", {}, {L"A", L"b", L" lead.doc", L"B.txt", L"report.doc", L"z.txt"}},
        {L"*.*", {ftArchive, ftNormal}, {L"A", L"b", L" lead.doc", L"B.txt", L"report.doc", L"z.txt"}},
        {L"*.*",
         kAllTypes,
         {L"A", L"b", L"hidden-dir", L" lead.doc", L"B.txt", L"hs.bin", L"report.doc", L"ro.txt", L"z.txt"}},
        {L"*.txt;*.doc", {}, {L"A", L"b", L" lead.doc", L"B.txt", L"report.doc", L"z.txt"}},
        {L"*.txt;*.t*", {}, {L"A", L"b", L"B.txt", L"B.txt", L"z.txt", L"z.txt"}},  // matches of both patterns
        {L"", {}, {L"A", L"b"}},
        {L"*.txt;", {}, {L"A", L"b", L"B.txt", L"z.txt"}},
        {L"*.txt; *.doc", {}, {L"A", L"b", L" lead.doc", L"B.txt", L"z.txt"}},  // the blank is part of the pattern
    };
    x.SetDirectory(dir.Path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        x.SetFileType(c.types);
        x.SetMask(c.mask);
        x.RefreshList();
        EXPECT_EQ(host.Captions(), c.rows);
    }
}

TEST_F(ExplorerFolder, PassesAppendInPatternOrderUntilTheSort) {
    x.SetDirectory(dir.Path());
    x.SetMask(L"");
    EXPECT_EQ(host.Captions(), (Names{L"A", L"b"}));
    // The passes of a two-pattern mask, as a refill runs them before its sort.
    EXPECT_TRUE(x.ListFolder(dir / L"*.txt", FilterWord({})));
    EXPECT_TRUE(x.ListFolder(dir / L"*.doc", FilterWord({})));
    EXPECT_FALSE(x.ListFolder(dir / L"*.none", FilterWord({})));
    auto rows = host.Captions();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(ListView_GetItemCount(x.Handle()), 6);
    auto isTxt = [](const std::wstring& n) { return n.ends_with(L".txt"); };
    EXPECT_TRUE(std::all_of(rows.begin() + 2, rows.begin() + 4, isTxt));
    EXPECT_TRUE(std::none_of(rows.begin() + 4, rows.end(), isTxt));
    x.SortAfterListing();
    EXPECT_EQ(host.Captions(), (Names{L"A", L"b", L" lead.doc", L"B.txt", L"report.doc", L"z.txt"}));

    // The mask compares with letter case: other case lists again.
    x.SetMask(L"*.txt");
    const int refills = host.refills;
    x.SetMask(L"*.txt");
    EXPECT_EQ(host.refills, refills);
    x.SetMask(L"*.TXT");
    EXPECT_EQ(host.refills, refills + 1);
}

TEST_F(Explorer, NamesOutsideTheCodePageAndLongPaths) {
    std::wstring deep = dir.Path();
    while (deep.size() < 300) {
        deep += L"чертежи-αβγ-" + std::to_wstring(deep.size()) + L"\\";
        MakeDir(deep);
    }
    WriteSparse(deep + L"図面.dwg", 3ull << 30);
    MakeDir(deep + L"設計");
    x.SetDirectory(deep);
    EXPECT_EQ(x.Directory(), deep);
    EXPECT_EQ(host.Captions(), (Names{L"設計", L"図面.dwg"}));
    EXPECT_EQ(x.Entry(1).subItems[0], L"3221225472");
    EXPECT_EQ(x.Entry(1).FullPath(), deep + L"図面.dwg");
    x.Select(1);
    EXPECT_EQ(x.SelectedSize(), 3221225472);
}

TEST_F(ExplorerFolder, RowTexts) {
    x.SetFileType(kAllTypes);
    x.SetDirectory(dir.Path());
    SetModified(dir / L"z.txt", 2002, 3, 2, 14, 7, 41);
    SetModified(dir / L"B.txt", 2004, 12, 31, 0, 0, 0);
    SetModified(dir / L"report.doc", 2004, 12, 31, 0, 0, 30);
    WriteSparse(dir / L"huge.bin", 5ull << 30);
    x.RefreshList();
    const std::wstring timeSep = platform::TimeSeparator();

    const TExplorerEntry& z = Row(L"z.txt");
    EXPECT_EQ(z.subItems[0], L"10");
    EXPECT_EQ(z.subItems[2], Date(L"03", L"02", L"2002") + L" 14" + timeSep + L"07");
    EXPECT_EQ(z.subItems[4], dir / L"z.txt");
    EXPECT_EQ(z.subItems[5], L"file");
    EXPECT_EQ(Row(L"B.txt").subItems[2], Date(L"12", L"31", L"2004"));
    EXPECT_EQ(Row(L"report.doc").subItems[2], Date(L"12", L"31", L"2004") + L" 00" + timeSep + L"00");
    EXPECT_EQ(Row(L"huge.bin").subItems[0], L"5368709120");

    EXPECT_EQ(Row(L"ro.txt").subItems[3], L"AR");
    // Wine keeps the archive bit of every file; the letters follow what the disk reports.
    EXPECT_EQ(Row(L"hs.bin").subItems[3], AttributeLetters(GetFileAttributesW((dir / L"hs.bin").c_str())));
    EXPECT_TRUE(Row(L"hs.bin").subItems[3].ends_with(L"HS"));
    const TExplorerEntry& folder = Row(L"A");
    EXPECT_EQ(folder.subItems[0], L" ");
    EXPECT_EQ(folder.subItems[3], L"");
    EXPECT_EQ(folder.subItems[4], dir / L"A");
    EXPECT_EQ(folder.subItems[5], L"dir");

    // Per-extension answers are what the shell says per path.
    for (const wchar_t* name : {L"z.txt", L"report.doc", L"A", L"hs.bin"}) {
        const auto perPath = platform::QueryShellInfo(dir / name, 0, false);
        EXPECT_EQ(Row(name).subItems[1], perPath.typeName) << name;
        EXPECT_EQ(Row(name).imageIndex, perPath.iconIndex) << name;
    }
    EXPECT_FALSE(Row(L"A").subItems[1].empty());
    // The list shows the rows' texts in its columns.
    EXPECT_EQ(ListViewText(x.Handle(), static_cast<int>(IndexOf(L"z.txt")), 1), L"10");
}

TEST_F(ExplorerFolder, HeaderClicksSortAndAListingResetsTheOrder) {
    x.SetDirectory(dir.Path());
    x.SetMask(L"*.txt");
    EXPECT_EQ(host.Captions(), (Names{L"A", L"b", L"B.txt", L"z.txt"}));
    EXPECT_EQ(x.SortColumn(), 0);
    EXPECT_FALSE(x.SortReversed());

    x.Select(IndexOf(L"B.txt"));
    x.SortColumnClick(1);  // first click: reversed, files first, largest first (folders tie on size)
    EXPECT_EQ(host.Captions(), (Names{L"z.txt", L"B.txt", L"A", L"b"}));
    EXPECT_TRUE(x.SortReversed());
    EXPECT_TRUE(x.IsSelected(IndexOf(L"B.txt")));  // the selection moves with its row
    EXPECT_FALSE(x.IsSelected(IndexOf(L"z.txt")));
    x.SortColumnClick(1);  // second click: folders first, 9 bytes before 10
    EXPECT_EQ(host.Captions(), (Names{L"A", L"b", L"B.txt", L"z.txt"}));

    SetModified(dir / L"B.txt", 2005, 1, 15, 9, 0, 0);
    SetModified(dir / L"z.txt", 2004, 12, 31, 18, 30, 0);
    SetModified(dir / L"A", 2001, 1, 1, 10, 0, 0);
    SetModified(dir / L"b", 2003, 1, 1, 10, 0, 0);
    x.RefreshList();
    x.SortColumnClick(3);
    EXPECT_EQ(host.Captions(), (Names{L"B.txt", L"z.txt", L"b", L"A"}));
    x.SortColumnClick(3);
    EXPECT_EQ(host.Captions(), (Names{L"A", L"b", L"z.txt", L"B.txt"}));  // 31 Dec 2004 before 15 Jan 2005

    // Through the list's own header click notification.
    NMLISTVIEW click{};
    click.hdr.hwndFrom = x.Handle();
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    SendMessageW(host.Handle(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(x.SortColumn(), 1);
    EXPECT_EQ(host.Captions().front(), L"z.txt");

    MakeDir(dir / L"A\\c");
    WriteBytes(dir / L"A\\y.txt", "yy");
    x.SetDirectory(dir / L"A");
    EXPECT_EQ(host.Captions(), (Names{L"c", L"y.txt"}));
    EXPECT_EQ(x.SortColumn(), 0);
    EXPECT_FALSE(x.SortReversed());
}

TEST_F(ExplorerFolder, SelectionQueries) {
    MakeDir(dir / L"q");
    const std::wstring q = dir / L"q\\";
    MakeDir(q + L"sub");
    WriteBytes(q + L"one.bin", std::string(1000, '1'));
    WriteBytes(q + L"two.bin", std::string(2500, '2'));
    WriteSparse(q + L"g1.bin", 1ull << 30);
    WriteSparse(q + L"g2.bin", 2ull << 30);
    x.SetDirectory(q);
    ASSERT_EQ(x.Entries().size(), 5u);

    // Nothing selected: the count is every row, everything else empty.
    x.SelectedFilenames();
    EXPECT_EQ(x.SelectedCount(), 5);
    EXPECT_EQ(x.SelectedSize(), 0);
    EXPECT_TRUE(x.SelectedTypes().Empty());
    EXPECT_EQ(x.SelectedFilenames(), L"");
    EXPECT_TRUE(x.SelectionList().empty());
    EXPECT_TRUE(x.GetNameList(false, true).empty());
    EXPECT_EQ(x.GetNameList(false, false), (Names{L"sub", L"g1.bin", L"g2.bin", L"one.bin", L"two.bin"}));

    SelectOnly({L"one.bin", L"two.bin", L"sub"});
    EXPECT_EQ(x.SelectedCount(), 3);
    EXPECT_EQ(x.SelectedSize(), 3500);
    EXPECT_EQ(x.SelectedTypes(), (TObjectTypes{otFile, otDirectory}));
    EXPECT_EQ(x.SelectedFilenames(), q + L"sub;" + q + L"one.bin;" + q + L"two.bin");
    EXPECT_EQ(x.SelectionList(), (Names{L"sub", L"one.bin", L"two.bin"}));
    EXPECT_EQ(x.GetNameList(false, true), (Names{L"sub", L"one.bin", L"two.bin"}));
    EXPECT_EQ(x.GetNameList(true, true), (Names{q + L"sub", q + L"one.bin", q + L"two.bin"}));

    SelectOnly({L"g1.bin", L"g2.bin"});
    EXPECT_EQ(x.SelectedSize(), 3221225472);  // 64-bit: no wrap at 2 GiB

    SelectOnly({L"one.bin"});
    EXPECT_EQ(x.SelectedFilenames(), q + L"one.bin");
    DeleteFileW((q + L"one.bin").c_str());
    EXPECT_EQ(x.SelectedSize(), 0);
    EXPECT_EQ(x.SelectedTypes(), TObjectTypes{otFile});

    const TDiskInfo drive = TQFileExplorer::GetDiskInfo(q.substr(0, 2));
    EXPECT_GT(drive.TotalSize, 0);
    EXPECT_EQ(x.GetDriveSize(), drive.TotalSize);

    MakeDir(dir / L"empty");
    x.SetDirectory(dir / L"empty");
    EXPECT_EQ(x.SelectedCount(), 0);
    EXPECT_TRUE(x.GetNameList(false, false).empty());
}

TEST_F(Explorer, DrivesView) {
    x.SetDirectory(L"Drives");
    ASSERT_GE(x.Entries().size(), 2u);  // Wine has C: and Z:
    std::vector<std::wstring> roots;
    for (const auto& e : x.Entries()) roots.push_back(e.FullPath());
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    EXPECT_EQ(roots.front(), L"C:\\");
    EXPECT_EQ(host.ColumnCaption(1), L"Type");
    EXPECT_EQ(host.ColumnCaption(2), L"Disk Size");
    EXPECT_EQ(host.ColumnCaption(3), L"Free Space");
    EXPECT_EQ(host.ColumnCaption(4), L"Attributes");
    const TExplorerEntry& c = x.Entries().front();
    const TDiskInfo info = TQFileExplorer::GetDiskInfo(L"C:");
    EXPECT_EQ(info.Drive, L"C:");
    EXPECT_EQ(c.subItems[0], L"Fixed");
    EXPECT_EQ(c.subItems[1], GroupDigits(static_cast<std::uint64_t>(info.TotalSize), platform::ThousandsSeparator()));
    EXPECT_EQ(c.subItems[3], L"");
    EXPECT_EQ(c.subItems[5], L"drv");
    EXPECT_FALSE(c.caption.empty());
    EXPECT_TRUE(TQFileExplorer::IsDriveReady(L"C:"));

    // A sort by "Type" leaves the rows as they are; the drive queries answer for every ready drive.
    x.SortColumnClick(1);
    std::vector<std::wstring> after;
    for (const auto& e : x.Entries()) after.push_back(e.FullPath());
    EXPECT_EQ(after, roots);
    x.Select(0);
    x.Select(1);
    EXPECT_EQ(x.SelectedTypes(), TObjectTypes{otDisk});
    EXPECT_EQ(x.SelectedSize(), 0);
    EXPECT_EQ(x.SelectedFilenames(), roots[0] + L";" + roots[1]);
    EXPECT_EQ(x.SelectionList(), (Names{L"", L""}));
    std::int64_t total = 0;
    for (const auto& root : roots) total += TQFileExplorer::GetDiskInfo(root).TotalSize;
    EXPECT_EQ(x.GetDriveSize(), total);
    // A drive letter with nothing behind it is not ready and has no sizes.
    const TDiskInfo none = TQFileExplorer::GetDiskInfo(L"Q:");
    EXPECT_FALSE(TQFileExplorer::IsDriveReady(L"Q:"));
    EXPECT_EQ(none.TotalSize, 0);
    EXPECT_EQ(DriveTypeName(none.DriveType), L"<not exists>");
}

}  // namespace
}  // namespace korvex::test
