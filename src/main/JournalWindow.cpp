#include "JournalWindow.h"

#include <commctrl.h>
#include <shellapi.h>

#include "BusyCursor.h"
#include "DeviceContext.h"
#include "JournalText.h"
#include "SendJournal.h"
#include "Win32Error.h"

namespace korvex {

namespace {

enum ControlId : int { kIdFilter = 200, kIdOpenFile, kIdList };
constexpr UINT_PTR kFilterTimer = 1;
// A pause in typing this long applies the filter: a burst of keys costs one pass.
constexpr UINT kFilterPauseMs = 150;

std::wstring Count(std::size_t n) {
    // Groups of three digits apart, so that a million reads at a glance.
    std::wstring digits = std::to_wstring(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += L'\u00A0';
        out += digits[i];
    }
    return out;
}

}  // namespace

DWORD OpenInItsProgram(const std::wstring& path) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The shell says nothing itself: a failure is said by the window, in its own words.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_NO_ASSOCIATION;
}

TJournalWindow::TJournalWindow(std::wstring journalPath, ui::Prompter& prompter, FileOpener opener)
    : path_(std::move(journalPath)), prompter_(prompter), opener_(std::move(opener)) {
    if (!opener_) opener_ = &OpenInItsProgram;
}

void TJournalWindow::Open(HWND owner) {
    if (!hwnd_) CreateControls(owner);
    Load();
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    SetFocus(EditFilter.Handle());
}

void TJournalWindow::CreateControls(HWND owner) {
    using ui::Align;
    using Opt = ui::Panel::Options;
    const UINT ownerDpi = owner ? GetDpiForWindow(owner) : 0;
    dpi_ = ownerDpi ? static_cast<int>(ownerDpi) : ui::ScreenDpi();
    RECT bounds{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (owner) {
        // Over the owner, a little in from its corner.
        RECT o{};
        GetWindowRect(owner, &o);
        bounds = {o.left + Scale(40), o.top + Scale(40), o.left + Scale(40) + Scale(900),
                  o.top + Scale(40) + Scale(500)};
    }
    // Owned: above the main window, minimised and closed with it.
    CreateWin({.name = L"KorvexJournal"}, L"Журнал отправок \u2014 Korvex", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
              WS_EX_CONTROLPARENT, owner, bounds);
    if (!hwnd_) throw platform::Win32Error(GetLastError(), L"CreateWindowEx");
    auto s = [this](int w, int h) { return SIZE{Scale(w), Scale(h)}; };

    PanelFilter.Create(hwnd_, s(900, 29), Opt{});
    PanelFilter.SetAlign(Align::Top);
    PanelFind.Create(PanelFilter.Handle(), s(60, 25),
                     Opt{.bevel = false, .captionAlign = ui::Panel::CaptionAlign::Right}, L"Найти:");
    PanelFind.SetAlign(Align::Left);
    EditFilter.Create(PanelFilter.Handle(), kIdFilter, s(300, 25), Align::Client);
    btOpenFile.Create(PanelFilter.Handle(), kIdOpenFile, s(160, 25), Align::Right, L"Открыть файл журнала");
    PanelState.Create(hwnd_, s(900, 22), Opt{.captionAlign = ui::Panel::CaptionAlign::Left});
    PanelState.SetAlign(Align::Bottom);
    ListViewJournal.Create(hwnd_, kIdList, LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                           LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER, s(900, 400));
    ListViewJournal.SetAlign(Align::Client);
    ListViewJournal.SetVirtualRows(
        {.count = [this] { return view_.RowCount(); },
         .text = [this](std::size_t row, int column) -> const std::wstring& { return RowText(row, column); }});
    const std::wstring_view header = kJournalHeader;
    static constexpr int kWidths[kJournalFieldCount] = {150, 90, 140, 160, 240, 70, 50, 100};
    {
        const ui::RedrawHold hold(ListViewJournal.Handle());  // the header is laid out once, for all
        std::size_t from = 0;
        for (std::size_t column = 0; column < kJournalFieldCount; ++column) {
            const std::size_t to = std::min(header.find(L';', from), header.size());
            const std::wstring caption(header.substr(from, to - from));
            ListViewJournal.AddColumn(caption.c_str(), Scale(kWidths[column]),
                                      column == 5 ? LVCFMT_RIGHT : LVCFMT_LEFT);
            from = to + 1;
        }
    }

    if (!childrenAdded_) {  // a window made again after its owner went keeps its layout
        AddChild(PanelFilter);
        AddChild(PanelState);
        AddChild(ListViewJournal);
        PanelFilter.AddChild(PanelFind);
        PanelFilter.AddChild(btOpenFile);
        PanelFilter.AddChild(EditFilter);
        childrenAdded_ = true;
    }

    platform::UniqueGdiObject font(ui::CreateWindowFont(dpi_));
    EnumChildWindows(
        hwnd_,
        [](HWND child, LPARAM f) -> BOOL {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(f), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font.get()));
    font_ = std::move(font);
    Realign();
}

void TJournalWindow::Load() {
    const ui::BusyCursor busy;
    std::wstring text;
    readError_ = platform::ReadUtf8Text(path_, text);
    view_ = readError_ ? JournalView() : JournalView(std::move(text));
    cachedRecord_ = static_cast<std::size_t>(-1);
    appliedFilter_ = EditFilter.Text();
    if (!appliedFilter_.empty()) view_.SetFilter(appliedFilter_, platform::LowerCaseTable());
    EnableWindow(btOpenFile.Handle(), readError_ == 0);
    ShowRows();
}

void TJournalWindow::ApplyFilter() {
    KillTimer(hwnd_, kFilterTimer);
    const ui::BusyCursor busy;
    appliedFilter_ = EditFilter.Text();
    view_.SetFilter(appliedFilter_, platform::LowerCaseTable());
    ShowRows();
}

void TJournalWindow::ShowRows() {
    cachedRecord_ = static_cast<std::size_t>(-1);
    ListViewJournal.ClearSelection();
    ListViewJournal.SetVirtualCount(view_.RowCount());
    if (view_.RowCount() > 0) ListView_EnsureVisible(ListViewJournal.Handle(), 0, FALSE);
    std::wstring state;
    if (readError_ == ERROR_FILE_NOT_FOUND || readError_ == ERROR_PATH_NOT_FOUND)
        state = L"Журнала ещё нет: он появится при первой отправке (" + path_ + L")";
    else if (readError_)
        state = L"Журнал не прочитан: " + platform::SystemMessage(readError_) + L" (" + path_ + L")";
    else if (view_.RecordCount() == 0)
        state = L"В журнале нет записей: " + path_;
    else if (!view_.Filter().empty())
        state = L"Найдено " + Count(view_.RowCount()) + L" из " + Count(view_.RecordCount()) + L" записей";
    else
        state = L"Записей: " + Count(view_.RecordCount()) + L", новые сверху";
    PanelState.SetCaption(state);
}

void TJournalWindow::OpenFile() {
    if (readError_ == ERROR_FILE_NOT_FOUND || readError_ == ERROR_PATH_NOT_FOUND) {
        prompter_.Show(
            hwnd_, {L"Korvex", L"Журнала ещё нет: " + path_, ui::MessageIcon::Information, ui::MessageButtons::Ok, {}});
        return;
    }
    if (const DWORD error = opener_(path_))
        prompter_.Show(hwnd_,
                       {L"Korvex",
                        L"Журнал не открылся в своей программе: " + platform::SystemMessage(error) + L"\r\n" + path_,
                        ui::MessageIcon::Error,
                        ui::MessageButtons::Ok,
                        {}});
}

const std::wstring& TJournalWindow::RowText(std::size_t row, int column) {
    const std::size_t record = view_.RecordOfRow(row);
    if (record != cachedRecord_) {
        cachedFields_ = view_.Fields(record);
        for (auto& field : cachedFields_) field = OneLineField(field);
        cachedRecord_ = record;
    }
    static const std::wstring kNone;
    return column >= 0 && static_cast<std::size_t>(column) < kJournalFieldCount
               ? cachedFields_[static_cast<std::size_t>(column)]
               : kNone;
}

LRESULT TJournalWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            // Esc, as the dialog keys give it: the window goes, as by its close box.
            if (lParam == 0 && LOWORD(wParam) == IDCANCEL)
                SendMessageW(hwnd_, WM_CLOSE, 0, 0);
            else if (reinterpret_cast<HWND>(lParam) == EditFilter.Handle() && HIWORD(wParam) == EN_CHANGE)
                SetTimer(hwnd_, kFilterTimer, kFilterPauseMs, nullptr);
            else if (reinterpret_cast<HWND>(lParam) == btOpenFile.Handle() && HIWORD(wParam) == BN_CLICKED)
                OpenFile();
            return 0;
        case WM_TIMER:
            if (wParam == kFilterTimer) {
                ApplyFilter();
                return 0;
            }
            break;
        case WM_CLOSE:
            // Hidden, not destroyed: the next open reads the file anew, so what it held goes now.
            KillTimer(hwnd_, kFilterTimer);
            ShowWindow(hwnd_, SW_HIDE);
            view_ = JournalView();
            ShowRows();
            return 0;
        default: break;
    }
    return Container::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex
