#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "files/errors/file_errors.h"
#include "files/xml/xml_reader.h"

namespace {

// The whitespace of the runtime's number conversions.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const char* SkipSpaces(const char* p) {
  while (IsSpace(*p)) ++p;
  return p;
}

// The runtime's strtol or strtoul on a platform whose long has 32 bits:
// leading whitespace and a sign, digits up to the first other byte, 0 and
// the text's start as the end without digits. strtol saturates at the
// 32-bit limits; strtoul saturates at 4294967295 and negates a negative
// value modulo 2^32. The files are written on such a platform, so the same
// text must give the same value on every build.
int64_t ConvertLong32(const char* text, bool isSigned, const char** end) {
  const char* p = SkipSpaces(text);
  bool negative = false;
  if (*p == '+' || *p == '-')
    negative = *p++ == '-';
  if (*p < '0' || *p > '9') {
    *end = text;
    return 0;
  }
  uint64_t magnitude = 0;
  bool overflow = false;
  while (*p >= '0' && *p <= '9') {
    magnitude = magnitude * 10 + uint64_t(*p++ - '0');
    if (magnitude > 0xFFFFFFFFull) {
      overflow = true;
      magnitude = 0xFFFFFFFFull;
    }
  }
  *end = p;
  if (isSigned) {
    if (negative)
      return magnitude > 0x80000000ull ? INT32_MIN : -int64_t(magnitude);
    return magnitude > 0x7FFFFFFFull ? INT32_MAX : int64_t(magnitude);
  }
  if (overflow)
    return 0xFFFFFFFFll;
  return negative ? int64_t((0x100000000ull - magnitude) & 0xFFFFFFFFull) : int64_t(magnitude);
}

// The decimal exponent of the number's first significant digit, for telling
// an overflow from an underflow when the conversion reports a range error.
bool TextOverflows(const char* p, const char* end) {
  long magnitude = 0;
  bool significant = false;
  bool pastPoint = false;
  for (; p < end && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      pastPoint = true;
    } else if (!significant) {
      if (*p != '0')
        significant = true;
      if (!significant && pastPoint)
        --magnitude;
      if (significant && !pastPoint)
        magnitude = 1;
    } else if (!pastPoint) {
      ++magnitude;
    }
  }
  if (p < end) {
    const char* e = p + 1;
    const bool negative = *e == '-';
    if (*e == '+' || *e == '-')
      ++e;
    long exponent = 0;
    for (; e < end && exponent < 100000; ++e) exponent = exponent * 10 + (*e - '0');
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude > 0;
}

// strtod in the C locale, independent of the locale in force: the point is
// always ".", and no "inf", "nan" or hexadecimal form is taken.
double ConvertDouble(const char* text, const char** end) {
  const char* p = SkipSpaces(text);
  bool negative = false;
  if (*p == '+' || *p == '-')
    negative = *p++ == '-';
  const bool startsNumber = (*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9');
  if (!startsNumber) {
    *end = text;
    return 0;
  }
  double value = 0;
  const char* last = p + std::strlen(p);
  const auto result = std::from_chars(p, last, value, std::chars_format::general);
  *end = result.ptr;
  if (result.ec == std::errc::result_out_of_range)
    value = TextOverflows(p, result.ptr) ? HUGE_VAL : 0.0;
  return negative ? -value : value;
}

// Step 3 and 4 of every parser: whitespace after the value, then either the
// position for the caller or nothing left.
void FinishNumber(const char* p, const char** end) {
  p = SkipSpaces(p);
  if (end)
    *end = p;
  else if (*p)
    ThrowXmlError(kFileXmlBadData);
}

uint32_t ParseUnsigned(const char* text, uint32_t lowest, uint32_t highest, const char** end) {
  const char* p;
  const uint32_t value = uint32_t(ConvertLong32(text, false, &p));
  if (value < lowest || value > highest)
    ThrowXmlError(kFileXmlBadData);
  FinishNumber(p, end);
  return value;
}

int32_t ParseSigned(const char* text, int32_t lowest, int32_t highest, const char** end) {
  const char* p;
  const int32_t value = int32_t(ConvertLong32(text, true, &p));
  if (value < lowest || value > highest)
    ThrowXmlError(kFileXmlBadData);
  FinishNumber(p, end);
  return value;
}

}  // namespace

void CXmlReader::ParseUInt8(uint8_t* out, uint32_t lowest, uint32_t highest, const char* source_, const char** end) {
  *out = uint8_t(ParseUnsigned(NumberText(source_), lowest, highest, end));
}

void CXmlReader::ParseUInt16(uint16_t* out, uint32_t lowest, uint32_t highest, const char* source_,
                             const char** end) {
  *out = uint16_t(ParseUnsigned(NumberText(source_), lowest, highest, end));
}

void CXmlReader::ParseUInt32(uint32_t* out, uint32_t lowest, uint32_t highest, const char* source_,
                             const char** end) {
  *out = ParseUnsigned(NumberText(source_), lowest, highest, end);
}

void CXmlReader::ParseInt8(int8_t* out, int32_t lowest, int32_t highest, const char* source_, const char** end) {
  *out = int8_t(ParseSigned(NumberText(source_), lowest, highest, end));
}

void CXmlReader::ParseSignedInt16(int16_t* out, int32_t lowest, int32_t highest, const char* source_,
                                  const char** end) {
  *out = int16_t(ParseSigned(NumberText(source_), lowest, highest, end));
}

void CXmlReader::ParseInt32(int32_t* out, int32_t lowest, int32_t highest, const char* source_, const char** end) {
  *out = ParseSigned(NumberText(source_), lowest, highest, end);
}

void CXmlReader::ParseDouble(double* out, double lowest, double highest, const char* source_, const char** end) {
  const char* p;
  *out = ConvertDouble(NumberText(source_), &p);
  if (!(*out >= lowest && *out <= highest))
    ThrowXmlError(kFileXmlBadData);
  FinishNumber(p, end);
}

int CXmlReader::ParseUInt16Unit(uint16_t* out, uint32_t lowest, uint32_t highest, const char* const* words,
                                int wordCount, const char* source_, const char** end) {
  const char* p;
  const uint16_t value = uint16_t(ParseUnsigned(NumberText(source_), lowest, highest, &p));
  for (int i = 0; i < wordCount; ++i) {
    const size_t length = std::strlen(words[i]);
    if (std::strncmp(p, words[i], length) == 0) {
      FinishNumber(p + length, end);
      *out = value;
      return i + 1;
    }
  }
  ThrowXmlError(kFileXmlBadData);
}

void CXmlReader::ReadBool(uint8_t* out, const char* source_) {
  const char* value = source_ ? source_ : text;
  static const char* const kTrue[] = {"Yes", "true", "1"};
  static const char* const kFalse[] = {"No", "false", "0"};
  for (const char* word : kTrue)
    if (std::strncmp(value, word, std::strlen(word)) == 0) {
      *out = 1;
      return;
    }
  for (const char* word : kFalse)
    if (std::strncmp(value, word, std::strlen(word)) == 0) {
      *out = 0;
      return;
    }
  ThrowXmlError(kFileXmlBadAttribute);
}
