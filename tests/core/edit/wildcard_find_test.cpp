#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/edit/wildcard_find.h"
#include "test_seed.h"

namespace {

struct FindCase {
  const char* pattern;
  const char* text;
  bool matchCase;
  bool wholeText;
  int32_t start;
};

TEST(WildcardFind, FindsFirstMatchStart) {
  const FindCase cases[] = {
      {"a?c", "xabcx", false, false, 1},
      {"a?c", "xabcx", false, true, -1},
      {"a?c", "abc", false, true, 0},
      {"~*", "5*3", false, false, 1},
      {"~*", "53", false, false, -1},
      {"~x", "a~xb", false, false, 1},   // "~" before an ordinary character is itself
      {"~~", "a~b", false, false, 1},
      {"a~", "xa~", false, false, 1},    // a final "~" is itself
      {"~?", "what?", false, false, 4},
      {"ABC", "xabc", false, false, 1},
      {"ABC", "xabc", true, false, -1},
      {"ab*", "abxyz", false, true, 0},  // a final "*" takes the rest
      {"a*c", "abc", false, true, 0},
      {"a*c", "abcd", false, true, -1},
      {"a*c", "xabc", false, true, -1},
      {"*c", "abcabc", false, true, 0},
      {"*b", "abab", false, true, 0},
      {"a*b*c", "xxaxxbxxcxx", false, false, 2},
      {"a*b*c", "xxaxxbxx", false, false, -1},
      {"*", "", false, false, 0},
      {"*", "", false, true, 0},
      {"?", "", false, false, -1},
      {"", "abc", false, false, -1},
      {"abcdef", "abc", false, false, -1},  // longer than the text
      {"bcd", "abc", false, false, -1},     // runs past the end of the text
      {"aab", "aaab", false, false, 1},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindWildcardMatch(c.pattern, c.text, c.matchCase, c.wholeText), c.start)
        << "'" << c.pattern << "' in '" << c.text << "' case " << c.matchCase << " whole " << c.wholeText;
  }
}

TEST(WildcardFind, SpanCoversWhatMatched) {
  struct SpanCase {
    const char* pattern;
    const char* text;
    size_t start;
    size_t end;
  } const cases[] = {
      {"~*", "5*3", 1, 2},
      {"a*b", "xaXbYb", 1, 4},   // a star inside takes the shortest run
      {"a*", "xaXbYb", 1, 6},    // a final star takes the rest
      {"?", "abc", 0, 1},
      {"a~?", "xa?", 1, 3},
  };
  for (const auto& c : cases) {
    WildcardSpan span{};
    ASSERT_TRUE(FindWildcardSpan(c.pattern, c.text, false, false, &span)) << c.pattern;
    EXPECT_EQ(span.start, c.start) << c.pattern;
    EXPECT_EQ(span.end, c.end) << c.pattern;
  }
}

// A plain backtracking glob over a whole substring, for comparison.
bool GlobMatches(const char* p, const char* t, const char* end) {
  if (*p == '\0') return t == end;
  if (*p == '*') {
    for (const char* q = t;; ++q) {
      if (GlobMatches(p + 1, q, end)) return true;
      if (q == end) return false;
    }
  }
  if (t == end) return false;
  char literal = *p;
  int width = 1;
  if (*p == '~' && (p[1] == '*' || p[1] == '?' || p[1] == '~')) {
    literal = p[1];
    width = 2;
  }
  if (*p != '?' && literal != *t) return false;
  return GlobMatches(p + width, t + 1, end);
}

int32_t ReferenceStart(const std::string& pattern, const std::string& text, bool whole) {
  if (pattern.empty()) return -1;
  const char* t = text.c_str();
  const size_t n = text.size();
  for (size_t s = 0; s <= n; ++s) {
    for (size_t e = s; e <= n; ++e) {
      if (whole && (s != 0 || e != n)) continue;
      if (GlobMatches(pattern.c_str(), t + s, t + e)) return static_cast<int32_t>(s);
    }
  }
  return -1;
}

TEST(WildcardFind, AgreesWithBacktrackingGlob) {
  const uint32_t seed = TestSeed(20240611);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 rng(seed);
  const char alphabet[] = "ab*?~";
  for (int round = 0; round < 20000; ++round) {
    std::string pattern, text;
    const int patternLength = static_cast<int>(rng() % 6);
    const int textLength = static_cast<int>(rng() % 8);
    for (int i = 0; i < patternLength; ++i) pattern += alphabet[rng() % 5];
    for (int i = 0; i < textLength; ++i) text += "ab*~"[rng() % 4];
    const bool whole = rng() % 2 == 0;
    const int32_t expected = ReferenceStart(pattern, text, whole);
    WildcardSpan span{};
    const bool found = FindWildcardSpan(pattern.c_str(), text.c_str(), true, whole, &span);
    ASSERT_EQ(found ? static_cast<int32_t>(span.start) : -1, expected)
        << "seed " << seed << " round " << round << ": '" << pattern << "' in '" << text << "' whole " << whole;
    if (found) {
      ASSERT_LE(span.end, text.size());
      ASSERT_TRUE(GlobMatches(pattern.c_str(), text.c_str() + span.start, text.c_str() + span.end))
          << "span of '" << pattern << "' in '" << text << "'";
    }
  }
}

}  // namespace
