#!/usr/bin/env python3
"""Times a full recalculation by this program (build/native/bench/recalc_bench)
and by Gnumeric (ssconvert, package gnumeric) on the same workbooks, and
prints the nanoseconds per formula of each and the ratio ours / Gnumeric's.

The benchmark types both of its workloads (arithmetic, every function
family) at the sizes given (rows, default 100000), recalculates them and
saves each as an Excel 2003 XML file. Gnumeric already calculates a workbook
as it loads it; ssconvert's --recalc then recalculates every cell once more,
so Gnumeric's recalculation is its time with --recalc less its time without
(both writing Gnumeric's own XML, which needs no values). Times are processor
times (user and system) of the child, the best of REPEATS runs each, so that
other work on the machine counts little. Gnumeric lacks some of the
functions of the families workload (ROOT, MTXT, UNIQUE and more): it answers
#NAME? there, which costs it less than the work they stand for. Build the
benchmark first: cmake --build --preset native --target recalc_bench.

Usage: bench/recalc_vs_ssconvert.py [ROWS ...]
"""

import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "recalc_bench")
REPEATS = 5
WORKLOADS = {"BM_TypedWorkbookRecalc": ("arithmetic", 10), "BM_FunctionFamiliesRecalc": ("families", 15)}


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def best_cpu(command):
    best = float("inf")
    for _ in range(REPEATS):
        before = children_cpu()
        subprocess.run(command, check=True, capture_output=True)
        best = min(best, children_cpu() - before)
    return best


def gnumeric_recalc_seconds(path, folder):
    out = os.path.join(folder, "copy.gnumeric")
    plain = best_cpu(["ssconvert", "-T", "Gnumeric_XmlIO:sax:0", path, out])
    again = best_cpu(["ssconvert", "--recalc", "-T", "Gnumeric_XmlIO:sax:0", path, out])
    return again - plain, plain


def main():
    rows = [int(arg) for arg in sys.argv[1:]] or [100000]
    if not os.path.exists(BINARY):
        sys.exit("build the benchmark first: cmake --build --preset native --target recalc_bench")
    folder = tempfile.mkdtemp(prefix="recalc_bench_")
    try:
        env = dict(os.environ, TALVERO_RECALC_ROWS=",".join(map(str, rows)), TALVERO_RECALC_SAVE_DIR=folder)
        pattern = "/(" + "|".join(map(str, rows)) + ")/"
        result = subprocess.run([BINARY, "--benchmark_format=json", "--benchmark_filter=" + pattern], env=env,
                                cwd=folder, check=True, capture_output=True, text=True)
        ours = {}
        for entry in json.loads(result.stdout)["benchmarks"]:
            name, size = entry["name"].split("/")[:2]
            ours[(name, int(size))] = entry
        have_gnumeric = shutil.which("ssconvert") is not None
        if not have_gnumeric:
            print("ssconvert not found (apt-get install gnumeric): our figures only")
        for (name, size), entry in sorted(ours.items()):
            workload, formula_columns = WORKLOADS[name]
            formulas = size * formula_columns
            mine = entry["recalc_ns_per_formula"]
            line = "%-10s %8d rows: ours %6.0f ns/formula, entry %5.0f ns/cell, %5.1f bytes/cell" % (
                workload, size, mine, entry["entry_ns_per_cell"], entry["bytes_per_cell"])
            if have_gnumeric:
                seconds, plain = gnumeric_recalc_seconds(os.path.join(folder, "%s_%d.xml" % (workload, size)), folder)
                theirs = seconds * 1e9 / formulas
                line += "; Gnumeric %6.0f ns/formula (load and save %.1f s), ratio ours / Gnumeric %.2f" % (
                    theirs, plain, mine / theirs if theirs > 0 else float("nan"))
            print(line, flush=True)
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
