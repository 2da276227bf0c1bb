#!/usr/bin/env bash
# Builds korvex-bench.exe and runs it under Wine: each line ends in our time over the raw
# platform work's time, measured in the same run. Pass a scenario name (P2, P5) to run one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target korvex-bench
. scripts/wine-env.sh
korvex_wine_prefix "$root/build/windows/wineprefix" null
korvex_wine_start
"$KORVEX_WINE" build/windows/bench/korvex-bench.exe "$@"
