#include <cstring>

#include "core/base/error_code.h"
#include "core/eval/eval_array_builder.h"
#include "core/eval/spill_extents.h"
#include "core/formula/eval_state.h"
#include "core/formula/kept_cell_lookups.h"
#include "core/base/result_check.h"
#include "core/workbook/workbook.h"

namespace {

uint32_t LargerError(uint32_t a, uint32_t b) { return a > b ? a : b; }

void MakeEmpty(EvalValue& value, uint32_t error) {
  value.Clear();
  value.kind = kEvalEmpty;
  value.error = error;
}

uint32_t RangeColumns(const EvalValue& value) { return value.second.column - value.first.column + 1; }
uint32_t RangeRows(const EvalValue& value) { return value.second.row - value.first.row + 1; }

// Copies the cells of the rectangle of source into builder, shifted so that
// the rectangle's first corner lands at (0, rowOffset). Formula cells, and
// spill areas, not yet calculated in this pass are noted as pending against
// store.
bool CopyRangeCells(EvalState& state, ArrayBuilder& builder, CellStore* store, const EvalValue& range,
                    uint32_t rowOffset) {
  // Every cell of the rectangle is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  state.NoteSpillAreaMeeting(store, range.first.column, range.second.column, range.first.row, range.second.row);
  CellCursor cursor = store->StartRangeWalk(range.first.row);
  bool stored = true;
  while (const CellRecord* cell = NextCellInRange(cursor, static_cast<uint16_t>(range.first.column),
                                                  static_cast<uint16_t>(range.second.column), range.first.row,
                                                  range.second.row)) {
    state.NotePending(cell, store);
    if (!builder.AddCellValue(cell->Column() - range.first.column, cell->Row() - range.first.row + rowOffset,
                              cell)) {
      // Where room ran out may depend on the texts of cells not yet calculated.
      state.pendingGather.Close();
      stored = false;
      break;
    }
  }
  return stored;
}

// Ends an array value: its chain on the array stack, or the error when it
// could not be built or kept.
void FinishArray(EvalState& state, EvalValue& value, ArrayBuilder& builder, uint32_t columns, uint32_t rows) {
  const bool failed = builder.Failed();
  CellBlock* chain = builder.Finish();
  if (failed) {
    MakeEmpty(value, kErrorMemory);
    return;
  }
  if (!state.arrays.PushChain(chain)) {
    state.arrays.ReleaseChain(chain);
    MakeEmpty(value, kErrorValue);
    return;
  }
  value.Clear();
  value.SetArray(columns, rows);
}

}  // namespace

void EvalState::NoteCellRead(const CellRecord* cell, CellStore* store) {
  // The first cell noted is the one recalculation computes first. Every
  // call below is the last thing done, which keeps this common path short.
  if (!store) return;
  if (pending.kind != kEvalInvalid) {
    if (pendingGather.Open()) NoteFurtherPending(cell, store);
    return;
  }
  if (cell->IsSpillValue()) {
    // The value is as fresh as the array formula that wrote it.
    NoteSpillAreaMeeting(store, cell->Column(), cell->Column(), cell->Row(), cell->Row());
    return;
  }
  if (!cell->IsFormula() || (cell->ResultFlags() & kResultCalculated)) return;
  NoteFirstPending(cell, store);
}

void EvalState::NoteFirstPending(const CellRecord* cell, CellStore* store) {
  SetPendingCell(store, cell->Column(), cell->Row());
  pendingGather.NoteFirst(store, cell);
}

void EvalState::NoteFurtherPending(const CellRecord* cell, CellStore* store) {
  if (cell->IsSpillValue()) {
    // Its area's formula may be the one to wait for: that is not judged here.
    if (spillAreaCount != 0) pendingGather.Close();
    return;
  }
  if (cell->IsFormula() && !(cell->ResultFlags() & kResultCalculated)) pendingGather.NoteFurther(store, cell);
}

void EvalState::NoteStaleSpillArea(CellStore* store, uint32_t firstColumn, uint32_t lastColumn, uint32_t firstRow,
                                   uint32_t lastRow) {
  if (!store || pending.kind != kEvalInvalid) return;
  const SpillExtent* area =
      FindStaleSpillArea(spillAreas, spillAreaCount, store, firstColumn, lastColumn, firstRow, lastRow);
  if (!area) return;
  NotePending(store->GetCell(area->row, area->column), store);
  if (pending.kind != kEvalInvalid) {
    pending.error = kPendingForResultArea;
    // Waiting for an area, not a value: nothing after it is gathered.
    pendingGather.Close();
  }
}

void EvalState::CellToValue(EvalValue& value, const CellRecord* cell) {
  CellStore* store = value.sheet;
  const uint32_t error = value.error;
  MakeEmpty(value, error);
  if (!cell) return;
  NotePending(cell, store);
  const uint32_t cellError = LargerError(error, cell->ErrorCode());
  const char* text = nullptr;
  size_t length = 0;
  if (cell->IsText()) {
    text = cell->Text();
    length = cell->TextLength();
  } else if (cell->IsFormula() && cell->HasCachedText()) {
    text = cell->CachedText();
    length = cell->CachedTextLength();
  }
  if (text) {
    if (strings.Push(text, length)) {
      value.kind = kEvalText;
      value.error = cellError;
    } else {
      value.error = LargerError(cellError, kErrorValue);
    }
    return;
  }
  value.error = cellError;
  if (cell->IsNumber() || cell->IsFormula()) {
    value.kind = kEvalNumber;
    value.number = cell->IsNumber() ? cell->Number() : cell->CachedNumber();
    // A stored number the result check refuses is read as "#NUM!".
    if (IsBadNumber(value.number)) {
      value.number = 0;
      value.error = LargerError(value.error, kErrorNum);
    }
  }
}

void EvalState::ResolveReference(EvalValue& value) {
  if (value.kind != kEvalCellRef) return;
  if (value.error != kErrorNone || !value.sheet) {
    MakeEmpty(value, value.error);
    return;
  }
  const uint16_t cellColumn = static_cast<uint16_t>(value.cell.column);
  const CellRecord* cell = keptCells ? keptCells->Find(*value.sheet, value.cell.row, cellColumn)
                                     : value.sheet->GetCell(value.cell.row, cellColumn);
  if (!cell) NoteSpillAreaMeeting(value.sheet, value.cell.column, value.cell.column, value.cell.row, value.cell.row);
  CellToValue(value, cell);
}

void EvalState::ResolveCellOperand(uint16_t slot) {
  ResolveReference(operands[slot]);
  KeepInStep(slot);
}

void EvalState::RangeToArray(EvalValue& value) {
  if (value.kind == kEvalCellRef) {
    value.first = value.second = value.cell;
    value.kind = kEvalRange;
  }
  if (value.kind != kEvalRange) return;
  if (value.error != kErrorNone) {
    MakeEmpty(value, value.error);
    return;
  }
  const uint32_t columns = RangeColumns(value);
  const uint32_t rows = RangeRows(value);
  ArrayBuilder builder(arrays, &arrayElementsLeft);
  if (value.sheet) CopyRangeCells(*this, builder, value.sheet, value, 0);
  FinishArray(*this, value, builder, columns, rows);
}

void EvalState::RangeOperandToArray(uint16_t slot) {
  if (slot == 0 || slot >= kStackSlots) return;
  if (operands[slot].kind != kEvalRange && operands[slot].kind != kEvalCellRef) return;
  RangeToArray(operands[slot]);
  KeepInStep(slot);
}

void EvalState::FolderRangeToArray(EvalValue& value, const CWorkSheetTree::CTreeItem* folder) {
  if (value.kind == kEvalCellRef) {
    value.first = value.second = value.cell;
    value.kind = kEvalRange;
  }
  if (value.kind != kEvalRange || !folder) {
    MakeEmpty(value, LargerError(value.error, kErrorValue));
    return;
  }
  if (value.error != kErrorNone) {
    MakeEmpty(value, value.error);
    return;
  }
  const uint32_t columns = RangeColumns(value);
  const uint32_t height = RangeRows(value);
  ArrayBuilder builder(arrays, &arrayElementsLeft);
  uint64_t items = 0;
  for (const CWorkSheetTree::CTreeItem* item = folder->next; item && item->depth > folder->depth;
       item = item->next, ++items) {
    const uint64_t rowOffset = items * height;
    if (rowOffset + height > kRowCount) {
      MakeEmpty(value, kErrorRef);
      return;
    }
    if (item->IsWorksheet() && item->cellStore &&
        !CopyRangeCells(*this, builder, item->cellStore, value, static_cast<uint32_t>(rowOffset)))
      break;
  }
  // An empty folder still gives the shape of one range, without cells.
  const uint64_t rows = (items ? items : 1) * height;
  FinishArray(*this, value, builder, columns, static_cast<uint32_t>(rows));
}

bool EvalState::GetSheetFolderPath(const CellStore* store, char* buffer) const {
  buffer[0] = '\0';
  if (!owner) return false;
  const CWorkSheet* worksheet = owner->FindWorksheetByStore(store);
  return worksheet && worksheet->GetFullPath(buffer, kTreePathCapacity, true);
}
