#!/usr/bin/env python3
"""Writes text_lookup.csv: reference results of text and lookup formulas
whose definition other spreadsheets share, computed once by Gnumeric's
ssconvert (package gnumeric). Run it by hand after changing the cases; the
tests read only the CSV it writes.

Each case is a formula as this program writes it and, where the other
spelling differs, as Gnumeric writes it: this program has no truth values
(TRUE/FALSE answers become 1/0), writes an omitted optional argument as an
empty position, and its ADDRESS takes mode 1 for R1C1 where Gnumeric takes
a1 = FALSE. Searches use sorted data, which Gnumeric's approximate matches
need. Error names are mapped to this program's ("#N/A" is "#N/A!").
INDEX takes its three positions here, an omitted one empty; its row or
column 0 and CHOOSE beyond its values are left out (they differ).
Left out where the definitions differ: integer arguments out of their
bounds ("#NUM!" here), whole rows and columns (the grids differ), and
SUBSTITUTE's patterns and letter case.

Rows of the CSV: kind, cell or formula, type (number, text or error), value.
"""

import csv
import os
import shutil
import subprocess
import sys
import tempfile
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "text_lookup.csv")

# Data cells: (column, row) 0-based, value.
DATA = {}
for row, (key, name) in enumerate([(1, "one"), (2, "two"), (3, "three"), (4, "four"), (5, "five")]):
    DATA[(0, row)] = key
    DATA[(1, row)] = name
for row, (fruit, price) in enumerate([("apple", 10), ("banana", 20), ("cherry", 30), ("date", 40)]):
    DATA[(3, row)] = fruit
    DATA[(4, row)] = price
for column, (key, letter) in enumerate([(10, "a"), (20, "b"), (30, "c"), (40, "d")]):
    DATA[(6 + column, 0)] = key
    DATA[(6 + column, 1)] = letter
DATA[(0, 6)] = "  Hello   big  WORLD "
DATA[(1, 6)] = "o'neil 2nd-place"

# (this program's formula, Gnumeric's formula or None when the same)
CASES = [
    ('=LEFT("abcdef",3)', None),
    ('=LEFT("abc",0)', None),
    ('=LEFT("abc",9)', None),
    ('=LEFT(12.5,2)', None),
    ('=LEFT("abc",)', None),
    ('=MID("abcdef",2,3)', None),
    ('=MID("abcdef",5,10)', None),
    ('=MID("abc",4,1)', None),
    ('=MID("abc",0,1)', None),
    ('=MID("abc",1,-1)', None),
    ('=FIND("b","abcb",1)', None),
    ('=FIND("b","abcb",3)', None),
    ('=FIND("B","abcb",1)', None),
    ('=FIND("","abc",2)', None),
    ('=FIND("x","abc",1)', None),
    ('=FIND("a","abc",0)', None),
    ('=FIND("a","abc",4)', None),
    ('=SEARCH("B","abcb",1)', None),
    ('=SEARCH("b?","abcb",1)', None),
    ('=SEARCH("c*","abcd",1)', None),
    ('=SEARCH("~*","a*b",1)', None),
    ('=SEARCH("b","abcb",3)', None),
    ('=SEARCH("x","abc",1)', None),
    ('=SUBSTITUTE("a-b-c","-","+",2)', None),
    ('=SUBSTITUTE("a-b-c","-","+",)', '=SUBSTITUTE("a-b-c","-","+")'),
    ('=SUBSTITUTE("a-b-c","-","+",3)', None),
    ('=SUBSTITUTE("aaa","a","bb",)', '=SUBSTITUTE("aaa","a","bb")'),
    ('=SUBSTITUTE("abcabc","bc","",)', '=SUBSTITUTE("abcabc","bc","")'),
    ('=SUBSTITUTE("abc","x","y",)', '=SUBSTITUTE("abc","x","y")'),
    ('=TRIM(A7)', None),
    ('=TRIM("  a   b  ")', None),
    ('=TRIM("")', None),
    ('=PROPER(B7)', None),
    ('=PROPER("hello WORLD")', None),
    ('=PROPER("ABC1DEF")', None),
    ('=EXACT("a","A")', None),
    ('=EXACT("abc","abc")', None),
    ('=EXACT(1.5,"1.5")', None),
    ('=REPT("ab",3)', None),
    ('=REPT("ab",0)', None),
    ('=REPT("-",10)', None),
    ('=VLOOKUP(3,A1:B5,2,0)', '=VLOOKUP(3,A1:B5,2,FALSE)'),
    ('=VLOOKUP(3.5,A1:B5,2,1)', '=VLOOKUP(3.5,A1:B5,2,TRUE)'),
    ('=VLOOKUP(9,A1:B5,2,1)', '=VLOOKUP(9,A1:B5,2,TRUE)'),
    ('=VLOOKUP(0.5,A1:B5,2,1)', '=VLOOKUP(0.5,A1:B5,2,TRUE)'),
    ('=VLOOKUP(6,A1:B5,2,0)', '=VLOOKUP(6,A1:B5,2,FALSE)'),
    ('=VLOOKUP("CHERRY",D1:E4,2,0)', '=VLOOKUP("CHERRY",D1:E4,2,FALSE)'),
    ('=VLOOKUP("b*",D1:E4,2,0)', '=VLOOKUP("b*",D1:E4,2,FALSE)'),
    ('=VLOOKUP("c",D1:E4,2,1)', '=VLOOKUP("c",D1:E4,2,TRUE)'),
    ('=VLOOKUP(2,A1:B5,3,0)', '=VLOOKUP(2,A1:B5,3,FALSE)'),
    ('=VLOOKUP(2,A1:B5,1,0)', '=VLOOKUP(2,A1:B5,1,FALSE)'),
    ('=HLOOKUP(30,G1:J2,2,0)', '=HLOOKUP(30,G1:J2,2,FALSE)'),
    ('=HLOOKUP(25,G1:J2,2,1)', '=HLOOKUP(25,G1:J2,2,TRUE)'),
    ('=HLOOKUP(5,G1:J2,2,1)', '=HLOOKUP(5,G1:J2,2,TRUE)'),
    ('=HLOOKUP(20,G1:J2,3,0)', '=HLOOKUP(20,G1:J2,3,FALSE)'),
    ('=MATCH(3,A1:A5,0)', None),
    ('=MATCH(3.5,A1:A5,1)', None),
    ('=MATCH(0,A1:A5,1)', None),
    ('=MATCH(3,{5,4,3,2,1},-1)', None),
    ('=MATCH(2.5,{5,4,3,2,1},-1)', None),
    ('=MATCH("banana",D1:D4,0)', None),
    ('=MATCH("c*",D1:D4,0)', None),
    ('=MATCH(30,G1:J1,0)', None),
    ('=MATCH(7,A1:A5,0)', None),
    ('=ADDRESS(2,3,1,0,)', '=ADDRESS(2,3,1,TRUE)'),
    ('=ADDRESS(2,3,2,0,)', '=ADDRESS(2,3,2,TRUE)'),
    ('=ADDRESS(2,3,3,0,)', '=ADDRESS(2,3,3,TRUE)'),
    ('=ADDRESS(2,3,4,0,)', '=ADDRESS(2,3,4,TRUE)'),
    ('=ADDRESS(2,3,1,1,)', '=ADDRESS(2,3,1,FALSE)'),
    ('=ADDRESS(27,28,1,0,"Data")', '=ADDRESS(27,28,1,TRUE,"Data")'),
    ('=OFFSET(A1,2,1,,)', '=OFFSET(A1,2,1)'),
    ('=OFFSET(A1:B2,3,0,1,1)', None),
    ('=SUM(OFFSET(A1,0,0,5,1))', None),
    ('=SUM(OFFSET(A1:A2,1,0,,))', '=SUM(OFFSET(A1:A2,1,0))'),
    ('=ROWS(OFFSET(A1:B2,1,1,,))', '=ROWS(OFFSET(A1:B2,1,1))'),
    ('=COLUMNS(OFFSET(A1,0,0,1,3))', None),
    ('=ROWS(A1:C9)', None),
    ('=COLUMNS(A1:C9)', None),
    ('=ROWS({1;2;3})', None),
    ('=COLUMNS({1,2,3,4})', None),
    ('=INDEX(A1:B5,2,2)', None),
    ('=INDEX(D1:E4,3,1)', None),
    ('=INDEX(G1:J2,2,3)', None),
    ('=INDEX(D1:D4,3,)', '=INDEX(D1:D4,3)'),
    ('=INDEX(A1:B5,6,1)', None),
    ('=INDEX(A1:B5,1,3)', None),
    ('=INDEX({1,3,5;2,4,6},2,3)', None),
    ('=ROW(C7)', None),
    ('=COLUMN(C7)', None),
    ('=CHOOSE(2,"x","y","z")', None),
    ('=SUM(CHOOSE(2,A1:A5,E1:E4))', None),
    ('=ROWS(TRANSPOSE(A1:B5))', None),
    ('=SUM(TRANSPOSE(E1:E4))', None),
]

ERRORS = {"#N/A": "#N/A!"}
FORMULA_COLUMN = 12  # M: beyond the data
FORMULA_ROW = 20


def column_letters(column):
    letters = ""
    column += 1
    while column:
        column, rest = divmod(column - 1, 26)
        letters = chr(ord("A") + rest) + letters
    return letters


def cell_xml(column, row, content, value_type=None):
    kind = f' ValueType="{value_type}"' if value_type else ""
    return f'<gnm:Cell Row="{row}" Col="{column}"{kind}>{escape(content)}</gnm:Cell>'


def build_sheet():
    cells = []
    for (column, row), value in sorted(DATA.items()):
        if isinstance(value, str):
            cells.append(cell_xml(column, row, value, 60))
        else:
            cells.append(cell_xml(column, row, repr(value), 40))
    for index, (ours, theirs) in enumerate(CASES):
        row = FORMULA_ROW + index
        target = f"{column_letters(FORMULA_COLUMN)}{row + 1}"
        cells.append(cell_xml(FORMULA_COLUMN, row, theirs or ours))
        # What the shown value is: text, truth value, error.
        cells.append(cell_xml(FORMULA_COLUMN + 1, row, f"=ISTEXT({target})"))
        cells.append(cell_xml(FORMULA_COLUMN + 2, row, f"=ISLOGICAL({target})"))
        cells.append(cell_xml(FORMULA_COLUMN + 3, row, f"=ISERROR({target})"))
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
    with tempfile.TemporaryDirectory() as work:
        sheet = os.path.join(work, "cases.gnumeric")
        shown = os.path.join(work, "cases.csv")
        with open(sheet, "w", encoding="utf-8") as f:
            f.write(build_sheet())
        subprocess.run(["ssconvert", sheet, shown], check=True, capture_output=True)
        with open(shown, newline="", encoding="utf-8") as f:
            grid = list(csv.reader(f))

    rows = []
    for (column, row), value in sorted(DATA.items(), key=lambda item: (item[0][1], item[0][0])):
        kind = "text" if isinstance(value, str) else "number"
        rows.append(["cell", f"{column_letters(column)}{row + 1}", kind, str(value)])
    for index, (ours, _) in enumerate(CASES):
        line = grid[FORMULA_ROW + index]
        value, is_text, is_logical, is_error = line[FORMULA_COLUMN:FORMULA_COLUMN + 4]
        if is_error == "TRUE":
            rows.append(["formula", ours, "error", ERRORS.get(value, value)])
        elif is_logical == "TRUE":
            rows.append(["formula", ours, "number", "1" if value == "TRUE" else "0"])
        elif is_text == "TRUE":
            rows.append(["formula", ours, "text", value])
        else:
            rows.append(["formula", ours, "number", value])

    with open(OUTPUT, "w", newline="", encoding="utf-8") as f:
        writer = csv.writer(f, lineterminator="\n")
        writer.writerows(rows)


if __name__ == "__main__":
    main()
