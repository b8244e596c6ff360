#ifndef TALVERO_DIALOGS_PARSED_TEXT_H
#define TALVERO_DIALOGS_PARSED_TEXT_H

// What a parsed edit accepts and how its up-down control steps its text:
// integers, decimals with the current decimal separator, or column letters,
// each kept within its limits. The edit control only routes keys and
// notifications here.

#include <cstddef>
#include <cstdint>

#include "services/convert/number_text.h"

enum ParsedEditMode : uint8_t {
  kParsedAnything = 0,
  kParsedInteger = 1,
  kParsedDecimal = 2,
  kParsedColumn = 3,
};

// An edit's text is read with at most this many characters.
constexpr size_t kParsedTextCapacity = 31;

struct ParsedEditRules {
  uint8_t mode;
  int32_t minimum;  // integers and columns
  int32_t maximum;
  double minimumDouble;  // decimals
  double maximumDouble;
  int decimals;  // decimals written; -1 the shortest text
  char decimalSeparator;
};

// Whether a typed character may enter the edit; control characters always may.
bool AcceptsParsedChar(const ParsedEditRules& rules, char c);

// The text after one step by delta (decimals move by tenths), clamped to the
// limits. False when the text is no value of the mode: out is then the text
// unchanged. Mode 0 leaves the text as it is and succeeds.
bool StepParsedText(const ParsedEditRules& rules, const char* text, int delta, char* out, size_t size);

// What a field's whole text is when a dialog takes its value.
enum ParsedFieldRead : uint8_t {
  kFieldValue = 0,        // an integer within the limits
  kFieldNoNumber = 1,     // empty, or anything but blanks around a sign and digits
  kFieldOutOfLimits = 2,  // an integer beyond the limits, however many digits it has
};

// The field's text as an integer from minimum to maximum, exactly, however
// near the ends of the 32-bit range the limits lie. The text is read whole,
// so that a long one is never cut into another number.
uint8_t ReadParsedInteger(const char* text, int32_t minimum, int32_t maximum, int32_t* value);

#endif
