#pragma once
// A file type of a test's own: ".ext" → ProgID → shell\open\command, removed again at the end
// (also when the test fails). It is written under HKCU\Software\Classes. Wine 8 shows the shell
// only HKLM\Software\Classes through HKEY_CLASSES_ROOT, so where the user's own entry does not
// show there, the type is written under HKLM\Software\Classes as well — and only in the build's
// own marked prefix (TestPrefixGuard.h). Outside it nothing at all is written.

#include <optional>
#include <string>

namespace korvex::test {

class TestFileType {
public:
    // extension with its dot (".kip123"); command as the shell runs it ("\"c:\\x.exe\" \"%1\"").
    TestFileType(std::wstring extension, std::wstring progId, const std::wstring& openCommand);
    ~TestFileType();
    TestFileType(const TestFileType&) = delete;
    TestFileType& operator=(const TestFileType&) = delete;

    // Nothing when the shell sees the type through HKEY_CLASSES_ROOT; otherwise why it does not
    // (outside the marked prefix: the refusal). A test skips with this text.
    const std::optional<std::wstring>& Unseen() const { return unseen_; }
    // Outside the marked prefix: nothing was written, and Unseen() says why. A test skips then;
    // inside it, an unseen type is a failure.
    bool Refused() const { return refused_; }
    // Whether the type had to be written for every user too.
    bool MachineWide() const { return machineWide_; }

private:
    std::wstring extension_, progId_;
    bool userWide_ = false;
    bool machineWide_ = false;
    bool refused_ = false;
    std::optional<std::wstring> unseen_;
};

// True when HKEY_CLASSES_ROOT has the key (".ext", a ProgID).
bool ShownInClassesRoot(const std::wstring& key);

}  // namespace korvex::test
