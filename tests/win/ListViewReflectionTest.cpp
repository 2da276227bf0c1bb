// A virtual list's rows are answered by the list object itself, through its parent: each list
// answers for its own window only, and a list that is gone answers for nothing.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ListHost.h"
#include "ListView.h"

namespace korvex::test {
namespace {

struct Rows {
    std::vector<std::array<std::wstring, 2>> texts;
    ui::ListView::VirtualRows Source() {
        return {.count = [this] { return texts.size(); },
                .text = [this](std::size_t row, int column) -> const std::wstring& {
                    return texts[row][static_cast<std::size_t>(column)];
                }};
    }
};

void MakeList(ui::ListView& list, HWND host, int id, Rows& rows) {
    list.Create(host, id, LVS_OWNERDATA, 0, SIZE{200, 200});
    list.AddColumn(L"Name", 100);
    list.AddColumn(L"Size", 80);
    list.SetVirtualRows(rows.Source());
    list.SetVirtualCount(rows.texts.size());
}

std::wstring CellText(HWND list, int row, int column) {
    wchar_t text[64] = L"(none)";
    ListView_GetItemText(list, row, column, text, 64);
    return text;
}

TEST(ListViewReflection, EachListAnswersForItsOwnRowsAndAGoneListForNone) {
    ListHost host;
    host.Create();
    Rows drawingRows{{{{L"план.dwg", L"12 KB"}, {L"разрез.dwg", L"7 KB"}}}};
    Rows letterRows{{{{L"письмо.txt", L"1 KB"}}}};
    ui::ListView drawings;
    auto letters = std::make_optional<ui::ListView>();
    MakeList(drawings, host.Handle(), 1, drawingRows);
    MakeList(*letters, host.Handle(), 2, letterRows);

    struct Cell {
        HWND list;
        int row, column;
        const wchar_t* text;
    };
    const HWND lettersWindow = letters->Handle();
    for (const Cell& cell : {Cell{drawings.Handle(), 1, 0, L"разрез.dwg"}, Cell{drawings.Handle(), 0, 1, L"12 KB"},
                             Cell{lettersWindow, 0, 0, L"письмо.txt"}, Cell{lettersWindow, 0, 1, L"1 KB"}}) {
        SCOPED_TRACE(testing::Message() << cell.row << "," << cell.column);
        EXPECT_EQ(CellText(cell.list, cell.row, cell.column), cell.text);
    }
    EXPECT_EQ(ui::Control::FromHandle(drawings.Handle()), &drawings);
    EXPECT_EQ(ui::Control::FromHandle(lettersWindow), &*letters);

    // The object and its window go; the other list still answers, and nothing is left that
    // would take a later window of the same handle for the gone list.
    letters.reset();
    EXPECT_FALSE(IsWindow(lettersWindow));
    EXPECT_EQ(ui::Control::FromHandle(lettersWindow), nullptr);
    EXPECT_EQ(CellText(drawings.Handle(), 0, 0), L"план.dwg");
    EXPECT_EQ(ui::Control::FromHandle(nullptr), nullptr);
    EXPECT_EQ(ui::Control::FromHandle(host.Handle()), nullptr);  // a window that never asked to take them back
}

}  // namespace
}  // namespace korvex::test
