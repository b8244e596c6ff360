#include <cstring>

#include "core/formula/eval_state.h"
#include "core/edit/reference_adjust.h"

namespace {

// Builds the record of a formula cell with a new text: the old head (its
// position replaced) and the cached text, when the old record had one.
uint32_t BuildRewrittenFormula(uint8_t* buffer, size_t capacity, const CellRecord& old, uint32_t row,
                               uint16_t column, const char* text, uint16_t length) {
  const uint32_t cached = old.HasCachedText() ? kCachedTextLengthSize + old.CachedTextLength() : 0;
  const uint32_t size = kFormulaCellHeadSize + length + cached;
  if (size > capacity) return 0;
  std::memcpy(buffer, old.Bytes(), kFormulaCellHeadSize);
  std::memcpy(buffer + offsetof(FormulaCellHead, formulaLength), &length, sizeof length);
  std::memcpy(buffer + kFormulaCellHeadSize, text, length);
  if (cached)
    std::memcpy(buffer + kFormulaCellHeadSize + length, old.Bytes() + kFormulaCellHeadSize + old.FormulaLength(),
                cached);
  CellRecord* record = AsCellRecord(buffer);
  record->SetRow(row);
  record->SetColumn(column);
  return size;
}

bool KeyBefore(uint32_t row, uint32_t column, uint32_t otherRow, uint32_t otherColumn) {
  return row < otherRow || (row == otherRow && column < otherColumn);
}

}  // namespace

bool CollectAdjustedFormulas(EvalState& state, CellStore* store, uint32_t operation, const CellRange& area,
                             bool storeEdited, CellStore* rewritten, uint8_t* failure, CellStore* originals) {
  *failure = kAdjustNoFailure;
  rewritten->Clear(false);
  if (originals) originals->Clear(false);
  CellCursor originalAt;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = store->FirstBlock();
  CellCursor insertAt;
  uint32_t lastRow = 0;
  uint32_t lastColumn = 0;
  char text[kFormulaTextCapacity + 1];
  uint8_t record[kBlockPayload];
  while (const CellRecord* cell = walk.Next()) {
    if (!cell->IsFormula()) continue;
    uint32_t column = cell->Column();
    uint32_t row = cell->Row();
    if (!storeEdited && !CellAfterEdit(operation, area, cell->Column(), cell->Row(), &column, &row)) continue;
    if (column >= kColumnCount || row >= kRowCount) {
      *failure = kAdjustOffGrid;
      return false;
    }
    // Longer texts come only from elsewhere; one that cannot be read whole
    // cannot be rewritten safely.
    if (cell->FormulaLength() > kFormulaTextCapacity) {
      *failure = kAdjustTooLong;
      return false;
    }
    std::memcpy(text, cell->FormulaText(), cell->FormulaLength());
    text[cell->FormulaLength()] = '\0';
    bool changed = false;
    if (!AdjustReferences(state, text, sizeof text, column, row, operation, area, &changed, failure)) return false;
    if (!changed) continue;
    const uint32_t size = BuildRewrittenFormula(record, sizeof record, *cell, row, static_cast<uint16_t>(column),
                                                text, static_cast<uint16_t>(std::strlen(text)));
    if (size == 0) {
      *failure = kAdjustTooLong;
      return false;
    }
    // A transposition hands the cells out of order.
    if (KeyBefore(row, column, lastRow, lastColumn)) insertAt = CellCursor();
    lastRow = row;
    lastColumn = column;
    if (!rewritten->InsertCell(AsCellRecord(record), &insertAt) ||
        (originals && !originals->AppendCell(cell, &originalAt))) {
      *failure = kAdjustOutOfMemory;
      rewritten->Clear(false);
      if (originals) originals->Clear(false);
      return false;
    }
  }
  return true;
}

bool RestoreFormulaTexts(CellStore* store, const CellStore& kept, uint8_t* failure) {
  *failure = kAdjustNoFailure;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = kept.FirstBlock();
  uint8_t record[kBlockPayload];
  while (const CellRecord* original = walk.Next()) {
    CellRecord* present = store->GetCell(original->Row(), original->Column());
    if (!present || !present->IsFormula()) continue;
    const uint32_t size = BuildRewrittenFormula(record, sizeof record, *present, original->Row(), original->Column(),
                                                original->FormulaText(), original->FormulaLength());
    if (size == 0 || !store->InsertCell(AsCellRecord(record), nullptr)) {
      *failure = kAdjustOutOfMemory;
      return false;
    }
  }
  return true;
}

bool ApplyAdjustedFormulas(CellStore* store, CellStore* rewritten, uint8_t* failure) {
  *failure = kAdjustNoFailure;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = rewritten->FirstBlock();
  CellCursor at;
  while (const CellRecord* record = walk.Next()) {
    CellRecord* old = store->FindCell(record->Row(), record->Column(), &at);
    if (!old || !old->IsFormula()) continue;
    const uint32_t size = record->Size();
    if (old->Size() == size) {
      std::memcpy(old->Bytes(), record->Bytes(), size);
    } else if (!store->InsertCell(record, &at)) {
      *failure = kAdjustOutOfMemory;
      return false;
    }
  }
  return true;
}

bool NotifyFormulas(EvalState& state, CellStore* store, uint32_t operation, const CellRange& area,
                    uint8_t* failure) {
  uint8_t localFailure = kAdjustNoFailure;
  uint8_t& why = failure ? *failure : localFailure;
  CellStore rewritten;
  if (!CollectAdjustedFormulas(state, store, operation, area, true, &rewritten, &why)) return false;
  return ApplyAdjustedFormulas(store, &rewritten, &why);
}
