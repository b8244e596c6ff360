#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/formula/scanned_formula_cache.h"
#include "tests/test_random.h"
#include "tests/test_seed.h"

namespace {

// Texts of few lengths, many alike, met in random columns and orders: the
// quick look at the formula last found for a column never answers with
// another text's tokens, and finds what the hashed table finds.
TEST(KeptFormulaLookup, AgreesWithTheTableForTextsMetInAnyColumn) {
  const uint32_t seed = TestSeed(20261208);
  TestRng random{seed};
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) {
    // Lengths 2..9 so that many texts share a length and a column, and
    // short ones are compared as one word.
    std::string text = "=";
    const size_t length = 2 + random.Below(8);
    while (text.size() < length) text += static_cast<char>('1' + random.Below(3));
    texts.push_back(text);
  }
  ScannedFormulaCache cache;
  for (const std::string& text : texts) cache.Find(text.c_str(), text.size());
  for (int i = 0; i < 20000; ++i) {
    const std::string& text = texts[random.Below(uint32_t(texts.size()))];
    const uint32_t column = random.Below(600);
    // Found by the table, which hashes and compares the whole text.
    const ScannedFormula* expected = cache.Find(text.c_str(), text.size());
    const std::vector<char> unterminated(text.begin(), text.end());
    const ScannedFormula* kept = cache.FindKept(unterminated.data(), unterminated.size(), column);
    ASSERT_EQ(kept, expected) << '"' << text << "\" column " << column << " seed " << seed;
    if (kept) {
      ASSERT_EQ(std::string(kept->text), text) << "seed " << seed;
    }
  }
}

}  // namespace
