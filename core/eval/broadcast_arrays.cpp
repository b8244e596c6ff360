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

uint64_t KeyOf(uint32_t row, uint32_t column) { return (uint64_t(row) << 16) | column; }

bool IsRangeOrArray(uint32_t kind) { return kind == kEvalRange || kind == kEvalArray; }

}  // namespace

static_assert(std::is_trivially_destructible<ElementSource>::value, "element sources are never destroyed");

bool EvalState::MayBroadcast() { return broadcastDepth < kMaxBroadcastDepth; }

bool EvalState::BroadcastArrays(const uint8_t* flags, uint16_t first) {
  const uint16_t top = operandTop;
  if (first == 0 || first >= top || top >= kStackSlots) {
    status = kEvalStatusSyntax;
    return false;
  }
  const uint16_t count = static_cast<uint16_t>(top - first);
  const EvalValue op = operands[top];

  bool flagged[kStackSlots] = {};
  bool allFlagged = true;
  bool anyFlagged = false;
  bool mismatch = false;
  uint32_t error = kErrorNone;
  uint32_t columns = 0;
  uint32_t rows = 0;
  for (uint16_t i = 0; i < count; ++i) {
    const EvalValue& value = operands[first + i];
    flagged[i] = flags[i] && IsRangeOrArray(value.kind);
    if (!flagged[i]) {
      allFlagged = false;
      continue;
    }
    const uint32_t c = value.second.column - value.first.column + 1;
    const uint32_t r = value.second.row - value.first.row + 1;
    if (anyFlagged && (c != columns || r != rows)) mismatch = true;
    columns = c;
    rows = r;
    anyFlagged = true;
    if (value.error > error) error = value.error;
  }
  // With a scalar taking part every position gets an element: a shape
  // beyond what the formula's arrays may still hold fails before any is built.
  const bool overBudget = !allFlagged && uint64_t(columns) * rows > arrayElementsLeft;
  if (!anyFlagged || mismatch || error != kErrorNone || overBudget || !MayBroadcast()) {
    ReleaseValues(static_cast<uint16_t>(top - 1), count);
    EvalValue& result = operands[first];
    result.Clear();
    result.kind = kEvalEmpty;
    if (error == kErrorNone) error = overBudget && !mismatch ? kErrorMemory : kErrorValue;
    result.error = error;
    operandTop = first;
    return false;
  }
  DepthGuard depth;

  // The arguments give up what they own from the last to the first, the
  // order of the pool and the array stack. Only the first count entries of
  // these tables are used, and calls take few arguments: clearing whole
  // tables would cost more than a short element-wise call itself.
  EvalValue copies[kStackSlots];
  alignas(ElementSource) unsigned char sourceBytes[kStackSlots * sizeof(ElementSource)];
  ElementSource* const sources = reinterpret_cast<ElementSource*>(sourceBytes);
  CellBlock* keptArrays[kStackSlots];
  char keptTexts[FormulaStrings::kByteCapacity];
  size_t textStart[kStackSlots];
  size_t textLength[kStackSlots];
  size_t textUsed = 0;
  for (uint16_t i = count; i-- > 0;) {
    const uint16_t slot = static_cast<uint16_t>(first + i);
    EvalValue& value = operands[slot];
    copies[i] = value;
    new (sources + i) ElementSource();
    keptArrays[i] = nullptr;
    textStart[i] = 0;
    textLength[i] = 0;
    if (flagged[i]) {
      ElementSource& source = sources[i];
      source.firstColumn = value.first.column;
      source.firstRow = value.first.row;
      source.lastColumn = value.second.column;
      source.lastRow = value.second.row;
      const bool isArray = value.kind == kEvalArray;
      source.sheet = isArray ? nullptr : value.sheet;
      if (source.sheet)
        NoteSpillAreaMeeting(source.sheet, source.firstColumn, source.lastColumn, source.firstRow, source.lastRow);
      source.ownedChain = isArray ? TakeSlotArray(slot) : nullptr;
      source.Start();
    } else if (value.kind == kEvalText) {
      // All texts together fit the pool they came from.
      textStart[i] = textUsed;
      textLength[i] = SlotTextLength(slot);
      std::memcpy(keptTexts + textUsed, SlotText(slot), textLength[i]);
      textUsed += textLength[i];
      DisownSlot(slot);
    } else if (value.kind == kEvalArray) {
      keptArrays[i] = TakeSlotArray(slot);
    }
  }

  // The results are written into the array store's own chain; an array
  // built while an element is computed sets it aside for that time.
  ArrayBuilder results(arrays, &arrayElementsLeft);
  uint32_t outcome = kErrorNone;
  const uint64_t positions = uint64_t(columns) * rows;
  uint64_t position = 0;
  for (;;) {
    uint64_t key = 0;
    if (allFlagged) {
      bool found = false;
      for (uint16_t i = 0; i < count; ++i) {
        if (!sources[i].next) continue;
        const uint64_t candidate = sources[i].NextKey();
        if (!found || candidate < key) key = candidate;
        found = true;
      }
      if (!found) break;
    } else {
      if (position >= positions) break;
      key = KeyOf(static_cast<uint32_t>(position / columns), static_cast<uint32_t>(position % columns));
      ++position;
    }
    const uint32_t elementRow = static_cast<uint32_t>(key >> 16);
    const uint32_t elementColumn = static_cast<uint32_t>(key & 0xFFFF);

    // Arguments are rebuilt from the first to the last, so that what they
    // push lands in the order of the stack.
    for (uint16_t i = 0; i < count; ++i) {
      const uint16_t slot = static_cast<uint16_t>(first + i);
      EvalValue& value = operands[slot];
      operandTop = slot;
      if (flagged[i]) {
        ElementSource& source = sources[i];
        value.Clear();
        value.kind = kEvalEmpty;
        value.sheet = source.sheet;
        if (source.next && source.NextKey() == key) {
          CellToValue(value, source.next);
          source.Advance();
        }
        value.sheet = nullptr;
      } else if (copies[i].kind == kEvalText) {
        value = copies[i];
        if (!strings.Push(keptTexts + textStart[i], textLength[i])) {
          value.kind = kEvalEmpty;
          value.error = kErrorValue;
        }
      } else if (copies[i].kind == kEvalArray) {
        value = copies[i];
        ArrayBuilder copy(arrays, &arrayElementsLeft);
        CellCursor walk;
        walk.flags = kCursorAfterRecord;
        walk.block = keptArrays[i];
        while (const CellRecord* cell = walk.Next()) copy.AddRecordCopy(cell->Column(), cell->Row(), cell);
        const bool failed = copy.Failed();
        CellBlock* chain = copy.Finish();
        if (failed || !arrays.PushChain(chain)) {
          arrays.ReleaseChain(chain);
          value.Clear();
          value.kind = kEvalEmpty;
          value.error = failed ? kErrorMemory : kErrorValue;
        }
      } else {
        value = copies[i];
      }
    }
    operandTop = top;
    operands[top] = op;
    ApplyOperator();
    if (status != 0) break;

    EvalValue& result = operands[first];
    if (result.kind == kEvalCellRef) ResolveOperand(first);
    bool stored = true;
    if (result.kind == kEvalText) {
      stored = results.AddText(elementColumn, elementRow, SlotText(first), SlotTextLength(first),
                               static_cast<uint8_t>(result.error));
    } else if (result.kind == kEvalNumber || (result.kind == kEvalEmpty && result.error != kErrorNone)) {
      stored = results.AddNumber(elementColumn, elementRow, result.number, static_cast<uint8_t>(result.error));
    } else if (result.kind != kEvalEmpty) {
      // An element cannot hold a range or an array.
      stored = results.AddNumber(elementColumn, elementRow, 0.0, kErrorValue);
    }
    DisownSlot(first);
    if (operandTop > first) ReleaseValues(operandTop, static_cast<uint16_t>(operandTop - first));
    operandTop = first;
    if (!stored) {
      outcome = kErrorMemory;
      break;
    }
  }

  for (uint16_t i = 0; i < count; ++i) {
    arrays.ReleaseChain(sources[i].ownedChain);
    arrays.ReleaseChain(keptArrays[i]);
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
  result.SetArray(columns, rows);
  return true;
}
