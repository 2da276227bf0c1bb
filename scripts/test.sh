#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under the sanitizers, a short run of
# each fuzz target, and the Windows build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh

echo "== native core with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native --output-on-failure

echo "== fuzz targets (clang libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  corpus="build/fuzz/corpus/$(basename "$target")"
  mkdir -p "$corpus"
  echo "-- $(basename "$target")"
  "$target" -max_total_time="${KORVEX_FUZZ_SECONDS:-20}" -print_final_stats=0 "$corpus" 2>&1 | tail -n 2
done

echo "== Windows build, tests under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows
. scripts/wine-env.sh
korvex_wine_prefix "$root/build/windows/wineprefix" null
korvex_wine_start
ctest --preset windows --output-on-failure -j "$(nproc)"

echo "== release zip"
scripts/package.sh
python3 tests/package/check-package.py
