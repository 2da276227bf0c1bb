// Under a Russian Windows: code page 1251 for the address book, "," as the decimal separator.
// Runs in an executable of its own, started with LC_ALL=ru_RU.UTF-8.

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

}  // namespace
}  // namespace korvex::test
