#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers, the image decoders, pasted clipboard text and
# automation clients' values with clang, AddressSanitizer and UBSan into build/fuzz, seeds their
# corpora with files our writer makes and
# runs each target for SECONDS (default 20; CI uses the default, a longer
# hunt passes more). A crash leaves its input in build/fuzz/artifacts.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
out=build/fuzz

cmake -S . -B "$out" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTALVERO_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo --log-level=WARNING
cmake --build "$out" -j "$(nproc)" --target files_load_native_fuzz files_body_reader_fuzz files_load_xml_fuzz \
  files_load_text_fuzz files_load_xbase_fuzz files_load_excel_xml_fuzz files_load_old_binary_fuzz files_sample_files \
  charts_decode_png_fuzz charts_decode_bmp_fuzz charts_decode_jpeg_fuzz charts_encode_sample_png \
  charts_write_sample_images app_pasted_text_fuzz automation_worksheet_value_fuzz

seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus/load_native" "$out/corpus/body_reader" "$out/corpus/load_xml" "$out/corpus/decode_png" \
  "$out/corpus/load_text" "$out/corpus/load_xbase" "$out/corpus/load_excel_xml" "$out/corpus/load_old_binary" \
  "$out/corpus/decode_bmp" "$out/corpus/decode_jpeg" "$out/corpus/pasted_text" "$out/corpus/worksheet_value" \
  "$out/artifacts"
"$out/tests/files/fuzz/files_sample_files" "$seeds" 10
# Native files are binary or XML: the loading target starts from both.
cp "$seeds"/*.tlv "$seeds"/*.xml tests/files/fuzz/xml_seeds/*.xml "$out/corpus/load_native/"
cp "$seeds"/*.body "$out/corpus/body_reader/"
cp tests/files/fuzz/xml_seeds/*.xml "$seeds"/*.xml "$out/corpus/load_xml/"
"$out/tests/charts/fuzz/charts_encode_sample_png" "$out/corpus/decode_png/sample.png"
cp resources/images/*.png "$out/corpus/decode_png/" 2>/dev/null || true
"$out/tests/charts/fuzz/charts_write_sample_images" "$seeds"
cp "$seeds/sample.bmp" resources/images/*.bmp "$out/corpus/decode_bmp/"
cp "$seeds/sample.jpg" "$out/corpus/decode_jpeg/"
# The interoperability files of the text and xBase formats, ours and other programs'.
cp tests/golden/exchange/*.csv tests/golden/exchange/*.txt "$out/corpus/load_text/"
cp tests/golden/exchange/*.dbf "$out/corpus/load_xbase/"
# Tables that are their own memo files, with memos ended by lone and paired 0x1A bytes.
cp tests/files/fuzz/xbase_seeds/*.dbf "$out/corpus/load_xbase/"
# Our Excel 2003 XML exports and LibreOffice's; files of the older binary format.
cp "$seeds"/*.xmlss tests/golden/excel_*.xml "$out/corpus/load_excel_xml/"
cp "$seeds"/*.old "$out/corpus/load_old_binary/"
# Pasted text: the text exchange files, whose fields a paste reads alike
# (two bytes choosing the paste's place before each); cell arguments.
for file in tests/golden/exchange/*.csv tests/golden/exchange/*.txt; do
  { printf '\000\001'; cat "$file"; } >"$out/corpus/pasted_text/$(basename "$file")"
done
printf '\001$B$3:$D$10\000text' >"$out/corpus/worksheet_value/a1"
printf '\002R3C2:R10C4\000=A1+1' >"$out/corpus/worksheet_value/r1c1"

# The loading target writes each input to a file of its own in /tmp.
trap 'rm -f /tmp/talvero-fuzz-*.tlv /tmp/talvero-fuzz-*.xml /tmp/talvero-fuzz-*.csv /tmp/talvero-fuzz-*.dbf \
  /tmp/talvero-fuzz-*.dbt /tmp/talvero-fuzz-*.fpt /tmp/talvero-fuzz-*.xmlss /tmp/talvero-fuzz-*.old \
  /tmp/talvero-fuzz-*.DBT /tmp/talvero-fuzz-*.FPT' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Each target runs on one core; as many run at once as there are cores, at
# most four (each may take 2.5 GB).
run_target() {
  local target=$1 binary=$out/tests/files/fuzz/files_$1_fuzz
  case $target in
    decode_*) binary=$out/tests/charts/fuzz/charts_${target}_fuzz ;;
    pasted_text) binary=$out/tests/app/fuzz/app_${target}_fuzz ;;
    worksheet_value) binary=$out/tests/automation/fuzz/automation_${target}_fuzz ;;
  esac
  if "$binary" -max_total_time="$seconds" -max_len=262144 \
      -rss_limit_mb=2560 -timeout=30 -print_final_stats=0 -artifact_prefix="$out/artifacts/${target}-" \
      "$out/corpus/$target" 2>"$out/${target}.log"; then
    echo "fuzz: $target for ${seconds}s: $(grep -E "^Done|DONE" "$out/${target}.log" | tail -1)"
  else
    echo "fuzz: $target failed"; tail -60 "$out/${target}.log"; return 1
  fi
}
failed=0
slots=$(nproc); [ "$slots" -le 4 ] || slots=4
running=0
for target in load_native body_reader load_xml load_text load_xbase load_excel_xml load_old_binary decode_png \
    decode_bmp decode_jpeg pasted_text worksheet_value; do
  if [ "$running" -ge "$slots" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
