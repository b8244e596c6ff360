#include "functions/complex_args.h"

#include <cmath>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/numfmt/double_to_text.h"
#include "functions/arg_readers.h"
#include "functions/complex_text.h"
#include "functions/element_call.h"

namespace {

// The last complex result written whose parts both write exactly: its text
// reads back as those parts, so a complex function reading that very text,
// as one nested in another does, takes them from here instead of parsing
// the text again. Keyed by the whole text, a later text can only miss it.
struct WrittenComplex {
  char text[2 * kDoubleTextCapacity + 8];
  size_t length;  // 0 while there is none
  Complex z;
};
WrittenComplex lastWritten = {};

}  // namespace

uint8_t GetArgComplex(EvalState& state, uint16_t slot, Complex* z) {
  // A number would be written as text only to be read back unchanged.
  EvalValue& value = state.operands[slot];
  state.ResolveOperand(slot);
  if (value.kind == kEvalNumber && value.error == kErrorNone && ComplexOfNumber(value.number, z)) return kErrorNone;
  if (value.kind == kEvalText) {
    // Parsed where it stands: pool texts end with a NUL, as the copy would.
    uint8_t error = static_cast<uint8_t>(value.error);
    // The slot's place in the pool is found once for the look, the parse
    // and the release.
    const uint16_t depth = slot < EvalState::kStackSlots ? state.OwnersAbove(slot, kEvalText) : 0;
    const char* text = state.strings.FromTop(depth);
    if (error == kErrorNone && lastWritten.length != 0 && state.strings.LengthFromTop(depth) == lastWritten.length &&
        std::memcmp(text, lastWritten.text, lastWritten.length) == 0) {
      *z = lastWritten.z;
    } else {
      const bool parsed = error == kErrorNone && ParseComplex(text, &z->re, &z->im);
      if (error == kErrorNone && !parsed) error = kErrorValue;
    }
    state.DropSlotText(value, depth);
    return error;
  }
  char text[kArgTextCapacity];
  text[0] = '\0';
  const uint8_t error = GetArgText(state, slot, text);
  if (error != kErrorNone) return error;
  return ParseComplex(text, &z->re, &z->im) ? 0 : uint8_t(kErrorValue);
}

void SetComplexResult(EvalState& state, const Complex& z, uint32_t error) {
  if (error == kErrorNone && IsBadComplex(z)) error = kErrorNum;
  char text[sizeof lastWritten.text] = "";
  const size_t length = error == kErrorNone ? ComplexToText(z.re, z.im, "i", text, sizeof text) : 0;
  if (length != 0 && WritesExactly(z.re) && WritesExactly(z.im)) {
    // As the text reads back: no negative zero.
    std::memcpy(lastWritten.text, text, length);
    lastWritten.length = length;
    lastWritten.z = Complex{z.re == 0.0 ? 0.0 : z.re, z.im == 0.0 ? 0.0 : z.im};
  }
  SetTextOrError(state, text, length, error);
}

double ComplexModulus(const Complex& z) {
  const double a = std::fabs(z.re);
  const double b = std::fabs(z.im);
  const double larger = a > b ? a : b;
  if (larger == 0.0) return 0.0;
  const double ratio = (a > b ? b : a) / larger;
  return larger * std::sqrt(1.0 + ratio * ratio);
}
