#pragma once
// The journal of starts in a window of its own: every start newest first in a virtual list, a box
// that filters the rows as the user types, and a button that opens the file in its own program.

#include <windows.h>

#include <functional>
#include <string>

#include "AlignEdit.h"
#include "AlignSpeedButton.h"
#include "JournalView.h"
#include "ListView.h"
#include "Panel.h"
#include "Prompter.h"
#include "UniqueResource.h"
#include "Window.h"

namespace korvex {

// Opens a file in the program the system has for it: 0 or the system's error code.
using FileOpener = std::function<DWORD(const std::wstring& path)>;
DWORD OpenInItsProgram(const std::wstring& path);

class TJournalWindow : public ui::Container {
public:
    // opener empty: the system's program for the file.
    TJournalWindow(std::wstring journalPath, ui::Prompter& prompter, FileOpener opener = {});

    // Shows the window above owner, reading the journal anew; a window already open comes to the
    // front with what the file holds now, its filter kept.
    void Open(HWND owner);
    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    // Applies the filter box's text now instead of after the pause in typing.
    void ApplyFilter();
    // The filter box's text as last applied to the rows.
    const std::wstring& AppliedFilter() const noexcept { return appliedFilter_; }
    void OpenFile();

    const JournalView& View() const noexcept { return view_; }
    // What the line under the filter box says: the count of rows, or why there are none.
    std::wstring StateText() const { return PanelState.Text(); }

    ui::Panel PanelFilter, PanelFind, PanelState;
    components::TAlignEdit EditFilter;
    components::tAlignSpeedButton btOpenFile;
    ui::ListView ListViewJournal;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls(HWND owner);
    void Load();
    void ShowRows();
    // A row's text in a column, its record's fields parsed once for all its columns.
    const std::wstring& RowText(std::size_t row, int column);
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    std::wstring path_;
    ui::Prompter& prompter_;
    FileOpener opener_;
    JournalView view_;
    DWORD readError_ = 0;
    std::wstring appliedFilter_;
    // The fields of the row painted last: the list asks for a row's columns one after another.
    std::size_t cachedRecord_ = static_cast<std::size_t>(-1);
    JournalFields cachedFields_;
    platform::UniqueGdiObject font_;
    int dpi_ = 96;
    bool childrenAdded_ = false;
};

}  // namespace korvex
