#pragma once
// Paths that name a device instead of a file. Windows opens a device for such a path wherever it
// stands, so a path like "C:\Drawings\CON" is never a drawing. Texts only: nothing touches the disk.

#include <string_view>

namespace korvex {

// Whether Windows takes the name (one segment of a path) for a device: CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, COM1-COM9 and LPT1-LPT9 (the digits 1, 2 and 3 also as the superscripts "¹²³"), in any
// letter case, also followed by an extension ("NUL.txt", "con.a.b"), by blanks before the
// extension ("NUL .txt"), by trailing dots and blanks ("AUX. "), or by a colon ("COM1:", "CON:x").
bool IsDeviceName(std::wstring_view name);

// Whether the path names a device: its last name is a device name (see IsDeviceName; a trailing
// "\" is ignored), or it lies in the device namespace: "\\.\" or "\\?\" (either with "/") followed
// by anything but a drive's path ("C:\…") or a server's ("UNC\…"), which covers "\\.\CON",
// "\\.\C:" (the volume itself), "\\.\PhysicalDrive0", pipes and "\\?\GLOBALROOT\…".
bool IsDevicePath(std::wstring_view path);

}  // namespace korvex
