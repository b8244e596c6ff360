#!/usr/bin/env python3
"""Writes exchange/ours_* and exchange/pydbf_*: the dBase III+, dBase IV and
FoxPro 2.x tables (with their memo files) this program writes of the sample
table of tests/files/exchange_samples.h, with the grids python3-dbfread
reads from them; and dBase III+ and FoxPro 2.x tables with memos made by
python3-dbf, with the grids of the values put into them. Run it by hand
after changing the samples or the writer, with the sample writer of a
native build (and /usr/bin/python3, where Debian's packages are):

    tests/golden/generate_xbase_interop.py build/native/tests/files_exchange_samples

The tests read only the files it writes. Grids are written as by
generate_text_interop.py: row 0 holds the field names, each record a row
from 1; dates are ISO texts, logicals "Y" or "N", empty values no cell.
dbfread reads a dBase IV memo as long as its stored count, which counts
the memo's 8-byte head too: the NUL bytes it reads past the text are
dropped.
"""

import datetime
import decimal
import os
import shutil
import subprocess
import sys
import tempfile

import dbf
import dbfread

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "exchange")
sys.path.insert(0, HERE)
from generate_text_interop import write_grid  # noqa: E402

OURS = [("ours_dbase3.dbf", ".dbt"), ("ours_dbase4.dbf", ".dbt"), ("ours_foxpro.dbf", ".fpt")]

FIELDS = "name C(20); amount N(10,2); born D; ok L; note M"
RECORDS = [
    ("Ann \u00e9t\u00e9", 3.25, datetime.date(2009, 3, 5), True, "A memo of Ann"),
    ("Bob", -12.5, None, False, "m" * 600 + " end"),
    ("Carl", 0, datetime.date(1999, 12, 31), None, ""),
]


def cell(row, column, value):
    if value is None or value == "":
        return None
    if isinstance(value, bool):
        return (row, column, "t", "Y" if value else "N")
    if isinstance(value, (int, float, decimal.Decimal)):
        return (row, column, "n", repr(float(value)))
    if isinstance(value, datetime.date):
        return (row, column, "t", value.isoformat())
    return (row, column, "t", value)


def grid(names, records):
    cells = [(0, c, "t", name) for c, name in enumerate(names)]
    for r, record in enumerate(records, start=1):
        cells += [x for x in (cell(r, c, v) for c, v in enumerate(record)) if x]
    return cells


def dbfread_grid(path):
    table = dbfread.DBF(path, encoding="cp1252")
    records = []
    for record in table:
        values = list(record.values())
        records.append([v.rstrip("\0") if isinstance(v, str) else v for v in values])
    return grid(table.field_names, records)


def make_pydbf(name, kind):
    with tempfile.TemporaryDirectory() as work:
        table = dbf.Table(os.path.join(work, name), FIELDS, dbf_type=kind, codepage="cp1252")
        table.open(dbf.READ_WRITE)
        for record in RECORDS:
            table.append(record)
        table.close()
        for made in os.listdir(work):
            shutil.copy(os.path.join(work, made), os.path.join(OUT, "pydbf_" + made))
    names = [f.split()[0].upper() for f in FIELDS.split(";")]
    write_grid(os.path.join(OUT, "pydbf_" + name + ".dbf.grid"), grid(names, RECORDS))


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as made:
        subprocess.run([sys.argv[1], made], check=True)
        for name, memo in OURS:
            for part in (name, name[:-4] + memo):
                shutil.copy(os.path.join(made, part), os.path.join(OUT, part))
            path = os.path.join(OUT, name)
            write_grid(path + ".dbfread.grid", dbfread_grid(path))
    make_pydbf("dbase3", "db3")
    make_pydbf("foxpro", "fp")


if __name__ == "__main__":
    main()
