// Two lists side by side on the same rows are read in one walk when they
// hold plain numbers; any other pair is read list by list. Both readings
// must give the same bits: the same lists are laid out once side by side and
// once on different rows, which only the list-by-list reading takes. Side
// by side they are read once by the range walk and once, with the rows
// indexed as a recalculation pass leaves them, at the cells' places.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "numerics/saddle_point.h"
#include "tests/core/eval_test_cells.h"
#include "tests/numerics/statistics_formula.h"
#include "tests/test_seed.h"

namespace {

class SideBySideLists : public StatisticsFormulaTest {
 protected:
  // A cell of column, row: mostly plain numbers, now and then a blank, a
  // text, an error or a formula's result, which send the pair to the
  // list-by-list reading.
  void PutRandomCell(std::mt19937& random, uint16_t column, uint32_t row, uint32_t oddOneIn) {
    const double number = double(int(random() % 41) - 20) / 4.0;
    if (random() % oddOneIn != 0) {
      PutNumberCell(column, row, number);
      return;
    }
    switch (random() % 5) {
      case 0:
        break;
      case 1:
        PutText(sheet, column, row, random() % 2 ? "7" : "abc");
        break;
      case 2:
        PutNumber(sheet, column, row, number, kErrorNA);
        break;
      case 3:
        PutFormula(sheet, column, row, "=1", number, nullptr, 0, true);
        break;
      default:
        PutNumberCell(column, row, number);
        break;
    }
  }
};

std::string Ref(char column, uint32_t firstRow, uint32_t rows, char lastColumn = 0) {
  return std::string(1, column) + std::to_string(firstRow + 1) + ":" +
         std::string(1, lastColumn ? lastColumn : column) + std::to_string(firstRow + rows);
}

// y in column D (and E when two wide), x in B (and C); C holds noise when
// the lists are one wide. Side by side both start at row 1; apart, x starts
// at row 101 and y at row 201.
TEST_F(SideBySideLists, GiveTheBitsOfTheListByListReading) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char* const kPatterns[] = {
      "=SLOPE(%Y,%X)",
      "=INTERCEPT(%Y,%X)",
      "=FORECAST(3.5,%Y,%X)",
      "=INDEX(LINEST(%Y,%X,),1,1)",
      "=INDEX(LINEST(%Y,%X,0),2,1)",
      "=INDEX(TREND(%Y,%X,,),1,1)",
      "=PEARSON(%X,%Y)",
      "=RSQ(%Y,%X)",
      "=STEYX(%Y,%X)",
      "=TTEST(%X,%Y,2,2)",
      "=TTEST(%X,%Y,1,2)",
      "=PEARSON(%X,%X)",
      "=SLOPE(%Y,%Y)",
  };
  uint32_t compared = 0;
  for (int round = 0; round < 300; ++round) {
    sheet.Clear(true);
    const uint32_t rows = 1 + random() % 9;
    const bool wide = random() % 4 == 0;
    const uint32_t oddOneIn = random() % 3 == 0 ? 4 : 1000;
    for (uint32_t r = 0; r < rows; ++r) {
      for (uint16_t c = 0; c < (wide ? 2 : 1); ++c) {
        std::mt19937 copy = random;
        PutRandomCell(random, uint16_t(1 + c), r, oddOneIn);
        PutRandomCell(copy, uint16_t(1 + c), 100 + r, oddOneIn);
        copy = random;
        PutRandomCell(random, uint16_t(3 + c), r, oddOneIn);
        PutRandomCell(copy, uint16_t(3 + c), 200 + r, oddOneIn);
      }
      if (!wide && random() % 2) PutText(sheet, 2, r, "gap");
    }
    FormulaOutcome walked[sizeof kPatterns / sizeof kPatterns[0]];
    for (int indexed = 0; indexed < 2; ++indexed) {
      if (indexed) {
        ASSERT_TRUE(sheet.BuildPageIndex(0, nullptr));
        ASSERT_TRUE(sheet.PageFlags(0) & kPageIndexBuilt);
      }
      for (const char* const& pattern : kPatterns) {
        std::string together = pattern;
        std::string apart = pattern;
        const auto fill = [&](std::string& text, const char* key, const std::string& ref) {
          for (size_t at = text.find(key); at != std::string::npos; at = text.find(key)) text.replace(at, 2, ref);
        };
        fill(together, "%X", Ref('B', 0, rows, wide ? 'C' : 0));
        fill(together, "%Y", Ref('D', 0, rows, wide ? 'E' : 0));
        fill(apart, "%X", Ref('B', 100, rows, wide ? 'C' : 0));
        fill(apart, "%Y", Ref('D', 200, rows, wide ? 'E' : 0));
        const FormulaOutcome one = Evaluate(together);
        const FormulaOutcome other = Evaluate(apart);
        SCOPED_TRACE(together + " against " + apart + (indexed ? " (rows indexed)" : ""));
        ASSERT_NE(one.kind, 0u);
        EXPECT_EQ(one.kind, other.kind);
        EXPECT_EQ(one.error, other.error);
        EXPECT_EQ(std::memcmp(&one.number, &other.number, sizeof one.number), 0) << one.number << " " << other.number;
        FormulaOutcome& before = walked[&pattern - kPatterns];
        if (!indexed) before = one;
        EXPECT_EQ(one.error, before.error);
        EXPECT_EQ(std::memcmp(&one.number, &before.number, sizeof one.number), 0) << one.number << " " << before.number;
        compared += one.error == kErrorNone;
      }
    }
  }
  // Most cases must reach a result, or the comparison proves little.
  EXPECT_GT(compared, 2000u);
}

// A list whose sum overflows is "#NUM!" however it is read, whichever of
// the two lists it is.
TEST_F(SideBySideLists, OverflowingSumsGiveTheSameError) {
  const double kHuge[] = {1.5e308, 1.5e308, -1.0};
  for (uint32_t r = 0; r < 3; ++r) {
    PutNumberCell(1, r, kHuge[r]);
    PutNumberCell(1, 100 + r, kHuge[r]);
    PutNumberCell(3, r, double(r));
    PutNumberCell(3, 200 + r, double(r));
  }
  for (const char* pair : {"B1:B3,D1:D3", "D1:D3,B1:B3"}) {
    const std::string apart = pair[0] == 'B' ? "B101:B103,D201:D203" : "D201:D203,B101:B103";
    for (const char* test : {"=TTEST(", "=TTEST2("}) {
      const std::string tail = std::string(test) == "=TTEST(" ? ",2,2)" : ")";
      const FormulaOutcome one = Evaluate(test + std::string(pair) + tail);
      const FormulaOutcome other = Evaluate(test + apart + tail);
      SCOPED_TRACE(test + std::string(pair));
      EXPECT_EQ(one.error, uint32_t(kErrorNum));
      EXPECT_EQ(other.error, uint32_t(kErrorNum));
    }
  }
}

// The error of Stirling's formula at the half-integers the distributions ask
// for, and between them, against its definition.
TEST(StirlingError, MatchesItsDefinitionAtAndBetweenHalfIntegers) {
  for (int i = 1; i <= 34; ++i) {
    for (const double offset : {0.0, 0.25}) {
      const double n = 0.5 * i + offset;
      if (n > 15.0) continue;
      const double definition = std::lgamma(n + 1.0) - (n + 0.5) * std::log(n) + n - 0.91893853320467274178;
      EXPECT_TRUE(RelativelyNear(StirlingError(n), definition, 1e-13)) << n;
    }
  }
  EXPECT_EQ(StirlingError(0.0), 0.0);
}

// The logarithms kept for half-integers, and those computed for any other
// count, have the library's own bits.
TEST(LogOfCount, HasTheBitsOfTheLibraryLogarithm) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 3000; ++trial) {
    double n = 0.5 * double(random() % 140);
    if (trial % 3 == 1) n += double(random() % 1000) / 1000.0;
    if (trial % 3 == 2) n = std::ldexp(double(random() % 100000 + 1), int(random() % 40) - 20);
    const double kept = LogOfCount(n);
    const double library = std::log(n);
    EXPECT_EQ(std::memcmp(&kept, &library, sizeof kept), 0) << n;
  }
}

}  // namespace
