// The explorer list in a real window under Wine, on real folders.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

#include "ExplorerHost.h"
#include "ExplorerText.h"
#include "FileSystem.h"
#include "FolderReadAhead.h"
#include "Locale.h"
#include "PathText.h"
#include "ShellInfo.h"
#include "TestSupport.h"
#include "Win32Error.h"

namespace korvex::test {
namespace {

using components::FolderReadAhead;
using components::ShellAnswerThread;
using components::TQFileExplorer;
using Names = std::vector<std::wstring>;

const TFileType kAllTypes{ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal};

std::wstring ListViewText(HWND list, int item, int subItem) {
    wchar_t text[256] = {};
    ListView_GetItemText(list, item, subItem, text, 256);
    return text;
}

// A date's text in the user's short date order and separator.
std::wstring Date(const wchar_t* mm, const wchar_t* dd, const wchar_t* yyyy) {
    const std::wstring sep = platform::DateSeparator();
    switch (platform::ShortDateOrder()) {
        case DateOrder::dayMonthYear: return std::wstring(dd) + sep + mm + sep + yyyy;
        case DateOrder::yearMonthDay: return std::wstring(yyyy) + sep + mm + sep + dd;
        default: return std::wstring(mm) + sep + dd + sep + yyyy;
    }
}

// Until every answer the list asked of the shell in the background has landed, within a bound.
bool AnswersLanded(const TQFileExplorer& list) {
    return WaitFor([&] { return !list.ShellAnswersOutstanding(); });
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
    // They are the lists the shell's icon indices refer to.
    SHFILEINFOW sfi{};
    const auto shellList = [&](UINT size) {
        return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | size));
    };
    EXPECT_EQ(ListView_GetImageList(host.explorer.Handle(), LVSIL_SMALL), shellList(SHGFI_SMALLICON));
    EXPECT_EQ(ListView_GetImageList(host.explorer.Handle(), LVSIL_NORMAL), shellList(SHGFI_LARGEICON));
}

TEST_F(Explorer, DirectorySetter) {
    MakeDir(dir / L"Temp");
    const std::wstring folder = dir / L"Temp";
    x.SetDirectory(folder);
    EXPECT_EQ(x.Directory(), folder + L"\\");
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_TRUE(platform::SameNameIgnoringCase(EnsureBackslash(current), folder + L"\\"));
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

// Folders whose names differ only in characters the user's language rules pass over when they
// compare texts (a soft hyphen, a zero-width space or joiner) are different folders to the file
// system: going from one to the other lists the other, and the list then follows the changes on
// disk of the folder it shows, not of the one before.
TEST_F(Explorer, FoldersDifferingOnlyInCharactersLanguageRulesIgnoreAreTwoFolders) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"ab", L"a\u00ADb"},
        {L"plan", L"plan\u200B"},
        {L"Лист", L"Ли\u200Dст"},
    };
    for (const auto& [first, second] : cases) {
        const std::wstring a = dir / first, b = dir / second;
        MakeDir(a);
        MakeDir(b);
        WriteBytes(a + L"\\in-first.txt", "1");
        WriteBytes(b + L"\\in-second.txt", "2");
        // With the backslash, as a double click on a folder's row gives it.
        x.SetDirectory(a + L"\\");
        ASSERT_EQ(x.Directory(), a + L"\\");
        x.SetDirectory(b + L"\\");
        EXPECT_EQ(x.Directory(), b + L"\\");
        EXPECT_EQ(host.Captions(), Names{L"in-second.txt"});
        WriteBytes(b + L"\\added.txt", "3");
        EXPECT_TRUE(WaitFor([&] { return host.Captions().size() == 2; })) << "the change on disk was not seen";
    }
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
        {L"*",
         kAllTypes,
         {L"A", L"b", L"hidden-dir", L" lead.doc", L"B.txt", L"hs.bin", L"report.doc", L"ro.txt", L"z.txt"}},
        // Two catch-all patterns: two passes, every file twice.
        {L"*.*;*",
         {},
         {L"A", L"b", L" lead.doc", L" lead.doc", L"B.txt", L"B.txt", L"report.doc", L"report.doc", L"z.txt",
          L"z.txt"}},
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

// Start-up lists its saved folder on a thread of its own while the window builds itself. Those
// rows are the rows a listing of the folder makes (texts, icons, order, the attribute filter),
// and they serve only the listing of their folder that follows at once.
TEST_F(ExplorerFolder, RowsListedAheadAreTheRowsOfAListingAndServeItOnce) {
    WriteBytes(dir / L"tool.exe", "MZ");  // an icon of its own, asked in the background
    WriteBytes(dir / L"чертёж.dwg", "x");
    using Row = std::tuple<std::wstring, std::array<std::wstring, 6>, int>;
    auto shownRows = [&] {
        EXPECT_TRUE(AnswersLanded(x));
        std::vector<Row> rows;
        for (std::size_t i = 0; i < x.Entries().size(); ++i)
            rows.emplace_back(x.Entry(i).caption, x.Entry(i).subItems, x.Entry(i).imageIndex);
        return rows;
    };
    auto hasRow = [&](const std::wstring& caption) {
        const auto names = host.Captions();
        return std::find(names.begin(), names.end(), caption) != names.end();
    };
    const std::wstring late = dir / L"late.txt";
    for (const TFileType types : {TFileType{}, kAllTypes}) {
        DeleteFileW(late.c_str());
        x.SetDirectory(L"drives");
        x.SetFileType(types);
        auto ahead = std::make_unique<FolderReadAhead>(dir.Path(), TQFileExplorer::Facts());
        ahead->Wait();
        // Written after the folder was read: missing from the rows listed ahead.
        WriteBytes(late, "l");
        x.UseReadAhead(std::move(ahead));
        x.SetDirectory(dir.Path());
        EXPECT_FALSE(hasRow(L"late.txt"));
        std::vector<Row> listedAhead = shownRows();
        ASSERT_GE(listedAhead.size(), 8u);

        x.RefreshList();
        std::vector<Row> listed = shownRows();
        ASSERT_TRUE(hasRow(L"late.txt"));
        std::erase_if(listed, [](const Row& r) { return std::get<0>(r) == L"late.txt"; });
        EXPECT_EQ(listed, listedAhead);
    }

    // Rows of another folder are dropped by the listing that comes first; they never serve later.
    x.SetDirectory(L"drives");
    auto ahead = std::make_unique<FolderReadAhead>(dir.Path(), TQFileExplorer::Facts());
    ahead->Wait();
    WriteBytes(dir / L"later.txt", "l");
    x.UseReadAhead(std::move(ahead));
    x.SetDirectory(dir / L"A");
    EXPECT_TRUE(host.Captions().empty());
    x.SetDirectory(dir.Path());
    EXPECT_TRUE(hasRow(L"later.txt"));

    // A folder that cannot be read hands over nothing, and the listing reads for itself.
    FolderReadAhead missing(dir / L"no such folder\\", TQFileExplorer::Facts());
    EXPECT_FALSE(missing.Take().has_value());
    EXPECT_FALSE(missing.Take().has_value());
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
    ASSERT_TRUE(AnswersLanded(x));
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

TEST(ExplorerLocale, FoldCaseOfAsciiAndOtherScripts) {
    auto bySystem = [](const wchar_t* locale, DWORD flags, std::wstring_view text) {
        std::wstring out(text.size(), L'\0');
        LCMapStringEx(locale, flags, text.data(), static_cast<int>(text.size()), out.data(),
                      static_cast<int>(out.size()), nullptr, nullptr, 0);
        return out;
    };
    std::wstring ascii;
    for (wchar_t c = 1; c < 0x80; ++c) ascii += c;
    // Both mappings skip the system for ASCII text and must say what it would.
    for (const std::wstring& text : {ascii, std::wstring(L"Sheet-12.DWG"), std::wstring(L"Лист-12.dwg"),
                                     std::wstring(L"ÄÖ.txt"), std::wstring(L"iıİI")}) {
        EXPECT_EQ(platform::FoldCase(text), bySystem(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text));
        EXPECT_EQ(platform::UpperCase(text), bySystem(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, text));
    }
    EXPECT_EQ(platform::FoldCase(L"C:\\Docs\\REPORT.Txt"), L"c:\\docs\\report.txt");
    EXPECT_EQ(platform::FoldCase(L"D:\\ЧЕРТЕЖИ\\Лист.DWG"), L"d:\\чертежи\\лист.dwg");
    EXPECT_EQ(platform::FoldCase(L"ÄÖ.TXT"), L"äö.txt");
    EXPECT_EQ(platform::FoldCase(L""), L"");
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

// The columns follow the view (drives or a folder); a width the user gave a column stays through
// listings of the same view, a folder's again or another folder's.
TEST_F(ExplorerFolder, AColumnWidthTheUserGaveStaysWhileTheViewDoes) {
    auto width = [&](int column) {
        LVCOLUMNW c{};
        c.mask = LVCF_WIDTH;
        ListView_GetColumn(x.Handle(), column, &c);
        return c.cx;
    };
    auto setWidth = [&](int column, int cx) {
        LVCOLUMNW c{};
        c.mask = LVCF_WIDTH;
        c.cx = cx;
        ListView_SetColumn(x.Handle(), column, &c);
    };
    x.SetDirectory(dir.Path());
    ASSERT_EQ(host.ColumnCaption(2), L"Type");
    const int typeWidth = width(2);
    setWidth(2, typeWidth + 37);
    x.RefreshList();
    EXPECT_EQ(width(2), typeWidth + 37);
    x.SetDirectory(dir / L"A");
    EXPECT_EQ(width(2), typeWidth + 37);

    x.SetDirectory(L"Drives");
    EXPECT_EQ(host.ColumnCaption(2), L"Disk Size");
    x.SetDirectory(dir.Path());
    EXPECT_EQ(host.ColumnCaption(2), L"Type");
    EXPECT_EQ(width(2), typeWidth);
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

// Errors that reach the general error box, recorded instead of shown.
class ErrorBox {
public:
    ErrorBox() {
        ui::SetErrorReporter([this](const std::wstring& message) { messages.push_back(message); });
    }
    ~ErrorBox() { ui::SetErrorReporter(nullptr); }
    std::vector<std::wstring> messages;
};

std::string ReadAll(const std::wstring& path) {
    try {
        return platform::ReadFileBytes(path);
    } catch (const std::exception&) {
        return "<missing>";
    }
}

class ExplorerRename : public ExplorerFolder {
protected:
    ErrorBox errors;
    void SetUp() override {
        ExplorerFolder::SetUp();
        x.SetDirectory(dir.Path());
    }
    // F2 on the entry (focused and selected), the new text typed, then Enter or Escape.
    void EditCaption(const std::wstring& caption, const std::wstring& text, WPARAM endKey = VK_RETURN) {
        const int i = static_cast<int>(IndexOf(caption));
        ListView_SetItemState(x.Handle(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(x.Handle(), i, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        SendMessageW(x.Handle(), WM_KEYDOWN, VK_F2, 1);
        const HWND edit = ListView_GetEditControl(x.Handle());
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(WindowText(edit), caption);  // the edit starts from the caption
        SetWindowTextW(edit, text.c_str());
        SendMessageW(edit, WM_KEYDOWN, endKey, 1);
        EXPECT_EQ(ListView_GetEditControl(x.Handle()), nullptr);
    }
};

TEST_F(ExplorerRename, F2TypingAndEnterRenameOnDiskAndUpdateTheRow) {
    EditCaption(L"z.txt", L"zeta.doc");
    ASSERT_TRUE(AnswersLanded(x));
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(ReadAll(dir / L"z.txt"), "<missing>");
    EXPECT_EQ(ReadAll(dir / L"zeta.doc"), std::string(10, 'z'));
    const std::size_t i = IndexOf(L"zeta.doc");
    const TExplorerEntry& row = x.Entry(i);
    EXPECT_EQ(row.FullPath(), dir / L"zeta.doc");
    const auto shell = platform::QueryShellInfo(dir / L"zeta.doc", 0, false);
    EXPECT_EQ(row.subItems[1], shell.typeName);  // a .doc's type now, not a .txt's
    EXPECT_EQ(row.subItems[1], Row(L"report.doc").subItems[1]);
    EXPECT_EQ(row.imageIndex, shell.iconIndex);
    EXPECT_EQ(row.sortKeys.name, platform::UpperCase(L"zeta.doc"));
    EXPECT_EQ(row.subItems[0], L"10");
    EXPECT_TRUE(x.IsSelected(i));
    EXPECT_EQ(ListView_GetSelectedCount(x.Handle()), 1u);
    EXPECT_EQ(ListViewText(x.Handle(), static_cast<int>(i), 0), L"zeta.doc");

    // A folder.
    EditCaption(L"A", L"Archive");
    EXPECT_NE(platform::FileAttributes(dir / L"Archive"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Row(L"Archive").Kind(), L"dir");
    EXPECT_EQ(Row(L"Archive").FullPath(), dir / L"Archive");
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(ExplorerRename, RefusedNamesChangeNothingAndShowTheSystemsReason) {
    struct Case {
        std::wstring text;
        DWORD code;
    };
    const Case cases[] = {
        {L"B.txt", ERROR_ALREADY_EXISTS},       // the name of another file
        {L"b.TXT", ERROR_ALREADY_EXISTS},       // the same in other case
        {L"b", ERROR_ALREADY_EXISTS},           // the name of a folder
        {L"what?.txt", ERROR_INVALID_NAME},     // a character the file system refuses
        {L"A\\moved.txt", ERROR_INVALID_NAME},  // not a move into a folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        errors.messages.clear();
        const Names before = host.Captions();
        EditCaption(L"z.txt", c.text);
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_NE(errors.messages[0].find(platform::SystemMessage(c.code)), std::wstring::npos) << errors.messages[0];
        EXPECT_NE(errors.messages[0].find(L"z.txt"), std::wstring::npos);
        EXPECT_EQ(ReadAll(dir / L"z.txt"), std::string(10, 'z'));
        EXPECT_EQ(ReadAll(dir / L"B.txt"), std::string(9, 'b'));
        EXPECT_EQ(ReadAll(dir / L"A\\moved.txt"), "<missing>");
        EXPECT_EQ(host.Captions(), before);
        EXPECT_EQ(Row(L"z.txt").FullPath(), dir / L"z.txt");
    }
    // An empty name (Wine's list ends such an edit as cancelled; Windows' hands it on).
    try {
        x.RenameEntry(IndexOf(L"z.txt"), L"");
        ADD_FAILURE() << "an empty name was taken";
    } catch (const platform::Win32Error& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_INVALID_NAME));
    }
    EXPECT_EQ(ReadAll(dir / L"z.txt"), std::string(10, 'z'));
}

TEST_F(ExplorerRename, EscapeCancelsAndDrivesAreNotRenamed) {
    EditCaption(L"z.txt", L"other.txt", VK_ESCAPE);
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(ReadAll(dir / L"z.txt"), std::string(10, 'z'));
    EXPECT_EQ(ReadAll(dir / L"other.txt"), "<missing>");
    EXPECT_EQ(Row(L"z.txt").caption, L"z.txt");
    // The same text as before renames nothing.
    EditCaption(L"z.txt", L"z.txt");
    EXPECT_TRUE(errors.messages.empty());

    x.SetDirectory(L"Drives");
    x.BeginRename(0);
    EXPECT_EQ(ListView_GetEditControl(x.Handle()), nullptr);
    ListView_EditLabel(x.Handle(), 0);  // the list itself is asked: the explorer says no
    EXPECT_EQ(ListView_GetEditControl(x.Handle()), nullptr);
}

TEST_F(Explorer, RenameInADeepFolderWithNamesOutsideTheCodePage) {
    std::wstring deep = dir.Path();
    while (deep.size() < 300) {
        deep += L"чертежи-" + std::to_wstring(deep.size()) + L"\\";
        MakeDir(deep);
    }
    WriteBytes(deep + L"図面.dwg", "dwg");
    x.SetDirectory(deep);
    x.RenameEntry(0, L"設計図.dwg");
    EXPECT_EQ(ReadAll(deep + L"設計図.dwg"), "dwg");
    EXPECT_EQ(x.Entry(0).FullPath(), deep + L"設計図.dwg");
}

// A file type of the test's own under HKCU\Software\Classes for the icons the list shows (no open
// command: that is TestFileType's), removed at the end.
class IconFileType {
public:
    IconFileType(std::wstring extension, std::wstring progId)
        : extension_(std::move(extension)), progId_(std::move(progId)) {
        Set(extension_, L"", progId_);
    }
    ~IconFileType() {
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + extension_).c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + progId_).c_str());
    }
    void Set(const std::wstring& subKey, const std::wstring& name, const std::wstring& value) const {
        ASSERT_TRUE(WriteRegistryText(HKEY_CURRENT_USER, L"Software\\Classes\\" + subKey, name, value));
    }
    const std::wstring& ProgId() const { return progId_; }

private:
    std::wstring extension_, progId_;
};

// A 16x16 icon file of one colour.
std::string IconFile(std::uint32_t colour) {
    std::string bytes;
    auto put16 = [&](std::uint16_t v) { bytes.append(reinterpret_cast<const char*>(&v), 2); };
    auto put32 = [&](std::uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); };
    const std::uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    put16(0), put16(1), put16(1);  // icon directory, one image
    bytes += '\x10', bytes += '\x10', bytes += '\0', bytes += '\0';
    put16(1), put16(32), put32(imageSize), put32(22);
    put32(40), put32(16), put32(32), put16(1), put16(32), put32(0), put32(16 * 16 * 4), put32(0), put32(0), put32(0),
        put32(0);
    for (int i = 0; i < 16 * 16; ++i) put32(colour | 0xFF000000u);
    bytes.append(16 * 4, '\0');  // the AND mask: every pixel shown
    return bytes;
}

TEST_F(Explorer, TypesThatDrawEachFilesOwnIconAreAskedPerPath) {
    const IconFileType ownIcon(L".kvxown", L"Korvex.TestOwnIcon");
    ownIcon.Set(ownIcon.ProgId() + L"\\DefaultIcon", L"", L"%1");
    const IconFileType handler(L".kvxhandler", L"Korvex.TestIconHandler");
    handler.Set(handler.ProgId() + L"\\shellex\\IconHandler", L"", L"{00000000-0000-0000-0000-00000000C0DE}");
    const IconFileType extensionHandler(L".kvxext", L"Korvex.TestPlainIcon2");
    extensionHandler.Set(L".kvxext\\shellex\\IconHandler", L"", L"{00000000-0000-0000-0000-00000000C0DE}");
    const IconFileType plain(L".kvxplain", L"Korvex.TestPlainIcon");
    plain.Set(plain.ProgId() + L"\\DefaultIcon", L"", L"shell32.dll,3");

    platform::ShellInfoCache cache;
    EXPECT_TRUE(cache.AnsweredPerPath(L"a.kvxown", 0));
    EXPECT_TRUE(cache.AnsweredPerPath(L"A.KVXOWN", 0));
    EXPECT_TRUE(cache.AnsweredPerPath(L"a.kvxhandler", 0));
    EXPECT_TRUE(cache.AnsweredPerPath(L"a.kvxext", 0));
    EXPECT_FALSE(cache.AnsweredPerPath(L"a.kvxplain", 0));
    EXPECT_FALSE(cache.AnsweredPerPath(L"a.kvxnone", 0));
    EXPECT_FALSE(cache.AnsweredPerPath(L"a.txt", 0));
    EXPECT_TRUE(cache.AnsweredPerPath(L"a.exe", 0));
    // A folder has an answer of its own only when the shell may read its desktop.ini.
    EXPECT_FALSE(cache.AnsweredPerPath(L"folder.exe", FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(cache.AnsweredPerPath(L"folder.kvxown", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(cache.AnsweredPerPath(L"folder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(cache.AnsweredPerPath(L"folder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));

    // Each file of a "%1" type shows what the shell answers for its own path. (Wine's shell reads
    // only the machine's classes, so here it answers both with the same generic icon; on Windows
    // each shows its own picture.)
    WriteBytes(dir / L"red.kvxown", IconFile(0xFF0000));
    WriteBytes(dir / L"blue.kvxown", IconFile(0x0000FF));
    x.SetDirectory(dir.Path());
    ASSERT_TRUE(AnswersLanded(x));
    EXPECT_EQ(x.Entry(1).caption, L"red.kvxown");
    EXPECT_EQ(x.Entry(0).imageIndex, platform::QueryShellInfo(dir / L"blue.kvxown", 0, false).iconIndex);
    EXPECT_EQ(x.Entry(1).imageIndex, platform::QueryShellInfo(dir / L"red.kvxown", 0, false).iconIndex);
}

TEST_F(Explorer, OwnAnswersAreKeptForEntriesThatDidNotChangeAndTypesAreAskedOncePerListing) {
    MakeDir(dir / L"sub");
    const std::wstring sub = dir / L"sub";
    const DWORD marked = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    const FILETIME t1{1, 2}, t2{3, 4};
    platform::ShellItemInfo own;
    own.iconIndex = 4321;
    own.typeName = L"its own";
    platform::ShellInfoCache cache;
    // True when the entry still needs an answer of its own; else it shows the one remembered.
    auto wantsOwn = [&](DWORD attributes, const FILETIME& time) {
        const auto answer = cache.ForEntry(sub, L"sub", attributes, time);
        if (!answer.askPerPath) {
            EXPECT_EQ(answer.info.typeName, own.typeName);
        }
        return answer.askPerPath;
    };
    cache.BeginListing(false);
    EXPECT_TRUE(wantsOwn(marked, t1));
    cache.Remember(sub, marked, t1, own);
    EXPECT_FALSE(wantsOwn(marked, t1));  // the same listing again
    cache.BeginListing(true);
    EXPECT_FALSE(wantsOwn(marked, t1));  // unchanged: the answer of the listing before
    cache.BeginListing(true);
    EXPECT_FALSE(wantsOwn(marked, t1));  // and of the one before that
    cache.BeginListing(true);
    EXPECT_TRUE(wantsOwn(marked, t2));  // written since
    cache.Remember(sub, marked, t2, own);
    cache.BeginListing(true);
    EXPECT_TRUE(wantsOwn(marked | FILE_ATTRIBUTE_HIDDEN, t2));  // other attributes
    cache.Remember(sub, marked | FILE_ATTRIBUTE_HIDDEN, t2, own);
    cache.BeginListing(false);
    EXPECT_TRUE(wantsOwn(marked | FILE_ATTRIBUTE_HIDDEN, t2));  // a fresh listing asks anew

    // Plain folders and the files of a plain type: one question each per listing, by type; the
    // first file of the type is to confirm it by its path.
    MakeDir(dir / L"other");
    WriteBytes(dir / L"a.txt", "a");
    WriteBytes(dir / L"b.txt", "b");
    cache.BeginListing(false);
    const std::size_t before = cache.ShellQueries();
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"sub", L"other"}) {
        const DWORD attributes = name[1] == L'.' ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_DIRECTORY;
        const auto answer = cache.ForEntry(dir / name, name, attributes, t1);
        EXPECT_FALSE(answer.askPerPath) << name;
        EXPECT_EQ(answer.confirmType, name == std::wstring_view(L"a.txt")) << name;
        EXPECT_EQ(answer.info.iconIndex, platform::QueryShellInfo(dir / name, attributes, false).iconIndex) << name;
    }
    EXPECT_EQ(cache.ShellQueries() - before, 2u);
    // A type not confirmed yet is asked again by a listing that keeps answers; a confirmed one
    // (as the path words it) is not, until a fresh listing.
    cache.BeginListing(true);
    EXPECT_TRUE(cache.ForEntry(dir / L"b.txt", L"b.txt", FILE_ATTRIBUTE_ARCHIVE, t1).confirmType);
    EXPECT_EQ(cache.ShellQueries() - before, 3u);
    platform::ShellItemInfo byPath = platform::QueryShellInfo(dir / L"b.txt", FILE_ATTRIBUTE_ARCHIVE, false);
    byPath.typeName += L" (by path)";
    EXPECT_TRUE(cache.ConfirmType(L"B.TXT", byPath).has_value());
    EXPECT_FALSE(cache.ConfirmType(L"b.txt", byPath).has_value());  // nothing new
    cache.BeginListing(true);
    const auto confirmed = cache.ForEntry(dir / L"a.txt", L"a.txt", FILE_ATTRIBUTE_ARCHIVE, t1);
    EXPECT_EQ(confirmed.info.typeName, byPath.typeName);
    EXPECT_FALSE(confirmed.confirmType);
    EXPECT_EQ(cache.ShellQueries() - before, 3u);
    cache.BeginListing(false);
    EXPECT_TRUE(cache.ForEntry(dir / L"a.txt", L"a.txt", FILE_ATTRIBUTE_ARCHIVE, t1).confirmType);
    EXPECT_EQ(cache.ShellQueries() - before, 4u);
}

// Ends the test process with a message when a scope is not left in time: a join that never
// returns or a wait on the background thread fails the run at once instead of holding it.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (changed_.wait_for(lock, limit, [this] { return done_; })) return;
              std::fprintf(stderr, "watchdog: the test hung\n");
              std::fflush(stderr);
              std::abort();
          }) {}
    ~Watchdog() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool done_ = false;
    std::thread thread_;
};

// Folders whose entries need answers of their own, asked in the background.
class ExplorerAnswers : public Explorer {
protected:
    Watchdog watchdog{std::chrono::seconds(120)};
    std::wstring programs, documents;
    static constexpr int kFiles = 500;
    void SetUp() override {
        Explorer::SetUp();
        programs = dir / L"programs";
        documents = dir / L"documents";
        MakeDir(programs);
        MakeDir(documents);
        for (int i = 0; i < kFiles; ++i) {
            WriteBytes(programs + L"\\tool-" + std::to_wstring(1000 + i) + L".exe", "MZ");
            WriteBytes(documents + L"\\note-" + std::to_wstring(1000 + i) + L".txt", "t");
        }
    }
    // Waits until the thread has asked some of the folder's questions and not all of them.
    void UntilMidAnswers() {
        ASSERT_TRUE(WaitFor([&] { return x.ShellQuestionsAsked() >= 3; }, std::chrono::seconds(30)));
        ASSERT_TRUE(x.ShellAnswersOutstanding()) << "every answer came before the test could interrupt them";
    }
    // Every row shows what the shell answers for its own path.
    void ExpectOwnAnswers() {
        for (const auto& row : x.Entries()) {
            const auto shell = platform::QueryShellInfo(row.FullPath(), 0, false);
            ASSERT_EQ(row.imageIndex, shell.iconIndex) << row.FullPath();
            ASSERT_EQ(row.subItems[1], shell.typeName) << row.FullPath();
        }
    }
};

TEST_F(ExplorerAnswers, ANewListingOrFolderDropsWhatIsOutstandingAndNothingOfItLandsLate) {
    const std::wstring programsType = platform::QueryShellInfo(programs + L"\\tool-1000.exe", 0, false).typeName;
    const std::wstring documentsType = platform::QueryShellInfo(documents + L"\\note-1000.txt", 0, false).typeName;
    ASSERT_NE(programsType, documentsType);

    // The same folder listed again in the middle of its answers: they all come, once, right.
    x.SetDirectory(programs);
    EXPECT_EQ(x.Entries().size(), static_cast<std::size_t>(kFiles));  // shown before its answers
    UntilMidAnswers();
    SendMessageW(x.Handle(), WM_KEYDOWN, VK_F5, 1);
    ASSERT_TRUE(AnswersLanded(x));
    ExpectOwnAnswers();

    // Another folder of as many rows in the middle of the answers: none of the old folder's
    // answers lands on a row of the new one.
    x.SetDirectory(dir.Path());
    x.SetDirectory(programs);
    UntilMidAnswers();
    x.SetDirectory(documents);
    ASSERT_TRUE(AnswersLanded(x));
    for (const auto& row : x.Entries()) ASSERT_EQ(row.subItems[1], documentsType) << row.caption;
    ExpectOwnAnswers();
    EXPECT_EQ(TQFileExplorer::ShellThreadsRunning(), 1);  // one thread for the list, whatever it showed
}

TEST_F(ExplorerAnswers, TheListDestroyedWithAnswersOutstandingEndsItsThread) {
    const int before = TQFileExplorer::ShellThreadsRunning();
    {
        ExplorerHost other;
        other.Create();
        other.explorer.SetDirectory(programs);
        ASSERT_TRUE(WaitFor([&] { return other.explorer.ShellQuestionsAsked() >= 3; }, std::chrono::seconds(30)));
        ASSERT_TRUE(other.explorer.ShellAnswersOutstanding());
        EXPECT_EQ(TQFileExplorer::ShellThreadsRunning(), before + 1);
        // The window goes first, the list object after it: neither waits for the answers.
        DestroyWindow(other.Handle());
        EXPECT_EQ(TQFileExplorer::ShellThreadsRunning(), before);
        EXPECT_FALSE(other.explorer.ShellAnswersOutstanding());
    }
    {
        ExplorerHost other;
        other.Create();
        other.explorer.SetDirectory(programs);
        ASSERT_TRUE(WaitFor([&] { return other.explorer.ShellQuestionsAsked() >= 3; }, std::chrono::seconds(30)));
    }  // the list object and its window at once
    EXPECT_EQ(TQFileExplorer::ShellThreadsRunning(), before);
    // A thread let go inside its question comes out of it soon after: these questions return.
    EXPECT_TRUE(WaitFor([] { return ShellAnswerThread::Ending() == 0; }));
    // Whatever was posted to the windows that are gone is handled by nobody: the messages of this
    // thread still run (no crash, nothing shown).
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A question the shell does not answer for a long time (a network drive whose server is gone)
// is played by a stand-in of the test's own that waits for the test's event. Until the event is
// set, every question it is given holds its thread.
struct HeldQuestion {
    platform::UniqueHandle entered{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    platform::UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> asked{0};
    // Shared with the thread: it may come out of the question after the test has left its scope.
    static ShellAnswerThread::Ask Ask(const std::shared_ptr<HeldQuestion>& held) {
        return [held](const components::ShellRequest&, components::ShellAnswer&) {
            ++held->asked;
            SetEvent(held->entered.get());
            WaitForSingleObject(held->release.get(), INFINITE);
        };
    }
    // The list asks once it is painted, from a posted message: the window's messages run meanwhile.
    bool Entered() const {
        return WaitFor([this] { return WaitForSingleObject(entered.get(), 0) == WAIT_OBJECT_0; });
    }
};

constexpr auto kAtOnce = std::chrono::seconds(2);  // far below any network's time-out

TEST_F(ExplorerAnswers, AListClosedWhileAQuestionHangsClosesAtOnceAndItsThreadEndsAlone) {
    struct Case {
        const char* how;
        bool windowFirst;  // the window destroyed before the list object, or both at once
    };
    for (const Case c : {Case{"the window first", true}, Case{"the list with its window", false}}) {
        SCOPED_TRACE(c.how);
        const auto held = std::make_shared<HeldQuestion>();
        const platform::ScopeExit releaseAtEnd([&] { SetEvent(held->release.get()); });
        const int running = TQFileExplorer::ShellThreadsRunning(), ending = ShellAnswerThread::Ending();
        std::chrono::steady_clock::duration took{};
        {
            auto other = std::make_unique<ExplorerHost>();
            other->explorer.Shell.AskPerPath = HeldQuestion::Ask(held);
            other->Create();
            other->explorer.SetDirectory(programs);  // each program's own icon is asked per path
            ASSERT_TRUE(held->Entered());
            const auto start = std::chrono::steady_clock::now();
            if (c.windowFirst) {
                DestroyWindow(other->Handle());
                EXPECT_FALSE(other->explorer.ShellAnswersOutstanding());
            }
            other.reset();
            took = std::chrono::steady_clock::now() - start;
        }
        EXPECT_LT(took, kAtOnce);
        EXPECT_EQ(TQFileExplorer::ShellThreadsRunning(), running);
        EXPECT_EQ(ShellAnswerThread::Ending(), ending + 1);  // still inside the question
        // The question returns: the thread asks nothing more and ends, and nothing it could
        // still post reaches anybody.
        SetEvent(held->release.get());
        EXPECT_TRUE(WaitFor([&] { return ShellAnswerThread::Ending() == ending; }));
        EXPECT_EQ(held->asked.load(), 1);
        PumpPending();
    }
    // The list in this fixture still gets its answers from its own thread.
    x.SetDirectory(documents);
    ASSERT_TRUE(AnswersLanded(x));
    ExpectOwnAnswers();
}

// The thread on its own, woken through a window of the test's: once the object is gone the
// window hears nothing more from it, not even of the answer that was under way.
TEST(ShellAnswerThreadLetGo, NothingIsPostedOrAskedOnceTheObjectIsGone) {
    static const UINT kWake = RegisterWindowMessageW(L"Korvex.Test.ShellAnswerWake");
    const platform::UniqueWindow window(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(window);
    const auto held = std::make_shared<HeldQuestion>();
    const int ending = ShellAnswerThread::Ending();
    const platform::ScopeExit releaseAtEnd([&] { SetEvent(held->release.get()); });
    auto thread = std::make_unique<ShellAnswerThread>(window.get(), kWake, HeldQuestion::Ask(held));
    std::vector<components::ShellRequest> requests(3);
    for (std::uint32_t i = 0; i < requests.size(); ++i) requests[i] = {i, L"C:\\share\\file" + std::to_wstring(i)};
    thread->Start(std::move(requests));
    ASSERT_TRUE(held->Entered());
    const auto start = std::chrono::steady_clock::now();
    thread.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, kAtOnce);
    EXPECT_EQ(ShellAnswerThread::Ending(), ending + 1);
    SetEvent(held->release.get());
    ASSERT_TRUE(WaitFor([&] { return ShellAnswerThread::Ending() == ending; }));
    EXPECT_EQ(held->asked.load(), 1);  // the other two were never asked
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, window.get(), kWake, kWake, PM_REMOVE));
}

TEST_F(ExplorerAnswers, PlainFoldersShareOneAnswerAndMarkedFoldersGetTheirOwn) {
    struct Case {
        const wchar_t* name;
        DWORD attributes;
        bool own;
    };
    const Case cases[] = {
        {L"plain", 0, false},
        {L"hidden", FILE_ATTRIBUTE_HIDDEN, false},
        {L"archive", FILE_ATTRIBUTE_ARCHIVE, false},
        {L"read-only", FILE_ATTRIBUTE_READONLY, true},
        {L"system", FILE_ATTRIBUTE_SYSTEM, true},
    };
    const std::wstring folders = dir / L"folders";
    MakeDir(folders);
    for (const auto& c : cases) {
        const std::wstring folder = folders + L"\\" + c.name;
        MakeDir(folder);
        // What the shell shows for a customised folder; read only when the folder is marked.
        WriteBytes(folder + L"\\desktop.ini", "[.ShellClassInfo]\r\nIconResource=shell32.dll,-4\r\n",
                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        if (c.attributes) ASSERT_TRUE(SetFileAttributesW(folder.c_str(), c.attributes)) << GetLastError();
    }
    // The marks the file system keeps (Wine keeps no read-only mark on a folder: it stays plain).
    std::vector<bool> own;
    for (const auto& c : cases)
        own.push_back(c.own && (platform::FileAttributes(folders + L"\\" + c.name) & c.attributes));
    const auto marked = static_cast<std::size_t>(std::count(own.begin(), own.end(), true));
    if (marked == 0) GTEST_SKIP() << "the file system keeps neither mark on a folder";
    x.SetFileType(kAllTypes);
    x.SetDirectory(folders);
    ASSERT_TRUE(AnswersLanded(x));
    ASSERT_EQ(x.Entries().size(), std::size(cases));
    // Only the marked folders were asked about by path.
    EXPECT_EQ(x.ShellQuestionsAsked(), marked);
    const auto plain = platform::QueryShellInfoByType(L"folder", FILE_ATTRIBUTE_DIRECTORY);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const TExplorerEntry& row = Row(cases[i].name);
        const auto byPath = platform::QueryShellInfo(row.FullPath(), 0, false);
        EXPECT_EQ(row.imageIndex, byPath.iconIndex);
        EXPECT_EQ(row.subItems[1], byPath.typeName);
        if (!own[i]) {
            EXPECT_EQ(row.imageIndex, plain.iconIndex);
            EXPECT_EQ(row.subItems[1], plain.typeName);
        }
    }
    for (const auto& c : cases) SetFileAttributesW((folders + L"\\" + c.name).c_str(), 0);
}

TEST_F(ExplorerAnswers, FilesWithIconsOfTheirOwnEndWithThem) {
    const std::wstring icons = dir / L"icons";
    MakeDir(icons);
    const std::uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (std::size_t i = 0; i < std::size(colours); ++i)
        WriteBytes(icons + L"\\picture-" + std::to_wstring(i) + L".ico", IconFile(colours[i]));
    WriteBytes(icons + L"\\tool.exe", "MZ");
    WriteBytes(icons + L"\\readme.txt", "r");
    WriteBytes(icons + L"\\no-extension", "n");
    x.SetDirectory(icons);
    // Sorted by type while the answers may still land: the rows stay where they are.
    x.SortColumnClick(2);
    const Names order = host.Captions();
    ASSERT_TRUE(AnswersLanded(x));
    EXPECT_EQ(host.Captions(), order);
    ExpectOwnAnswers();
    // The files asked per path (three icons, the program, the file without an extension) and the
    // first file of the plain type, whose answer by path becomes its type's.
    EXPECT_EQ(x.ShellQuestionsAsked(), 6u);
}

class ExplorerWatch : public ExplorerFolder {
protected:
    void SetUp() override {
        ExplorerFolder::SetUp();
        x.SetDirectory(dir.Path());
    }
    bool HasRow(const std::wstring& caption) const {
        const Names names = host.Captions();
        return std::find(names.begin(), names.end(), caption) != names.end();
    }
    Names Selected() const {
        Names names;
        for (std::size_t i = 0; i < x.Entries().size(); ++i)
            if (x.IsSelected(i)) names.push_back(x.Entry(i).caption);
        return names;
    }
    std::wstring Focused() const {
        const int i = ListView_GetNextItem(x.Handle(), -1, LVNI_FOCUSED);
        return i < 0 ? L"" : x.Entry(static_cast<std::size_t>(i)).caption;
    }
    bool ListedAgain(int refillsBefore) {
        return WaitFor([&] { return host.refills > refillsBefore; }, std::chrono::seconds(10));
    }
};

TEST_F(ExplorerWatch, ChangesFromOutsideShowAndWhatTheUserSeesStays) {
    x.SortColumnClick(1);  // by size, largest first
    SelectOnly({L"report.doc", L"z.txt"});
    ListView_SetItemState(x.Handle(), static_cast<int>(IndexOf(L"report.doc")), LVIS_FOCUSED, LVIS_FOCUSED);

    DeleteFileW((dir / L"B.txt").c_str());
    ASSERT_TRUE(WaitFor([&] { return !HasRow(L"B.txt"); }, std::chrono::seconds(10)));
    EXPECT_EQ(Selected(), (Names{L"z.txt", L"report.doc"}));
    EXPECT_EQ(Focused(), L"report.doc");
    EXPECT_EQ(x.SortColumn(), 1);
    EXPECT_TRUE(x.SortReversed());
    EXPECT_EQ(host.Captions().front(), L"z.txt");

    WriteBytes(dir / L"new.txt", std::string(100, 'n'));
    ASSERT_TRUE(WaitFor([&] { return HasRow(L"new.txt"); }, std::chrono::seconds(10)));
    EXPECT_EQ(host.Captions().front(), L"new.txt");  // in its place by the user's order
    EXPECT_EQ(Selected(), (Names{L"z.txt", L"report.doc"}));

    // A change of size shows too.
    WriteBytes(dir / L"z.txt", std::string(1000, 'z'));
    ASSERT_TRUE(WaitFor([&] { return Row(L"z.txt").subItems[0] == L"1000"; }, std::chrono::seconds(10)));

    // An entry renamed in place keeps its selection through the listings that follow.
    x.RenameEntry(IndexOf(L"report.doc"), L"summary.doc");
    const int refills = host.refills;
    ASSERT_TRUE(ListedAgain(refills));
    EXPECT_EQ(Selected(), (Names{L"z.txt", L"summary.doc"}));
    EXPECT_EQ(Focused(), L"summary.doc");

    // Another folder starts by name again.
    x.SetDirectory(dir / L"A");
    EXPECT_EQ(x.SortColumn(), 0);
    EXPECT_FALSE(x.SortReversed());
}

TEST_F(ExplorerWatch, F5ListsAgainAndTheScrollPositionStays) {
    MakeDir(dir / L"many");
    for (int i = 0; i < 120; ++i) WriteBytes(dir / (L"many\\f" + std::to_wstring(1000 + i) + L".txt"), "x");
    x.SetDirectory(dir / L"many");
    ListView_EnsureVisible(x.Handle(), 119, FALSE);
    ListView_EnsureVisible(x.Handle(), 60, FALSE);
    const int top = ListView_GetTopIndex(x.Handle());
    ASSERT_GT(top, 10);
    const std::wstring topName = x.Entry(static_cast<std::size_t>(top)).caption;
    x.Select(70);
    // Files above and below the first row shown go away (no message is handled before the F5).
    DeleteFileW((dir / L"many\\f1000.txt").c_str());
    DeleteFileW((dir / L"many\\f1001.txt").c_str());
    DeleteFileW((dir / L"many\\f1119.txt").c_str());
    // The hosts hear of it once, when the selection is back already.
    std::vector<std::pair<int, UINT>> heard;  // item, rows selected then
    x.OnChange = [&](TQFileExplorer&, int item, components::TItemChange) {
        heard.emplace_back(item, ListView_GetSelectedCount(x.Handle()));
    };
    SendMessageW(x.Handle(), WM_KEYDOWN, VK_F5, 1);
    EXPECT_EQ(heard, (std::vector<std::pair<int, UINT>>{{-1, 1u}}));
    EXPECT_EQ(x.Entries().size(), 117u);
    EXPECT_EQ(x.Entry(static_cast<std::size_t>(ListView_GetTopIndex(x.Handle()))).caption, topName);
    EXPECT_EQ(Selected(), (Names{L"f1070.txt"}));
}

TEST_F(ExplorerWatch, TheShownFolderGoneShowsTheNearestFolderAbove) {
    MakeDir(dir / L"A\\deep");
    x.SetDirectory(dir / L"A\\deep");
    SetCurrentDirectoryW(dir.Path().c_str());  // the process may not keep a folder it is in
    // Renamed from outside, with the folder above it.
    ASSERT_TRUE(MoveFileW((dir / L"A").c_str(), (dir / L"A2").c_str())) << GetLastError();
    ASSERT_TRUE(WaitFor([&] { return x.Directory() == dir.Path(); }, std::chrono::seconds(10)));
    EXPECT_TRUE(HasRow(L"A2"));
    EXPECT_FALSE(HasRow(L"A"));
}

TEST_F(ExplorerFolder, ASortWithManySelectedTellsTheHostsOnce) {
    MakeDir(dir / L"many");
    for (int i = 0; i < 400; ++i) WriteBytes(dir / (L"many\\f" + std::to_wstring(1000 + i * 7 % 400) + L".txt"), "x");
    x.SetDirectory(dir / L"many");
    for (std::size_t i = 0; i < 300; ++i) x.Select(i);
    int changes = 0;
    x.OnChange = [&](TQFileExplorer&, int, components::TItemChange) { ++changes; };
    x.SortColumnClick(0);  // by name, reversed
    EXPECT_EQ(changes, 1);
    // The same rows stay selected at their new places.
    EXPECT_EQ(ListView_GetSelectedCount(x.Handle()), 300u);
    EXPECT_TRUE(x.IsSelected(399));
    EXPECT_FALSE(x.IsSelected(0));
    x.OnChange = nullptr;
    changes = 0;
    x.OnChange = [&](TQFileExplorer&, int, components::TItemChange) { ++changes; };
    x.SortColumnClick(0);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(x.IsSelected(0));
    EXPECT_TRUE(x.IsSelected(299));
    EXPECT_FALSE(x.IsSelected(300));
    // Few selected: touched one by one from "none".
    ListView_SetItemState(x.Handle(), -1, 0, LVIS_SELECTED);
    x.Select(5);
    x.Select(7);
    changes = 0;
    x.SortColumnClick(0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ListView_GetSelectedCount(x.Handle()), 2u);
    EXPECT_TRUE(x.IsSelected(399 - 5));
    EXPECT_TRUE(x.IsSelected(399 - 7));
}

}  // namespace
}  // namespace korvex::test
