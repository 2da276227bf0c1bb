#include <gtest/gtest.h>

#include "IniText.h"

using namespace korvex;

namespace {

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

// Each case sets Subject=s and Box=b in [Main].
TEST(IniText, KeysAreSetWhereTheSystemWouldFindThemAndTheRestIsKept) {
    struct Case {
        const char* what;
        std::wstring before;
        std::wstring after;
    };
    const Case cases[] = {
        {"an empty file", L"", L"[Main]\r\nSubject=s\r\nBox=b\r\n"},
        {"both keys there, other lines as they were",
         L"; note\r\n[Other]\r\nSubject=x\r\n[Main]\r\nSubject=old\r\n  weird line  \r\nBox=\r\n[Last]\r\nz=1",
         L"; note\r\n[Other]\r\nSubject=x\r\n[Main]\r\nSubject=s\r\n  weird line  \r\nBox=b\r\n[Last]\r\nz=1"},
        {"a missing key follows the section's last filled line, before its blank lines",
         L"[Main]\r\nSubject=old\r\nMine=1\r\n\r\n[Next]\r\n",
         L"[Main]\r\nSubject=s\r\nMine=1\r\nBox=b\r\n\r\n[Next]\r\n"},
        {"names in any case and with blanks around them keep their spelling",
         L" [ main ] \r\n  SUBJECT \t= old\r\nbox=o\r\n", L" [ main ] \r\n  SUBJECT \t=s\r\nbox=b\r\n"},
        {"the first section and the first key of a name are the ones read",
         L"[Main]\r\nBox=1\r\nBox=2\r\n[Main]\r\nSubject=3\r\n",
         L"[Main]\r\nBox=b\r\nBox=2\r\nSubject=s\r\n[Main]\r\nSubject=3\r\n"},
        {"a key line without \"=\" is that key", L"[Main]\r\nSubject\r\n", L"[Main]\r\nSubject=s\r\nBox=b\r\n"},
        {"a last line without its line ending gets one before what follows", L"[Main]\r\nMine=1",
         L"[Main]\r\nMine=1\r\nSubject=s\r\nBox=b\r\n"},
        {"a section that is not there is added at the end", L"[Other]\r\nk=v",
         L"[Other]\r\nk=v\r\n[Main]\r\nSubject=s\r\nBox=b\r\n"},
        {"bare \"\\n\" line endings stay so", L"[Main]\nSubject=old\nBox=o\n", L"[Main]\nSubject=s\nBox=b\n"},
        {"a key in another section or a bracket without its end is no key of ours", L"[Main\r\nSubject=x\r\n",
         L"[Main\r\nSubject=x\r\n[Main]\r\nSubject=s\r\nBox=b\r\n"},
        {"a section header in a value does not end the search", L"[Main]\r\nMine=[x]\r\nBox=o\r\n",
         L"[Main]\r\nMine=[x]\r\nBox=b\r\nSubject=s\r\n"},
    };
    for (const Case& c : cases) {
        const std::wstring after = WithIniValues(c.before, L"Main", {{L"Subject", L"s"}, {L"Box", L"b"}});
        EXPECT_EQ(Narrow(after), Narrow(c.after)) << c.what;
    }
}

TEST(IniText, ValuesArriveWholeOnOneLine) {
    const std::wstring subject = L"Чертежи = №5 [часть %i / %n]; " + std::wstring(5000, L'ж');
    const std::wstring text =
        WithIniValues(L"[Main]\r\nSubject=old\r\n", L"Main", {{L"Subject", subject}, {L"Box", L"a\r\n[Evil]\r\nx=1"}});
    EXPECT_EQ(text, L"[Main]\r\nSubject=" + subject + L"\r\nBox=a  [Evil]  x=1\r\n");
}
