// The system's error texts as the user reads them: inserts filled, never a raw "%1".

#include <windows.h>

#include <gtest/gtest.h>

#include "MessageInserts.h"
#include "Process.h"
#include "TestSupport.h"
#include "Win32Error.h"

namespace korvex::test {
namespace {

std::wstring RawSystemText(DWORD code) {
    wchar_t buffer[512] = {};
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                                   static_cast<DWORD>(std::size(buffer)), nullptr);
    return std::wstring(buffer, n);
}

// A client path that names no program: the text names it where the system's text has its insert.
TEST(SystemMessage, AStartOfANonProgramNamesTheProgram) {
    TempDir dir;
    const std::wstring client = dir / L"не программа.exe";
    WriteBytes(client, "plain text, no executable header");
    const DWORD error = platform::StartProcess(client, L"\"" + client + L"\" /MAIL");
    ASSERT_EQ(error, static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    // What makes the case: the system's own text holds the insert.
    ASSERT_NE(RawSystemText(error).find(L"%1"), std::wstring::npos) << RawSystemText(error);

    const std::wstring named = platform::SystemMessage(error, client);
    EXPECT_EQ(named.find(L'%'), std::wstring::npos) << named;
    EXPECT_NE(named.find(client), std::wstring::npos) << named;

    // Without a name the insert gets the neutral mark, also inside an error's text.
    const std::wstring unnamed = platform::SystemMessage(error);
    EXPECT_EQ(unnamed.find(L'%'), std::wstring::npos) << unnamed;
    EXPECT_NE(unnamed.find(kUnnamedInsert), std::wstring::npos) << unnamed;
    const std::wstring thrown = platform::Win32Error(error, L"CreateProcessW").Message();
    EXPECT_EQ(thrown.find(L'%'), std::wstring::npos) << thrown;
}

}  // namespace
}  // namespace korvex::test
