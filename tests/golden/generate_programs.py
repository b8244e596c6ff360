#!/usr/bin/env python3
"""Writes programs.txt: optimum objective values of linear and mixed-integer
programs computed once by glpsol (GLPK, the glpk-utils package), for problems
written out in full in the file, so the tests need no generator of their own.

Run it by hand with python3 and glpsol on the path; the tests read only the
text file it writes.

Every problem maximises c.x over x >= 0 subject to rows of A with a type
each (1 "<=", 0 "=", -1 ">="). Random problems are feasible by construction
(b is A x0 for a random x0 >= 0, loosened by a random margin for "<=" and
">=" rows) and bounded (row 1 has positive coefficients only and type
"<="). Integer problems restrict the variables flagged 1. Chained problems
add rows x[j] >= g x[j - 1] (g up to 100) from a row x[1] >= x0[1] and
minimise the last variable, so that their optima are large against their
coefficients (the penalty of artificial variables derived from the
coefficients is then too small to decide feasibility).

Lines: "case kind m n" (kind lp or int), then "A" (row after row), "s",
"b", "c", "f" (integer problems) and "z", each followed by its numbers;
coefficients are written exactly (two decimals), z with 17 digits.
"""

import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "programs.txt")
SEED = 20261207

EXAMPLES = [
    ("lp", [[2, 1, 1], [1, 1, 3]], [1, 0], [5, 10], [4, 2, 2], None),
    ("int", [[2.5, 1.5, 1], [1, 1.5, 3]], [1, 0], [15, 10], [1, 1, 2], [1, 0, 1]),
]


def random_problem(rng, kind):
    if kind == "lp":
        m, n = rng.randint(1, 20), rng.randint(1, 30)
    else:
        m, n = rng.randint(1, 6), rng.randint(1, 8)
    a = [[round(rng.uniform(0.5, 10), 2) for _ in range(n)]]
    for _ in range(m - 1):
        a.append([round(rng.uniform(-5, 10), 2) if rng.random() < 0.7 else 0.0 for _ in range(n)])
    x0 = [round(rng.uniform(0, 3), 2) for _ in range(n)]
    s, b = [1], []
    for i in range(1, m):
        s.append(rng.choice([1, 1, 0, -1]) if kind == "lp" else rng.choice([1, 1, -1]))
    for i in range(m):
        ax = sum(a[i][j] * x0[j] for j in range(n))
        margin = round(rng.uniform(0, 5), 2)
        b.append(round(ax + margin if s[i] > 0 else (ax - margin if s[i] < 0 else ax), 6))
    c = [round(rng.uniform(-5, 10), 2) for _ in range(n)]
    f = [rng.choice([0, 1]) for _ in range(n)] if kind == "int" else None
    if kind == "int":
        # "<=" rows with b >= 0 keep x = 0, an integral point, feasible.
        s = [1] * m
        b = [round(sum(a[i][j] * x0[j] for j in range(n)) + rng.uniform(0, 5), 2) for i in range(m)]
        for i in range(m):
            b[i] = max(b[i], 0.0)
    return (kind, a, s, b, c, f)


LARGE_SOLUTION_EXAMPLES = [
    ("lp", [[1, 0, 0], [100, -1, 0], [0, 100, -1]], [-1, 1, 1], [1, 0, 0], [0, 0, -1], None),
    ("int", [[1, 0, 0], [100, -1, 0], [0, 100, -1]], [-1, 1, 1], [1, 0, 0], [0, 0, -1], [1, 1, 1]),
]


def chained_problem(rng, kind):
    n = rng.randint(2, 5 if kind == "lp" else 4)
    growth = [0] + [rng.randint(1, 10 if kind == "lp" else 3) * 10 if rng.random() < 0.75 else 0
                    for _ in range(n - 1)]
    x0 = [rng.randint(1, 3)]
    for j in range(1, n):
        x0.append(growth[j] * x0[j - 1] + rng.randint(0, 3))
    a, s = [[1] * n, [1] + [0] * (n - 1)], [1, -1]
    for j in range(1, n):
        if growth[j]:
            row = [0] * n
            row[j - 1], row[j] = -growth[j], 1
            a.append(row)
            s.append(-1)
    for _ in range(rng.randint(0, 3)):
        a.append([rng.choice((-1, 1)) * rng.randint(1, 9) * 10 ** rng.randint(0, 1) if rng.random() < 0.67 else 0
                  for _ in range(n)])
        s.append(rng.choice((-1, 0, 1)) if kind == "lp" else rng.choice((-1, 1)))
    # x[1] >= x0[1] holds with equality; the other rows have a margin.
    b = [sum(r * v for r, v in zip(row, x0)) + (0 if i == 1 else kind_sign * rng.randint(0, 5))
         for i, (row, kind_sign) in enumerate(zip(a, s))]
    c = [rng.choice((-1, 1)) * rng.randint(1, 9) * 10 ** rng.randint(0, 2) for _ in range(n - 1)]
    c.append(-rng.randint(1, 9) * 100)
    f = [1] * n if kind == "int" else None
    return (kind, a, s, b, c, f)


def terms(coefficients):
    return " ".join("%s %r x%d" % ("-" if v < 0 else "+", abs(float(v)), j + 1) for j, v in enumerate(coefficients))


def write_lp(path, problem):
    kind, a, s, b, c, f = problem
    n = len(c)
    with open(path, "w") as out:
        out.write("Maximize\n obj: " + terms(c) + "\n")
        out.write("Subject To\n")
        for i, row in enumerate(a):
            sense = "<=" if s[i] > 0 else (">=" if s[i] < 0 else "=")
            out.write(" r%d: %s %s %r\n" % (i + 1, terms(row), sense,
                                            b[i]))
        if f and any(f):
            out.write("General\n " + " ".join("x%d" % (j + 1) for j in range(n) if f[j]) + "\n")
        out.write("End\n")


def solve(problem):
    with tempfile.TemporaryDirectory() as work:
        lp, sol = os.path.join(work, "p.lp"), os.path.join(work, "p.sol")
        write_lp(lp, problem)
        subprocess.run(["glpsol", "--lp", lp, "-w", sol], check=True, stdout=subprocess.DEVNULL)
        for line in open(sol):
            parts = line.split()
            if parts and parts[0] == "s":
                # "s bas m n pst dst obj" or "s mip m n stat obj"
                status = parts[4]
                if status not in ("f", "o"):
                    return None
                return float(parts[-1])
    return None


def main():
    rng = random.Random(SEED)
    problems = list(EXAMPLES)
    problems += [random_problem(rng, "lp") for _ in range(100)]
    problems += [random_problem(rng, "int") for _ in range(30)]
    problems += LARGE_SOLUTION_EXAMPLES
    problems += [chained_problem(rng, "lp") for _ in range(40)]
    problems += [chained_problem(rng, "int") for _ in range(20)]
    with open(OUTPUT, "w") as out:
        for problem in problems:
            z = solve(problem)
            if z is None:
                continue
            kind, a, s, b, c, f = problem
            out.write("case %s %d %d\n" % (kind, len(a), len(c)))
            out.write("A " + " ".join(repr(float(v)) for row in a for v in row) + "\n")
            out.write("s " + " ".join(str(v) for v in s) + "\n")
            out.write("b " + " ".join(repr(float(v)) for v in b) + "\n")
            out.write("c " + " ".join(repr(float(v)) for v in c) + "\n")
            if f is not None:
                out.write("f " + " ".join(str(v) for v in f) + "\n")
            out.write("z %.17g\n" % z)


if __name__ == "__main__":
    sys.exit(main())
