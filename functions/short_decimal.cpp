#include "functions/short_decimal.h"

#include <cstdint>

bool ReadShortDecimal(const char* begin, const char* end, double* out) {
  static const double kPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const char* p = begin;
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  bool point = false;
  for (; p < end; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (*p < '0' || *p > '9' || ++count > 15) return false;
    digits = digits * 10 + uint64_t(*p - '0');
    if (point) ++decimals;
  }
  if (count == 0) return false;
  const double value = double(digits) / kPowersOfTen[decimals];
  *out = negative ? -value : value;
  return true;
}
