#ifndef TALVERO_FUNCTIONS_WILDCARD_MATCH_H
#define TALVERO_FUNCTIONS_WILDCARD_MATCH_H

// The pattern matcher of SEARCH, SUBSTITUTE, COUNTIF, SUMIF and the lookups:
// "?" is any one character, "*" any run of characters, "~" makes a following
// "*", "?" or "~" literal; other characters match letter case aside.

#include <cstddef>
#include <cstdint>

// The first offset of text at which the pattern matches, or -1 (always for
// an empty pattern). Each "*" takes as little as it can. With whole given,
// a "*" prefers a match that reaches the end of the text, and *whole tells
// whether the reported match does. end (when given) receives the offset
// just past the reported match, so that a caller replaces exactly what was
// matched; it never lies beyond the text.
int32_t WildcardMatch(const char* pattern, const char* text, bool* whole = nullptr, int32_t* end = nullptr);

// The shape of a pattern that must match whole texts, settled once for many
// of them: Matches gives what WildcardMatch(pattern, text, &whole) == 0 &&
// whole gives, but compares a plain text, or one that only ends in stars,
// without the search. The pattern is passed again to each Matches.
class WholeTextShape {
 public:
  explicit WholeTextShape(const char* pattern = "") { Settle(pattern); }
  void Settle(const char* pattern);
  // The text is its bytes up to the first NUL within length, as the search
  // reads a text.
  bool Matches(const char* pattern, const char* text, size_t length) const;

 private:
  enum class Shape : uint8_t {
    kLiteral,  // no wildcard: the same characters, letter case aside
    kPrefix,   // characters without wildcards, then only stars
    kGeneral,  // anything else goes through WildcardMatch
  };
  // The first characters of a literal or prefix, letter case folded once.
  static constexpr size_t kFolded = 16;

  Shape shape_ = Shape::kGeneral;
  size_t literalLength_ = 0;  // the characters before any star
  uint8_t folded_[kFolded] = {};
};

#endif
