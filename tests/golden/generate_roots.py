#!/usr/bin/env python3
"""Writes roots.csv: roots of worksheet formulas in one variable, found once
by plain bisection in Python (run until the midpoint equals an end of the
bracket), for ROOT's secant search to meet within 1e-12 relative.

Run it by hand with python3; the tests read only the file it writes.

Columns: the formula in display form with A1 as the variable, x0, x1, root
(17 digits). The formula is evaluated by the program itself; the Python
expression beside it here says the same.
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "roots.csv")

CASES = [
    ("=A1*A1+SIN(A1)-5", lambda x: x * x + math.sin(x) - 5, 0.0, 3.0),
    ("=A1*A1+SIN(A1)-5", lambda x: x * x + math.sin(x) - 5, -3.0, 0.0),
    ("=EXP(A1)-10*A1", lambda x: math.exp(x) - 10 * x, 0.0, 1.0),
    ("=EXP(A1)-10*A1", lambda x: math.exp(x) - 10 * x, 1.0, 5.0),
    ("=A1^3-2*A1-5", lambda x: x ** 3 - 2 * x - 5, 1.0, 3.0),
    ("=COS(A1)-A1", lambda x: math.cos(x) - x, 0.0, 1.0),
    ("=A1*A1-2e12", lambda x: x * x - 2e12, 1e6, 2e6),
    ("=LN(A1)-20", lambda x: math.log(x) - 20, 1e8, 1e9),
    ("=1/A1-0.001", lambda x: 1 / x - 0.001, 10.0, 1e4),
]


def bisect(f, a, b):
    fa = f(a)
    while True:
        m = 0.5 * (a + b)
        if m == a or m == b:
            return m
        fm = f(m)
        if fm == 0:
            return m
        if (fm < 0) == (fa < 0):
            a, fa = m, fm
        else:
            b = m


def main():
    with open(OUTPUT, "w") as out:
        for text, f, x0, x1 in CASES:
            out.write("%s,%r,%r,%.17g\n" % (text, x0, x1, bisect(f, x0, x1)))


if __name__ == "__main__":
    main()
