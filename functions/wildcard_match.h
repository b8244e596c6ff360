#ifndef TALVERO_FUNCTIONS_WILDCARD_MATCH_H
#define TALVERO_FUNCTIONS_WILDCARD_MATCH_H

// The pattern matcher of SEARCH, SUBSTITUTE, COUNTIF, SUMIF and the lookups:
// "?" is any one character, "*" any run of characters, "~" makes a following
// "*", "?" or "~" literal; other characters match letter case aside.

#include <cstdint>

// The first offset of text at which the pattern matches, or -1 (always for
// an empty pattern). Each "*" takes as little as it can. With whole given,
// a "*" prefers a match that reaches the end of the text, and *whole tells
// whether the reported match does. end (when given) receives the offset
// just past the reported match, so that a caller replaces exactly what was
// matched; it never lies beyond the text.
int32_t WildcardMatch(const char* pattern, const char* text, bool* whole = nullptr, int32_t* end = nullptr);

#endif
