#include <cmath>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/num_format_params.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/number_input.h"
#include "core/numfmt/regional_settings.h"
#include "functions/aggregate_cells.h"
#include "functions/element_call.h"
#include "functions/fn_text.h"
#include "functions/int_pow.h"

namespace {

uint8_t Larger(uint8_t a, uint8_t b) { return a > b ? a : b; }

// Negative decimals round to tens, hundreds...: halves go towards plus
// infinity. False when the rounded number is no usable number.
bool RoundToTens(double* x, int32_t* decimals) {
  if (*decimals >= 0) return true;
  const double p = IntPow(10.0, -*decimals);
  const double q = *x / p;
  const double whole = std::trunc(q);
  *x = (whole + std::floor(q - whole + 0.5)) * p;
  *decimals = 0;
  return !IsBadNumber(*x);
}

// x formatted by a code written in the generic separators; the text uses
// the current ones. A code that cannot be applied is "#VALUE!".
void SetFormattedNumber(EvalState& state, double x, const char* code, uint8_t error) {
  char text[kArgTextCapacity] = "";
  if (error == kErrorNone && !FormatNumberToString(x, code, text, sizeof text, &CurrentRegionalSettings()))
    error = kErrorValue;
  SetTextOrError(state, text, std::strlen(text), error);
}

// The number and the decimals (-14..14, default 2) of DOLLAR and FIXED.
uint8_t ReadNumberAndDecimals(EvalState& state, double* x, int32_t* decimals) {
  *decimals = 2;
  uint8_t error = GetArgInt(state, ArgSlot(state, 1), decimals, -14, 14);
  error = Larger(error, GetArgNumber(state, ArgSlot(state, 0), x, -kLargestNumber, kLargestNumber));
  if (error == kErrorNone && !RoundToTens(x, decimals)) error = kErrorNum;
  return error;
}

}  // namespace

// The currency text of the current settings before the number, grouped
// thousands, negative numbers in parentheses.
void FnDollar(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  double x = 0;
  int32_t decimals = 2;
  const uint8_t error = ReadNumberAndDecimals(state, &x, &decimals);
  char code[kNumFormatCodeSize] = "";
  if (error == kErrorNone) {
    NumFormatOptions options;
    std::memset(&options, 0, sizeof options);
    std::strncpy(options.currency.symbol, CurrentRegionalSettings().currency, kCurrencySymbolSize - 1);
    options.currency.decimals = static_cast<uint8_t>(decimals);
    options.currency.symbolPosition = kSymbolBefore;
    options.currency.negativeStyle = kNegativeParentheses;
    BuildFormatCode(kNumFormatCurrency, options, code, sizeof code, nullptr);
  }
  SetFormattedNumber(state, x, code, error);
}

// Fixed decimals with a minus sign; group separators only when the third
// argument is 0, so that its default 1 writes none.
void FnFixed(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  int32_t noSeparators = 1;
  const uint8_t separatorError = GetArgInt(state, ArgSlot(state, 2), &noSeparators, 0, 1);
  double x = 0;
  int32_t decimals = 2;
  const uint8_t error = Larger(separatorError, ReadNumberAndDecimals(state, &x, &decimals));
  char code[kNumFormatCodeSize] = "";
  if (error == kErrorNone) {
    NumFormatOptions options;
    std::memset(&options, 0, sizeof options);
    options.number.fixedDecimals = 1;
    options.number.decimals = static_cast<uint8_t>(decimals);
    options.number.grouping = noSeparators == 0 ? 1 : 0;
    options.number.negativeStyle = kNegativeMinus;
    BuildFormatCode(kNumFormatGeneral, options, code, sizeof code, nullptr);
  }
  SetFormattedNumber(state, x, code, error);
}

void FnText(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  char code[kArgTextCapacity] = "";
  double x = 0;
  uint8_t error = GetArgText(state, ArgSlot(state, 1), code);
  error = Larger(error, GetArgNumber(state, ArgSlot(state, 0), &x, -kLargestNumber, kLargestNumber));
  SetFormattedNumber(state, x, code, error);
}

// The text read as typed input in the current settings: "1,234.5", "12%",
// "$5" and "1 1/4" are numbers.
void FnValue(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  char text[kArgTextCapacity] = "";
  uint8_t error = GetArgText(state, FirstArg(state), text);
  double x = 0;
  if (error == kErrorNone) {
    uint8_t category = 0;
    NumFormatOptions options;
    std::memset(&options, 0, sizeof options);
    if (!ParseWithFormat(text, &x, &category, &options, CurrentRegionalSettings())) error = kErrorValue;
  }
  SetNumberResult(state, x, error);
}
