#include "functions/fn_lookup.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/base/text_compare.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/element_call.h"
#include "functions/given_int_arg.h"
#include "functions/row_cell_args.h"
#include "functions/wildcard_match.h"

namespace {

constexpr int32_t kExactMatch = 0;
constexpr int32_t kLargestNotAbove = 1;

uint8_t Larger(uint32_t a, uint32_t b) { return static_cast<uint8_t>(a > b ? a : b); }

// The value searched for: a text, or a number (an empty value is 0). Only
// the text's own bytes are ever written: the buffer is the pool's size and
// clearing it per call would cost more than the search.
struct LookupKey {
  bool isText = false;
  double number = 0;
  size_t length = 0;
  WholeTextShape pattern;  // of the text, for exact matches
  char text[kArgTextCapacity];
  LookupKey() { text[0] = '\0'; }
};

// The slot owns nothing afterwards.
uint8_t ReadLookupKey(EvalState& state, uint16_t slot, LookupKey* key) {
  if (IsOmittedArg(state.operands[slot])) return 0;
  if (ReadReferencedNumber(state, slot, &key->number)) {
    state.DisownSlot(slot);
    return 0;
  }
  state.ResolveOperand(slot);
  const EvalValue& value = state.operands[slot];
  uint8_t error = static_cast<uint8_t>(value.error);
  if (value.kind == kEvalText) {
    key->isText = true;
    key->length = state.SlotTextLength(slot);
    std::memcpy(key->text, state.SlotText(slot), key->length + 1);
    key->pattern.Settle(key->text);
  } else if (value.kind == kEvalNumber) {
    key->number = value.number;
  } else if (value.kind != kEvalEmpty) {
    error = KindError(error);
  }
  state.DisownSlot(slot);
  return error;
}

// The bytes of the key a search keeps for the uncalculated cells it lists:
// its fields, and its text up to the NUL.
size_t KeyTextOffset(const LookupKey& key) {
  return size_t(reinterpret_cast<const char*>(key.text) - reinterpret_cast<const char*>(&key));
}
uint32_t KeptKeySize(const LookupKey& key) { return uint32_t(KeyTextOffset(key) + key.length + 1); }

// Whether an exact search for the kept key stops at the calculated formula
// cell: a value BestCell takes (an error, or a text against a number, never).
bool ExactSearchStopsAt(const void* kept, const CellRecord* cell) {
  LookupKey key;
  const size_t head = KeyTextOffset(key);
  std::memcpy(static_cast<void*>(&key), kept, head);
  std::memcpy(key.text, static_cast<const char*>(kept) + head, key.length + 1);
  if (cell->ErrorCode() != 0) return false;
  size_t length = 0;
  if (const char* text = StoredCellText(cell, &length)) return key.isText && key.pattern.Matches(key.text, text, length);
  const double x = cell->CachedNumber();
  return !key.isText && !IsBadNumber(x) && x == key.number;
}

// A search's walk, as the pass's gathering of uncalculated cells knows it:
// an exact search stops at its first match; the others read every cell.
class SearchWalk : public PendingGather::SearchScope {
 public:
  SearchWalk(EvalState& state, const LookupKey& key, int32_t mode)
      : SearchScope(state.pendingGather, mode == kExactMatch ? &ExactSearchStopsAt : nullptr, &key,
                    KeptKeySize(key)) {}
};

// A range or array argument's cells; anything else is "#VALUE!".
uint8_t ReadTable(EvalState& state, uint16_t slot, ArgRange* table) {
  const bool isTable = IsRangeOrArray(state.operands[slot]);
  const uint8_t error = GetArgRange(state, slot, table);
  return isTable ? error : KindError(error);
}

// ReadTable with a worksheet range's walk left unpositioned (*positioned
// false, see TakeSheetRange): RestartArgRange before walking it.
uint8_t ReadTableUnwalked(EvalState& state, uint16_t slot, ArgRange* table, bool* positioned) {
  *positioned = !TakeSheetRange(state, slot, table);
  return *positioned ? ReadTable(state, slot, table) : uint8_t(kErrorNone);
}

// A rectangle inside an argument, in the argument's own coordinates.
struct Area {
  uint32_t firstColumn, firstRow, lastColumn, lastRow;
};

Area WholeArea(const ArgRange& range) { return {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow}; }

struct Hit {
  bool found = false;
  uint32_t column = 0;
  uint32_t row = 0;
  // The found cell's place, where the search knows it (the index's).
  RecordPosition at = {nullptr, 0};
};

// Whether a number found in the search is taken over the best so far.
inline bool TakesNumber(double x, double key, int32_t mode, bool found, double best) {
  if (mode == kExactMatch) return x == key;
  if (mode == kLargestNotAbove) return x <= key && (!found || x > best);
  return x >= key && (!found || x < best);
}

// The best cell so far of a search for the key in the mode; cells carrying
// errors are never found.
class BestCell {
 public:
  BestCell(EvalState& state, const LookupKey& key, int32_t mode) : state_(state), key_(key), mode_(mode) {
    bestText_[0] = '\0';
  }
  // Whether the cell (of the range's worksheet) is taken over the best so
  // far; an exact match ends the search.
  bool Consider(const ArgRange& range, const CellRecord* cell) {
    bool take = false;
    double x = 0;
    if (ReadPlainNumber(state_, range, cell, &x)) {
      // A plain number, the common cell, is compared without viewing it.
      take = !key_.isText && TakesNumber(x, key_.number, mode_, hit.found, bestNumber_);
    } else if (const CellValueView value = state_.ViewCell(cell, range.sheet); value.error != kErrorNone) {
      // not comparable
    } else if (key_.isText && value.kind == kEvalText) {
      const char* text = value.text;
      const size_t length = value.length;
      if (mode_ == kExactMatch) {
        take = key_.pattern.Matches(key_.text, text, length);
      } else {
        const int order = CompareTextIgnoringCase(text, length, key_.text, key_.length);
        const int toBest = hit.found ? CompareTextIgnoringCase(text, length, bestText_, bestLength_) : 0;
        take = mode_ == kLargestNotAbove ? order <= 0 && (!hit.found || toBest > 0)
                                         : order >= 0 && (!hit.found || toBest < 0);
        if (take) {
          std::memcpy(bestText_, text, length);
          bestText_[length] = '\0';
          bestLength_ = length;
        }
      }
    } else if (!key_.isText && (value.kind == kEvalNumber || value.kind == kEvalEmpty)) {
      x = value.kind == kEvalNumber ? value.number : 0.0;
      take = TakesNumber(x, key_.number, mode_, hit.found, bestNumber_);
    }
    if (take) {
      // Only a number key reads the best number.
      bestNumber_ = x;
      hit.found = true;
      hit.column = cell->Column();
      hit.row = cell->Row();
    }
    return take;
  }
  bool Done() const { return hit.found && mode_ == kExactMatch; }

  Hit hit;

 private:
  EvalState& state_;
  const LookupKey& key_;
  const int32_t mode_;
  double bestNumber_ = 0;
  size_t bestLength_ = 0;
  char bestText_[kArgTextCapacity];
};

// The best cell of the area for the mode. The area starts at the source's
// first row and the source's walk has not begun, so the search walks on
// from where the reader put it.
Hit SearchArea(EvalState& state, const ArgRange& source, const Area& area, const LookupKey& key, int32_t mode) {
  ArgRange walk = source;
  walk.firstColumn = area.firstColumn;
  walk.lastColumn = area.lastColumn;
  walk.lastRow = area.lastRow;
  BestCell best(state, key, mode);
  SearchWalk search(state, key, mode);
  while (const CellRecord* cell = NextArgCell(walk))
    if (best.Consider(walk, cell) && best.Done()) break;
  return best.hit;
}

// The search of a column of a worksheet range whose rows the index
// answers for, row by row, taking from each row also the cell of the
// partner column (of the same worksheet) where a found cell's result lies:
// a search along the column walks the same rows in the same order. The
// result is the partner cell of the best row. A pair far from the rows'
// starts (kFar) is found from the row position memo's place.
template <bool kFar>
Hit SearchColumnPairs(EvalState& state, const ArgRange& range, uint32_t column, uint32_t partnerColumn,
                      const LookupKey& key, int32_t mode, const CellRecord** partner) {
  BestCell best(state, key, mode);
  const bool partnerFirst = partnerColumn < column;
  const uint32_t a = partnerFirst ? partnerColumn : column;
  const uint32_t b = partnerFirst ? column : partnerColumn;
  *partner = nullptr;
  SearchWalk search(state, key, mode);
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
    const CellRecord* atA;
    const CellRecord* atB;
    if (kFar)
      FarRowCellPair(*range.sheet, row, a, b, &atA, &atB);
    else
      RowCellPair(*range.sheet, row, a, b, &atA, &atB);
    const CellRecord* cell = partnerFirst ? atB : atA;
    if (cell && best.Consider(range, cell)) {
      *partner = partnerFirst ? atA : atB;
      if (best.Done()) break;
    }
  }
  return best.hit;
}

// ArgCellAt, through the row index (and its memo) where the worksheet has it.
const CellRecord* CellOfArg(const ArgRange& range, uint32_t column, uint32_t row) {
  if (RowsIndexed(range.sheet, row, row) && column < kColumnCount)
    return IndexedColumnCellAt(*range.sheet, column, row);
  return ArgCellAt(range, column, row);
}

// An exact search of a worksheet column through the pass's index: only the
// rows whose key hashes like the searched one, considered in row order as
// the plain search considers every row. False when no index serves (a key
// with wildcards among them); the plain search runs then.
bool SearchIndexedColumn(EvalState& state, const ArgRange& range, uint32_t column, const LookupKey& key, Hit* hit) {
  if (!range.sheet || column >= kColumnCount || (key.isText && std::strpbrk(key.text, "*?~")))
    return false;
  const uint64_t hash = key.isText ? LookupTextHash(key.text, key.length) : LookupNumberHash(key.number);
  LookupIndexes::CandidateCells candidates;
  if (!state.lookupIndexes.Candidates(range.sheet, uint16_t(column), range.firstRow, range.lastRow, hash,
                                      &candidates))
    return false;
  BestCell best(state, key, kExactMatch);
  while (const CellRecord* cell = candidates.Next()) {
    if (best.Consider(range, cell)) {
      best.hit.at = candidates.Place();
      if (best.Done()) break;
    }
  }
  *hit = best.hit;
  return true;
}

// The cell of the found row at column, at or right of the found cell's,
// for a hit the index found (which knows its place).
const CellRecord* CellRightOfHit(const Hit& hit, uint32_t column) {
  const CellRecord* cell = nullptr;
  RowCellPairFrom(hit.at, hit.row, column, column, &cell, &cell);
  return cell;
}

Hit SearchColumnWithPartner(EvalState& state, const ArgRange& range, uint32_t column, uint32_t partnerColumn,
                            const LookupKey& key, int32_t mode, const CellRecord** partner) {
  const uint32_t first = column < partnerColumn ? column : partnerColumn;
  if (first >= kMemoFromColumn)
    return SearchColumnPairs<true>(state, range, column, partnerColumn, key, mode, partner);
  return SearchColumnPairs<false>(state, range, column, partnerColumn, key, mode, partner);
}

// The found cell's value as the result (an absent cell: an empty value),
// or the error; then the table's cells are given back.
void FinishLookup(EvalState& state, ArgRange& table, const CellRecord* cell, uint8_t error) {
  if (error != kErrorNone) {
    SetErrorResult(state, error);
  } else {
    EvalValue& result = state.ClearArguments();
    result.kind = kEvalEmpty;
    result.sheet = table.sheet;
    state.CellToValue(result, cell);
  }
  ReleaseArgRange(state, table);
}

// VLOOKUP searches the first column and gives the index-th column of the
// found row; HLOOKUP the same across.
void TableLookup(EvalState& state, bool down) {
  if (!RequireExactArgs(state, 4)) return;
  // The lookup value and the mode go element by element.
  if (!BeginElementCall(state, 4, 0x9)) return;
  const uint16_t first = FirstArg(state);
  int32_t mode = kLargestNotAbove;
  int32_t index = 1;
  uint8_t error = GetGivenIntArg(state, first + 3, &mode, -1, 1);
  error = Larger(error, GetGivenIntArg(state, first + 2, &index, 1, down ? kColumnCount : kRowCount));
  ArgRange table;
  bool positioned = true;
  error = Larger(error, ReadTableUnwalked(state, first + 1, &table, &positioned));
  LookupKey key;
  error = Larger(error, ReadLookupKey(state, first, &key));
  const uint32_t extent = down ? table.lastColumn - table.firstColumn + 1 : table.lastRow - table.firstRow + 1;
  if (error == kErrorNone && uint32_t(index) > extent) error = kErrorRef;
  const CellRecord* cell = nullptr;
  Hit indexed;
  if (error == kErrorNone && down && mode == kExactMatch &&
      SearchIndexedColumn(state, table, table.firstColumn, key, &indexed)) {
    if (indexed.found)
      cell = CellRightOfHit(indexed, table.firstColumn + index - 1);
    else
      error = kErrorNA;
  } else if (error == kErrorNone && down && !positioned && RowsIndexed(table.sheet, table.firstRow, table.lastRow)) {
    // The found row's result cell is taken in the same pass along the row.
    const Hit hit = SearchColumnWithPartner(state, table, table.firstColumn, table.firstColumn + index - 1, key, mode,
                                            &cell);
    if (!hit.found) error = kErrorNA;
  } else if (error == kErrorNone) {
    if (!positioned) RestartArgRange(table);
    const Area area = down ? Area{table.firstColumn, table.firstRow, table.firstColumn, table.lastRow}
                           : Area{table.firstColumn, table.firstRow, table.lastColumn, table.firstRow};
    const Hit hit = SearchArea(state, table, area, key, mode);
    if (!hit.found)
      error = kErrorNA;
    else if (down)
      cell = CellOfArg(table, table.firstColumn + index - 1, hit.row);
    else
      cell = CellOfArg(table, hit.column, table.firstRow + index - 1);
  }
  FinishLookup(state, table, cell, error);
}

}  // namespace

void FnVLookup(EvalState& state) { TableLookup(state, true); }

void FnHLookup(EvalState& state) { TableLookup(state, false); }

// With a result vector: the first exact match, and the result cell at the
// same offsets. Without: mode 1 along the first column of a tall (or
// square) array, giving its last column, else along the first row, giving
// its last row.
void FnLookup(EvalState& state) {
  const uint16_t count = ArgCount(state);
  if (count < 2 || count > 3) {
    state.status = kEvalStatusSyntax;
    return;
  }
  const uint16_t first = FirstArg(state);
  uint8_t error = kErrorNone;
  ArgRange results{};
  // The result vector is never walked, only a cell of it taken.
  bool positioned = true;
  if (count == 3) error = ReadTableUnwalked(state, first + 2, &results, &positioned);
  ArgRange vector;
  error = Larger(error, ReadTableUnwalked(state, first + 1, &vector, &positioned));
  LookupKey key;
  error = Larger(error, ReadLookupKey(state, first, &key));
  const CellRecord* cell = nullptr;
  const uint32_t columns = vector.lastColumn - vector.firstColumn + 1;
  const uint32_t rows = vector.lastRow - vector.firstRow + 1;
  Hit indexed;
  if (error == kErrorNone && count == 3 && columns == 1 &&
      SearchIndexedColumn(state, vector, vector.firstColumn, key, &indexed)) {
    if (indexed.found)
      cell = CellOfArg(results, results.firstColumn, results.firstRow + (indexed.row - vector.firstRow));
    else
      error = kErrorNA;
  } else if (error == kErrorNone && count == 3 && !positioned && columns == 1 && results.sheet == vector.sheet &&
      results.firstRow == vector.firstRow && RowsIndexed(vector.sheet, vector.firstRow, vector.lastRow)) {
    // A column and a result column from the same row: both in one pass along it.
    const Hit hit =
        SearchColumnWithPartner(state, vector, vector.firstColumn, results.firstColumn, key, kExactMatch, &cell);
    if (!hit.found) error = kErrorNA;
  } else if (error == kErrorNone) {
    if (!positioned) RestartArgRange(vector);
    if (count == 3) {
      const Hit hit = SearchArea(state, vector, WholeArea(vector), key, kExactMatch);
      if (hit.found)
        cell = CellOfArg(results, results.firstColumn + (hit.column - vector.firstColumn),
                         results.firstRow + (hit.row - vector.firstRow));
      else
        error = kErrorNA;
    } else {
      const bool down = rows >= columns;
      const Area area = down ? Area{vector.firstColumn, vector.firstRow, vector.firstColumn, vector.lastRow}
                             : Area{vector.firstColumn, vector.firstRow, vector.lastColumn, vector.firstRow};
      const Hit hit = SearchArea(state, vector, area, key, kLargestNotAbove);
      if (hit.found)
        cell = down ? CellOfArg(vector, vector.lastColumn, hit.row) : CellOfArg(vector, hit.column, vector.lastRow);
      else
        error = kErrorNA;
    }
  }
  if (count == 3) {
    // The result vector is given back after the search vector's turn.
    FinishLookup(state, results, cell, error);
    ReleaseArgRange(state, vector);
  } else {
    FinishLookup(state, vector, cell, error);
  }
}

void FnMatch(EvalState& state) {
  if (!RequireExactArgs(state, 3)) return;
  if (!BeginElementCall(state, 3, 0x5)) return;
  const uint16_t first = FirstArg(state);
  int32_t mode = kLargestNotAbove;
  uint8_t error = GetGivenIntArg(state, first + 2, &mode, -1, 1);
  ArgRange range;
  bool positioned = true;
  error = Larger(error, ReadTableUnwalked(state, first + 1, &range, &positioned));
  LookupKey key;
  error = Larger(error, ReadLookupKey(state, first, &key));
  double position = 0;
  if (error == kErrorNone) {
    Hit hit;
    if (mode == kExactMatch && range.firstColumn == range.lastColumn &&
        SearchIndexedColumn(state, range, range.firstColumn, key, &hit)) {
      // found through the pass's index of the column
    } else if (!positioned && range.firstColumn == range.lastColumn &&
        RowsIndexed(range.sheet, range.firstRow, range.lastRow)) {
      // A column: its cell of each row straight through the row index.
      const CellRecord* unused = nullptr;
      hit = SearchColumnWithPartner(state, range, range.firstColumn, range.firstColumn, key, mode, &unused);
    } else {
      if (!positioned) RestartArgRange(range);
      hit = SearchArea(state, range, WholeArea(range), key, mode);
    }
    if (hit.found)
      position = double(range.lastColumn - range.firstColumn + 1) * (hit.row - range.firstRow) +
                 (hit.column - range.firstColumn) + 1;
    else
      error = kErrorNA;
  }
  ReleaseArgRange(state, range);
  SetNumberResult(state, position, error);
}
