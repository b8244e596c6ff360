#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/regional_settings.h"
#include "functions/base_digits.h"
#include "functions/function_table.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"

namespace {

// Sheet cells: A1 "1+i", A2 "1-i", A3 a number carrying "#DIV/0!", A4 3.
class EngineeringFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
    PutText(sheet, 0, 0, "1+i");
    PutText(sheet, 0, 1, "1-i");
    PutNumber(sheet, 0, 2, 7, kErrorDivZero);
    PutNumber(sheet, 0, 3, 3);
  }
  void TearDown() override { ResetGlobalOptions(); }

  std::string Run(const std::string& formula) { return EvaluateToText(state, formula.c_str(), 25, 99); }
  void Check(std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases) EXPECT_EQ(Run(c.formula), c.result) << c.formula;
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(EngineeringFunctions, BaseConversionsUseTenDigitTwosComplement) {
  Check({
      {"=BIN2DEC(\"1111111111\")", "-1"},
      {"=BIN2DEC(\"1000000000\")", "-512"},
      {"=BIN2DEC(\"111111111\")", "511"},
      {"=BIN2DEC(\"\")", "0"},
      {"=BIN2DEC(101)", "5"},
      {"=BIN2DEC(\"11111111111\")", "#VALUE!"},
      {"=BIN2DEC(102)", "#VALUE!"},
      {"=BIN2DEC(A3)", "#DIV/0!"},
      {"=BIN2DEC()", "#SYNTAX!"},
      {"=DEC2BIN(5,)", "\"0000000101\""},
      {"=DEC2BIN(5,0)", "\"101\""},
      {"=DEC2BIN(5,2)", "\"101\""},
      {"=DEC2BIN(-1,3)", "\"1111111111\""},
      {"=DEC2BIN(512,)", "#NUM!"},
      {"=DEC2BIN(5,11)", "#NUM!"},
      {"=DEC2BIN(5)", "#SYNTAX!"},
      {"=DEC2HEX(-512,)", "\"FFFFFFFE00\""},
      {"=DEC2HEX(255,0)", "\"FF\""},
      {"=DEC2HEX(3000000000,)", "#NUM!"},
      {"=DEC2OCT(-512,)", "\"7777777000\""},
      {"=HEX2DEC(\"FFFFFFFFFF\")", "-1"},
      {"=HEX2DEC(\"8000000000\")", "-549755813888"},
      {"=HEX2DEC(\"ff\")", "255"},
      {"=HEX2BIN(\"FFFFFFFE00\",)", "\"1000000000\""},
      {"=HEX2BIN(\"FFFFFFFDFF\",)", "#VALUE!"},
      {"=HEX2BIN(\"200\",)", "#VALUE!"},
      {"=HEX2OCT(\"1FFFFFFF\",0)", "\"3777777777\""},
      {"=OCT2DEC(\"7777777777\")", "-1"},
      {"=OCT2DEC(8)", "#VALUE!"},
      {"=OCT2HEX(\"7777777777\",2)", "\"FFFFFFFFFF\""},
      {"=OCT2BIN(\"17\",A3)", "#DIV/0!"},
      {"=BIN2OCT(\"1000000000\",)", "\"7777777000\""},
      {"=BIN2HEX(A4:A4,0)", "{#VALUE!}"},
      {"=BIN2HEX(A1:A1,0)", "{#VALUE!}"},
  });
}

// Every value a base's 10 digits hold, at each width, comes back from its
// text; an 11-digit text never reads.
TEST(BaseDigits, EveryWidthRoundTrips) {
  const char* seedText = std::getenv("TALVERO_TEST_SEED");
  const uint32_t seed = seedText ? static_cast<uint32_t>(std::strtoul(seedText, nullptr, 10)) : 38u;
  uint32_t random = seed;
  for (int bits : {kBinaryDigitBits, kOctalDigitBits, kHexDigitBits}) {
    for (int places = 0; places <= 10; ++places) {
      for (int i = 0; i < 200; ++i) {
        random = random * 1664525u + 1013904223u;
        const int64_t span = LargestInBase(bits) - SmallestInBase(bits) + 1;
        const int64_t value = i < 2 ? (i == 0 ? SmallestInBase(bits) : LargestInBase(bits))
                                    : SmallestInBase(bits) + int64_t((uint64_t(random) << 16 ^ random) % span);
        char text[kBaseTextCapacity];
        const size_t length = WriteBaseDigits(value, bits, places, text);
        int64_t back = 99;
        ASSERT_TRUE(ReadBaseDigits(text, bits, &back)) << text << " seed " << seed;
        EXPECT_EQ(back, value) << text << " seed " << seed;
        EXPECT_GE(length, value < 0 ? 10u : static_cast<size_t>(places)) << text;
        EXPECT_LE(length, kBaseDigitsMax) << text;
      }
    }
  }
  int64_t value = 0;
  EXPECT_FALSE(ReadBaseDigits("00000000000", kHexDigitBits, &value));
}

TEST_F(EngineeringFunctions, StepComparisons) {
  Check({
      {"=DELTA(5,)", "0"},
      {"=DELTA(0,)", "1"},
      {"=DELTA(2.5,2.5)", "1"},
      {"=GETSTEP(5,5)", "1"},
      {"=GETSTEP(4.999,5)", "0"},
      {"=GETSTEP(-1,)", "0"},
      {"=DELTA(\"x\",1)", "#NUM!"},
      {"=DELTA(A3,1)", "#DIV/0!"},
  });
}

TEST_F(EngineeringFunctions, ComplexTextsAndParts) {
  Check({
      {"=COMPLEX(3,-4,)", "\"3 - 4i\""},
      {"=COMPLEX(0,0,)", "\"0 + 0i\""},
      {"=COMPLEX(3,-4,\"j\")", "\"3 - 4j\""},
      {"=COMPLEX(3,-4,\"k\")", "\"3 - 4k\""},
      {"=COMPLEX(3,-4)", "#SYNTAX!"},
      {"=IMCONJUGATE(\"3+4j\")", "\"3 - 4i\""},
      {"=IMABS(\"3+4i\")", "5"},
      {"=IMABS(0)", "0"},
      {"=IMABS(\"1.5e308+1.5e308i\")", "#VALUE!"},
      {"=IMREAL(\" -2.5 - 3i\")", "-2.5"},
      {"=IMAGINARY(\"-2.5j\")", "-2.5"},
      {"=IMARGUMENT(\"-i\")", "-1.5707963267949"},
      {"=IMARGUMENT(-1)", "3.14159265358979"},
      {"=IMREAL(\"2+3\")", "#VALUE!"},
      {"=IMREAL(\"3+4i \")", "#VALUE!"},
      {"=IMREAL(A3)", "#DIV/0!"},
  });
}

TEST_F(EngineeringFunctions, ComplexArithmetic) {
  Check({
      {"=IMCOS(\"i\")", "\"1.54308063481524 + 0i\""},
      {"=IMDIV(-4,2)", "\"-2 + 0i\""},
      {"=IMDIV(1,\"i\")", "\"0 - 1i\""},
      {"=IMDIV(\"1+i\",0)", "#NUM!"},
      {"=IMDIV(0,\"0i\")", "#NUM!"},
      {"=IMSQRT(0)", "\"0 + 0i\""},
      {"=IMPOWER(\"2i\",0)", "\"1 + 0i\""},
      {"=IMPOWER(0,-1)", "#NUM!"},
      {"=IMPOWER(0,1)", "\"0 + 0i\""},
      {"=IMLN(0)", "#NUM!"},
      {"=IMLN(1)", "\"0 + 0i\""},
      {"=IMLOG10(100)", "\"2 + 0i\""},
      {"=IMLOG10(1000)", "\"3 + 0i\""},
      {"=IMLOG2(8)", "\"3 + 0i\""},
      {"=IMEXP(710)", "#NUM!"},
      {"=IMCOS(\"1000i\")", "#NUM!"},
      {"=IMSUB(\"1+i\",\"2-3j\")", "\"-1 + 4i\""},
      {"=IMSUB(\"1+i\",\"x\")", "#VALUE!"},
      {"=IMAGINARY(IMSQRT(-4))", "2"},
      {"=IMREAL(IMPOWER(\"2i\",2))", "-4"},
  });
}

TEST_F(EngineeringFunctions, SumsAndProductsWalkRangesAndPositions) {
  Check({
      {"=IMPRODUCT(A1:A2)", "\"2 + 0i\""},
      {"=IMPRODUCT(\"1+i\",\"1-i\")", "\"2 + 0i\""},
      {"=IMSUM(\"1+2i\",3,B1:B5)", "\"4 + 2i\""},
      {"=IMSUM(A1:A4)", "#DIV/0!"},
      {"=IMSUM(\"1+i\",\"q\")", "#VALUE!"},
      {"=IMPRODUCT(\"1e200\",\"1e200i\")", "#NUM!"},
      {"=IMSUM()", "#SYNTAX!"},
      {"=IMABS(A1:A2)", "{1.4142135623731; 1.4142135623731}"},
  });
}

}  // namespace
