#include "MainForm.h"

#include <commctrl.h>

#include <algorithm>
#include <shellapi.h>

#include "AppError.h"
#include "BusyCursor.h"
#include "DeviceContext.h"
#include "FileSystem.h"
#include "Locale.h"
#include "MainFormIds.h"
#include "PathText.h"
#include "Process.h"
#include "Win32Error.h"
#include "resource.h"

namespace korvex {

namespace {

constexpr wchar_t kCaption[] = L"Korvex 0.2";
constexpr wchar_t kInitialSubject[] = L"Чертежи (часть %i / %n)";

}  // namespace

TMainForm::TMainForm(TMainFormConfig config)
    : config_(std::move(config)),
      prompter_(config_.prompter ? *config_.prompter : dialogPrompter_),
      sendList_(&platform::FoldCase),
      journalWindow_(JournalPathFor(config_.exePath.empty() ? platform::ModuleFileName() : config_.exePath), prompter_,
                     config_.openFile) {
    if (config_.exePath.empty()) config_.exePath = platform::ModuleFileName();
}

TMainForm::~TMainForm() {
    ui::SetErrorReporter(nullptr);
}

int TMainForm::Scale(int pixels) const {
    return MulDiv(pixels, dpi_, 96);
}

bool TMainForm::Create() {
    // Reading a big folder takes as long as building the window: both at once.
    StartReadingSavedFolder();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KORVEX), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KORVEX), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    // Position and size are the system's choice for a new window; the settings replace them at
    // the first show.
    CreateWin({.name = L"KorvexMainForm", .icon = icon_.get(), .smallIcon = smallIcon_.get()}, kCaption,
              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, nullptr,
              RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT});
    // The scale of the monitor the window opens on; the controls are made at it.
    const UINT windowDpi = GetDpiForWindow(hwnd_);
    dpi_ = windowDpi ? static_cast<int>(windowDpi) : ui::ScreenDpi();
    // The smallest size follows the scale, known only now: the system's size is held to it.
    RECT bounds{};
    GetWindowRect(hwnd_, &bounds);
    SetWindowPos(hwnd_, nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ui::SetErrorReporter([this](const std::wstring& message) { ShowError(message); });
    CreateControls();
    AddSendToMenuItem();
    FormCreate();
    return !creationAborted_;
}

void TMainForm::CreateControls() {
    using ui::Align;
    using Opt = ui::Panel::Options;
    auto s = [this](int w, int h) { return SIZE{Scale(w), Scale(h)}; };

    // Creation order is the keyboard order; AddChild order is the docking order. The speed
    // buttons, panels and splitters take no focus.
    Panel1.Create(hwnd_, s(400, 400), Opt{});
    Panel1.SetAlign(Align::Client);
    PanelPath.Create(Panel1.Handle(), s(400, 22), Opt{});
    PanelPath.SetAlign(Align::Top);
    // The explorer as this window shows it: list view, several entries selectable, the selection
    // kept visible without the focus; its changes also keep the path line up to date.
    FrameFileExlore.Create(Panel1.Handle(), kIdExplorer, s(400, 200),
                           {.viewStyle = components::TViewStyle::vsList, .multiSelect = true, .hideSelection = false},
                           L"");
    FrameFileExlore.SetAlign(Align::Client);
    FrameFileExlore.QFileExplorer.OnChange = [this](components::TQFileExplorer& sender, int item,
                                                    components::TItemChange change) {
        FrameFileExloreQFileExplorerChange(sender, item, change);
    };
    // The first folder is set at the first show, from the settings: only that one is listed.
    Panel6.Create(Panel1.Handle(), s(400, 211), Opt{});
    Panel6.SetAlign(Align::Bottom);
    // Between the explorer and the send list; the explorer frame keeps room for a few rows beside
    // its own bars, the send list its button bar and a few rows.
    Splitter3.Create(Panel1, Align::Bottom, Scale(3),
                     {.moved = &Panel6, .rest = &FrameFileExlore, .minMoved = Scale(60), .minRest = Scale(120)});
    Panel2.Create(Panel6.Handle(), s(400, 29), Opt{});
    Panel2.SetAlign(Align::Top);
    btAddAll.Create(Panel2.Handle(), kIdAddAll, s(103, 25), Align::Left, L"Добавить все");
    btAddFiles.Create(Panel2.Handle(), kIdAddFiles, s(103, 25), Align::Left, L"Добавить");
    btClear.Create(Panel2.Handle(), kIdClear, s(103, 25), Align::Right, L"Очистить");
    btJournal.Create(Panel2.Handle(), kIdJournal, s(60, 25), Align::Right, L"Журнал");
    PanelAddProgress.Create(Panel2.Handle(), s(100, 25), Opt{.bevel = false});
    PanelAddProgress.SetAlign(Align::Client);
    ListViewFiles.Create(Panel6.Handle(), kIdListViewFiles, LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                         LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_FLATSB, s(400, 150));
    ListViewFiles.SetAlign(Align::Client);
    {
        const ui::RedrawHold hold(ListViewFiles.Handle());  // the header is laid out once, for all four
        ListViewFiles.AddColumn(L"Имя файла", Scale(120));
        ListViewFiles.AddColumn(L"Путь", Scale(120));
        ListViewFiles.AddColumn(L"Размер", Scale(120));
        ListViewFiles.AddColumn(L"Отправлено", Scale(120));
    }
    ListViewFiles.ShareWidthAmongColumns(true);
    ListViewFiles.SetVirtualRows({.count = [this] { return sendList_.Size(); },
                                  .text = [this](std::size_t row, int column) -> const std::wstring& {
                                      const SendListEntry& entry = sendList_[row];
                                      return column == 0   ? entry.fileName
                                             : column == 1 ? entry.folder
                                             : column == 2 ? entry.sizeText
                                                           : entry.mark.text;
                                  }});

    Panel3.Create(hwnd_, s(374, 400), Opt{});
    Panel3.SetAlign(Align::Right);
    EditAdress.Create(Panel3.Handle(), kIdEditAdress, s(370, 21), Align::Top);
    ListViewAdress.Create(Panel3.Handle(), kIdListViewAdress,
                          LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
                          LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_FLATSB, s(370, 200));
    ListViewAdress.SetAlign(Align::Client);
    ListViewAdress.AddColumn(L"", Scale(300));
    ListViewAdress.ShareWidthAmongColumns(true);
    ListViewAdress.SetVirtualRows(
        {.count = [this] { return addressRows_->size(); },
         .text = [this](std::size_t row, int) -> const std::wstring& { return (*addressRows_)[row]; }});
    Panel4.Create(Panel3.Handle(), s(370, 31), Opt{});
    Panel4.SetAlign(Align::Top);
    CheckBoxEdit.Create(Panel4.Handle(), kIdCheckBoxEdit, s(111, 27), Align::Left, L"Редактировать");
    btMakeQuery.Create(Panel4.Handle(), kIdMakeQuery, s(200, 27), Align::Client, L"Отправить");
    Panel7.Create(Panel3.Handle(), s(370, 28), Opt{});
    Panel7.SetAlign(Align::Top);
    Panel8.Create(Panel7.Handle(), s(98, 24), Opt{.bevel = false, .captionAlign = ui::Panel::CaptionAlign::Right},
                  L"Название ящика:");
    Panel8.SetAlign(Align::Left);
    ComboAccaunts.Create(Panel7.Handle(), kIdComboAccaunts, s(270, 24), Align::Client, L"ComboAccaunts");
    PanelTop.Create(Panel3.Handle(), s(370, 28), Opt{});
    PanelTop.SetAlign(Align::Top);
    Panel5.Create(PanelTop.Handle(), s(98, 24), Opt{.bevel = false, .captionAlign = ui::Panel::CaptionAlign::Right},
                  L"Тема:");
    Panel5.SetAlign(Align::Left);
    EditSubj1.Create(PanelTop.Handle(), kIdEditSubj1, s(270, 21), Align::Client, kInitialSubject);
    // Between the two halves; the message half keeps its captions and boxes readable, the file
    // half its three buttons. "Журнал" beside them is whole from about 770 pixels of window width
    // on and narrower below: a smallest width made for it would enlarge the windows users left
    // narrower.
    Splitter2.Create(*this, Align::Right, Scale(3),
                     {.moved = &Panel3, .rest = &Panel1, .minMoved = Scale(200), .minRest = Scale(3 * 103 + 12)});

    PopupMenu.reset(CreatePopupMenu());
    if (!PopupMenu) throw platform::Win32Error(GetLastError(), L"CreatePopupMenu");
    AppendMenuW(PopupMenu.get(), MF_STRING, NNoSubdirs, L"Только файлы");
    AppendMenuW(PopupMenu.get(), MF_STRING, NSubdirs, L"С поддиректориями");

    // Siblings on one edge stack from the edge inwards: Panel3 at the right edge, Splitter2
    // beside it; Panel6 at the bottom, Splitter3 above it.
    AddChild(Panel1);
    AddChild(Panel3);
    AddChild(Splitter2);
    Panel1.AddChild(PanelPath);
    Panel1.AddChild(Panel6);
    Panel1.AddChild(Splitter3);
    Panel1.AddChild(FrameFileExlore);
    Panel6.AddChild(Panel2);
    Panel6.AddChild(ListViewFiles);
    Panel2.AddChild(btAddAll);
    Panel2.AddChild(btAddFiles);
    Panel2.AddChild(btClear);
    Panel2.AddChild(btJournal);
    Panel2.AddChild(PanelAddProgress);
    Panel3.AddChild(Panel7);
    Panel3.AddChild(PanelTop);
    Panel3.AddChild(Panel4);
    Panel3.AddChild(EditAdress);
    Panel3.AddChild(ListViewAdress);
    Panel7.AddChild(Panel8);
    Panel7.AddChild(ComboAccaunts);
    PanelTop.AddChild(Panel5);
    PanelTop.AddChild(EditSubj1);
    Panel4.AddChild(CheckBoxEdit);
    Panel4.AddChild(btMakeQuery);

    // Drops through OLE (the shell's drags, and entries dragged from our own explorer); drops that
    // come as WM_DROPFILES are taken as well (FormCreate).
    dropRegistration_.Register(
        hwnd_, [this](std::vector<std::wstring> paths) { OleDrop(std::move(paths)); },
        [this](std::exception_ptr error) { OleDropFailed(error); });

    ApplyFont();
    // Laid out once the window has the size it opens with (at the first show): a layout now, at
    // the system's size, would be made again at once, and each costs every child a move.
}

POINT TMainForm::MinimumTrackSize() const {
    const POINT least{Scale(560), Scale(400)};
    if (!Panel3.Handle() || !Splitter2.Handle()) return least;  // while the window is being made
    auto width = [](const ui::Control& c) {
        RECT r{};
        GetWindowRect(c.Handle(), &r);
        return static_cast<int>(r.right - r.left);
    };
    auto height = [](const ui::Control& c) {
        RECT r{};
        GetWindowRect(c.Handle(), &r);
        return static_cast<int>(r.bottom - r.top);
    };
    const int bevels = Scale(4);
    // Side by side: the message half as wide as it is now, the file half its smallest width.
    const int clientWidth = width(Panel3) + width(Splitter2) + Splitter2.MinRest();
    // One above the other: on the left the path line, the explorer's smallest height and the send
    // list as tall as it is now; on the right the rows above the address list and a few of its rows.
    const int left = height(PanelPath) + Splitter3.MinRest() + height(Splitter3) + height(Panel6) + bevels;
    const int right = height(Panel7) + height(PanelTop) + height(Panel4) + height(EditAdress) + Scale(60) + bevels;
    RECT frame{0, 0, clientWidth, std::max(left, right)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), static_cast<UINT>(dpi_));
    return POINT{std::max(least.x, frame.right - frame.left), std::max(least.y, frame.bottom - frame.top)};
}

void TMainForm::ApplyFont() {
    platform::UniqueGdiObject font(ui::CreateWindowFont(dpi_));
    // The window's font for every control but the explorer list, which keeps its own.
    struct FontPass {
        HFONT font;
        HWND keepOwn;
    } pass{static_cast<HFONT>(font.get()), FrameFileExlore.QFileExplorer.Handle()};
    EnumChildWindows(
        hwnd_,
        [](HWND child, LPARAM p) -> BOOL {
            const auto* pass = reinterpret_cast<const FontPass*>(p);
            if (child != pass->keepOwn && !IsChild(pass->keepOwn, child))
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(pass->font), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&pass));
    font_ = std::move(font);  // the old font goes once no control uses it
}

void TMainForm::OnDpiChanged(int newDpi, const RECT& suggested) {
    if (newDpi <= 0 || newDpi == dpi_) return;
    ScaleChildrenForDpi(dpi_, newDpi);
    dpi_ = newDpi;
    ApplyFont();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Realign();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TMainForm::btJournalClick() {
    journalWindow_.Open(hwnd_);
}

void TMainForm::AskCloseDuringSend() {
    if (closeAsking_ || closeAfterSend_) return;  // asked already, or the send is stopping
    closeAsking_ = true;
    const platform::ScopeExit asked([this] { closeAsking_ = false; });
    // The inputs cannot change while the send runs: they name the send under way.
    const std::size_t sent = sendList_.StartedTo(ComboAccaunts.Text(), EditAdress.Text());
    const auto answer =
        prompter_.Show(hwnd_, {L"Korvex",
                               L"Идёт отправка: отправлено " + std::to_wstring(sent) + L" из " +
                                   std::to_wstring(sendList_.Size()) + L". Остановить её и закрыть Korvex?",
                               ui::MessageIcon::Warning,
                               ui::MessageButtons::Choices,
                               {L"Остановить и закрыть", L"Продолжить отправку"},
                               1});
    if (answer == ui::ChoiceResult(0)) closeAfterSend_ = true;
}

void TMainForm::EndSession() {
    if (sending_) closeAfterSend_ = true;
    if (closedForSession_) return;
    closedForSession_ = true;
    FormClose();
}

void TMainForm::ShowError(const std::wstring& message) {
    prompter_.Show(hwnd_, {L"Korvex", message, ui::MessageIcon::Error, ui::MessageButtons::Ok});
}

void TMainForm::OnCommand(int id, HWND control, WORD code) {
    if (code != BN_CLICKED) return;
    switch (id) {
        case kIdMakeQuery: btMakeQueryClick(); break;
        case kIdClear:
        case kIdAddFiles: btAddFilesClick(control); break;  // the handler tells its two buttons apart
        case kIdAddAll: btAddAllClick(); break;
        case kIdJournal: btJournalClick(); break;
        default: break;
    }
}

LRESULT TMainForm::OnNotify(NMHDR* header) {
    if (header->hwndFrom == ListViewFiles.Handle()) {
        if (header->code == LVN_KEYDOWN) ListViewFilesKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
    } else if (header->hwndFrom == FrameFileExlore.QFileExplorer.Handle() && header->code == LVN_BEGINDRAG) {
        FrameFileExloreBeginDrag();
    } else if (header->hwndFrom == ListViewAdress.Handle()) {
        return ListViewAdressNotify(header);
    }
    return 0;
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (lParam) OnCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_DROPFILES: WMDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
        case kAddPendingMessage: AddPendingPaths(); return 0;
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam)) UpdateSendToMenuItem();  // the system menu
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != kSysSendTo) break;
            ToggleSendToShortcut();
            return 0;
        case WM_TIMER:
            if (wParam == kSavedFolderTimer) {
                ShowSavedFolderIfRead();
                return 0;
            }
            if (wParam != kAddPendingTimer) break;
            KillTimer(hwnd_, kAddPendingTimer);
            AddPendingPaths();
            return 0;
        case WM_SETCURSOR:
            // A long add shows the hourglass wherever the mouse goes over the window.
            if (filling_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_DPICHANGED: OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = MinimumTrackSize();
            return 0;
        }
        case WM_CLOSE:
            // The system menu's, Alt+F4's and the taskbar's close come here too (SC_CLOSE). A send
            // runs on this window's stack: it is asked to stop, and the window closes after it.
            if (sending_) {
                AskCloseDuringSend();
                return 0;
            }
            if (!closedForSession_) FormClose();
            DestroyWindow(hwnd_);
            return 0;
        case WM_QUERYENDSESSION:
            if (sending_) EndSession();
            return TRUE;
        case WM_ENDSESSION:
            // Once this returns the process may be ended without another message.
            if (wParam) EndSession();
            return 0;
        case WM_DESTROY:
            dropRegistration_.Revoke();
            if (config_.quitOnDestroy) PostQuitMessage(0);
            return 0;
        default: break;
    }
    return Container::HandleMessage(msg, wParam, lParam);
}

}  // namespace korvex
