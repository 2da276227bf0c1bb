// TMainForm: the window's life from creation to close, and the settings file.

#include "MainForm.h"

#include <shellapi.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "AppError.h"
#include "ExplorerText.h"
#include "IniFile.h"
#include "IniValue.h"
#include "MainSettings.h"
#include "PathText.h"
#include "WindowBounds.h"
#include "WindowPlacement.h"

namespace korvex {

namespace {

constexpr wchar_t kFirstFolder[] = L"c:\\";
// How often the window looks whether a saved folder that did not answer in time has been read.
constexpr UINT kSavedFolderLookMs = 250;

// How much of its caption must be on a screen for a window to be taken by it, at 96 dpi.
constexpr int kCaptionGrip = 100;

}  // namespace

std::wstring TMainForm::SettingsPath() const {
    return SettingsPathFor(config_.exePath);
}

void TMainForm::StartReadingSavedFolder() noexcept {
    try {
        const auto path = platform::IniFile(SettingsPath()).Read(kMainSection, kPathKey);
        if (!path || path->empty() || IsDrivesWord(*path)) return;
        // Spelled as the explorer spells its folder, so that its listing knows the rows for its own.
        savedFolder_ = std::make_unique<components::FolderReadAhead>(
            EnsureBackslash(*path), components::TQFileExplorer::Facts(), config_.beforeReadingSavedFolder);
    } catch (const std::exception&) {
        // No thread, or no memory: the explorer reads the folder itself.
    }
}

void TMainForm::FormCreate() {
    DragAcceptFiles(hwnd_, TRUE);
    // An error here ends the remaining steps; the window still opens.
    try {
        if (!LoadMailClient() || !LoadAddressBook()) creationAborted_ = true;
    } catch (const AppError& e) {
        ShowError(e.Message());
    } catch (const std::exception&) {
        ShowError(L"Unexpected error");
    }
}

void TMainForm::Show(int showCommand) {
    const bool first = !settingsLoaded_;
    // Before the window appears, so that it appears where and as it was left.
    FormShow();
    if (first && startState_ == ui::kShownMaximized) showCommand = SW_SHOWMAXIMIZED;
    if (first && startState_ == ui::kShownMinimized) showCommand = SW_SHOWMINIMIZED;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    if (first) OfferInterruptedSend();
}

void TMainForm::FormShow() {
    if (settingsLoaded_) return;
    // Whatever goes wrong while applying them, the window opens with what was applied so far.
    try {
        LoadSettings();
    } catch (const AppError& e) {
        ShowError(e.Message());
    } catch (const std::exception&) {
        ShowError(L"Unexpected error");
    }
    settingsLoaded_ = true;
    EnsureLaidOut();  // also when the settings failed before the window had its size
}

void TMainForm::FormClose() {
    // Nothing that goes wrong here keeps the window from closing.
    try {
        SaveSettings();
    } catch (const AppError& e) {
        ShowError(e.Message());
    } catch (const std::exception&) {
        ShowError(L"Unexpected error");
    }
    DragAcceptFiles(hwnd_, FALSE);
}

MainSettings TMainForm::CurrentSettings() const {
    // The normal-state bounds whatever the state: a maximized or minimized window is not
    // restored to read them, and a minimized one never stores its parking place.
    const Bounds bounds = ui::NormalBounds(hwnd_);
    MainSettings settings;
    settings.subject = EditSubj1.Text();
    // A saved folder that did not answer stays the one to open next time, until the user leaves
    // the drives shown in its stead.
    settings.path = savedFolderPath_.empty() ? FrameFileExlore.QFileExplorer.Directory() : savedFolderPath_;
    settings.viewStyle = FrameFileExlore.ExplorerViewStyle();
    settings.edit = CheckBoxEdit.Checked();
    settings.box = ComboAccaunts.Text();
    settings.left = bounds.left;
    settings.top = bounds.top;
    settings.width = bounds.Width();
    settings.height = bounds.Height();
    settings.windowState = ui::ShowStateOf(hwnd_);
    return settings;
}

void TMainForm::LoadSettings() {
    const platform::IniFile ini(SettingsPath());
    // Each value defaults to the current state of what it restores: a missing file or key, or a
    // number that is none, leaves that thing as it is.
    MainSettings current = CurrentSettings();
    const Bounds systemBounds = ui::NormalBounds(hwnd_);
    components::TQFileExplorer& explorer = FrameFileExlore.QFileExplorer;
    if (explorer.Directory().empty()) current.path = kFirstFolder;
    const MainSettings settings =
        ReadMainSettings([&](std::wstring_view key) { return ini.Read(kMainSection, key); }, std::move(current));

    EditSubj1.SetText(settings.subject);

    FrameFileExlore.SetExplorerViewStyle(settings.viewStyle);

    CheckBoxEdit.SetChecked(settings.edit);

    // Whether or not it is listed; only the layout's placeholder stands for "none chosen yet".
    std::vector<std::wstring> listed;
    for (int i = 0; i < ComboAccaunts.ItemCount(); ++i) listed.push_back(ComboAccaunts.Item(i));
    ComboAccaunts.SetText(StartingMailbox(settings.box, listed));

    // The size the window was given by the system stands in for a saved size of 0; a smaller one
    // than the window's smallest becomes that; only the whole window is then put on a monitor.
    const POINT smallest = MinimumTrackSize();
    const Bounds whole = WholeBounds(settings.left, settings.top, settings.width, settings.height,
                                     {smallest.x, smallest.y}, {systemBounds.Width(), systemBounds.Height()});
    const int captionHeight = GetSystemMetricsForDpi(SM_CYCAPTION, GetDpiForWindow(hwnd_)) +
                              GetSystemMetricsForDpi(SM_CYSIZEFRAME, GetDpiForWindow(hwnd_));
    const Bounds wanted = ui::OnAMonitor(whole, captionHeight, Scale(kCaptionGrip));
    const UINT dpiBefore = GetDpiForWindow(hwnd_);
    ui::SetNormalBounds(hwnd_, wanted);
    // Moving onto a monitor of another scale rescales the window to the size the system suggests;
    // the saved size is meant in that monitor's pixels, so it is given once more.
    if (GetDpiForWindow(hwnd_) != dpiBefore) ui::SetNormalBounds(hwnd_, wanted);
    EnsureLaidOut();  // the saved size may be the size it had

    // The window was created without a folder: only the folder that will be shown is listed,
    // the saved one when it exists, else the first folder. Listed once the list has its view and
    // the window its size, so that the rows are laid out once, for the list as it is shown.
    // A saved folder that is gone (or cannot be shown) gives way to the nearest folder above it.
    // One that does not answer in time (a share whose server is gone, a drive that hangs) lets
    // the window open on the drives instead, and follows once it has been read.
    std::wstring folder = settings.path;
    if (savedFolder_ && !savedFolder_->WaitFor(std::chrono::milliseconds(config_.savedFolderPatienceMs))) {
        explorer.SetDirectory(kDrivesFolder);
        savedFolderPath_ = folder;
        SetTimer(hwnd_, kSavedFolderTimer, kSavedFolderLookMs, nullptr);
    } else {
        explorer.UseReadAhead(std::move(savedFolder_));
        explorer.SetDirectory(folder);
        while (explorer.Directory().empty() && !(folder = ParentFolder(folder)).empty()) explorer.SetDirectory(folder);
        if (explorer.Directory().empty()) explorer.SetDirectory(kFirstFolder);
    }

    // Last, so that a maximized window keeps the bounds above for when it is restored. Values
    // other than the three states open the window normally.
    startState_ = settings.windowState;
}

void TMainForm::ShowSavedFolderIfRead() {
    if (savedFolder_ && !savedFolder_->WaitFor(std::chrono::milliseconds(0))) return;
    // Not inside a menu, a message box or a send: the rows stay those they were made for.
    if (Busy()) return;
    KillTimer(hwnd_, kSavedFolderTimer);
    std::unique_ptr<components::FolderReadAhead> read = std::move(savedFolder_);
    components::TQFileExplorer& explorer = FrameFileExlore.QFileExplorer;
    // A user who went elsewhere meanwhile stays there. A folder that could not be read is not
    // asked again here, where it could hold the window; it stays the one to open next time.
    if (!read || savedFolderPath_.empty() || !read->Listed()) return;
    const std::wstring folder = savedFolderPath_;  // the listing's change ends the wait for it
    explorer.UseReadAhead(std::move(read));
    explorer.SetDirectory(folder);
    // A folder gone since it was read is refused: its rows are not kept for a later listing.
    if (explorer.IsDrivesView()) explorer.UseReadAhead(nullptr);
}

bool TMainForm::SaveSettings() {
    const platform::IniFile ini(SettingsPath(), config_.replaceSettingsFile);
    // All keys in one new file: a failure anywhere leaves the file as it was.
    if (ini.Write(kMainSection, MainSettingTexts(CurrentSettings())) != 0) {
        // The window closes all the same.
        ShowError(L"Unable to write to " + ini.Path());
        return false;
    }
    return true;
}

void TMainForm::FrameFileExloreQFileExplorerChange(components::TQFileExplorer& sender, int item,
                                                   components::TItemChange change) {
    FrameFileExlore.QFileExplorerChange(sender, item, change);
    PanelPath.SetCaption(sender.Directory());
    // Anywhere but the drives shown in its stead, a saved folder that did not answer is given up.
    if (!savedFolderPath_.empty() && !sender.IsDrivesView()) savedFolderPath_.clear();
}

}  // namespace korvex
