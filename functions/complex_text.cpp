#include "functions/complex_text.h"

#include <cstdlib>
#include <cstring>

#include "core/base/result_check.h"
#include "functions/short_decimal.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUnit(char c) { return c == 'i' || c == 'j'; }

const char* SkipBlanks(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

// Digits with an optional point and fraction, then an optional exponent:
// only these characters reach the runtime's conversion, so that words such
// as "inf" or hexadecimal forms are never numbers here.
const char* ReadNumber(const char* p, double* value) {
  const char* q = p;
  int digits = 0;
  while (IsDigit(*q)) ++q, ++digits;
  if (*q == '.') {
    ++q;
    while (IsDigit(*q)) ++q, ++digits;
  }
  if (digits == 0) return nullptr;
  if (*q == 'e' || *q == 'E') {
    const char* e = q + 1;
    if (*e == '+' || *e == '-') ++e;
    if (IsDigit(*e)) {
      while (IsDigit(*e)) ++e;
      q = e;
    }
  }
  if (ReadShortDecimal(p, q, value)) return q;
  char buffer[64];
  const size_t length = static_cast<size_t>(q - p);
  if (length >= sizeof buffer) return nullptr;
  std::memcpy(buffer, p, length);
  buffer[length] = '\0';
  *value = std::strtod(buffer, nullptr);
  return q;
}

}  // namespace

bool ParseComplex(const char* text, double* real, double* imaginary) {
  if (!text) return false;
  const char* p = SkipBlanks(text);
  double sign = 1.0;
  if (*p == '-') {
    sign = -1.0;
    p = SkipBlanks(p + 1);
  }
  double first = 1.0;
  const char* after = ReadNumber(p, &first);
  if (!after) {
    if (!IsUnit(*p)) return false;
    after = p;  // a bare "i" is 1
  }
  p = SkipBlanks(after);
  double re = 0.0;
  double im = 0.0;
  if (IsUnit(*p)) {
    im = sign * first;
    p = SkipBlanks(p + 1);
  } else if (*p == '+' || *p == '-') {
    re = sign * first;
    const double secondSign = *p == '-' ? -1.0 : 1.0;
    p = SkipBlanks(p + 1);
    double second = 1.0;
    const char* afterSecond = ReadNumber(p, &second);
    p = SkipBlanks(afterSecond ? afterSecond : p);
    if (!IsUnit(*p)) return false;
    ++p;
    im = secondSign * second;
  } else {
    re = sign * first;
  }
  if (*p != '\0' || IsBadNumber(re) || IsBadNumber(im)) return false;
  // "-0" reads as 0: no negative zero leaves here.
  *real = re == 0.0 ? 0.0 : re;
  *imaginary = im == 0.0 ? 0.0 : im;
  return true;
}
