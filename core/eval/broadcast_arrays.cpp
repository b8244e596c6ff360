// Element-wise application of an operator or a function over ranges and
// arrays: the operator or handler runs once per element with the flagged
// arguments replaced by their cells' values, and the results are collected
// in a new array of the common shape.

#include <cstring>
#include <new>
#include <type_traits>

#include "core/base/error_code.h"
#include "core/eval/eval_array_builder.h"
#include "core/formula/eval_state.h"

namespace {

// Elements are scalars, so a handler that broadcasts again within an element
// is malformed; nested evaluators may still broadcast inside an element.
constexpr int kMaxBroadcastDepth = 16;
int broadcastDepth = 0;

struct DepthGuard {
  DepthGuard() { ++broadcastDepth; }
  ~DepthGuard() { --broadcastDepth; }
};

// Where a flagged argument's cells come from.
struct ElementSource {
  CellStore* sheet;      // a range's worksheet; null for an array
  CellBlock* ownedChain;  // an array's chain, taken off the array stack
  uint32_t firstColumn, firstRow, lastColumn, lastRow;
  CellCursor cursor;
  const CellRecord* next;  // the next cell not yet used

  void Start() {
    cursor = StartRangeWalk(sheet, ownedChain, firstRow);
    Advance();
  }
  void Advance() {
    next = cursor.NextInRange(static_cast<uint16_t>(firstColumn), static_cast<uint16_t>(lastColumn), firstRow,
                              lastRow);
  }
  // The next cell's position relative to the first corner, row major.
  uint64_t NextKey() const {
    return (uint64_t(next->Row() - firstRow) << 16) | (next->Column() - firstColumn);
  }
};

static_assert(std::is_trivially_destructible<ElementSource>::value, "element sources are never destroyed");

uint64_t KeyOf(uint32_t row, uint32_t column) { return (uint64_t(row) << 16) | column; }

bool IsRangeOrArray(uint32_t kind) { return kind == kEvalRange || kind == kEvalArray; }

// The extent every flagged argument must share, and the largest error the
// flagged arguments carry.
struct CommonShape {
  uint32_t columns = 0;
  uint32_t rows = 0;
  uint32_t error = kErrorNone;
  bool anyFlagged = false;
  bool allFlagged = true;
  bool mismatch = false;
};

// What the arguments gave up to the broadcast, slot by slot: a flagged
// argument's cells, an unflagged text's characters and an unflagged
// array's chain, with a copy of every slot to rebuild each element's
// arguments from. Only the first count entries of these tables are used,
// and calls take few arguments: clearing whole tables would cost more than
// a short element-wise call itself.
struct TakenArguments {
  bool flagged[EvalState::kStackSlots] = {};
  EvalValue copies[EvalState::kStackSlots];
  alignas(ElementSource) unsigned char sourceBytes[EvalState::kStackSlots * sizeof(ElementSource)];
  CellBlock* keptArrays[EvalState::kStackSlots];
  char keptTexts[FormulaStrings::kByteCapacity];
  size_t textStart[EvalState::kStackSlots];
  size_t textLength[EvalState::kStackSlots];

  ElementSource* Sources() { return reinterpret_cast<ElementSource*>(sourceBytes); }
};

// Marks the arguments taken element by element (flagged ranges and arrays)
// and measures them.
CommonShape MeasureFlagged(const EvalState& state, const uint8_t* flags, uint16_t first, uint16_t count,
                           bool* flagged) {
  CommonShape shape;
  for (uint16_t i = 0; i < count; ++i) {
    const EvalValue& value = state.operands[first + i];
    flagged[i] = flags[i] && IsRangeOrArray(value.kind);
    if (!flagged[i]) {
      shape.allFlagged = false;
      continue;
    }
    const uint32_t c = value.second.column - value.first.column + 1;
    const uint32_t r = value.second.row - value.first.row + 1;
    if (shape.anyFlagged && (c != shape.columns || r != shape.rows)) shape.mismatch = true;
    shape.columns = c;
    shape.rows = r;
    shape.anyFlagged = true;
    if (value.error > shape.error) shape.error = value.error;
  }
  return shape;
}

// Whether reading the cell of a reference notes nothing in a pass: it is
// there and no formula left to calculate nor a value an array formula
// spilled, or missing outside every result area.
bool ReadsAsSettled(const EvalState& state, const EvalValue& reference) {
  if (reference.error != kErrorNone || !reference.sheet) return true;
  const CellRecord* cell =
      reference.sheet->GetCell(reference.cell.row, static_cast<uint16_t>(reference.cell.column));
  if (!cell)
    return state.spillAreaCount == 0 || reference.cell.column < state.spillFirstColumn ||
           reference.cell.column > state.spillLastColumn;
  return !cell->IsSpillValue() && (!cell->IsFormula() || (cell->ResultFlags() & kResultCalculated));
}

// Whether the elements' cells are read as a walk of their ranges: the
// broadcast reads every position whatever the values, and a handler, which
// may choose by a value what else it reads, finds no other cell whose
// reading the pass notes (another range, or a cell not settled). An
// element whose result is a reference read after it breaks the walk there.
bool ElementsWalkTheirRanges(const EvalState& state, uint16_t first, uint16_t count, const bool* flagged) {
  bool anyRange = false;
  for (uint16_t i = 0; i < count; ++i) {
    const EvalValue& value = state.operands[first + i];
    if (flagged[i])
      anyRange = anyRange || value.kind == kEvalRange;
    else if (value.kind == kEvalRange || (value.kind == kEvalCellRef && !ReadsAsSettled(state, value)))
      return false;
  }
  return anyRange;
}

// The arguments give up what they own from the last to the first, the order
// of the pool and the array stack.
void TakeArguments(EvalState& state, uint16_t first, uint16_t count, TakenArguments& taken) {
  ElementSource* const sources = taken.Sources();
  size_t textUsed = 0;
  for (uint16_t i = count; i-- > 0;) {
    const uint16_t slot = static_cast<uint16_t>(first + i);
    EvalValue& value = state.operands[slot];
    taken.copies[i] = value;
    new (sources + i) ElementSource();
    taken.keptArrays[i] = nullptr;
    taken.textStart[i] = 0;
    taken.textLength[i] = 0;
    if (taken.flagged[i]) {
      ElementSource& source = sources[i];
      source.firstColumn = value.first.column;
      source.firstRow = value.first.row;
      source.lastColumn = value.second.column;
      source.lastRow = value.second.row;
      const bool isArray = value.kind == kEvalArray;
      source.sheet = isArray ? nullptr : value.sheet;
      if (source.sheet)
        state.NoteSpillAreaMeeting(source.sheet, source.firstColumn, source.lastColumn, source.firstRow,
                                   source.lastRow);
      source.ownedChain = isArray ? state.TakeSlotArray(slot) : nullptr;
      source.Start();
    } else if (value.kind == kEvalText) {
      // All texts together fit the pool they came from.
      taken.textStart[i] = textUsed;
      taken.textLength[i] = state.SlotTextLength(slot);
      std::memcpy(taken.keptTexts + textUsed, state.SlotText(slot), taken.textLength[i]);
      textUsed += taken.textLength[i];
      state.DisownSlot(slot);
    } else if (value.kind == kEvalArray) {
      taken.keptArrays[i] = state.TakeSlotArray(slot);
    }
  }
}

// The key (row << 16 | column, relative to the shape's corner) of the next
// element to evaluate; false when none is left. With every argument
// flagged, only positions at which some argument has a cell; otherwise
// every position of the shape in turn, position counting them.
bool NextElementKey(TakenArguments& taken, uint16_t count, const CommonShape& shape, uint64_t* position,
                    uint64_t* key) {
  if (shape.allFlagged) {
    const ElementSource* const sources = taken.Sources();
    bool found = false;
    for (uint16_t i = 0; i < count; ++i) {
      if (!sources[i].next) continue;
      const uint64_t candidate = sources[i].NextKey();
      if (!found || candidate < *key) *key = candidate;
      found = true;
    }
    return found;
  }
  if (*position >= uint64_t(shape.columns) * shape.rows) return false;
  *key = KeyOf(static_cast<uint32_t>(*position / shape.columns), static_cast<uint32_t>(*position % shape.columns));
  ++*position;
  return true;
}

// Rebuilds the argument slots for the element at key, from the first to the
// last, so that what they push lands in the order of the stack.
void PutElementArguments(EvalState& state, uint16_t first, uint16_t count, TakenArguments& taken, uint64_t key) {
  ElementSource* const sources = taken.Sources();
  for (uint16_t i = 0; i < count; ++i) {
    const uint16_t slot = static_cast<uint16_t>(first + i);
    EvalValue& value = state.operands[slot];
    state.operandTop = slot;
    const EvalValue& copy = taken.copies[i];
    if (taken.flagged[i]) {
      ElementSource& source = sources[i];
      value.Clear();
      value.kind = kEvalEmpty;
      value.sheet = source.sheet;
      if (source.next && source.NextKey() == key) {
        state.CellToValue(value, source.next);
        source.Advance();
      }
      value.sheet = nullptr;
    } else if (copy.kind == kEvalText) {
      value = copy;
      if (!state.strings.Push(taken.keptTexts + taken.textStart[i], taken.textLength[i])) {
        value.kind = kEvalEmpty;
        value.error = kErrorValue;
      }
    } else if (copy.kind == kEvalArray) {
      value = copy;
      ArrayBuilder cells(state.arrays, &state.arrayElementsLeft);
      CellCursor walk = StartRangeWalk(nullptr, taken.keptArrays[i], 0);
      while (const CellRecord* cell = walk.Next()) cells.AddRecordCopy(cell->Column(), cell->Row(), cell);
      const bool failed = cells.Failed();
      CellBlock* chain = cells.Finish();
      if (failed || !state.arrays.PushChain(chain)) {
        state.arrays.ReleaseChain(chain);
        value.Clear();
        value.kind = kEvalEmpty;
        value.error = failed ? kErrorMemory : kErrorValue;
      }
    } else {
      value = copy;
    }
  }
}

// Stores the element's result, alone in slot first, at its position of the
// new array, and empties the slot; false when the cell could not be stored.
bool StoreElementResult(EvalState& state, uint16_t first, ArrayBuilder& results, uint64_t key,
                        PendingGather::SteppedWalk* walk) {
  const uint32_t elementRow = static_cast<uint32_t>(key >> 16);
  const uint32_t elementColumn = static_cast<uint32_t>(key & 0xFFFF);
  EvalValue& result = state.operands[first];
  // Which cell the handler reads may have been chosen by the values read:
  // a reference result, or a handler that makes references of values and
  // gave none this time (an address not yet calculated).
  const bool chosen = state.pendingGather.TakeCellsChosenByValue();
  if (walk && (chosen || result.kind == kEvalCellRef)) walk->Break();
  if (result.kind == kEvalCellRef) state.ResolveOperand(first);
  bool stored = true;
  if (result.kind == kEvalText) {
    stored = results.AddText(elementColumn, elementRow, state.SlotText(first), state.SlotTextLength(first),
                             static_cast<uint8_t>(result.error));
  } else if (result.kind == kEvalNumber || (result.kind == kEvalEmpty && result.error != kErrorNone)) {
    stored = results.AddNumber(elementColumn, elementRow, result.number, static_cast<uint8_t>(result.error));
  } else if (result.kind != kEvalEmpty) {
    // An element cannot hold a range or an array.
    stored = results.AddNumber(elementColumn, elementRow, 0.0, kErrorValue);
  }
  state.DisownSlot(first);
  return stored;
}

}  // namespace

bool EvalState::MayBroadcast() { return broadcastDepth < kMaxBroadcastDepth; }

bool EvalState::BroadcastArrays(const uint8_t* flags, uint16_t first) {
  const uint16_t top = operandTop;
  if (first == 0 || first >= top || top >= kStackSlots) {
    status = kEvalStatusSyntax;
    return false;
  }
  const uint16_t count = static_cast<uint16_t>(top - first);
  const EvalValue op = operands[top];

  TakenArguments taken;
  const CommonShape shape = MeasureFlagged(*this, flags, first, count, taken.flagged);
  // With a scalar taking part every position gets an element: a shape
  // beyond what the formula's arrays may still hold fails before any is built.
  const bool overBudget = !shape.allFlagged && uint64_t(shape.columns) * shape.rows > arrayElementsLeft;
  if (!shape.anyFlagged || shape.mismatch || shape.error != kErrorNone || overBudget || !MayBroadcast()) {
    ReleaseValues(static_cast<uint16_t>(top - 1), count);
    EvalValue& result = operands[first];
    result.Clear();
    result.kind = kEvalEmpty;
    uint32_t error = shape.error;
    if (error == kErrorNone) error = overBudget && !shape.mismatch ? kErrorMemory : kErrorValue;
    result.error = error;
    operandTop = first;
    return false;
  }
  DepthGuard depth;
  // Inside an operator's walk, which reads its operands whole, the steps
  // read for that walk.
  PendingGather::SteppedWalk walk(pendingGather);
  PendingGather::SteppedWalk* const elementWalk =
      ElementsWalkTheirRanges(*this, first, count, taken.flagged) ? &walk : nullptr;
  TakeArguments(*this, first, count, taken);

  // The results are written into the array store's own chain; an array
  // built while an element is computed sets it aside for that time.
  ArrayBuilder results(arrays, &arrayElementsLeft);
  uint32_t outcome = kErrorNone;
  uint64_t position = 0;
  uint64_t key = 0;
  while (NextElementKey(taken, count, shape, &position, &key)) {
    if (elementWalk) elementWalk->Enter();
    PutElementArguments(*this, first, count, taken, key);
    if (elementWalk) elementWalk->Pause();
    operandTop = top;
    operands[top] = op;
    pendingGather.TakeCellsChosenByValue();
    ApplyOperator();
    // The element's result stays alone in slot first, as after any call.
    KeepCallResultOnTop(first);
    if (status != 0) break;
    if (!StoreElementResult(*this, first, results, key, elementWalk)) {
      // Where room ran out may depend on the texts of cells not yet calculated.
      pendingGather.Close();
      outcome = kErrorMemory;
      break;
    }
  }

  ElementSource* const sources = taken.Sources();
  for (uint16_t i = 0; i < count; ++i) {
    arrays.ReleaseChain(sources[i].ownedChain);
    arrays.ReleaseChain(taken.keptArrays[i]);
  }
  if (status != 0) return false;

  CellBlock* chain = results.Finish();
  EvalValue& result = operands[first];
  result.Clear();
  operandTop = first;
  if (outcome == kErrorNone && !arrays.PushChain(chain)) outcome = kErrorValue;
  if (outcome != kErrorNone) {
    arrays.ReleaseChain(chain);
    result.kind = kEvalEmpty;
    result.error = outcome;
    return false;
  }
  result.SetArray(shape.columns, shape.rows);
  return true;
}
