#!/usr/bin/env python3
"""Writes math.csv: reference results of the mathematical functions,
computed once by Python's math and fractions modules. Run it by hand after
changing the cases; the tests read only the CSV it writes.

Arguments are written with at most 10 significant digits, so that a formula
keeps them exactly. Where this program's definition is exact (rounding,
remainders, signs, small products) the expected value is the exact result
rounded once, and the test compares exactly; elsewhere the tolerance is
relative: 1e-15 for one call of the runtime library, more for products of
many factors, whose roundings add up.

Rows of the CSV: formula, type (number or error), value, relative tolerance.
"""

import csv
import math
import os
import random
from fractions import Fraction

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "math.csv")
SEED = 20261207
ULP = 2.3e-16

rng = random.Random(SEED)
rows = []


def num(x):
    """A short decimal that the formula reader keeps exactly."""
    return float("%.10g" % x)


def text(x):
    return "%.10g" % x


def add(formula, value, tolerance=1e-15):
    if isinstance(value, str):
        rows.append([formula, "error", value, "0"])
    else:
        rows.append([formula, "number", repr(float(value)), repr(tolerance)])


def uniform(lo, hi):
    return num(rng.uniform(lo, hi))


def one(name, fn, inputs, tolerance=1e-15):
    for x in inputs:
        try:
            value = fn(x)
        except (ValueError, OverflowError):
            value = "#NUM!"
        add("=%s(%s)" % (name, text(x)), value, tolerance)


# Functions of one number through the runtime library.
spread = [uniform(-20, 20) for _ in range(12)]
unit = [uniform(-1, 1) for _ in range(10)] + [1.0, -1.0, 0.0]
one("ABS", abs, spread, 0)
one("SIGN", lambda x: (x > 0) - (x < 0), spread + [0.0], 0)
one("INT", math.floor, spread, 0)
one("SIN", math.sin, spread)
one("COS", math.cos, spread)
one("TAN", math.tan, spread)
one("ATAN", math.atan, spread)
one("ASIN", math.asin, unit)
one("ACOS", math.acos, unit)
one("ATANH", lambda x: math.atanh(x) if abs(x) < 1 else "#NUM!", unit)
one("SINH", math.sinh, spread)
one("COSH", math.cosh, spread)
one("TANH", math.tanh, spread)
one("ASINH", math.asinh, spread + [num(-1e8), 1e-10, -3e-7])
one("ACOSH", math.acosh, [uniform(1, 50) for _ in range(8)] + [1.0000001, 1.0])
one("EXP", math.exp, spread + [700.0, -700.0])
positive = [uniform(0, 1000) for _ in range(10)] + [1e-7, 1.0]
one("LN", math.log, positive)
one("LOG10", math.log10, positive)
one("SQRT", math.sqrt, positive + [0.0])
one("SQRTPI", lambda x: math.sqrt(x * math.pi), positive)
one("DEGREES", math.degrees, spread, 5e-16)
one("RADIANS", math.radians, [uniform(-720, 720) for _ in range(8)], 5e-16)

# Logarithms in any base, powers and two-argument angles.
for _ in range(10):
    x, base = uniform(0, 1000), uniform(0, 20)
    add("=LOG(%s,%s)" % (text(x), text(base)), math.log(x) / math.log(base), 2e-15)
for x, base in [(8, 0.5), (0.125, 2), (1000, 10), (81, 3), (1e-6, 0.1)]:
    add("=LOG(%s,%s)" % (text(x), text(base)), math.log(x) / math.log(base), 2e-15)
for _ in range(10):
    x, y = uniform(0, 50), uniform(-10, 10)
    add("=POWER(%s,%s)" % (text(x), text(y)), math.pow(x, y), 1e-15)
for x, y in [(-8, 3), (-2, -3), (2, 0.5), (10, -2), (-8, 1 / 3)]:
    try:
        value = math.pow(num(x), num(y))
    except ValueError:
        value = "#NUM!"
    add("=POWER(%s,%s)" % (text(x), text(num(y))), value)
for _ in range(10):
    a, b = uniform(-10, 10), uniform(-10, 10)
    add("=ATAN2(%s,%s)" % (text(a), text(b)), math.atan2(a, b))

# Remainders and quotients: the remainder with the sign of x is exact.
for _ in range(12):
    x, y = uniform(-100, 100), uniform(-12, 12)
    add("=MOD(%s,%s)" % (text(x), text(y)), math.fmod(x, y), 0)
    add("=QUOTIENT(%s,%s)" % (text(x), text(y)), math.trunc(x / y), 0)

# Factorials and combinations against exact integers.
for n in [0, 1, 5, 18, 20, 50, 100, 170]:
    add("=FACT(%d)" % n, math.factorial(n), 0 if n <= 18 else n * ULP)
for n in [0, 1, 7, 8, 30, 101, 170]:
    exact = math.prod(range(n, 0, -2))
    add("=FACTDOUBLE(%d)" % n, exact, 0 if exact < 2**53 else n * ULP)
for n, k in [(5, 0), (5, 2), (30, 15), (60, 30), (100, 3), (170, 85), (170, 170), (3, 5)]:
    value = math.comb(n, k) if k <= n else "#NUM!"
    add("=COMBIN(%d,%d)" % (n, k), value, 2 * k * ULP)
for n, k in [(3, 2), (2, 3), (1, 9), (10, 0), (10, 10), (40, 25), (100, 60)]:
    add("=COMBIN2(%d,%d)" % (n, k), math.comb(n + k - 1, k), 2 * k * ULP)


def round_digits(x, digits, mode):
    """x rounded to digits decimal places exactly, by magnitude."""
    exact = abs(Fraction(x)) * Fraction(10) ** digits
    whole = math.floor(exact)
    rest = exact - whole
    if mode == "half" and rest >= Fraction(1, 2) or mode == "up" and rest > 0:
        whole += 1
    result = Fraction(whole) / Fraction(10) ** digits
    return float(result) * (-1 if x < 0 else 1)


def far_from_ties(x, digits):
    rest = abs(Fraction(x)) * Fraction(10) ** digits % 1
    return abs(rest - Fraction(1, 2)) > Fraction(1, 10**6) and rest > Fraction(1, 10**6)


cases = 0
while cases < 24:
    x, digits = num(rng.uniform(-5000, 5000)), rng.randint(-3, 4)
    if not far_from_ties(x, digits):
        continue
    cases += 1
    for name, mode in [("ROUND", "half"), ("ROUNDUP", "up"), ("ROUNDDOWN", "down")]:
        add("=%s(%s,%d)" % (name, text(x), digits), round_digits(x, digits, mode), 0)
for x, digits in [(2.5, 0), (-2.5, 0), (1250, -2), (0.125, 2), (-0.125, 2)]:
    add("=ROUND(%s,%d)" % (text(x), digits), round_digits(x, digits, "half"), 0)


def multiples(x, m):
    q = Fraction(abs(x)) / Fraction(m)
    return math.floor(q), math.ceil(q)


for _ in range(10):
    x, m = uniform(-100, 100), rng.choice([0.25, 0.5, 1, 2, 3, 5])
    low, high = multiples(x, m)
    sign = -1 if x < 0 else 1
    add("=CEILING(%s,%s)" % (text(x), text(m)), sign * high * m, 0)
    add("=FLOOR(%s,%s)" % (text(x), text(m)), sign * low * m, 0)
for _ in range(10):
    x, m = uniform(0, 100), rng.choice([0.5, 2, 3, 5])
    sign = rng.choice([1, -1])
    low, high = multiples(x, m)
    nearest = high if Fraction(x) - low * Fraction(m) >= high * Fraction(m) - Fraction(x) else low
    add("=MROUND(%s,%s)" % (text(sign * x), text(sign * m)), sign * nearest * m, 0)
for x in [uniform(-50, 50) for _ in range(8)] + [0.0, 2.0, -3.0, 1.0]:
    even = 2 * math.ceil(x / 2) if x >= 0 else 2 * math.floor(x / 2)
    odd = 2 * math.ceil((x - 1) / 2) + 1 if x >= 0 else 2 * math.floor((x + 1) / 2) - 1
    if x == int(x) and int(x) % 2 != 0:
        odd = x
    add("=EVEN(%s)" % text(x), even, 0)
    add("=ODD(%s)" % text(x), odd, 0)

# Power series over array constants, summed exactly.
for _ in range(8):
    x = num(rng.uniform(-3, 3))
    n, m = rng.randint(-3, 4), rng.randint(1, 3)
    coefficients = [num(rng.uniform(-5, 5)) for _ in range(rng.randint(1, 6))]
    exact = sum(Fraction(c) * Fraction(x) ** (n + i * m) for i, c in enumerate(coefficients))
    formula = "=SERIESSUM(%s,%d,%d,{%s})" % (text(x), n, m, ",".join(text(c) for c in coefficients))
    add(formula, exact, 1e-14)

with open(OUTPUT, "w", newline="", encoding="utf-8") as f:
    csv.writer(f, lineterminator="\n").writerows(rows)
