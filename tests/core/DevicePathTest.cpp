#include <gtest/gtest.h>

#include "DevicePath.h"
#include "SendDispatch.h"

using namespace korvex;

namespace {

struct Case {
    std::wstring_view text;
    bool device;
};

}  // namespace

TEST(DevicePath, NamesWindowsTakesForDevices) {
    const Case cases[] = {
        {L"CON", true},
        {L"con", true},
        {L"Prn", true},
        {L"AUX", true},
        {L"NUL", true},
        {L"CONIN$", true},
        {L"conout$", true},
        {L"COM1", true},
        {L"com9", true},
        {L"LPT1", true},
        {L"lpt9", true},
        {L"COM\u00B9", true},
        {L"LPT\u00B2", true},
        {L"com\u00B3", true},
        {L"NUL.txt", true},
        {L"nul.tar.gz", true},
        {L"CON .txt", true},
        {L"AUX.", true},
        {L"PRN. . ", true},
        {L"NUL   ", true},
        {L"COM1:", true},
        {L"CON:stream", true},
        {L"LPT3.dwg", true},
        // Near misses are files.
        {L"", false},
        {L"CO", false},
        {L"CONS", false},
        {L"CON1", false},
        {L"NULL", false},
        {L"COM", false},
        {L"COM0", false},
        {L"LPT0", false},
        {L"COM10", false},
        {L"LPT\u00B9\u00B9", false},
        {L"COM\u2074", false},
        {L"COM\uFF11", false},
        {L" CON", false},
        {L"_NUL.txt", false},
        {L"x.CON", false},
        {L"a.nul.txt", false},
        {L"CLOCK$", false},
        {L"f:CON", false},
        {L"CONIN", false},
        {L"ЛПТ1", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDeviceName(c.text), c.device) << std::wstring(c.text);
}

TEST(DevicePath, PathsOfDevices) {
    const Case cases[] = {
        // A device name at the end of any path: the system opens the device, wherever it stands.
        {L"C:\\kxt\\CON", true},
        {L"C:\\NUL", true},
        {L"C:/kxt/aux.dwg", true},
        {L"\\\\srv\\share\\lpt1", true},
        {L"C:\\kxt\\CON\\", true},
        {L"C:CON", true},
        {L"nul", true},
        {L"..\\COM\u00B2.txt", true},
        {L"\\\\?\\C:\\kxt\\CON", true},
        // The device namespace, but for a drive's or a server's files.
        {L"\\\\.\\CON", true},
        {L"\\\\.\\C:", true},
        {L"\\\\?\\C:", true},
        {L"\\\\.\\PhysicalDrive0", true},
        {L"\\\\.\\pipe\\korvex", true},
        {L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\a.dwg", true},
        {L"\\\\.\\GLOBALROOT\\Device\\Null", true},
        {L"//./COM1", true},
        {L"\\\\.\\", true},
        {L"\\\\?\\Volume{12345678-0000-0000-0000-000000000000}\\a.dwg", true},
        // Files.
        {L"C:\\kxt\\f03.dwg", false},
        {L"\\\\.\\C:\\kxt\\f03.dwg", false},
        {L"\\\\?\\C:\\kxt\\f03.dwg", false},
        {L"\\\\?\\UNC\\srv\\share\\f03.dwg", false},
        {L"\\\\.\\unc\\srv\\share\\f03.dwg", false},
        {L"//./c:/kxt/f03.dwg", false},
        {L"C:\\CON\\f03.dwg", false},
        {L"C:\\kxt\\f03.dwg:CON", false},
        {L"C:\\kxt\\CONSOLE.dwg", false},
        {L"C:\\kxt\\COM0", false},
        {L"\\\\srv\\share", false},
        {L"C:", false},
        {L"C:\\", false},
        {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDevicePath(c.text), c.device) << std::wstring(c.text);
}

// The send's last look before the client is started: a device reports as there (Windows answers
// for "C:\NUL" as for a file), and is still never handed to the client.
TEST(DevicePath, TheSendCountsADeviceAsMissingWhateverTheDiskSays) {
    std::vector<SendListEntry> entries(3);
    entries[0].folder = L"C:\\kxt\\", entries[0].fileName = L"a.dwg";
    entries[1].folder = L"C:\\kxt\\", entries[1].fileName = L"NUL.dwg";
    entries[2].folder = L"\\\\.\\", entries[2].fileName = L"CON";
    const auto missing = FindMissingFiles(entries, [](std::wstring_view) { return true; });
    EXPECT_EQ(missing, (std::vector<std::size_t>{1, 2}));
}
