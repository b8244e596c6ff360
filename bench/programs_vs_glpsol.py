#!/usr/bin/env python3
"""Times the LPROG and LPROGINT kernels (build/native/bench/programs_bench)
and glpsol on the same problems, which the benchmark writes as CPLEX LP
files, and prints each time, both optimum values and the ratio ours / glpsol.
glpsol's time is that of a whole run (start, reading the file, solving); the
time of a run on a one-variable problem is printed beside it. Without glpsol
(apt-get install glpk-utils) only our times are printed. Build the benchmark
first: cmake --build --preset native --target programs_bench.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "programs_bench")
FILES = {"BM_LProgDense100": "lprog_dense100.lp", "BM_LProgIntKnapsack30": "lprogint_knapsack30.lp"}
REPEATS = 10


def glpsol_run(glpsol, path, folder):
    """Best wall time in ms over REPEATS runs, and the optimum glpsol reports."""
    out = os.path.join(folder, "solution.txt")
    best = float("inf")
    for _ in range(REPEATS):
        start = time.perf_counter()
        subprocess.run([glpsol, "--lp", path, "-o", out], check=True, capture_output=True)
        best = min(best, time.perf_counter() - start)
    with open(out) as f:
        found = re.search(r"Objective:\s+\S+\s*=\s*(\S+)", f.read())
    return best * 1000.0, float(found.group(1)) if found else float("nan")


def main():
    if not os.path.exists(BINARY):
        sys.exit("build the benchmark first: cmake --build --preset native --target programs_bench")
    with tempfile.TemporaryDirectory() as folder:
        environment = dict(os.environ, TALVERO_BENCH_LP_DIR=folder)
        output = subprocess.run([BINARY, "--benchmark_format=json", "--benchmark_min_time=0.5"], check=True,
                                capture_output=True, text=True, env=environment).stdout
        ours = {run["name"]: (run["real_time"], run.get("objective")) for run in json.loads(output)["benchmarks"]}
        glpsol = shutil.which("glpsol")
        if not glpsol:
            print("glpsol not found (apt-get install glpk-utils): our times only")
            for name, (ms, objective) in ours.items():
                print("%-24s %10.3f ms  optimum %.10g" % (name, ms, objective))
            return
        tiny = os.path.join(folder, "tiny.lp")
        with open(tiny, "w") as f:
            f.write("Maximize\n obj: x1\nSubject To\n r1: x1 <= 1\nEnd\n")
        start_up, _ = glpsol_run(glpsol, tiny, folder)
        print("%-24s %10s %10s %8s %16s %16s" % ("problem", "ours ms", "glpsol ms", "ratio", "our optimum",
                                                 "glpsol optimum"))
        for name, (ms, objective) in ours.items():
            theirs, optimum = glpsol_run(glpsol, os.path.join(folder, FILES[name]), folder)
            print("%-24s %10.3f %10.3f %8.3f %16.10g %16.10g" % (name, ms, theirs, ms / theirs, objective, optimum))
        print("glpsol on a one-variable problem: %.3f ms (start-up and reading)" % start_up)
        print(subprocess.run([glpsol, "--version"], capture_output=True, text=True).stdout.splitlines()[0])


if __name__ == "__main__":
    main()
