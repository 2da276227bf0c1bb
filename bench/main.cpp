// korvex-bench: our operations against the raw platform work that bounds them, one run each.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchAdd.h"
#include "BenchSupport.h"
#include "EntryOrder.h"
#include "ExplorerText.h"
#include "Locale.h"
#include "ExplorerHost.h"
#include "ShellInfo.h"
#include "FileSystem.h"
#include "MainForm.h"
#include "Process.h"
#include "TestSupport.h"
#include "UniqueResource.h"

using namespace korvex;
using namespace korvex::bench;

namespace {

// folders x filesPerFolder empty files, two levels deep.
void MakeTree(const std::wstring& root, int folders, int filesPerFolder) {
    for (int f = 0; f < folders; ++f) {
        const std::wstring folder = root + L"part-" + std::to_wstring(f / 10) + L"\\sheet-" + std::to_wstring(f);
        CreateDirectoryW((root + L"part-" + std::to_wstring(f / 10)).c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < filesPerFolder; ++i)
            test::WriteBytes(folder + L"\\drawing-" + std::to_wstring(i) + L".dwg", "");
    }
}

struct Row {
    std::wstring name, folder, size;
};

void BareWalk(const std::wstring& folder, std::vector<Row>& rows) {
    platform::EnumerateDirectory(folder + L"*.*", [&](const WIN32_FIND_DATAW& d) {
        const std::wstring name = d.cFileName;
        if (name == L"." || name == L"..") return;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            BareWalk(folder + name + L"\\", rows);
        else
            rows.push_back({name, folder, std::to_wstring(d.nFileSizeLow)});
    });
}

// A plain report list view filled row by row with the given texts of each row, under redraw off
// and with the row count set first.
template <typename RowType, std::size_t N>
void BareListFill(HWND parent, const std::vector<RowType>& rows,
                  const std::array<std::wstring RowType::*, N>& columns) {
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400, parent,
                                nullptr, nullptr, nullptr);
    for (int c = 0; c < static_cast<int>(N); ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_WIDTH;
        col.cx = 100;
        ListView_InsertColumn(list, c, &col);
    }
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_SetItemCount(list, static_cast<int>(rows.size()));
    int index = 0;
    for (const auto& r : rows) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>((r.*columns[0]).c_str());
        ListView_InsertItem(list, &item);
        for (int c = 1; c < static_cast<int>(N); ++c)
            ListView_SetItemText(list, index, c,
                                 const_cast<wchar_t*>((r.*columns[static_cast<std::size_t>(c)]).c_str()));
        ++index;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    DestroyWindow(list);
}

// A flat folder of count files with different extensions and modification times.
void MakeFlatFolder(const std::wstring& folder, int count) {
    static const wchar_t* kExtensions[] = {L".dwg", L".pdf", L".txt", L".doc", L".xls"};
    for (int i = 0; i < count; ++i) {
        const std::wstring path = folder + L"sheet-" + std::to_wstring(i) + kExtensions[i % 5];
        platform::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        // Spread over about twenty years, in no particular order.
        const std::uint64_t ticks =
            126000000000000000ull + (static_cast<std::uint64_t>(i) * 7919u % 100000u) * 6300000000000ull;
        FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        SetFileTime(file.get(), nullptr, nullptr, &time);
    }
}

// The five texts of a listing row, from a bare enumeration.
struct ListingRow {
    std::wstring name, size, type, modified, attributes;
};

std::vector<ListingRow> BareEnumeration(const std::wstring& folder) {
    std::vector<ListingRow> rows;
    platform::EnumerateDirectory(folder + L"*.*", [&](const WIN32_FIND_DATAW& d) {
        rows.push_back({d.cFileName, std::to_wstring(d.nFileSizeLow), L"",
                        std::to_wstring(d.ftLastWriteTime.dwLowDateTime), std::to_wstring(d.dwFileAttributes)});
    });
    return rows;
}

void BenchRefresh() {
    test::TempDir folder;
    MakeFlatFolder(folder.Path(), 20000);
    test::ExplorerHost host;
    host.Create();
    host.explorer.SetFileType({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
    host.explorer.SetDirectory(folder.Path());
    Compare(
        "P1", "RefreshList of a folder of 20,000 files", "bare enumeration + five-column list-view fill", 3,
        [&] { return Seconds([&] { host.explorer.RefreshList(); }); },
        [&] {
            return Seconds([&] {
                BareListFill(host.Handle(), BareEnumeration(folder.Path()),
                             std::array{&ListingRow::name, &ListingRow::size, &ListingRow::type, &ListingRow::modified,
                                        &ListingRow::attributes});
            });
        });
    // What a shell query per entry would cost, measured on the first 500 files and scaled to 20,000.
    const auto& rows = host.explorer.Entries();
    const double perPath = Seconds([&] {
        for (std::size_t i = 0; i < 500 && i < rows.size(); ++i) platform::QueryShellInfo(rows[i].FullPath(), 0, false);
    });
    std::printf("P1 per-path baseline (a shell query per entry, 500 measured, scaled to 20,000): %.1f s\n",
                perPath * 20000 / 500);
}

// Rows as a listing makes them (texts and sort keys), without 50,000 files on disk: Wine creates
// files in a big folder in quadratic time.
std::vector<TExplorerEntry> SyntheticRows(std::size_t count, const OrderFacts& facts) {
    std::vector<TExplorerEntry> rows(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t spread = i * 7919u % 100000u;
        TExplorerEntry& e = rows[i];
        e.caption = L"sheet-" + std::to_wstring(i) + L".dwg";
        const LocalTime t{static_cast<int>(1990 + spread % 30), static_cast<int>(1 + spread % 12),
                          static_cast<int>(1 + spread % 28),    static_cast<int>(spread % 24),
                          static_cast<int>(spread % 60),        0};
        e.subItems = {std::to_wstring(spread * 13),
                      L"dwg file",
                      ModifiedTimeText(t, facts.dateSeparator, facts.timeSeparator),
                      L"A",
                      L"C:\\Drawings\\" + e.caption,
                      kKindFile};
        PrepareSortKeys(e, facts);
    }
    return rows;
}

void BenchSort() {
    OrderFacts facts;
    facts.thousandsSeparator = platform::ThousandsSeparator();
    facts.dateSeparator = platform::DateSeparator();
    facts.timeSeparator = platform::TimeSeparator();
    facts.upperCase = &platform::UpperCase;
    const auto original = SyntheticRows(50000, facts);
    std::vector<std::uint32_t> view(original.size());
    std::vector<std::pair<double, std::size_t>> pairs;
    bool reversed = false;
    Compare(
        "P4", "sort 50,000 entries by Modified", "sorting the precomputed keys", 5,
        [&] {
            // The view as a listing leaves it; each run sorts it from there, as a header click does.
            for (std::uint32_t i = 0; i < view.size(); ++i) view[i] = i;
            reversed = !reversed;
            return Seconds([&] { SortView(original, view, 3, reversed, facts); });
        },
        [&] {
            pairs.clear();
            for (std::size_t i = 0; i < original.size(); ++i) pairs.emplace_back(original[i].sortKeys.column3, i);
            return Seconds([&] {
                std::stable_sort(pairs.begin(), pairs.end(),
                                 [](const auto& a, const auto& b) { return a.first < b.first; });
            });
        });
}

std::unique_ptr<TMainForm> MakeForm(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    TMainFormConfig config;
    config.clientKey = reg.Path();
    config.exePath = exeDir / L"korvex.exe";
    config.quitOnDestroy = false;
    auto form = std::make_unique<TMainForm>(std::move(config));
    if (!form->Create()) throw std::runtime_error("the bench window did not open");
    form->Show(SW_SHOWNORMAL);
    return form;
}

void BenchAddTree(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    test::TempDir tree;
    MakeTree(tree.Path(), 50, 1000);
    auto form = MakeForm(exeDir, reg);
    Compare(
        "P2", "add a tree of 50,000 files to the send list", "bare enumeration + list-view fill", 3,
        [&] {
            form->ClearSendList();
            return Seconds([&] { form->AddPath(tree.Path(), true); });
        },
        [&] {
            return Seconds([&] {
                std::vector<Row> rows;
                BareWalk(tree.Path(), rows);
                BareListFill(form->Handle(), rows, std::array{&Row::name, &Row::folder, &Row::size});
            });
        });
    if (form->SendEntries().Size() != 50000) std::printf("P2 warning: %zu entries\n", form->SendEntries().Size());
}

void BenchDispatch(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    constexpr std::size_t kFiles = 200;
    test::TempDir files;
    const std::wstring log = files / L"fakebat-log.jsonl";
    SetEnvironmentVariableW(L"KORVEX_FAKEBAT_LOG", log.c_str());
    auto form = MakeForm(exeDir, reg);
    for (std::size_t i = 0; i < kFiles; ++i) {
        const std::wstring path = files / (L"лист-" + std::to_wstring(i) + L".dwg");
        test::WriteBytes(path, "x");
        form->AddPath(path, false);
    }
    form->ComboAccaunts.SetText(L"Office");
    form->EditAdress.SetText(L"okb@example.ru");
    std::size_t expected = 0;
    auto settle = [&] {
        expected += kFiles;
        test::WaitFor([&] { return test::ReadFakeBatLog(log).size() >= expected; }, std::chrono::minutes(5));
    };
    const std::wstring client = test::FakeBatPath();
    Compare(
        "P5", "dispatch 200 entries to the stand-in client", "bare CreateProcessW loop", 2,
        [&] {
            const double s = Seconds([&] { SendMessageW(form->btMakeQuery.Handle(), BM_CLICK, 0, 0); });
            settle();
            return s;
        },
        [&] {
            const double s = Seconds([&] {
                for (std::size_t i = 0; i < kFiles; ++i) {
                    std::wstring cmd = client + L" /MAILU=Office;TO=\"okb@example.ru\";A=\"" +
                                       (files / (L"лист-" + std::to_wstring(i) + L".dwg")) + L"\";S=\"s\"";
                    STARTUPINFOW si{};
                    si.cb = sizeof si;
                    PROCESS_INFORMATION pi{};
                    if (CreateProcessW(client.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                       &pi)) {
                        CloseHandle(pi.hThread);
                        CloseHandle(pi.hProcess);
                    }
                }
            });
            settle();
            return s;
        });
}

}  // namespace

int main(int argc, char** argv) {
    OleInitialize(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string only = argc > 1 ? argv[1] : "";
    test::TempDir exeDir;
    test::WriteBytes(exeDir / L"adress.txt", "okb@example.ru\r\n");
    test::TestRegistryKey reg(L"bench");
    reg.SetText(L"", L"EXE path", test::FakeBatPath());
    if (only.empty() || only == "P1") BenchRefresh();
    if (only.empty() || only == "P2") BenchAddTree(exeDir, reg);
    if (only.empty() || only == "P4") BenchSort();
    if (only.empty() || only == "P5") BenchDispatch(exeDir, reg);
    if (only.empty() || only == "P8") bench::BenchAddFromExplorer(exeDir, reg);
    OleUninitialize();
    return 0;
}
