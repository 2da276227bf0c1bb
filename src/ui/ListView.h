#pragma once
// A thin wrapper of the comctl32 list view: columns, rows, the selection and the focus by index,
// the texts of a virtual list's rows, and an optional look at the list's messages before its own
// window procedure.

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Control.h"

namespace korvex::ui {

// Holds a list's drawing, and the upkeep of its header and scroll bars, while several changes are
// made to it (columns added or resized): the list catches up once, when the hold ends. Each column
// change otherwise moves the header several times over. A list that is not shown by its own style
// is left alone, because switching its drawing back on would show it.
class RedrawHold {
public:
    explicit RedrawHold(HWND list);
    ~RedrawHold();
    RedrawHold(const RedrawHold&) = delete;
    RedrawHold& operator=(const RedrawHold&) = delete;

private:
    HWND list_;
};

class ListView : public Control {
public:
    ~ListView() override;

    void Create(HWND parent, int id, DWORD style, DWORD extendedStyle, SIZE size);

    void AddColumn(const wchar_t* caption, int width, int format = LVCFMT_LEFT);
    // Columns share the client width equally whenever the list is resized, or its client width
    // changes as a vertical scroll bar comes or goes.
    void ShareWidthAmongColumns(bool share) { shareWidth_ = share; }
    void OnResized() override;

    int Count() const;
    // For a list of LVS_OWNERDATA style: the number of rows the owner answers for.
    void SetVirtualCount(std::size_t count);
    void InsertItem(int index, const std::wstring& text);
    void DeleteAll();
    std::wstring ItemText(int item, int subItem = 0) const;

    // The rows of a list of LVS_OWNERDATA style, answered to the list inside the wrapper:
    // how many the owner has now (the list may still show an older count for a while; rows
    // beyond it are never asked of text or image), a row's text in a column and, optionally, its
    // image.
    struct VirtualRows {
        std::function<std::size_t()> count;
        std::function<const std::wstring&(std::size_t row, int column)> text;
        std::function<int(std::size_t row)> image;
    };
    void SetVirtualRows(VirtualRows rows);
    // The owner's count for a virtual list with rows, the list's own count otherwise.
    std::size_t RowCount() const;

    // The selection and the focus. Indices the owner has no row for (see RowCount) are none.
    std::vector<std::size_t> SelectedIndices() const;
    // The first selected index and the focused one; -1 for none.
    int FirstSelected() const;
    int FocusedIndex() const;
    bool IsSelected(std::size_t index) const;
    // Calls visit with each selected index, in ascending order.
    template <typename Visit>
    void ForEachSelected(Visit&& visit) const {
        const std::size_t rows = RowCount();
        for (int i = NextSelected(-1); i >= 0 && static_cast<std::size_t>(i) < rows; i = NextSelected(i))
            visit(static_cast<std::size_t>(i));
    }
    // Selects or unselects one row; the focus stays where it is.
    void Select(std::size_t index, bool selected = true);
    // Moves the focus to the row and selects it (the others keep their state).
    void SetFocusedAndSelected(std::size_t index);
    // Moves the focus to the row, leaving every row's selection as it is.
    void SetFocused(std::size_t index);
    void SelectAll();
    void ClearSelection();

    bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    // Puts HandleListMessage in front of the list view's own window procedure, for a list that
    // wants some messages first. (A window procedure of our own, not comctl32's subclass chain,
    // which costs Wine ~150 us per message: the list sends itself one per row when it walks its
    // selection.) No exception leaves it: it goes to the general error box.
    void HookListMessages();
    // The list's messages once hooked; by default they go on to the list.
    virtual LRESULT HandleListMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return CallList(hwnd, msg, wParam, lParam);
    }
    // The list view's own handling of a message.
    LRESULT CallList(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcW(listProcedure_, hwnd, msg, wParam, lParam);
    }
    // The hooked window is being destroyed: what the derived list keeps for it goes now.
    virtual void OnListDestroyed() {}
    // What the error box says for an error of no known kind in HandleListMessage.
    virtual const wchar_t* UnexpectedErrorText() const { return L"Unexpected error"; }

private:
    static LRESULT CALLBACK HookProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    int NextSelected(int after) const;

    bool shareWidth_ = false;
    int sharedWidth_ = -1;    // the client width the columns were last shared out of
    int sharedColumns_ = -1;  // and how many columns there were
    VirtualRows rows_;
    WNDPROC listProcedure_ = nullptr;  // the list view's own window procedure, once hooked
};

}  // namespace korvex::ui
