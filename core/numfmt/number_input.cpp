#include "core/numfmt/number_input.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/numfmt/regional_settings.h"
#include "core/base/result_check.h"

namespace {

constexpr int kMaxOptionDecimals = 14;
constexpr int kMaxDenominatorDigits = 14;
// Larger typed denominators are kept by their digit count.
constexpr uint64_t kLargestFixedDenominator = 999999999999999ULL;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t DigitRun(const char* p) {
  size_t n = 0;
  while (IsDigit(p[n])) ++n;
  return n;
}

// Blanks, digits, "/" and a digit: a blank that parts "1 1/4".
bool IsFractionAfterBlank(const char* p) {
  if (*p != ' ') return false;
  while (*p == ' ') ++p;
  const size_t digits = DigitRun(p);
  return digits > 0 && p[digits] == '/' && IsDigit(p[digits + 1]);
}

class Lexer {
 public:
  Lexer(const char* text, const RegionalSettings& separators, NumberInputLex* lex)
      : p_(text), lex_(lex), mantissa_(lex->mantissa, sizeof lex->mantissa),
        decimal_(separators.decimalSeparator), thousands_(separators.thousandsSeparator) {
    currency_ = separators.currency;
    currencyLength_ = strnlen(separators.currency, sizeof separators.currency);
  }

  bool Run() {
    ReadPrefix();
    if (!ReadNumber()) return false;
    if (!ReadSuffix()) return false;
    return !mantissa_.Overflowed();
  }

 private:
  bool AtCurrency(const char* q) const {
    return currencyLength_ > 0 && std::strncmp(q, currency_, currencyLength_) == 0;
  }

  // Blanks, the currency text, one sign or one "(" before the digits.
  void ReadPrefix() {
    bool signed_ = false;
    for (;;) {
      if (*p_ == ' ') {
        ++p_;
      } else if (!lex_->currency && AtCurrency(p_)) {
        lex_->currency = true;
        p_ += currencyLength_;
        lex_->currencyPosition = *p_ == ' ' ? kSymbolBeforeWithBlank : kSymbolBefore;
      } else if (!signed_ && (*p_ == '+' || *p_ == '-')) {
        signed_ = true;
        lex_->negative = *p_ == '-';
        ++p_;
      } else if (!signed_ && *p_ == '(') {
        signed_ = true;
        lex_->parentheses = true;
        ++p_;
      } else {
        return;
      }
    }
  }

  size_t CopyDigits() {
    const size_t n = DigitRun(p_);
    mantissa_.Append(p_, n);
    p_ += n;
    return n;
  }

  bool ReadNumber() {
    if (lex_->negative) mantissa_.Put('-');
    const char* integerStart = p_;
    size_t integerDigits = CopyDigits();
    // Groups: the first of 1 to 3 digits, every later one exactly 3.
    while (thousands_ != '\0' && *p_ == thousands_ && integerDigits > 0 && IsDigit(p_[1])) {
      if (thousands_ == ' ' && IsFractionAfterBlank(p_)) break;
      if (!lex_->grouping && integerDigits > 3) return false;
      ++p_;
      const size_t group = CopyDigits();
      if (group != 3) return false;
      lex_->grouping = true;
      integerDigits += group;
    }
    if (!lex_->grouping && integerDigits > 0 && ReadFraction(integerStart, integerDigits)) return true;
    size_t fractionDigits = 0;
    if (*p_ == decimal_) {
      ++p_;
      if (integerDigits == 0) mantissa_.Put('0');
      mantissa_.Put('.');
      fractionDigits = CopyDigits();
      if (fractionDigits == 0) mantissa_.Put('0');
    }
    if (integerDigits + fractionDigits == 0) return false;
    lex_->decimals = static_cast<int>(fractionDigits);
    return ReadExponent();
  }

  // "n/d" or "w n/d" right after the integer digits.
  bool ReadFraction(const char* integerStart, size_t integerDigits) {
    const char* q = p_;
    if (*q == ' ' && IsFractionAfterBlank(q)) {
      lex_->whole = integerStart;
      lex_->wholeLength = integerDigits;
      while (*q == ' ') ++q;
      lex_->numerator = q;
      lex_->numeratorLength = DigitRun(q);
      q += lex_->numeratorLength;
    } else if (*q == '/' && IsDigit(q[1])) {
      lex_->whole = integerStart;
      lex_->wholeLength = 0;
      lex_->numerator = integerStart;
      lex_->numeratorLength = integerDigits;
    } else {
      return false;
    }
    ++q;  // the bar
    lex_->denominator = q;
    lex_->denominatorLength = DigitRun(q);
    lex_->fraction = true;
    p_ = q + lex_->denominatorLength;
    return true;
  }

  // "E" or "e" after the digits (blanks allowed around it), a sign, digits.
  bool ReadExponent() {
    const char* q = p_;
    while (*q == ' ') ++q;
    if ((*q != 'E' && *q != 'e') || AtCurrency(q)) return true;
    ++q;
    while (*q == ' ') ++q;
    const bool negative = *q == '-';
    if (*q == '+' || *q == '-') ++q;
    if (!IsDigit(*q)) return false;
    mantissa_.Put('e');
    if (negative) mantissa_.Put('-');
    p_ = q;
    CopyDigits();
    lex_->exponent = true;
    return true;
  }

  // Blanks, "%", the currency text and the ")" that closes a "(".
  bool ReadSuffix() {
    bool closed = false;
    while (*p_ != '\0') {
      if (*p_ == ' ') {
        ++p_;
      } else if (closed) {
        return false;
      } else if (*p_ == '%' && !lex_->percent) {
        lex_->percent = true;
        ++p_;
      } else if (!lex_->currency && !lex_->percent && AtCurrency(p_)) {
        lex_->currency = true;
        lex_->currencyPosition = p_[-1] == ' ' ? kSymbolAfterWithBlank : kSymbolAfter;
        p_ += currencyLength_;
      } else if (*p_ == ')' && lex_->parentheses) {
        closed = true;
        ++p_;
      } else {
        return false;
      }
    }
    return closed == lex_->parentheses;
  }

  const char* p_;
  NumberInputLex* lex_;
  BoundedText mantissa_;
  char decimal_;
  char thousands_;
  const char* currency_;
  size_t currencyLength_;
};

bool ReadDouble(const char* text, size_t length, double* value) {
  if (length == 0) {
    *value = 0;
    return true;
  }
  auto result = std::from_chars(text, text + length, *value, std::chars_format::general);
  return result.ec == std::errc() && result.ptr == text + length;
}

bool FractionValue(const NumberInputLex& lex, double* value) {
  double whole = 0, numerator = 0, denominator = 0;
  if (!ReadDouble(lex.whole, lex.wholeLength, &whole) ||
      !ReadDouble(lex.numerator, lex.numeratorLength, &numerator) ||
      !ReadDouble(lex.denominator, lex.denominatorLength, &denominator))
    return false;
  *value = whole + numerator / denominator;
  if (lex.negative) *value = -*value;
  return true;
}

uint64_t DenominatorValue(const NumberInputLex& lex) {
  uint64_t value = 0;
  for (size_t i = 0; i < lex.denominatorLength; ++i) {
    if (value > kLargestFixedDenominator) return value;
    value = value * 10 + static_cast<uint64_t>(lex.denominator[i] - '0');
  }
  return value;
}

int ClampInt(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

uint8_t ImpliedFormat(const NumberInputLex& lex, const RegionalSettings& separators,
                      NumFormatOptions* options) {
  std::memset(options, 0, sizeof *options);
  if (lex.currency) {
    CurrencyFormatOptions& o = options->currency;
    std::memcpy(o.symbol, separators.currency, strnlen(separators.currency, kCurrencySymbolSize - 1));
    o.decimals = static_cast<uint8_t>(lex.fraction ? 2 : ClampInt(lex.decimals, 0, kMaxOptionDecimals));
    o.symbolPosition = lex.currencyPosition;
    o.negativeStyle = lex.parentheses ? kNegativeParentheses : kNegativeMinus;
    return kNumFormatCurrency;
  }
  if (lex.fraction) {
    if (lex.percent) return kNumFormatPercent;
    FractionFormatOptions& o = options->fraction;
    const uint64_t denominator = DenominatorValue(lex);
    if (denominator < kLargestFixedDenominator) {
      o.fixedDenominator = 1;
      o.denominator = denominator;
    } else {
      o.denominatorDigits =
          static_cast<uint8_t>(ClampInt(static_cast<int>(lex.denominatorLength), 1, kMaxDenominatorDigits));
    }
    return kNumFormatFraction;
  }
  if (lex.exponent) return kNumFormatScientific;
  if (lex.percent) return kNumFormatPercent;
  if (lex.grouping || lex.parentheses) {
    options->number.grouping = lex.grouping ? 1 : 0;
    options->number.negativeStyle = lex.parentheses ? kNegativeParentheses : kNegativeMinus;
    return kNumFormatGeneral;
  }
  return kNumFormatDefault;
}

}  // namespace

bool LexNumberInput(const char* text, const RegionalSettings& separators, NumberInputLex* lex) {
  std::memset(lex, 0, sizeof *lex);
  if (!text || strnlen(text, kMaxNumberInputLength + 1) > kMaxNumberInputLength) return false;
  Lexer lexer(text, separators, lex);
  return lexer.Run();
}

bool ParseWithFormat(const char* text, double* value, uint8_t* category, NumFormatOptions* options,
                     const RegionalSettings& separators) {
  NumberInputLex lex;
  double parsed = 0;
  bool ok = LexNumberInput(text, separators, &lex);
  if (ok) {
    ok = lex.fraction ? FractionValue(lex, &parsed)
                      : ReadDouble(lex.mantissa, std::strlen(lex.mantissa), &parsed);
  }
  if (ok) {
    if (lex.parentheses) parsed = -parsed;
    if (lex.percent) parsed /= 100;
    // Typed numbers never become infinities or lose their digits below the
    // normal range: such a text stays a text.
    ok = std::isfinite(parsed) && !IsBadNumber(parsed);
  }
  if (!ok) {
    *category = kNumFormatDefault;
    return false;
  }
  *value = parsed + 0.0;  // no negative zero
  *category = ImpliedFormat(lex, separators, options);
  return true;
}
