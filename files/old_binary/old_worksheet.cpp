// The formats and cells of an older worksheet: its grid had 512 columns.

#include <cstring>

#include "core/cells/cell_block_checks.h"
#include "core/cells/cell_record_buffer.h"
#include "core/formula/eval_state.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/old_binary/old_binary.h"
#include "files/old_binary/old_binary_source.h"

namespace {

constexpr uint32_t kOldColumnCount = 512;
constexpr uint16_t kOldDefaultWidth = 80;
constexpr uint16_t kOldDefaultHeight = 17;
constexpr uint16_t kSizeBits = 0x0FFF;
// Style runs a worksheet may take from one file: a few bytes of file may
// ask for a style on every column of every row, which no worksheet holds.
constexpr uint64_t kMostStyleRuns = 16u << 20;
constexpr size_t kOldFormulaCapacity = kFormulaTextCapacity + 1;

// Runs of u16 length and u16 value over the old grid's columns; each
// column of a run gets the value. A run of no columns, or one past the
// grid, is refused.
template <class Apply>
void ReadColumnRuns(OldBinarySource& in, Apply apply) {
  for (uint32_t column = 0; column < kOldColumnCount;) {
    const uint16_t length = in.U16();
    const uint16_t value = in.U16();
    if (length == 0 || length > kOldColumnCount - column)
      ThrowOldBinaryError(kFileBadFormat);
    for (uint32_t c = column; c < column + length; ++c) apply(c, value);
    column += length;
  }
}

void ReadRowHeights(OldBinarySource& in, CWorkSheet* sheet, uint32_t rowCount) {
  for (uint32_t row = 0; row < rowCount;) {
    const uint32_t length = in.U32();
    const uint16_t height = in.U16();
    if (length == 0 || length > rowCount - row)
      ThrowOldBinaryError(kFileBadFormat);
    if (height != kOldDefaultHeight)
      for (uint32_t r = row; r < row + length; ++r)
        if (!sheet->format.rows.SetRow(r, height & kSizeBits, false))
          ThrowOldBinaryError(kFileOutOfMemory);
    row += length;
  }
}

struct OldSpan {
  uint16_t firstColumn;
  uint16_t lastColumn;
  uint16_t style;
};

void ReadStyleRuns(OldBinarySource& in, CWorkBook* book, CWorkSheet* sheet) {
  const uint32_t rowCount = in.U32();
  if (rowCount > kRowCount)
    ThrowOldBinaryError(kFileBadFormat);
  StyleRunStore& runs = sheet->format.runs;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  uint64_t inserted = 0;
  uint32_t nextRow = 0;
  for (uint32_t covered = 0; covered < rowCount;) {
    const uint16_t rows = in.U16();
    const uint32_t firstRow = in.U32();
    const uint16_t spanCount = in.U16();
    // Groups follow each other down the sheet; their spans run left to
    // right without overlapping, so that every run goes in at the end.
    if (rows == 0 || rows > rowCount - covered || firstRow < nextRow || firstRow > kRowCount - rows ||
        spanCount > kOldColumnCount)
      ThrowOldBinaryError(kFileBadFormat);
    OldSpan spans[kOldColumnCount];
    for (uint32_t s = 0; s < spanCount; ++s) {
      OldSpan& span = spans[s];
      span.firstColumn = in.U16();
      span.lastColumn = in.U16();
      span.style = in.U16();
      if (span.firstColumn > span.lastColumn || span.lastColumn >= kOldColumnCount ||
          (s > 0 && span.firstColumn <= spans[s - 1].lastColumn))
        ThrowOldBinaryError(kFileBadFormat);
      if (span.style >= book->styles.styleCount)
        span.style = 0;
    }
    inserted += uint64_t(rows) * spanCount;
    if (inserted > kMostStyleRuns)
      ThrowOldBinaryError(kFileOutOfMemory);
    for (uint32_t row = firstRow; row < firstRow + rows; ++row)
      for (uint32_t s = 0; s < spanCount; ++s)
        if (!runs.InsertRun(StyleRun{spans[s].firstColumn, spans[s].lastColumn, row, spans[s].style}, &cursor))
          ThrowOldBinaryError(kFileOutOfMemory);
    covered += rows;
    nextRow = firstRow + rows;
  }
}

// The record of one old cell into record; its size.
uint32_t ReadCellRecord(OldBinarySource& in, CWorkBook* book, bool wideRows, CellRecordBuffer* record);

// A cell as the older format holds it; a number that is not finite comes
// in as "#NUM!", as in the program's own formats.
uint32_t ReadCell(OldBinarySource& in, CWorkBook* book, bool wideRows, CellRecordBuffer* record) {
  const uint32_t size = ReadCellRecord(in, book, wideRows, record);
  if (size != 0)
    CheckCellNumber(record->Record());
  return size;
}

uint32_t ReadCellRecord(OldBinarySource& in, CWorkBook* book, bool wideRows, CellRecordBuffer* record) {
  const uint16_t column = in.U16();
  const uint32_t row = wideRows ? in.U32() : in.U16();
  const uint8_t kind = in.U8() & 0x3F;
  if (column >= kColumnCount || row >= kRowCount)
    ThrowOldBinaryError(kFileBadFormat);
  switch (kind) {
    case 1: {
      const uint16_t length = in.U16();
      // A text longer than a cell record may be is cut to fit.
      const uint16_t kept = length < kLongestRecordText ? length : kLongestRecordText;
      static thread_local char text[kLongestRecordText];
      in.Read(text, kept);
      in.Skip(length - kept);
      return record->BuildText(row, column, text, kept);
    }
    case 2:
      return record->BuildNumber(row, column, in.F64());
    case 4:
    case 16:
    case 32: {
      const uint16_t length = in.U16();
      char formula[kOldFormulaCapacity + 1];
      size_t used = 0;
      uint8_t first = 0;
      if (length) {
        first = in.U8();
        if (first != '=')
          formula[used++] = '=';
        formula[used++] = char(first);
      } else {
        formula[used++] = '=';
      }
      // At most 1024 characters in all; the rest of a longer text is passed.
      const uint32_t rest = length ? length - 1u : 0u;
      const uint32_t kept = rest < kOldFormulaCapacity - 1 - used ? rest : uint32_t(kOldFormulaCapacity - 1 - used);
      in.Read(formula + used, kept);
      in.Skip(rest - kept);
      used += kept;
      formula[used] = 0;
      const double cached = in.F64();
      if (!book->evaluator.TranslateFormula(formula, sizeof formula, column, row, true))
        return record->BuildText(row, column, formula, uint16_t(used));
      FormulaCellFields fields;
      fields.formula = formula;
      fields.formulaLength = uint16_t(std::strlen(formula));
      fields.resultFlags = kResultCachedNumber;
      fields.cachedNumber = cached;
      return record->BuildFormula(row, column, fields);
    }
    default:
      ThrowOldBinaryError(kFileBadFormat);
  }
}

}  // namespace

void ReadOldWorksheetFormats(OldBinarySource& in, CWorkBook* book, CWorkSheet* sheet) {
  SheetFormat& format = sheet->format;
  const uint32_t rowCount = in.U32();
  if (rowCount > kRowCount)
    ThrowOldBinaryError(kFileBadFormat);
  ReadColumnRuns(in, [&](uint32_t c, uint16_t width) {
    if (width != kOldDefaultWidth)
      format.columns[c].SetWidth(width & kSizeBits, false);
  });
  ReadRowHeights(in, sheet, rowCount);
  const uint16_t styleCount = book->styles.styleCount;
  ReadColumnRuns(in, [&](uint32_t c, uint16_t style) { format.columns[c].SetStyle(style < styleCount ? style : 0); });
  format.ColumnsChanged();
  ReadStyleRuns(in, book, sheet);
}

void ReadOldCells(OldBinarySource& in, CWorkBook* book, CWorkSheet* sheet, bool wideRows) {
  static thread_local CellRecordBuffer record;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  book->evaluator.owner = book;
  book->evaluator.sheet = &sheet->cells;
  while (in.Position() < in.Limit()) {
    const uint32_t size = ReadCell(in, book, wideRows, &record);
    if (!size || !sheet->cells.InsertCell(record.Record(), &cursor))
      ThrowOldBinaryError(kFileOutOfMemory);
    if (in.HasError())
      ThrowOldBinaryError(kFileReadError);
  }
}
