#ifndef TALVERO_CORE_DATE_STYLE_CODES_H
#define TALVERO_CORE_DATE_STYLE_CODES_H

// The compiled codes of the date and time styles that typed values are tried
// against. Every typed text that might be a date is matched against up to
// two dozen styles; building and compiling each code again for each text
// cost far more than the match, so the first section of each compiled code
// is kept, keyed by everything the code depends on.

#include <cstdint>

#include "core/numfmt/num_format_params.h"
#include "core/numfmt/number_format.h"

// Longer codes than any style builds are compiled again each time.
constexpr int kMaxDateStyleTokens = 32;

struct DateStyleCode {
  uint8_t compiled;  // the code compiled and has a first section
  uint8_t kept;      // the tokens fit below; else compile the code again
  uint8_t firstNeedsDigit;  // the first token reads a number
  uint8_t spare;
  uint16_t tokenCount;
  uint32_t kinds;  // OR of the first section's token kinds
  FormatToken tokens[kMaxDateStyleTokens];
};

// The first section of the code BuildFormatCode writes for a date (4), time
// (5) or date/time (6) category and these options, with the generic
// separators, and the date orders of the current regional settings where the
// options ask for the locale's order.
const DateStyleCode& CompiledDateStyle(uint8_t category, const DateTimeFormatOptions& options);

// False when the code cannot read the text whatever follows its first
// character: most typed texts are refused by most styles right there.
inline bool MayReadText(const DateStyleCode& code, const char* text) {
  while (*text == ' ') ++text;
  return !code.firstNeedsDigit || (*text >= '0' && *text <= '9');
}

#endif
