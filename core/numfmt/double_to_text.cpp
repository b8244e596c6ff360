#include "core/numfmt/double_to_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/numfmt/regional_settings.h"

namespace {

// Longest printf text we build: 309 integer digits of DBL_MAX, sign, point
// and the decimals asked for (callers stay below a few hundred).
constexpr size_t kScratchCapacity = 1200;

size_t Fail(char* buffer, size_t size) {
  if (size > 0) buffer[0] = '\0';
  return 0;
}

size_t Finish(char* buffer, size_t size, const char* text, size_t length) {
  if (length + 1 > size) return Fail(buffer, size);
  memcpy(buffer, text, length);
  buffer[length] = '\0';
  return length;
}

size_t NonFiniteText(double value, char* buffer, size_t size) {
  if (std::isnan(value)) return Finish(buffer, size, "nan", 3);
  return value < 0 ? Finish(buffer, size, "-inf", 4) : Finish(buffer, size, "inf", 3);
}

// The decimal position (power of ten) of the last non-zero digit of a
// finite non-zero double's exact decimal expansion. With value = m * 2^q and
// m odd: for q < 0 the expansion ends in a 5 at 10^q; for q >= 0 it is an
// integer whose trailing zeros are min(q, the fives dividing m).
int LastDigitPosition(double value) {
  int exponent = 0;
  double mantissa = std::frexp(std::fabs(value), &exponent);
  uint64_t m = static_cast<uint64_t>(std::ldexp(mantissa, 53));
  int q = exponent - 53;
  while ((m & 1) == 0) {
    m >>= 1;
    ++q;
  }
  if (q < 0) return q;
  int fives = 0;
  while (m % 5 == 0) {
    m /= 5;
    ++fives;
  }
  return q < fives ? q : fives;
}

// Adds one to the last digit of a decimal text ("-12.9" -> "-13.0"), carrying
// leftwards; a carry out of the first digit inserts a "1". Returns the length.
size_t IncrementDigits(char* text, size_t length, size_t capacity) {
  for (size_t i = length; i-- > 0;) {
    char& c = text[i];
    if (c == '.') continue;
    if (c < '0' || c > '9') {
      // A sign: the carry needs a new leading digit after it.
      if (length + 1 > capacity) return 0;
      memmove(&text[i + 2], &text[i + 1], length - i - 1);
      text[i + 1] = '1';
      return length + 1;
    }
    if (c != '9') {
      ++c;
      return length;
    }
    c = '0';
  }
  if (length + 1 > capacity) return 0;
  memmove(text + 1, text, length);
  text[0] = '1';
  return length + 1;
}

// std::to_chars writes at least two exponent digits ("e+20"); the Windows
// runtime writes at least three ("e+020").
size_t WidenExponent(char* text, size_t length, size_t capacity) {
  char* e = static_cast<char*>(memchr(text, 'e', length));
  if (!e) return length;
  char* digits = e + 2;  // past "e" and its sign
  size_t digitCount = length - static_cast<size_t>(digits - text);
  if (digitCount >= 3) return length;
  size_t pad = 3 - digitCount;
  if (length + pad > capacity) return 0;
  memmove(digits + pad, digits, digitCount);
  memset(digits, '0', pad);
  return length + pad;
}

int ExponentOf(const char* text, size_t length) {
  const char* e = static_cast<const char*>(memchr(text, 'e', length));
  if (!e) return 0;
  int exponent = 0;
  for (const char* p = e + 2; p < text + length; ++p) exponent = exponent * 10 + (*p - '0');
  return e[1] == '-' ? -exponent : exponent;
}

// "%.*lf" into text; 0 when it does not fit.
size_t FixedForm(double value, int decimals, char* text, size_t capacity) {
  auto result = std::to_chars(text, text + capacity, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return 0;
  size_t length = static_cast<size_t>(result.ptr - text);
  // The conversion rounds an exact tie to even; the Windows runtime rounded it
  // away from zero (0.125 to "0.13", 2.5 to "3"), and so do we.
  if (value != 0 && LastDigitPosition(value) == -decimals - 1) {
    result = std::to_chars(text, text + capacity, value, std::chars_format::fixed, decimals + 1);
    if (result.ec != std::errc()) return 0;
    length = static_cast<size_t>(result.ptr - text) - 1;  // drop the final 5
    if (decimals == 0) --length;                           // and the point
    length = IncrementDigits(text, length, capacity);
  }
  return length;
}

// "%.*le" with the exponent as to_chars writes it; 0 when it does not fit.
size_t ExponentForm(double value, int decimals, char* text, size_t capacity) {
  auto result =
      std::to_chars(text, text + capacity, value, std::chars_format::scientific, decimals);
  if (result.ec != std::errc()) return 0;
  size_t length = static_cast<size_t>(result.ptr - text);
  if (value == 0) return length;
  // A rounded-up "9.99" would have moved the exponent, but then the digits
  // did not end at the tie position and nothing changes here.
  int exponent = ExponentOf(text, length);
  if (LastDigitPosition(value) != exponent - decimals - 1) return length;
  char exact[kScratchCapacity];
  result = std::to_chars(exact, exact + sizeof exact, value, std::chars_format::scientific,
                         decimals + 1);
  if (result.ec != std::errc()) return 0;
  char* e = static_cast<char*>(memchr(exact, 'e', static_cast<size_t>(result.ptr - exact)));
  if (!e || e[-1] != '5') return length;
  size_t mantissaLength = static_cast<size_t>(e - exact) - 1;  // drop the final 5
  if (decimals == 0) --mantissaLength;                          // and the point
  size_t rounded = IncrementDigits(exact, mantissaLength, sizeof exact);
  if (rounded == 0) return 0;
  if (rounded > mantissaLength) {
    // Every digit was a 9 ("9.95" to "10.0"): the mantissa is 1.000...
    exponent += 1;
    size_t sign = exact[0] == '-' ? 1 : 0;
    exact[sign] = '1';
    if (decimals > 0) {
      exact[sign + 1] = '.';
      memset(exact + sign + 2, '0', static_cast<size_t>(decimals));
    }
    rounded = mantissaLength;
  }
  char exponentText[8];
  auto written = std::to_chars(exponentText, exponentText + sizeof exponentText,
                               exponent < 0 ? -exponent : exponent);
  size_t exponentLength = static_cast<size_t>(written.ptr - exponentText);
  if (rounded + 2 + exponentLength > capacity) return 0;
  memcpy(text, exact, rounded);
  text[rounded] = 'e';
  text[rounded + 1] = exponent < 0 ? '-' : '+';
  memcpy(text + rounded + 2, exponentText, exponentLength);
  return rounded + 2 + exponentLength;
}

// Trailing zeros after a point, then the point itself, as "%g" drops them.
size_t StripTrailingZeros(char* text, size_t length) {
  if (!memchr(text, '.', length)) return length;
  while (length > 0 && text[length - 1] == '0') --length;
  if (length > 0 && text[length - 1] == '.') --length;
  return length;
}

// A whole number within fifteen digits, written as its digits: what the
// fixed form gives it once its zero decimals are stripped.
size_t WholeNumberText(double value, char* buffer, size_t size) {
  char text[24];
  char* end = text + sizeof text;
  char* p = end;
  uint64_t magnitude = static_cast<uint64_t>(value < 0 ? -value : value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  return Finish(buffer, size, p, static_cast<size_t>(end - p));
}

// A number below 2^31 in magnitude whose fraction is a whole number of
// sixteenths: its exact decimal expansion has at most ten integer digits
// and four decimals, within the fifteen significant digits of the fixed
// form, so the fixed form's rounding keeps every digit and only trailing
// zeros go. Written directly rather than through two fixed-form printings.
bool IsShortSixteenthsFraction(double value) {
  return value < 2147483648.0 && value > -2147483648.0 && value * 16 == std::trunc(value * 16);
}

size_t ShortSixteenthsText(double value, const RegionalSettings* separators, char* buffer, size_t size) {
  char text[24];
  size_t length = 0;
  if (value < 0) text[length++] = '-';
  const double magnitude = std::fabs(value);
  uint32_t whole = static_cast<uint32_t>(magnitude);
  uint32_t tenThousandths = static_cast<uint32_t>((magnitude - whole) * 16) * 625;
  char digits[10];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  while (count > 0) text[length++] = digits[--count];
  text[length++] = separators ? separators->decimalSeparator : '.';
  for (uint32_t scale = 1000; tenThousandths != 0; scale /= 10) {
    text[length++] = static_cast<char>('0' + tenThousandths / scale);
    tenThousandths %= scale;
  }
  return Finish(buffer, size, text, length);
}

}  // namespace

size_t PrintFixedDecimals(double value, int decimals, char* buffer, size_t size) {
  if (!std::isfinite(value)) return NonFiniteText(value, buffer, size);
  if (decimals < 0) decimals = 6;
  char text[kScratchCapacity];
  size_t length = FixedForm(value, decimals, text, sizeof text);
  if (length == 0) return Fail(buffer, size);
  return Finish(buffer, size, text, length);
}

size_t PrintExponentForm(double value, int decimals, char* buffer, size_t size) {
  if (!std::isfinite(value)) return NonFiniteText(value, buffer, size);
  if (decimals < 0) decimals = 6;
  char text[kScratchCapacity];
  size_t length = ExponentForm(value, decimals, text, sizeof text);
  if (length != 0) length = WidenExponent(text, length, sizeof text);
  if (length == 0) return Fail(buffer, size);
  return Finish(buffer, size, text, length);
}

size_t PrintSignificantDigits(double value, int precision, char* buffer, size_t size) {
  if (!std::isfinite(value)) return NonFiniteText(value, buffer, size);
  if (precision < 0) precision = 6;
  if (precision == 0) precision = 1;
  char text[kScratchCapacity];
  size_t length = ExponentForm(value, precision - 1, text, sizeof text);
  if (length == 0) return Fail(buffer, size);
  const int exponent = ExponentOf(text, length);
  if (exponent < -4 || exponent >= precision) {
    char* e = static_cast<char*>(memchr(text, 'e', length));
    size_t mantissaLength = StripTrailingZeros(text, static_cast<size_t>(e - text));
    size_t exponentLength = static_cast<size_t>(text + length - e);
    memmove(text + mantissaLength, e, exponentLength);
    length = WidenExponent(text, mantissaLength + exponentLength, sizeof text);
  } else {
    length = FixedForm(value, precision - 1 - exponent, text, sizeof text);
    length = StripTrailingZeros(text, length);
  }
  if (length == 0) return Fail(buffer, size);
  return Finish(buffer, size, text, length);
}

size_t DoubleToText(double value, char* buffer, size_t size, const RegionalSettings* separators) {
  if (!std::isfinite(value)) return NonFiniteText(value, buffer, size);
  // Negative zero shows as zero.
  if (value == 0) return Finish(buffer, size, "0", 1);
  if (value <= 999999999999999.0 && value >= -999999999999999.0 && value == std::trunc(value))
    return WholeNumberText(value, buffer, size);
  if (IsShortSixteenthsFraction(value)) return ShortSixteenthsText(value, separators, buffer, size);
  char text[64];
  int negative = value < 0 ? 1 : 0;
  if (value > 999999999999999.0 || value < -999999999999999.0 || std::fabs(value) < 1e-14) {
    size_t shortest = PrintExponentForm(value, 0, text, sizeof text);
    int precision = 20 - static_cast<int>(shortest) + negative;
    size_t length = PrintSignificantDigits(value, precision, text, sizeof text);
    return Finish(buffer, size, text, length);
  }
  size_t integerLength = PrintFixedDecimals(value, 0, text, sizeof text);
  int decimals = 15 - static_cast<int>(integerLength) + negative;
  size_t length = PrintFixedDecimals(value, decimals, text, sizeof text);
  char* point = static_cast<char*>(memchr(text, '.', length));
  if (point) {
    length = StripTrailingZeros(text, length);
    if (separators && length > static_cast<size_t>(point - text)) {
      *point = separators->decimalSeparator;
    }
  }
  return Finish(buffer, size, text, length);
}

size_t DoubleToExactText(double value, char* buffer, size_t size, const RegionalSettings* separators) {
  if (!std::isfinite(value)) return NonFiniteText(value, buffer, size);
  char text[64];
  size_t length = DoubleToText(value, text, sizeof text, nullptr);
  double readBack = 0;
  const auto parsed = std::from_chars(text, text + length, readBack);
  if (length == 0 || parsed.ec != std::errc() || parsed.ptr != text + length || readBack != value) {
    // Without a precision to_chars writes the shortest text that reads back.
    const bool fixed = std::fabs(value) <= 999999999999999.0 && std::fabs(value) >= 1e-14;
    const auto written = std::to_chars(text, text + sizeof text, value,
                                       fixed ? std::chars_format::fixed : std::chars_format::scientific);
    if (written.ec != std::errc()) return Fail(buffer, size);
    length = static_cast<size_t>(written.ptr - text);
    if (!fixed) length = WidenExponent(text, length, sizeof text);
  }
  if (separators) {
    char* point = static_cast<char*>(memchr(text, '.', length));
    if (point) *point = separators->decimalSeparator;
  }
  return Finish(buffer, size, text, length);
}

size_t ComplexToText(double real, double imaginary, const char* unit, char* buffer, size_t size) {
  char realText[kDoubleTextCapacity];
  char imaginaryText[kDoubleTextCapacity];
  size_t realLength = DoubleToText(real, realText, sizeof realText, nullptr);
  size_t imaginaryLength =
      DoubleToText(std::fabs(imaginary), imaginaryText, sizeof imaginaryText, nullptr);
  size_t unitLength = unit ? strlen(unit) : 0;
  size_t length = realLength + 3 + imaginaryLength + unitLength;
  if (length + 1 > size) return Fail(buffer, size);
  char* out = buffer;
  memcpy(out, realText, realLength);
  out += realLength;
  *out++ = ' ';
  *out++ = imaginary < 0 ? '-' : '+';
  *out++ = ' ';
  memcpy(out, imaginaryText, imaginaryLength);
  out += imaginaryLength;
  if (unitLength) memcpy(out, unit, unitLength);
  buffer[length] = '\0';
  return length;
}
