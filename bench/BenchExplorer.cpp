// The explorer's scenarios, each against the bare platform work that bounds it: a directory
// enumeration and a virtual list view given its row count and painted once.

#include "BenchExplorer.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
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

// Of the two windows of a comparison, shows one alone before its side is timed: the bench's windows
// share the screen's corner, and a window above the other would clip the other's paint.
void ShowAlone(HWND shown, HWND hidden) {
    ShowWindow(hidden, SW_HIDE);
    ShowWindow(shown, SW_SHOWNA);
    UpdateWindow(shown);
    PumpMessages();
}

// Enter on the entry of folder (a sub-folder of parent, shown), until the list and the status
// line show it; the parent is shown again first, with the folder's entry selected and focused.
double EnterFolder(TFrameFileExlore& frame, const std::wstring& parent, const std::wstring& name) {
    components::TQFileExplorer& explorer = frame.QFileExplorer;
    explorer.SetDirectory(parent);
    UntilStatusShown(frame);
    PumpMessages();
    std::size_t index = 0;
    for (; index < explorer.Entries().size(); ++index)
        if (explorer.Entry(index).caption == name) break;
    ListView_SetItemState(explorer.Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(explorer.Handle(), static_cast<int>(index), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    PumpMessages();
    return Seconds([&] {
        SendMessageW(explorer.Handle(), WM_KEYDOWN, VK_RETURN, 0);
        SendMessageW(explorer.Handle(), WM_KEYUP, VK_RETURN, 0);
        UntilStatusShown(frame);
        UpdateWindow(explorer.Handle());
    });
}

// The two sides of an "Enter on a folder" scenario: a report-view explorer frame in a window of its
// own, and a bare virtual list of the explorer list's size that shows a bare enumeration. Each side
// is timed alone on the screen, and each enters the folder from its parent's listing: the row count
// changes on both, as it does for a user.
class EnterSides {
public:
    EnterSides() : bare_(kListingColumns, CreateHost()) {}
    test::FrameHost& Host() { return host_; }
    TFrameFileExlore& Frame() { return host_.frame; }
    // Our side, timed: Enter on the entry called name, shown in the listing of parent.
    double Ours(const std::wstring& parent, const std::wstring& name) {
        ShowAlone(host_.Handle(), bare_.Host());
        return EnterFolder(host_.frame, parent, name);
    }
    // The bare side, timed: the folder (a sub-folder of parent) enumerated and its rows shown.
    double Bare(const std::wstring& parent, const std::wstring& name) {
        // Our side idle first: the shell's answers for the folder it entered last are not asked
        // while the bare side is timed.
        host_.frame.QFileExplorer.SetDirectory(parent);
        PumpMessages();
        ShowAlone(bare_.Host(), host_.Handle());
        parentRows_ = BareEnumeration(parent + L"\\");
        bare_.Show(parentRows_);
        bare_.Pump();
        return Seconds([&] {
            rows_ = BareEnumeration(parent + L"\\" + name + L"\\");
            bare_.Show(rows_);
        });
    }

private:
    SIZE CreateHost() {
        host_.Create({.viewStyle = components::TViewStyle::vsReport, .multiSelect = true, .hideSelection = false});
        RECT client;
        GetClientRect(host_.frame.QFileExplorer.Handle(), &client);
        return {client.right, client.bottom};
    }

    test::FrameHost host_;  // made before the bare list, which takes its size
    BareVirtualList<ListingRow> bare_;
    std::vector<ListingRow> parentRows_, rows_;
};

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
        [&] {
            ShowAlone(host.Handle(), bare.Host());
            return Seconds([&] { host.explorer.RefreshList(); });
        },
        [&] {
            ShowAlone(bare.Host(), host.Handle());
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
            ShowAlone(host.Handle(), bare.Host());
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
            ShowAlone(bare.Host(), host.Handle());
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
    EnterSides sides;
    TFrameFileExlore& frame = sides.Frame();
    components::TQFileExplorer& explorer = frame.QFileExplorer;
    Compare(
        "P6", "Enter on a folder of 20,000 files until the list and the status line show it",
        "bare enumeration + virtual list painted once", 3,
        [&] { return sides.Ours(parent.Path(), L"drawings"); }, [&] { return sides.Bare(parent.Path(), L"drawings"); });
    if (explorer.Entries().size() != kFolderFiles) std::printf("P6 warning: %zu entries\n", explorer.Entries().size());
}

namespace {

// Until the list's background answers have all landed, from the message loop as in the program.
void UntilAnswersLanded(const components::TQFileExplorer& explorer) {
    while (explorer.ShellAnswersOutstanding()) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        DispatchMessageW(&msg);
    }
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}

}  // namespace

void BenchManyFolders() {
    constexpr int kFolders = 5000;
    test::TempDir parent;
    const std::wstring folder = parent / L"projects";
    test::MakeDir(folder);
    for (int i = 0; i < kFolders; ++i) CreateDirectoryW((folder + L"\\project-" + std::to_wstring(i)).c_str(), nullptr);
    EnterSides sides;
    TFrameFileExlore& frame = sides.Frame();
    Compare(
        "P10", "Enter on a folder of 5,000 subfolders until the list and the status line show it",
        "bare enumeration + virtual list painted once", 5,
        [&] { return sides.Ours(parent.Path(), L"projects"); }, [&] { return sides.Bare(parent.Path(), L"projects"); });
    if (frame.QFileExplorer.Entries().size() != kFolders)
        std::printf("P10 warning: %zu entries\n", frame.QFileExplorer.Entries().size());
}

void BenchOwnIcons() {
    constexpr int kEach = 2000;
    test::TempDir parent;
    const std::wstring folder = parent / L"tools";
    test::MakeDir(folder);
    // Programs without resources and one-colour icons: each file's icon is its own to the shell.
    std::string icon;
    {
        auto put16 = [&](std::uint16_t v) { icon.append(reinterpret_cast<const char*>(&v), 2); };
        auto put32 = [&](std::uint32_t v) { icon.append(reinterpret_cast<const char*>(&v), 4); };
        put16(0), put16(1), put16(1);
        icon += '\x10', icon += '\x10', icon += '\0', icon += '\0';
        put16(1), put16(32), put32(40 + 16 * 16 * 4 + 16 * 4), put32(22);
        put32(40), put32(16), put32(32), put16(1), put16(32), put32(0), put32(16 * 16 * 4), put32(0), put32(0),
            put32(0), put32(0);
        for (int i = 0; i < 16 * 16; ++i) put32(0xFF3060C0u);
        icon.append(16 * 4, '\0');
    }
    for (int i = 0; i < kEach; ++i) {
        test::WriteBytes(folder + L"\\tool-" + std::to_wstring(i) + L".exe", "MZ");
        test::WriteBytes(folder + L"\\picture-" + std::to_wstring(i) + L".ico", icon);
    }
    EnterSides sides;
    TFrameFileExlore& frame = sides.Frame();
    components::TQFileExplorer& explorer = frame.QFileExplorer;
    Compare(
        "P11", "Enter on a folder of 2,000 .exe and 2,000 .ico files until the list and the status line show it",
        "bare enumeration + virtual list painted once", 5, [&] { return sides.Ours(parent.Path(), L"tools"); },
        [&] { return sides.Bare(parent.Path(), L"tools"); });

    // Every icon final, against the same per-path questions asked in a bare loop on one thread.
    // The paths are asked in the order the list asks them; the shell remembers no answer per path
    // (it may remember the icon, both sides alike).
    std::vector<std::wstring> paths;
    for (const auto& entry : explorer.Entries()) paths.push_back(entry.FullPath());
    const HWND window = sides.Host().Handle();
    std::vector<double> latencies;
    double ours = 1e300, bareLoop = 1e300;
    for (int run = 0; run < 2; ++run) {
        bareLoop = std::min(bareLoop, Seconds([&] {
                                for (const auto& path : paths) platform::QueryShellInfo(path, 0, false);
                            }));
        UntilAnswersLanded(explorer);
        explorer.SetDirectory(parent.Path());
        UntilStatusShown(frame);
        PumpMessages();
        // While the answers arrive, another thread asks the window to answer a sent message, again and again.
        std::atomic<bool> done{false}, finished{false};
        std::vector<double> sample;
        std::thread prober([&] {
            while (!done.load()) {
                DWORD_PTR result = 0;
                sample.push_back(
                    Seconds([&] { SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result); }));
                Sleep(5);
            }
            finished = true;
        });
        ours = std::min(ours, Seconds([&] {
                            explorer.SetDirectory(folder);
                            UntilAnswersLanded(explorer);
                        }));
        done = true;
        // The probe in flight is answered as the program's loop would answer it, not left to time out.
        while (!finished.load()) {
            PumpMessages();
            Sleep(1);
        }
        prober.join();
        latencies.insert(latencies.end(), sample.begin(), sample.end());
    }
    std::printf(
        "P11 every icon final: ours %.3f s, bare one-thread loop of the same %zu per-path questions %.3f s, "
        "%.2fx\n",
        ours, paths.size(), bareLoop, ours / bareLoop);
    std::printf("P11 a sent WM_NULL while the answers arrive (%zu probes): p50 %.1f ms, p99 %.1f ms, max %.1f ms\n",
                latencies.size(), Percentile(latencies, 0.5) * 1000, Percentile(latencies, 0.99) * 1000,
                Percentile(latencies, 1.0) * 1000);
    std::fflush(stdout);
    if (explorer.Entries().size() != 2 * kEach) std::printf("P11 warning: %zu entries\n", explorer.Entries().size());
}

}  // namespace korvex::bench
