#!/usr/bin/env python3
"""Times the import and export of one CSV file of 1,000,000 cells (100,000
rows of 10 fields, numbers and texts) by this program
(build/native/bench/text_files_bench) and by Gnumeric's ssconvert (package
gnumeric) side by side, and prints the times, the nanoseconds per cell and
the ratio ssconvert / ours. ssconvert reads the file and writes it again as
CSV; its start-up, timed on a one-line file, is taken off. Build the
benchmark first: cmake --build --preset native --target text_files_bench.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "text_files_bench")
ROWS = 100000
COLUMNS = 10


def write_sample(path):
    with open(path, "w", newline="") as out:
        for row in range(ROWS):
            fields = [repr(row * 0.25 + c * 1000.5) if c % 2 == 0 else f"item {row % 9973}-{c}"
                      for c in range(COLUMNS)]
            out.write(",".join(fields) + "\r\n")


def best_of(command, repeats):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        best = min(best, time.perf_counter() - start)
    return best


def ours(path):
    result = subprocess.run([BINARY, "--benchmark_format=json", "--benchmark_repetitions=3",
                             "--benchmark_report_aggregates_only=true"],
                            check=True, capture_output=True, text=True,
                            env=dict(os.environ, TALVERO_BENCH_CSV=path), cwd=os.path.dirname(path))
    # Medians of real time (milliseconds), as ssconvert's is measured.
    times = {entry["run_name"]: entry["real_time"] / 1000.0 for entry in json.loads(result.stdout)["benchmarks"]
             if entry.get("aggregate_name") == "median"}
    return times["BM_ImportCsv"], times["BM_ExportCsv"]


def main():
    if not shutil.which("ssconvert"):
        sys.exit("ssconvert not found: apt-get install gnumeric")
    if not os.path.exists(BINARY):
        sys.exit(f"{BINARY} not found: build the text_files_bench target first")
    with tempfile.TemporaryDirectory() as work:
        sample = os.path.join(work, "sample.csv")
        write_sample(sample)
        one_line = os.path.join(work, "one.csv")
        with open(one_line, "w") as out:
            out.write("1,a\r\n")
        import_time, export_time = ours(sample)
        startup = best_of(["ssconvert", one_line, os.path.join(work, "one_out.csv")], 3)
        gnumeric = best_of(["ssconvert", sample, os.path.join(work, "out.csv")], 3) - startup
    cells = ROWS * COLUMNS
    total = import_time + export_time
    print(f"ours:      import {import_time:.3f} s, export {export_time:.3f} s, "
          f"{total / cells * 1e9:.0f} ns per cell")
    print(f"ssconvert: import and export {gnumeric:.3f} s ({startup:.3f} s start-up taken off), "
          f"{gnumeric / cells * 1e9:.0f} ns per cell")
    print(f"ratio ssconvert / ours: {gnumeric / total:.1f}")


if __name__ == "__main__":
    main()
