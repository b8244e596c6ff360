#!/usr/bin/env python3
"""Times the matrix kernels (build/native/bench/matrix_bench) and numpy's
same operations on matrices of the same size, numpy held to one thread, and
prints each time and the ratio ours / numpy. Needs numpy (python3-numpy);
build the benchmark first: cmake --build --preset native --target matrix_bench.
"""

import json
import os
import subprocess
import sys
import time

for variable in ("OMP_NUM_THREADS", "OPENBLAS_NUM_THREADS", "MKL_NUM_THREADS", "BLIS_NUM_THREADS"):
    os.environ[variable] = "1"

try:
    import numpy as np
except ImportError:
    sys.exit("numpy not found: apt-get install python3-numpy, run with /usr/bin/python3")

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY = os.path.join(ROOT, "build", "native", "bench", "matrix_bench")


def best_of(operation, repeats):
    best = float("inf")
    for _ in range(repeats):
        start = time.perf_counter()
        operation()
        best = min(best, time.perf_counter() - start)
    return best * 1000.0


def numpy_times():
    rng = np.random.default_rng(1)
    times = {}
    for n in (200, 500):
        a = rng.uniform(-1, 1, (n, n))
        b = rng.uniform(-1, 1, (n, n))
        times["BM_MatrixMultiply/%d" % n] = best_of(lambda: a @ b, 10)
        times["BM_MatrixInverse/%d" % n] = best_of(lambda: np.linalg.inv(a), 10)
    a = rng.uniform(-1, 1, (200, 200))
    times["BM_SingularValueDecomposition/200"] = best_of(lambda: np.linalg.svd(a), 10)
    return times


def main():
    if not os.path.exists(BINARY):
        sys.exit("build the benchmark first: cmake --build --preset native --target matrix_bench")
    output = subprocess.run([BINARY, "--benchmark_format=json", "--benchmark_min_time=0.5"], check=True,
                            capture_output=True, text=True).stdout
    ours = {}
    for run in json.loads(output)["benchmarks"]:
        # real_time in the benchmark's unit, milliseconds here
        ours[run["name"]] = run["real_time"]
    theirs = numpy_times()
    print("%-36s %12s %12s %8s" % ("operation", "ours ms", "numpy ms", "ratio"))
    for name, ms in ours.items():
        reference = theirs.get(name)
        if reference:
            print("%-36s %12.3f %12.3f %8.2f" % (name, ms, reference, ms / reference))
    print("numpy %s, one thread" % np.__version__)


if __name__ == "__main__":
    main()
