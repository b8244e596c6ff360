#!/usr/bin/env python3
"""Writes quadratic_programs.txt: the optima of small quadratic programs,
computed exactly (rational arithmetic, python3 alone) by enumerating the
Karush-Kuhn-Tucker active sets, and the problems written out in full.

Every problem maximises p.x - x'Cx over x >= 0 subject to rows of A with a
type each (1 "<=", 0 "=", -1 ">="). C is symmetric positive definite (L'L
plus a positive diagonal), so the optimum is unique; the problems are
feasible by construction (b is A x0 for a random x0 >= 0, loosened by a
random margin for "<=" and ">=" rows; a ">=" row's b may be negative).
Degenerate problems repeat rows: a multiple of an earlier row with any
type, often holding at x0 with no margin, so that rows depend on each other
or meet only as an equality (x1 + 3 x2 <= 7 and x1 + 3 x2 >= 7).

For a strictly concave objective the optimum is the one point where some
set W of inequalities, taken as equalities together with the "=" rows,
gives a KKT point: the stationarity system
    2 C x + sum over active rows of lambda_i a_i = p
(">=" rows and bounds x_j >= 0 written as "<=" rows) solves with lambda_i
>= 0 for the inequalities of W, and x satisfies every row. Each W with at
most n rows is tried, exactly, until one passes; "=" rows that depend on
others are left out first.

Lines: "case m n", then "A" (row after row), "s", "b", "p", "C" (row after
row) and "x" (the optimum vector, 17 digits); inputs are small integers.
Run it by hand; the tests read only the text file it writes.
"""

import itertools
import os
import random
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "quadratic_programs.txt")
SEED = 20261207
COUNT = 100
DEGENERATE_COUNT = 200


def solve_linear(matrix, rhs):
    """Gaussian elimination over fractions; None when singular."""
    size = len(rhs)
    rows = [list(matrix[i]) + [rhs[i]] for i in range(size)]
    for col in range(size):
        pivot = next((r for r in range(col, size) if rows[r][col] != 0), None)
        if pivot is None:
            return None
        rows[col], rows[pivot] = rows[pivot], rows[col]
        for r in range(size):
            if r != col and rows[r][col] != 0:
                factor = rows[r][col] / rows[col][col]
                rows[r] = [rows[r][k] - factor * rows[col][k] for k in range(size + 1)]
    return [rows[i][size] / rows[i][i] for i in range(size)]


def rank(rows):
    """The rank of a list of rows, by exact elimination."""
    work = [list(r) for r in rows]
    found = 0
    for col in range(len(work[0]) if work else 0):
        pivot = next((r for r in range(found, len(work)) if work[r][col] != 0), None)
        if pivot is None:
            continue
        work[found], work[pivot] = work[pivot], work[found]
        for r in range(found + 1, len(work)):
            factor = work[r][col] / work[found][col]
            work[r] = [work[r][k] - factor * work[found][k] for k in range(len(work[r]))]
        found += 1
    return found


def kkt_optimum(a, s, b, p, c):
    """The unique maximiser of p.x - x'Cx subject to the rows and x >= 0."""
    n = len(p)
    equalities = []  # (row, rhs)
    inequalities = []  # (row, rhs) meaning row.x <= rhs
    for row, kind, rhs in zip(a, s, b):
        if kind == 0:
            # The problem is feasible, so a row that depends on the kept ones
            # says nothing new; keeping it would make every system singular.
            if rank([r for r, _ in equalities] + [row]) > len(equalities):
                equalities.append((row, rhs))
        elif kind == 1:
            inequalities.append((row, rhs))
        else:
            inequalities.append(([-v for v in row], -rhs))
    for j in range(n):
        inequalities.append(([Fraction(-1) if k == j else Fraction(0) for k in range(n)], Fraction(0)))
    hessian = [[c[i][j] + c[j][i] for j in range(n)] for i in range(n)]
    for size in range(0, n - len(equalities) + 1):
        for active in itertools.combinations(range(len(inequalities)), size):
            rows = [r for r, _ in equalities] + [inequalities[k][0] for k in active]
            rhs = [v for _, v in equalities] + [inequalities[k][1] for k in active]
            k = len(rows)
            matrix = [hessian[i] + [rows[r][i] for r in range(k)] for i in range(n)]
            matrix += [list(rows[r]) + [Fraction(0)] * k for r in range(k)]
            solution = solve_linear(matrix, list(p) + rhs)
            if solution is None:
                continue
            x, multipliers = solution[:n], solution[n:]
            if any(m < 0 for m in multipliers[len(equalities):]):
                continue
            if all(sum(r[i] * x[i] for i in range(n)) <= v for r, v in inequalities) and all(
                    sum(r[i] * x[i] for i in range(n)) == v for r, v in equalities):
                return x
    raise RuntimeError("no KKT point: the problem is infeasible")


def random_problem(rng):
    n = rng.randint(2, 4)
    m = rng.randint(1, 3)
    x0 = [rng.randint(0, 4) for _ in range(n)]
    a, s, b = [], [], []
    for _ in range(m):
        row = [rng.randint(-2, 5) for _ in range(n)]
        kind = rng.choice((1, 1, 0, -1))
        value = sum(r * v for r, v in zip(row, x0))
        if kind == 1:
            value += rng.randint(0, 6)
        elif kind == -1:
            value -= rng.randint(0, 6)
        a.append(row)
        s.append(kind)
        b.append(value)
    lower = [[rng.randint(-2, 2) for _ in range(n)] for _ in range(n)]
    c = [[sum(lower[k][i] * lower[k][j] for k in range(n)) + (rng.randint(1, 3) if i == j else 0)
          for j in range(n)] for i in range(n)]
    p = [rng.randint(-10, 30) for _ in range(n)]
    return a, s, b, p, c


def degenerate_problem(rng):
    a, s, b, p, c = random_problem(rng)
    n = len(p)
    x0 = [rng.randint(0, 4) for _ in range(n)]
    # b again from x0, tight for about half the rows, so that the repeats
    # below meet their originals.
    b = [sum(r * v for r, v in zip(row, x0)) + (kind * rng.randint(1, 6) if rng.random() < 0.5 else 0)
         for row, kind in zip(a, s)]
    for _ in range(rng.randint(1, 3)):
        k = rng.randrange(len(a))
        factor = rng.choice((1, 1, -1, 2, -3))
        kind = rng.choice((1, 0, -1))
        row = [factor * v for v in a[k]]
        value = sum(r * v for r, v in zip(row, x0))
        a.append(row)
        s.append(kind)
        b.append(value + (kind * rng.randint(1, 6) if rng.random() < 0.3 else 0))
    return a, s, b, p, c


def main():
    rng = random.Random(SEED)
    examples = [
        ([[1, 2], [1, 1]], [1, 1], [10, 9], [10, 25], [[10, 2], [2, 1]]),
        ([[1, 1]], [0], [5], [10, 25], [[10, 2], [2, 1]]),
        ([[1, 1]], [1], [100], [10, 25], [[10, 2], [2, 1]]),
    ]
    problems = examples + [random_problem(rng) for _ in range(COUNT)]
    problems.append(([[1, 3], [1, 3]], [1, -1], [7, 7], [-2, -3], [[3, 1], [1, 2]]))
    problems += [degenerate_problem(rng) for _ in range(DEGENERATE_COUNT)]
    with open(OUTPUT, "w") as out:
        for a, s, b, p, c in problems:
            exact = kkt_optimum([[Fraction(v) for v in row] for row in a], s, [Fraction(v) for v in b],
                                [Fraction(v) for v in p], [[Fraction(v) for v in row] for row in c])
            out.write("case %d %d\n" % (len(a), len(p)))
            out.write("A %s\n" % " ".join(str(v) for row in a for v in row))
            out.write("s %s\n" % " ".join(str(v) for v in s))
            out.write("b %s\n" % " ".join(str(v) for v in b))
            out.write("p %s\n" % " ".join(str(v) for v in p))
            out.write("C %s\n" % " ".join(str(v) for row in c for v in row))
            out.write("x %s\n" % " ".join("%.17g" % float(v) for v in exact))


if __name__ == "__main__":
    main()
