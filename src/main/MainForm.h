#pragma once
// The program's one window: the send list on the left, the message on the right.
//
//   Panel1            the left side: PanelPath (the shown folder, centred) on top, FrameFileExlore,
//                     Splitter3, and Panel6 at the bottom
//   Panel6            Panel2 (the button bar: btAddAll, btAddFiles, PanelAddProgress, btClear) over
//                     ListViewFiles (the send list)
//   Splitter2         between the left side and Panel3
//   Panel3            the right side, top down: Panel7 (Panel8 "Название ящика:", ComboAccaunts),
//                     PanelTop (Panel5 "Тема:", EditSubj1), Panel4 (CheckBoxEdit "Редактировать",
//                     btMakeQuery "Отправить"), EditAdress, and ListViewAdress (the address list)
//   PopupMenu         "Добавить все"'s choice: NNoSubdirs, NSubdirs

#include <windows.h>

#include <exception>
#include <memory>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AddressList.h"
#include "AddressSuggestions.h"
#include "AlignCheckBox.h"
#include "AlignComboBox.h"
#include "AlignEdit.h"
#include "AlignSpeedButton.h"
#include "DragDrop.h"
#include "ListView.h"
#include "MailClient.h"
#include "MainFormIds.h"
#include "MainSettings.h"
#include "FileExplore.h"
#include "JournalFile.h"
#include "JournalWindow.h"
#include "QFileExplorer.h"
#include "Panel.h"
#include "Prompter.h"
#include "SendDispatch.h"
#include "SendList.h"
#include "SendListFiller.h"
#include "Splitter.h"
#include "UniqueResource.h"
#include "Window.h"

namespace korvex {

struct TMainFormConfig {
    HKEY registryRoot = HKEY_CURRENT_USER;
    std::wstring clientKey = std::wstring(kMailClientKey);
    std::wstring exePath;              // empty: the running executable; adress.txt lies beside it
    ui::Prompter* prompter = nullptr;  // empty: the real message boxes
    ProcessStarter startProcess;       // empty: the system's process start, settled one at a time
    FileOpener openFile;               // empty: the system's program for a file (the journal's)
    // empty: the settings file is written to a temporary file beside it, flushed and moved over it
    std::function<DWORD(std::wstring_view path, std::string_view bytes)> replaceSettingsFile;
    DWORD startBoundMs = 20000;        // how long a start may take to settle before it counts as unconfirmed
    // A test's stand-in for a full disk: asked before each write of the record of a send under
    // way; a non-zero answer is that write's error. Empty: the writes are the file's own.
    std::function<DWORD()> recordWriteFault;
    DWORD progressDelayMs = 500;  // a send that takes longer shows its progress in the caption
    bool quitOnDestroy = true;  // the application's main window ends the message loop
    std::wstring sendToFolder;  // empty: the user's "Send To" folder
    // How long the first show waits for the saved folder to be read before the window opens on
    // the drives and shows the folder once it has been read.
    DWORD savedFolderPatienceMs = 2000;
    std::function<void()> beforeReadingSavedFolder;  // empty: nothing; runs on the reading thread
};

class TMainForm : public ui::Container {
public:
    explicit TMainForm(TMainFormConfig config = {});
    ~TMainForm() override;

    // Creates the window and its controls and runs FormCreate. False when the program must end
    // now, with exit code 0, without showing the window.
    bool Create();
    // Shows the window; the first show runs FormShow before the window appears, so that it
    // appears with the settings applied, in the state it was left in.
    void Show(int showCommand);

    // --- start-up
    bool LoadMailClient();
    bool LoadAddressBook();

    // --- lifecycle and settings
    void FormClose();
    void LoadSettings();
    // False when a value could not be written (the error box has said so).
    bool SaveSettings();
    std::wstring SettingsPath() const;
    bool SettingsLoaded() const noexcept { return settingsLoaded_; }

    // --- send list
    void AddPath(std::wstring_view path, bool recursive);
    void AddFolder(std::wstring_view folder, bool recursive);
    bool IsInSendList(std::wstring_view path) const { return sendList_.Contains(path); }
    void ClearSendList();
    const SendList& SendEntries() const noexcept { return sendList_; }
    void WMDropFiles(HDROP drop);
    void ListViewFilesKeyDown(WORD key);
    // Adds the paths in their order: a file as it is, a folder with its whole tree when recursive.
    // A walk that takes longer than the long-add delay shows its count in the button bar, keeps
    // the window painting, takes no other input, and stops at Esc (what it added stays).
    void AddPaths(const std::vector<std::wstring>& paths, bool recursive);
    void SetLongAddDelay(DWORD milliseconds) noexcept { longAddDelay_ = milliseconds; }

    // --- paths from the command line and from later starts of the same program
    // The start's own paths, added as a drop adds them once the window shows and is free.
    void QueueStartPaths(std::vector<std::wstring> paths);
    // A later start's paths: false while the window cannot take them now (a modal box is open, an
    // add or a send runs); otherwise the window comes to the front and adds them once it is free.
    bool OfferPaths(std::vector<std::wstring> paths);
    // Adds the paths as a drop does; those that do not exist are named in one message afterwards.
    void AddStartPaths(const std::vector<std::wstring>& paths);
    // Inside a modal box or a menu, hidden, adding or sending: no paths from outside now.
    bool Busy() const;

    // --- the system menu's item "Korvex в меню «Отправить»" (MainFormSendTo.cpp)
    std::wstring SendToShortcutPath() const;
    // Checks the item when the Send To folder holds a shortcut to this executable.
    void UpdateSendToMenuItem();
    // Writes the shortcut, or removes it when it is there.
    void ToggleSendToShortcut();

    // --- adding from the explorer
    void btAddAllClick();
    void NNoSubdirsClick(UINT sender);
    // The drag of explorer entries: onto this window they are added as by "Добавить", onto
    // another program they are the shell's files.
    void FrameFileExloreBeginDrag();
    // What a drop onto the window through OLE does with the names it carried (the registered drop
    // target calls it before it returns to the drag source): they are added once the window is
    // free, as a later start's paths are. A drop that failed says so in the error box.
    void OleDrop(std::vector<std::wstring> paths);
    void OleDropFailed(std::exception_ptr error);
    IDropTarget* DropTarget() const noexcept { return dropRegistration_.Target(); }

    // --- send and address book
    void btMakeQueryClick();
    void btAddFilesClick(HWND sender);
    void ListViewAdressChange();
    // The address list's notifications: type-ahead and the selection (the list answers its
    // rows' texts itself).
    LRESULT ListViewAdressNotify(NMHDR* header);
    const AddressRows& AddressEntries() const noexcept { return *addressRows_; }
    bool AddressSuggestionsAttached() const noexcept { return addressSuggestions_.Attached(); }
    // Whether the saved folder, which did not answer at the first show, is still being read.
    bool SavedFolderPending() const noexcept { return savedFolder_ != nullptr; }
    bool Sending() const noexcept { return sending_; }
    void FrameFileExloreQFileExplorerChange(components::TQFileExplorer& sender, int item,
                                            components::TItemChange change);

    // --- what a send leaves behind: marks, the journal, the record of a send under way
    std::wstring JournalPath() const;
    std::wstring SavedSendPath() const;
    // At the first show: a send that a crash cut short is offered back.
    void OfferInterruptedSend();
    // "Отправлено k из n — …" after a send, until the next send or change of the list.
    const std::wstring& SendStatus() const noexcept { return sendStatus_; }
    // "Журнал": the journal's window, opened or brought to the front with what the file holds now.
    void btJournalClick();
    TJournalWindow& JournalWindow() noexcept { return journalWindow_; }

    const std::wstring& ClientExePath() const noexcept { return clientExePath_; }
    std::wstring AddressBookPath() const;

    // The controls, by the names the rest of the program knows them by.
    ui::Panel Panel1, PanelPath, Panel6, Panel2;
    ui::Panel PanelAddProgress;  // between the buttons of Panel2: the count of a long add
    TFrameFileExlore FrameFileExlore;
    ui::Panel Panel3, Panel7, Panel8, PanelTop, Panel5, Panel4;
    components::tAlignSpeedButton btAddAll, btAddFiles, btClear, btJournal, btMakeQuery;
    ui::Splitter Splitter2, Splitter3;
    platform::UniqueMenu PopupMenu;
    static constexpr UINT NNoSubdirs = 301, NSubdirs = 302;  // PopupMenu's items
    // Adds the paths handed over once the window is free; the timer looks again while it is not.
    static constexpr UINT kAddPendingMessage = WM_APP + 0x50;
    static constexpr UINT_PTR kAddPendingTimer = 0x50;
    // Looks whether the saved folder, which did not answer in time at the first show, has been read.
    static constexpr UINT_PTR kSavedFolderTimer = 0x51;
    ui::ListView ListViewFiles, ListViewAdress;
    components::TAlignEdit EditAdress, EditSubj1;
    components::TAlignComboBox ComboAccaunts;
    components::TAlignCheckBox CheckBoxEdit;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void ApplyFont();
    void OnDpiChanged(int newDpi, const RECT& suggested);
    void FormCreate();
    void AddPendingPaths();
    void AddSendToMenuItem();
    void FormShow();
    // What the settings file keeps, as the window is now.
    MainSettings CurrentSettings() const;
    void RefreshSendListView();
    // Runs one fill of the send list with the long-add behaviour; an add inside an add is refused.
    void RunFill(const std::function<void(SendListFiller&)>& fill);
    void AddFromExplorer(bool selectedOnly, bool recursive);
    POINT MinimumTrackSize() const;
    // WM_COMMAND by the sender's control id.
    void OnCommand(int id, HWND control, WORD code);
    LRESULT OnNotify(NMHDR* header);
    void ShowError(const std::wstring& message);
    int Scale(int pixels) const;
    // What a press sends: a new set of files numbered among themselves, or the rest of a set.
    struct SendSelection {
        std::uint32_t set = 0;                      // 0: a new set of positions
        std::vector<std::size_t> positions;         // ascending
        std::vector<SendList::PartNumber> numbers;  // each position's %i and %n
    };
    // All, or after a question the rest of the last set or the files never sent there; none when
    // cancelled (MainFormSendRecord.cpp).
    std::optional<SendSelection> ChooseSendPositions(const SendRequest& request);
    // The send's starts and what they leave behind (MainFormSendRun.cpp).
    // Opens the journal; when it cannot be written, asks whether to send without it.
    bool OpenJournal();
    // Writes the record of the set about to be sent; when it cannot be, asks whether to send without.
    bool OpenSavedSend(const SendRequest& request, const SendPlan& plan, std::uint32_t set);
    DispatchOutcome RunSend(const SendRequest& request, const SendPlan& plan, const std::vector<std::size_t>& positions,
                            const std::function<void()>& pump, const SendProgress& progress);
    void WriteJournalLine(const SendRequest& request, const SendPlan& plan, std::size_t position, const ZonedTime& when,
                          std::wstring_view result);
    // The client's process for the entry was created (error 0) or could not be.
    void NoteCreated(const SendRequest& request, const SendPlan& plan, std::size_t position, DWORD error);
    // What went wrong with the journal or the record during the last send, for its summary.
    std::wstring SendRecordProblems() const;
    void ShowSendStatus(const SendRequest& request);
    void ClearSendStatus();

    TMainFormConfig config_;
    ui::DialogPrompter dialogPrompter_;
    ui::Prompter& prompter_;
    SendList sendList_;
    std::wstring clientExePath_;
    // The address book's entries, shared with the address box's suggestions, which may read them
    // from a thread of their own; not changed once loaded.
    std::shared_ptr<const AddressRows> addressRows_ = std::make_shared<const AddressRows>();
    platform::AddressSuggestions addressSuggestions_;
    bool sending_ = false;                // a send is starting its processes: no second one, no other input
    platform::AppendOnlyFile journal_;    // open while a send runs
    platform::AppendOnlyFile savedSend_;  // the record of the send under way
    std::size_t journalErrors_ = 0;
    DWORD journalError_ = 0;
    bool journalAsked_ = false;  // the user was told the journal stopped being written
    DWORD savedSendError_ = 0;   // a write of the record failed: the send stopped there
    DWORD savedSendRemoveError_ = 0;
    static constexpr std::size_t kNotInRecord = static_cast<std::size_t>(-1);
    std::vector<std::size_t> savedSendPositions_;  // per list entry, its line in the record
    std::uint32_t sendSet_ = 0;                    // the set being sent
    bool stopRequested_ = false;                   // the send stops after the start under way
    std::wstring sendStatus_;
    TJournalWindow journalWindow_;
    platform::UniqueGdiObject font_;
    platform::UniqueIcon icon_, smallIcon_;
    bool creationAborted_ = false;
    bool settingsLoaded_ = false;
    // The saved folder, read while the window builds itself; its explorer lists what was read.
    std::unique_ptr<components::FolderReadAhead> savedFolder_;
    // The saved folder as the settings spell it, while the drives are shown in its stead; the
    // explorer's change handler drops it once anything else is shown.
    std::wstring savedFolderPath_;
    void StartReadingSavedFolder() noexcept;
    // --- a close while a send runs (MainForm.cpp): the send stops after the start under way, keeps
    // its record for the next start, and the window closes once the send has unwound.
    void AskCloseDuringSend();
    // The session ends: no question; the settings are written now, as the process may end at any time.
    void EndSession();
    bool closeAsking_ = false;       // the question is up: a second close asks nothing
    bool closeAfterSend_ = false;    // stop the send; no summary; close after it
    bool closedForSession_ = false;  // the settings were written at the session's end
    // The saved folder once it has been read, unless the user went elsewhere meanwhile.
    void ShowSavedFolderIfRead();
    int startState_ = 0;  // the window state the settings ask for at the first show
    int dpi_ = 96;
    DWORD longAddDelay_ = 500;
    bool filling_ = false;
    bool explorerDragging_ = false;
    bool explorerDropped_ = false;
    std::vector<std::wstring> pendingPaths_;       // handed over, not yet added
    platform::DropRegistration dropRegistration_;  // last: revoked before anything it reaches goes
};

}  // namespace korvex
