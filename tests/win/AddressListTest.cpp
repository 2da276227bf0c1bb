// The address list as a virtual list over the book's rows, its type-ahead, and the address box's
// suggestions.

#include <memory>

#include "AddressSuggestions.h"
#include "FormFixture.h"
#include "UniqueResource.h"

namespace korvex::test {
namespace {

class AddressList : public FormFixture {
protected:
    void Open(std::string_view book) {
        RegisterClient({{L"User #0", L"Office"}});
        WriteAddressBook(book);
        ASSERT_TRUE(CreateForm());
        form->Show(SW_SHOWNORMAL);
    }
    void Type(wchar_t c) { SendMessageW(form->ListViewAdress.Handle(), WM_CHAR, c, 1); }
    int Selected() const { return form->ListViewAdress.FirstSelected(); }
};

TEST_F(AddressList, AVirtualListOfTheEntriesWhoseSelectionFillsTheAddressBox) {
    Open("alpha@x\r\n\"Beta\" <b@x>\r\n\r\nbob@x\r\n");
    const HWND list = form->ListViewAdress.Handle();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE));
    EXPECT_TRUE(style & LVS_OWNERDATA);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_NOCOLUMNHEADER);
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 1);
    ASSERT_EQ(form->ListViewAdress.Count(), 4);
    EXPECT_EQ(form->ListViewAdress.ItemText(1), L"Beta <b@x>");  // the list asks us for the text
    EXPECT_EQ(form->ListViewAdress.ItemText(2), L"");

    form->ListViewAdress.Select(1);
    EXPECT_EQ(form->EditAdress.Text(), L"Beta <b@x>");
    form->ListViewAdress.Select(2);
    EXPECT_EQ(form->EditAdress.Text(), L"");  // the empty entry empties the box
    form->ListViewAdress.Select(0);
    EXPECT_EQ(form->EditAdress.Text(), L"alpha@x");
    EXPECT_EQ(form->ListViewAdress.SelectedIndices(), (std::vector<std::size_t>{0}));  // one at a time
    form->ListViewAdress.ClearSelection();
    EXPECT_EQ(form->EditAdress.Text(), L"alpha@x");  // no selection keeps the box as it was
}

TEST_F(AddressList, TypingLettersSelectsTheNextEntryThatBeginsWithThem) {
    Open("alpha@x\nBeta@x\ncarl@x\nbob@x\nbravo@x\n");
    form->ListViewAdress.Select(0);
    Type(L'b');
    EXPECT_EQ(Selected(), 1);  // letter case does not count
    EXPECT_EQ(form->EditAdress.Text(), L"Beta@x");
    Type(L'o');
    EXPECT_EQ(Selected(), 3);  // "bo": the next entry that begins with both letters
    EXPECT_EQ(form->EditAdress.Text(), L"bob@x");
    Type(L'x');
    EXPECT_EQ(Selected(), 3);  // "box" begins no entry: the selection stays
}

TEST_F(AddressList, TypeAheadGoesOnFromTheTopAfterTheLastEntry) {
    Open("Анна@x\nборис@x\nалла@x\nвера@x\n");
    form->ListViewAdress.Select(3);
    Type(L'А');
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(form->EditAdress.Text(), L"Анна@x");
}

TEST_F(AddressList, ABookSavedAsUnicodeByNotepad) {
    const std::wstring text = L"\"Иван Петров\" <ivan@x.ru>\r\nПётр <p@x>\r\n";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Open(bytes);
    ASSERT_EQ(form->AddressEntries(), (AddressRows{L"Иван Петров <ivan@x.ru>", L"Пётр <p@x>"}));
    EXPECT_EQ(form->ListViewAdress.ItemText(1), L"Пётр <p@x>");
}

TEST_F(AddressList, ABookOf200000Lines) {
    std::string book;
    for (int i = 0; i < 200000; ++i) book += "person-" + std::to_string(i) + "@example.com\r\n";
    Open(book);
    ASSERT_EQ(form->ListViewAdress.Count(), 200000);
    EXPECT_EQ(form->ListViewAdress.ItemText(199999), L"person-199999@example.com");
    form->ListViewAdress.Select(123456);
    EXPECT_EQ(form->EditAdress.Text(), L"person-123456@example.com");
}

TEST(AddressSuggestions, TheStringEnumeratorThroughCom) {
    const auto rows = std::make_shared<const AddressRows>(AddressRows{L"a@x", L"b@x", L"", L"d@x"});
    const auto strings = platform::MakeRowEnumerator(rows);
    ASSERT_TRUE(strings);
    EXPECT_TRUE(strings.As<IUnknown>());
    EXPECT_FALSE(strings.As<IDropTarget>());
    auto next = [](IEnumString* e, ULONG count, HRESULT expected) {
        std::vector<LPOLESTR> got(count, nullptr);
        ULONG fetched = 99;
        EXPECT_EQ(e->Next(count, got.data(), &fetched), expected);
        std::vector<std::wstring> texts;
        for (ULONG i = 0; i < fetched; ++i) {
            texts.emplace_back(got[i]);
            CoTaskMemFree(got[i]);
        }
        return texts;
    };
    EXPECT_EQ(next(strings.get(), 2, S_OK), (std::vector<std::wstring>{L"a@x", L"b@x"}));
    platform::ComPtr<IEnumString> clone;
    ASSERT_EQ(strings->Clone(clone.put()), S_OK);
    EXPECT_EQ(strings->Skip(1), S_OK);
    EXPECT_EQ(next(strings.get(), 5, S_FALSE), (std::vector<std::wstring>{L"d@x"}));
    EXPECT_EQ(next(strings.get(), 1, S_FALSE), (std::vector<std::wstring>{}));
    EXPECT_EQ(next(clone.get(), 2, S_OK), (std::vector<std::wstring>{L"", L"d@x"}));  // the clone's own position
    EXPECT_EQ(strings->Reset(), S_OK);
    EXPECT_EQ(strings->Skip(5), S_FALSE);
    EXPECT_EQ(strings->Reset(), S_OK);
    LPOLESTR one = nullptr;
    EXPECT_EQ(strings->Next(1, &one, nullptr), S_OK);  // one string needs no count back
    EXPECT_STREQ(one, L"a@x");
    CoTaskMemFree(one);
    EXPECT_EQ(strings->Next(2, &one, nullptr), E_POINTER);
}

// Our side lets go of the suggestions before the edit box goes, as a window destroyed without a
// close does (its members go before its controls): the edit box's destruction still frees the
// system's object, its drop-down and the rows.
TEST(AddressSuggestions, GoWithTheirEditBoxWhenOurSideLetsGoFirst) {
    auto ownWindows = [] {
        const DWORD thread = GetCurrentThreadId();
        return TopLevelWindows([&](HWND w) { return GetWindowThreadProcessId(w, nullptr) == thread; }).size();
    };
    const std::size_t before = ownWindows();
    platform::UniqueWindow host(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(host);
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 20, host.get(), nullptr,
                                      nullptr, nullptr);
    ASSERT_TRUE(edit);
    std::weak_ptr<const AddressRows> rows;
    {
        const auto book = std::make_shared<const AddressRows>(AddressRows{L"alpha@x", L"beta@x"});
        rows = book;
        platform::AddressSuggestions suggestions;
        ASSERT_EQ(suggestions.Attach(edit, book), S_OK);
    }
    host.reset();
    EXPECT_TRUE(rows.expired());
    EXPECT_EQ(ownWindows(), before);
}

TEST_F(AddressList, TheAddressBoxSuggestsFromTheBook) {
    Open("alpha@x\nbeta@x\n");
    // Wine and Windows both have the system's autocomplete object.
    EXPECT_TRUE(form->AddressSuggestionsAttached());
}

}  // namespace
}  // namespace korvex::test
