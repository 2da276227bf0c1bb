#pragma once
// Timing helpers for korvex-bench: each scenario prints one line that ends in the ratio.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "TestSupport.h"

namespace korvex::bench {

inline double Seconds(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of several runs of each side, alternating, so that both see the same machine.
inline void Compare(const char* name, const char* what, const char* baselineWhat, int runs,
                    const std::function<double()>& ours, const std::function<double()>& baseline) {
    double bestOurs = 1e300, bestBase = 1e300;
    for (int i = 0; i < runs; ++i) {
        bestBase = std::min(bestBase, baseline());
        bestOurs = std::min(bestOurs, ours());
    }
    std::printf("%s %s: ours %.3f s, %s %.3f s, %.2fx\n", name, what, bestOurs, baselineWhat, bestBase,
                bestOurs / bestBase);
    std::fflush(stdout);
}

}  // namespace korvex::bench

#include <commctrl.h>

#include <array>
#include <vector>

namespace korvex::bench {

// A plain report list view filled row by row with the given texts of each row, under redraw off
// and with the row count set first.
template <typename RowType, std::size_t N>
inline void BareListFill(HWND parent, const std::vector<RowType>& rows,
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

// The least a list can do to show rows: a virtual list view (LVS_OWNERDATA) in a window of its
// own that answers LVN_GETDISPINFO straight from rows it is given. Show tells it the row count and
// paints it once.
template <typename RowType>
class BareVirtualList {
public:
    using Column = std::wstring RowType::*;

    BareVirtualList(std::vector<Column> columns, SIZE size, DWORD extraStyle = 0) : columns_(std::move(columns)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BareVirtualList::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvexBenchVirtualList";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassExW(&wc);  // fails harmlessly once the class is there
        host_ = CreateWindowExW(0, wc.lpszClassName, L"bare list", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, size.cx,
                                size.cy, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        RECT client;
        GetClientRect(host_, &client);
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | extraStyle, 0,
                                0, client.right, client.bottom, host_, nullptr, nullptr, nullptr);
        for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_WIDTH;
            col.cx = 100;
            ListView_InsertColumn(list_, c, &col);
        }
    }
    ~BareVirtualList() {
        SetWindowLongPtrW(host_, GWLP_USERDATA, 0);
        DestroyWindow(host_);
    }
    BareVirtualList(const BareVirtualList&) = delete;
    BareVirtualList& operator=(const BareVirtualList&) = delete;

    HWND Host() const { return host_; }
    HWND List() const { return list_; }
    // Shows rows (kept by the caller): the row count, then one paint.
    void Show(const std::vector<RowType>& rows) {
        rows_ = &rows;
        ListView_SetItemCountEx(list_, static_cast<int>(rows.size()), 0);
        InvalidateRect(list_, nullptr, TRUE);
        UpdateWindow(list_);
    }
    void Pump() const {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<BareVirtualList*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
            auto& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
            if (self->rows_ && (item.mask & LVIF_TEXT) && item.iItem >= 0 &&
                static_cast<std::size_t>(item.iItem) < self->rows_->size() && item.iSubItem >= 0 &&
                static_cast<std::size_t>(item.iSubItem) < self->columns_.size()) {
                const std::wstring& text =
                    (*self->rows_)[static_cast<std::size_t>(item.iItem)].*(self->columns_[item.iSubItem]);
                lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
            }
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }

    std::vector<Column> columns_;
    const std::vector<RowType>* rows_ = nullptr;
    HWND host_ = nullptr;
    HWND list_ = nullptr;
};

// folders x filesPerFolder empty files, two levels deep (Wine creates files in one big folder slowly).
inline void MakeTree(const std::wstring& root, int folders, int filesPerFolder) {
    for (int f = 0; f < folders; ++f) {
        const std::wstring folder = root + L"part-" + std::to_wstring(f / 10) + L"\\sheet-" + std::to_wstring(f);
        CreateDirectoryW((root + L"part-" + std::to_wstring(f / 10)).c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < filesPerFolder; ++i)
            test::WriteBytes(folder + L"\\drawing-" + std::to_wstring(i) + L".dwg", "");
    }
}

// A send-list row as the bare walk makes it.
struct Row {
    std::wstring name, folder, size;
};

inline void BareWalk(const std::wstring& folder, std::vector<Row>& rows) {
    platform::EnumerateDirectory(folder + L"*.*", [&](const WIN32_FIND_DATAW& d) {
        const std::wstring name = d.cFileName;
        if (name == L"." || name == L"..") return;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            BareWalk(folder + name + L"\\", rows);
        else
            rows.push_back({name, folder, std::to_wstring(d.nFileSizeLow)});
    });
}

}  // namespace korvex::bench
