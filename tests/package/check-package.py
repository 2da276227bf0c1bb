#!/usr/bin/env python3
"""Checks the release zip that scripts/package.sh writes: the three files and nothing else, the
program byte for byte the one built, the guide readable in Notepad, the version in the zip's name."""
import re
import sys
import zipfile
from pathlib import Path

root = Path(__file__).resolve().parents[2]
cache = (root / "build/windows/CMakeCache.txt").read_text()
version = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", cache, re.M).group(1)
zip_path = root / "dist" / f"korvex-{version}-win64.zip"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


check(zip_path.is_file(), f"{zip_path} is missing")
if zip_path.is_file():
    with zipfile.ZipFile(zip_path) as z:
        check(z.testzip() is None, "a member of the zip is damaged")
        names = sorted(i.filename for i in z.infolist())
        check(names == sorted(["korvex.exe", "Руководство.txt", "adress.txt"]), f"members {names}")
        for info in z.infolist():
            if not info.filename.isascii():
                check(info.flag_bits & 0x800, f"{info.filename}: name not marked as UTF-8")
        built = (root / "build/windows/src/main/korvex.exe").read_bytes()
        if "korvex.exe" in names:
            exe = z.read("korvex.exe")
            check(exe == built, "korvex.exe in the zip is not the one built")
            check(f"FileVersion\0".encode("utf-16-le") in exe, "no version resource")
            check(version.encode("utf-16-le") in exe, f"version {version} not in the version resource")
        if "Руководство.txt" in names:
            guide = z.read("Руководство.txt")
            check(guide.startswith(b"\xef\xbb\xbf"), "guide: no UTF-8 byte-order mark")
            check(guide.count(b"\n") == guide.count(b"\r\n") and guide.count(b"\n") > 50, "guide: not CRLF throughout")
            check(b"\r\r" not in guide, "guide: doubled CR")
            text = guide[3:].decode("utf-8")
            for needed in ["korvex.exe", "adress.txt", "korvex.ini", "Korvex в меню «Отправить»", "Журнал",
                           "korvex-journal.csv", "прерванной отправки", "UTF-16", "1251", "The Bat!"]:
                check(needed in text, f"guide does not mention {needed}")
        if "adress.txt" in names:
            book = z.read("adress.txt").decode("utf-8")
            check(book.endswith("\r\n") and "@" in book, "adress.txt: not a CRLF address book")

if failures:
    print("package check failed:\n  " + "\n  ".join(failures))
    sys.exit(1)
print(f"package check: {zip_path.name} holds korvex.exe (as built, version {version}), Руководство.txt, adress.txt")
