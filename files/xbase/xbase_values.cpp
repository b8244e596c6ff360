#include "files/xbase/xbase_values.h"

#include <charconv>
#include <cstring>
#include <initializer_list>

#include "core/numfmt/double_to_text.h"

namespace {

// Room for a number of any field: 255 characters, and more for the
// widest doubles, which then do not fit.
constexpr size_t kNumberTextCapacity = 512;

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// The value of count digits, or -1 when one is not a digit.
int DigitsValue(const uint8_t* at, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) {
    if (!IsDigit(at[i]))
      return -1;
    value = value * 10 + (at[i] - '0');
  }
  return value;
}

}  // namespace

void PutXBaseText(uint8_t* field, size_t width, const char* text, size_t length) {
  const size_t kept = length < width ? length : width;
  std::memcpy(field, text, kept);
  std::memset(field + kept, ' ', width - kept);
}

namespace {

bool ReadsBackAs(const char* text, size_t length, double value) {
  double read = 0;
  return std::from_chars(text, text + length, read, std::chars_format::general).ec == std::errc() && read == value;
}

// The shortest text that reads back as the value, with its exponent as
// short as it can be ("1e9" for "1e+09"), as a table may spell it.
size_t ShortestExactText(double value, char* text, size_t size) {
  const std::to_chars_result written = std::to_chars(text, text + size - 1, value);
  if (written.ec != std::errc())
    return 0;
  *written.ptr = '\0';
  const size_t length = size_t(written.ptr - text);
  char* e = static_cast<char*>(std::memchr(text, 'e', length));
  if (e == nullptr)
    e = static_cast<char*>(std::memchr(text, 'E', length));
  if (e == nullptr)
    return length;
  char* digits = e + 1;
  const bool negative = *digits == '-';
  if (*digits == '+' || *digits == '-')
    ++digits;
  while (*digits == '0' && digits[1] != '\0') ++digits;
  char* out = e + 1;
  if (negative)
    *out++ = '-';
  const size_t rest = std::strlen(digits);
  std::memmove(out, digits, rest + 1);
  return size_t(out - text) + rest;
}

// A text one character too wide by the zero before its point ("0.5",
// "-0.5") without that zero, as narrow fields hold such numbers.
size_t WithoutLeadingZero(char* text, size_t length, size_t width) {
  const size_t sign = text[0] == '-' ? 1 : 0;
  if (length <= width || length < sign + 2 || text[sign] != '0' || text[sign + 1] != '.')
    return length;
  std::memmove(text + sign, text + sign + 1, length - sign);
  return length - 1;
}

}  // namespace

bool PutXBaseNumber(uint8_t* field, size_t width, double value, int decimals) {
  if (width == 0)
    return true;
  char text[kNumberTextCapacity];
  // The same digits on every target, where the runtimes' printf differ.
  size_t length = PrintFixedDecimals(value, decimals, text, sizeof text);
  if (length != 0)
    length = WithoutLeadingZero(text, length, width);
  // A number the field's decimals do not leave room for (12345 in N(5,2),
  // as a table may hold it) is written with fewer decimals while that loses
  // nothing, else in its shortest exact form ("1e9" in N(4,0)).
  for (int fewer = decimals - 1; (length == 0 || length > width) && fewer >= 0; --fewer) {
    length = PrintFixedDecimals(value, fewer, text, sizeof text);
    length = length != 0 && ReadsBackAs(text, length, value) ? WithoutLeadingZero(text, length, width) : 0;
  }
  if (length == 0 || length > width) {
    length = ShortestExactText(value, text, sizeof text);
    length = ReadsBackAs(text, length, value) ? WithoutLeadingZero(text, length, width) : 0;
  }
  if (length == 0 || length > width) {
    std::memset(field, '*', width);
    return false;
  }
  std::memset(field, ' ', width - length);
  std::memcpy(field + width - length, text, length);
  return true;
}

char XBaseLogicalOfNumber(double value) { return value > 0 ? 'Y' : 'N'; }

char XBaseLogicalOfText(const char* text) {
  switch (text[0]) {
    case 'Y': case 'y': case 'T': case 't': return 'Y';
    case 'N': case 'n': case 'F': case 'f': return 'N';
    default: return ' ';
  }
}

double ParseXBaseNumber(const uint8_t* field, size_t width) {
  const char* p = reinterpret_cast<const char*>(field);
  const char* end = p + width;
  while (p < end && *p == ' ') ++p;
  if (p < end && *p == '+')
    ++p;
  double value = 0;
  // In the C locale whatever locale is in force: a field's point is always ".".
  if (std::from_chars(p, end, value, std::chars_format::general).ec != std::errc())
    return 0;
  return value;
}

uint32_t ParseXBaseBlock(const uint8_t* field, size_t width) {
  size_t i = 0;
  while (i < width && field[i] == ' ') ++i;
  uint64_t block = 0;
  for (; i < width && IsDigit(field[i]); ++i) {
    block = block * 10 + (field[i] - '0');
    if (block > UINT32_MAX)
      return 0;
  }
  return uint32_t(block);
}

char ParseXBaseLogical(uint8_t byte) {
  switch (byte) {
    case 'Y': case 'y': case 'T': case 't': return 'Y';
    case 'N': case 'n': case 'F': case 'f': return 'N';
    default: return 0;
  }
}

XBaseDateKind ParseXBaseDate(const uint8_t* field, char* iso) {
  if (field[0] == ' ' || field[0] == '\0')
    return kXBaseNoDate;
  const int year = DigitsValue(field, 4);
  const int month = DigitsValue(field + 4, 2);
  const int day = DigitsValue(field + 6, 2);
  // Days are checked against 1 to 31 only, whatever the month.
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
    return kXBaseBadDate;
  // The field's digits, in the ISO order "yyyy-mm-dd".
  std::memcpy(iso, field, 4);
  iso[4] = '-';
  std::memcpy(iso + 5, field + 4, 2);
  iso[7] = '-';
  std::memcpy(iso + 8, field + 6, 2);
  iso[10] = '\0';
  return kXBaseDate;
}

bool XBaseDateDigits(const char* text, char* digits) {
  if (std::strlen(text) != 10 || text[4] != '-' || text[7] != '-')
    return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!IsDigit(uint8_t(text[i])))
      return false;
  std::memcpy(digits, text, 4);
  std::memcpy(digits + 4, text + 5, 2);
  std::memcpy(digits + 6, text + 8, 2);
  digits[8] = '\0';
  return true;
}
