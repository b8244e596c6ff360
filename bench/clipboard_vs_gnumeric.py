#!/usr/bin/env python3
"""Times the text paste of build/native/bench/clipboard_bench (100,000 rows by
10 columns pasted as typed cells) beside Gnumeric's import of the same text
as CSV, and prints both per cell with the ratio ours / Gnumeric's.

Gnumeric is timed through ssconvert (apt-get install gnumeric): the
processor time of converting the CSV to CSV, less that of a one-line CSV
(the program's start and end). Its export of the cells stays in, so
Gnumeric's figure is an upper bound of its import. Build the benchmark
first: cmake --build --preset native --target clipboard_bench.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "clipboard_bench")
CELLS = 100000 * 10


def processor_seconds(command):
    """User and system time of one run of a command, in seconds."""
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command))
    return usage.ru_utime + usage.ru_stime


def best_of(command, repeats):
    return min(processor_seconds(command) for _ in range(repeats))


def main():
    if not os.path.exists(BINARY):
        sys.exit("build the benchmark first: cmake --build --preset native --target clipboard_bench")
    if shutil.which("ssconvert") is None:
        sys.exit("ssconvert not found: apt-get install gnumeric")
    with tempfile.TemporaryDirectory() as folder:
        sample = os.path.join(folder, "sample.csv")
        tiny = os.path.join(folder, "tiny.csv")
        environment = dict(os.environ, TALVERO_SAMPLE_CSV=sample)
        output = subprocess.run([BINARY, "--benchmark_format=json"], env=environment, check=True,
                                capture_output=True, text=True).stdout
        counters = {}
        for run in json.loads(output)["benchmarks"]:
            if run["name"].startswith("BM_CopyAndPaste"):
                counters = run
        ours = counters["paste_text_ns_per_cell"]
        with open(sample, encoding="ascii") as text, open(tiny, "w", encoding="ascii") as first:
            first.write(text.readline())
        full = best_of(["ssconvert", sample, os.path.join(folder, "out.csv")], 3)
        start = best_of(["ssconvert", tiny, os.path.join(folder, "tiny_out.csv")], 3)
        gnumeric = (full - start) / CELLS * 1e9
    print("copy through the ring:   %8.1f ns per cell (with its text for the clipboard)"
          % counters["copy_ring_ns_per_cell"])
    print("paste from the ring:     %8.1f ns per cell" % counters["paste_ring_ns_per_cell"])
    print("copy as text:            %8.1f ns per cell" % counters["copy_text_ns_per_cell"])
    print("paste of text:           %8.1f ns per cell" % ours)
    print("Gnumeric's CSV import:   %8.1f ns per cell (with its export)" % gnumeric)
    print("ratio ours / Gnumeric:   %8.2f" % (ours / gnumeric))


if __name__ == "__main__":
    main()
