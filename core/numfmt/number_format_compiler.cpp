#include <charconv>
#include <cstring>

#include "core/numfmt/format_colors.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

// What may come next is narrowed as the code is read; the set uses the token
// kind bits, with kTokenElapsed standing for elapsed brackets.
constexpr uint32_t kAllowAll = 0x3FFFFF;
constexpr uint32_t kAllowAfterDateCode = kTokenLiteral | kTokenGeneral | kTokenBlank | kTokenFill |
                                         kBracketKinds | kDateTimeCodeKinds |
                                         kTokenTimeSeparator | kTokenDateSeparator;
constexpr uint32_t kAllowAfterExponent = kTokenLiteral | kTokenPlaceholder | kTokenGroup |
                                         kTokenGeneral | kTokenBlank | kTokenFill | kBracketKinds;
constexpr uint32_t kAllowAfterElapsed = kTokenLiteral | kTokenGeneral | kTokenBlank | kTokenFill |
                                        kBracketKinds | kTokenHour | kTokenMinute | kTokenSecond |
                                        kTokenTimeSeparator;

// Longest condition number we read; longer texts are refused.
constexpr size_t kMaxConditionNumber = 64;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

const char* SkipBlanks(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

bool StartsWithGeneral(const char* p) {
  static const char kGeneral[] = "general";
  for (int i = 0; i < 7; ++i) {
    char c = p[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kGeneral[i]) return false;
  }
  return true;
}

// Reads "[+|-]digits[.digits][e[+|-]digits]" with "." or the given decimal
// separator as the point.
bool ReadConditionNumber(const char** cursor, char decimalSeparator, double* value) {
  const char* p = *cursor;
  char text[kMaxConditionNumber + 1];
  size_t length = 0;
  auto take = [&](char c) {
    if (length >= kMaxConditionNumber) return false;
    text[length++] = c;
    return true;
  };
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int digits = 0;
  while (IsDigit(*p)) {
    if (!take(*p++)) return false;
    ++digits;
  }
  if (*p == '.' || *p == decimalSeparator) {
    ++p;
    if (!take('.')) return false;
    while (IsDigit(*p)) {
      if (!take(*p++)) return false;
      ++digits;
    }
  }
  if (digits == 0) return false;
  if ((*p == 'e' || *p == 'E') &&
      (IsDigit(p[1]) || ((p[1] == '+' || p[1] == '-') && IsDigit(p[2])))) {
    if (!take(*p++)) return false;
    if (*p == '+' || *p == '-') {
      if (!take(*p++)) return false;
    }
    while (IsDigit(*p)) {
      if (!take(*p++)) return false;
    }
  }
  double parsed = 0;
  auto result = std::from_chars(text, text + length, parsed, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != text + length) return false;
  *value = negative ? -parsed : parsed;
  *cursor = p;
  return true;
}

int RunLength(const char* p, char letter, int longest) {
  int n = 0;
  while (n < longest && p[n] == letter) ++n;
  return n;
}

class FormatCompiler {
 public:
  FormatCompiler(NumberFormat* format, const RegionalSettings& separators)
      : f_(*format), separators_(separators) {}

  bool Run(const char* code);

 private:
  FormatSection& Section() { return f_.sections[section_]; }
  void FlushGroups();
  bool Add(uint32_t kind, uint8_t character) { return f_.AddToken(kind, section_, character); }
  bool ReadPlaceholder(char c);
  bool ReadsAsDateOrTimeSeparator(const char* p, bool thousands) const;
  bool ReadBracket(const char** cursor);
  bool FinishSection(int section);

  NumberFormat& f_;
  const RegionalSettings& separators_;
  int section_ = 0;
  int pendingGroups_ = 0;
  uint32_t allowed_ = kAllowAll;
};

// Group separators not followed by an integer placeholder scale the value.
void FormatCompiler::FlushGroups() {
  uint32_t scaling = Section().thousandsScaling + static_cast<uint32_t>(pendingGroups_);
  Section().thousandsScaling = static_cast<uint16_t>(scaling > 0xFFFF ? 0xFFFF : scaling);
  pendingGroups_ = 0;
}

// Where the locale's thousands or decimal separator is also its date or
// time separator and both readings are allowed, the character separates a
// date or time code that follows it directly, or an empty text in single
// quotes; a thousands separator is one too right after a decimal separator
// not yet followed by a placeholder, where a group would mean nothing.
// (Writers put an empty text in double quotes after a number separator that
// a date code would otherwise follow, and one in single quotes after a date
// or time separator that no date code follows.)
bool FormatCompiler::ReadsAsDateOrTimeSeparator(const char* p, bool thousands) const {
  const bool date = *p == separators_.dateSeparator && (allowed_ & kTokenDateSeparator);
  const bool time = *p == separators_.timeSeparator && (allowed_ & kTokenTimeSeparator);
  if (!date && !time) return false;
  if (p[1] == '\'' && p[2] == '\'') return true;
  const char* after = p + 1;
  int count = 0;
  if (NumberFormat::ParseDateCode(&after, &count) != 0) return true;
  const FormatSection& s = f_.sections[section_];
  return thousands && (s.kinds & kTokenDecimal) && s.fractionDigits == 0;
}

bool FormatCompiler::ReadPlaceholder(char c) {
  if (!(allowed_ & kTokenPlaceholder)) return false;
  FormatSection& s = Section();
  if (s.kinds & kTokenExponent) {
    ++s.exponentDigits;
  } else if (s.kinds & (kTokenDecimal | kTokenFractionBar)) {
    ++s.fractionDigits;
    s.trailingHash = c == '#';
  } else {
    ++s.integerDigits;
    // However many separators were written, one group token stands for them.
    if (pendingGroups_ > 0) {
      pendingGroups_ = 0;
      if (!Add(kTokenGroup, ',')) return false;
    }
  }
  allowed_ &= ~(kDateTimeCodeKinds | kTokenTimeSeparator | kTokenDateSeparator | kTokenElapsed);
  return Add(kTokenPlaceholder, static_cast<uint8_t>(c));
}

// At the character after "[".
bool FormatCompiler::ReadBracket(const char** cursor) {
  const char* p = SkipBlanks(*cursor);
  FormatBracket bracket{};
  uint32_t kind = NumberFormat::ParseCondition(&p, &bracket, separators_.decimalSeparator);
  if (kind != 0) {
    FormatSection& s = Section();
    if (s.bracketCount >= kMaxSectionBrackets) return false;
    s.brackets[s.bracketCount++] = bracket;
    if (!Add(kind, ' ')) return false;
  } else {
    // An operator without its number or a "#" without six hex digits.
    if (*p == '<' || *p == '>' || *p == '=' || *p == '#') return false;
    if (!(allowed_ & kTokenElapsed)) return false;
    int count = 0;
    const char* after = p;
    uint32_t unit = NumberFormat::ParseDateCode(&after, &count);
    if (unit == 0) {
      // Other bracket contents (locale tags and the like) are ignored.
      while (*p && *p != ']') ++p;
    } else {
      if (unit == kTokenMonth) {
        if (count > 2) return false;
        unit = kTokenMinute;
      } else if (!(unit == kTokenHour || unit == kTokenSecond ||
                   (unit == kTokenDay && count <= 2))) {
        return false;
      }
      if (!f_.AddDateCode(unit | kTokenElapsed, section_, count)) return false;
      allowed_ = kAllowAfterElapsed & ~unit;
      if (unit == kTokenSecond) allowed_ |= kTokenDecimal;
      p = after;
    }
  }
  p = SkipBlanks(p);
  if (*p != ']') return false;
  *cursor = p + 1;
  return true;
}

// The first run of literal digits after a token that starts with 1..9: a
// fixed exponent ("0.0E+3") or a fixed denominator ("# ?/8").
int FixedDigitRun(const NumberFormat& f, int after, int end) {
  for (int i = after + 1; i < end; ++i) {
    const FormatToken& t = f.tokens[i];
    if (t.kind != kTokenLiteral || t.character < '1' || t.character > '9') continue;
    int n = 0;
    while (i + n < end && f.tokens[i + n].kind == kTokenLiteral &&
           IsDigit(static_cast<char>(f.tokens[i + n].character))) {
      ++n;
    }
    return n;
  }
  return 0;
}

bool FormatCompiler::FinishSection(int section) {
  FormatSection& s = f_.sections[section];
  if (s.tokenCount == 0) return true;
  int end = s.firstToken + s.tokenCount;
  if ((s.kinds & kTokenExponent) && s.exponentDigits == 0) {
    int run = FixedDigitRun(f_, s.exponentIndex, end);
    if (run == 0) return false;
    s.exponentDigits = static_cast<uint16_t>(run);
  }
  if (s.kinds & kTokenFractionBar) {
    if (s.integerDigits == 0) return false;
    if (s.fractionDigits == 0) {
      int run = FixedDigitRun(f_, s.fractionBarIndex, end);
      if (run == 0) return false;
      s.fractionDigits = static_cast<uint16_t>(run);
    }
  }
  return true;
}

bool FormatCompiler::Run(const char* code) {
  const char decimal = separators_.decimalSeparator;
  const char thousands = separators_.thousandsSeparator;
  const char* p = code;
  while (*p) {
    const char c = *p;
    FormatSection& s = Section();
    if (c == '#' || c == '0' || c == '?') {
      if (!ReadPlaceholder(c)) return false;
      ++p;
    } else if (c == thousands && (allowed_ & kTokenGroup) && !ReadsAsDateOrTimeSeparator(p, true)) {
      ++pendingGroups_;
      ++p;
    } else if (c == decimal && (allowed_ & kTokenDecimal) && !ReadsAsDateOrTimeSeparator(p, false)) {
      if ((s.kinds & kTokenSecond) && !(s.kinds & kTokenPlaceholder)) {
        // Fractions of a second: "ss.00".
        allowed_ = (allowed_ & ~kTokenDecimal) | kTokenPlaceholder;
      } else {
        FlushGroups();
        allowed_ &= ~(kTokenDecimal | kTokenFractionBar | kTokenGeneral | kDateTimeCodeKinds);
      }
      s.decimalIndex = f_.tokenCount;
      if (!Add(kTokenDecimal, '.')) return false;
      ++p;
    } else if (c == '/' && (allowed_ & kTokenFractionBar)) {
      FlushGroups();
      s.fractionBarIndex = f_.tokenCount;
      allowed_ &= ~(kTokenDecimal | kTokenFractionBar | kDateTimeCodeKinds);
      if (!Add(kTokenFractionBar, '/')) return false;
      ++p;
    } else if ((c == 'E' || c == 'e') && (p[1] == '+' || p[1] == '-') &&
               (allowed_ & kTokenExponent)) {
      FlushGroups();
      s.exponentIndex = f_.tokenCount;
      s.exponentSign = static_cast<uint8_t>(p[1]);
      if (!Add(kTokenExponent, static_cast<uint8_t>(c))) return false;
      allowed_ = kAllowAfterExponent;
      p += 2;
    } else if ((c == '@' || StartsWithGeneral(p)) && (allowed_ & kTokenGeneral)) {
      if (!Add(kTokenGeneral, '@')) return false;
      p += c == '@' ? 1 : 7;
    } else if (c == '[' && p[1]) {
      ++p;
      if (!ReadBracket(&p)) return false;
    } else if ((c == '_' || c == '*') && p[1]) {
      if (!Add(c == '_' ? kTokenBlank : kTokenFill, static_cast<uint8_t>(p[1]))) return false;
      p += 2;
    } else if (c == '"' || c == '\'') {
      const char* q = p + 1;
      for (; *q && *q != c; ++q) {
        if (!Add(kTokenLiteral, static_cast<uint8_t>(*q))) return false;
      }
      if (!*q) return false;
      p = q + 1;
    } else if (c == '\\' && p[1]) {
      if (!Add(kTokenLiteral, static_cast<uint8_t>(p[1]))) return false;
      p += 2;
    } else if (c == separators_.dateSeparator && (allowed_ & kTokenDateSeparator)) {
      if (!Add(kTokenDateSeparator, '/')) return false;
      allowed_ = kAllowAfterDateCode;
      ++p;
    } else if (c == separators_.timeSeparator && (allowed_ & kTokenTimeSeparator)) {
      if (!Add(kTokenTimeSeparator, ':')) return false;
      allowed_ = kAllowAfterDateCode;
      ++p;
    } else if (c == ';') {
      FlushGroups();
      if (section_ + 1 >= kMaxFormatSections) return false;
      ++section_;
      Section().firstToken = f_.tokenCount;
      allowed_ = kAllowAll;
      ++p;
    } else {
      int count = 0;
      const char* after = p;
      uint32_t kind = NumberFormat::ParseDateCode(&after, &count);
      if (kind != 0) {
        uint16_t before = f_.tokenCount;
        if (!f_.AddDateCode(kind, section_, count)) return false;
        uint32_t placed = f_.tokens[before].kind;
        if (!(allowed_ & placed)) return false;
        allowed_ = kAllowAfterDateCode;
        if (placed == kTokenSecond) allowed_ |= kTokenDecimal;
        p = after;
      } else {
        if (!Add(kTokenLiteral, static_cast<uint8_t>(c))) return false;
        ++p;
      }
    }
  }
  FlushGroups();
  for (int i = 0; i < kMaxFormatSections; ++i) {
    if (!FinishSection(i)) return false;
    if (f_.sections[i].tokenCount > 0) f_.sectionCount = static_cast<uint8_t>(i + 1);
  }
  return true;
}

}  // namespace

bool NumberFormat::Compile(const char* code, const RegionalSettings* separators) {
  Clear();
  if (!code) return true;
  FormatCompiler compiler(this, separators ? *separators : kGenericRegionalSettings);
  return compiler.Run(code) && !overflow;
}

uint32_t NumberFormat::ParseCondition(const char** cursor, FormatBracket* bracket,
                                      char decimalSeparator) {
  const char* p = *cursor;
  static const struct {
    const char* text;
    uint8_t comparison;
  } kOperators[] = {
      {"<=", kCompareLessEqual}, {">=", kCompareGreaterEqual}, {"<>", kCompareNotEqual},
      {"=", kCompareEqual},      {"<", kCompareLess},          {">", kCompareGreater},
  };
  for (const auto& op : kOperators) {
    size_t length = strlen(op.text);
    if (strncmp(p, op.text, length) != 0) continue;
    const char* number = SkipBlanks(p + length);
    double value = 0;
    if (!ReadConditionNumber(&number, decimalSeparator, &value)) return 0;
    *bracket = FormatBracket{};
    bracket->kind = kTokenCondition;
    bracket->comparison = op.comparison;
    bracket->value = value;
    *cursor = number;
    return kTokenCondition;
  }
  uint32_t colour = 0;
  size_t length = ReadColorAt(p, &colour);
  if (length == 0) return 0;
  *bracket = FormatBracket{};
  bracket->colour = colour;
  if (p[0] == '#') {
    bracket->kind = kTokenHexColor;
    p += length;
  } else {
    bracket->kind = kTokenNamedColor;
    p += length;
    while (IsAsciiLetter(*p)) ++p;
  }
  *cursor = p;
  return bracket->kind;
}

uint32_t NumberFormat::ParseDateCode(const char** cursor, int* count) {
  const char* p = *cursor;
  int n = 0;
  uint32_t kind = 0;
  switch (*p) {
    case 'm': kind = kTokenMonth; n = RunLength(p, 'm', 5); break;
    case 'd': kind = kTokenDay; n = RunLength(p, 'd', 4); break;
    case 'h': kind = kTokenHour; n = RunLength(p, 'h', 2); break;
    case 's': kind = kTokenSecond; n = RunLength(p, 's', 2); break;
    case 'y':
      n = RunLength(p, 'y', 4);
      if (n == 3) n = 2;
      if (n >= 2) kind = kTokenYear;
      break;
    case 'A':
      if (strncmp(p, "AM/PM", 5) == 0) {
        kind = kTokenAmPm;
        n = 5;
      } else if (strncmp(p, "A/P", 3) == 0) {
        kind = kTokenAmPm;
        n = 3;
      }
      break;
    default: break;
  }
  if (kind == 0) return 0;
  *count = n;
  *cursor = p + n;
  return kind;
}
