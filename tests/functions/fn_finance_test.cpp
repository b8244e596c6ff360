#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "functions/int_pow.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// Numbers written in the cases stand for themselves to their last digit
// (or 5e-14 relative, for the rounding of the power functions).
class FinanceFunctions : public FormulaTableTest {
 protected:
  void Check(std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases) {
      const std::string got = Run(c.formula);
      char* end = nullptr;
      const double expected = std::strtod(c.result, &end);
      if (end == c.result || *end != '\0') {
        EXPECT_EQ(got, c.result) << c.formula;
        continue;
      }
      const char* point = std::strchr(c.result, '.');
      const int places = point ? static_cast<int>(std::strlen(point + 1)) : 0;
      char* gotEnd = nullptr;
      const double value = std::strtod(got.c_str(), &gotEnd);
      const double tolerance = std::fmax(std::pow(10.0, -places), 5e-14 * std::fabs(expected));
      EXPECT_TRUE(gotEnd != got.c_str() && *gotEnd == '\0' && std::fabs(value - expected) <= tolerance)
          << c.formula << " gives " << got << ", expected " << c.result;
    }
  }

  double Number(const std::string& formula) { return std::strtod(Run(formula).c_str(), nullptr); }
};

TEST_F(FinanceFunctions, GiveTheDocumentedValues) {
  Check({
      {"=PMT(8%/12,10,10000,,)", "-1037.03208935916"},
      {"=PMT(8%/12,10,10000,0,1)", "-1030.16432717798"},
      {"=PV(0.08/12,240,500,,0)", "-59777.1458511878"},
      {"=FV(0.5%,10,-200,-500,1)", "2581.40337406014"},
      {"=NPER(1%,-100,1000,,)", "10.5886444594232"},
      {"=NPER(12%/12,-100,-1000,10000,1)", "59.6738656742946"},
      {"=IPMT(0.1/12,1,36,8000,)", "-66.6666666666667"},
      {"=PPMT(10%/12,1,24,2000,,)", "-75.6231860083666"},
      {"=CUMIPMT(0.0075,360,125000,13,24)", "-11135.2321307508"},
      {"=CUMPRINC(0.0075,360,125000,13,24)", "-934.107123420876"},
      {"=CUMIPMT(0.0075,360,125000,400,24)", "#VALUE!"},
      {"=CUMIPMT(0.0075,360,-125000,13,24)", "#NUM!"},
      {"=CUMPRINC(0.0075,360,125000,24,13)", "0"},
      {"=DB(1000000,100000,6,1,7)", "185912.959716189"},
      {"=DB(1000000,100000,6,7,7)", "15867.888384391"},
      {"=DB(1000000,100000,6,8,7)", "#VALUE!"},
      {"=DB(1000000,100000,6,7,)", "#VALUE!"},
      {"=DB(1000000,100000,6,2,13)", "#NUM!"},
      {"=DDB(2400,300,3650,1,)", "1.31506849315068"},
      {"=DDB(2400,300,10,2,1.5)", "306"},
      {"=DDB(2400,300,10,11,)", "#VALUE!"},
      {"=DDB(1000,900,5,2,)", "240"},
      {"=DDB(1000,900,5,5,)", "-770.4"},
      {"=DOLLARDE(1.02,16)", "1.125"},
      {"=DOLLARFR(1.125,16)", "1.02"},
      {"=DOLLARDE(1.1,16)", "1.0625"},
      {"=EFFECT(5.25%,4)", "0.05354266737076"},
      {"=EFFECT(5.25%,0)", "0"},
      {"=NOMINAL(5.3543%,4)", "0.05250031986836"},
      {"=FVSCHEDULE(1,{0.09,0.11,0.1})", "1.33089"},
      {"=FVSCHEDULE(100,0.1,,0.1)", "121"},
      {"=SLN(30000,7500,10)", "2250"},
      {"=SYD(30000,7500,10,1)", "4090.909090909"},
      {"=SYD(30000,7500,10,12)", "-409.090909090909"},
      {"=NPV(10%,-10000,3000,4200,6800)", "1188.44341233522"},
      {"=IRR(-70000,12000,15000,18000,21000,26000,0%)", "0.08663094803653"},
      {"=MIRR({-120000,39000,30000,21000,37000,46000},12%)", "0.12609413036591"},
      {"=MIRR({5},10%)", "#DIV/0!"},
      {"=XNPV(0.09,{-10000,2750,4250,3250,2750},{\"1992-01-01\",\"1992-03-01\",\"1992-10-30\",\"1993-02-15\","
       "\"1993-04-01\"})",
       "2086.647602"},
      {"=XIRR({-10000,2750,4250,3250,2750},{\"1992-01-01\",\"1992-03-01\",\"1992-10-30\",\"1993-02-15\","
       "\"1993-04-01\"},0.1)",
       "0.37336253351883"},
      {"=XIRR({1,2},{\"1992-01-01\"},)", "#VALUE!"},
      {"=IRR({1,2,3},)", "#NUM!"},
      {"=RATE(48,-200,8000,,,)", "0.0077014724882"},
      {"=RATE(10,-100,1000,,,)", "0"},
      {"=RATE(360,-3.0002,1000,,,)", "0.00043243051741"},
  });
}

TEST_F(FinanceFunctions, CheckTheirArguments) {
  Check({
      {"=PMT(-1%,10,1000,,)", "#NUM!"},
      {"=PMT(1%,10,1000,,2)", "#NUM!"},
      {"=PMT(1%,10,1000,,0.5)", "-104.536709456605"},
      {"=PMT(1%,10,1000)", "#SYNTAX!"},
      {"=PMT(1%,\"ten\",1000,,)", "#NUM!"},
      {"=PMT(1%,\"10\",1000,,)", "-105.582076551171"},
      {"=PPMT(1%,1,10,1000,)", "#SYNTAX!"},
      {"=RATE(48,-200,8000,,)", "#SYNTAX!"},
      {"=NPV(-1%,100)", "#NUM!"},
      {"=NPV(1%)", "#SYNTAX!"},
      {"=NPV(10%,100,,100)", "166.040570999249"},
      {"=NPV(10%,1/0,\"x\")", "#NUM!"},
      {"=IRR(-100,60,60,-1%)", "#NUM!"},
      {"=XNPV(-1%,{1},{\"2000-01-01\"})", "#NUM!"},
      {"=XNPV(1%,1,\"2000-01-01\")", "#VALUE!"},
      {"=XNPV(1%,{1,2},{\"2000-01-01\",3})", "#VALUE!"},
      {"=MIRR(5,10%)", "#VALUE!"},
      {"=DOLLARDE(1.5,0)", "#NUM!"},
      {"=DOLLARDE(3e9,16)", "#NUM!"},
  });
}

// Faults of the plain formulas, mended: each case once gave NaN, a value
// from the wrong characters, or no answer at all.
TEST_F(FinanceFunctions, TakeTheLimitsOfARateOfZero) {
  Check({
      {"=PMT(0,10,1000,100,1)", "-110"},
      {"=PV(0,10,-100,50,)", "950"},
      {"=FV(0,10,-100,-1000,1)", "2000"},
      {"=NPER(0,-100,1000,,)", "10"},
      {"=NPER(0,0,1000,,)", "#NUM!"},
      {"=IPMT(0,1,10,1000,)", "0"},
      {"=PPMT(0,1,10,1000,,)", "-100"},
      {"=CUMIPMT(0,10,1000,1,5)", "0"},
      {"=CUMPRINC(0,10,1000,1,5)", "-500"},
      {"=PMT(1e-300,10,1000,,)", "-100"},
      {"=RATE(10,-100.0000001,1000,,,)", "0.00000000018182"},
      {"=PMT(1e-9,1000,1000,,)", "-1.00000050050008"},
      {"=PMT(0,0,1000,,)", "#NUM!"},
  });
}

TEST_F(FinanceFunctions, RefuseWhatHasNoNumber) {
  Check({
      {"=NPER(10%,-100,2000,,)", "#NUM!"},
      {"=NPER(10%,-100,1000,,)", "#NUM!"},
      {"=DB(0,100,6,1,)", "#NUM!"},
      {"=NOMINAL(5%,0)", "#NUM!"},
      {"=NOMINAL(0,0)", "0"},
  });
}

TEST_F(FinanceFunctions, ConvertNegativePricesByTheirMagnitude) {
  Check({
      {"=DOLLARDE(-1.02,16)", "-1.125"},
      {"=DOLLARFR(-1.125,16)", "-1.02"},
      {"=DOLLARDE(-0.5,8)", "-0.625"},
      {"=DOLLARDE(1.9999999,16)", "2"},
      {"=DOLLARFR(2.5,10)", "2.05"},
  });
}

// The interest and principal parts add up to the payment for either type
// and any future value; the values come from another spreadsheet.
TEST_F(FinanceFunctions, SplitThePaymentOfEitherType) {
  Check({
      {"=PPMT(0.01,3,10,1000,-500,1)", "-48.268948658341537"},
      {"=IPMT(0.01,3,10,1000,-500)", "-9.0394001306607278"},
  });
  for (int period = 1; period <= 12; period += 4) {
    const std::string args = "(0.7%," + std::to_string(period) + ",12,2500,-300";
    EXPECT_NEAR(Number("=PPMT" + args + ",0)") + Number("=IPMT" + args + ")"), Number("=PMT(0.7%,12,2500,-300,0)"),
                1e-9)
        << period;
  }
  // Repaid in full, the principal parts sum to the loan.
  for (int type = 0; type <= 1; ++type) {
    double principal = 0;
    for (int period = 1; period <= 12; ++period)
      principal += Number("=PPMT(0.7%," + std::to_string(period) + ",12,2500,0," + std::to_string(type) + ")");
    EXPECT_NEAR(principal, -2500, 1e-9) << type;
  }
}

// Searches that once ran without end give up with "#NUM!"; the search's own
// tests bound their steps.
TEST_F(FinanceFunctions, GiveUpWhereNoRateExists) {
  Check({
      {"=RATE(0,-100,1000,,,)", "#NUM!"},
      {"=RATE(10,-99.9999999,1000,,,)", "#NUM!"},
      {"=RATE(48,-200,8000,,,1e300)", "#NUM!"},
      {"=IRR({1,2,3},)", "#NUM!"},
      {"=IRR({0,0},)", "#NUM!"},
      {"=IRR({-100,1,1,1},)", "#NUM!"},
      {"=XIRR({5},{\"2000-01-01\"},)", "#NUM!"},
      {"=XIRR({-5,5},{\"2000-01-01\",\"2000-01-01\"},)", "#NUM!"},
  });
}

TEST_F(FinanceFunctions, ApplyElementByElement) {
  PutNumber(sheet, 0, 0, -100);
  PutNumber(sheet, 0, 1, 60);
  PutNumber(sheet, 0, 2, 60);
  PutText(sheet, 1, 0, "2000-01-01");
  PutText(sheet, 1, 1, "2000-07-01");
  PutText(sheet, 1, 2, "2001-01-01");
  Check({
      {"=PMT({0.01,0.02},10,1000,,)", "{-105.582076551171, -111.326527865316}"},
      {"=NPV({0.1,0.2},100,100)", "{173.553719008264, 152.777777777778}"},
      {"=IRR(A1:A3,{0.1,0.2})", "{0.13066238629181, 0.13066238629181}"},
      {"=MIRR(A1:A3,{0,0.1})", "{0.09544511501033, 0.12249721603218}"},
      {"=XNPV({0,0.1},A1:A3,B1:B3)", "{20, 11.7464382846325}"},
      {"=FVSCHEDULE({1,2},0.5)", "{1.5, 3}"},
      {"=SLN(A1:A3,0,2)", "{-50; 30; 30}"},
  });
}

TEST_F(FinanceFunctions, PairDatedFlowsByPlace) {
  PutNumber(sheet, 0, 0, -100);
  PutNumber(sheet, 0, 2, 110);
  PutText(sheet, 1, 0, "2000-01-01");
  PutText(sheet, 1, 2, "2001-01-01");
  PutText(sheet, 1, 3, "2002-01-01");
  PutNumber(sheet, 2, 0, -100);
  PutNumber(sheet, 2, 1, 50);
  PutNumber(sheet, 2, 2, 60);
  PutText(sheet, 3, 0, "2000-01-01");
  PutText(sheet, 3, 1, "2000-07-01");
  PutText(sheet, 3, 1 + 1, "not a date");
  Check({
      {"=XIRR(A1:A3,B1:B3,)", "0.09971358593414"},
      {"=XIRR(A1:A4,B1:B4,)", "0.09971358593414"},
      {"=XIRR(C1:C3,B1:B3,)", "#VALUE!"},
      {"=XIRR(C1:C2,D1:D2,)", "#NUM!"},
      {"=XIRR(C1:C3,D1:D3,)", "#VALUE!"},
      {"=XIRR(A1:A3,B1:B2,)", "#VALUE!"},
  });
}

// Flows read from the cells of a range are the values those cells give as
// single arguments: numbers of any size, numbers carrying errors, texts
// that spell numbers and formulas with cached results.
TEST_F(FinanceFunctions, ReadARangeCellByCellAsSingleValues) {
  const uint32_t seed = TestSeed(48);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double magnitudes[] = {1.0, 1e-300, 1e300, 0.001, 12345.678};
  for (int round = 0; round < 60; ++round) {
    sheet.Clear(true);
    for (uint32_t row = 0; row < 6; ++row) {
      const double x = (double(random() % 2001) - 1000.0) * magnitudes[random() % 5];
      switch (random() % 6) {
        case 0:
          PutNumber(sheet, 0, row, x, kErrorNA);
          break;
        case 1:
          PutText(sheet, 0, row, std::to_string(int(random() % 100)));
          break;
        case 2:
          PutFormula(sheet, 0, row, "=1", x, nullptr, 0, true);
          break;
        default:
          PutNumber(sheet, 0, row, row == 0 ? -std::fabs(x) - 1.0 : x);
          break;
      }
    }
    const char* const pairs[][2] = {
        {"=NPV(0.05,A1:A6)", "=NPV(0.05,A1,A2,A3,A4,A5,A6)"},
        {"=IRR(A1:A6,)", "=IRR(A1,A2,A3,A4,A5,A6,)"},
        {"=FVSCHEDULE(1,A2:A3)", "=FVSCHEDULE(1,A2,A3)"},
    };
    for (const auto& pair : pairs) EXPECT_EQ(Run(pair[0]), Run(pair[1])) << pair[0] << " round " << round;
  }
}

// NPV discounts the k-th flow by IntPow(1 + rate, k) to the last bit, for
// lists longer than a call keeps beside itself and factors of many bits.
TEST_F(FinanceFunctions, DiscountEachFlowByItsIntegerPower) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 12; ++round) {
    sheet.Clear(true);
    const uint32_t count = 1 + random() % 300;
    const double rate = double(random() % 2000) / 10000.0;
    double expected = 0;
    for (uint32_t row = 0; row < count; ++row) {
      const double x = (double(random() % 20001) - 10000.0) / 7.0;
      PutNumber(sheet, 0, row, x);
      expected += x / IntPow(1.0 + rate, int32_t(row + 1));
    }
    char number[64];
    DoubleToText(expected, number, sizeof number, nullptr);
    char formula[64];
    std::snprintf(formula, sizeof formula, "=NPV(%.17g,A1:A%u)", rate, count);
    EXPECT_EQ(Run(formula), number) << formula;
  }
}

// Dates read from text cells are the dates the same texts give as formula
// results: ISO dates and times, texts that are no dates, dates carrying
// errors.
TEST_F(FinanceFunctions, ReadDateCellsAsTheSameTextsFromFormulas) {
  const uint32_t seed = TestSeed(50);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char* const texts[] = {"2001-02-03", "2001-02-29", "1999-12-31T12:00:00", "2001-2-3", "noon", "",
                               "2004-02-29", "2010-01-01T00:00:01"};
  for (int round = 0; round < 60; ++round) {
    sheet.Clear(true);
    for (uint32_t row = 0; row < 5; ++row) {
      PutNumber(sheet, 0, row, row == 0 ? -1000.0 : double(random() % 500));
      const char* text = texts[random() % 8];
      const uint8_t error = random() % 7 == 0 ? kErrorNA : 0;
      PutText(sheet, 1, row, text, error);
      PutFormula(sheet, 2, row, "=1", 0, text, error, true);
    }
    const char* const pairs[][2] = {
        {"=XNPV(0.05,A1:A5,B1:B5)", "=XNPV(0.05,A1:A5,C1:C5)"},
        {"=XIRR(A1:A5,B1:B5,)", "=XIRR(A1:A5,C1:C5,)"},
    };
    for (const auto& pair : pairs) EXPECT_EQ(Run(pair[0]), Run(pair[1])) << pair[0] << " round " << round;
  }
}

}  // namespace
