#!/usr/bin/env bash
# Builds korvex.exe and writes the release a Windows user downloads:
#   dist/korvex-<version>-win64.zip  with  korvex.exe, Руководство.txt, adress.txt
# The version is the project version of CMakeLists.txt. The guide goes out as UTF-8 with a
# byte-order mark and CRLF line ends, so that Notepad shows it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target korvex

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
[ -n "$version" ] || { echo "package: no project version in build/windows/CMakeCache.txt" >&2; exit 1; }
zip=dist/korvex-$version-win64.zip
stage=build/package
rm -rf "$stage"
mkdir -p "$stage" dist

cp build/windows/src/main/korvex.exe "$stage/korvex.exe"
{ printf '\xEF\xBB\xBF'; sed 's/\r$//; s/$/\r/' release/Руководство.txt; } > "$stage/Руководство.txt"
cp release/adress.txt "$stage/adress.txt"

# Python's zip writer marks the Cyrillic name as UTF-8 (flag bit 11), which Windows' Explorer reads.
python3 - "$stage" "$zip" <<'PY'
import os, sys, zipfile
stage, target = sys.argv[1], sys.argv[2]
tmp = target + ".tmp"
with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
    for name in ("korvex.exe", "Руководство.txt", "adress.txt"):
        z.write(os.path.join(stage, name), name)
os.replace(tmp, target)
PY
echo "package: $zip"
