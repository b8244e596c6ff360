#include "core/numfmt/date_input.h"

#include <cstring>

#include "core/numfmt/date_style_codes.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"
#include "platform/os_services.h"

namespace {

constexpr int kDateTimeStyleCount = 11;
constexpr int kMaxFieldDigits = 9;  // keeps every field inside 32 bits
constexpr int kUnset = -1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipBlanks(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

// A run of 1 to kMaxFieldDigits digits; its length goes to *digits.
bool ReadField(const char** p, int32_t* value, int* digits) {
  int n = 0;
  int32_t v = 0;
  while (IsDigit((*p)[n])) {
    if (n == kMaxFieldDigits) return false;
    v = v * 10 + ((*p)[n] - '0');
    ++n;
  }
  if (n == 0) return false;
  *p += n;
  *value = v;
  *digits = n;
  return true;
}

bool ReadRanged(const char** p, int32_t low, int32_t high, int32_t* value) {
  int digits = 0;
  return ReadField(p, value, &digits) && *value >= low && *value <= high;
}

// Fractional seconds as ISO times read them: "5" is 500 ms.
bool ReadMilliseconds(const char** p, int32_t* milliseconds) {
  int digits = 0;
  int32_t v = 0;
  if (!ReadField(p, &v, &digits) || digits > 3) return false;
  for (int i = digits; i < 3; ++i) v *= 10;
  *milliseconds = v;
  return true;
}

size_t MatchesIgnoringCase(const char* text, const char* name, size_t length) {
  if (length == 0) return 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '\0' || (text[i] != name[i] && OsCharUpper(static_cast<uint8_t>(text[i])) !=
                                                      OsCharUpper(static_cast<uint8_t>(name[i]))))
      return 0;
  }
  return length;
}

using NameGetter = size_t (*)(int index, uint8_t localeChoice, char* buffer, size_t size);

constexpr int kMaxNames = 12;

// A region without a system locale has the built-in names, which never
// change: they are fetched once rather than for every text typed. The kept
// names are a function of the getter alone (each is asked with one count),
// so they need no owner and nothing ever invalidates them.
struct FixedNames {
  NameGetter getter;
  size_t lengths[kMaxNames];
  uint8_t upperFirst[kMaxNames];  // the first letter in capitals, to pass over names quickly
  char names[kMaxNames][kLocaleNameCapacity];
};

bool HasFixedNames(uint8_t locale) { return RegionLocaleId(locale) == 0; }

const FixedNames& FixedNamesOf(NameGetter getter, int count, uint8_t locale) {
  static FixedNames kept[4];
  static int keptCount = 0;
  for (int k = 0; k < keptCount; ++k)
    if (kept[k].getter == getter) return kept[k];
  // Four getters read names; a fifth would refill the last entry.
  FixedNames& names = kept[keptCount < 4 ? keptCount++ : 3];
  names.getter = getter;
  for (int i = 0; i < count && i < kMaxNames; ++i) {
    names.lengths[i] = getter(i, locale, names.names[i], sizeof names.names[i]);
    names.upperFirst[i] = OsCharUpper(static_cast<uint8_t>(names.names[i][0]));
  }
  return names;
}

// The longest of the names that the text begins with; its index.
int MatchName(const char** p, NameGetter getter, int count, uint8_t locale, int best, size_t* bestLength) {
  if (HasFixedNames(locale) && count <= kMaxNames) {
    const FixedNames& fixed = FixedNamesOf(getter, count, locale);
    if (**p == '\0') return best;
    const uint8_t first = OsCharUpper(static_cast<uint8_t>(**p));
    for (int i = 0; i < count; ++i) {
      if (fixed.upperFirst[i] != first) continue;
      const size_t matched = MatchesIgnoringCase(*p, fixed.names[i], fixed.lengths[i]);
      if (matched > *bestLength) {
        *bestLength = matched;
        best = i;
      }
    }
    return best;
  }
  char name[kLocaleNameCapacity];
  for (int i = 0; i < count; ++i) {
    const size_t length = getter(i, locale, name, sizeof name);
    const size_t matched = MatchesIgnoringCase(*p, name, length);
    if (matched > *bestLength) {
      *bestLength = matched;
      best = i;
    }
  }
  return best;
}

// Full month names and the forms they take after a day number.
bool ReadLongMonth(const char** p, uint8_t locale, int32_t* month) {
  size_t bestLength = 0;
  int best = MatchName(p, GetLocaleMonthName, 12, locale, kUnset, &bestLength);
  // Without a system locale the form after a day is the full name itself.
  if (!HasFixedNames(locale)) {
    OsLocalTime now{};
    OsGetLocalTime(&now);
    char name[kLocaleNameCapacity];
    for (int i = 0; i < 12; ++i) {
      const size_t length = GetLocaleGenitiveMonthName(now.year, i + 1, 1, locale, name, sizeof name);
      const size_t matched = MatchesIgnoringCase(*p, name, length);
      if (matched > bestLength) {
        bestLength = matched;
        best = i;
      }
    }
  }
  if (best == kUnset) return false;
  *p += bestLength;
  *month = best + 1;
  return true;
}

bool ReadName(const char** p, NameGetter getter, int count, uint8_t locale, int32_t* index) {
  size_t length = 0;
  const int best = MatchName(p, getter, count, locale, kUnset, &length);
  if (best == kUnset) return false;
  *p += length;
  *index = best;
  return true;
}

struct Fields {
  int32_t year = kUnset;
  int32_t month = kUnset;
  int32_t day = kUnset;
  int32_t hour = kUnset;
  int32_t minute = kUnset;
  int32_t second = kUnset;
  int32_t millisecond = 0;
  int32_t afternoon = kUnset;  // 0 AM, 1 PM
  bool weekday = false;
};

bool ReadYear(const char** p, int letters, int32_t* year) {
  int digits = 0;
  if (!ReadField(p, year, &digits) || digits > 5) return false;
  // "yy" shows years before 2000 in full, so it reads 2, 4 or 5 digits.
  if (letters == 2 && digits != 2 && digits < 4) return false;
  if (digits == 2) *year += 2000;
  return *year >= kMinIsoYear && *year <= kMaxIsoYear;
}

bool ReadToken(const FormatToken& t, const char** p, const RegionalSettings& separators, bool* inFraction,
               Fields* f) {
  const uint32_t kind = t.kind & ~kTokenElapsed;
  const bool elapsed = (t.kind & kTokenElapsed) != 0;
  const int count = t.character;
  const uint8_t locale = separators.localeChoice;
  if (kind != kTokenPlaceholder) *inFraction = false;
  switch (kind) {
    case kTokenLiteral:
      if (t.character == ' ') return true;
      if (**p != static_cast<char>(t.character)) return false;
      ++*p;
      return true;
    case kTokenDateSeparator:
    case kTokenTimeSeparator:
    case kTokenDecimal: {
      const char wanted = kind == kTokenDateSeparator   ? separators.dateSeparator
                          : kind == kTokenTimeSeparator ? separators.timeSeparator
                                                        : separators.decimalSeparator;
      if (**p != wanted) return false;
      ++*p;
      if (kind != kTokenDecimal) return true;
      *inFraction = true;
      return ReadMilliseconds(p, &f->millisecond);
    }
    case kTokenPlaceholder:
      return *inFraction;  // the digits were read with the decimal separator
    case kTokenYear:
      return ReadYear(p, count, &f->year);
    case kTokenMonth:
      if (count <= 2) return ReadRanged(p, 1, 12, &f->month);
      if (count == 3) {
        if (!ReadName(p, GetLocaleAbbrevMonthName, 12, locale, &f->month)) return false;
        ++f->month;
        return true;
      }
      // A single letter does not tell the month.
      return count == 4 && ReadLongMonth(p, locale, &f->month);
    case kTokenDay:
      if (elapsed) return ReadRanged(p, 0, INT32_MAX, &f->day);
      if (count <= 2) return ReadRanged(p, 1, 31, &f->day);
      f->weekday = true;
      int32_t ignored;
      return ReadName(p, count == 3 ? GetLocaleAbbrevDayName : GetLocaleDayName, 7, locale, &ignored);
    case kTokenHour:
      return ReadRanged(p, 0, elapsed ? INT32_MAX : 23, &f->hour);
    case kTokenMinute:
      return ReadRanged(p, 0, elapsed ? INT32_MAX : 59, &f->minute);
    case kTokenSecond:
      return ReadRanged(p, 0, elapsed ? INT32_MAX : 59, &f->second);
    case kTokenAmPm: {
      const size_t length = count == 5 ? 2 : 1;
      if ((**p != 'A' && **p != 'P') || (length == 2 && (*p)[1] != 'M')) return false;
      f->afternoon = **p == 'P' ? 1 : 0;
      *p += length;
      return true;
    }
    case kTokenCondition:
    case kTokenNamedColor:
    case kTokenHexColor:
    case kTokenBlank:
    case kTokenFill:
      return true;
    default:
      return false;
  }
}

bool FinishValue(const Fields& f, bool elapsed, DateTime* value) {
  const bool hasDate = f.year != kUnset || f.month != kUnset || (f.day != kUnset && !elapsed) || f.weekday;
  const bool hasTime = f.hour != kUnset || f.minute != kUnset || f.second != kUnset || elapsed;
  if (hasDate) {
    if (f.month == kUnset) return false;
    OsLocalTime now{};
    if (f.year == kUnset) OsGetLocalTime(&now);
    value->hasDate = 1;
    value->year = f.year != kUnset ? f.year : now.year;
    value->month = f.month;
    value->day = f.day != kUnset ? f.day : 1;
    if (value->day > DaysInMonth(value->year, value->month)) return false;
  } else if (elapsed && f.day != kUnset) {
    value->day = f.day;
  }
  if (hasTime) {
    value->hasTime = 1;
    int32_t hour = f.hour != kUnset ? f.hour : 0;
    if (f.afternoon != kUnset) {
      if (hour > 12) return false;
      hour = hour % 12 + (f.afternoon ? 12 : 0);
    }
    value->hour = hour;
    value->minute = f.minute != kUnset ? f.minute : 0;
    value->second = f.second != kUnset ? f.second : 0;
    value->millisecond = f.millisecond;
  }
  return hasDate || hasTime;
}

// Every date and time form has digits and, between its parts, a date or
// time separator, a dash, a blank or a name; a text without them (a plain
// number) need not be tried against each style.
bool CouldBeDateOrTime(const char* text, const RegionalSettings& separators) {
  bool digit = false;
  bool between = false;
  for (; *text; ++text) {
    const char c = *text;
    digit = digit || IsDigit(c);
    between = between || c == separators.dateSeparator || c == separators.timeSeparator || c == '-' ||
              c == ' ' || OsIsCharAlpha(static_cast<uint8_t>(c));
  }
  return digit && between;
}

// Reads the text by a list of date and time tokens; see ParseLocaleDate.
bool ReadByTokens(const FormatToken* tokens, int count, const char* text, const char** end, DateTime* value,
                  const RegionalSettings& separators, bool* elapsed) {
  Fields fields;
  bool inFraction = false;
  bool anyElapsed = false;
  const char* p = text;
  for (int i = 0; i < count; ++i) {
    const FormatToken& t = tokens[i];
    if (t.kind & kTokenElapsed) anyElapsed = true;
    p = SkipBlanks(p);
    if (!ReadToken(t, &p, separators, &inFraction, &fields)) return false;
  }
  if (!FinishValue(fields, anyElapsed, value)) {
    std::memset(value, 0, sizeof *value);
    return false;
  }
  *elapsed = anyElapsed;
  *end = SkipBlanks(p);
  return true;
}

// Matches the whole text against the code of a category built from date
// and time options with the generic separators, as the display builds it.
class StyleMatcher {
 public:
  StyleMatcher(const char* text, const RegionalSettings& separators, DateTime* value, bool* elapsed)
      : text_(text), separators_(separators), value_(value), elapsed_(elapsed) {}

  // Without ownCode a code that shows a month but no day is passed over: a
  // typed date names its day, and "1/45" is no month of 2045. The cell's own
  // month-and-year code reads the first of the month.
  bool Matches(uint8_t category, const DateTimeFormatOptions& options, bool ownCode = false) {
    const DateStyleCode& code = CompiledDateStyle(category, options);
    if (!code.compiled) return false;
    if (!ownCode && (code.kinds & kTokenMonth) && !(code.kinds & kTokenDay)) return false;
    const char* end = nullptr;
    if (!code.kept) return MatchesRecompiled(category, options);
    if (!MayReadText(code, text_)) return false;
    std::memset(value_, 0, sizeof *value_);
    *elapsed_ = false;
    return ReadByTokens(code.tokens, code.tokenCount, text_, &end, value_, separators_, elapsed_) &&
           *end == '\0';
  }

 private:
  bool MatchesRecompiled(uint8_t category, const DateTimeFormatOptions& options) {
    NumFormatOptions all;
    std::memset(&all, 0, sizeof all);
    all.dateTime = options;
    char code[kNumFormatCodeSize];
    // Static for its size alone (over 8 KB of tokens): compiled afresh
    // here, it carries nothing from one call to the next.
    static NumberFormat format;
    if (!BuildFormatCode(category, all, code, sizeof code, nullptr) || !format.Compile(code, nullptr))
      return false;
    const char* end = nullptr;
    return ParseLocaleDate(format, text_, &end, value_, separators_, elapsed_) && *end == '\0';
  }

  const char* text_;
  const RegionalSettings& separators_;
  DateTime* value_;
  bool* elapsed_;
};

bool Found(uint8_t category, const DateTimeFormatOptions& options, uint8_t* outCategory,
           NumFormatOptions* outOptions) {
  std::memset(outOptions, 0, sizeof *outOptions);
  outOptions->dateTime = options;
  *outCategory = category;
  return true;
}

DateTimeFormatOptions WithOrder(DateTimeFormatOptions options, bool timeFirst) {
  options.timeFirst = timeFirst ? 1 : 0;
  return options;
}

}  // namespace

bool ParseLocaleDate(const NumberFormat& code, const char* text, const char** end, DateTime* value,
                     const RegionalSettings& separators, bool* elapsed) {
  std::memset(value, 0, sizeof *value);
  *elapsed = false;
  *end = text;
  if (code.sectionCount == 0) return false;
  const FormatSection& s = code.sections[0];
  return ReadByTokens(&code.tokens[s.firstToken], s.tokenCount, text, end, value, separators, elapsed);
}

bool ParseValueWithHint(const char* text, DateTime* value, uint8_t* category, NumFormatOptions* options,
                        const RegionalSettings& separators, bool* elapsed) {
  const uint8_t cell = *category;
  const bool dateCell = cell == kNumFormatDate || cell == kNumFormatTime || cell == kNumFormatDateTime;
  // Only the date categories keep date options; any other cell reads dates
  // in the locale's order.
  DateTimeFormatOptions base;
  std::memset(&base, 0, sizeof base);
  if (dateCell) {
    base = options->dateTime;
  } else {
    base.useLocaleOrder = 1;
  }
  *elapsed = false;
  if (text && CouldBeDateOrTime(text, separators)) {
    StyleMatcher match(text, separators, value, elapsed);
    const bool dateTimeCell = cell == kNumFormatDateTime;
    if (cell == kNumFormatDate || dateTimeCell) {
      if (dateTimeCell && match.Matches(kNumFormatDateTime, WithOrder(base, false), true))
        return Found(kNumFormatDateTime, WithOrder(base, false), category, options);
      if (match.Matches(kNumFormatDate, base, true)) return Found(kNumFormatDate, base, category, options);
    }
    if (cell == kNumFormatTime || dateTimeCell) {
      if (dateTimeCell && match.Matches(kNumFormatDateTime, WithOrder(base, true), true))
        return Found(kNumFormatDateTime, WithOrder(base, true), category, options);
      if (match.Matches(kNumFormatTime, base, true)) return Found(kNumFormatTime, base, category, options);
    }

    DateTime iso;
    if (ParseIsoDateTime(&iso, text)) {
      *value = iso;
      *elapsed = false;
      DateTimeFormatOptions o = base;
      if (iso.hasDate && iso.hasTime) {
        o.dateStyle = 0;
        o.timeStyle = 0;
        o.useLocaleOrder = 1;
        o.timeFirst = 0;
        return Found(kNumFormatDateTime, o, category, options);
      }
      if (iso.hasDate) {
        o.dateStyle = 0;
        return Found(kNumFormatDate, o, category, options);
      }
      o.timeStyle = 0;
      return Found(kNumFormatTime, o, category, options);
    }

    for (uint8_t style = 0; style < kDateTimeStyleCount; ++style) {
      DateTimeFormatOptions o = base;
      o.dateStyle = style;
      if (dateTimeCell && match.Matches(kNumFormatDateTime, WithOrder(o, false)))
        return Found(kNumFormatDateTime, WithOrder(o, false), category, options);
      if (match.Matches(kNumFormatDate, o)) return Found(kNumFormatDate, o, category, options);
    }
    for (uint8_t style = 0; style < kDateTimeStyleCount; ++style) {
      DateTimeFormatOptions o = base;
      o.timeStyle = style;
      if (dateTimeCell && match.Matches(kNumFormatDateTime, WithOrder(o, true)))
        return Found(kNumFormatDateTime, WithOrder(o, true), category, options);
      if (match.Matches(kNumFormatTime, o)) return Found(kNumFormatTime, o, category, options);
    }
  }
  std::memset(value, 0, sizeof *value);
  *elapsed = false;
  *category = kNumFormatDefault;
  return false;
}
