#include "functions/fn_concatenate.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/numfmt/double_to_text.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/plain_text_cell.h"
#include "functions/row_cell_args.h"

namespace {

constexpr size_t kJoined = EvalState::kJoinedTextCapacity;

// The result is built backwards from the end of its buffer, because the
// arguments are read from the last to the first.
struct BackwardText {
  char buffer[kJoined + 1];
  size_t start = kJoined;
  bool overflowed = false;

  void Prepend(const char* text, size_t length) {
    if (length > start) overflowed = true;
    if (overflowed) return;
    start -= length;
    std::memcpy(buffer + start, text, length);
  }
};

}  // namespace

void FnConcatenate(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  const uint16_t first = FirstArg(state);
  BackwardText result;
  uint32_t error = kErrorNone;
  char piece[kArgTextCapacity];
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first && !result.overflowed; --slot) {
    const uint32_t kind = state.operands[slot].kind;
    if (kind == kEvalCellRef) {
      // A text or number cell is read where it stands, as GetArgText reads
      // it through the slot: a text up to its first NUL.
      const char* text = nullptr;
      size_t length = 0;
      double x = 0;
      if (ReadReferencedText(state, slot, &text, &length)) {
        const void* nul = std::memchr(text, '\0', length);
        if (nul) length = static_cast<size_t>(static_cast<const char*>(nul) - text);
        state.DisownSlot(slot);
        result.Prepend(text, length);
        continue;
      }
      if (ReadReferencedNumber(state, slot, &x)) {
        state.DisownSlot(slot);
        DoubleToText(x, piece, kArgTextCapacity, nullptr);
        result.Prepend(piece, std::strlen(piece));
        continue;
      }
    }
    if (kind != kEvalRange && kind != kEvalArray) {
      piece[0] = '\0';
      const uint8_t e = GetArgText(state, slot, piece);
      if (e > error) error = e;
      result.Prepend(piece, std::strlen(piece));
      continue;
    }
    ArgRange range;
    const uint8_t e = GetArgRange(state, slot, &range);
    if (e > error) error = e;
    char cells[kJoined + 1];
    size_t length = 0;
    while (const CellRecord* cell = NextArgCell(range)) {
      const char* text = piece;
      size_t pieceLength = 0;
      double x = 0;
      // Plain numbers and texts are read where they stand, without a view.
      if (ReadPlainNumber(state, range, cell, &x)) {
        pieceLength = DoubleToText(x, piece, kArgTextCapacity, nullptr);
      } else if (ReadPlainTextCell(state, cell, &text, &pieceLength)) {
        const void* nul = std::memchr(text, '\0', pieceLength);
        if (nul) pieceLength = static_cast<size_t>(static_cast<const char*>(nul) - text);
      } else {
        const CellValueView value = state.ViewCell(cell, range.sheet);
        if (value.error > error) error = value.error;
        pieceLength = CellValueText(value, piece, &text);
      }
      if (pieceLength > kJoined - length) {
        result.overflowed = true;
        break;
      }
      std::memcpy(cells + length, text, pieceLength);
      length += pieceLength;
    }
    ReleaseArgRange(state, range);
    state.operands[slot].Clear();
    result.Prepend(cells, length);
  }
  if (result.overflowed && error < kErrorValue) error = kErrorValue;
  if (error != kErrorNone) {
    SetErrorResult(state, error);
    return;
  }
  SetTextResult(state, result.buffer + result.start, kJoined - result.start, kErrorNone);
}
