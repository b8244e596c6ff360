#!/usr/bin/env python3
"""Writes engineering.csv: reference values of the error functions, the
integer-order Bessel functions and the complex-number functions, computed
once and committed so that the tests need neither program. Run it by hand
from any folder after changing the cases: python3 generate_engineering.py

erf and erfc come from Python's math module (the C library's, correct to
about one unit in the last place), the complex functions from Python's
cmath, and the Bessel functions from R's besselJ and besselY (package
r-base-core), called through Rscript.

Rows of the CSV: formula, expected real part (or the number), expected
imaginary part ("" for a number result). The arguments are random but
seeded, written so that they read back as exactly the doubles the
references were given.
"""

import cmath
import csv
import math
import os
import random
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "engineering.csv")
SEED = 20261207


def number(x):
    return repr(float(x))


def complex_text(z):
    sign = "-" if z.imag < 0 else "+"
    return '"%s%s%si"' % (number(z.real), sign, number(abs(z.imag)))


def error_function_rows():
    xs = [1e-300, 1e-12, 5e-4, 1e-3, 0.01, 0.1, 0.3, 0.5, 0.9, 1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 4.0,
          5.0, 6.0, 8.0, 10.0, 15.0, 20.0, 26.0]
    rows = []
    for x in xs:
        for s in (1, -1):
            rows.append(("ERF(%s,)" % number(s * x), math.erf(s * x), ""))
            if math.erfc(s * x) > 2.2250738585072014e-308:
                rows.append(("ERFC(%s)" % number(s * x), math.erfc(s * x), ""))
    return rows


def bessel_rows():
    pairs = []
    for n in (0, 1, 2, 3, 5, 10, 20, 40):
        for x in (0.01, 0.1, 0.5, 1.0, 2.5, 4.0, 7.5, 12.0, 30.0, 75.0):
            pairs.append((n, x))
    script = "; ".join(
        "cat(format(besselJ(%r, %d), digits = 17), format(besselY(%r, %d), digits = 17), '\\n')"
        % (x, n, x, n) for n, x in pairs)
    output = subprocess.run(["Rscript", "-e", script], check=True, capture_output=True, text=True).stdout
    rows = []
    for (n, x), line in zip(pairs, output.strip().split("\n")):
        j, y = (float(v) for v in line.split())
        if j != 0 and abs(j) >= 2.2250738585072014e-308:
            rows.append(("BESSELJ(%s,%d)" % (number(x), n), j, ""))
        if math.isfinite(y):
            rows.append(("BESSELY(%s,%d)" % (number(x), n), y, ""))
    return rows


def complex_rows():
    rng = random.Random(SEED)

    def draw():
        return complex(rng.uniform(-10, 10), rng.uniform(-10, 10))

    one = [
        ("IMABS", abs, False),
        ("IMARGUMENT", cmath.phase, False),
        ("IMCOS", cmath.cos, True),
        ("IMSIN", cmath.sin, True),
        ("IMEXP", cmath.exp, True),
        ("IMLN", cmath.log, True),
        ("IMLOG10", cmath.log10, True),
        ("IMLOG2", lambda z: cmath.log(z) / math.log(2), True),
        ("IMSQRT", cmath.sqrt, True),
    ]
    rows = []
    for _ in range(25):
        for name, f, is_complex in one:
            z = draw()
            w = f(z)
            if is_complex:
                rows.append(("%s(%s)" % (name, complex_text(z)), w.real, w.imag))
            else:
                rows.append(("%s(%s)" % (name, complex_text(z)), w, ""))
        z, v = draw(), draw()
        for name, w in (("IMDIV", z / v), ("IMSUB", z - v), ("IMSUM", z + v), ("IMPRODUCT", z * v)):
            rows.append(("%s(%s,%s)" % (name, complex_text(z), complex_text(v)), w.real, w.imag))
        z, n = draw(), rng.randint(-6, 6)
        w = z ** n
        rows.append(("IMPOWER(%s,%d)" % (complex_text(z), n), w.real, w.imag))
    return rows


def main():
    with open(OUTPUT, "w", newline="") as out:
        writer = csv.writer(out, quoting=csv.QUOTE_ALL, lineterminator="\n")
        writer.writerow(("formula", "expected", "expected_imaginary"))
        for formula, expected, imaginary in error_function_rows() + bessel_rows() + complex_rows():
            writer.writerow((formula, number(expected), "" if imaginary == "" else number(imaginary)))


if __name__ == "__main__":
    main()
