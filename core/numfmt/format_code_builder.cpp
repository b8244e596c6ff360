#include "core/numfmt/format_code_builder.h"

#include <charconv>
#include <cstring>

#include "core/base/bounded_text.h"
#include "core/numfmt/num_format_params.h"
#include "core/numfmt/regional_settings.h"

namespace {

// Documented option ranges.
constexpr int kMaxDecimals = 14;
constexpr int kMaxIntegerDigits = 14;
constexpr int kMaxDenominatorDigits = 14;
constexpr int kMaxFixedExponent = 99;
constexpr int kFirstElapsedTimeStyle = 8;

// Room for one section body: a quoted symbol (four characters for each of
// its fourteen, should all be quotes) and a number with its decimals.
constexpr size_t kBodyCapacity = 256;

// Text between double quotes. A double quote in it cannot stand inside the
// run: it closes the run, stands escaped and a new run opens.
BoundedText& PutQuoted(BoundedText& out, const char* text, size_t limit) {
  out.Put('"');
  for (size_t i = 0; i < limit && text[i]; ++i) {
    if (text[i] == '"') {
      out.Put("\"\\\"\"");
    } else {
      out.Put(text[i]);
    }
  }
  return out.Put('"');
}

struct Separators {
  char decimal, thousands, date, time;
  uint8_t shortOrder, longOrder;
};

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// The positive body and, by negative style, a second section for negative
// numbers: red, in parentheses, or both; the minus style needs none.
void AddWithNegativeForm(BoundedText& out, const BoundedText& body, int negativeStyle) {
  out.Put(body);
  switch (negativeStyle) {
    case kNegativeRed: out.Put(";[red]").Put(body); break;
    case kNegativeParentheses: out.Put(";(").Put(body).Put(')'); break;
    case kNegativeRedParentheses: out.Put(";[red](").Put(body).Put(')'); break;
    default: break;
  }
}

void AddGroupedInteger(BoundedText& out, const Separators& s) {
  out.Put('#').Put(s.thousands).Put("##0");
}

void AddFixedDecimals(BoundedText& out, const Separators& s, int decimals) {
  if (decimals > 0) out.Put(s.decimal).Repeat('0', decimals);
}

void BuildNumber(BoundedText& out, const NumberFormatOptions& o, const Separators& s) {
  char bodyText[kBodyCapacity];
  BoundedText body(bodyText, sizeof bodyText);
  if (o.leadingZeros) {
    // At least one digit, as a zero-padded printf field would write it.
    body.Repeat('0', Clamp(o.integerDigits, 1, kMaxIntegerDigits));
  } else if (o.grouping) {
    AddGroupedInteger(body, s);
  } else {
    body.Put('0');
  }
  if (o.fixedDecimals) {
    AddFixedDecimals(body, s, Clamp(o.decimals, 0, kMaxDecimals));
  } else {
    body.Put(s.decimal).Put('#');
  }
  AddWithNegativeForm(out, body, o.negativeStyle);
}

void BuildCurrency(BoundedText& out, const CurrencyFormatOptions& o, const Separators& s) {
  char symbolText[kBodyCapacity];
  BoundedText symbol(symbolText, sizeof symbolText);
  char quoted[kCurrencySymbolSize + 1];
  size_t length = strnlen(o.symbol, kCurrencySymbolSize);
  const int position =
      o.symbolPosition <= kSymbolAfterWithBlank ? int{o.symbolPosition} : int{kSymbolBefore};
  size_t at = 0;
  if (position == kSymbolAfterWithBlank) quoted[at++] = ' ';
  memcpy(quoted + at, o.symbol, length);
  at += length;
  if (position == kSymbolBeforeWithBlank) quoted[at++] = ' ';
  PutQuoted(symbol, quoted, at);

  char bodyText[kBodyCapacity];
  BoundedText body(bodyText, sizeof bodyText);
  const bool before = position == kSymbolBefore || position == kSymbolBeforeWithBlank;
  if (before) body.Put(symbol);
  AddGroupedInteger(body, s);
  AddFixedDecimals(body, s, Clamp(o.decimals, 0, kMaxDecimals));
  if (!before) body.Put(symbol);
  AddWithNegativeForm(out, body, o.negativeStyle);
}

void BuildAccounting(BoundedText& out, const CurrencyFormatOptions& o, const Separators& s) {
  const int decimals = Clamp(o.decimals, 0, kMaxDecimals);
  char numberText[kBodyCapacity];
  BoundedText number(numberText, sizeof numberText);
  number.Put(' ');
  AddGroupedInteger(number, s);
  AddFixedDecimals(number, s, decimals);
  PutQuoted(out.Put("_("), o.symbol, kCurrencySymbolSize).Put('*').Put(number).Put("_);");
  PutQuoted(out.Put("\\("), o.symbol, kCurrencySymbolSize).Put('*').Put(number).Put("\\);");
  PutQuoted(out.Put("_("), o.symbol, kCurrencySymbolSize).Put("* -").Repeat('?', decimals).Put("_);");
  out.Put("_(@_)");
}

// Date codes by style and date order; %c stands for the date separator.
const char* DatePattern(int style, int order) {
  static const char* const kShortStyles[9][3] = {
      {"m%cd%cyyyy", "d%cm%cyyyy", "yyyy%cm%cd"},
      {"mm%cdd%cyyyy", "dd%cmm%cyyyy", "yyyy%cmm%cdd"},
      {"m%cd%cyy", "d%cm%cyy", "yy%cm%cd"},
      {"mm%cdd%cyy", "dd%cmm%cyy", "yy%cmm%cdd"},
      {"m%cd", "d%cm", "m%cd"},
      {"mm%cyy", "mm%cyy", "yy%cmm"},
      {"mmm-d", "d-mmm", "mmm-d"},
      {"mmm-d-yyyy", "d-mmm-yyyy", "yyyy-mmm-d"},
      {"mmm-d-yy", "d-mmm-yy", "yy-mmm-d"},
  };
  static const char* const kLongStyles[2][3] = {
      {"mmmm d, yyyy", "d mmmm, yyyy", "yyyy, mmmm d"},
      {"dddd, mmmm dd, yyyy", "dddd, dd mmmm, yyyy", "yyyy, mmmm dd, dddd"},
  };
  if (order < 0 || order > 2) order = kDateOrderMonthDayYear;
  if (style == 9 || style == 10) return kLongStyles[style - 9][order];
  if (style < 0 || style > 8) style = 0;
  return kShortStyles[style][order];
}

// Writes a pattern whose %c stand, in turn, for the given characters.
void PutPattern(BoundedText& out, const char* pattern, char first, char second) {
  int used = 0;
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 'c') {
      out.Put(used++ == 0 ? first : second);
      ++p;
    } else {
      out.Put(*p);
    }
  }
}

void BuildDate(BoundedText& out, const DateTimeFormatOptions& o, const Separators& s) {
  const RegionalSettings& current = CurrentRegionalSettings();
  const bool longStyle = o.dateStyle == 9 || o.dateStyle == 10;
  uint8_t order = longStyle ? s.longOrder : s.shortOrder;
  if (o.useLocaleOrder) order = longStyle ? current.longDateOrder : current.shortDateOrder;
  PutPattern(out, DatePattern(o.dateStyle, order), s.date, s.date);
}

void BuildTime(BoundedText& out, int style, const Separators& s) {
  static const char* const kTimeStyles[11] = {
      "h%cmm",   "h%cmm AM/PM",   "hh%cmm",      "hh%cmm AM/PM", "h%cmm%css",   "h%cmm%css AM/PM",
      "hh%cmm%css", "hh%cmm%css AM/PM", "[m]%css%c00", "[h]%cmm%css", "[d] hh%cmm",
  };
  if (style < 0 || style > 10) style = 0;
  // "[m]:ss.00" takes the decimal separator as its second character.
  PutPattern(out, kTimeStyles[style], s.time, style == 8 ? s.decimal : s.time);
}

void BuildDateTime(BoundedText& out, const DateTimeFormatOptions& o, const Separators& s) {
  // An elapsed duration cannot share a code with a date: elapsed codes must
  // come first in a section and digits end the date codes, so such a code
  // would not compile. The plain time is shown instead.
  const int timeStyle = o.timeStyle >= kFirstElapsedTimeStyle ? 0 : o.timeStyle;
  if (o.timeFirst) {
    BuildTime(out, timeStyle, s);
    out.Put("\\ ");
    BuildDate(out, o, s);
  } else {
    BuildDate(out, o, s);
    out.Put("\\ ");
    BuildTime(out, timeStyle, s);
  }
}

void BuildPercent(BoundedText& out, const NumberFormatOptions& o, const Separators& s) {
  AddGroupedInteger(out, s);
  if (!o.fixedDecimals) {
    out.Put(s.decimal).Put('#');
  } else {
    AddFixedDecimals(out, s, Clamp(o.decimals, 0, kMaxDecimals));
  }
  out.Put("\\%");
}

int DigitCount(uint64_t value) {
  int digits = 1;
  while (value >= 10) {
    value /= 10;
    ++digits;
  }
  return digits;
}

void BuildFraction(BoundedText& out, const FractionFormatOptions& o) {
  out.Put("?\\ ");
  // A zero fixed denominator would leave the code without a denominator.
  if (o.fixedDenominator && o.denominator != 0) {
    char digits[24];
    auto written = std::to_chars(digits, digits + sizeof digits - 1, o.denominator);
    *written.ptr = '\0';
    out.Repeat('?', DigitCount(o.denominator)).Put('/').Put('"').Put(digits).Put('"');
  } else {
    const int k = Clamp(o.denominatorDigits, 1, kMaxDenominatorDigits);
    out.Repeat('?', k).Put('/').Repeat('?', k);
  }
}

void BuildScientific(BoundedText& out, const ScientificFormatOptions& o, const Separators& s) {
  out.Put('0');
  if (!o.fixedDecimals) {
    out.Put(s.decimal).Put('#');
  } else {
    AddFixedDecimals(out, s, Clamp(o.decimals, 0, kMaxDecimals));
  }
  if (o.exponentStyle != kExponentFixedPositive && o.exponentStyle != kExponentFixedNegative) {
    out.Put("e+00");
    return;
  }
  const int exponent = Clamp(o.exponentValue, 0, kMaxFixedExponent);
  const char sign = o.exponentStyle == kExponentFixedPositive ? '+' : '-';
  char digits[3] = {static_cast<char>('0' + exponent / 10), static_cast<char>('0' + exponent % 10),
                    '\0'};
  if (exponent == 0) {
    // A fixed exponent needs a non-zero digit to be read as one; ten to the
    // power 0 leaves the number as it is, so the exponent becomes plain text.
    out.Put("\"e").Put(sign == '+' ? "+" : "").Put(digits).Put('"');
    return;
  }
  out.Put('e').Put(sign).Put('"').Put(digits).Put('"');
}

}  // namespace

bool BuildFormatCode(uint8_t category, const NumFormatOptions& options, char* buffer, size_t size,
                     const RegionalSettings* separators) {
  const RegionalSettings& r = separators ? *separators : kGenericRegionalSettings;
  const Separators s = {r.decimalSeparator, r.thousandsSeparator, r.dateSeparator,
                        r.timeSeparator,    r.shortDateOrder,     r.longDateOrder};
  BoundedText out(buffer, size);
  switch (category) {
    case kNumFormatDefault:
    case kNumFormatUserPattern: break;
    case kNumFormatGeneral: BuildNumber(out, options.number, s); break;
    case kNumFormatCurrency: BuildCurrency(out, options.currency, s); break;
    case kNumFormatAccounting: BuildAccounting(out, options.currency, s); break;
    case kNumFormatDate: BuildDate(out, options.dateTime, s); break;
    case kNumFormatTime: BuildTime(out, options.dateTime.timeStyle, s); break;
    case kNumFormatDateTime: BuildDateTime(out, options.dateTime, s); break;
    case kNumFormatPercent: BuildPercent(out, options.number, s); break;
    case kNumFormatFraction: BuildFraction(out, options.fraction); break;
    case kNumFormatScientific: BuildScientific(out, options.scientific, s); break;
    default: out.Put('#').Put(s.decimal).Put('#'); break;
  }
  return out.Finish();
}
