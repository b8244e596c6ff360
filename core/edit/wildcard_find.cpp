#include "core/edit/wildcard_find.h"

#include <cstring>

#include "platform/os_services.h"

namespace {

bool IsEscapable(char c) { return c == '*' || c == '?' || c == '~'; }

bool SameCharacter(char patternChar, char textChar, bool matchCase) {
  if (matchCase) return patternChar == textChar;
  return OsCharUpper(static_cast<uint8_t>(patternChar)) == OsCharUpper(static_cast<uint8_t>(textChar));
}

// Tries each start from `from` in turn. anchorStart allows only the start
// `from`; anchorEnd asks the match to end with the text. The rest of the
// pattern after a "*" is searched by a nested call, which tries every start
// itself, so a failed nested search means that no later start can succeed.
bool Search(const char* pattern, const char* text, size_t length, size_t from, bool matchCase,
            bool anchorStart, bool anchorEnd, WildcardSpan* span) {
  for (size_t start = from;; ++start) {
    size_t i = 0;
    size_t j = start;
    for (;;) {
      const char p = pattern[i];
      if (p == '\0') {
        if (anchorEnd && j != length) break;
        *span = {start, j};
        return true;
      }
      if (p == '*') {
        if (pattern[i + 1] == '\0') {
          *span = {start, length};
          return true;
        }
        WildcardSpan rest;
        if (!Search(pattern + i + 1, text, length, j, matchCase, false, anchorEnd, &rest)) return false;
        *span = {start, rest.end};
        return true;
      }
      if (j == length) return false;
      if (p == '?') {
        ++i;
        ++j;
        continue;
      }
      size_t width = 1;
      char literal = p;
      if (p == '~' && IsEscapable(pattern[i + 1])) {
        literal = pattern[i + 1];
        width = 2;
      }
      if (!SameCharacter(literal, text[j], matchCase)) break;
      i += width;
      ++j;
    }
    if (anchorStart || start >= length) return false;
  }
}

}  // namespace

bool FindWildcardSpan(const char* pattern, const char* text, bool matchCase, bool wholeText,
                      WildcardSpan* span) {
  if (!pattern || !text || pattern[0] == '\0') return false;
  return Search(pattern, text, std::strlen(text), 0, matchCase, wholeText, wholeText, span);
}

int32_t FindWildcardMatch(const char* pattern, const char* text, bool matchCase, bool wholeText) {
  WildcardSpan span;
  if (!FindWildcardSpan(pattern, text, matchCase, wholeText, &span)) return -1;
  return static_cast<int32_t>(span.start);
}
