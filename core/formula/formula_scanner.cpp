#include "core/formula/formula_scanner.h"
#include "core/formula/scanned_token.h"

#include <cstdlib>
#include <cstring>

#include "core/formula/builtin_function_table.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_array_constant.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_ref_text.h"
#include "core/formula/take_scanned_token.h"
#include "core/base/result_check.h"
#include "platform/os_services.h"

namespace {

// A number in a formula never exceeds the formula; longer runs are refused.
constexpr size_t kNumberTextCapacity = kFormulaTextCapacity + 1;

bool MatchesIgnoringCase(const char* text, const char* word) {
  for (; *word; ++text, ++word)
    if (OsCharUpper(static_cast<uint8_t>(*text)) != static_cast<uint8_t>(*word)) return false;
  return true;
}

// Up to 15 digits without a point or an exponent give a whole number below
// 2^53, which a double holds exactly: the same value the runtime's
// conversion gives, without its cost on every recalculation.
double WholeNumberOrStrtod(const char* text) {
  constexpr int kExactDigits = 15;
  uint64_t whole = 0;
  int digits = 0;
  for (const char* p = text; *p; ++p, ++digits) {
    if (!IsFormulaDigit(*p) || digits == kExactDigits)
      return std::strtod(text, nullptr);
    whole = whole * 10 + uint64_t(*p - '0');
  }
  return double(whole);
}

const char* CopyDigits(const char* p, BoundedText& number, int* count) {
  for (; IsFormulaDigit(*p); ++p) {
    number.Put(*p);
    ++*count;
  }
  return p;
}

struct OperatorSpelling {
  char first;
  char second;  // 0 for a one-character token
  uint32_t kind;
};

// Two-character spellings come before their one-character prefixes.
constexpr OperatorSpelling kOperators[] = {
    {'<', '=', kOpLessEqual}, {'<', '>', kOpNotEqual}, {'>', '=', kOpGreaterEqual},
    {'=', 0, kOpEqual},       {'<', 0, kOpLess},       {'>', 0, kOpGreater},
    {'+', 0, kOpPlus},        {'-', 0, kOpMinus},      {'&', 0, kOpConcat},
    {'*', 0, kOpMultiply},    {'/', 0, kOpDivide},     {'^', 0, kOpPower},
    {'%', 0, kOpPercent},     {'_', 0, kOpIntersect},  {'!', 0, kOpSheet},
    {':', 0, kOpRange},       {'(', 0, kEvalOpenParen}, {')', 0, kEvalCloseParen},
};

}  // namespace

bool ParseNumberLiteral(const char* position, double* value, const char** end, bool storedForm) {
  const char decimal = FormSeparators(storedForm).decimalSeparator;
  char buffer[kNumberTextCapacity];
  BoundedText number(buffer, sizeof buffer);
  int digits = 0;
  const char* p = CopyDigits(position, number, &digits);
  if (*p == decimal) {
    ++p;
    if (*p == decimal) return false;
    number.Put('.');
    p = CopyDigits(p, number, &digits);
  }
  if (digits == 0) return false;
  if (*p == 'E' || *p == 'e') {
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (IsFormulaDigit(*q)) {
      number.Put('e');
      if (p[1] == '-') number.Put('-');
      int exponentDigits = 0;
      p = CopyDigits(q, number, &exponentDigits);
    } else if (!storedForm) {
      return false;
    }
  }
  if (number.Overflowed()) return false;
  *value = WholeNumberOrStrtod(number.Text());
  *end = p;
  return true;
}

bool ParseErrorLiteral(const char* position, uint8_t* errorByte, const char** end) {
  for (int i = 1; i <= kErrorCodeCount; ++i) {
    const uint8_t code = static_cast<uint8_t>(i * kErrorCodeStep);
    const char* name = ErrorName(code);
    if (MatchesIgnoringCase(position, name)) {
      *errorByte = code;
      *end = position + std::strlen(name);
      return true;
    }
  }
  return false;
}

bool ParseBoolLiteral(const char* position, double* value, const char** end) {
  static const struct {
    const char* word;
    double value;
  } kWords[] = {{"FALSE", 0.0}, {"TRUE", 1.0}};
  for (const auto& w : kWords) {
    const size_t length = std::strlen(w.word);
    if (MatchesIgnoringCase(position, w.word) && !IsNameChar(position[length])) {
      *value = w.value;
      *end = position + length;
      return true;
    }
  }
  return false;
}

uint32_t ScanFormulaToken(const char* base, const char** position, ScannedToken* token, bool storedForm) {
  *token = ScannedToken{};
  const char* p = SkipFormulaBlanks(*position);
  *position = p;
  const RegionalSettings& separators = FormSeparators(storedForm);
  const char* end = p;

  const auto finish = [&](uint32_t kind) {
    token->kind = static_cast<uint16_t>(kind);
    *position = end;
    return kind;
  };
  const auto text = [&](const char* first, size_t length, uint8_t error) {
    token->textOffset = static_cast<uint32_t>(first - base);
    token->textLength = static_cast<uint32_t>(length);
    token->error = error;
    return finish(kEvalText);
  };

  if (*p == '\0') return finish(kEvalEnd);

  if (IsFormulaDigit(*p) || *p == separators.decimalSeparator) {
    if (!ParseNumberLiteral(p, &token->number, &end, storedForm)) return kEvalInvalid;
    if (IsBadNumber(token->number)) token->error = kErrorNum;
    return finish(kEvalNumber);
  }

  if (IsFormulaLetter(*p) || *p == '$' || *p == '#' || *p == '\\') {
    if (FormUsesA1(storedForm)) {
      RefCorner corner;
      if (ParseA1Reference(p, &corner, &end) != 0) {
        token->corner = R1C1Corner{static_cast<int32_t>(corner.column), static_cast<int32_t>(corner.row),
                                   corner.flags, 0};
        token->resolved = 1;
        return finish(kEvalCellRef);
      }
    } else if (ScanR1C1Corner(p, &token->corner, &end) != 0) {
      return finish(kEvalCellRef);
    }
    uint16_t index = 0;
    if (FindBuiltinFunction(p, &index, &end)) {
      token->textLength = index;
      return finish(kEvalFunctionCall);
    }
    if (ParseBoolLiteral(p, &token->number, &end)) return finish(kEvalNumber);
    uint8_t error = 0;
    if (ParseErrorLiteral(p, &error, &end)) {
      token->error = error;
      return finish(kEvalNumber);
    }
    // A bare name; only the sheet operator clears its error. A lone "$" or
    // "#" yields an empty name and does not advance.
    end = p;
    while (IsNameChar(*end)) ++end;
    return text(p, static_cast<size_t>(end - p), kErrorName);
  }

  if (*p == '"' || *p == '\'') {
    // No escape: the text runs to the next same quote, or to the end.
    const char* close = std::strchr(p + 1, *p);
    const size_t length = close ? static_cast<size_t>(close - p - 1) : std::strlen(p + 1);
    end = close ? close + 1 : p + 1 + length;
    return text(p + 1, length, kErrorNone);
  }

  if (*p == '{') {
    token->textOffset = static_cast<uint32_t>(p - base);
    token->kind = kEvalArray;
    return kEvalArray;
  }

  if (*p == separators.listSeparator) {
    end = p + 1;
    return finish(kEvalListSeparator);
  }

  for (const OperatorSpelling& op : kOperators) {
    if (p[0] == op.first && (op.second == 0 || p[1] == op.second)) {
      end = p + (op.second ? 2 : 1);
      return finish(op.kind);
    }
  }
  return kEvalInvalid;
}

uint32_t EvalState::NextToken(const char** position, EvalValue* token, bool storedForm) {
  const char* base = *position;
  ScannedToken scanned;
  if (ScanFormulaToken(base, position, &scanned, storedForm) != kEvalArray)
    return TakeScannedToken(scanned, base, token);

  token->Clear();
  const char* end = *position;
  switch (ParseArrayConstant(*this, *position, storedForm, token, &end)) {
    case kArrayConstantRead:
      token->kind = kEvalArray;
      break;
    case kArrayConstantNoMemory:
      token->kind = kEvalEmpty;
      token->error = kErrorMemory;
      break;
    case kArrayConstantStackFull:
      token->kind = kEvalEmpty;
      token->error = kErrorValue;
      break;
    default:
      status = kEvalStatusSyntax;
      token->kind = kEvalInvalid;
      return kEvalInvalid;
  }
  *position = end;
  return token->kind;
}
