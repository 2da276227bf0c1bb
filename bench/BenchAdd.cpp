// P8: "С поддиректориями" on a tree of 50,000 files shown in the explorer, from the click to the
// send list painted, against the bare work that bounds it: a recursive enumeration of the tree and
// a bare virtual list given its row count and painted once.

#include "BenchAdd.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "FileSystem.h"
#include "MainForm.h"

namespace korvex::bench {

namespace {

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

// A window holding a bare three-column virtual list that answers its rows from a vector.
class BareVirtualList {
public:
    explicit BareVirtualList(const std::vector<Row>& rows) : rows_(rows) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KorvexBenchVirtualHost";
        RegisterClassW(&wc);
        host_ = CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                              wc.hInstance, nullptr);
        SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 780,
                                560, host_, nullptr, wc.hInstance, nullptr);
        for (int c = 0; c < 3; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_WIDTH;
            col.cx = 250;
            ListView_InsertColumn(list_, c, &col);
        }
        UpdateWindow(host_);
    }
    ~BareVirtualList() { DestroyWindow(host_); }
    void ShowRows() {
        ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), LVSICF_NOSCROLL);
        InvalidateRect(list_, nullptr, TRUE);
        UpdateWindow(list_);
    }
    void Empty() {
        ListView_SetItemCountEx(list_, 0, 0);
        UpdateWindow(list_);
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<BareVirtualList*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_NOTIFY && self) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT)) {
                const auto index = static_cast<std::size_t>(info->item.iItem);
                if (index < self->rows_.size()) {
                    const Row& r = self->rows_[index];
                    const std::wstring& text = info->item.iSubItem == 0   ? r.name
                                               : info->item.iSubItem == 1 ? r.folder
                                                                          : r.size;
                    lstrcpynW(info->item.pszText, text.c_str(), info->item.cchTextMax);
                }
                return 0;
            }
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    const std::vector<Row>& rows_;
    HWND host_ = nullptr;
    HWND list_ = nullptr;
};

}  // namespace

void BenchAddFromExplorer(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    test::TempDir tree;
    // 50 folders of 1,000 files, two levels deep: Wine creates files in one big folder slowly.
    for (int f = 0; f < 50; ++f) {
        const std::wstring part = tree / (L"part-" + std::to_wstring(f / 10));
        CreateDirectoryW(part.c_str(), nullptr);
        const std::wstring folder = part + L"\\sheet-" + std::to_wstring(f);
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < 1000; ++i) test::WriteBytes(folder + L"\\drawing-" + std::to_wstring(i) + L".dwg", "");
    }
    TMainFormConfig config;
    config.clientKey = reg.Path();
    config.exePath = exeDir / L"korvex.exe";
    config.quitOnDestroy = false;
    auto form = std::make_unique<TMainForm>(std::move(config));
    if (!form->Create()) throw std::runtime_error("the bench window did not open");
    form->Show(SW_SHOWNORMAL);
    form->FrameFileExlore.QFileExplorer.SetDirectory(tree.Path());

    std::vector<Row> rows;
    BareVirtualList bare(rows);
    Compare(
        "P8", "\"С поддиректориями\" on a tree of 50,000 files shown in the explorer",
        "bare enumeration + virtual list painted once", 5,
        [&] {
            form->ClearSendList();
            UpdateWindow(form->ListViewFiles.Handle());
            return Seconds([&] {
                form->NNoSubdirsClick(TMainForm::NSubdirs);
                UpdateWindow(form->ListViewFiles.Handle());
            });
        },
        [&] {
            rows.clear();
            bare.Empty();
            return Seconds([&] {
                BareWalk(tree.Path(), rows);
                bare.ShowRows();
            });
        });
    if (form->SendEntries().Size() != 50000) std::printf("P8 warning: %zu entries\n", form->SendEntries().Size());
}

}  // namespace korvex::bench
