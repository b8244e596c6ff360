#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>

#include "functions/wildcard_match.h"
#include "test_seed.h"

namespace {

struct MatchCase {
  const char* pattern;
  const char* text;
  int32_t start;  // with whole not requested
  int32_t end;
  bool reachesEnd;
  bool wholeWhenRequested;  // *whole with whole requested
  int32_t endWhenWhole;
};

const MatchCase kCases[] = {
    {"b?d", "abcd", 1, 4, true, true, 4},
    {"B*", "xbyz", 1, 4, true, true, 4},
    {"~*", "a*b", 1, 2, false, false, 2},
    {"~*", "ab", -1, 0, false, false, 0},
    {"a~?", "a?", 0, 2, true, true, 2},
    {"a~?", "ab", -1, 0, false, false, 0},
    {"~~", "x~", 1, 2, true, true, 2},
    {"~", "a~", 1, 2, true, true, 2},  // a lone "~" is itself
    {"", "abc", -1, 0, false, false, 0},
    {"abc", "", -1, 0, false, false, 0},
    {"*", "", 0, 0, true, true, 0},
    {"*", "abc", 0, 3, true, true, 3},
    {"a*b", "axbxb", 0, 3, false, true, 5},  // "*" takes as little as it can
    {"a*b*c", "aXbYbZc", 0, 7, true, true, 7},
    {"*c", "abcabc", 0, 3, false, true, 6},
    {"?", "", -1, 0, false, false, 0},
    {"abc", "xxABCyy", 2, 5, false, false, 5},
    {"a?c", "ac", -1, 0, false, false, 0},
    {"**a", "bba", 0, 3, true, true, 3},
    {"a*z", "abcabc", -1, 0, false, false, 0},
    {"ab*", "xxab", 2, 4, true, true, 4},
};

TEST(WildcardMatch, FindsTheFirstMatchAndWhereItEnds) {
  for (const MatchCase& c : kCases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    int32_t end = -7;
    EXPECT_EQ(WildcardMatch(c.pattern, c.text, nullptr, &end), c.start);
    EXPECT_EQ(end, c.start < 0 ? 0 : c.end);
    bool whole = !c.wholeWhenRequested;
    EXPECT_EQ(WildcardMatch(c.pattern, c.text, &whole, &end), c.start);
    EXPECT_EQ(whole, c.wholeWhenRequested);
    EXPECT_EQ(end, c.start < 0 ? 0 : c.endWhenWhole);
  }
}

// The straightforward definition: a "*" tries every split. Slow, but the
// reference for what the matcher must answer.
bool Reference(const char* p, const char* t) {
  if (*p == '\0') return *t == '\0';
  if (*p == '*') return Reference(p + 1, t) || (*t && Reference(p, t + 1));
  if (*t == '\0') return false;
  char literal = *p;
  int size = 1;
  if (*p == '~' && (p[1] == '*' || p[1] == '?' || p[1] == '~')) literal = p[1], size = 2;
  const bool same = (*p == '?' && size == 1) || std::toupper(static_cast<unsigned char>(literal)) ==
                                                      std::toupper(static_cast<unsigned char>(*t));
  return same && Reference(p + size, t + 1);
}

TEST(WildcardMatch, AgreesWithTheDefinitionOnRandomPatterns) {
  const uint32_t seed = TestSeed(1009);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char patternChars[] = "ab*?~A";
  const char textChars[] = "abAB*?~";
  for (int round = 0; round < 20000; ++round) {
    std::string pattern;
    std::string text;
    for (int n = random() % 7 + 1; n > 0; --n) pattern += patternChars[random() % 6];
    for (int n = random() % 9; n > 0; --n) text += textChars[random() % 7];
    SCOPED_TRACE("pattern " + pattern + " text " + text);
    bool whole = false;
    int32_t end = 0;
    const int32_t start = WildcardMatch(pattern.c_str(), text.c_str(), &whole, &end);
    // The reported start is the first offset at which some prefix matches.
    int32_t expected = -1;
    for (size_t offset = 0; offset <= text.size() && expected < 0; ++offset)
      for (size_t length = 0; offset + length <= text.size(); ++length)
        if (Reference(pattern.c_str(), text.substr(offset, length).c_str())) {
          expected = static_cast<int32_t>(offset);
          break;
        }
    ASSERT_EQ(start, expected);
    if (start < 0) continue;
    // The reported end delimits a real match inside the text, and whole is
    // true exactly when the pattern can match the rest of the text.
    ASSERT_LE(end, static_cast<int32_t>(text.size()));
    ASSERT_TRUE(Reference(pattern.c_str(), text.substr(start, end - start).c_str()));
    ASSERT_EQ(whole, Reference(pattern.c_str(), text.c_str() + start));
  }
}

TEST(WildcardMatch, ManyStarsStayFast) {
  std::string pattern;
  for (int i = 0; i < 1000; ++i) pattern += "*a";
  pattern += "*b";
  const std::string text(3000, 'a');
  bool whole = false;
  EXPECT_EQ(WildcardMatch(pattern.c_str(), text.c_str(), &whole), -1);
  EXPECT_EQ(WildcardMatch("*a*a*a*a*a*a*a*a*a*a*c", text.c_str(), &whole), -1);
}

}  // namespace
