#!/usr/bin/env bash
# Sourced by the other scripts: the Wine of the tests and the demo, in a prefix of our own.
#   korvex_wine_prefix DIR [null|x11]   creates the prefix once and chooses its graphics driver
#   korvex_wine_start                   starts a persistent wineserver (ended on exit)

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
export KORVEX_WINE=/usr/lib/wine/wine64
export KORVEX_WINESERVER=/usr/lib/wine/wineserver

korvex_wine_prefix() {
  local dir=$1 driver=${2:-null}
  export WINEPREFIX=$dir
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: creating the prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$KORVEX_WINE" wineboot --init </dev/null >/dev/null 2>&1
    "$KORVEX_WINESERVER" -w
  fi
  korvex_mark_prefix
  local want
  if [ "$driver" = null ]; then want=null; else want=x11; fi
  if [ "$(cat "$WINEPREFIX/.korvex-driver" 2>/dev/null)" != "$want" ]; then
    "$KORVEX_WINESERVER" -k 2>/dev/null || true
    if [ "$want" = null ]; then
      "$KORVEX_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    else
      "$KORVEX_WINE" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f </dev/null >/dev/null 2>&1 || true
      # Without a window manager, hiding a managed window waits two seconds.
      "$KORVEX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    fi
    "$KORVEX_WINESERVER" -w
    echo "$want" > "$WINEPREFIX/.korvex-driver"
  fi
}

# Marks the prefix as the build's own: a random token in "$WINEPREFIX/.korvex-test-prefix" and the
# same token in HKCU\Software\KorvexTests, value Prefix. Tests that change keys of other programs
# (the mail client's) check both and refuse to run anywhere else. A prefix made before the marker
# existed gets it at its next use here.
korvex_mark_prefix() {
  local marker="$WINEPREFIX/.korvex-test-prefix" token
  [ -s "$marker" ] && grep -q '"Prefix"="'"$(cat "$marker")"'"' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  token=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  "$KORVEX_WINE" reg add 'HKCU\Software\KorvexTests' /v Prefix /d "$token" /f </dev/null >/dev/null 2>&1
  echo "$token" > "$marker"
}

korvex_wine_start() {
  # The server must not inherit our pipes, or a pipeline reading our output never ends.
  "$KORVEX_WINESERVER" -p </dev/null >/dev/null 2>&1
  "$KORVEX_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap 'korvex_wine_stop' EXIT
}

korvex_wine_stop() {
  "$KORVEX_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
}
