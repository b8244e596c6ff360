#!/usr/bin/env python3
"""Times the Excel 2003 XML export and import of 1,000,000 cells
(build/native/bench/excel_xml_bench) and Gnumeric's ssconvert reading the
same file and writing it again, and prints the nanoseconds per cell of each
and the ratio ssconvert / ours. ssconvert cannot write this format; it
writes its own uncompressed XML, the nearest kind of file. Times are
processor times (user and system), so that other work on the machine
counts little; the best of REPEATS runs. Without ssconvert (apt-get install
gnumeric) only our times are printed. Build the benchmark first:
cmake --build --preset native --target excel_xml_bench.
"""

import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "excel_xml_bench")
CELLS = 1000000
REPEATS = 3


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def ssconvert_ns_per_cell(path, folder):
    out = os.path.join(folder, "copy.xml")
    best = float("inf")
    for _ in range(REPEATS):
        before = children_cpu()
        subprocess.run(["ssconvert", "-T", "Gnumeric_XmlIO:sax:0", path, out], check=True, capture_output=True)
        best = min(best, children_cpu() - before)
    return best * 1e9 / CELLS


def main():
    if not os.path.exists(BINARY):
        sys.exit("build the benchmark first: cmake --build --preset native --target excel_xml_bench")
    folder = tempfile.mkdtemp(prefix="excel_xml_bench_")
    try:
        result = subprocess.run([BINARY, "--benchmark_format=json"], cwd=folder, check=True, capture_output=True,
                                text=True)
        ours = {}
        for entry in json.loads(result.stdout)["benchmarks"]:
            ours[entry["name"].split("/")[0]] = entry["ns_per_cell"]
        export, imported = ours["BM_ExportExcelXml"], ours["BM_ImportExcelXml"]
        print("export %.0f ns/cell, import %.0f ns/cell, both %.0f ns/cell" % (export, imported, export + imported))
        if not shutil.which("ssconvert"):
            print("ssconvert not found: no comparison")
            return
        theirs = ssconvert_ns_per_cell(os.path.join(folder, "excel_xml_bench.xml"), folder)
        print("ssconvert reading and writing: %.0f ns/cell, ratio ssconvert / ours %.1f"
              % (theirs, theirs / (export + imported)))
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
