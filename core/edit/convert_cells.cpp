// The converting modes of CWorkSheet::TransformCells: formulas to their
// values, labels to numbers, numbers to labels.

#include <cstring>
#include <memory>
#include <new>

#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/edit/cell_text.h"
#include "core/edit/convert_cells.h"
#include "core/edit/sheet_backup.h"
#include "core/workbook/workbook.h"

namespace {

struct Converter {
  Converter(CWorkBook* workbook, CWorkSheet* sheetToConvert)
      : sheet(sheetToConvert), formats{&sheetToConvert->format, &workbook->styles} {}

  CWorkSheet* sheet;
  CellFormats formats;
  CellStore converted;
  CellCursor at;
  uint8_t record[kCellInputCapacity] = {};

  bool Keep(uint32_t size) { return size != 0 && converted.InsertCell(AsCellRecord(record), &at); }

  // A formula's present result as a plain cell; the values an array formula
  // spilled become plain cells with it, wherever they lie, since nothing
  // would own them any more.
  bool FormulaToValue(const CellRecord& cell) {
    const uint32_t row = cell.Row();
    const uint16_t column = cell.Column();
    const uint32_t size =
        cell.HasCachedText()
            ? BuildTextCell(record, sizeof record, row, column, cell.CachedText(), cell.CachedTextLength(),
                            cell.ErrorCode())
            : BuildNumberCell(record, sizeof record, row, column, cell.CachedNumber(), cell.ErrorCode());
    if (!Keep(size))
      return false;
    if (!cell.IsSpillingArrayFormula())
      return true;
    const uint32_t lastColumn = uint32_t(column) + cell.ArrayColumns() - 1;
    const uint64_t lastRow = uint64_t(row) + cell.ArrayRows() - 1;
    CellCursor walk = sheet->cells.StartRangeWalk(row);
    while (const CellRecord* value =
               walk.NextInRange(column, uint16_t(lastColumn > kMaxColumn ? kMaxColumn : lastColumn), row,
                                uint32_t(lastRow > kMaxRow ? kMaxRow : lastRow))) {
      if (!value->IsSpillValue())
        continue;
      const uint32_t valueSize = value->Size();
      std::memcpy(record, value->Bytes(), valueSize);
      AsCellRecord(record)->SetType(uint8_t(value->Type() & ~kCellSpillValue));
      // Out of the walk's order: the insert finds its own place.
      if (!converted.InsertCell(AsCellRecord(record), nullptr))
        return false;
    }
    at = CellCursor();
    return true;
  }

  // A label whose text types as a plain number becomes that number; other
  // labels (dates, errors, texts) stay.
  bool LabelToNumber(const CellRecord& cell) {
    char text[kCellTextCapacity];
    const size_t length = cell.TextLength() < sizeof text - 1 ? cell.TextLength() : sizeof text - 1;
    std::memcpy(text, cell.Text(), length);
    text[length] = '\0';
    NumFormatParams format = formats.At(cell.Row(), cell.Column());
    const uint32_t size = ParseValueInput(text, &format, cell.Row(), cell.Column(), record, sizeof record);
    const CellRecord* parsed = AsCellRecord(record);
    if (size == 0 || !parsed->IsNumber() || parsed->ErrorCode() != kErrorNone)
      return true;
    return Keep(size);
  }

  // A number becomes the text it shows.
  bool NumberToLabel(const CellRecord& cell) {
    if (cell.ErrorCode() != kErrorNone)
      return true;
    char text[kCellTextCapacity];
    FormatCellDisplayText(cell, formats.At(cell.Row(), cell.Column()), text, sizeof text);
    return Keep(BuildTextCell(record, sizeof record, cell.Row(), cell.Column(), text, uint16_t(std::strlen(text))));
  }
};

}  // namespace

bool ConvertCells(CWorkBook* workbook, CWorkSheet* sheet, uint16_t firstColumn, uint16_t lastColumn,
                  uint32_t firstRow, uint32_t lastRow, uint8_t mode) {
  std::unique_ptr<Converter> converter(new (std::nothrow) Converter(workbook, sheet));
  if (!converter) {
    workbook->error = kWorkbookOutOfMemory;
    return false;
  }
  bool done = true;
  CellCursor walk = sheet->cells.StartRangeWalk(firstRow);
  while (done) {
    const CellRecord* cell = walk.NextInRange(firstColumn, lastColumn, firstRow, lastRow);
    if (!cell)
      break;
    // Values an array formula spilled are its results, not cells of their own.
    if (cell->IsSpillValue())
      continue;
    if (mode == kTransformFormulasToValues && cell->IsFormula())
      done = converter->FormulaToValue(*cell);
    else if (mode == kTransformLabelsToNumbers && cell->IsText())
      done = converter->LabelToNumber(*cell);
    else if (mode == kTransformNumbersToLabels && cell->IsNumber())
      done = converter->NumberToLabel(*cell);
  }
  if (!done) {
    workbook->error = kWorkbookOutOfMemory;
    return false;
  }
  if (!converter->converted.FirstBlock())
    return true;
  // The new cells replace the old ones whole or not at all.
  std::unique_ptr<SheetBackup> backup(new (std::nothrow) SheetBackup);
  if (!backup || !backup->Take(sheet)) {
    workbook->error = kWorkbookOutOfMemory;
    return false;
  }
  CellCursor read;
  read.flags = kCursorAfterRecord;
  read.block = converter->converted.FirstBlock();
  CellCursor write;
  while (const CellRecord* record = read.Next())
    if (!sheet->cells.InsertCell(record, &write)) {
      backup->PutBack(sheet);
      workbook->error = kWorkbookOutOfMemory;
      return false;
    }
  return true;
}
