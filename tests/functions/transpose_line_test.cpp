#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

using TransposeLine = FormulaTableTest;

// Turning a single row or column gives what the general rectangle transpose
// gives for that line (read back with INDEX), for random lines shorter and
// longer than the run taken at once, with blanks, texts, errors, -0 and
// formulas caching numbers or texts.
TEST_F(TransposeLine, MatchesTheRectangleTranspose) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double numbers[] = {-0.0, 1.5, -7.0, 1e300, 42.0};
  for (int round = 0; round < 300; ++round) {
    sheet.Clear(true);
    const uint32_t length = 1 + random() % 20;
    const bool column = random() % 2;
    // Sparse kinds in a few rounds, so that plain lines dominate the rest.
    const uint32_t odd = random() % 3 == 0 ? 2 : 12;
    for (uint32_t i = 0; i < length; ++i) {
      const uint16_t c = column ? 0 : uint16_t(i);
      const uint32_t r = column ? i : 0;
      const double number = numbers[random() % 5];
      const uint8_t error = random() % (odd * 2) == 0 ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
      switch (random() % odd) {
        case 0:
          break;  // blank
        case 1:
          PutText(sheet, c, r, random() % 2 ? "5" : "x", error);
          break;
        case 2:
          PutFormula(sheet, c, r, "=1", 0, "t", error, true);
          break;
        case 3:
          PutFormula(sheet, c, r, "=1", number, nullptr, error, true);
          break;
        default:
          PutNumber(sheet, c, r, number, error);
          break;
      }
    }
    const std::string n = std::to_string(length);
    const std::string line = column ? "A1:A" + n : "A1:" + std::string(1, char('A' + length - 1)) + "1";
    const std::string wide =
        column ? "A1:B" + n : "A1:" + std::string(1, char('A' + length - 1)) + "2";
    const std::string pick = column ? ",1,0)" : ",0,1)";
    ASSERT_EQ(Run("=TRANSPOSE(" + line + ")"), Run("=INDEX(TRANSPOSE(" + wide + ")" + pick))
        << "round " << round << " " << line;
  }
}

}  // namespace
