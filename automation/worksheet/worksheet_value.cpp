#include "automation/worksheet/worksheet_value.h"

#include <cstring>

#include "core/cells/cell_record_buffer.h"
#include "core/edit/cell_input.h"

namespace {

// Builds the value's record for cell (row, column) into record; 0 for an
// empty value.
uint32_t BuildValueRecord(const WorksheetValue& value, uint32_t row, uint16_t column, CellRecordBuffer* record) {
  switch (value.kind) {
    case kWorksheetNumber:
      return record->BuildNumber(row, column, value.number);
    case kWorksheetText: {
      const uint16_t length = value.length < kMaxCellTextLength ? value.length : kMaxCellTextLength;
      return record->BuildText(row, column, value.text, length);
    }
    case kWorksheetError:
      return record->BuildNumber(row, column, 0.0, static_cast<uint8_t>(value.error * kErrorCodeStep));
    default:
      return 0;
  }
}

// Inserts the record at every cell of the rectangle, row by row.
bool FillRangeWithRecord(CellStore* cells, const CellRange& range, CellRecord* record) {
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
    for (uint32_t column = range.firstColumn; column <= range.lastColumn; ++column) {
      record->SetRow(row);
      record->SetColumn(static_cast<uint16_t>(column));
      if (!cells->InsertCell(record, &cursor)) return false;
    }
  }
  return true;
}

}  // namespace

WorksheetValue ReadWorksheetValue(const CellRecord* cell) {
  WorksheetValue value = {};
  if (cell == nullptr) return value;
  if (cell->ErrorCode() != 0) {
    value.kind = kWorksheetError;
    value.error = static_cast<uint8_t>(cell->ErrorCode() / kErrorCodeStep);
  } else if (cell->IsNumber()) {
    value.kind = kWorksheetNumber;
    value.number = cell->Number();
  } else if (cell->IsText()) {
    value.kind = kWorksheetText;
    value.text = cell->Text();
    value.length = cell->TextLength();
  } else if (cell->HasCachedText()) {
    value.kind = kWorksheetText;
    value.text = cell->CachedText();
    value.length = cell->CachedTextLength();
  } else {
    value.kind = kWorksheetNumber;
    value.number = cell->CachedNumber();
  }
  return value;
}

bool StoreWorksheetValue(CellStore* cells, uint32_t row, uint16_t column, const WorksheetValue& value,
                         CellCursor* cursor) {
  CellRecordBuffer record;
  const uint32_t size = BuildValueRecord(value, row, column, &record);
  return size == 0 || cells->InsertCell(record.Record(), cursor);
}

bool FillRangeWithValue(CellStore* cells, const CellRange& range, const WorksheetValue& value) {
  cells->DeleteRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr, false);
  CellRecordBuffer record;
  if (BuildValueRecord(value, range.firstRow, range.firstColumn, &record) == 0) return true;
  return FillRangeWithRecord(cells, range, record.Record());
}

bool FillRangeWithFormula(CellStore* cells, const CellRange& range, const char* storedFormula) {
  uint8_t buffer[kCellInputCapacity];
  FormulaCellFields fields;
  fields.formula = storedFormula;
  fields.formulaLength = static_cast<uint16_t>(strnlen(storedFormula, kFormulaTextCapacity));
  // The client's own formula may call other programs (RTD, UDF) even in a
  // document loaded from a file, whose own formulas may not.
  fields.resultFlags = kResultCachedNumber | kResultClientFormula;
  fields.cachedNumber = 0.0;
  if (BuildFormulaCell(buffer, sizeof buffer, range.firstRow, range.firstColumn, fields) == 0) return false;
  return FillRangeWithRecord(cells, range, AsCellRecord(buffer));
}
