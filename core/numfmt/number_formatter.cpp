#include <charconv>
#include <cmath>
#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

// Every integer up to 2^53 is a double; beyond it a whole part is no longer
// exact and no fraction can be shown.
constexpr double kExactIntegerLimit = 9007199254740992.0;

// "%.*lf" of the largest double with its decimals stays far below this.
constexpr size_t kFixedTextCapacity = 1100;
// A printed value this long (or longer) is shown in the general form instead.
constexpr size_t kLongestFixedText = 1025;

// Limits of the fraction forms: a denominator of up to 9 digits keeps the
// best-approximation search exact in 64-bit arithmetic; fixed denominators
// of up to 18 digits still fit a 64-bit integer.
constexpr int kMaxDenominatorDigits = 9;
constexpr int kMaxFixedDenominatorDigits = 18;

double PowerOfTen(int n) {
  double power = 1;
  for (int i = 0; i < n && std::isfinite(power); ++i) power *= 10;
  return power;
}

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

size_t UnsignedToText(uint64_t value, char* buffer, size_t size) {
  auto result = std::to_chars(buffer, buffer + size - 1, value);
  *result.ptr = '\0';
  return static_cast<size_t>(result.ptr - buffer);
}

// The literal number of up to maxDigits digits that starts at the first
// literal digit 1..9 after a token: a fixed exponent or denominator.
bool ReadFixedNumber(const NumberFormat& code, int after, int end, int maxDigits,
                     uint64_t* value) {
  for (int i = after + 1; i < end; ++i) {
    const FormatToken& t = code.tokens[i];
    if (t.kind != kTokenLiteral || t.character < '1' || t.character > '9') continue;
    uint64_t number = 0;
    for (int n = 0; i + n < end && code.tokens[i + n].kind == kTokenLiteral &&
                    IsDigit(code.tokens[i + n].character);
         ++n) {
      if (n >= maxDigits) return false;
      number = number * 10 + (code.tokens[i + n].character - '0');
    }
    *value = number;
    return true;
  }
  return false;
}

// a * b < c * d for a, c below 2^63 and b, d below 2^32, without 128-bit types.
bool ProductLess(uint64_t a, uint64_t b, uint64_t c, uint64_t d) {
  auto multiply = [](uint64_t x, uint64_t y, uint64_t* high, uint64_t* low) {
    uint64_t xLow = x & 0xFFFFFFFFu, xHigh = x >> 32;
    uint64_t lowProduct = xLow * y;  // y < 2^32: no overflow
    uint64_t highProduct = xHigh * y;
    *low = lowProduct + (highProduct << 32);
    *high = (highProduct >> 32) + (*low < lowProduct ? 1 : 0);
  };
  uint64_t leftHigh, leftLow, rightHigh, rightLow;
  multiply(a, b, &leftHigh, &leftLow);
  multiply(c, d, &rightHigh, &rightLow);
  return leftHigh < rightHigh || (leftHigh == rightHigh && leftLow < rightLow);
}

// The fraction p/q with q <= limit nearest to x in [0, 1) (the smaller q on a
// tie), from the continued fraction of x taken as a 62-bit binary fraction:
// the search is then exact integer arithmetic and the same on every target.
void BestFraction(double x, uint64_t limit, uint64_t* numerator, uint64_t* denominator) {
  const uint64_t one = uint64_t{1} << 62;
  const uint64_t scaled = static_cast<uint64_t>(x * static_cast<double>(one) + 0.5);
  // Convergents h/k with the error terms |k*scaled - h*one| of the current
  // and the previous one.
  uint64_t hPrevious = 1, kPrevious = 0, h = 0, k = 1;
  uint64_t errorPrevious = one, error = scaled;
  while (error != 0) {
    uint64_t quotient = errorPrevious / error;
    uint64_t remainder = errorPrevious % error;
    if (quotient > (limit - kPrevious) / k) {
      // The next convergent is out of reach; the best intermediate fraction
      // may still beat the current convergent.
      uint64_t steps = (limit - kPrevious) / k;
      if (steps > 0) {
        uint64_t hMiddle = hPrevious + steps * h, kMiddle = kPrevious + steps * k;
        uint64_t errorMiddle = errorPrevious - steps * error;
        if (ProductLess(errorMiddle, k, error, kMiddle)) {
          h = hMiddle;
          k = kMiddle;
        }
      }
      break;
    }
    uint64_t hNext = quotient * h + hPrevious, kNext = quotient * k + kPrevious;
    hPrevious = h;
    kPrevious = k;
    h = hNext;
    k = kNext;
    errorPrevious = error;
    error = remainder;
  }
  *numerator = h;
  *denominator = k;
}

}  // namespace

// A number's characters as tokens: "e" or "E" as exponent, "." as decimal.
bool NumberFormat::AddNumberText(const char* text) {
  for (; *text; ++text) {
    uint32_t kind = kTokenLiteral;
    if (*text == 'e' || *text == 'E') kind = kTokenExponent;
    if (*text == '.') kind = kTokenDecimal;
    if (!AddToken(kind, 0, static_cast<uint8_t>(*text))) return false;
  }
  return true;
}

bool NumberFormat::AddDoubleText(double value) {
  char text[kDoubleTextCapacity];
  DoubleToText(value, text, sizeof text, nullptr);
  return AddNumberText(text);
}

bool NumberFormat::FillPlaceholders(const NumberFormat& code, int first, int end,
                                    const char* digits, bool rightToLeft, int* digitsShown) {
  if (first < 0 || end > code.tokenCount || first > end) return false;
  int shown = 0;
  const int length = static_cast<int>(strlen(digits));
  int leftmost = -1, rightmost = -1, leftGroup = -1, nextGroup = end;
  for (int i = first; i < end; ++i) {
    uint32_t kind = code.tokens[i].kind;
    if (kind == kTokenPlaceholder) {
      if (leftmost < 0) leftmost = i;
      rightmost = i;
    } else if (kind == kTokenGroup) {
      if (leftGroup < 0) {
        leftGroup = i;
      } else if (nextGroup == end) {
        nextGroup = i;
      }
    }
  }
  int groupSize = 0;
  for (int i = leftGroup + 1; leftGroup >= 0 && i < nextGroup; ++i) {
    if (code.tokens[i].kind == kTokenPlaceholder) ++groupSize;
  }

  if (!rightToLeft) {
    int next = 0;
    for (int i = first; i < end; ++i) {
      const FormatToken& t = code.tokens[i];
      if (t.kind == kTokenPlaceholder) {
        if (next < length) {
          int last = i == rightmost ? length : next + 1;
          for (; next < last; ++next, ++shown) {
            if (!AddToken(kTokenLiteral, 0, static_cast<uint8_t>(digits[next]))) return false;
          }
        } else if (t.character == '0') {
          if (!AddToken(kTokenLiteral, 0, '0')) return false;
          ++shown;
        } else if (t.character == '?') {
          if (!AddToken(kTokenBlank, 0, '0')) return false;
        }
      } else if (t.kind == kTokenGroup) {
        if (next < length && !AddToken(kTokenGroup, 0, t.character)) return false;
      } else if (!AddToken(t.kind, 0, t.character)) {
        return false;
      }
    }
    if (digitsShown) *digitsShown = shown;
    return true;
  }

  // Built backwards, then appended in reverse.
  FormatToken backwards[kMaxFormatTokens];
  int count = 0;
  auto put = [&](uint32_t kind, uint8_t character) {
    if (count >= kMaxFormatTokens) {
      overflow = 1;
      return false;
    }
    backwards[count++] = FormatToken{kind, 0, character, {0, 0}};
    return true;
  };
  int next = length - 1;
  auto fill = [&](const FormatToken& t, bool takesRest) {
    if (next >= 0) {
      int last = takesRest ? 0 : next;
      for (; next >= last; --next, ++shown) {
        if (!put(kTokenLiteral, static_cast<uint8_t>(digits[next]))) return false;
      }
      return true;
    }
    if (t.character == '0') {
      ++shown;
      return put(kTokenLiteral, '0');
    }
    if (t.character == '?') return put(kTokenBlank, '0');
    return true;
  };
  for (int i = end - 1; i >= first; --i) {
    const FormatToken& t = code.tokens[i];
    if (t.kind == kTokenPlaceholder) {
      if (!fill(t, i == leftmost)) return false;
    } else if (t.kind == kTokenGroup) {
      if (next >= 0 && !put(kTokenGroup, t.character)) return false;
      // Whole groups of digits left repeat the group's placeholders leftwards.
      while (i == leftGroup && groupSize > 0 && next + 1 >= groupSize) {
        for (int k = nextGroup - 1; k > leftGroup; --k) {
          if (code.tokens[k].kind == kTokenPlaceholder && !fill(code.tokens[k], false)) {
            return false;
          }
        }
        if (next >= 0 && !put(kTokenGroup, t.character)) return false;
      }
    } else if (!put(t.kind, t.character)) {
      return false;
    }
  }
  for (int i = count - 1; i >= 0; --i) {
    if (!AddToken(backwards[i].kind, 0, backwards[i].character)) return false;
  }
  if (digitsShown) *digitsShown = shown;
  return true;
}

// A printed non-negative number ("123.4500") into the tokens [first, end)
// around the decimal token (decimalIndex < 0: none).
bool NumberFormat::AddFixedDigits(const NumberFormat& code, int first, int end, int decimalIndex,
                                  char* text) {
  char* point = strchr(text, '.');
  const char* decimals = "";
  if (point) {
    size_t length = strlen(text);
    while (length > 0 && text[length - 1] == '0') text[--length] = '\0';
    *point = '\0';
    decimals = point + 1;
  }
  if (!FillPlaceholders(code, first, decimalIndex >= 0 ? decimalIndex : end, text, true, nullptr)) {
    return false;
  }
  if (decimalIndex < 0) return true;
  // The decimal mark shows only when a digit follows it ("0.##" shows 5 as "5").
  int mark = tokenCount;
  int shown = 0;
  if (!FillPlaceholders(code, decimalIndex + 1, end, decimals, false, &shown)) return false;
  return shown == 0 || InsertToken(mark, kTokenDecimal, code.tokens[decimalIndex].character);
}

bool NumberFormat::AddFixedValue(double value, const NumberFormat& code, const FormatSection& s,
                                 int first, int end, int decimalIndex) {
  if (!std::isfinite(value)) return AddDoubleText(value);
  char text[kFixedTextCapacity];
  int decimals = 15 - static_cast<int>(PrintFixedDecimals(value, 0, text, sizeof text));
  // A last "#" shows up to 15 significant digits, otherwise the placeholders
  // say how many decimals; a negative count is the runtime's six.
  if (!s.trailingHash && s.fractionDigits < decimals) decimals = s.fractionDigits;
  size_t length = PrintFixedDecimals(value, decimals, text, sizeof text);
  if (length == 0 || length >= kLongestFixedText) return AddDoubleText(value);
  return AddFixedDigits(code, first, end, decimalIndex, text);
}

bool NumberFormat::FormatFixed(double value, const NumberFormat& code, int section) {
  const FormatSection& s = code.sections[section];
  int decimalIndex = (s.kinds & kTokenDecimal) ? s.decimalIndex : -1;
  return AddFixedValue(value, code, s, s.firstToken, s.firstToken + s.tokenCount, decimalIndex);
}

bool NumberFormat::FormatScientific(double value, const NumberFormat& code, int section) {
  const FormatSection& s = code.sections[section];
  const int first = s.firstToken, end = s.firstToken + s.tokenCount;
  const int exponentIndex = s.exponentIndex;
  if (!std::isfinite(value)) return AddDoubleText(value);
  const int decimalIndex =
      ((s.kinds & kTokenDecimal) && s.decimalIndex < exponentIndex) ? s.decimalIndex : -1;
  bool exponentPlaceholders = false;
  for (int i = exponentIndex + 1; i < end; ++i) {
    if (code.tokens[i].kind == kTokenPlaceholder) exponentPlaceholders = true;
  }
  int exponent = 0;
  if (exponentPlaceholders) {
    char text[64];
    int precision = 20 - static_cast<int>(PrintExponentForm(value, 0, text, sizeof text));
    if (!s.trailingHash && s.fractionDigits < precision) precision = s.fractionDigits;
    if (PrintExponentForm(value, precision, text, sizeof text) == 0) return false;
    char* e = strchr(text, 'e');
    if (!e) return false;
    *e = '\0';
    const char* digits = e + 1;
    bool negative = *digits == '-';
    if (*digits == '+' || *digits == '-') ++digits;
    for (; IsDigit(static_cast<uint8_t>(*digits)); ++digits) exponent = exponent * 10 + (*digits - '0');
    if (negative) exponent = -exponent;
    if (!AddFixedDigits(code, first, exponentIndex, decimalIndex, text)) return false;
  } else {
    uint64_t fixed = 0;
    if (!ReadFixedNumber(code, exponentIndex, end, 2, &fixed)) return false;
    exponent = static_cast<int>(fixed);
    if (s.exponentSign == '-') exponent = -exponent;
    double mantissa = exponent >= 0 ? value / PowerOfTen(exponent) : value * PowerOfTen(-exponent);
    if (!AddFixedValue(mantissa, code, s, first, exponentIndex, decimalIndex)) return false;
  }
  if (!AddToken(kTokenExponent, 0, code.tokens[exponentIndex].character)) return false;
  if (exponent < 0) {
    if (!AddToken(kTokenLiteral, 0, '-')) return false;
  } else if (s.exponentSign == '+') {
    if (!AddToken(kTokenLiteral, 0, '+')) return false;
  }
  char digits[16];
  UnsignedToText(static_cast<uint64_t>(exponent < 0 ? -exponent : exponent), digits, sizeof digits);
  return FillPlaceholders(code, exponentIndex + 1, end, digits, true, nullptr);
}

bool NumberFormat::FormatFraction(double value, const NumberFormat& code, int section) {
  const FormatSection& s = code.sections[section];
  const int first = s.firstToken, end = s.firstToken + s.tokenCount;
  const int bar = s.fractionBarIndex;
  // No whole part to split off: shown as the plain number.
  if (!(value < kExactIntegerLimit)) return AddDoubleText(value);

  // The numerator is the run of placeholders that ends nearest the bar.
  int numeratorEnd = bar;
  while (numeratorEnd > first && code.tokens[numeratorEnd - 1].kind != kTokenPlaceholder) {
    --numeratorEnd;
  }
  int numeratorStart = numeratorEnd;
  while (numeratorStart > first && code.tokens[numeratorStart - 1].kind == kTokenPlaceholder) {
    --numeratorStart;
  }

  bool fixedDenominator = false;
  for (int i = bar + 1; i < end; ++i) {
    const FormatToken& t = code.tokens[i];
    if (t.kind == kTokenPlaceholder) break;
    if (t.kind == kTokenLiteral && IsDigit(t.character)) {
      fixedDenominator = t.character != '0';
      break;
    }
  }
  uint64_t whole = static_cast<uint64_t>(value);
  const double part = value - static_cast<double>(whole);
  uint64_t numerator = 0, denominator = 0;
  if (fixedDenominator) {
    if (!ReadFixedNumber(code, bar, end, kMaxFixedDenominatorDigits, &denominator)) return false;
    numerator = static_cast<uint64_t>(part * static_cast<double>(denominator) + 0.5);
  } else {
    int digits = s.fractionDigits < kMaxDenominatorDigits ? s.fractionDigits : kMaxDenominatorDigits;
    uint64_t limit = static_cast<uint64_t>(PowerOfTen(digits)) - 1;
    if (limit == 0) return false;
    BestFraction(part, limit, &numerator, &denominator);
  }
  if (denominator == 0) return false;
  if (numerator >= denominator) {
    ++whole;
    numerator -= denominator;
  }

  char wholeText[24] = "";
  char numeratorText[24] = "";
  int shown = 0;
  if (s.integerDigits > numeratorEnd - numeratorStart) {
    if (whole != 0) UnsignedToText(whole, wholeText, sizeof wholeText);
    if (numerator != 0 || fixedDenominator) UnsignedToText(numerator, numeratorText, sizeof numeratorText);
    if (!FillPlaceholders(code, first, numeratorStart, wholeText, true, nullptr) ||
        !FillPlaceholders(code, numeratorStart, bar, numeratorText, true, &shown)) {
      return false;
    }
  } else {
    uint64_t folded = 0;
    if (__builtin_mul_overflow(whole, denominator, &folded) ||
        __builtin_add_overflow(folded, numerator, &folded)) {
      return AddDoubleText(value);
    }
    if (folded != 0 || fixedDenominator) UnsignedToText(folded, numeratorText, sizeof numeratorText);
    if (!FillPlaceholders(code, first, bar, numeratorText, true, &shown)) return false;
  }
  // Without a numerator the bar and denominator stay blank, keeping the width.
  const bool showBar = fixedDenominator || shown > 0;
  char denominatorText[24] = "";
  if (showBar) UnsignedToText(denominator, denominatorText, sizeof denominatorText);
  if (!AddToken(showBar ? kTokenFractionBar : kTokenBlank, 0, '/')) return false;
  return FillPlaceholders(code, bar + 1, end, denominatorText, false, nullptr);
}

// Replaces each general token by a text: a number's characters (asNumber) or
// literals.
bool NumberFormat::ExpandGeneralTokens(const char* text, bool asNumber) {
  NumberFormat expanded;
  for (int i = 0; i < tokenCount; ++i) {
    const FormatToken& t = tokens[i];
    bool added = t.kind != kTokenGeneral ? expanded.AddToken(t.kind, 0, t.character)
                 : asNumber              ? expanded.AddNumberText(text)
                                         : expanded.AddString(text, 0);
    if (!added) {
      overflow = 1;
      return false;
    }
  }
  expanded.hasColor = hasColor;
  expanded.color = color;
  *this = expanded;
  return true;
}

void NumberFormat::ApplySectionColour(const NumberFormat& code, int section) {
  const FormatSection& s = code.sections[section];
  for (int b = 0; b < s.bracketCount && b < kMaxSectionBrackets; ++b) {
    if (s.brackets[b].kind == kTokenNamedColor || s.brackets[b].kind == kTokenHexColor) {
      hasColor = 1;
      color = s.brackets[b].colour;
    }
  }
}

namespace {

// Whether the section's conditions admit negative numbers only ("[<0]",
// "[<=-1]", "[=-5]"): such a section is written for negatives and shows
// their sign in its own way.
bool AdmitsOnlyNegatives(const FormatSection& s) {
  for (int b = 0; b < s.bracketCount && b < kMaxSectionBrackets; ++b) {
    const FormatBracket& bracket = s.brackets[b];
    if (bracket.kind != kTokenCondition) continue;
    if ((bracket.comparison == kCompareLess && bracket.value <= 0) ||
        (bracket.comparison == kCompareLessEqual && bracket.value < 0) ||
        (bracket.comparison == kCompareEqual && bracket.value < 0))
      return true;
  }
  return false;
}

}  // namespace

bool NumberFormat::FormatNumber(double value, const char* code,
                                const RegionalSettings* separators) {
  Clear();
  NumberFormat compiled;
  if (!compiled.Compile(code, nullptr)) return false;
  const int sectionCount = compiled.sectionCount;
  bool hasConditions = false;
  for (int i = 0; i < sectionCount; ++i) {
    if (compiled.sections[i].kinds & kTokenCondition) hasConditions = true;
  }
  int chosen = -1;
  if (hasConditions) {
    for (int i = 0; i < sectionCount && chosen < 0; ++i) {
      if (compiled.MatchCondition(value, i) && !(compiled.sections[i].kinds & kTokenGeneral)) {
        chosen = i;
      }
    }
  } else if (sectionCount == 1) {
    chosen = 0;
  } else if (sectionCount == 2) {
    chosen = value < 0 ? 1 : 0;
  } else if (sectionCount >= 3) {
    chosen = value > 0 ? 0 : value < 0 ? 1 : 2;
  }
  if (chosen < 0) {
    if (!AddDoubleText(value)) return false;
    if (separators) ApplySeparators(*separators);
    return !overflow;
  }

  const FormatSection& s = compiled.sections[chosen];
  double magnitude = std::fabs(value);
  // A section that is not the code's own negative one (the second of two or
  // more chosen by sign, or one whose conditions admit only negatives) shows
  // a negative number's sign, unless it shows no number at all ("'x'").
  const bool ownNegativeSection = hasConditions ? AdmitsOnlyNegatives(s) : sectionCount >= 2;
  if (value < 0 && !ownNegativeSection && (s.kinds & (kTokenPlaceholder | kTokenGeneral))) {
    if (!AddToken(kTokenLiteral, 0, '-')) return false;
  }
  if (s.thousandsScaling > 0) magnitude /= PowerOfTen(3 * s.thousandsScaling);

  bool formatted = (s.kinds & kTokenExponent)      ? FormatScientific(magnitude, compiled, chosen)
                   : (s.kinds & kTokenFractionBar) ? FormatFraction(magnitude, compiled, chosen)
                                                   : FormatFixed(magnitude, compiled, chosen);
  if (!formatted) return false;
  if (s.kinds & kTokenGeneral) {
    char text[kDoubleTextCapacity];
    DoubleToText(magnitude, text, sizeof text, nullptr);
    if (!ExpandGeneralTokens(text, true)) return false;
  }
  ApplySectionColour(compiled, chosen);
  if (separators) ApplySeparators(*separators);
  return !overflow;
}

bool NumberFormat::FormatText(const char* text, const char* code,
                              const RegionalSettings* separators) {
  Clear();
  NumberFormat compiled;
  if (!compiled.Compile(code, nullptr)) return false;
  if (!text) text = "";
  int used = -1;
  if (compiled.sectionCount == 4) {
    used = 3;
  } else if (compiled.sectionCount == 1) {
    used = 0;
  }
  if (used < 0) {
    // The numeric sections of a two- or three-section code leave a text as it is.
    if (!AddString(text, 0)) return false;
    if (separators) ApplySeparators(*separators);
    return !overflow;
  }
  const FormatSection& s = compiled.sections[used];
  bool formatted = false;
  if (s.kinds & kTokenElapsed) {
    formatted = FormatTime(text, compiled, used, separators);
  } else if (s.kinds & kDateTimeCodeKinds) {
    formatted = FormatDate(text, compiled, used, separators);
  } else if (used == 3) {
    formatted = true;
    for (int i = s.firstToken; i < s.firstToken + s.tokenCount && formatted; ++i) {
      formatted = AddToken(compiled.tokens[i].kind, 0, compiled.tokens[i].character);
    }
    formatted = formatted && ExpandGeneralTokens(text, false);
  }
  if (!formatted) return false;
  ApplySectionColour(compiled, used);
  if (separators) ApplySeparators(*separators);
  return !overflow;
}

namespace {

bool IsShownInString(uint32_t kind) {
  return kind == kTokenLiteral || kind == kTokenGroup || kind == kTokenDecimal ||
         kind == kTokenExponent || kind == kTokenFractionBar || kind == kTokenTimeSeparator ||
         kind == kTokenDateSeparator;
}

bool TokensToString(const NumberFormat& f, char* buffer, size_t size) {
  if (size == 0) return false;
  size_t length = 0;
  bool fits = true;
  for (int i = 0; i < f.tokenCount; ++i) {
    if (!IsShownInString(f.tokens[i].kind)) continue;
    if (length + 1 >= size) {
      fits = false;
      break;
    }
    buffer[length++] = static_cast<char>(f.tokens[i].character);
  }
  buffer[length] = '\0';
  return fits;
}

bool CopyText(const char* text, char* buffer, size_t size) {
  if (size == 0) return false;
  size_t length = text ? strlen(text) : 0;
  if (length >= size) length = size - 1;
  if (length) memcpy(buffer, text, length);
  buffer[length] = '\0';
  return false;
}

}  // namespace

bool FormatNumberToString(double value, const char* code, char* buffer, size_t size,
                          const RegionalSettings* separators) {
  NumberFormat output;
  if (!output.FormatNumber(value, code, separators)) {
    DoubleToText(value, buffer, size, separators);
    return false;
  }
  return TokensToString(output, buffer, size);
}

bool FormatTextToString(const char* text, const char* code, char* buffer, size_t size,
                        const RegionalSettings* separators) {
  NumberFormat output;
  if (!output.FormatText(text, code, separators)) return CopyText(text, buffer, size);
  return TokensToString(output, buffer, size);
}
