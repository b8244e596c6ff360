#ifndef TALVERO_CORE_TOKEN_TEXT_LAYOUT_H
#define TALVERO_CORE_TOKEN_TEXT_LAYOUT_H

// Measuring, wrapping and shortening the display tokens a number format
// produced, in the font a measurer has selected.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/number_format.h"
#include "core/styles/text_measurer.h"

// Tokens whose characters are shown, and blanks that only take their width.
constexpr uint32_t kTextBearingKinds = kTokenLiteral | kTokenGroup | kTokenDecimal | kTokenExponent |
                                       kTokenFractionBar | kTokenTimeSeparator | kTokenDateSeparator;
constexpr uint32_t kMeasuredKinds = kTextBearingKinds | kTokenBlank;

// The characters of the shown and blank tokens among count tokens from
// first (fewer where the list ends), NUL-terminated; returns their number.
// buffer holds at least kFormattedTextCapacity characters.
size_t GatherTokenText(const NumberFormat& tokens, int first, int count, char* buffer);

// The extent of those characters, line breaks included (TextExtent).
bool TextExtentLines(const TextMeasurer& measurer, const NumberFormat& tokens, int32_t* width, int32_t* height,
                     int first, int count);

// Greedy wrapping: each line takes tokens while they fit the width (one token
// always), and a line that must break does so after its last blank, "-", "."
// or "," literal before the token that did not fit, else right before that
// token. A line-feed literal of section 0 is inserted at each break. False,
// with the overflow flag set, when a break finds the list full (1025 tokens);
// also false when a measurement failed.
bool WrapTokens(const TextMeasurer& measurer, NumberFormat* tokens, int32_t width);

// Shortens the tokens to a left part, "..." and a right part that fit the
// width, taking tokens away from the middle, the left part first and then the
// right part by turns; at worst the first token and "...". Lists of fewer
// than 2 tokens stay as they are. False when a measurement failed.
bool ElideTokens(const TextMeasurer& measurer, NumberFormat* tokens, int32_t width);

#endif
