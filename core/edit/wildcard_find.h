#ifndef TALVERO_CORE_WILDCARD_FIND_H
#define TALVERO_CORE_WILDCARD_FIND_H

// The pattern matcher of the find and replace commands. "*" matches any run
// of characters, "?" any one character, and "~" before "*", "?" or "~" makes
// that character literal (before anything else "~" is itself). Without
// matchCase, characters compare as the code page's upper case.

#include <cstddef>
#include <cstdint>

// Where a match lies in the text: [start, end).
struct WildcardSpan {
  size_t start;
  size_t end;
};

// The first match from the left. With wholeText the match must cover the
// whole text; a "*" followed by more pattern still matches any run there
// ("a*c" matches "abc"). A "*" that ends the pattern takes the rest of the
// text; a "*" inside it takes the shortest run after which the rest matches.
// False for an empty pattern or no match.
bool FindWildcardSpan(const char* pattern, const char* text, bool matchCase, bool wholeText,
                      WildcardSpan* span);

// The start of the first match, or -1.
int32_t FindWildcardMatch(const char* pattern, const char* text, bool matchCase, bool wholeText);

#endif
