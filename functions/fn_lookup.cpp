#include "functions/fn_lookup.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/base/text_compare.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/element_call.h"
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

// A range or array argument's cells; anything else is "#VALUE!".
uint8_t ReadTable(EvalState& state, uint16_t slot, ArgRange* table) {
  const bool isTable = IsRangeOrArray(state.operands[slot]);
  const uint8_t error = GetArgRange(state, slot, table);
  return isTable ? error : KindError(error);
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
};

// Whether a number found in the search is taken over the best so far.
inline bool TakesNumber(double x, double key, int32_t mode, bool found, double best) {
  if (mode == kExactMatch) return x == key;
  if (mode == kLargestNotAbove) return x <= key && (!found || x > best);
  return x >= key && (!found || x < best);
}

// The best cell of the area for the mode; cells carrying errors are never
// found. The area starts at the source's first row and the source's walk
// has not begun, so the search walks on from where the reader put it.
Hit SearchArea(EvalState& state, const ArgRange& source, const Area& area, const LookupKey& key, int32_t mode) {
  ArgRange walk = source;
  walk.firstColumn = area.firstColumn;
  walk.lastColumn = area.lastColumn;
  walk.lastRow = area.lastRow;
  Hit best;
  double bestNumber = 0;
  char bestText[kArgTextCapacity];
  bestText[0] = '\0';
  size_t bestLength = 0;
  while (const CellRecord* cell = NextArgCell(walk)) {
    bool take = false;
    double x = 0;
    if (ReadPlainNumber(state, walk, cell, &x)) {
      // A plain number, the common cell, is compared without viewing it.
      take = !key.isText && TakesNumber(x, key.number, mode, best.found, bestNumber);
    } else if (const CellValueView value = state.ViewCell(cell, walk.sheet); value.error != kErrorNone) {
      // not comparable
    } else if (key.isText && value.kind == kEvalText) {
      const char* text = value.text;
      const size_t length = value.length;
      if (mode == kExactMatch) {
        take = key.pattern.Matches(key.text, text, length);
      } else {
        const int order = CompareTextIgnoringCase(text, length, key.text, key.length);
        const int toBest = best.found ? CompareTextIgnoringCase(text, length, bestText, bestLength) : 0;
        take = mode == kLargestNotAbove ? order <= 0 && (!best.found || toBest > 0)
                                        : order >= 0 && (!best.found || toBest < 0);
        if (take) {
          std::memcpy(bestText, text, length);
          bestText[length] = '\0';
          bestLength = length;
        }
      }
    } else if (!key.isText && (value.kind == kEvalNumber || value.kind == kEvalEmpty)) {
      x = value.kind == kEvalNumber ? value.number : 0.0;
      take = TakesNumber(x, key.number, mode, best.found, bestNumber);
    }
    if (take) {
      // Only a number key reads the best number.
      bestNumber = x;
      best.found = true;
      best.column = cell->Column();
      best.row = cell->Row();
      if (mode == kExactMatch) break;
    }
  }
  return best;
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
  uint8_t error = GetArgInt(state, first + 3, &mode, -1, 1);
  error = Larger(error, GetArgInt(state, first + 2, &index, 1, down ? kColumnCount : kRowCount));
  ArgRange table;
  error = Larger(error, ReadTable(state, first + 1, &table));
  LookupKey key;
  error = Larger(error, ReadLookupKey(state, first, &key));
  const uint32_t extent = down ? table.lastColumn - table.firstColumn + 1 : table.lastRow - table.firstRow + 1;
  if (error == kErrorNone && uint32_t(index) > extent) error = kErrorRef;
  const CellRecord* cell = nullptr;
  if (error == kErrorNone) {
    const Area area = down ? Area{table.firstColumn, table.firstRow, table.firstColumn, table.lastRow}
                           : Area{table.firstColumn, table.firstRow, table.lastColumn, table.firstRow};
    const Hit hit = SearchArea(state, table, area, key, mode);
    if (!hit.found)
      error = kErrorNA;
    else if (down)
      cell = ArgCellAt(table, table.firstColumn + index - 1, hit.row);
    else
      cell = ArgCellAt(table, hit.column, table.firstRow + index - 1);
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
  if (count == 3) error = ReadTable(state, first + 2, &results);
  ArgRange vector;
  error = Larger(error, ReadTable(state, first + 1, &vector));
  LookupKey key;
  error = Larger(error, ReadLookupKey(state, first, &key));
  const CellRecord* cell = nullptr;
  if (error == kErrorNone) {
    const uint32_t columns = vector.lastColumn - vector.firstColumn + 1;
    const uint32_t rows = vector.lastRow - vector.firstRow + 1;
    if (count == 3) {
      const Hit hit = SearchArea(state, vector, WholeArea(vector), key, kExactMatch);
      if (hit.found)
        cell = ArgCellAt(results, results.firstColumn + (hit.column - vector.firstColumn),
                      results.firstRow + (hit.row - vector.firstRow));
      else
        error = kErrorNA;
    } else {
      const bool down = rows >= columns;
      const Area area = down ? Area{vector.firstColumn, vector.firstRow, vector.firstColumn, vector.lastRow}
                             : Area{vector.firstColumn, vector.firstRow, vector.lastColumn, vector.firstRow};
      const Hit hit = SearchArea(state, vector, area, key, kLargestNotAbove);
      if (hit.found)
        cell = down ? ArgCellAt(vector, vector.lastColumn, hit.row) : ArgCellAt(vector, hit.column, vector.lastRow);
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
  uint8_t error = GetArgInt(state, first + 2, &mode, -1, 1);
  ArgRange range;
  error = Larger(error, ReadTable(state, first + 1, &range));
  LookupKey key;
  error = Larger(error, ReadLookupKey(state, first, &key));
  double position = 0;
  if (error == kErrorNone) {
    const Hit hit = SearchArea(state, range, WholeArea(range), key, mode);
    if (hit.found)
      position = double(range.lastColumn - range.firstColumn + 1) * (hit.row - range.firstRow) +
                 (hit.column - range.firstColumn) + 1;
    else
      error = kErrorNA;
  }
  ReleaseArgRange(state, range);
  SetNumberResult(state, position, error);
}
