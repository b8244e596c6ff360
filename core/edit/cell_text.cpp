#include "core/edit/cell_text.h"

#include <cstring>

#include "core/base/bounded_text.h"
#include "core/edit/cell_display_text.h"
#include "core/cells/cell_store.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_literal_print.h"
#include "core/numfmt/regional_settings.h"
#include "core/styles/sheet_format.h"
#include "core/styles/style_table.h"

namespace {

bool HoldsText(const CellRecord& cell) {
  if (cell.ErrorCode() != kErrorNone) return false;
  return cell.IsText() || (cell.IsFormula() && cell.HasCachedText());
}

// A quoted text as a formula writes it; a text holding both quote
// characters, which no formula can hold, between double quotes anyway.
void AppendQuoted(BoundedText& out, const char* text) {
  char piece[kCellTextCapacity + 2];
  BoundedText quoted(piece, sizeof piece);
  if (!AppendQuotedText(quoted, text)) {
    quoted = BoundedText(piece, sizeof piece);
    quoted.Put('"');
    quoted.Append(text);
    quoted.Put('"');
  }
  out.Append(quoted.Text(), quoted.Length());
}

// One element of the range text: shown values with the value flag, else
// literals that read back as an array constant.
void AppendElement(const CellRecord& cell, const NumFormatParams& format, bool valueFlag, BoundedText& out) {
  char text[kCellTextCapacity];
  if (HoldsText(cell)) {
    FormatCellDisplayText(cell, format, text, sizeof text);
    AppendQuoted(out, text);
  } else if (valueFlag || cell.ErrorCode() != kErrorNone) {
    FormatCellDisplayText(cell, format, text, sizeof text);
    out.Append(text);
  } else {
    AppendFormulaNumber(out, cell.IsFormula() ? cell.CachedNumber() : cell.Number(), false);
  }
}

size_t SingleCellText(EvalState& translator, CellStore& cells, const CellFormats& formats, uint16_t column,
                      uint32_t row, bool valueFlag, char* buffer, size_t size) {
  buffer[0] = '\0';
  const CellRecord* cell = cells.GetCell(row, column);
  if (!cell) return 0;
  char text[kCellTextCapacity];
  const NumFormatParams& format = formats.At(row, column);
  if (!valueFlag) {
    if (cell->IsFormula()) {
      FormulaDisplayText(translator, *cell, text, sizeof text);
    } else {
      FormatCellValueText(*cell, format, text, sizeof text);
    }
  } else {
    FormatCellDisplayText(*cell, format, text, sizeof text);
    const size_t length = std::strlen(text);
    if (HoldsText(*cell) && length + 2 <= kMaxCellTextOutput) {
      char quoted[kCellTextCapacity];
      quoted[0] = '"';
      std::memcpy(quoted + 1, text, length);
      quoted[length + 1] = '"';
      quoted[length + 2] = '\0';
      std::memcpy(text, quoted, length + 3);
    }
  }
  CopyTextCut(buffer, size, text);
  return std::strlen(buffer);
}

size_t RangeText(CellStore& cells, const CellFormats& formats, uint16_t firstColumn, uint16_t lastColumn,
                 uint32_t firstRow, uint32_t lastRow, bool valueFlag, char* buffer, size_t size) {
  const RegionalSettings& current = CurrentRegionalSettings();
  const char cellSeparator[3] = {current.listSeparator, ' ', '\0'};
  const char rowSeparator[3] = {current.arrayRowSeparator, ' ', '\0'};
  // One character stays free for the closing brace.
  const size_t limit = (size - 1 < kMaxCellTextOutput ? size - 1 : kMaxCellTextOutput) - 1;
  BoundedText out(buffer, limit + 1);
  out.Append(valueFlag ? "{" : "={");
  CellCursor cursor;
  CellCursor styleCursor;
  for (uint32_t row = firstRow; row <= lastRow && !out.Overflowed(); ++row) {
    if (row > firstRow && !out.Append(rowSeparator)) break;
    for (uint32_t column = firstColumn; column <= lastColumn; ++column) {
      char text[kCellTextCapacity + 8];
      BoundedText piece(text, sizeof text);
      if (column > firstColumn) piece.Append(cellSeparator);
      const CellRecord* cell = cells.FindCell(row, static_cast<uint16_t>(column), &cursor);
      if (cell) AppendElement(*cell, formats.At(row, static_cast<uint16_t>(column), &styleCursor), valueFlag, piece);
      if (piece.Overflowed() || piece.Length() > limit - out.Length()) break;
      out.Append(piece.Text(), piece.Length());
    }
  }
  // The overflow of a row separator leaves the text as it was, with room
  // kept for the brace.
  size_t length = out.Length();
  buffer[length++] = '}';
  buffer[length] = '\0';
  return length;
}

}  // namespace

const NumFormatParams& CellFormats::At(uint32_t row, uint16_t column, CellCursor* cursor) const {
  const uint16_t style = sheet ? sheet->CellStyle(row, column, cursor) : 0;
  return styles->StyleAt(style).numFormat;
}

size_t GetCellText(EvalState& translator, CellStore& cells, const CellFormats& formats, uint16_t firstColumn,
                   uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, bool valueFlag, bool arrayFlag,
                   char* buffer, size_t size) {
  if (size == 0) return 0;
  if (size < 4) {
    buffer[0] = '\0';
    return 0;
  }
  if (firstColumn == lastColumn && firstRow == lastRow && !arrayFlag)
    return SingleCellText(translator, cells, formats, firstColumn, firstRow, valueFlag, buffer, size);
  if (firstColumn > lastColumn || firstRow > lastRow) {
    buffer[0] = '\0';
    return 0;
  }
  return RangeText(cells, formats, firstColumn, lastColumn, firstRow, lastRow, valueFlag, buffer, size);
}
