// The file type of a test's own (tests/support): written only in the marked prefix, seen by the
// shell there, and gone again at the end.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestFileType.h"

namespace korvex::test {
namespace {

bool UserOrMachineKey(const std::wstring& name) {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, (L"Software\\Classes\\" + name).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            return true;
        }
    }
    return false;
}

// Puts WINEPREFIX back however the test ends.
class PrefixVariable {
public:
    PrefixVariable() { had_ = GetEnvironmentVariableW(L"WINEPREFIX", saved_, 4096) > 0; }
    ~PrefixVariable() { SetEnvironmentVariableW(L"WINEPREFIX", had_ ? saved_ : nullptr); }
    PrefixVariable(const PrefixVariable&) = delete;
    PrefixVariable& operator=(const PrefixVariable&) = delete;

private:
    wchar_t saved_[4096] = {};
    bool had_ = false;
};

TEST(TestFileType, WrittenOnlyInTheMarkedPrefixSeenThereAndRemovedAtTheEnd) {
    const std::wstring id = std::to_wstring(GetCurrentProcessId());
    const std::wstring extension = L".kxt" + id;
    const std::wstring progId = L"KorvexFileTypeTest" + id;
    const std::wstring command = L"\"C:\\windows\\system32\\notepad.exe\" \"%1\"";
    {
        const PrefixVariable restore;
        SetEnvironmentVariableW(L"WINEPREFIX", L"/nonexistent/korvex-prefix");
        const TestFileType type(extension, progId, command);
        EXPECT_TRUE(type.Refused());
        ASSERT_TRUE(type.Unseen().has_value());
        EXPECT_NE(type.Unseen()->find(L"refusing to run"), std::wstring::npos);
        EXPECT_FALSE(UserOrMachineKey(extension));
        EXPECT_FALSE(UserOrMachineKey(progId));
    }
    {
        const TestFileType type(extension, progId, command);
        EXPECT_FALSE(type.Refused());
        EXPECT_FALSE(type.Unseen().has_value()) << *type.Unseen();
        EXPECT_TRUE(ShownInClassesRoot(extension));
        EXPECT_TRUE(ShownInClassesRoot(progId + L"\\shell\\open\\command"));
    }
    EXPECT_FALSE(UserOrMachineKey(extension));
    EXPECT_FALSE(UserOrMachineKey(progId));
    EXPECT_FALSE(ShownInClassesRoot(extension));
}

}  // namespace
}  // namespace korvex::test
