#include <gtest/gtest.h>

#include <cmath>

#include <cstdlib>
#include <random>
#include <string>

#include "functions/random_stream.h"
#include "tests/core/eval_test_cells.h"
#include "tests/test_seed.h"
#include "tests/functions/formula_result_text.h"

namespace {

// Sheet cells: A1:C1 the coefficients 1, (empty), 1; A2 "abc", A3 a number
// carrying "#DIV/0!", A4 "12".
class MathFunctions : public FormulaTableTest {
 protected:
  void SetUp() override {
    FormulaTableTest::SetUp();
    PutNumber(sheet, 0, 0, 1);
    PutNumber(sheet, 2, 0, 1);
    PutText(sheet, 0, 1, "abc");
    PutNumber(sheet, 0, 2, 7, kErrorDivZero);
    PutText(sheet, 0, 3, "12");
  }
};

TEST_F(MathFunctions, DomainsAndTheResultCheck) {
  Check({
      {"=ACOS(1.5)", "#NUM!"},
      {"=ASIN(-1.5)", "#NUM!"},
      {"=ACOS(1)", "0"},
      {"=SQRT(-1)", "#NUM!"},
      {"=SQRT(A4)", "3.46410161513775"},
      {"=SQRT(A2)", "#NUM!"},
      {"=SQRT(A3)", "#DIV/0!"},
      {"=ATANH(1)", "#NUM!"},
      {"=ATANH(-1)", "#NUM!"},
      {"=ATANH(-2)", "#NUM!"},
      {"=ACOSH(0.5)", "#NUM!"},
      {"=ACOSH(1)", "0"},
      {"=ACOSH(1e200)", "#NUM!"},
      {"=ASINH(-1e200)", "#NUM!"},
      {"=ASINH(-1e8)", "-19.1138279245123"},
      {"=ASINH(1e-10)=1e-10", "1"},
      {"=LN(0)", "#NUM!"},
      {"=LOG10(-1)", "#NUM!"},
      {"=LOG10(1000)", "3"},
      {"=EXP(-710)", "#NUM!"},
      {"=EXP(-800)", "0"},
      {"=EXP(710)", "#NUM!"},
      {"=COSH(1000)", "#NUM!"},
      {"=POWER(-8,1/3)", "#NUM!"},
      {"=POWER(0,-1)", "#NUM!"},
      {"=POWER(2,10)", "1024"},
      {"=ATAN2(1,0)", "1.5707963267949"},
      {"=SIGN(-0.0)", "0"},
      {"=SIGN(-3)", "-1"},
      {"=ABS(-2.5)", "2.5"},
      {"=ABS()", "#SYNTAX!"},
      {"=ATAN2(1)", "#SYNTAX!"},
      {"=ABS(1,2)", "1"},
  });
}

TEST_F(MathFunctions, LogarithmsFactorialsAndCombinations) {
  Check({
      {"=LOG(8,2)", "3"},
      {"=LOG(8,0.5)", "-3"},
      {"=LOG(100,)", "2"},
      {"=LOG(8,1)", "#NUM!"},
      {"=LOG(8,0)", "#NUM!"},
      {"=LOG(8,-2)", "#NUM!"},
      {"=LOG(0,2)", "#NUM!"},
      {"=FACT(0)", "1"},
      {"=FACT(5)", "120"},
      {"=FACT(4.5)", "120"},
      {"=FACT(171)", "#NUM!"},
      {"=FACT(-1)", "#NUM!"},
      {"=FACTDOUBLE(0)", "1"},
      {"=FACTDOUBLE(7)", "105"},
      {"=FACTDOUBLE(8)", "384"},
      {"=COMBIN(5,0)", "1"},
      {"=COMBIN(0,0)", "1"},
      {"=COMBIN(5,2)", "10"},
      {"=COMBIN(5,6)", "#NUM!"},
      {"=COMBIN(171,1)", "#NUM!"},
      {"=COMBIN2(3,2)", "6"},
      {"=COMBIN2(2,3)", "4"},
      {"=COMBIN2(5,0)", "1"},
      {"=COMBIN2(0,1)", "#NUM!"},
  });
  EXPECT_NE(Run("=FACT(170)"), "#NUM!");
}

TEST_F(MathFunctions, DivisionSignsAndConstants) {
  Check({
      {"=MOD(-3,2)", "-1"},
      {"=MOD(3,-2)", "1"},
      {"=MOD(5.5,2)", "1.5"},
      {"=MOD(1,0)", "#DIV/0!"},
      {"=QUOTIENT(-7,2)", "-3"},
      {"=QUOTIENT(7,0)", "#DIV/0!"},
      {"=PI()", "3.14159265358979"},
      {"=PI()>3.14159265358979", "1"},
      {"=PI()-3.14159265358979>3.1e-15", "1"},
      {"=DEGREES(PI())", "180"},
      {"=RADIANS(180)-PI()", "0"},
      {"=SQRTPI(1)-SQRT(PI())", "0"},
      {"=SQRTPI(-1)", "#NUM!"},
  });
}

TEST_F(MathFunctions, RoundingKeepsItsDirections) {
  Check({
      {"=CEILING(-2.5,1)", "-3"},
      {"=CEILING(2.1,)", "3"},
      {"=CEILING(7,0)", "#DIV/0!"},
      {"=CEILING(7,-1)", "#NUM!"},
      {"=CEILING(4.1,0.5)", "4.5"},
      {"=FLOOR(-2.5,1)", "-2"},
      {"=FLOOR(2.5,)", "#DIV/0!"},
      {"=FLOOR(7,-1)", "#NUM!"},
      {"=FLOOR(7.9,2)", "6"},
      {"=ROUND(2.5,)", "3"},
      {"=ROUND(-2.5,0)", "-3"},
      {"=ROUND(1250,-2)", "1300"},
      {"=ROUND(3.14159,3)", "3.142"},
      {"=ROUND(1,15)", "#NUM!"},
      {"=ROUND(1e300,2)=1e300", "1"},
      {"=ROUNDUP(-1.1,0)", "-2"},
      {"=ROUNDUP(1.01,1)", "1.1"},
      {"=ROUNDDOWN(-1.9,0)", "-1"},
      {"=TRUNC(-1.99,1)", "-1.9"},
      {"=TRUNC(1234,-2)", "1200"},
      {"=INT(-1.5)", "-2"},
      {"=MROUND(7.5,5)", "10"},
      {"=MROUND(-7.5,-5)", "-10"},
      {"=MROUND(7,2)", "8"},
      {"=MROUND(6.9,2)", "6"},
      {"=MROUND(-7,2)", "#NUM!"},
      {"=MROUND(7,0)", "#DIV/0!"},
      {"=MROUND(7,)", "7"},
      {"=EVEN(1)", "2"},
      {"=EVEN(-1)", "-2"},
      {"=EVEN(2)", "2"},
      {"=EVEN(0)", "0"},
      {"=ODD(0)", "1"},
      {"=ODD(0.5)", "1"},
      {"=ODD(2)", "3"},
      {"=ODD(3)", "3"},
      {"=ODD(2.5)", "3"},
      {"=ODD(-2)", "-3"},
      {"=ODD(-0.5)", "-1"},
  });
}

TEST_F(MathFunctions, SeriesSumSkipsEmptyCellsWithoutAdvancingThePower) {
  Check({
      {"=SERIESSUM(2,0,1,A1:C1)", "3"},
      {"=SERIESSUM(2,1,2,{1,2,3})", "114"},
      {"=SERIESSUM(2,0,1,5)", "#VALUE!"},
      {"=SERIESSUM(2,0,1,)", "#VALUE!"},
      {"=SERIESSUM(2,0,1,A2:A2)", "#NUM!"},
      {"=SERIESSUM(2,0,1,A1:A3)", "#NUM!"},
      {"=SERIESSUM({1,2},0,1,{1,1,1})", "{3, 7}"},
      {"=SERIESSUM(10,400,1,{1})", "#NUM!"},
      {"=SERIESSUM(-1,2147483647,2147483647,{1,1,1})", "-1"},
  });
}

TEST_F(MathFunctions, ElementByElement) {
  Check({
      {"=ABS({-1,2;-3,4})", "{1, 2; 3, 4}"},
      {"=ROUND({1.25,2.5},{1,0})", "{1.3, 3}"},
      {"=MOD({5,6},{2,0})", "{1, #DIV/0!}"},
      {"=FACT(A1:C1)", "{1, , 1}"},
      {"=POWER(2,{1,2,3})", "{2, 4, 8}"},
  });
}

TEST_F(MathFunctions, RandBetweenDrawsFromTheSharedStream) {
  ProcessRandomSeeds().shared = kInitialRandomSeeds;
  EXPECT_EQ(Run("=RANDBETWEEN(0,1)"), "1");  // the first uniform, 0.90182551772109
  // Whole numbers of the closed range, every one of them drawn.
  bool seen[6] = {};
  for (int i = 0; i < 200; ++i) {
    const double x = std::strtod(Run("=RANDBETWEEN(5,1)").c_str(), nullptr);
    ASSERT_EQ(x, std::floor(x));
    ASSERT_GE(x, 1);
    ASSERT_LE(x, 5);
    seen[int(x)] = true;
  }
  EXPECT_TRUE(seen[1] && seen[2] && seen[3] && seen[4] && seen[5]);
  EXPECT_EQ(Run("=RANDBETWEEN(3,3)"), "3");
  EXPECT_EQ(Run("=RANDBETWEEN(1.5,2.5)"), "2");
  EXPECT_EQ(Run("=RANDBETWEEN(1.2,1.8)"), "#NUM!");
  EXPECT_EQ(Run("=RANDBETWEEN(-1e308,1e308)"), "#NUM!");
}

// x, n and m written as numbers in the formula read as the same numbers
// in cells do: whole and fractional powers, negative zero, bounds and
// values past them.
TEST_F(MathFunctions, SeriesArgumentsWrittenAsNumbersReadAsCells) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char* const numbers[] = {"0",    "-0",   "0.5",        "-1.5",       "2",          "3",         "-4",
                                 "2.5",  "-2.5", "2147483647", "2147483648", "-2147483647", "-2147483648", "1e300",
                                 "1e308", "7",   "0.25",       "-1",         "1",          "4.0000001"};
  for (int trial = 0; trial < 400; ++trial) {
    for (uint32_t c = 0; c < 4; ++c) PutNumber(sheet, uint16_t(4 + c), 0, double(int32_t(random() % 21) - 10) / 4);
    const char* given[3];
    for (uint32_t i = 0; i < 3; ++i) {
      given[i] = numbers[random() % (sizeof numbers / sizeof numbers[0])];
      PutNumber(sheet, uint16_t(10 + i), 0, std::strtod(given[i], nullptr));
    }
    const std::string written =
        "=SERIESSUM(" + std::string(given[0]) + "," + given[1] + "," + given[2] + ",E1:H1)";
    EXPECT_EQ(Run(written), Run("=SERIESSUM(K1,L1,M1,E1:H1)")) << written;
  }
}

}  // namespace
