#ifndef TALVERO_CORE_FORMULA_OPERATOR_CHAR_H
#define TALVERO_CORE_FORMULA_OPERATOR_CHAR_H

// The one-character tokens that no longer token begins with, as the formula
// scanner reads them: translating a typed formula meets one between every
// two operands and need not run the whole scanner for it.

#include <cstdint>
#include <cstring>

#include "core/formula/eval_value.h"
#include "core/formula/formula_chars.h"
#include "core/numfmt/regional_settings.h"

// The kind of the token at c, or kEvalInvalid when c may begin another
// token (a number, a name, a text, a two-character operator, the form's
// decimal separator).
inline uint32_t OneCharacterToken(char c, const RegionalSettings& separators) {
  if (c == separators.decimalSeparator) return kEvalInvalid;
  if (c == separators.listSeparator) {
    const bool beginsOther = IsFormulaDigit(c) || IsFormulaLetter(c) || std::strchr("$#\\\"'{", c) != nullptr;
    return beginsOther ? kEvalInvalid : kEvalListSeparator;
  }
  switch (c) {
    case '+': return kOpPlus;
    case '-': return kOpMinus;
    case '*': return kOpMultiply;
    case '/': return kOpDivide;
    case '^': return kOpPower;
    case '&': return kOpConcat;
    case '%': return kOpPercent;
    case '=': return kOpEqual;
    case ':': return kOpRange;
    case '!': return kOpSheet;
    case '(': return kEvalOpenParen;
    case ')': return kEvalCloseParen;
    default: return kEvalInvalid;
  }
}

#endif
