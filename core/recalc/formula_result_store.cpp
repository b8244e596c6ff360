#include <cstdlib>
#include <cstring>

#include "core/base/error_code.h"
#include "core/recalc/formula_result.h"

namespace {

void MarkMemoryFailure(CellStore& store, uint16_t column, uint32_t row) {
  if (CellRecord* cell = store.GetCell(row, column)) {
    cell->SetType(static_cast<uint8_t>(kCellFormula | kErrorMemory));
    // Calculated all the same: a reader must not ask for it again in this pass.
    cell->SetResultFlags(static_cast<uint8_t>(cell->ResultFlags() | kResultCalculated));
  }
}

// The old result area of an array formula has to go before the cell holds a
// single value again, or its spill values would outlive the formula.
void DropFormerSpill(CellStore& store, const CellRecord* cell, uint16_t column, uint32_t row, bool* layoutChanged) {
  if (!cell->IsSpillingArrayFormula())
    return;
  DeleteOwnSpill(store, column, row, cell->ArrayColumns(), cell->ArrayRows());
  *layoutChanged = true;
}

// The result does not fit the record as it stands: the record is rebuilt
// around it (and the formula's former spill goes first).
bool RewriteWithResult(CellStore& store, const CellRecord* cell, uint16_t column, uint32_t row,
                       const FormulaCellFields& fields, bool* layoutChanged) {
  DropFormerSpill(store, cell, column, row, layoutChanged);
  cell = store.GetCell(row, column);
  *layoutChanged = true;
  if (!RewriteFormulaCell(store, cell, fields, nullptr)) {
    MarkMemoryFailure(store, column, row);
    return false;
  }
  return true;
}

bool StoreNumber(CellStore& store, CellRecord* cell, uint16_t column, uint32_t row, double number, uint8_t error,
                 bool* layoutChanged) {
  if (!cell)
    return true;
  const uint8_t flags = static_cast<uint8_t>(PassFlags(cell) | kResultCalculated | kResultCachedNumber);
  if (WriteNumberInPlace(cell, number, error, flags))
    return true;
  FormulaCellFields fields;
  fields.resultFlags = flags;
  fields.cachedNumber = number;
  fields.typeExtra = error;
  return RewriteWithResult(store, cell, column, row, fields, layoutChanged);
}

bool StoreText(CellStore& store, CellRecord* cell, uint16_t column, uint32_t row, const char* text, uint16_t length,
               uint8_t error, bool* layoutChanged) {
  if (!cell)
    return true;
  if (error)
    return StoreNumber(store, cell, column, row, 0.0, error, layoutChanged);
  const uint8_t flags = static_cast<uint8_t>(PassFlags(cell) | kResultCalculated | kResultCachedText);
  if (!(cell->ResultFlags() & kResultArray) && cell->HasCachedText() && cell->CachedTextLength() == length) {
    std::memcpy(cell->MutableCachedText(), text, length);
    cell->SetResultFlags(flags);
    cell->SetType(static_cast<uint8_t>(kCellFormula | error));
    return true;
  }
  FormulaCellFields fields;
  fields.resultFlags = flags;
  fields.cachedText = text;
  fields.cachedTextLength = length;
  fields.typeExtra = error;
  return RewriteWithResult(store, cell, column, row, fields, layoutChanged);
}

}  // namespace

bool RewriteFormulaCell(CellStore& store, const CellRecord* cell, const FormulaCellFields& result, CellCursor* at) {
  if (!cell)
    return false;
  FormulaCellFields fields = result;
  fields.formula = cell->FormulaText();
  fields.formulaLength = cell->FormulaLength();
  const size_t capacity = kFormulaCellHeadSize + fields.formulaLength + kCachedTextLengthSize +
                          (fields.cachedText ? fields.cachedTextLength : 0);
  uint8_t* buffer = static_cast<uint8_t*>(std::malloc(capacity));
  if (!buffer)
    return false;
  bool stored = false;
  if (BuildFormulaCell(buffer, capacity, cell->Row(), cell->Column(), fields)) {
    CellRecord* record = AsCellRecord(buffer);
    record->SetPending(cell->Pending());
    record->SetDependantColumn(cell->DependantColumn());
    record->SetDependantRow(cell->DependantRow());
    record->SetDependantSheet(cell->DependantSheet());
    stored = store.InsertCell(record, at);
  }
  std::free(buffer);
  return stored;
}

bool StoreFormulaResult(EvalState& state, uint32_t kind, CellStore& store, CellRecord* cell, CellBlock* block,
                        uint16_t column, uint32_t row, bool* layoutChanged) {
  if (!cell)
    cell = store.GetCell(row, column);
  const EvalValue& result = state.operands[1];
  const uint8_t error = static_cast<uint8_t>(result.error & kCellErrorMask);
  // A single value takes the place of a result area the pass knew.
  if (kind != kEvalArray && cell && cell->IsSpillingArrayFormula())
    ++state.spillAreasChanged;
  switch (kind) {
    case kEvalNumber:
      return StoreNumber(store, cell, column, row, result.kind == kEvalNumber ? result.number : 0.0, error,
                         layoutChanged);
    case kEvalText: {
      size_t length = state.SlotTextLength(1);
      if (length > 0xFFFF)
        length = 0xFFFF;
      const bool stored =
          StoreText(store, cell, column, row, state.SlotText(1), static_cast<uint16_t>(length), error, layoutChanged);
      state.DisownSlot(1);
      return stored;
    }
    case kEvalArray:
      return StoreArrayResult(state, store, cell, block, column, row, layoutChanged);
    default:
      return StoreFormulaError(state, store, cell, column, row, kErrorSyntax, false, layoutChanged);
  }
}

bool StoreFormulaError(EvalState& state, CellStore& store, CellRecord* cell, uint16_t column, uint32_t row,
                       uint8_t error, bool arrayResult, bool* layoutChanged) {
  if (!cell)
    cell = store.GetCell(row, column);
  if (!cell)
    return true;
  // Nor does an error own a result area: values left there would show a
  // result the formula no longer has, and a formula that reads its own
  // area would find it there in one pass and not in the next.
  if (cell->IsSpillingArrayFormula() && (cell->ArrayColumns() > 1 || cell->ArrayRows() > 1)) {
    DeleteOwnSpill(store, column, row, cell->ArrayColumns(), cell->ArrayRows());
    *layoutChanged = true;
    ++state.spillAreasChanged;
    cell = store.GetCell(row, column);
    if (!cell)
      return true;
    cell->SetArrayColumns(1);
    cell->SetArrayRows(1);
  }
  const uint8_t kept = static_cast<uint8_t>(PassFlags(cell) | (arrayResult ? kResultArray : 0));
  const uint8_t flags = static_cast<uint8_t>(kept | kResultCalculated | kResultCachedNumber);
  if (!cell->HasCachedText()) {
    cell->SetCachedNumber(0.0);
    cell->SetResultFlags(flags);
    cell->SetType(static_cast<uint8_t>(kCellFormula | error));
    return true;
  }
  FormulaCellFields fields;
  fields.resultFlags = flags;
  fields.typeExtra = error;
  fields.arrayColumns = cell->ArrayColumns();
  fields.arrayRows = cell->ArrayRows();
  *layoutChanged = true;
  if (!RewriteFormulaCell(store, cell, fields, nullptr)) {
    MarkMemoryFailure(store, column, row);
    return false;
  }
  return true;
}
