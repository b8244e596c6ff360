#include "functions/fn_arrays.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/base/text_compare.h"
#include "core/edit/copy_range_transposed.h"
#include "core/eval/eval_array_builder.h"
#include "core/numfmt/date_time.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/array_result.h"

namespace {

constexpr int32_t kMaxSeriesLength = 2097152;

uint32_t Larger(uint32_t a, uint32_t b) { return a > b ? a : b; }

bool RequireExactly(EvalState& state, uint16_t count) {
  if (ArgCount(state) == count) return true;
  state.status = kEvalStatusSyntax;
  return false;
}

uint32_t Width(const ArgRange& range) { return range.lastColumn - range.firstColumn + 1; }
uint32_t Height(const ArgRange& range) { return range.lastRow - range.firstRow + 1; }

// A walk that has given this many cells has none left: it stops there
// rather than look past the rectangle's last row for another.
uint64_t CellCount(const ArgRange& range) { return uint64_t(Width(range)) * Height(range); }

// NextArgCell counting down the cells left; null once none can be left.
const CellRecord* NextCountedCell(ArgRange& range, uint64_t* left) {
  if (*left == 0) return nullptr;
  --*left;
  return NextArgCell(range);
}

void SetReference(EvalState& state, CellStore* sheet, uint32_t firstColumn, uint32_t firstRow, uint32_t lastColumn,
                  uint32_t lastRow) {
  EvalValue& result = state.ClearArguments();
  const RefCorner first{firstColumn, firstRow, kRefCell};
  const RefCorner last{lastColumn, lastRow, kRefCell};
  result.kind = firstColumn == lastColumn && firstRow == lastRow ? kEvalCellRef : kEvalRange;
  result.cell = first;
  result.first = first;
  result.second = last;
  result.sheet = sheet;
}

// The cells of an array argument attached to a store of their own, for
// lookups by position and for the row sort; the chain goes back to the
// argument when the view ends.
class ArrayView {
 public:
  explicit ArrayView(ArgRange& range) : range_(range) { store_.AttachChain(range.chain); }
  ~ArrayView() { store_.AttachChain(nullptr); }
  ArrayView(const ArrayView&) = delete;
  ArrayView& operator=(const ArrayView&) = delete;
  CellStore& Store() { return store_; }
  // Element (column, row) counted from 0; null when absent.
  const CellRecord* At(uint32_t column, uint32_t row) {
    return store_.GetCell(range_.firstRow + row, static_cast<uint16_t>(range_.firstColumn + column));
  }

 private:
  ArgRange& range_;
  CellStore store_;
};

}  // namespace

void FnMtxSeries(EvalState& state) {
  if (!RequireArgs(state, 3)) return;
  IgnoreArgsBeyond(state, 3);
  const uint16_t first = FirstArg(state);
  uint32_t error = kErrorNone;
  double step = 1.0;
  char period[kArgTextCapacity] = "P1D";
  bool dateMode = false;
  bool modeChosen = false;
  EvalValue& stepValue = state.operands[first + 2];
  state.ResolveOperand(first + 2);
  error = Larger(error, stepValue.error);
  if (stepValue.kind == kEvalText) {
    dateMode = modeChosen = true;
    error = Larger(error, GetArgText(state, first + 2, period));
  } else if (stepValue.kind == kEvalNumber) {
    modeChosen = true;
    step = stepValue.number;
  }
  state.DisownSlot(first + 2);

  double x = 1.0;
  char start[kArgTextCapacity] = "";
  EvalValue& xValue = state.operands[first + 1];
  state.ResolveOperand(first + 1);
  error = Larger(error, xValue.error);
  const bool xIsText = xValue.kind == kEvalText;
  if (xIsText) {
    error = Larger(error, GetArgText(state, first + 1, start));
  } else if (xValue.kind == kEvalNumber) {
    x = xValue.number;
  }
  state.DisownSlot(first + 1);
  if (modeChosen && dateMode != xIsText) error = Larger(error, kErrorValue);
  dateMode = xIsText;

  int32_t n = 0;
  error = Larger(error, GetArgInt(state, first, &n, 1, kMaxSeriesLength));
  if (error != kErrorNone) {
    SetErrorResult(state, error);
    return;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  if (dateMode) {
    char text[kArgTextCapacity];
    std::strcpy(text, start);
    for (int32_t k = 0; k < n && !builder.Failed(); ++k) {
      char next[kArgTextCapacity];
      const bool added = k + 1 >= n || AddDurationToDateText(text, period, next, sizeof next);
      builder.AddText(0, uint32_t(k), text, std::strlen(text), added ? 0 : uint8_t(kErrorValue));
      if (!added) break;
      if (k + 1 < n) std::strcpy(text, next);
    }
  } else {
    for (int32_t k = 0; k < n && !builder.Failed(); ++k) builder.AddNumber(0, uint32_t(k), k * step + x, 0);
  }
  SetArrayResult(state, builder, 1, uint32_t(n));
}

void FnFrequency(EvalState& state) {
  if (!RequireArgs(state, 2)) return;
  IgnoreArgsBeyond(state, 2);
  const uint16_t first = FirstArg(state);
  ArgRange bins, data;
  uint32_t error = GetRequiredArgRange(state, first + 1, &bins);
  error = Larger(error, GetRequiredArgRange(state, first, &data));
  // The usual few bins stay on the stack; more go to the heap.
  constexpr size_t kFewBins = 32;
  double fewBounds[kFewBins];
  double fewCounts[kFewBins + 1];
  std::vector<double> manyBounds;
  std::vector<double> manyCounts;
  size_t boundCount = 0;
  double* counts = fewCounts;
  if (error == kErrorNone) {
    // Every bin and every datum is read, whatever the values.
    PendingGather::WalkScope walk(state.pendingGather);
    uint64_t binsLeft = CellCount(bins);
    while (const CellRecord* cell = NextCountedCell(bins, &binsLeft)) {
      double bound = 0.0;
      const uint8_t cellError = ReadCellNumberInPlace(state, first + 1, bins, cell, &bound);
      error = Larger(error, cellError);
      if (cellError != kErrorNone) continue;
      if (boundCount < kFewBins) {
        fewBounds[boundCount] = bound;
      } else {
        if (boundCount == kFewBins) manyBounds.assign(fewBounds, fewBounds + kFewBins);
        manyBounds.push_back(bound);
      }
      ++boundCount;
    }
    const double* bounds = boundCount > kFewBins ? manyBounds.data() : fewBounds;
    if (boundCount > kFewBins) {
      manyCounts.assign(boundCount + 1, 0.0);
      counts = manyCounts.data();
    } else {
      std::fill(fewCounts, fewCounts + boundCount + 1, 0.0);
    }
    uint64_t dataLeft = CellCount(data);
    while (const CellRecord* cell = NextCountedCell(data, &dataLeft)) {
      double value = 0.0;
      const uint8_t cellError = ReadCellNumberInPlace(state, first, data, cell, &value);
      error = Larger(error, cellError);
      if (cellError != kErrorNone) continue;
      size_t row = boundCount;
      for (size_t i = 0; i < boundCount; ++i)
        if (value <= bounds[i] && (i == 0 || value > bounds[i - 1])) {
          row = i;
          break;
        }
      counts[row] += 1.0;
    }
  }
  ReleaseArgRange(state, bins);
  ReleaseArgRange(state, data);
  if (error != kErrorNone) {
    SetNumberResult(state, 0.0, error);
    return;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  builder.AddNumbers(0, 0, 1, uint32_t(boundCount + 1), counts, 1);
  SetArrayResult(state, builder, 1, uint32_t(boundCount + 1));
}

namespace {

// COLUMN and ROW: the numbers of a reference's columns (or rows), 1-based.
void Position(EvalState& state, bool columns) {
  const uint16_t count = ArgCount(state);
  if (count > 1) {
    state.status = kEvalStatusSyntax;
    return;
  }
  if (count == 0) {
    SetNumberResult(state, (columns ? state.column : state.row) + 1.0, kErrorNone);
    return;
  }
  const uint16_t slot = FirstArg(state);
  const EvalValue value = state.operands[slot];
  state.DisownSlot(slot);
  if (value.error != kErrorNone) {
    SetErrorResult(state, value.error);
    return;
  }
  if (value.kind == kEvalNumber) {
    SetNumberResult(state, value.number, kErrorNone);
    return;
  }
  if (value.kind == kEvalCellRef) {
    SetNumberResult(state, (columns ? value.cell.column : value.cell.row) + 1.0, kErrorNone);
    return;
  }
  if (value.kind != kEvalRange && value.kind != kEvalArray) {
    SetErrorResult(state, kErrorValue);
    return;
  }
  const uint32_t from = columns ? value.first.column : value.first.row;
  const uint32_t to = columns ? value.second.column : value.second.row;
  if (from == to) {
    SetNumberResult(state, from + 1.0, kErrorNone);
    return;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  for (uint32_t i = from; i <= to && !builder.Failed(); ++i)
    builder.AddNumber(columns ? i - from : 0, columns ? 0 : i - from, i + 1.0, 0);
  const uint32_t count2 = to - from + 1;
  SetArrayResult(state, builder, columns ? count2 : 1, columns ? 1 : count2);
}

// A list argument of INDEX: its cells' numbers in storage order; an error
// stops it.
uint32_t ReadIndexList(EvalState& state, uint16_t slot, ArgRange& list, std::vector<int32_t>* out) {
  while (const CellRecord* cell = NextArgCell(list)) {
    CellValueToSlot(state, slot, list, cell);
    int32_t number = 0;
    const uint8_t error = GetArgInt(state, slot, &number, -2147483647, 2147483647);
    state.DisownSlot(slot);
    if (error != kErrorNone) return error;
    out->push_back(number);
  }
  return kErrorNone;
}

// A position argument of INDEX as GetArgInt reads it, when it is a plain
// number that rounds (half away from zero) to 1 .. max; 0 for anything else.
uint32_t PlainPosition(const EvalValue& value, uint32_t max) {
  if (value.kind != kEvalNumber || value.error != kErrorNone || !(value.number >= 0)) return 0;
  const double rounded = std::trunc(value.number + 0.5);
  return rounded >= 1 && rounded <= max ? uint32_t(rounded) : 0;
}

// INDEX of one element of a range or an array value by two plain numbers
// inside its bounds, as a function's result or a table usually is picked:
// a range gives the reference to the cell without a walk of the range
// being set up, an array the element read from its chain where it stands.
// False, with nothing taken, for any other call.
bool IndexOneElement(EvalState& state, uint16_t first) {
  const EvalValue& x = state.operands[first];
  const bool isArray = x.kind == kEvalArray;
  if (ArgCount(state) != 3 || !(isArray || (x.kind == kEvalRange && x.sheet)) || x.error != kErrorNone) return false;
  const uint32_t m = PlainPosition(state.operands[first + 1], 2097152);
  const uint32_t n = PlainPosition(state.operands[first + 2], 2047);
  if (m == 0 || n == 0 || m - 1 > x.second.row - x.first.row || n - 1 > x.second.column - x.first.column) return false;
  const uint32_t column = x.first.column + n - 1;
  const uint32_t row = x.first.row + m - 1;
  if (!isArray) {
    // What reading the range's cells would note of a result spilled into it.
    state.NoteSpillAreaMeeting(x.sheet, x.first.column, x.second.column, x.first.row, x.second.row);
    SetReference(state, x.sheet, column, row, column, row);
    return true;
  }
  // Both positions are numbers and own nothing: the array's chain is the
  // top of the array stack, taken without a search of the slots above.
  CellBlock* chain = state.arrays.PopChain();
  state.operands[first].kind = kEvalEmpty;
  const CellRecord* cell = column < kColumnCount && row < kRowCount ? ChainCellAt(chain, column, row) : nullptr;
  EvalValue& result = state.ClearArguments();
  result.kind = kEvalEmpty;
  if (cell && cell->IsNumber()) {
    // What CellToValue makes of a number cell, read without its other cases.
    result.kind = kEvalNumber;
    result.error = cell->ErrorCode();
    result.number = cell->Number();
    if (IsBadNumber(result.number)) {
      result.number = 0;
      result.error = Larger(result.error, kErrorNum);
    }
  } else if (cell) {
    state.CellToValue(result, cell);
  }
  state.arrays.ReleaseChain(chain);
  return true;
}

}  // namespace

void FnColumn(EvalState& state) { Position(state, true); }

void FnRow(EvalState& state) { Position(state, false); }

void FnIndex(EvalState& state) {
  if (!RequireArgs(state, 3)) return;
  const uint16_t first = FirstArg(state);
  if (IndexOneElement(state, first)) return;
  IgnoreArgsBeyond(state, 3);
  int32_t m = 0;
  int32_t n = 0;
  ArgRange rowList{};
  ArgRange columnList{};
  const bool nOmitted = IsOmittedArg(state.operands[first + 2]);
  const bool mOmitted = IsOmittedArg(state.operands[first + 1]);
  const bool nIsList = IsRangeOrArray(state.operands[first + 2]);
  const bool mIsList = IsRangeOrArray(state.operands[first + 1]);
  uint32_t error = nIsList ? GetArgRange(state, first + 2, &columnList) : GetArgInt(state, first + 2, &n, 0, 2047);
  error = Larger(error, mIsList ? GetArgRange(state, first + 1, &rowList)
                                : GetArgInt(state, first + 1, &m, 0, 2097152));
  // Picking rows or columns out of a range copies its cells into an array.
  const bool picksList = (mIsList && nOmitted && !nIsList) || (nIsList && mOmitted && !mIsList);
  EvalValue& xValue = state.operands[first];
  const bool xIsRange = xValue.kind == kEvalRange || xValue.kind == kEvalCellRef;
  if (xValue.kind == kEvalCellRef) {
    xValue.first = xValue.second = xValue.cell;
    xValue.kind = kEvalRange;
  }
  if (xIsRange && picksList && error == kErrorNone) state.RangeOperandToArray(first);
  ArgRange x;
  error = Larger(error, GetRequiredArgRange(state, first, &x));
  std::vector<int32_t> picks;
  if (error == kErrorNone && picksList)
    error = mIsList ? ReadIndexList(state, first + 1, rowList, &picks) : ReadIndexList(state, first + 2, columnList, &picks);
  // Lists only: a number argument took no range.
  if (mIsList) ReleaseArgRange(state, rowList);
  if (nIsList) ReleaseArgRange(state, columnList);
  if (error == kErrorNone && !picksList && (mIsList || nIsList || (m == 0 && n == 0))) error = kErrorValue;
  const uint32_t width = error == kErrorNone ? Width(x) : 0;
  const uint32_t height = error == kErrorNone ? Height(x) : 0;
  if (error == kErrorNone && !picksList && (uint32_t(n) > width || uint32_t(m) > height)) error = kErrorRef;
  if (error != kErrorNone) {
    ReleaseArgRange(state, x);
    SetErrorResult(state, error);
    return;
  }
  if (x.sheet) {
    // A range: a reference to the cell, the column or the row.
    CellStore* sheet = x.sheet;
    const uint32_t c0 = n > 0 ? x.firstColumn + uint32_t(n) - 1 : x.firstColumn;
    const uint32_t c1 = n > 0 ? c0 : x.lastColumn;
    const uint32_t r0 = m > 0 ? x.firstRow + uint32_t(m) - 1 : x.firstRow;
    const uint32_t r1 = m > 0 ? r0 : x.lastRow;
    ReleaseArgRange(state, x);
    SetReference(state, sheet, c0, r0, c1, r1);
    return;
  }
  if (m > 0 && n > 0) {
    const CellRecord* cell = ArgCellAt(x, x.firstColumn + uint32_t(n) - 1, x.firstRow + uint32_t(m) - 1);
    EvalValue& result = state.ClearArguments();
    result.kind = kEvalEmpty;
    if (cell) state.CellToValue(result, cell);
    ReleaseArgRange(state, x);
    return;
  }
  ArrayView view(x);
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  uint32_t columns = 0;
  uint32_t rows = 0;
  if (picksList && mIsList) {
    columns = width;
    rows = uint32_t(picks.size());
    for (uint32_t k = 0; k < rows; ++k)
      if (picks[k] >= 1 && uint32_t(picks[k]) <= height)
        for (uint32_t c = 0; c < width; ++c)
          if (const CellRecord* cell = view.At(c, uint32_t(picks[k]) - 1)) builder.AddCellValue(c, k, cell);
  } else if (picksList) {
    columns = uint32_t(picks.size());
    rows = height;
    for (uint32_t r = 0; r < height; ++r)
      for (uint32_t k = 0; k < columns; ++k)
        if (picks[k] >= 1 && uint32_t(picks[k]) <= width)
          if (const CellRecord* cell = view.At(uint32_t(picks[k]) - 1, r)) builder.AddCellValue(k, r, cell);
  } else if (n > 0) {
    columns = 1;
    rows = height;
    for (uint32_t r = 0; r < height; ++r)
      if (const CellRecord* cell = view.At(uint32_t(n) - 1, r)) builder.AddCellValue(0, r, cell);
  } else {
    columns = width;
    rows = 1;
    for (uint32_t c = 0; c < width; ++c)
      if (const CellRecord* cell = view.At(c, uint32_t(m) - 1)) builder.AddCellValue(c, 0, cell);
  }
  SetArrayResult(state, builder, columns, rows);
  ReleaseArgRange(state, x);
}

void FnChoose(EvalState& state) {
  if (!RequireArgs(state, 2)) return;
  const uint16_t first = FirstArg(state);
  const uint16_t values = static_cast<uint16_t>(ArgCount(state) - 1);
  int32_t n = 0;
  const uint32_t error = GetArgInt(state, first, &n, 1, values);
  if (error != kErrorNone) {
    SetNumberResult(state, 0.0, error);
    return;
  }
  // The chosen value leaves its slot whole: a reference stays a reference,
  // a text or an array keeps what it owns.
  const uint16_t chosen = static_cast<uint16_t>(first + n);
  EvalValue value = state.operands[chosen];
  // The text is kept aside while the arguments leave the pool: a copy whose
  // bytes stand somewhere even when it is empty.
  char text[FormulaStrings::kByteCapacity];
  size_t textLength = 0;
  CellBlock* chain = nullptr;
  if (value.kind == kEvalText) {
    textLength = state.SlotTextLength(chosen);
    std::memcpy(text, state.SlotText(chosen), textLength);
    state.DisownSlot(chosen);
  } else if (value.kind == kEvalArray) {
    chain = state.TakeSlotArray(chosen);
  }
  EvalValue& result = state.ClearArguments();
  result = value;
  if (value.kind == kEvalText && !state.strings.Push(text, textLength)) {
    result.Clear();
    result.kind = kEvalEmpty;
    result.error = kErrorValue;
  }
  if (value.kind == kEvalArray && !state.arrays.PushChain(chain)) {
    state.arrays.ReleaseChain(chain);
    result.Clear();
    result.kind = kEvalEmpty;
    result.error = kErrorValue;
  }
}

namespace {

// Orders the rows of an array argument, seen through view, by key columns
// (from 0); the order of row numbers from 0, or null when memory ran out.
std::unique_ptr<uint32_t[]> SortArrayRows(EvalState& state, ArgRange& array, ArrayView& view, uint32_t keyCount,
                                          const uint16_t* keyColumns, const uint8_t* ascending) {
  const uint32_t rows = Height(array);
  std::unique_ptr<uint32_t[]> order(new (std::nothrow) uint32_t[rows]);
  if (!order) return order;
  state.SortRows(&view.Store(), array.firstRow, array.lastRow, keyCount, keyColumns, ascending, order.get());
  for (uint32_t i = 0; i < rows; ++i) order[i] -= array.firstRow;
  return order;
}

bool SameRunValue(const CellRecord* a, const CellRecord* b) {
  if (!b || b->ErrorCode() != kErrorNone || a->ErrorCode() != kErrorNone) return false;
  const bool aText = a->IsText() || (a->IsFormula() && a->HasCachedText());
  const bool bText = b->IsText() || (b->IsFormula() && b->HasCachedText());
  if (aText != bText) return false;
  if (aText) {
    const char* at = a->IsText() ? a->Text() : a->CachedText();
    const size_t al = a->IsText() ? a->TextLength() : a->CachedTextLength();
    const char* bt = b->IsText() ? b->Text() : b->CachedText();
    const size_t bl = b->IsText() ? b->TextLength() : b->CachedTextLength();
    return CompareTextIgnoringCase(at, al, bt, bl) == 0;
  }
  const double x = a->IsNumber() ? a->Number() : a->CachedNumber();
  const double y = b->IsNumber() ? b->Number() : b->CachedNumber();
  return x == y;
}

// UNIQUE's values and counts straight from a worksheet column whose rows all
// hold plain numbers other than -0, without copying the column into an
// array and sorting its rows: equal numbers are then identical, so any
// order of a run gives the values and lengths the row sort gives. False,
// with nothing taken, for any other argument (the general way then reads
// it as it always has); true when the call has ended.
bool UniqueOfPlainNumbers(EvalState& state, uint16_t slot, int32_t type) {
  constexpr uint32_t kCapacity = 256;
  const EvalValue& value = state.operands[slot];
  if (type == 0 || value.kind != kEvalRange || value.error != kErrorNone || !value.sheet ||
      value.first.column != value.second.column || value.second.row < value.first.row)
    return false;
  const uint32_t rows = value.second.row - value.first.row + 1;
  // The copy the general way makes takes one array element per cell.
  if (rows > kCapacity || rows > state.arrayElementsLeft) return false;
  ArgRange column;
  if (GetArgRange(state, slot, &column) != kErrorNone) return false;
  double numbers[kCapacity];
  uint32_t count = 0;
  uint64_t left = rows;
  while (const CellRecord* cell = NextCountedCell(column, &left)) {
    double& number = numbers[count];
    if (!ReadPlainNumber(state, column, cell, &number) || (number == 0.0 && std::signbit(number)))
      return false;
    ++count;
  }
  if (count != rows) return false;
  state.arrayElementsLeft -= rows;
  std::sort(numbers, numbers + count);
  // The distinct values (with their counts beside them) in place of the
  // sorted numbers, then built in one run.
  const uint32_t width = type == 2 ? 2 : 1;
  double values[2 * kCapacity];
  uint32_t out = 0;
  for (uint32_t i = 0; i < count; ++out) {
    uint32_t length = 1;
    while (i + length < count && numbers[i + length] == numbers[i]) ++length;
    values[out * width] = numbers[i];
    if (type == 2) values[out * width + 1] = length;
    i += length;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  builder.AddNumbers(0, 0, width, out, values, width);
  SetArrayResult(state, builder, width, rows);
  return true;
}

}  // namespace

void FnSort(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  const uint16_t first = FirstArg(state);
  const uint16_t count = ArgCount(state);
  if ((count - 1) % 2 != 0) {
    SetErrorResult(state, kErrorValue);
    return;
  }
  // Without pairs the first column sorts ascending, as a pair left empty.
  const uint32_t pairs = (count - 1) / 2u;
  const uint32_t keyCount = pairs > 0 ? pairs : 1;
  uint16_t keyColumns[kMaxSortKeys] = {};
  uint8_t ascending[kMaxSortKeys] = {};
  int32_t columns[EvalState::kStackSlots] = {};
  uint32_t error = kErrorNone;
  for (uint32_t k = keyCount; k-- > 0;) {
    int32_t order = 1;
    int32_t column = 1;
    if (k < pairs) {
      error = Larger(error, GetArgInt(state, static_cast<uint16_t>(first + 2 + 2 * k), &order, 0, 1));
      error = Larger(error, GetArgInt(state, static_cast<uint16_t>(first + 1 + 2 * k), &column, 1, kColumnCount));
    }
    columns[k] = column;
    keyColumns[k] = static_cast<uint16_t>(column - 1);
    ascending[k] = static_cast<uint8_t>(order);
  }
  if (error == kErrorNone) state.RangeOperandToArray(first);
  ArgRange array;
  error = Larger(error, GetRequiredArgRange(state, first, &array));
  for (uint32_t k = 0; k < keyCount && error == kErrorNone; ++k)
    if (uint32_t(columns[k]) > Width(array)) error = kErrorRef;
  std::unique_ptr<uint32_t[]> order;
  if (error == kErrorNone) {
    ArrayView view(array);
    order = SortArrayRows(state, array, view, keyCount, keyColumns, ascending);
    if (!order) error = kErrorMemory;
  }
  const uint32_t rows = error == kErrorNone ? Height(array) : 0;
  ReleaseArgRange(state, array);
  if (error != kErrorNone) {
    SetNumberResult(state, 0.0, error);
    return;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  for (uint32_t i = 0; i < rows && !builder.Failed(); ++i) builder.AddNumber(0, i, order[i] + 1.0, 0);
  SetArrayResult(state, builder, 1, rows);
}

namespace {

// The number AddCellValue would store for a cell with no error that holds a
// number or a formula's cached number; false for any other cell.
bool PlainElementNumber(const CellRecord* cell, double* number) {
  if (cell->ErrorCode() != kErrorNone) return false;
  if (cell->IsNumber()) {
    *number = cell->Number();
    return true;
  }
  if (!cell->IsFormula() || cell->HasCachedText()) return false;
  *number = cell->CachedNumber();
  return true;
}

// TRANSPOSE of a short single row or column: its cells are walked once and,
// when every one is there holding a plain number, built with one call in
// the order they came, which the exchange of rows and columns keeps;
// otherwise each cell read is built as it is. False, with nothing read,
// for a longer one.
bool TransposeFewNumbers(EvalState& state, ArgRange& source, ArrayBuilder& builder) {
  constexpr uint32_t kFew = 16;
  const uint64_t count = CellCount(source);
  if (count > kFew) return false;
  const CellRecord* cells[kFew];
  double numbers[kFew];
  uint32_t found = 0;
  bool allNumbers = true;
  uint64_t left = count;
  while (const CellRecord* cell = NextCountedCell(source, &left)) {
    NotePendingCell(state, source, cell);
    cells[found] = cell;
    allNumbers = PlainElementNumber(cell, &numbers[found]) && allNumbers;
    ++found;
  }
  if (allNumbers && found == count) {
    const uint32_t columns = Height(source);
    const uint32_t rows = Width(source);
    builder.AddNumbers(0, 0, columns, rows, numbers, columns);
    return true;
  }
  for (uint32_t i = 0; i < found; ++i)
    builder.AddCellValue(cells[i]->Row() - source.firstRow, cells[i]->Column() - source.firstColumn, cells[i]);
  return true;
}

}  // namespace

void FnTranspose(EvalState& state) {
  if (!RequireExactly(state, 1)) return;
  const uint16_t first = FirstArg(state);
  ArgRange source;
  uint32_t error = GetRequiredArgRange(state, first, &source);
  if (error == kErrorNone && Height(source) >= kColumnCount) error = kErrorRef;
  // A single row or column keeps its cells' order when rows and columns are
  // exchanged: they go straight into the array, without the transposed copy
  // that orders any other rectangle (a copy that would leave the grid fails
  // below).
  if (error == kErrorNone && (Width(source) == 1 || Height(source) == 1) &&
      uint64_t(source.firstColumn) + Height(source) <= kColumnCount &&
      uint64_t(source.firstRow) + Width(source) <= kRowCount) {
    ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
    if (!TransposeFewNumbers(state, source, builder)) {
      uint64_t left = CellCount(source);
      while (const CellRecord* cell = NextCountedCell(source, &left)) {
        NotePendingCell(state, source, cell);
        builder.AddCellValue(cell->Row() - source.firstRow, cell->Column() - source.firstColumn, cell);
      }
    }
    const uint32_t columns = Height(source);
    const uint32_t rows = Width(source);
    ReleaseArgRange(state, source);
    SetArrayResult(state, builder, columns, rows);
    return;
  }
  CellStore transposed;
  if (error == kErrorNone) {
    bool copied = false;
    if (source.sheet) {
      // The copy takes the cells as they stand: the formulas among them
      // not yet calculated in this pass are noted first.
      while (const CellRecord* cell = NextArgCell(source)) NotePendingCell(state, source, cell);
      copied = CopyRangeTransposed(*source.sheet, static_cast<uint16_t>(source.firstColumn),
                                   static_cast<uint16_t>(source.lastColumn), source.firstRow, source.lastRow,
                                   &transposed);
    } else {
      ArrayView view(source);
      copied = CopyRangeTransposed(view.Store(), static_cast<uint16_t>(source.firstColumn),
                                   static_cast<uint16_t>(source.lastColumn), source.firstRow, source.lastRow,
                                   &transposed);
    }
    if (!copied) error = kErrorMemory;
  }
  const uint32_t columns = error == kErrorNone ? Height(source) : 0;
  const uint32_t rows = error == kErrorNone ? Width(source) : 0;
  const uint32_t firstColumn = source.firstColumn;
  const uint32_t firstRow = source.firstRow;
  ReleaseArgRange(state, source);
  if (error != kErrorNone) {
    SetErrorResult(state, error);
    return;
  }
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  ForEachRecord(transposed, [&](const CellRecord& cell) {
    builder.AddCellValue(cell.Column() - firstColumn, cell.Row() - firstRow, &cell);
    return true;
  });
  SetArrayResult(state, builder, columns, rows);
}

void FnUnique(EvalState& state) {
  if (!RequireArgs(state, 2)) return;
  IgnoreArgsBeyond(state, 2);
  const uint16_t first = FirstArg(state);
  int32_t type = 1;
  // The kind is nearly always a whole number given as such, which GetArgInt
  // would take as it is.
  const EvalValue& kind = state.operands[first + 1];
  uint32_t error = kErrorNone;
  if (kind.kind == kEvalNumber && kind.error == kErrorNone && (kind.number == 0 || kind.number == 1 || kind.number == 2))
    type = int32_t(kind.number);
  else
    error = GetArgInt(state, first + 1, &type, 0, 2);
  if (error == kErrorNone && UniqueOfPlainNumbers(state, first, type)) return;
  if (error == kErrorNone) state.RangeOperandToArray(first);
  ArgRange vector;
  error = Larger(error, GetRequiredArgRange(state, first, &vector));
  if (error == kErrorNone && Width(vector) != 1) error = kErrorValue;
  if (error != kErrorNone) {
    ReleaseArgRange(state, vector);
    SetErrorResult(state, error);
    return;
  }
  const uint32_t rows = Height(vector);
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  {
    // One view serves the sort and the walk over the runs.
    ArrayView view(vector);
    const uint16_t keyColumn = 0;
    const uint8_t ascending = 1;
    const std::unique_ptr<uint32_t[]> order = SortArrayRows(state, vector, view, 1, &keyColumn, &ascending);
    if (!order) error = kErrorMemory;
    uint32_t out = 0;
    for (uint32_t i = 0; order && i < rows && !builder.Failed();) {
      const CellRecord* head = view.At(0, order[i]);
      if (!head) {
        ++i;
        continue;
      }
      uint32_t length = 1;
      while (i + length < rows && SameRunValue(head, view.At(0, order[i + length]))) ++length;
      if (type == 0)
        builder.AddNumber(0, out, order[i] + 1.0, 0);
      else
        builder.AddCellValue(0, out, head);
      if (type == 2) builder.AddNumber(1, out, length, 0);
      ++out;
      i += length;
    }
  }
  ReleaseArgRange(state, vector);
  if (error != kErrorNone) {
    SetErrorResult(state, error);
    return;
  }
  SetArrayResult(state, builder, type == 2 ? 2 : 1, rows);
}
