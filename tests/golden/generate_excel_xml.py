#!/usr/bin/python3
"""Writes the golden files of the Excel 2003 XML tests, computed once by
LibreOffice (packages libreoffice-calc-nogui and python3-uno, driven through
its UNO bridge, hence the system's python3) and by Gnumeric's ssconvert
(package gnumeric). Run it by hand after changing the export or the
fixtures; the tests read only the files it writes.

    generate_excel_xml.py [FIXTURE_TOOL]

FIXTURE_TOOL is files_excel_fixture_files of the native build (default
build/native/tests/files_excel_fixture_files). It writes this program's
exports of the fixture workbook (tests/files/excel_xml/excel_fixture.h):

- excel_export.xml: every cell with its value, formulas with the results
  this program calculated;
- excel_export_formulas.xml: the same formulas without results.

Read back by the other programs:

- excel_export_libreoffice.csv: every cell of excel_export.xml as
  LibreOffice reads it (numbers in full precision);
- excel_export_gnumeric.csv: every cell of excel_export.xml as ssconvert
  writes it to CSV, as text;
- excel_export_recalculated.csv: the formulas of excel_export_formulas.xml
  as LibreOffice calculates them.

Rows of these files: sheet, row, column (from 0), kind (number, text or
error), value (numbers as Python's shortest exact text).

And from excel_import_fixture.tsv, a workbook that LibreOffice itself writes
as Excel 2003 XML: excel_import_libreoffice.xml.
"""

import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
TOOL = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build/native/tests/files_excel_fixture_files")
PIPE = "talvero_golden_%d" % os.getpid()


def write_rows(name, rows):
    with open(os.path.join(HERE, name), "w", newline="", encoding="utf-8") as f:
        writer = csv.writer(f, lineterminator="\n")
        for row in rows:
            writer.writerow(row)


class LibreOffice:
    def __init__(self, profile):
        import uno

        self.uno = uno
        self.process = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
             "-env:UserInstallation=" + uno.systemPathToFileUrl(profile),
             "--accept=pipe,name=%s;urp;" % PIPE],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(300):
            try:
                context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % PIPE)
                break
            except Exception:
                time.sleep(0.2)
        else:
            raise SystemExit("LibreOffice did not answer")
        self.desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)

    def property(self, name, value):
        from com.sun.star.beans import PropertyValue

        p = PropertyValue()
        p.Name = name
        p.Value = value
        return p

    def load(self, path, filter_name):
        url = self.uno.systemPathToFileUrl(path)
        return self.desktop.loadComponentFromURL(
            url, "_blank", 0, (self.property("FilterName", filter_name), self.property("Hidden", True)))

    def store(self, document, path, filter_name):
        document.storeToURL(self.uno.systemPathToFileUrl(path), (self.property("FilterName", filter_name),))

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        self.process.wait(timeout=60)


def cell_rows(document, only_formulas=False):
    from com.sun.star.sheet.FormulaResult import VALUE as RESULT_VALUE
    from com.sun.star.table.CellContentType import EMPTY, FORMULA, VALUE

    rows = []
    sheets = document.Sheets
    for index in range(sheets.Count):
        sheet = sheets.getByIndex(index)
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        address = cursor.RangeAddress
        for row in range(address.EndRow + 1):
            for column in range(address.EndColumn + 1):
                cell = sheet.getCellByPosition(column, row)
                kind = cell.Type
                if kind == EMPTY or (only_formulas and kind != FORMULA):
                    continue
                if cell.getError():
                    rows.append((sheet.Name, row, column, "error", cell.getString()))
                elif kind == VALUE or (kind == FORMULA and cell.FormulaResultType2 == RESULT_VALUE):
                    rows.append((sheet.Name, row, column, "number", repr(cell.getValue())))
                else:
                    rows.append((sheet.Name, row, column, "text", cell.getString()))
    return rows


def gnumeric_rows(path, work):
    names = ["Values", "Formulas"]
    pattern = os.path.join(work, "sheet_%n.csv")
    subprocess.run(["ssconvert", "--export-file-per-sheet", path, pattern], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    rows = []
    for number, name in enumerate(names):
        with open(os.path.join(work, "sheet_%d.csv" % number), newline="", encoding="utf-8") as f:
            for row, fields in enumerate(csv.reader(f)):
                for column, value in enumerate(fields):
                    if value != "":
                        rows.append((name, row, column, "text", value))
    return rows


# The import fixture as a flat OpenDocument spreadsheet.
def read_fixture():
    columns, cells = {}, []
    with open(os.path.join(HERE, "excel_import_fixture.tsv"), encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            fields = line.split("\t")
            if fields[0] == "column":
                columns[ord(fields[1]) - ord("A")] = float(fields[2])
            else:
                address, kind, value = fields[1], fields[2], fields[3]
                options = dict((o.split("=", 1) + [True])[:2] for o in fields[4:])
                cells.append((int(address[1:]) - 1, ord(address[0]) - ord("A"), kind, value, options))
    return columns, cells


def number_style(name, code):
    if code.endswith("%"):
        decimals = len(code.split(".")[1]) - 1 if "." in code else 0
        return ('<number:percentage-style style:name="%s"><number:number number:decimal-places="%d" '
                'number:min-decimal-places="%d" number:min-integer-digits="1"/><number:text>%%</number:text>'
                '</number:percentage-style>' % (name, decimals, decimals))
    if "E" in code:
        decimals = len(code.split(".")[1].split("E")[0])
        return ('<number:number-style style:name="%s"><number:scientific-number number:decimal-places="%d" '
                'number:min-decimal-places="%d" number:min-integer-digits="1" number:min-exponent-digits="2"/>'
                '</number:number-style>' % (name, decimals, decimals))
    decimals = len(code.split(".")[1]) if "." in code else 0
    return ('<number:number-style style:name="%s"><number:number number:decimal-places="%d" '
            'number:min-decimal-places="%d" number:min-integer-digits="1"%s/></number:number-style>'
            % (name, decimals, decimals, ' number:grouping="true"' if "," in code else ""))


def fixture_fods():
    columns, cells = read_fixture()
    styles, cell_styles, data_styles = [], {}, {}
    for _, _, _, _, options in cells:
        key = tuple(sorted(options.items()))
        if key in cell_styles:
            continue
        name = "ce%d" % (len(cell_styles) + 1)
        cell_styles[key] = name
        data = ""
        if "format" in options:
            code = options["format"]
            if code not in data_styles:
                data_styles[code] = "N%d" % (len(data_styles) + 1)
                styles.append(number_style(data_styles[code], code))
            data = ' style:data-style-name="%s"' % data_styles[code]
        cell_props = ""
        if "fill" in options:
            cell_props += ' fo:background-color="%s"' % options["fill"].lower()
        if "border" in options:
            cell_props += ' fo:border="0.74pt solid %s"' % options["border"].lower()
        text_props = ""
        if "bold" in options:
            text_props += ' fo:font-weight="bold"'
        if "italic" in options:
            text_props += ' fo:font-style="italic"'
        if "color" in options:
            text_props += ' fo:color="%s"' % options["color"].lower()
        styles.append('<style:style style:name="%s" style:family="table-cell" style:parent-style-name="Default"%s>'
                      '<style:table-cell-properties%s/><style:text-properties%s/></style:style>'
                      % (name, data, cell_props, text_props))
    width = max(list(columns) + [c for _, c, _, _, _ in cells]) + 1
    for column, points in columns.items():
        styles.append('<style:style style:name="co%d" style:family="table-column"><style:table-column-properties '
                      'style:column-width="%gpt"/></style:style>' % (column, points))
    body = []
    for column in range(width):
        body.append('<table:table-column%s/>' % (' table:style-name="co%d"' % column if column in columns else ""))
    by_row = {}
    for row, column, kind, value, options in cells:
        by_row.setdefault(row, {})[column] = (kind, value, cell_styles[tuple(sorted(options.items()))])
    for row in range(max(by_row) + 1):
        body.append("<table:table-row>")
        for column in range(width):
            if column not in by_row.get(row, {}):
                body.append("<table:table-cell/>")
                continue
            kind, value, style = by_row[row][column]
            if kind == "number":
                body.append('<table:table-cell table:style-name="%s" office:value-type="float" office:value="%s">'
                            '<text:p>%s</text:p></table:table-cell>' % (style, value, value))
            else:
                body.append('<table:table-cell table:style-name="%s" office:value-type="string"><text:p>%s</text:p>'
                            '</table:table-cell>' % (style, escape(value).replace("  ", ' <text:s/>')))
        body.append("</table:table-row>")
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<office:document '
            'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
            'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
            'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
            'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
            'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
            'xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" office:version="1.2" '
            'office:mimetype="application/vnd.oasis.opendocument.spreadsheet"><office:automatic-styles>'
            + "".join(styles) + '</office:automatic-styles><office:body><office:spreadsheet>'
            '<table:table table:name="Fixture">' + "".join(body) +
            '</table:table></office:spreadsheet></office:body></office:document>\n')


def main():
    for program in ("soffice", "ssconvert"):
        if not shutil.which(program):
            raise SystemExit("%s is needed" % program)
    subprocess.run([TOOL, HERE], check=True)
    exported = os.path.join(HERE, "excel_export.xml")
    without_results = os.path.join(HERE, "excel_export_formulas.xml")
    work = tempfile.mkdtemp(prefix="talvero_golden_")
    office = LibreOffice(os.path.join(work, "profile"))
    try:
        document = office.load(exported, "MS Excel 2003 XML")
        write_rows("excel_export_libreoffice.csv", cell_rows(document))
        document.close(True)
        document = office.load(without_results, "MS Excel 2003 XML")
        document.calculateAll()
        write_rows("excel_export_recalculated.csv", cell_rows(document, only_formulas=True))
        document.close(True)
        fods = os.path.join(work, "fixture.fods")
        with open(fods, "w", encoding="utf-8") as f:
            f.write(fixture_fods())
        document = office.load(fods, "OpenDocument Spreadsheet Flat XML")
        office.store(document, os.path.join(HERE, "excel_import_libreoffice.xml"), "MS Excel 2003 XML")
        document.close(True)
    finally:
        office.close()
    write_rows("excel_export_gnumeric.csv", gnumeric_rows(exported, work))
    shutil.rmtree(work)


if __name__ == "__main__":
    main()
