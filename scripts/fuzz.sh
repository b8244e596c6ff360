#!/usr/bin/env bash
# Builds the file readers' libFuzzer targets with clang, AddressSanitizer and
# UBSan into build/fuzz, seeds their corpora with files our writer makes and
# runs each target for SECONDS (default 20; CI uses the default, a longer
# hunt passes more). A crash leaves its input in build/fuzz/artifacts.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
out=build/fuzz

cmake -S . -B "$out" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTALVERO_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo --log-level=WARNING
cmake --build "$out" -j "$(nproc)" --target files_load_native_fuzz files_body_reader_fuzz files_sample_files

seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus/load_native" "$out/corpus/body_reader" "$out/artifacts"
"$out/tests/files/fuzz/files_sample_files" "$seeds" 10
cp "$seeds"/*.tlv "$out/corpus/load_native/"
cp "$seeds"/*.body "$out/corpus/body_reader/"

# The loading target writes each input to a file of its own in /tmp.
trap 'rm -f /tmp/talvero-fuzz-*.tlv' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in load_native body_reader; do
  echo "fuzz: $target for ${seconds}s"
  "$out/tests/files/fuzz/files_${target}_fuzz" -max_total_time="$seconds" -max_len=262144 \
    -rss_limit_mb=2560 -timeout=30 -print_final_stats=0 -artifact_prefix="$out/artifacts/${target}-" \
    "$out/corpus/$target" 2>"$out/${target}.log" || { tail -60 "$out/${target}.log"; exit 1; }
  grep -E "^Done|DONE" "$out/${target}.log" | tail -1 || true
done
