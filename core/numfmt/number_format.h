#ifndef TALVERO_CORE_NUMBER_FORMAT_H
#define TALVERO_CORE_NUMBER_FORMAT_H

// Number-format codes ("#,##0.00;[red]-#,##0.00", "yyyy-mm-dd", "[h]:mm",
// "# ??/??") compiled into a flat list of typed tokens split into up to four
// sections, and the same record used as the formatter's output: the tokens of
// the text to show, with blanks, fills and the colour for the cell painter.
// Codes are compiled in the generic form ("." decimal, "," thousands, "/"
// date, ":" time); the user's separators go into the output at the end.

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct RegionalSettings;

// Token kinds, one bit each, so that a section's kind set tells what it holds.
constexpr uint32_t kTokenLiteral = 1;
constexpr uint32_t kTokenPlaceholder = 2;  // "#", "0" or "?"
constexpr uint32_t kTokenGroup = 4;        // thousands separator
constexpr uint32_t kTokenDecimal = 8;
constexpr uint32_t kTokenExponent = 16;     // "E" or "e" as written
constexpr uint32_t kTokenFractionBar = 32;
constexpr uint32_t kTokenGeneral = 64;      // "General" or "@"
constexpr uint32_t kTokenBlank = 128;       // "_x": a blank as wide as x
constexpr uint32_t kTokenFill = 256;        // "*x": x repeated to fill the cell
constexpr uint32_t kTokenCondition = 512;
constexpr uint32_t kTokenNamedColor = 1024;
constexpr uint32_t kTokenHexColor = 2048;
constexpr uint32_t kTokenYear = 0x1000;  // date and time kinds: character is the letter count
constexpr uint32_t kTokenMonth = 0x2000;
constexpr uint32_t kTokenDay = 0x4000;
constexpr uint32_t kTokenHour = 0x8000;
constexpr uint32_t kTokenMinute = 0x10000;
constexpr uint32_t kTokenSecond = 0x20000;
constexpr uint32_t kTokenAmPm = 0x40000;  // count 5 "AM/PM", 3 "A/P"
constexpr uint32_t kTokenTimeSeparator = 0x80000;
constexpr uint32_t kTokenDateSeparator = 0x100000;
constexpr uint32_t kTokenElapsed = 0x200000;  // added to day, hour, minute, second: "[h]"

constexpr uint32_t kDateTimeCodeKinds = kTokenYear | kTokenMonth | kTokenDay | kTokenHour |
                                        kTokenMinute | kTokenSecond | kTokenAmPm;
constexpr uint32_t kBracketKinds = kTokenCondition | kTokenNamedColor | kTokenHexColor;

// Condition comparisons.
constexpr uint8_t kCompareLessEqual = 1;
constexpr uint8_t kCompareGreaterEqual = 2;
constexpr uint8_t kCompareEqual = 3;
constexpr uint8_t kCompareNotEqual = 4;
constexpr uint8_t kCompareLess = 5;
constexpr uint8_t kCompareGreater = 6;

constexpr int kMaxFormatTokens = 1025;
constexpr int kMaxFormatSections = 4;
constexpr int kMaxSectionBrackets = 3;
// Room for a string form of any output list, with its NUL.
constexpr size_t kFormattedTextCapacity = kMaxFormatTokens + 1;

struct FormatToken {
  uint32_t kind;
  uint8_t section;    // 0..3
  uint8_t character;  // the letter count for date and time kinds
  uint8_t spare[2];
};
static_assert(sizeof(FormatToken) == 8, "format tokens are 8 bytes");

// A condition ("[<=100]") or a colour ("[red]", "[#00FF80]").
struct FormatBracket {
  uint32_t kind;        // kTokenCondition, kTokenNamedColor or kTokenHexColor
  uint32_t colour;      // 0x00BBGGRR
  uint8_t comparison;   // kCompare...
  double value;
};

struct FormatSection {
  uint32_t kinds;  // OR of its tokens' kinds
  uint16_t firstToken;
  uint16_t tokenCount;
  uint16_t integerDigits;   // placeholders before the decimal token (a fraction: before the bar)
  uint16_t decimalIndex;
  uint16_t fractionBarIndex;
  uint16_t fractionDigits;  // placeholders after the decimal token or after the bar
  uint8_t exponentSign;     // '+' or '-'
  uint16_t exponentIndex;
  uint16_t exponentDigits;
  uint16_t trailingHash;    // the last placeholder after the decimal token or bar was "#"
  uint16_t thousandsScaling;  // trailing group separators: each divides by 1000
  uint8_t bracketCount;
  FormatBracket brackets[kMaxSectionBrackets];
};

struct NumberFormat {
  FormatToken tokens[kMaxFormatTokens];
  uint16_t tokenCount;
  uint8_t overflow;  // a token was dropped because all were in use
  FormatSection sections[kMaxFormatSections];
  uint8_t sectionCount;  // last non-empty section + 1; 0 for an empty code
  uint8_t hasColor;
  uint32_t color;  // 0x00BBGGRR, set by the formatter from the section used

  NumberFormat() { Clear(); }
  void Clear();

  // Compiles a NUL-terminated code (null: an empty format). The decimal,
  // thousands, date and time separators of the given settings are recognised
  // in the code (null: the generic ones); tokens keep the generic characters.
  // False for an invalid code or one of more than kMaxFormatTokens tokens;
  // the record must then not be used.
  bool Compile(const char* code, const RegionalSettings* separators);

  // Appenders; false, with the overflow flag set, when the tokens are used up.
  bool AddToken(uint32_t kind, int section, uint8_t character);
  bool AddString(const char* text, int section);
  bool AddTokens(const NumberFormat& source, int first, int count, bool reversed);
  // A date or time token, with the rule that turns "m" and "mm" into minutes
  // after an hour or before a second.
  bool AddDateCode(uint32_t kind, int section, int count);

  // Puts the separators of the given settings into the group, decimal, date
  // and time separator tokens.
  void ApplySeparators(const RegionalSettings& separators);

  // Writes the format back as a code that compiles to the same format, with
  // the given separators (null: the tokens' own characters). False, with an
  // empty buffer, when it does not fit.
  bool ToText(char* buffer, size_t size, const RegionalSettings* separators) const;

  // True when the section has no condition or the value meets all of them.
  bool MatchCondition(double value, int section) const;

  // On the text after "[" (and its blanks): a condition or a colour into the
  // bracket, returning its kind and moving the cursor past it; 0 when the
  // text is neither. Condition values take "." or the given decimal separator.
  static uint32_t ParseCondition(const char** cursor, FormatBracket* bracket,
                                 char decimalSeparator = '.');
  // A date or time code at the cursor: its kind and letter count, the cursor
  // moved past it; 0 when there is none. Letters are case-sensitive.
  static uint32_t ParseDateCode(const char** cursor, int* count);

  // Fills this record with the tokens showing a number or a text through a
  // code (compiled with the generic separators); the output gets the given
  // separators (null: the generic ones). False when the code does not compile,
  // the tokens overflow, or (texts) the code cannot show the text.
  bool FormatNumber(double value, const char* code, const RegionalSettings* separators);
  bool FormatText(const char* text, const char* code, const RegionalSettings* separators);

  // The inner steps of the formatter; each appends to this record the tokens
  // of a value through one section of a compiled code.
  bool FormatFixed(double value, const NumberFormat& code, int section);
  bool FormatScientific(double value, const NumberFormat& code, int section);
  bool FormatFraction(double value, const NumberFormat& code, int section);
  bool FormatTime(const char* durationText, const NumberFormat& code, int section,
                  const RegionalSettings* separators);
  bool FormatDate(const char* dateText, const NumberFormat& code, int section,
                  const RegionalSettings* separators);
  // Merges a digit text into the code's tokens [first, end): right to left
  // for integer parts, exponents and numerators (with repeated thousands
  // grouping), left to right for decimals and denominators. Counts in
  // *digitsShown the digit tokens that placeholders produced.
  bool FillPlaceholders(const NumberFormat& code, int first, int end, const char* digits,
                        bool rightToLeft, int* digitsShown);

 private:
  uint32_t ResolveMinutes(uint32_t kind, int section, int count) const;
  int PrecedingDateCode(int section) const;
  void RecomputeSectionKinds(int section);
  bool InsertToken(int index, uint32_t kind, uint8_t character);
  bool AddNumberText(const char* text);
  bool AddDoubleText(double value);
  bool AddFixedDigits(const NumberFormat& code, int first, int end, int decimalIndex,
                      char* text);
  bool AddFixedValue(double value, const NumberFormat& code, const FormatSection& s, int first,
                     int end, int decimalIndex);
  bool ExpandGeneralTokens(const char* text, bool asNumber);
  void ApplySectionColour(const NumberFormat& code, int section);
};

static_assert(sizeof(decltype(NumberFormat::tokens)) == kMaxFormatTokens * 8,
              "a format holds 1025 tokens of 8 bytes");
static_assert(sizeof(decltype(NumberFormat::sections)) == kMaxFormatSections * sizeof(FormatSection),
              "a format holds 4 sections");
// Copied by value and cleared byte by byte.
static_assert(std::is_trivially_copyable<NumberFormat>::value, "plain record");

// The string forms keep the literal, group, decimal, exponent, fraction bar
// and separator tokens. On failure the buffer gets DoubleToText of the number
// (with the separators) or the text unchanged, and the result is false; a
// buffer too small for the text gets as much as fits and false.
bool FormatNumberToString(double value, const char* code, char* buffer, size_t size,
                          const RegionalSettings* separators);
bool FormatTextToString(const char* text, const char* code, char* buffer, size_t size,
                        const RegionalSettings* separators);

#endif
