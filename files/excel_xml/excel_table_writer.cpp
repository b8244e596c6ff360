// The Table element of the export: the columns with a size or style of
// their own, then the rows with their cells and styled positions.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/styles/default_sizes.h"
#include "core/styles/style_run_walk.h"
#include "core/workbook/workbook.h"
#include "files/excel_xml/excel_lengths.h"
#include "files/excel_xml/excel_writer.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr uint32_t kNoPosition = 0xFFFFFFFF;

struct SheetSizes {
  uint16_t columnWidth;  // 0: unknown, every width is written
  uint16_t rowHeight;
};

SheetSizes DefaultSizesOf(const ExcelWriter& out, CWorkSheet* sheet) {
  if (!out.screen)
    return SheetSizes{sheet->format.defaultColumnWidth, sheet->format.defaultRowHeight};
  return SheetSizes{GetDefaultColumnWidth(&sheet->format, *out.screen),
                    GetDefaultRowHeight(&sheet->format, *out.screen)};
}

bool ColumnIsWritten(const ColumnRecord& column, uint16_t defaultWidth) {
  const uint16_t width = column.Width();
  return column.Style() || column.WidthFixed() || (width && width != defaultWidth);
}

// The height attributes of a row record, or an empty text.
void RowHeightAttributes(const ExcelWriter& out, uint16_t record, uint16_t defaultHeight, char* text, size_t size) {
  text[0] = 0;
  const uint16_t height = uint16_t((record & RowTable::kHeightMask) >> RowTable::kHeightShift);
  const bool fixed = (record & RowTable::kFixedHeight) != 0;
  if (!fixed && (!height || height == defaultHeight))
    return;
  char points[kExcelLengthTextSize];
  PixelsToPointsText(height, out.pixelsPerInch, points, sizeof points);
  std::snprintf(text, size, "%s ss:Height=\"%s\"", fixed ? " ss:AutoFitHeight=\"0\"" : "", points);
}

// The largest column and row any style run covers; false without runs.
bool StyledExtent(const StyleRunStore& runs, uint16_t* lastColumn, uint32_t* lastRow) {
  bool any = false;
  StyleRunWalk walk(runs);
  for (const StyleRun* run; (run = walk.Current()) != nullptr; walk.Advance()) {
    // Runs are packed: their fields are read as values.
    const uint16_t runLastColumn = run->lastColumn;
    const uint32_t runRow = run->row;
    *lastColumn = std::max(*lastColumn, runLastColumn);
    *lastRow = std::max(*lastRow, runRow);
    any = true;
  }
  return any;
}

void WriteNumberData(CXmlReader* xml, double value) {
  // Other programs get every bit of the number, as the native files do.
  char number[kExactDoubleTextCapacity];
  DoubleToExactText(value, number, sizeof number, nullptr);
  xml->WriteRaw("<Data ss:Type=\"Number\">");
  xml->WriteRaw(number);
  xml->WriteRaw("</Data>");
}

void WriteStringData(CXmlReader* xml, const char* text, size_t length) {
  xml->WriteRaw("<Data ss:Type=\"String\">");
  xml->WriteText(text, length, true);
  xml->WriteRaw("</Data>");
}

void WriteErrorData(CXmlReader* xml, uint8_t code) {
  // The program's "#N/A!" is "#N/A" everywhere else; codes other programs
  // do not have are written as that too.
  const char* name = code >= kErrorDivZero && code <= kErrorValue && code != kErrorNA ? ErrorName(code) : "#N/A";
  xml->WriteRaw("<Data ss:Type=\"Error\">");
  xml->WriteRaw(name);
  xml->WriteRaw("</Data>");
}

// One Cell element: a styled position, a cell, or both.
void WriteCell(const ExcelWriter& out, uint16_t column, uint32_t style, const CellRecord* cell, int depth) {
  static thread_local char attributes[kXmlTextSize + 128];
  CXmlReader* xml = out.xml;
  int used = std::snprintf(attributes, sizeof attributes, "ss:Index=\"%u\"", unsigned(column + 1));
  if (style != kNoPosition)
    used += std::snprintf(attributes + used, sizeof attributes - size_t(used), " ss:StyleID=\"s%u\"",
                          unsigned(style + 20));
  bool hasData = false;
  if (cell && cell->IsFormula()) {
    const char* formula = ExcelEscaped(xml, cell->FormulaText(), cell->FormulaLength());
    used += std::snprintf(attributes + used, sizeof attributes - size_t(used), " ss:Formula=\"%s\"", formula);
    if (cell->ResultFlags() & kResultArray)
      std::snprintf(attributes + used, sizeof attributes - size_t(used), " ss:ArrayRange=\"RC:R[%u]C[%u]\"",
                    unsigned(cell->ArrayRows() ? cell->ArrayRows() - 1 : 0),
                    unsigned(cell->ArrayColumns() ? cell->ArrayColumns() - 1 : 0));
    hasData = cell->ErrorCode() || (cell->ResultFlags() & kResultCachedNumber) || cell->HasCachedText();
  } else if (cell) {
    hasData = cell->ErrorCode() || cell->IsNumber() || cell->IsText();
  }
  if (!hasData) {
    xml->WriteElement("Cell", attributes, kXmlWriteEmpty, depth, 1);
    return;
  }
  xml->WriteElement("Cell", attributes, kXmlWriteStart, depth, 0);
  if (cell->ErrorCode())
    WriteErrorData(xml, cell->ErrorCode());
  else if (cell->IsFormula() && (cell->ResultFlags() & kResultCachedNumber))
    WriteNumberData(xml, cell->CachedNumber());
  else if (cell->IsFormula())
    WriteStringData(xml, cell->CachedText(), cell->CachedTextLength());
  else if (cell->IsNumber())
    WriteNumberData(xml, cell->Number());
  else
    WriteStringData(xml, cell->Text(), cell->TextLength());
  xml->WriteElement("Cell", nullptr, kXmlWriteEnd, 0, 1);
}

}  // namespace

void WriteExcelTable(const ExcelWriter& out, CWorkSheet* sheet, int depth) {
  CXmlReader* xml = out.xml;
  const SheetSizes defaults = DefaultSizesOf(out, sheet);
  const SheetFormat& format = sheet->format;

  uint16_t lastColumn = 0;
  uint32_t lastRow = 0;
  sheet->cells.GetUsedRange(nullptr, &lastColumn, nullptr, &lastRow);
  StyledExtent(format.runs, &lastColumn, &lastRow);
  // Columns written beyond the cells count too: a reader may refuse a
  // Column past the expanded count.
  for (uint32_t c = kColumnCount; c-- > lastColumn;)
    if (ColumnIsWritten(format.columns[c], defaults.columnWidth)) {
      lastColumn = uint16_t(c);
      break;
    }
  const uint32_t width = uint32_t(lastColumn) + 1;
  const uint32_t height = lastRow + 1;

  char attributes[160];
  std::snprintf(attributes, sizeof attributes,
                "ss:ExpandedColumnCount=\"%u\" ss:ExpandedRowCount=\"%u\" x:FullColumns=\"1\" x:FullRows=\"1\"",
                unsigned(width), unsigned(height));
  xml->WriteElement("Table", attributes, kXmlWriteStart, depth, 1);

  for (uint32_t c = 0; c < kColumnCount; ++c) {
    const ColumnRecord& column = format.columns[c];
    if (!ColumnIsWritten(column, defaults.columnWidth))
      continue;
    int used = std::snprintf(attributes, sizeof attributes, "ss:Index=\"%u\"", unsigned(c + 1));
    if (column.Style())
      used += std::snprintf(attributes + used, sizeof attributes - size_t(used), " ss:StyleID=\"s%u\"",
                            unsigned(column.Style() + 20));
    char points[kExcelLengthTextSize];
    PixelsToPointsText(column.Width(), out.pixelsPerInch, points, sizeof points);
    if (column.WidthFixed())
      std::snprintf(attributes + used, sizeof attributes - size_t(used), " ss:AutoFitWidth=\"0\" ss:Width=\"%s\"",
                    points);
    else if (column.Width() && column.Width() != defaults.columnWidth)
      std::snprintf(attributes + used, sizeof attributes - size_t(used), " ss:Width=\"%s\"", points);
    xml->WriteElement("Column", attributes, kXmlWriteEmpty, depth + 1, 1);
  }

  // Rows are visited in order where anything is to be written: a cell, a
  // style run or a height of its own; a walk over every position would
  // take as long as the grid is large.
  CellCursor cells = sheet->cells.StartRangeWalk(0);
  const CellRecord* cell = cells.Next();
  StyleRunWalk runs(format.runs);
  const uint32_t heightRows = std::min(format.rows.Count(), height);
  char heights[96];
  // The first row from `from` on whose record gives height attributes.
  auto nextHeightRow = [&](uint32_t from) {
    for (uint32_t r = from; r < heightRows; ++r) {
      RowHeightAttributes(out, *format.rows.At(r), defaults.rowHeight, heights, sizeof heights);
      if (heights[0])
        return r;
    }
    return kNoPosition;
  };
  uint32_t heightRow = nextHeightRow(0);
  for (uint32_t row = 0; row < height;) {
    if (heightRow < row)
      heightRow = nextHeightRow(row);
    const StyleRun* run = runs.Current();
    uint32_t next = heightRow;
    if (cell)
      next = std::min(next, cell->Row());
    if (run) {
      const uint32_t runRow = run->row;
      next = std::min(next, runRow);
    }
    if (next >= height)
      break;
    row = next;
    if (heightRow == row)
      RowHeightAttributes(out, *format.rows.At(row), defaults.rowHeight, heights, sizeof heights);
    else
      heights[0] = 0;
    std::snprintf(attributes, sizeof attributes, "ss:Index=\"%u\"%s", unsigned(row + 1), heights);
    const bool hasContent = (cell && cell->Row() == row) || (run && run->row == row);
    if (!hasContent) {
      xml->WriteElement("Row", attributes, kXmlWriteEmpty, depth + 1, 1);
      ++row;
      continue;
    }
    xml->WriteElement("Row", attributes, kXmlWriteStart, depth + 1, 1);
    // Cells and runs of the row merged by column; a run stands for every
    // position it covers.
    uint32_t column = 0;
    for (;;) {
      while (run && run->row == row && run->lastColumn < column) {
        runs.Advance();
        run = runs.Current();
      }
      const bool runHere = run && run->row == row;
      const uint32_t cellColumn = cell && cell->Row() == row ? cell->Column() : kNoPosition;
      const uint32_t runFirst = runHere ? run->firstColumn : 0;
      const uint32_t runColumn = runHere ? std::max(runFirst, column) : kNoPosition;
      const uint32_t position = std::min(cellColumn, runColumn);
      if (position == kNoPosition || position >= width)
        break;
      const uint32_t style =
          runHere && run->firstColumn <= position && position <= run->lastColumn ? run->style : kNoPosition;
      WriteCell(out, uint16_t(position), style, position == cellColumn ? cell : nullptr, depth + 2);
      if (position == cellColumn)
        cell = cells.Next();
      column = position + 1;
    }
    // Whatever of the row lies past the width (nothing does) is passed.
    while (cell && cell->Row() == row) cell = cells.Next();
    while ((run = runs.Current()) && run->row == row) runs.Advance();
    xml->WriteElement("Row", nullptr, kXmlWriteEnd, depth + 1, 1);
    ++row;
  }
  xml->WriteElement("Table", nullptr, kXmlWriteEnd, depth, 1);
}
