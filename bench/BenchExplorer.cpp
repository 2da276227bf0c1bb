// The explorer's scenarios, each against the bare platform work that bounds it: a directory
// enumeration and a virtual list view given its row count and painted once.

#include "BenchExplorer.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ExplorerHost.h"
#include "FileSystem.h"
#include "FrameHost.h"
#include "ShellInfo.h"
#include "TestSupport.h"
#include "UniqueResource.h"

namespace korvex::bench {

namespace {

constexpr int kFolderFiles = 20000;

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
    using Column = std::wstring ListingRow::*;
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

const std::vector<ListingRow::Column> kListingColumns{&ListingRow::name, &ListingRow::size, &ListingRow::type,
                                                      &ListingRow::modified, &ListingRow::attributes};

void PumpMessages() {
    test::PumpPending();
}

// Until the frame's posted status refresh has run, from the message loop as in the program.
void UntilStatusShown(TFrameFileExlore& frame) {
    while (frame.StatusRefreshPending()) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        DispatchMessageW(&msg);
    }
}

}  // namespace

void BenchRefresh() {
    test::TempDir folder;
    MakeFlatFolder(folder.Path(), kFolderFiles);
    test::ExplorerHost host;
    host.Create();
    host.explorer.SetFileType({ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal});
    host.explorer.SetDirectory(folder.Path());
    RECT client;
    GetClientRect(host.explorer.Handle(), &client);
    BareVirtualList<ListingRow> bare(kListingColumns, SIZE{client.right, client.bottom});
    std::vector<ListingRow> rows;
    Compare(
        "P1", "RefreshList of a folder of 20,000 files", "bare enumeration + virtual list painted once", 3,
        [&] { return Seconds([&] { host.explorer.RefreshList(); }); },
        [&] {
            return Seconds([&] {
                rows = BareEnumeration(folder.Path());
                bare.Show(rows);
            });
        });
    const double itemByItem = Seconds([&] {
        BareListFill(host.Handle(), BareEnumeration(folder.Path()),
                     std::array{&ListingRow::name, &ListingRow::size, &ListingRow::type, &ListingRow::modified,
                                &ListingRow::attributes});
    });
    std::printf("  for comparison with P1: enumeration + item-by-item five-column fill %.3f s\n", itemByItem);
    // What a shell query per entry would cost, measured on the first 500 files and scaled to 20,000.
    const auto& entries = host.explorer.Entries();
    const double perPath = Seconds([&] {
        for (std::size_t i = 0; i < 500 && i < entries.size(); ++i)
            platform::QueryShellInfo(entries[i].FullPath(), 0, false);
    });
    std::printf("  for comparison with P1: a shell query per entry (500 measured, scaled to 20,000) %.1f s\n",
                perPath * 20000 / 500);
    std::fflush(stdout);
}

void BenchSelectAll() {
    test::TempDir folder;
    MakeFlatFolder(folder.Path(), kFolderFiles);
    test::FrameHost host;
    host.Create({.viewStyle = components::TViewStyle::vsList, .multiSelect = true, .hideSelection = false});
    TFrameFileExlore& frame = host.frame;
    frame.QFileExplorer.SetDirectory(folder.Path());
    UntilStatusShown(frame);
    const HWND list = frame.QFileExplorer.Handle();

    std::vector<ListingRow> rows = BareEnumeration(folder.Path());
    RECT client;
    GetClientRect(list, &client);
    BareVirtualList<ListingRow> bare(kListingColumns, SIZE{client.right, client.bottom});
    bare.Show(rows);
    std::wstring finalText;
    Compare(
        "P3", "select all of 20,000 entries until the status line shows it",
        "bare select-all (LVM_SETITEMSTATE -1) on a virtual list of 20,000 rows", 3,
        [&] {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            UntilStatusShown(frame);
            PumpMessages();
            return Seconds([&] {
                ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
                UntilStatusShown(frame);
                UpdateWindow(list);
                finalText = frame.sb.PartText(0);
            });
        },
        [&] {
            ListView_SetItemState(bare.List(), -1, 0, LVIS_SELECTED);
            bare.Pump();
            return Seconds([&] {
                ListView_SetItemState(bare.List(), -1, LVIS_SELECTED, LVIS_SELECTED);
                UpdateWindow(bare.List());
            });
        });
    if (finalText != L"20000 object(s) selected")
        std::printf("P3 warning: the status line did not show the selection\n");
}

void BenchEnter() {
    test::TempDir parent;
    const std::wstring folder = parent / L"drawings";
    test::MakeDir(folder);
    MakeFlatFolder(folder + L"\\", kFolderFiles);
    test::FrameHost host;
    host.Create({.viewStyle = components::TViewStyle::vsReport, .multiSelect = true, .hideSelection = false});
    TFrameFileExlore& frame = host.frame;
    components::TQFileExplorer& explorer = frame.QFileExplorer;
    RECT client;
    GetClientRect(explorer.Handle(), &client);
    BareVirtualList<ListingRow> bare(kListingColumns, SIZE{client.right, client.bottom});
    std::vector<ListingRow> rows;
    Compare(
        "P6", "Enter on a folder of 20,000 files until the list and the status line show it",
        "bare enumeration + virtual list painted once", 3,
        [&] {
            explorer.SetDirectory(parent.Path());
            UntilStatusShown(frame);
            PumpMessages();
            // The folder's entry, selected and focused, as the user leaves it before pressing Enter.
            ListView_SetItemState(explorer.Handle(), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            PumpMessages();
            return Seconds([&] {
                SendMessageW(explorer.Handle(), WM_KEYDOWN, VK_RETURN, 0);
                SendMessageW(explorer.Handle(), WM_KEYUP, VK_RETURN, 0);
                UntilStatusShown(frame);
                UpdateWindow(explorer.Handle());
            });
        },
        [&] {
            return Seconds([&] {
                rows = BareEnumeration(folder + L"\\");
                bare.Show(rows);
            });
        });
    if (explorer.Entries().size() != kFolderFiles) std::printf("P6 warning: %zu entries\n", explorer.Entries().size());
}

}  // namespace korvex::bench
