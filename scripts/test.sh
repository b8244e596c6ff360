#!/usr/bin/env bash
# Builds and runs every test: the native build, the sanitizer build, a short
# run of the file readers' fuzzers, and the Windows build under Wine.
# Usage: scripts/test.sh [preset...] (presets native, asan, fuzz, windows,
# or win32 / win64 for one Windows build).
#
# windows is the build this machine runs (scripts/windows-tier.sh): the
# 32-bit program under 32-bit Wine where the kernel runs 32-bit code, else
# the same program built for 64-bit Windows under 64-bit Wine, while the
# 32-bit program is still built and linked. TALVERO_WINDOWS_TIER=win32 or
# win64 forces one.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/windows-tier.sh
echo "$windows_tier_line"
export TALVERO_WINDOWS_TIER=$windows_tier
bash scripts/setup.sh

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native asan fuzz windows)
jobs=$(nproc)

for preset in "${presets[@]}"; do
  [ "$preset" = windows ] && preset=$windows_tier
  echo "=== $preset ==="
  if [ "$preset" = fuzz ]; then
    bash scripts/fuzz.sh 20
    continue
  fi
  if [ "$preset" != "$windows_tier" ] && { [ "$preset" = win32 ] || [ "$preset" = win64 ]; }; then
    echo "test: this machine runs the $windows_tier build's tests; TALVERO_WINDOWS_TIER=$preset chooses the $preset build" >&2
    exit 2
  fi
  cmake --preset "$preset" --log-level=WARNING
  cmake --build --preset "$preset" -j "$jobs"
  if [ "$preset" = win64 ]; then
    # The program the 64-bit tests stand in for still builds and links.
    echo "=== win32 (the program, built only) ==="
    cmake --preset win32 --log-level=WARNING
    cmake --build --preset win32 -j "$jobs" --target talvero
  fi
  if [ "$preset" = win32 ] || [ "$preset" = win64 ]; then
    trap "bash scripts/wine-prefix.sh build/$preset/wineprefix stop" EXIT
    WINEARCH=$preset bash scripts/wine-prefix.sh "build/$preset/wineprefix"
  fi
  ctest --preset "$preset" -j "$jobs"
done
