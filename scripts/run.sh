#!/usr/bin/env bash
# Builds Korvex and starts it under Wine with a demo set-up: the stand-in mail client registered
# as The Bat! with two mailboxes, and a sample adress.txt beside korvex.exe. The stand-in logs each
# "sent" file to build/windows/demo/fakebat-log.jsonl.
# Without a display it starts a virtual one (Xvfb :77); see the window with any VNC-less viewer by
# taking screenshots: DISPLAY=:77 import -window root shot.png
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target korvex fakebat

demo=$root/build/windows/demo
mkdir -p "$demo"
cp build/windows/src/main/korvex.exe build/windows/tools/fakebat.exe "$demo/"
if [ ! -f "$demo/adress.txt" ]; then
  printf '%s\r\n' '"Иван Петров" <ivan.petrov@example.ru>' 'Отдел главного конструктора <okb@example.ru>' \
    'drawings@example.com' > "$demo/adress.txt"
fi
mkdir -p "$demo/Чертежи"
for n in 1 2 3; do [ -f "$demo/Чертежи/лист-$n.dwg" ] || head -c $((n * 1536)) /dev/zero > "$demo/Чертежи/лист-$n.dwg"; done

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:77
  if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb :77 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  echo "run: no display was set; Korvex runs on the virtual display :77"
fi

. scripts/wine-env.sh
korvex_wine_prefix "$root/build/windows/demo-prefix" x11
fakebat_win=$("$KORVEX_WINE" winepath -w "$demo/fakebat.exe" 2>/dev/null | tr -d '\r')
reg=$demo/demo.reg
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\RIT\\The Bat!]\r\n"EXE path"="%s"\r\n\r\n' "${fakebat_win//\\/\\\\}"
  printf '[HKEY_CURRENT_USER\\Software\\RIT\\The Bat!\\Users depot]\r\n"User #0"="Работа"\r\n"User #1"="Дом"\r\n'
} | iconv -f UTF-8 -t UTF-16 > "$reg"
"$KORVEX_WINE" regedit /S "$(  "$KORVEX_WINE" winepath -w "$reg" 2>/dev/null | tr -d '\r')" </dev/null >/dev/null 2>&1
# The first start opens in the sample drawings; later starts where the user left off. The settings
# file is UTF-16, as Korvex itself makes it, so the Cyrillic folder name survives.
if [ ! -f "$demo/korvex.ini" ]; then
  drawings_win=$("$KORVEX_WINE" winepath -w "$demo/Чертежи" 2>/dev/null | tr -d '\r')
  printf '[Main]\r\nPath=%s\r\n' "$drawings_win" | iconv -f UTF-8 -t UTF-16 > "$demo/korvex.ini"
fi
echo "run: starting korvex.exe (close its window to end)"
"$KORVEX_WINE" "$demo/korvex.exe"
