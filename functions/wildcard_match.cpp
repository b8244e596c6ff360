#include "functions/wildcard_match.h"

#include <cstring>

#include "core/formula/formula_strings.h"
#include "core/base/text_compare.h"

namespace {

enum TokenKind { kEnd, kStar, kAny, kLiteral };

struct Token {
  TokenKind kind;
  char literal;
  int32_t size;  // pattern characters it takes
};

Token ReadToken(const char* p) {
  switch (*p) {
    case '\0':
      return {kEnd, 0, 0};
    case '*':
      return {kStar, 0, 1};
    case '?':
      return {kAny, 0, 1};
    case '~':
      if (p[1] == '*' || p[1] == '?' || p[1] == '~') return {kLiteral, p[1], 2};
      return {kLiteral, '~', 1};
    default:
      return {kLiteral, *p, 1};
  }
}

bool Matches(const Token& token, char c) {
  const uint8_t* upper = UpperCaseTable();
  return token.kind == kAny || upper[static_cast<uint8_t>(token.literal)] == upper[static_cast<uint8_t>(c)];
}

const char* SkipStars(const char* p) {
  while (*p == '*') ++p;
  return p;
}

// Whether the pattern matches all of text[0, length): the usual single
// backtracking point at the last "*" keeps this linear in practice.
bool MatchesWhole(const char* pattern, const char* text, int32_t length) {
  const char* p = pattern;
  int32_t t = 0;
  const char* afterStar = nullptr;
  int32_t starText = 0;
  while (t < length) {
    const Token token = ReadToken(p);
    if (token.kind == kStar) {
      p = afterStar = SkipStars(p);
      starText = t;
      continue;
    }
    if (token.kind != kEnd && Matches(token, text[t])) {
      p += token.size;
      ++t;
      continue;
    }
    if (!afterStar) return false;
    p = afterStar;
    t = ++starText;
  }
  return *SkipStars(p) == '\0';
}

}  // namespace

int32_t WildcardMatch(const char* pattern, const char* text, bool* whole, int32_t* end) {
  if (whole) *whole = false;
  if (end) *end = 0;
  if (!pattern || !text || !pattern[0]) return -1;
  const int32_t length = static_cast<int32_t>(std::strlen(text));

  // Segment by segment between stars: each segment is searched from where
  // the previous one ended, at its leftmost place. When a segment is found
  // nowhere, no later start of the whole pattern can succeed either, so the
  // search never backtracks.
  int32_t start = -1;
  int32_t matchEnd = 0;
  const char* segment = pattern;
  int32_t from = 0;
  for (bool done = false; !done;) {
    for (int32_t offset = from;; ++offset) {
      const char* p = segment;
      int32_t t = offset;
      bool mismatch = false;
      for (Token token = ReadToken(p); token.kind != kEnd && token.kind != kStar; token = ReadToken(p)) {
        if (t == length) return -1;  // the text ran out
        if (!Matches(token, text[t])) {
          mismatch = true;
          break;
        }
        p += token.size;
        ++t;
      }
      if (mismatch) continue;
      if (start < 0) start = offset;
      if (*p == '\0') {
        matchEnd = t;
        done = true;
      } else {
        segment = SkipStars(p);
        from = t;
        if (*segment == '\0') {
          matchEnd = length;  // a final "*" takes the rest
          done = true;
        }
      }
      break;
    }
  }

  bool reachesEnd = matchEnd == length;
  if (whole && !reachesEnd && std::strchr(pattern, '*') && MatchesWhole(pattern, text + start, length - start)) {
    reachesEnd = true;
    matchEnd = length;
  }
  if (whole) *whole = reachesEnd;
  if (end) *end = matchEnd;
  return start;
}

// An empty pattern matches nothing, as WildcardMatch has it, and "~" or "?"
// anywhere needs the full matcher.
void WholeTextShape::Settle(const char* pattern) {
  shape_ = Shape::kGeneral;
  literalLength_ = 0;
  if (pattern[0] == '\0' || std::strpbrk(pattern, "?~")) return;
  const char* star = std::strchr(pattern, '*');
  if (!star) {
    shape_ = Shape::kLiteral;
    literalLength_ = std::strlen(pattern);
  } else {
    for (const char* p = star; *p; ++p)
      if (*p != '*') return;
    shape_ = Shape::kPrefix;
    literalLength_ = static_cast<size_t>(star - pattern);
  }
  const uint8_t* upper = UpperCaseTable();
  for (size_t i = 0; i < literalLength_ && i < kFolded; ++i) folded_[i] = upper[static_cast<uint8_t>(pattern[i])];
}

bool WholeTextShape::Matches(const char* pattern, const char* text, size_t length) const {
  if (shape_ != Shape::kGeneral) {
    // The text ends at its first NUL: none may come before the literal's
    // end, and a literal needs the text to end right there.
    if (length < literalLength_ ||
        (shape_ == Shape::kLiteral && length > literalLength_ && text[literalLength_] != '\0'))
      return false;
    // Equal bytes need no case folding.
    const uint8_t* upper = UpperCaseTable();
    for (size_t i = 0; i < literalLength_; ++i) {
      if (pattern[i] == text[i]) continue;
      if (text[i] == '\0') return false;
      const uint8_t folded = i < kFolded ? folded_[i] : upper[static_cast<uint8_t>(pattern[i])];
      if (folded != upper[static_cast<uint8_t>(text[i])]) return false;
    }
    return true;
  }
  const void* nul = std::memchr(text, '\0', length);
  if (nul) length = static_cast<size_t>(static_cast<const char*>(nul) - text);
  // Texts of the evaluator are shorter than its pool.
  char terminated[FormulaStrings::kByteCapacity];
  if (length >= sizeof terminated) return false;
  std::memcpy(terminated, text, length);
  terminated[length] = '\0';
  bool whole = false;
  return WildcardMatch(pattern, terminated, &whole) == 0 && whole;
}
