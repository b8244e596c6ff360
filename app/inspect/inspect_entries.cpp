#include "app/inspect/inspect_entries.h"

#include <cstdio>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/base/global_options.h"
#include "core/edit/cell_display_text.h"
#include "core/formula/formula_ref_text.h"
#include "core/workbook/workbook.h"

namespace {

bool AppendEntry(CWorkBook* book, uint16_t column, uint32_t row, const char* path, const char* name) {
  InspectCellFields entry;
  entry.column = column;
  entry.row = row;
  entry.flags = kInspectCellFlags;
  std::snprintf(entry.path, sizeof entry.path, "%s", path);
  std::snprintf(entry.name, sizeof entry.name, "%s", name != nullptr ? name : "");
  uint8_t record[kInspectCellRecordSize];
  WriteInspectCell(entry, record);
  return book->inspectCells.Append(record);
}

bool ReadEntry(CWorkBook* book, uint32_t index, InspectCellFields* entry) {
  const uint8_t* record = book->inspectCells.At(index);
  if (record == nullptr) return false;
  ReadInspectCell(record, entry);
  return true;
}

void FormatAddress(CWorkBook* book, const InspectCellFields& entry, char* out, size_t size) {
  const RefCorner corner{entry.column, entry.row, kRefCell};
  char cell[32];
  BoundedText text(cell, sizeof cell);
  const bool written = AddressingA1 != 0 ? FormatA1Reference(text, corner)
                                         : FormatR1C1Reference(book->evaluator, text, corner);
  std::snprintf(out, size, "%s!%s", entry.path, written ? text.Text() : "");
}

}  // namespace

bool AddInspectEntries(CWorkBook* book, InspectAdd what, const UndoRange& selection, const char* name) {
  CWorkSheet* sheet = book->activeWorksheet;
  if (sheet == nullptr) return true;
  char path[kInspectPathSize];
  if (!sheet->GetFullPath(path, sizeof path)) path[0] = '\0';
  if (what == InspectAdd::kSelectedCells) {
    for (uint32_t row = selection.firstRow; row <= selection.lastRow; ++row)
      for (uint32_t column = selection.firstColumn; column <= selection.lastColumn; ++column)
        if (!AppendEntry(book, uint16_t(column), row, path, name)) return false;
    return true;
  }
  bool appended = true;
  ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
    if (!cell.IsFormula() || (what == InspectAdd::kFormulaErrors && cell.ErrorCode() == 0)) return true;
    appended = AppendEntry(book, cell.Column(), cell.Row(), path, name);
    return appended;
  });
  return appended;
}

void RenameInspectEntry(CWorkBook* book, uint32_t index, const char* name) {
  uint8_t* record = book->inspectCells.At(index);
  if (record == nullptr) return;
  InspectCellFields entry;
  ReadInspectCell(record, &entry);
  std::snprintf(entry.name, sizeof entry.name, "%s", name != nullptr ? name : "");
  WriteInspectCell(entry, record);
}

bool RemoveInspectEntry(CWorkBook* book, uint32_t index) {
  PagedArrayOf<kInspectCellRecordSize> kept;
  for (uint32_t i = 0; i < book->inspectCells.Count(); ++i)
    if (i != index && !kept.Append(book->inspectCells.At(i))) return false;
  book->inspectCells.SwapContents(kept);
  return true;
}

void RemoveAllInspectEntries(CWorkBook* book) { book->inspectCells.Clear(false); }

CWorkSheet* InspectEntryWorksheet(CWorkBook* book, const InspectCellFields& entry) {
  return CWorkSheet::FromItem(book->FindItemByPath(entry.path));
}

void FormatInspectRow(CWorkBook* book, uint32_t index, InspectRow* row) {
  std::memset(row, 0, sizeof *row);
  row->missing = true;
  InspectCellFields entry;
  if (!ReadEntry(book, index, &entry)) return;
  std::snprintf(row->name, sizeof row->name, "%s", entry.name);
  FormatAddress(book, entry, row->address, sizeof row->address);
  CWorkSheet* sheet = InspectEntryWorksheet(book, entry);
  const CellRecord* cell = sheet != nullptr ? sheet->cells.GetCell(entry.row, entry.column) : nullptr;
  if (cell == nullptr) return;
  row->missing = false;
  uint16_t lastColumn = entry.column;
  uint32_t lastRow = entry.row;
  if (cell->IsFormula()) {
    FormulaDisplayText(book->evaluator, *cell, row->formula, sizeof row->formula);
    // An array formula shows its whole result.
    if (cell->IsSpillingArrayFormula()) {
      const uint32_t columnEnd = uint32_t(entry.column) + cell->ArrayColumns() - 1;
      const uint64_t rowEnd = uint64_t(entry.row) + cell->ArrayRows() - 1;
      lastColumn = uint16_t(columnEnd > kMaxColumn ? kMaxColumn : columnEnd);
      lastRow = uint32_t(rowEnd > kMaxRow ? kMaxRow : rowEnd);
    }
  }
  sheet->GetCellText(book, row->value, sizeof row->value, entry.column, lastColumn, entry.row, lastRow, true,
                     false);
}
