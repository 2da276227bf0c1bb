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
#include "BenchSend.h"
#include "BenchStartup.h"
#include "BenchExplorer.h"
#include "BenchForm.h"
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
                      ModifiedTimeText(t, facts.dateOrder, facts.dateSeparator, facts.timeSeparator),
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

std::unique_ptr<TMainForm> MakeForm(const test::TempDir& exeDir, const test::TestRegistryKey& reg,
                                    ProcessStarter starter = {}) {
    TMainFormConfig config = BenchFormConfig(exeDir, reg);
    config.startProcess = std::move(starter);
    return MakeBenchForm(std::move(config));
}

void BenchAddTree(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    test::TempDir tree;
    MakeTree(tree.Path(), 50, 1000);
    auto form = MakeForm(exeDir, reg);
    RECT sendList;
    GetClientRect(form->ListViewFiles.Handle(), &sendList);
    BareVirtualList<Row> bare({&Row::name, &Row::folder, &Row::size}, SIZE{sendList.right, sendList.bottom});
    std::vector<Row> bareRows;
    Compare(
        "P2", "add a tree of 50,000 files to the send list", "bare enumeration + virtual list painted once", 3,
        [&] {
            form->ClearSendList();
            return Seconds([&] { form->AddPath(tree.Path(), true); });
        },
        [&] {
            bareRows.clear();
            return Seconds([&] {
                BareWalk(tree.Path(), bareRows);
                bare.Show(bareRows);
            });
        });
    double itemByItem = 1e300;
    for (int i = 0; i < 2; ++i)
        itemByItem = std::min(itemByItem, Seconds([&] {
                                  std::vector<Row> rows;
                                  BareWalk(tree.Path(), rows);
                                  BareListFill(form->Handle(), rows, std::array{&Row::name, &Row::folder, &Row::size});
                              }));
    std::printf("  for comparison with P2: enumeration + item-by-item list-view fill %.3f s\n", itemByItem);
    if (form->SendEntries().Size() != 50000) std::printf("P2 warning: %zu entries\n", form->SendEntries().Size());
}

}  // namespace

namespace korvex::bench {
void BenchAddressBook(const test::TestRegistryKey& reg);
}

int main(int argc, char** argv) try {
    OleInitialize(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::string only = argc > 1 ? argv[1] : "";
    test::TempDir exeDir;
    test::WriteBytes(exeDir / L"adress.txt", "okb@example.ru\r\n");
    test::TestRegistryKey reg(L"bench");
    reg.SetText(L"", L"EXE path", test::FakeBatPath());
    // P9 first: it reads the process's peak working set, which the scenarios before it would raise.
    if (only.empty() || only == "P9") BenchAddressBook(reg);
    if (only.empty() || only == "P1") BenchRefresh();
    if (only.empty() || only == "P2") BenchAddTree(exeDir, reg);
    if (only.empty() || only == "P3") BenchSelectAll();
    if (only.empty() || only == "P4") BenchSort();
    if (only.empty() || only == "P5") bench::BenchDispatch(exeDir, reg);
    if (only.empty() || only == "P6") BenchEnter();
    if (only.empty() || only == "P7") BenchStartup(reg);
    if (only.empty() || only == "P8") bench::BenchAddFromExplorer(exeDir, reg);
    if (only.empty() || only == "P10") BenchManyFolders();
    if (only.empty() || only == "P11") BenchOwnIcons();
    if (only.empty() || only == "P12") bench::BenchJournal();
    OleUninitialize();
    return 0;
} catch (const std::exception& e) {
    // Ends like a return, so every temporary folder is removed on the way out.
    std::printf("korvex-bench failed: %s\n", e.what());
    return 1;
}
