#!/usr/bin/env python3
"""Writes finance.csv: reference results of the financial functions whose
definitions other spreadsheets share, computed once by Gnumeric's ssconvert
(package gnumeric) over random argument sets drawn with a fixed seed. Run it
by hand after changing the cases; the tests read only the CSV it writes.

Each case is a formula as this program writes it and, where the spelling
differs, as Gnumeric writes it: this program takes every optional position
of PMT, PV, FV, NPER, IPMT, PPMT and RATE written out, CUMIPMT and CUMPRINC
without a type (payments in arrears), MIRR with one rate for financing and
reinvesting, and dates as ISO 8601 texts where Gnumeric takes serial day
numbers. The arguments stay where both definitions agree: positive rates,
repayable annuities (NPER), cash flows with one change of sign and so one
positive rate (IRR, XIRR), annuities built from a positive rate (RATE),
whose positive root below 50 alone this program searches (a case where
Gnumeric finds another root is left out), and PPMT of type 1 from its second period
(Gnumeric charges the first payment, made before any time has passed,
interest). IPMT and PPMT take loans of at most 60 periods: late in longer
loans Gnumeric subtracts nearly equal terms, and exact rational arithmetic
shows its values off by more than the tolerance where this program's are not.

Rows of the CSV: "formula", the formula, "number", the value.
"""

import csv
import datetime
import os
import random
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "finance.csv")
SEED = 20261207
CASES_PER_FUNCTION = 20
SERIAL_ORIGIN = datetime.date(1899, 12, 30)


def num(x):
    return repr(float(x)) if not float(x).is_integer() else str(int(x))


def array(values):
    return "{" + ",".join(values) + "}"


def rate(rng):
    return round(rng.uniform(0.001, 0.15), 5)


def money(rng, low=-50000, high=50000):
    return round(rng.uniform(low, high), 2)


def payment(r, n, pv, fv, t):
    growth = (1 + r) ** n
    return -(pv * growth + fv) * r / ((growth - 1) * (1 + r * t))


def dated_flows(rng, count):
    start = datetime.date(1990, 1, 1) + datetime.timedelta(days=rng.randint(0, 10000))
    dates = [start]
    for _ in range(count - 1):
        dates.append(dates[-1] + datetime.timedelta(days=rng.randint(1, 400)))
    ours = array(f'"{d.isoformat()}"' for d in dates)
    theirs = array(str((d - SERIAL_ORIGIN).days) for d in dates)
    return ours, theirs


def investment(rng, count):
    """A payment followed by returns worth more than it: one positive rate."""
    paid = money(rng, 1000, 100000)
    weights = [rng.uniform(0.2, 1.0) for _ in range(count - 1)]
    scale = paid * rng.uniform(1.05, 2.0) / sum(weights)
    return [-paid] + [round(w * scale, 2) for w in weights]


def cases(rng):
    out = []
    for _ in range(CASES_PER_FUNCTION):
        r, n, pv, fv, t = rate(rng), rng.randint(1, 120), money(rng), rng.choice([0, money(rng, -5000, 5000)]), rng.randint(0, 1)
        out.append((f"=PMT({num(r)},{n},{num(pv)},{num(fv)},{t})", None))
        pmt = money(rng, -2000, 2000)
        out.append((f"=PV({num(r)},{n},{num(pmt)},{num(fv)},{t})", None))
        out.append((f"=FV({num(r)},{n},{num(pmt)},{num(pv)},{t})", None))
        short = min(n, 60)
        per = rng.randint(1, short)
        out.append((f"=IPMT({num(r)},{per},{short},{num(pv)},{num(fv)})", None))
        if t == 1 and short > 1:
            per = rng.randint(2, short)
        out.append((f"=PPMT({num(r)},{per},{short},{num(pv)},{num(fv)},{t if per > 1 else 0})", None))
        # A loan that the payments repay: a positive ratio under the logarithm.
        loan = money(rng, 1000, 50000)
        sign = rng.choice([1, -1])
        repay = -loan * r * rng.uniform(1.1, 3.0)
        out.append((f"=NPER({num(r)},{num(sign * round(repay, 2))},{num(sign * loan)},0,{t})", None))
        start = rng.randint(1, n)
        end = rng.randint(start, n)
        loan = money(rng, 1000, 500000)
        for name in ("CUMIPMT", "CUMPRINC"):
            out.append((f"={name}({num(r)},{n},{num(loan)},{start},{end})",
                        f"={name}({num(r)},{n},{num(loan)},{start},{end},0)"))
        periods = rng.randint(1, 52)
        out.append((f"=EFFECT({num(r)},{periods})", None))
        out.append((f"=NOMINAL({num(r)},{periods})", None))
        cost, salvage, life = money(rng, 1000, 100000), money(rng, 0, 1000), rng.randint(1, 40)
        out.append((f"=SLN({num(cost)},{num(salvage)},{life})", None))
        out.append((f"=SYD({num(cost)},{num(salvage)},{life},{rng.randint(1, life)})", None))
        flows = [money(rng, -10000, 10000) for _ in range(rng.randint(1, 8))]
        out.append((f"=NPV({num(r)},{','.join(num(v) for v in flows)})", None))
        flows = investment(rng, rng.randint(2, 10))
        guess = rng.choice([0.01, 0.05, 0.1, 0.2])
        out.append((f"=IRR({array(num(v) for v in flows)},{num(guess)})", None))
        flows = [money(rng, -10000, 10000) for _ in range(rng.randint(2, 8))]
        flows[0] = -abs(flows[0])
        flows[-1] = abs(flows[-1])
        out.append((f"=MIRR({array(num(v) for v in flows)},{num(r)})",
                    f"=MIRR({array(num(v) for v in flows)},{num(r)},{num(r)})"))
        flows = [money(rng, -10000, 10000) for _ in range(rng.randint(1, 8))]
        ours, theirs = dated_flows(rng, len(flows))
        values = array(num(v) for v in flows)
        out.append((f"=XNPV({num(r)},{values},{ours})", f"=XNPV({num(r)},{values},{theirs})"))
        flows = investment(rng, rng.randint(2, 8))
        ours, theirs = dated_flows(rng, len(flows))
        values = array(num(v) for v in flows)
        out.append((f"=XIRR({values},{ours},{num(guess)})", f"=XIRR({values},{theirs},{num(guess)})"))
        true_rate, n = round(rng.uniform(0.002, 0.1), 4), rng.randint(2, 120)
        loan = money(rng, 1000, 100000)
        due = rng.choice([0, money(rng, 0, 500)])
        pmt = round(payment(true_rate, n, loan, due, t), 2)
        out.append((f"=RATE({n},{num(pmt)},{num(loan)},{num(due)},{t},{num(guess)})", None))
    return out


def cell_xml(column, row, content):
    return f'<gnm:Cell Row="{row}" Col="{column}">{escape(content)}</gnm:Cell>'


def build_sheet(formulas):
    cells = []
    for row, (ours, theirs) in enumerate(formulas):
        cells.append(cell_xml(0, row, theirs or ours))
        cells.append(cell_xml(1, row, f"=ISERROR(A{row + 1})"))
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<gnm:Workbook xmlns:gnm="http://www.gnumeric.org/v10.dtd">'
        "<gnm:SheetNameIndex><gnm:SheetName>Sheet1</gnm:SheetName></gnm:SheetNameIndex>"
        "<gnm:Sheets><gnm:Sheet><gnm:Name>Sheet1</gnm:Name>"
        "<gnm:Cells>" + "".join(cells) + "</gnm:Cells></gnm:Sheet></gnm:Sheets></gnm:Workbook>\n"
    )


def main():
    if not shutil.which("ssconvert"):
        sys.exit("ssconvert not found: install the gnumeric package")
    formulas = cases(random.Random(SEED))
    with tempfile.TemporaryDirectory() as work:
        sheet = os.path.join(work, "cases.gnumeric")
        shown = os.path.join(work, "cases.csv")
        with open(sheet, "w", encoding="utf-8") as f:
            f.write(build_sheet(formulas))
        subprocess.run(["ssconvert", sheet, shown], check=True, capture_output=True)
        with open(shown, newline="", encoding="utf-8") as f:
            grid = list(csv.reader(f))

    rows = []
    for (ours, theirs), line in zip(formulas, grid):
        value, is_error = line[0], line[1]
        if is_error == "TRUE":
            # Outside the arguments where both definitions agree: left out.
            print(f"left out, {value}: {theirs or ours}", file=sys.stderr)
            continue
        if ours.startswith(("=IRR(", "=XIRR(", "=RATE(")) and not 0 < float(value) < 49:
            print(f"left out, a root outside 0 .. 49: {theirs or ours} gives {value}", file=sys.stderr)
            continue
        rows.append(["formula", ours, "number", value])
    with open(OUTPUT, "w", newline="", encoding="utf-8") as f:
        csv.writer(f, lineterminator="\n").writerows(rows)
    print(f"{len(rows)} cases written to {OUTPUT}")


if __name__ == "__main__":
    main()
