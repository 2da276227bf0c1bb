// Under a Russian Windows: code page 1251 for the address book, "," as the decimal separator.
// Runs in an executable of its own, started with LC_ALL=ru_RU.UTF-8.

#include <algorithm>

#include "ExplorerHost.h"
#include "ExplorerText.h"
#include "FormFixture.h"
#include "Locale.h"

namespace korvex::test {
namespace {

using RussianLocale = FormFixture;

TEST_F(RussianLocale, AnsiAddressBookAndCommaSizes) {
    ASSERT_EQ(GetACP(), 1251u) << "start this test with LC_ALL=ru_RU.UTF-8";
    EXPECT_EQ(platform::DecimalSeparator(), L',');
    RegisterClient();
    // "Иван <i@x>" and "Отдел" in code page 1251, as the classic Notepad saved them.
    WriteAddressBook("\xC8\xE2\xE0\xED <i@x>\r\n\xCE\xF2\xE4\xE5\xEB\r\n");
    ASSERT_TRUE(CreateForm());
    ASSERT_EQ(form->ListViewAdress.Count(), 2);
    EXPECT_EQ(form->ListViewAdress.ItemText(0), L"Иван <i@x>");
    EXPECT_EQ(form->ListViewAdress.ItemText(1), L"Отдел");

    // An ASCII name: without the glibc locale installed, Wine maps file names to ASCII under LC_ALL.
    WriteBytes(files / L"plan.dwg", std::string(1536, 'x'));
    form->AddPath(files / L"plan.dwg", false);
    ASSERT_EQ(form->SendEntries().Size(), 1u);
    EXPECT_EQ(form->SendEntries()[0].sizeText, L"1,5 KB");
}

TEST(RussianLocaleExplorer, DatesAndGroupedNumbersInTheLocalesForm) {
    ASSERT_EQ(GetACP(), 1251u) << "start this test with LC_ALL=ru_RU.UTF-8";
    TempDir dir;
    WriteBytes(dir / L"plan.dwg", "x");
    SetModified(dir / L"plan.dwg", 2002, 3, 2, 14, 7, 10);

    // Day first, as a Russian reader reads it; the same order in the sort.
    EXPECT_EQ(platform::ShortDateOrder(), DateOrder::dayMonthYear);
    struct Dated {
        const wchar_t* name;
        WORD year, month, day;
        const wchar_t* text;
    };
    const Dated dated[] = {
        {L"december.dwg", 2026, 12, 11, L"11.12.2026 10:20"},
        {L"november.dwg", 2026, 11, 12, L"12.11.2026 10:20"},
        {L"march.dwg", 2026, 3, 7, L"07.03.2026 10:20"},
        {L"july.dwg", 2026, 7, 3, L"03.07.2026 10:20"},
    };
    for (const Dated& d : dated) {
        WriteBytes(dir / d.name, "x");
        SetModified(dir / d.name, d.year, d.month, d.day, 10, 20, 0);
    }

    ExplorerHost host;
    host.Create();
    host.explorer.SetDirectory(dir.Path());
    ASSERT_EQ(host.explorer.Entries().size(), 5u);
    auto modified = [&](const wchar_t* name) {
        for (const auto& e : host.explorer.Entries())
            if (e.caption == name) return e.subItems[2];
        return std::wstring(L"<no row>");
    };
    EXPECT_EQ(modified(L"plan.dwg"), L"02.03.2002 14:07");
    for (const Dated& d : dated) EXPECT_EQ(modified(d.name), d.text);
    const std::vector<std::wstring> byDate = {L"plan.dwg", L"march.dwg", L"july.dwg", L"november.dwg", L"december.dwg"};
    host.explorer.SortColumnClick(3);
    std::vector<std::wstring> shown = host.Captions();
    if (host.explorer.SortReversed()) std::reverse(shown.begin(), shown.end());
    EXPECT_EQ(shown, byDate);

    host.explorer.SetDirectory(L"DRIVES");
    const std::wstring& total = host.explorer.Entries().front().subItems[1];
    EXPECT_EQ(total, GroupDigits(static_cast<std::uint64_t>(components::TQFileExplorer::GetDiskInfo(L"C:").TotalSize),
                                 L"\u00A0"));
    EXPECT_NE(total.find(L'\u00A0'), std::wstring::npos);
}

}  // namespace
}  // namespace korvex::test
