#!/usr/bin/env python3
"""Writes exchange/text_*: the text files this program writes of the sample
worksheet of tests/files/exchange_samples.h (in UTF-8 with commas, ANSI with
semicolons, OEM with tabs), and the grids that Python's csv module and
LibreOffice (package libreoffice-calc-nogui, headless) read from them. Run
it by hand after changing the samples or the writer, with the sample writer
of a native build:

    tests/golden/generate_text_interop.py build/native/tests/files_exchange_samples

The tests read only the files it writes.

A grid file has a line per non-empty cell: row, column (both from 0), "t"
for a text or "n" for a number, and the value, separated by tabs; texts are
UTF-8 with backslash, tab, CR and LF written as \\\\, \\t, \\r and \\n.
Python's csv module reads every field as a text.
"""

import csv
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "exchange")

# File, separator, Python's encoding, LibreOffice's character set number.
SAMPLES = [
    ("text_utf8_comma.csv", ",", "utf-8", 76),
    ("text_ansi_semicolon.csv", ";", "cp1252", 1),
    ("text_oem_tab.txt", "\t", "cp437", 3),
]

TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
TEXT = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"


def escape(value):
    return value.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def write_grid(path, cells):
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        for row, column, kind, value in cells:
            out.write(f"{row}\t{column}\t{kind}\t{escape(value)}\n")


def python_grid(path, separator, encoding):
    cells = []
    with open(path, encoding=encoding, newline="") as data:
        for row, fields in enumerate(csv.reader(data, delimiter=separator)):
            for column, field in enumerate(fields):
                if field:
                    cells.append((row, column, "t", field))
    return cells


def paragraph_text(element):
    """The text of a text:p with its spaces, tabs and line breaks."""
    parts = [element.text or ""]
    for child in element:
        tag = child.tag.split("}")[1]
        if tag == "s":
            parts.append(" " * int(child.get(f"{{{TEXT}}}c", "1")))
        elif tag == "tab":
            parts.append("\t")
        elif tag == "line-break":
            parts.append("\n")
        else:
            parts.append(paragraph_text(child))
        parts.append(child.tail or "")
    return "".join(parts)


def libreoffice_grid(path, separator, charset):
    with tempfile.TemporaryDirectory() as work:
        profile = "file://" + os.path.join(work, "profile")
        # Named .csv, so that the spreadsheet (not the word processor) opens it.
        source = os.path.join(work, "sample.csv")
        shutil.copy(path, source)
        subprocess.run(
            ["soffice", f"-env:UserInstallation={profile}", "--headless",
             f"--infilter=CSV:{ord(separator)},34,{charset},1", "--convert-to", "fods",
             "--outdir", work, source],
            check=True, stdout=subprocess.DEVNULL)
        tree = ET.parse(os.path.join(work, "sample.fods"))
    cells = []
    table = tree.getroot().find(f".//{{{TABLE}}}table")
    row = 0
    for row_element in table.iter(f"{{{TABLE}}}table-row"):
        rows = int(row_element.get(f"{{{TABLE}}}number-rows-repeated", "1"))
        column = 0
        for cell in row_element:
            if cell.tag not in (f"{{{TABLE}}}table-cell", f"{{{TABLE}}}covered-table-cell"):
                continue
            columns = int(cell.get(f"{{{TABLE}}}number-columns-repeated", "1"))
            kind = cell.get(f"{{{OFFICE}}}value-type")
            if kind == "float":
                cells.append((row, column, "n", repr(float(cell.get(f"{{{OFFICE}}}value")))))
            elif kind == "string":
                text = "\n".join(paragraph_text(p) for p in cell.findall(f"{{{TEXT}}}p"))
                cells.append((row, column, "t", text))
            elif kind is not None:
                raise SystemExit(f"{path}: cell {row},{column} is a {kind}")
            column += columns
        row += rows
    return cells


def main():
    if len(sys.argv) != 2:
        raise SystemExit(__doc__)
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as made:
        subprocess.run([sys.argv[1], made], check=True)
        for name, separator, encoding, charset in SAMPLES:
            shutil.copy(os.path.join(made, name), os.path.join(OUT, name))
            path = os.path.join(OUT, name)
            write_grid(path + ".python.grid", python_grid(path, separator, encoding))
            write_grid(path + ".libreoffice.grid", libreoffice_grid(path, separator, charset))


if __name__ == "__main__":
    main()
