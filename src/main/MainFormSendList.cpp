// TMainForm: the send list, and adding to it from the explorer ("Добавить", "Добавить все" with
// its menu, "Очистить"), from drops and from a drag of explorer entries.

#include "MainForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "AppError.h"
#include "BusyCursor.h"
#include "ItemProp.h"
#include "Locale.h"
#include "ModalPump.h"
#include "PathText.h"
#include "SendListFiller.h"
#include "UniqueResource.h"

namespace korvex {

namespace {

constexpr ULONGLONG kProgressInterval = 200;  // ms between two updates of the shown count
constexpr ULONGLONG kPumpInterval = 40;       // ms between two looks at the queue: painting, Esc

}  // namespace

void TMainForm::RefreshSendListView() {
    // Every change of the list ends the text of the last send; the entries keep their marks.
    ClearSendStatus();
    ListViewFiles.SetVirtualCount(sendList_.Size());
}

void TMainForm::RunFill(const std::function<void(SendListFiller&)>& fill) {
    // A drop or a click that reaches the window while a walk runs adds nothing.
    if (filling_) return;
    filling_ = true;
    ui::BusyCursor busy;
    // The walk lets the window paint and takes no input but Esc; whatever else comes waits for it.
    ui::ModalPump pump(ui::ModalPump::Dispatch::PaintOnly);
    SendListFiller filler(sendList_, platform::DecimalSeparator());
    {
        const ULONGLONG start = GetTickCount64();
        ULONGLONG shownAt = 0, pumpedAt = 0;
        bool showing = false;
        const std::wstring caption = Text();
        filler.SetProgress([&](std::size_t added) {
            const ULONGLONG now = GetTickCount64();
            if (now - start < longAddDelay_ || (showing && now - pumpedAt < kPumpInterval)) return true;
            pumpedAt = now;
            if (!showing || now - shownAt >= kProgressInterval) {
                showing = true;
                shownAt = now;
                const std::wstring count = std::to_wstring(added);
                SetText(caption + L" — найдено " + count + L", Esc прерывает");
                RefreshSendListView();
                PanelAddProgress.SetCaption(L"Найдено: " + count);
                UpdateWindow(PanelAddProgress.Handle());
            }
            return !pump.Pump();
        });
        const platform::ScopeExit restore([&] {
            if (showing) {
                PanelAddProgress.SetCaption(L"");
                SetText(caption);
            }
            RefreshSendListView();
            filling_ = false;
        });
        fill(filler);
    }
    // Whatever was given and not taken is named once the list shows what was: a path that is not
    // there, and a device's name, which is no file to send.
    if (const std::wstring text = NotAddedText(filler.NotAddedPaths()); !text.empty())
        prompter_.Show(hwnd_, {L"Korvex", text, ui::MessageIcon::Warning, ui::MessageButtons::Ok});
}

void TMainForm::AddPath(std::wstring_view path, bool recursive) {
    RunFill([&](SendListFiller& filler) { filler.AddPath(path, recursive); });
}

void TMainForm::AddFolder(std::wstring_view folder, bool recursive) {
    RunFill([&](SendListFiller& filler) { filler.AddFolder(folder, recursive); });
}

void TMainForm::AddPaths(const std::vector<std::wstring>& paths, bool recursive) {
    RunFill([&](SendListFiller& filler) {
        for (const std::wstring& path : paths) filler.AddPath(path, recursive);
    });
}

void TMainForm::ClearSendList() {
    sendList_.Clear();
    ListViewFiles.ClearSelection();
    RefreshSendListView();
}

// A drop hands its names over and returns at once: the drag source (Explorer) waits until it
// returns, and the walk of a dropped folder may take long. The names wait with the paths of later
// starts and are added from the message loop, with the long add's progress and Esc, once the
// window is free (not while a send, an add, a box or a menu runs).
void TMainForm::WMDropFiles(HDROP drop) {
    const platform::UniqueDrop owner(drop);
    QueueStartPaths(platform::DroppedPaths(drop));
}

void TMainForm::OleDrop(std::vector<std::wstring> paths) {
    // Entries dragged from our own explorer are added once the drag is over, as "Добавить" adds
    // them.
    if (explorerDragging_) {
        explorerDropped_ = true;
        return;
    }
    QueueStartPaths(std::move(paths));
}

void TMainForm::OleDropFailed(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const AppError& e) {
        ShowError(e.Message());
    } catch (...) {
        ShowError(L"Unexpected error");
    }
}

void TMainForm::FrameFileExloreBeginDrag() {
    const auto& explorer = FrameFileExlore.QFileExplorer;
    if (explorer.IsDrivesView() || filling_) return;
    const std::vector<std::wstring> names = explorer.GetNameList(false, true);
    if (names.empty()) return;
    // The items the shell menu would show for this selection, with its guard against long paths.
    const platform::ComPtr<IDataObject> data = components::ItemsDataObject(explorer.Directory(), names, hwnd_);
    if (!data) return;
    explorerDragging_ = true;
    explorerDropped_ = false;
    platform::DragFiles(data.get());
    explorerDragging_ = false;
    if (explorerDropped_) btAddFilesClick(btAddFiles.Handle());
}

void TMainForm::ListViewFilesKeyDown(WORD key) {
    if (key == 'A' && GetKeyState(VK_CONTROL) < 0) ListViewFiles.SelectAll();
    if (key == VK_DELETE) {
        const auto selected = ListViewFiles.SelectedIndices();
        if (selected.empty()) return;
        sendList_.RemoveAt(selected);
        ListViewFiles.ClearSelection();
        RefreshSendListView();
        if (!sendList_.Empty()) {
            ListViewFiles.SetFocused(std::min(selected.front(), sendList_.Size() - 1));
        }
    }
}

void TMainForm::AddFromExplorer(bool selectedOnly, bool recursive) {
    const auto& explorer = FrameFileExlore.QFileExplorer;
    // The drive list's names joined to its pseudo-folder name are no paths: it adds nothing (and a
    // relative path must never be read against whatever the current folder is).
    if (explorer.IsDrivesView()) return;
    const std::wstring directory = EnsureBackslash(explorer.Directory());
    std::vector<std::wstring> paths;
    for (const std::wstring& name : explorer.GetNameList(false, selectedOnly)) paths.push_back(directory + name);
    AddPaths(paths, recursive);
}

void TMainForm::btAddFilesClick(HWND sender) {
    if (sender == btClear.Handle())
        ClearSendList();
    else
        AddFromExplorer(true, true);
}

void TMainForm::btAddAllClick() {
    POINT at{};
    GetCursorPos(&at);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(PopupMenu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                         at.x, at.y, hwnd_, nullptr));
    if (chosen == NNoSubdirs || chosen == NSubdirs) NNoSubdirsClick(chosen);
}

void TMainForm::NNoSubdirsClick(UINT sender) {
    AddFromExplorer(false, sender == NSubdirs);
}

}  // namespace korvex
