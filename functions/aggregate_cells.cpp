#include "functions/aggregate_cells.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/formula_chars.h"
#include "core/numfmt/date_time.h"
#include "core/numfmt/double_to_text.h"

uint8_t GetRequiredArgRange(EvalState& state, uint16_t slot, ArgRange* out) {
  const bool omitted = IsOmittedArg(state.operands[slot]);
  const uint8_t error = GetArgRange(state, slot, out);
  return omitted ? uint8_t(kErrorValue) : error;
}

void CellValueToSlot(EvalState& state, uint16_t slot, const ArgRange& range, const CellRecord* cell) {
  EvalValue& value = state.operands[slot];
  value.Clear();
  value.sheet = range.sheet;
  state.CellToValue(value, cell);
}

uint8_t ReadCellNumber(EvalState& state, uint16_t slot, const ArgRange& range, const CellRecord* cell,
                       double* out) {
  CellValueToSlot(state, slot, range, cell);
  *out = 0;
  const uint8_t error = GetArgNumber(state, slot, out, -kLargestNumber, kLargestNumber);
  state.DisownSlot(slot);
  return error;
}

bool MaySpellNumber(const char* text, size_t length) {
  const char decimal = FormSeparators(false).decimalSeparator;
  char previous = ' ';
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    const bool sign = c == '+' || c == '-';
    if (sign && !(previous == ' ' || previous == '\t' || previous == '\r' || previous == '\n' ||
                  previous == 'E' || previous == 'e'))
      return false;
    if (!sign && !(c >= '0' && c <= '9') && c != decimal && c != 'E' && c != 'e' && c != ' ' && c != '\t' &&
        c != '\r' && c != '\n')
      return false;
    previous = c;
  }
  return true;
}

size_t CellValueText(const CellValueView& value, char* buffer, const char** text) {
  *text = buffer;
  buffer[0] = '\0';
  if (value.kind == kEvalText) {
    *text = value.text;
    const void* nul = std::memchr(value.text, '\0', value.length);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - value.text) : value.length;
  }
  if (value.error != kErrorNone)
    std::strcpy(buffer, ErrorName(static_cast<uint8_t>(value.error)));
  else if (value.kind == kEvalNumber)
    DoubleToText(value.number, buffer, kArgTextCapacity, nullptr);
  return std::strlen(buffer);
}

const CellRecord* ArgCellAt(const ArgRange& range, uint32_t column, uint32_t row) {
  if (column >= kColumnCount || row >= kRowCount) return nullptr;
  if (range.sheet) return range.sheet->GetCell(row, static_cast<uint16_t>(column));
  return ChainCellAt(range.chain, column, row);
}

bool PairedWalk::Next(const CellRecord** x, const CellRecord** y) {
  *x = nullptr;
  *y = nullptr;
  if (!nextX_ && !nextY_)
    return false;
  const uint64_t keyX = nextX_ ? CellKey(x_, nextX_) : UINT64_MAX;
  const uint64_t keyY = nextY_ ? CellKey(y_, nextY_) : UINT64_MAX;
  if (keyX <= keyY) {
    *x = nextX_;
    nextX_ = NextArgCell(x_);
  }
  if (keyY <= keyX) {
    *y = nextY_;
    nextY_ = NextArgCell(y_);
  }
  return true;
}

void ReleaseArgsBeyond(EvalState& state, uint16_t count) {
  const uint16_t first = FirstArg(state);
  for (uint16_t slot = static_cast<uint16_t>(state.operandTop - 1); slot >= first + count; --slot)
    state.DisownSlot(slot);
}

uint8_t ReadCellDate(EvalState& state, const ArgRange& range, const CellRecord* cell, DateTime* out) {
  const CellValueView view = state.ViewCell(cell, range.sheet);
  if (view.kind == kEvalEmpty && view.error == kErrorNone) return kErrorNone;
  if (view.kind != kEvalText) return KindError(view.error);
  if (view.error != kErrorNone) return static_cast<uint8_t>(view.error);
  DateTime parsed;
  if (ReadPlainIsoDate(view.text, view.length, &parsed)) {
    *out = parsed;
    return kErrorNone;
  }
  char text[kArgTextCapacity];
  std::memcpy(text, view.text, view.length);
  text[view.length] = '\0';
  if (!ParseIsoDateTime(&parsed, text)) return kErrorValue;
  *out = parsed;
  return kErrorNone;
}
