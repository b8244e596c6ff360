#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/base/error_code.h"
#include "core/eval/spill_extents.h"
#include "core/recalc/formula_result.h"

namespace {

struct Area {
  uint16_t firstColumn;
  uint16_t lastColumn;
  uint32_t firstRow;
  uint32_t lastRow;

  bool Contains(uint16_t column, uint32_t row) const {
    return column >= firstColumn && column <= lastColumn && row >= firstRow && row <= lastRow;
  }
  bool Meets(const Area& other) const {
    return firstColumn <= other.lastColumn && other.firstColumn <= lastColumn && firstRow <= other.lastRow &&
           other.firstRow <= lastRow;
  }
};

// The area a spilling array formula's result covers, cut at the grid.
Area SpillArea(uint16_t column, uint32_t row, uint32_t columns, uint32_t rows) {
  uint32_t lastColumn = column + (columns ? columns - 1 : 0);
  uint64_t lastRow = uint64_t(row) + (rows ? rows - 1 : 0);
  if (lastColumn > kMaxColumn)
    lastColumn = kMaxColumn;
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;
  return Area{column, static_cast<uint16_t>(lastColumn), row, static_cast<uint32_t>(lastRow)};
}

// The result area the formula cell owns now; its own cell alone when it
// spills nothing.
Area OwnedArea(const CellRecord* cell) {
  if (!cell->IsSpillingArrayFormula())
    return Area{cell->Column(), cell->Column(), cell->Row(), cell->Row()};
  return SpillArea(cell->Column(), cell->Row(), cell->ArrayColumns(), cell->ArrayRows());
}

// Whose result area other than the formula's at (column, row) meets the
// area: one of a formula before it in storage order, whose values must not
// be overwritten; else only ones of formulas after it; else none.
enum OtherSpill { kNoOtherSpill, kLaterSpill, kEarlierSpill };

OtherSpill OtherSpillMeeting(const CellStore& store, const Area& area, uint16_t column, uint32_t row) {
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = store.FirstBlock();
  OtherSpill found = kNoOtherSpill;
  while (const CellRecord* cell = cursor.Next()) {
    if (cell->Row() > area.lastRow)
      break;
    if (cell->IsSpillingArrayFormula() && !(cell->Column() == column && cell->Row() == row)) {
      Area other = OwnedArea(cell);
      if (!other.Meets(area))
        continue;
      if (cell->Row() < row || (cell->Row() == row && cell->Column() < column))
        return kEarlierSpill;
      found = kLaterSpill;
    }
  }
  return found;
}

// A walk of an area whose first cell is the formula cell at place: it
// starts there, since the cells before it in its row lie outside the area.
CellCursor WalkFromFormula(const CellStore& store, const CellCursor& place) {
  CellCursor walk = place;
  walk.flags = kCursorAfterRecord;
  walk.rows = &store;
  return walk;
}

// Whether the area may take the result: only spill values of this formula,
// of no live formula, or of a formula after it in storage order may stand
// there. Of two results that meet, the formula first in storage order wins,
// whichever was calculated first and whatever the areas held before, so
// that the workbook shows the same results whatever edits led to it. The
// later one's values taken over count as a change of the areas (the later
// formula finds them blocking it in the next pass). The walk starts at
// place, the formula cell.
bool SpillIsBlocked(EvalState& state, const CellStore& store, const CellCursor& place, const Area& area,
                    const Area& owned, uint16_t column, uint32_t row) {
  CellCursor cursor = WalkFromFormula(store, place);
  bool foreignSpill = false;
  while (const CellRecord* cell = cursor.NextInRange(area.firstColumn, area.lastColumn, area.firstRow, area.lastRow)) {
    if (cell->Column() == column && cell->Row() == row)
      continue;
    if (!cell->IsSpillValue())
      return true;
    if (!owned.Contains(cell->Column(), cell->Row()))
      foreignSpill = true;
  }
  if (!foreignSpill)
    return false;
  const OtherSpill other = OtherSpillMeeting(store, area, column, row);
  if (other == kLaterSpill)
    ++state.spillAreasChanged;
  return other == kEarlierSpill;
}

// CellCursor::Next for the usual case of a record left in the cursor's
// block, without the call; the rest goes to Next itself.
inline CellRecord* StepNext(CellCursor& cursor) {
  CellBlock* block = cursor.block;
  if (block && cursor.offset < block->used) {
    CellRecord* record = AsCellRecord(block->payload + cursor.offset);
    if (cursor.flags & kCursorAfterRecord)
      cursor.offset = static_cast<uint16_t>(cursor.offset + record->Size());
    return record;
  }
  return cursor.Next();
}

// The record of element (0, 0) when the chain starts with it.
const CellRecord* FirstElement(CellBlock* chain) {
  for (CellBlock* block = chain; block; block = block->next) {
    if (block->used == 0)
      continue;
    const CellRecord* cell = AsCellRecord(block->payload);
    return cell->Row() == 0 && cell->Column() == 0 ? cell : nullptr;
  }
  return nullptr;
}

// Writes every element but (0, 0) as a spill value; false when a block cannot be had.
// from, when given, stands on the formula cell's record.
bool WriteSpillValues(CellStore& store, CellBlock* chain, uint16_t column, uint32_t row, const CellCursor* from) {
  uint8_t buffer[kBlockPayload];
  CellCursor out;
  if (from)
    out = *from;
  out.flags = kCursorAfterRecord;
  CellCursor in;
  in.flags = kCursorAfterRecord;
  in.block = chain;
  uint32_t size = 0;
  while (const CellRecord* element = in.Next(&size)) {
    if (element->Row() == 0 && element->Column() == 0)
      continue;
    if (size == 0 || size > sizeof buffer)
      return false;
    const uint16_t c = static_cast<uint16_t>(column + element->Column());
    const uint32_t r = row + element->Row();
    const uint8_t extra = static_cast<uint8_t>(element->ErrorCode() | kCellSpillValue);
    if (element->ErrorCode()) {
      // A value with an error holds nothing else (see StoreFormulaError).
      if (!BuildNumberCell(buffer, sizeof buffer, r, c, 0.0, extra) || !store.InsertCell(AsCellRecord(buffer), &out))
        return false;
      continue;
    }
    if (element->IsFormula()) {
      // A result cell is a value: a copied formula gives its cached value.
      const uint32_t built =
          element->HasCachedText()
              ? BuildTextCell(buffer, sizeof buffer, r, c, element->CachedText(), element->CachedTextLength(), extra)
              : BuildNumberCell(buffer, sizeof buffer, r, c, element->CachedNumber(), extra);
      if (!built || !store.InsertCell(AsCellRecord(buffer), &out))
        return false;
      continue;
    }
    std::memcpy(buffer, element, size);
    CellRecord* record = AsCellRecord(buffer);
    record->SetColumn(c);
    record->SetRow(r);
    record->SetType(static_cast<uint8_t>(record->Type() | kCellSpillValue));
    if (!store.InsertCell(record, &out))
      return false;
  }
  return true;
}

// The element's number when it gives one to a spill value: a number, or a
// copied formula's cached number.
bool ElementNumber(const CellRecord* element, double* number) {
  if (element->ErrorCode()) {
    *number = 0.0;
    return true;
  }
  if (element->IsNumber()) {
    *number = element->Number();
    return true;
  }
  if (element->IsFormula() && !element->HasCachedText()) {
    *number = element->CachedNumber();
    return true;
  }
  return false;
}

// A result of numbers of the same extent as the one the formula spilled
// before, each element where a spill value of a number stands, is written
// over the old values: the records keep their places, so the positions and
// row index that the pass's readers hold stay good. Such an area holds only
// the formula's own spill values, so nothing can block it. False, with
// nothing written, when the result does not fit so.
bool OverwriteSpilledNumbers(CellStore& store, const CellCursor& place, CellRecord* cell, CellBlock* chain,
                             uint32_t columns, uint32_t rows) {
  if (!cell->IsSpillingArrayFormula() || cell->HasCachedText() || cell->ArrayColumns() != columns ||
      cell->ArrayRows() != rows)
    return false;
  const uint16_t column = cell->Column();
  const uint32_t row = cell->Row();
  const Area area = SpillArea(column, row, columns, rows);
  const CellRecord* first = FirstElement(chain);
  double firstNumber = 0;
  if (first && !ElementNumber(first, &firstNumber))
    return false;
  // The values of a small result are noted while they are checked and then
  // written without a second walk; a larger one is walked again to write.
  constexpr uint32_t kNoted = 16;
  CellRecord* noted[kNoted];
  double numbers[kNoted];
  uint8_t errors[kNoted];
  uint32_t count = 0;
  // The area's records in storage order. Those of a single row follow the
  // formula's own record directly, so they are stepped over one by one
  // rather than searched for.
  auto nextValue = [&](CellCursor& values) -> CellRecord* {
    if (rows != 1)
      return values.NextInRange(area.firstColumn, area.lastColumn, area.firstRow, area.lastRow);
    CellRecord* value = StepNext(values);
    return value && value->Row() == row && value->Column() <= area.lastColumn ? value : nullptr;
  };
  for (int writing = 0; writing < 2; ++writing) {
    CellCursor values = WalkFromFormula(store, place);
    CellCursor elements;
    elements.flags = kCursorAfterRecord;
    elements.block = chain;
    for (;;) {
      CellRecord* value = nextValue(values);
      if (value == cell)
        value = nextValue(values);
      const CellRecord* element = StepNext(elements);
      if (element && element->Row() == 0 && element->Column() == 0)
        element = StepNext(elements);
      if (!value || !element) {
        if (value || element)
          return false;
        break;
      }
      double number = 0;
      if (!value->IsSpillValue() || !value->IsNumber() || !ElementNumber(element, &number) ||
          value->Column() != column + element->Column() || value->Row() != row + element->Row())
        return false;
      if (writing) {
        value->SetNumber(number);
        value->SetType(static_cast<uint8_t>(kCellNumber | kCellSpillValue | element->ErrorCode()));
      } else if (count < kNoted) {
        noted[count] = value;
        numbers[count] = number;
        errors[count] = element->ErrorCode();
        ++count;
      } else {
        count = kNoted + 1;
      }
    }
    if (count <= kNoted) {
      for (uint32_t i = 0; i < count; ++i) {
        noted[i]->SetNumber(numbers[i]);
        noted[i]->SetType(static_cast<uint8_t>(kCellNumber | kCellSpillValue | errors[i]));
      }
      break;
    }
  }
  cell->SetResultFlags(static_cast<uint8_t>(PassFlags(cell) | kResultCalculated | kResultArray | kResultCachedNumber));
  cell->SetCachedNumber(firstNumber);
  cell->SetType(static_cast<uint8_t>(kCellFormula | (first ? first->ErrorCode() : 0)));
  return true;
}

// Whether a formula before the one at (column, row) in storage order, whose
// result area the pass knew, still spills over the area: the earlier one
// keeps it, even where the two areas overlap and the values there look
// like the later formula's own. The first such area was found when the
// result was evaluated (EvalState::earlierSpillArea). Results grown in this
// pass are not known here; they change the areas and the pass runs again.
bool EarlierAreaMeets(EvalState& state, CellStore& store, const Area& area, uint16_t column, uint32_t row) {
  const SpillExtent* earlier = state.earlierSpillArea;
  state.earlierSpillArea = nullptr;
  if (!earlier)
    return false;
  // The first one found may have shrunk away since; any other is looked
  // for by the walk of the whole store.
  const CellRecord* owner = store.GetCell(earlier->row, earlier->column);
  if (owner && owner->IsSpillingArrayFormula() && OwnedArea(owner).Meets(area))
    return true;
  return OtherSpillMeeting(store, area, column, row) == kEarlierSpill;
}

// The formula cell's place, where the walks of its area begin: found from
// the record and the block the caller saw it in when it lies there still,
// else by a search.
const CellRecord* PlaceFormula(CellStore& store, CellRecord* cell, CellBlock* block, uint16_t column, uint32_t row,
                               CellCursor* place) {
  if (cell && block) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(cell->Bytes());
    const uintptr_t payload = reinterpret_cast<uintptr_t>(block->payload);
    if (at >= payload && at < payload + block->used && cell->Column() == column && cell->Row() == row) {
      place->block = block;
      place->offset = static_cast<uint16_t>(at - payload);
      return cell;
    }
  }
  return store.FindCell(row, column, place);
}

void DeleteSpillBands(CellStore& store, uint16_t column, uint32_t row, uint16_t columns, uint32_t rows,
                      const CellCursor* place);

}  // namespace

void DeleteOwnSpill(CellStore& store, uint16_t column, uint32_t row, uint16_t columns, uint32_t rows) {
  DeleteSpillBands(store, column, row, columns, rows, nullptr);
}

namespace {

// DeleteOwnSpill; the walks start at the formula cell's place when it is
// given (valid until the first deletion), else at the band's first row.
void DeleteSpillBands(CellStore& store, uint16_t column, uint32_t row, uint16_t columns, uint32_t rows,
                      const CellCursor* place) {
  const uint64_t placeChanges = store.ChainChanges();
  const Area area = SpillArea(column, row, columns, rows);
  // The two bands beside and below the formula cell.
  const Area bands[2] = {
      Area{static_cast<uint16_t>(column + 1), area.lastColumn, row, row},
      Area{column, area.lastColumn, row + 1, area.lastRow},
  };
  for (const Area& band : bands) {
    if (band.firstColumn > band.lastColumn || band.firstRow > band.lastRow || band.firstColumn > kMaxColumn ||
        band.firstRow > kMaxRow)
      continue;
    // Usually the band holds nothing but the spill values, deleted at once;
    // anything else found there is kept, the spill values around it deleted
    // one by one.
    bool onlySpill = true;
    bool found = false;
    CellCursor cursor = place && store.ChainChanges() == placeChanges ? WalkFromFormula(store, *place)
                                                                      : store.StartRangeWalk(band.firstRow);
    while (const CellRecord* cell = cursor.NextInRange(band.firstColumn, band.lastColumn, band.firstRow, band.lastRow)) {
      found = true;
      if (!cell->IsSpillValue()) {
        onlySpill = false;
        break;
      }
    }
    // An empty band, as a result's new area usually is, needs no deletion
    // (whose search of the row costs more than this walk).
    if (!found)
      continue;
    if (onlySpill) {
      store.DeleteRange(band.firstColumn, band.lastColumn, band.firstRow, band.lastRow, nullptr, false);
      continue;
    }
    for (bool deleted = true; deleted;) {
      deleted = false;
      CellCursor walk = store.StartRangeWalk(band.firstRow);
      while (const CellRecord* cell = walk.NextInRange(band.firstColumn, band.lastColumn, band.firstRow, band.lastRow)) {
        if (cell->IsSpillValue()) {
          const uint16_t c = cell->Column();
          const uint32_t r = cell->Row();
          store.DeleteRange(c, c, r, r, nullptr, false);
          deleted = true;
          break;
        }
      }
    }
  }
}

}  // namespace

bool StoreArrayResult(EvalState& state, CellStore& store, CellRecord* known, CellBlock* knownBlock, uint16_t column,
                      uint32_t row, bool* layoutChanged) {
  const EvalValue result = state.operands[1];
  // The slot gives its chain up, so that the evaluator's stacks stay in step.
  // The result alone on the stack owns the top chain, taken without a search.
  CellBlock* chain = nullptr;
  if (state.operandTop == 1 && result.kind == kEvalArray) {
    chain = state.arrays.PopChain();
    state.operands[1].kind = kEvalEmpty;
  } else {
    chain = state.TakeSlotArray(1);
  }
  const uint32_t columns = result.second.column + 1;
  const uint32_t rows = result.second.row + 1;
  CellCursor place;
  const CellRecord* cell = PlaceFormula(store, known, knownBlock, column, row, &place);
  if (!cell) {
    state.arrays.ReleaseChain(chain);
    return true;
  }

  uint8_t error = static_cast<uint8_t>(result.error & kCellErrorMask);
  if (error == kErrorNone && (uint32_t(column) + columns - 1 > kMaxColumn || uint64_t(row) + rows - 1 > kMaxRow))
    error = kErrorRef;
  if (error == kErrorNone && EarlierAreaMeets(state, store, SpillArea(column, row, columns, rows), column, row))
    error = kErrorFill;
  if (error == kErrorNone && OverwriteSpilledNumbers(store, place, const_cast<CellRecord*>(cell), chain, columns, rows)) {
    state.arrays.ReleaseChain(chain);
    return true;
  }
  const Area owned = OwnedArea(cell);
  const Area wanted = SpillArea(column, row, columns, rows);
  const Area examined{column, wanted.lastColumn > owned.lastColumn ? wanted.lastColumn : owned.lastColumn, row,
                      wanted.lastRow > owned.lastRow ? wanted.lastRow : owned.lastRow};
  // A blocked result's old values go with it (StoreFormulaError): left
  // behind, nobody would own them, and they would block this very formula
  // once the obstacle is gone.
  if (error == kErrorNone && SpillIsBlocked(state, store, place, examined, owned, column, row))
    error = kErrorFill;
  if (error != kErrorNone) {
    state.arrays.ReleaseChain(chain);
    return StoreFormulaError(state, store, nullptr, column, row, error, true, layoutChanged);
  }

  // The formula record is replaced, not deleted, so that a failure cannot lose it.
  const uint64_t placeChanges = store.ChainChanges();
  if (cell->IsSpillingArrayFormula() || wanted.lastColumn > column || wanted.lastRow > row) {
    DeleteSpillBands(store, column, row, static_cast<uint16_t>(examined.lastColumn - column + 1),
                     examined.lastRow - row + 1, &place);
    *layoutChanged = true;
  }
  // Nothing deleted (a new area is usually empty): the record and its place
  // hold, and the writes start there rather than search the row.
  const bool placeHolds = store.ChainChanges() == placeChanges;
  if (!placeHolds)
    cell = store.GetCell(row, column);
  FormulaCellFields fields;
  fields.resultFlags = static_cast<uint8_t>(PassFlags(cell) | kResultCalculated | kResultArray);
  fields.arrayColumns = static_cast<uint16_t>(columns);
  fields.arrayRows = rows;
  const CellRecord* first = FirstElement(chain);
  if (first && first->ErrorCode()) {
    fields.resultFlags |= kResultCachedNumber;
  } else if (first && first->IsText()) {
    fields.cachedText = first->Text();
    fields.cachedTextLength = first->TextLength();
  } else if (first && first->IsFormula() && first->HasCachedText()) {
    fields.cachedText = first->CachedText();
    fields.cachedTextLength = first->CachedTextLength();
  } else {
    fields.resultFlags |= kResultCachedNumber;
    if (first && first->IsNumber())
      fields.cachedNumber = first->Number();
    else if (first && first->IsFormula())
      fields.cachedNumber = first->CachedNumber();
  }
  if (first)
    fields.typeExtra = first->ErrorCode();
  *layoutChanged = true;
  CellCursor at;
  if (placeHolds)
    at = place;
  at.flags = 0;
  const bool stored = RewriteFormulaCell(store, cell, fields, placeHolds ? &at : nullptr) &&
                      WriteSpillValues(store, chain, column, row, placeHolds ? &at : nullptr);
  state.arrays.ReleaseChain(chain);
  if (!owned.Contains(wanted.lastColumn, wanted.lastRow) || !wanted.Contains(owned.lastColumn, owned.lastRow))
    ++state.spillAreasChanged;
  // What was written of the result before a failure stays inside the
  // formula's extent, so the next pass or a deletion removes it.
  if (!stored)
    StoreFormulaError(state, store, nullptr, column, row, kErrorMemory, true, layoutChanged);
  return stored;
}
