#!/usr/bin/env python3
"""Writes matrices.txt: reference results of dense linear algebra computed
once by numpy (LAPACK), for matrices that the tests rebuild themselves.

Run it by hand with /usr/bin/python3 and the python3-numpy package; the
tests read only the text file it writes.

Every matrix comes from the program's own random generator (L'Ecuyer's
combination, restated below), started at s1 = seed and s2 = 654321; its
elements, row after row, are 2u - 1. The kinds:
  random   as drawn
  near     column n replaced by column 1 plus 1e-10 times column n: a
           condition number of about 1e10 or more
  graded   row i multiplied by GRADES[i mod 7]: row scales from 1e-3 to 1e3
  hilbert  1 / (i + j - 1), no draws
The right-hand side b (m x 1) is drawn after the matrix from the same
stream. Square cases give the solution of A x = b, the determinant and the
singular values; tall cases (m > n) give the least-squares solution and
the singular values.

Lines: "case kind m n seed", then "cond", "det" (square only), "sv" and "x",
each followed by its numbers written with 17 significant digits.
"""

import os
import sys

try:
    import numpy as np
except ImportError:
    sys.exit("numpy not found: apt-get install python3-numpy, run with /usr/bin/python3")

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "matrices.txt")
GRADES = [1e-3, 1e-2, 1e-1, 1.0, 1e1, 1e2, 1e3]

CASES = [
    ("random", 1, 1, 11), ("random", 2, 2, 12), ("random", 3, 3, 13), ("random", 5, 5, 14),
    ("random", 10, 10, 15), ("random", 50, 50, 16), ("random", 100, 100, 17), ("random", 200, 200, 18),
    ("near", 10, 10, 21), ("near", 50, 50, 22), ("near", 200, 200, 23),
    ("graded", 20, 20, 31), ("graded", 200, 200, 32),
    ("hilbert", 6, 6, 0), ("hilbert", 8, 8, 0), ("hilbert", 10, 10, 0),
    ("random", 30, 20, 41), ("random", 120, 100, 42), ("random", 250, 200, 43),
    ("near", 80, 60, 44),
]


class Stream:
    def __init__(self, seed):
        self.s1 = seed
        self.s2 = 654321

    def next(self):
        k = self.s1 // 53668
        self.s1 = 40014 * (self.s1 - k * 53668) - k * 12211
        if self.s1 < 0:
            self.s1 += 2147483563
        k = self.s2 // 52774
        self.s2 = 40692 * (self.s2 - k * 52774) - k * 3791
        if self.s2 < 0:
            self.s2 += 2147483399
        z = self.s1 - self.s2
        if z < 1:
            z += 2147483562
        return z / 2147483563.0


def build(kind, m, n, seed):
    stream = Stream(seed)
    a = np.zeros((m, n))
    if kind == "hilbert":
        for i in range(m):
            for j in range(n):
                a[i, j] = 1.0 / (i + j + 1)
    else:
        for i in range(m):
            for j in range(n):
                a[i, j] = 2.0 * stream.next() - 1.0
    if kind == "near":
        for i in range(m):
            a[i, n - 1] = a[i, 0] + 1e-10 * a[i, n - 1]
    if kind == "graded":
        for i in range(m):
            for j in range(n):
                a[i, j] = a[i, j] * GRADES[i % 7]
    b = np.array([2.0 * stream.next() - 1.0 for _ in range(m)])
    return a, b


def numbers(values):
    return " ".join("%.17g" % v for v in values)


def main():
    lines = []
    for kind, m, n, seed in CASES:
        a, b = build(kind, m, n, seed)
        sv = np.linalg.svd(a, compute_uv=False)
        lines.append("case %s %d %d %d" % (kind, m, n, seed))
        lines.append("cond " + numbers([sv[0] / sv[-1]]))
        if m == n:
            lines.append("det " + numbers([np.linalg.det(a)]))
            x = np.linalg.solve(a, b)
        else:
            x = np.linalg.lstsq(a, b, rcond=None)[0]
        lines.append("sv " + numbers(sv))
        lines.append("x " + numbers(x))
    with open(OUTPUT, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
