// P7: from creating the main window to its first paint with the settings applied, the saved
// folder holding 20,000 files; against a bare program that creates a window, enumerates that
// folder, fills a five-column virtual list view and paints it once.

#include "BenchStartup.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "BenchSupport.h"
#include "MainForm.h"
#include "UniqueResource.h"

namespace korvex::bench {

namespace {

constexpr int kFiles = 20000;

void MakeFolder(const std::wstring& folder) {
    static const wchar_t* kExtensions[] = {L".dwg", L".pdf", L".txt", L".doc", L".xls"};
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring path = folder + L"sheet-" + std::to_wstring(i) + kExtensions[i % 5];
        platform::UniqueFile file(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
}

void WriteSettings(const std::wstring& path, const std::wstring& folder) {
    const std::wstring text = L"[Main]\r\nSubject=Чертежи (часть %i / %n)\r\nPath=" + folder +
                              L"\r\nViewStyle=3\r\nEdit=0\r\nBox=Office\r\nLeft=40\r\nTop=30\r\nWidth=900\r\n"
                              L"Height=650\r\nWindowState=0\r\n";
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    test::WriteBytes(path, bytes);
}

// --- the bare program
struct BareRow {
    std::wstring texts[5];
};

struct BareWindow {
    std::vector<BareRow> rows;
    HWND list = nullptr;
};

LRESULT CALLBACK BareProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BareWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NOTIFY && self) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT)) {
            const auto& row = self->rows[static_cast<std::size_t>(info->item.iItem)];
            lstrcpynW(info->item.pszText, row.texts[info->item.iSubItem].c_str(), info->item.cchTextMax);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

double BareStartup(const std::wstring& folder) {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &BareProcedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"KorvexBenchBareStartup";
        return RegisterClassExW(&wc) != 0;
    }();
    if (!registered) throw std::runtime_error("RegisterClassEx");
    BareWindow bare;
    HWND top = nullptr;
    const double seconds = Seconds([&] {
        top = CreateWindowExW(0, L"KorvexBenchBareStartup", L"bare", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 30, 900,
                              650, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(top, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&bare));
        WIN32_FIND_DATAW data;
        const HANDLE search = FindFirstFileExW((folder + L"*.*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                               nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                bare.rows.push_back(
                    {{data.cFileName, std::to_wstring(data.nFileSizeLow), L"",
                      std::to_wstring(data.ftLastWriteTime.dwLowDateTime), std::to_wstring(data.dwFileAttributes)}});
            } while (FindNextFileW(search, &data));
            FindClose(search);
        }
        bare.list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 880,
                                    600, top, nullptr, nullptr, nullptr);
        for (int c = 0; c < 5; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_WIDTH;
            col.cx = 120;
            ListView_InsertColumn(bare.list, c, &col);
        }
        ListView_SetItemCountEx(bare.list, static_cast<int>(bare.rows.size()), 0);
        ShowWindow(top, SW_SHOWNORMAL);
        UpdateWindow(top);
        RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    });
    DestroyWindow(top);
    return seconds;
}

}  // namespace

void BenchStartup(const test::TestRegistryKey& reg) {
    test::TempDir folder;
    MakeFolder(folder.Path());
    test::TempDir exeDir;
    test::WriteBytes(exeDir / L"adress.txt", "okb@example.ru\r\n");
    WriteSettings(exeDir / L"korvex.ini", folder.Path());
    std::size_t listed = 0;
    Compare(
        "P7", "start-up into a saved folder of 20,000 files, to the first paint",
        "bare window + enumeration + five-column virtual list + one paint", 5,
        [&] {
            TMainFormConfig config = BenchFormConfig(exeDir, reg);
            std::unique_ptr<TMainForm> form;
            const double seconds = Seconds([&] {
                form = MakeBenchForm(std::move(config));
                RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            });
            listed = form->FrameFileExlore.QFileExplorer.Entries().size();
            return seconds;
        },
        [&] { return BareStartup(folder.Path()); });
    if (listed != kFiles) std::printf("P7 warning: %zu entries listed\n", listed);
}

}  // namespace korvex::bench
