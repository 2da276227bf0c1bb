#include "TestFileType.h"

#include <windows.h>

#include "TestPrefixGuard.h"
#include "TestSupport.h"
#include "UniqueResource.h"

namespace korvex::test {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes\\";

bool SetDefault(HKEY root, const std::wstring& path, const std::wstring& value) {
    return WriteRegistryText(root, path, L"", value);
}

void DeleteKey(HKEY root, const std::wstring& path) {
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

bool Register(HKEY root, const std::wstring& extension, const std::wstring& progId, const std::wstring& command) {
    return SetDefault(root, kClasses + extension, progId) &&
           SetDefault(root, kClasses + progId + L"\\shell\\open\\command", command);
}

void Unregister(HKEY root, const std::wstring& extension, const std::wstring& progId) {
    DeleteKey(root, kClasses + extension);
    DeleteKey(root, kClasses + progId);
}

}  // namespace

bool ShownInClassesRoot(const std::wstring& key) {
    HKEY seen = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &seen) != ERROR_SUCCESS) return false;
    RegCloseKey(seen);
    return true;
}

TestFileType::TestFileType(std::wstring extension, std::wstring progId, const std::wstring& openCommand)
    : extension_(std::move(extension)), progId_(std::move(progId)) {
    if (auto refusal = NotInOwnTestPrefix(L"this test registers the file type " + extension_ +
                                          L" (for every user where the shell shows no user's own types)")) {
        unseen_ = std::move(refusal);
        refused_ = true;
        return;
    }
    userWide_ = true;
    if (!Register(HKEY_CURRENT_USER, extension_, progId_, openCommand)) {
        unseen_ = L"the file type " + extension_ + L" could not be written under HKCU\\Software\\Classes";
        return;
    }
    if (ShownInClassesRoot(extension_)) return;
    machineWide_ = true;
    if (!Register(HKEY_LOCAL_MACHINE, extension_, progId_, openCommand)) {
        unseen_ = L"HKEY_CLASSES_ROOT does not show the user's own file types, and " + extension_ +
                  L" could not be written under HKLM\\Software\\Classes";
        return;
    }
    if (!ShownInClassesRoot(extension_))
        unseen_ = L"HKEY_CLASSES_ROOT shows neither HKCU's nor HKLM's entry for " + extension_;
}

TestFileType::~TestFileType() {
    if (machineWide_) Unregister(HKEY_LOCAL_MACHINE, extension_, progId_);
    if (userWide_) Unregister(HKEY_CURRENT_USER, extension_, progId_);
}

}  // namespace korvex::test
