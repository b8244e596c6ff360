#!/usr/bin/env bash
# Builds and runs every test: the native build, the sanitizer build, the
# 32-bit Windows build under Wine, and a short run of the file readers'
# fuzzers. Usage: scripts/test.sh [preset...] (presets native, asan, win32, fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native asan fuzz win32)
jobs=$(nproc)

for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  if [ "$preset" = fuzz ]; then
    bash scripts/fuzz.sh 20
    continue
  fi
  cmake --preset "$preset" --log-level=WARNING
  cmake --build --preset "$preset" -j "$jobs"
  if [ "$preset" = win32 ]; then
    trap 'bash scripts/wine-prefix.sh build/win32/wineprefix stop' EXIT
    bash scripts/wine-prefix.sh build/win32/wineprefix
  fi
  ctest --preset "$preset" -j "$jobs"
done
