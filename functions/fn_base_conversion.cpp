#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/base_digits.h"
#include "functions/element_call.h"
#include "functions/fn_engineering.h"

namespace {

constexpr int kDecimal = 0;  // the decimal side of a conversion

uint16_t Position(const EvalState& state, uint16_t index) { return static_cast<uint16_t>(FirstArg(state) + index); }

// The first argument as a number: a text of digits of the base, or a
// decimal integer within the target's range.
uint8_t ReadSource(EvalState& state, int fromBits, int toBits, int64_t* value) {
  const uint16_t slot = Position(state, 0);
  if (fromBits == kDecimal) {
    // The readers stop at 32 bits, whatever wider bounds a base allows.
    return GetArgInt64(state, slot, value, SmallestInBase(toBits), LargestInBase(toBits));
  }
  char text[kArgTextCapacity] = "";
  const uint8_t error = GetArgText(state, slot, text);
  if (error != kErrorNone) return error;
  if (!ReadBaseDigits(text, fromBits, value)) return kErrorValue;
  if (toBits != kDecimal && (*value < SmallestInBase(toBits) || *value > LargestInBase(toBits))) return kErrorValue;
  return 0;
}

void ConvertToDecimal(EvalState& state, int fromBits) {
  if (!BeginElementCall(state, 1)) return;
  int64_t value = 0;
  const uint8_t error = ReadSource(state, fromBits, kDecimal, &value);
  SetNumberResult(state, static_cast<double>(value), error);
}

void ConvertToBase(EvalState& state, int fromBits, int toBits) {
  if (!BeginElementCall(state, 2)) return;
  int32_t places = static_cast<int32_t>(kBaseDigitsMax);
  const uint8_t placesError = GetArgInt(state, Position(state, 1), &places, 0, static_cast<int32_t>(kBaseDigitsMax));
  int64_t value = 0;
  const uint8_t error = static_cast<uint8_t>(LargerErrorOf(placesError, ReadSource(state, fromBits, toBits, &value)));
  char text[kBaseTextCapacity] = "";
  const size_t length = error == kErrorNone ? WriteBaseDigits(value, toBits, places, text) : 0;
  SetTextOrError(state, text, length, error);
}

}  // namespace

void FnBin2Dec(EvalState& state) { ConvertToDecimal(state, kBinaryDigitBits); }
void FnBin2Hex(EvalState& state) { ConvertToBase(state, kBinaryDigitBits, kHexDigitBits); }
void FnBin2Oct(EvalState& state) { ConvertToBase(state, kBinaryDigitBits, kOctalDigitBits); }
void FnDec2Bin(EvalState& state) { ConvertToBase(state, kDecimal, kBinaryDigitBits); }
void FnDec2Hex(EvalState& state) { ConvertToBase(state, kDecimal, kHexDigitBits); }
void FnDec2Oct(EvalState& state) { ConvertToBase(state, kDecimal, kOctalDigitBits); }
void FnHex2Bin(EvalState& state) { ConvertToBase(state, kHexDigitBits, kBinaryDigitBits); }
void FnHex2Dec(EvalState& state) { ConvertToDecimal(state, kHexDigitBits); }
void FnHex2Oct(EvalState& state) { ConvertToBase(state, kHexDigitBits, kOctalDigitBits); }
void FnOct2Bin(EvalState& state) { ConvertToBase(state, kOctalDigitBits, kBinaryDigitBits); }
void FnOct2Dec(EvalState& state) { ConvertToDecimal(state, kOctalDigitBits); }
void FnOct2Hex(EvalState& state) { ConvertToBase(state, kOctalDigitBits, kHexDigitBits); }
