// The program carries the project's version in its version resource, where Explorer's
// properties show it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KorvexVersion.h"
#include "TestSupport.h"

namespace korvex::test {
namespace {

TEST(VersionResource, IsTheProjectVersion) {
    const std::wstring exe = ExeDir() + L"korvex.exe";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(KORVEX_VERSION_MINOR, KORVEX_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, KORVEX_VERSION_PATCH)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041904b0\\") + name;
        ASSERT_TRUE(VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ(text, KORVEX_VERSION_WTEXT) << key;
    }
}

}  // namespace
}  // namespace korvex::test
