#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_scanner.h"
#include "core/base/result_check.h"
#include "core/numfmt/text_to_number.h"

namespace {

// Longer texts are no number a formula could hold.
constexpr size_t kNumberTextCapacity = kFormulaTextCapacity + 1;

bool IsTextBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

bool TextToNumberValue(const char* text, size_t length, double* value) {
  while (length > 0 && IsTextBlank(*text)) {
    ++text;
    --length;
  }
  while (length > 0 && IsTextBlank(text[length - 1])) --length;
  bool negative = false;
  if (length > 0 && (*text == '-' || *text == '+')) {
    negative = *text == '-';
    ++text;
    --length;
  }
  if (length == 0 || length >= kNumberTextCapacity) return false;
  // Cell texts are not NUL-terminated; the number reader needs an end.
  char buffer[kNumberTextCapacity];
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  double number = 0;
  const char* end = nullptr;
  if (!ParseNumberLiteral(buffer, &number, &end, false) || end != buffer + length) return false;
  if (IsBadNumber(number)) return false;
  *value = negative ? 0.0 - number : number;  // never "-0"
  return true;
}

void EvalState::TextOperandToNumber(uint16_t slot) {
  EvalValue& value = operands[slot];
  const uint32_t error = value.error;
  double number = 0;
  const bool read = error == kErrorNone && TextToNumberValue(SlotText(slot), SlotTextLength(slot), &number);
  DisownSlot(slot);
  value.Clear();
  if (error != kErrorNone || !read) {
    value.kind = kEvalEmpty;
    value.error = error != kErrorNone ? error : uint32_t(kErrorNum);
    return;
  }
  value.kind = kEvalNumber;
  value.number = number;
}

void EvalState::ValueToText(uint16_t slot) {
  if (slot == 0 || slot >= kStackSlots) return;
  EvalValue& value = operands[slot];
  if (value.kind == kEvalCellRef) ResolveOperand(slot);
  if (value.kind == kEvalText) return;
  const uint32_t error = value.error;
  if (value.kind != kEvalNumber && value.kind != kEvalEmpty) {
    DisownSlot(slot);
    value.Clear();
    value.kind = kEvalEmpty;
    value.error = error > kErrorValue ? error : uint32_t(kErrorValue);
    return;
  }
  char buffer[kDoubleTextCapacity];
  const char* text = buffer;
  buffer[0] = '\0';
  if (error != kErrorNone)
    text = ErrorName(static_cast<uint8_t>(error));
  else if (value.kind == kEvalNumber)
    DoubleToText(value.number, buffer, sizeof buffer, nullptr);
  value.Clear();
  value.error = error;
  if (!strings.PushSz(text)) {
    value.kind = kEvalEmpty;
    value.error = error > kErrorValue ? error : uint32_t(kErrorValue);
    return;
  }
  value.kind = kEvalText;
  KeepInStep(slot);
}
