#include <gtest/gtest.h>

#include <random>
#include <string>

#include "functions/wildcard_match.h"
#include "tests/test_seed.h"

namespace {

// What a whole-text match means: the matcher's search over the text up to
// its first NUL, matching from the start to the end.
bool MatchesWhole(const std::string& pattern, const std::string& text) {
  bool whole = false;
  return WildcardMatch(pattern.c_str(), text.c_str(), &whole) == 0 && whole;
}

// Literals and prefixes, longer and shorter than the characters folded
// ahead, against texts differing in letter case, in length, and holding
// NULs before, at and after the literal's end; general patterns too.
TEST(WholeTextShape, MatchesAsTheSearchDoes) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char kLetters[] = {'a', 'A', 'b', 'B', 'z', '1', '\xE9', '\xC9', ' '};
  const auto letter = [&] { return kLetters[random() % sizeof kLetters]; };
  for (int trial = 0; trial < 4000; ++trial) {
    std::string pattern;
    const uint32_t literal = random() % 22;
    for (uint32_t i = 0; i < literal; ++i) pattern += letter();
    switch (random() % 4) {
      case 0:
        break;  // a literal
      case 1:
        pattern += std::string(1 + random() % 2, '*');  // a prefix
        break;
      default:  // anything
        pattern.insert(random() % (pattern.size() + 1), 1, "*?~"[random() % 3]);
        break;
    }
    const WholeTextShape shape(pattern.c_str());
    // A text near the pattern: its characters, some in the other case or
    // changed, cut or lengthened, a NUL put in now and then.
    std::string text;
    for (char c : pattern) {
      if (c == '*' || c == '?' || c == '~') continue;
      const uint32_t change = random() % 12;
      text += change == 0 ? letter() : (change == 1 && c >= 'a' && c <= 'z' ? char(c - 32) : c);
    }
    if (random() % 3 == 0) text.resize(random() % (text.size() + 1));
    for (uint32_t extra = random() % 3; extra > 0; --extra) text += letter();
    if (random() % 4 == 0) text.insert(random() % (text.size() + 1), 1, '\0');
    SCOPED_TRACE("pattern \"" + pattern + "\", text \"" + text + "\"");
    EXPECT_EQ(shape.Matches(pattern.c_str(), text.data(), text.size()), MatchesWhole(pattern, text));
  }
}

}  // namespace
