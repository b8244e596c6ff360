#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "functions/function_table.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

class ArrayFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallBuiltinFunctionHandlers());
    state.sheet = &sheet;
    // A1:D4 holds 1..16 row by row; F1:F3 the texts b, A, a.
    for (uint32_t r = 0; r < 4; ++r)
      for (uint16_t c = 0; c < 4; ++c) PutNumber(sheet, c, r, r * 4.0 + c + 1);
    PutText(sheet, 5, 0, "b");
    PutText(sheet, 5, 1, "A");
    PutText(sheet, 5, 2, "a");
  }
  void TearDown() override { ResetGlobalOptions(); }
  void ExpectTable(std::initializer_list<FormulaCase> cases) {
    for (const FormulaCase& c : cases) EXPECT_EQ(EvaluateToText(state, c.formula, 25, 99), c.result) << c.formula;
  }

  CellStore sheet;
  EvalState state;
};

TEST_F(ArrayFunctions, SeriesAndFrequency) {
  ExpectTable({
      {"=MTXSERIES(5,1,0.1)", "{1; 1.1; 1.2; 1.3; 1.4}"},
      {"=MTXSERIES(3,,)", "{1; 2; 3}"},
      {"=MTXSERIES(3,\"2005-12-01\",\"P1D\")", "{\"2005-12-01\"; \"2005-12-02\"; \"2005-12-03\"}"},
      {"=MTXSERIES(3,\"12:50:00\",\"PT2M\")", "{\"12:50:00\"; \"12:52:00\"; \"12:54:00\"}"},
      {"=MTXSERIES(3,1,\"P1D\")", "#VALUE!"},
      {"=MTXSERIES(0,1,1)", "#NUM!"},
      {"=FREQUENCY({79,85,78,85,83,81,95,88,97},{70,79,89})", "{0; 2; 5; 2}"},
      {"=FREQUENCY({1,2,3},G1:G2)", "{3}"},
      {"=FREQUENCY({1,2,3},{2})", "{2; 1}"},
  });
}

TEST_F(ArrayFunctions, PositionsAndPicks) {
  ExpectTable({
      {"=COLUMN(B1)", "2"},
      {"=COLUMN(C7)", "3"},
      {"=ROW(C7)", "7"},
      {"=COLUMN(A1:C5)", "{1, 2, 3}"},
      {"=ROW(A1:C5)", "{1; 2; 3; 4; 5}"},
      {"=COLUMN()", "26"},
      {"=ROW(A1,B1)", "#SYNTAX!"},
      {"=INDEX(A1:D4,2,2)", "6"},
      {"=INDEX(A1:D4,5,1)", "#REF!"},
      {"=INDEX(A1:D4,,)", "#VALUE!"},
      {"=SUM(INDEX(A1:D4,,2))", "32"},
      {"=SUM(INDEX(A1:D4,3,))", "42"},
      {"=INDEX({1,3,5;2,4,6},2,2)", "4"},
      {"=INDEX({1,3,5;2,4,6},,2)", "{3; 4}"},
      {"=INDEX({1,3,5;2,4,6},{2,1},)", "{2, 4, 6; 1, 3, 5}"},
      {"=INDEX(A1:B2,,{2,1})", "{2, 1; 6, 5}"},
      {"=INDEX({1,2;3,4},{3},)", "{, }"},
      {"=CHOOSE(2,\"a\",\"b\",\"c\")", "\"b\""},
      {"=SUM(CHOOSE(2,A1:A4,B1:B4))", "32"},
      {"=CHOOSE(2,{1,2},{3,4})", "{3, 4}"},
      {"=CHOOSE(3,1,2)", "#NUM!"},
      // An empty text chosen is kept as any other.
      {"=CHOOSE(1,\"\")", "\"\""},
      {"=CHOOSE(2,1,\"\")&\"x\"", "\"x\""},
  });
}

TEST_F(ArrayFunctions, SortTransposeUnique) {
  ExpectTable({
      {"=SORT({3;1;5;2;4},1,1)", "{2; 4; 1; 5; 3}"},
      {"=SORT({3;1;5;2;4},1,0)", "{3; 5; 1; 4; 2}"},
      {"=SORT({3;1;5;2;4})", "{2; 4; 1; 5; 3}"},
      {"=INDEX({30;10;50},SORT({30;10;50},1,1),)", "{10; 30; 50}"},
      {"=SORT({1,2;3,4},1,1,1)", "#VALUE!"},
      {"=SORT({1,2;3,4},3,1)", "#REF!"},
      {"=SORT(A1:B4,2,0)", "{4; 3; 2; 1}"},
      {"=TRANSPOSE({1,2,3;4,5,6})", "{1, 4; 2, 5; 3, 6}"},
      {"=TRANSPOSE(A1:B2)", "{1, 5; 2, 6}"},
      {"=TRANSPOSE({1},{2})", "#SYNTAX!"},
      {"=COLUMNS(TRANSPOSE(MTXSERIES(2046,1,1)))", "2046"},
      {"=TRANSPOSE(MTXSERIES(2047,1,1))", "#REF!"},
      {"=UNIQUE({2;3;1;2;5;3;1},1)", "{1; 2; 3; 5; ; ; }"},
      // Row numbers of one row of each run; equal texts form one run.
      {"=INDEX({2;3;1;2;5;3;1},UNIQUE({2;3;1;2;5;3;1},0),)", "{1; 2; 3; 5}"},
      {"=INDEX(UNIQUE(F1:F3,2),,2)", "{2; 1; }"},
      {"=UNIQUE({1,2},1)", "#VALUE!"},
  });
}

// A single row or column transposes as the same line of a wider rectangle
// does: numbers, texts, errors and gaps in their places.
TEST_F(ArrayFunctions, TransposeALineAsTheSameLineOfARectangle) {
  const uint32_t seed = TestSeed(11);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 40; ++round) {
    sheet.Clear(true);
    for (uint32_t r = 1; r < 10; ++r)
      for (uint16_t c = 1; c < 10; ++c) {
        if (random() % 4 == 0)
          PutNumber(sheet, c, r, double(random() % 100) / 4.0, random() % 5 == 0 ? kErrorNA : 0);
        else if (random() % 3 == 0)
          PutText(sheet, c, r, std::string(1 + random() % 3, char('a' + random() % 26)));
      }
    ExpectTable({
        {"=TRANSPOSE(B2:B10)", EvaluateToText(state, "=INDEX(TRANSPOSE(B2:C10),1,)", 25, 99).c_str()},
        {"=TRANSPOSE(C2:J2)", EvaluateToText(state, "=INDEX(TRANSPOSE(C2:J3),,1)", 25, 99).c_str()},
        {"=TRANSPOSE(D5:D5)", EvaluateToText(state, "=INDEX(TRANSPOSE(D5:E5),1,)", 25, 99).c_str()},
        {"=TRANSPOSE({1,\"x\",3})", EvaluateToText(state, "=INDEX(TRANSPOSE({1,\"x\",3;4,5,6}),,1)", 25, 99).c_str()},
    });
  }
}

// UNIQUE over a worksheet column gives what it gives over the same column
// copied into an array: plain numbers (with repeats, -0 and 0) and columns
// with gaps, texts and errors among them.
TEST_F(ArrayFunctions, UniqueOfAColumnAsOfItsArrayCopy) {
  const uint32_t seed = TestSeed(12);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 60; ++round) {
    sheet.Clear(true);
    const uint32_t rows = 1 + random() % (round < 50 ? 12 : 300);
    const bool plain = round % 3 != 0;
    for (uint32_t r = 1; r <= rows; ++r) {
      const uint32_t pick = random() % 20;
      if (!plain && pick == 0) continue;
      if (!plain && pick == 1)
        PutText(sheet, 1, r, "x");
      else if (!plain && pick == 2)
        PutNumber(sheet, 1, r, 1.0, kErrorNA);
      else
        PutNumber(sheet, 1, r, pick == 3 ? -0.0 : double(random() % 7) / 2.0 - 1.0);
    }
    const std::string column = "B2:B" + std::to_string(rows + 1);
    for (const char* type : {"1", "2"}) {
      const std::string direct = "=UNIQUE(" + column + "," + type + ")";
      const std::string copied = "=UNIQUE(TRANSPOSE(TRANSPOSE(" + column + "))," + type + ")";
      EXPECT_EQ(EvaluateToText(state, direct.c_str(), 25, 99), EvaluateToText(state, copied.c_str(), 25, 99))
          << direct;
    }
    // A kind written in the formula reads as the same kind held by a cell.
    const double kinds[] = {0, 1, 2, 1.5, -0.4, 2.5, -1};
    const double kind = kinds[random() % 7];
    PutNumber(sheet, 7, 0, kind);
    char written[32];
    std::snprintf(written, sizeof written, ",%.17g)", kind);
    const std::string direct = "=UNIQUE(" + column + written;
    const std::string held = "=UNIQUE(" + column + ",H1)";
    EXPECT_EQ(EvaluateToText(state, direct.c_str(), 25, 99), EvaluateToText(state, held.c_str(), 25, 99)) << direct;
  }
}

}  // namespace
