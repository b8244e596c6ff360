// Every function family reads the ranges of a large worksheet from their
// first row: the blocks a formula's walks step over do not grow with the
// rows above its ranges, alone or in a recalculation pass.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/core/eval_test_cells.h"
#include "tests/core/large_sheet.h"
#include "tests/numerics/statistics_formula.h"

namespace {

// Stored form, relative to the formula's row, reading the rows of the large
// sheet up to four above: one or more of every family that reads ranges.
const char* const kRangeFormulas[] = {
    "=COUNT(RC1:RC8)",
    "=COUNTIF(RC1:RC6,\">20\")",
    "=SUMIF(R[-4]C2:RC2,\">20\",R[-4]C4:RC4)",
    "=SUMPRODUCT(RC1:RC3,RC4:RC6)",
    "=SUMX2MY2(RC2:RC3,RC4:RC5)",
    "=MAX(RC1:RC6)",
    "=AVERAGE(RC1:RC6)",
    "=STDEV(R[-4]C2:RC6)",
    "=AVEDEV(RC1:RC6)",
    "=KURT(R[-4]C2:RC4)",
    "=PEARSON(R[-4]C2:RC2,R[-4]C4:RC4)",
    "=TTEST(R[-4]C2:RC2,R[-4]C4:RC4,2,2)",
    "=MEDIAN(RC1:RC6)",
    "=PERCENTILE(R[-4]C2:RC6,0.3)",
    "=RANK(RC4,RC2:RC6)",
    "=INDEX(FREQUENCY(R[-4]C2:RC2,R[-2]C4:RC4),2,1)",
    "=INDEX(LINEST(R[-4]C4:RC4,R[-4]C2:RC2,),1,1)",
    "=VLOOKUP(RC2,R[-4]C2:RC4,2,0)",
    "=HLOOKUP(RC4,RC2:R[1]C6,2,0)",
    "=MATCH(RC3,R[-4]C3:RC3,0)",
    "=LOOKUP(RC6,R[-4]C6:RC6,R[-4]C4:RC4)",
    "=SUM(OFFSET(RC1,0,1,1,3))",
    "=INDEX(UNIQUE(R[-4]C2:RC2,1),1,1)",
    "=LEN(CONCATENATE(RC2:RC4,RC7))",
    "=SUM(LEN(R[-4]C7:RC7))",
    "=PRODUCT(RC2:RC3)",
    "=GCD(RC2:RC2,RC4)",
    "=SERIESSUM(0.5,1,1,RC2:RC6)",
    "=MDETERM(R[-2]C2:RC4)",
    "=SUM(MINVERSE(R[-2]C2:RC4))",
    "=INDEX(MMULT(RC2:RC4,R[-2]C4:RC4),1,1)",
    "=SUM(TRANSPOSE(RC1:RC6))",
    "=NETWORKDAYS(RC8,\"2025-12-31\",R[-4]C8:RC8)",
    "=NPV(0.05,RC1:RC6)",
    "=IRR(RC1:RC6,)",
    "=XNPV(0.05,R[-2]C1:RC1,R[-2]C8:RC8)",
    "=AND(RC2:RC6)",
    "=IMREAL(IMSUM(RC2:RC4))",
    "=SUM(RC2:RC4*2)",
};
constexpr uint32_t kFormulaCount = sizeof kRangeFormulas / sizeof kRangeFormulas[0];

// A few blocks per formula: each range walk steps over the blocks of its
// own rows (a window of five rows crosses a block's end now and then). A
// walk from the head of the chain steps over hundreds.
constexpr uint64_t kMaxStepsPerFormula = 8;

using RangeWalks = StatisticsFormulaTest;

TEST_F(RangeWalks, EveryFamilyReadsItsRangesFromTheirFirstRow) {
  FillLargeSheet(sheet);
  ASSERT_GT(sheet.BlockCount(), 300u);
  const uint32_t row = kLargeSheetRows - 10;
  for (const char* formula : kRangeFormulas) {
    SCOPED_TRACE(formula);
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, formula);
    uint32_t kind = 0;
    EXPECT_LE(BlockStepsOf([&] { kind = state.Evaluate(text, 10, row); }), kMaxStepsPerFormula);
    EXPECT_NE(kind, 0u);
    EXPECT_TRUE(state.CheckStackOwnership());
  }
  // The root search walks the references from its target formula.
  PutFormula(sheet, 10, row, "=RC3*RC3-RC2", 0.0, nullptr, 0, true);
  char root[] = "=ROOT(RC11,RC3,0,100,)";
  EXPECT_LE(BlockStepsOf([&] { EXPECT_EQ(state.Evaluate(root, 11, row), uint32_t(kEvalNumber)); }),
            kMaxStepsPerFormula * 8);
  EXPECT_EQ(state.operands[1].error, 0u);
}

TEST_F(RangeWalks, RecalculationStepsOverABoundedNumberOfBlocksPerFormula) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CellStore& cells = book.activeWorksheet->cells;
  constexpr uint32_t kRows = 8000;
  FillLargeSheet(cells, kRows);
  // Three range formulas per row, in turn from the list, then an array
  // formula spilling into the next column, whose values the row below reads.
  uint32_t formulas = 0;
  for (uint32_t row = 4; row + 1 < kRows; ++row) {
    for (uint16_t k = 0; k < 3; ++k)
      PutFormula(cells, uint16_t(8 + k), row, kRangeFormulas[(row * 3 + k) % kFormulaCount], 0.0, nullptr, 0, false);
    PutFormula(cells, 11, row, "=TRANSPOSE(RC2:R[1]C2)", 0.0, nullptr, 0, false);
    PutFormula(cells, 13, row, "=SUM(R[-1]C12:R[-1]C13)", 0.0, nullptr, 0, false);
    formulas += 5;
  }
  // A pass walks the whole store a few times besides the formulas' walks,
  // which mostly stay within one block.
  ASSERT_TRUE(book.Recalculate(nullptr));
  const uint64_t wholeWalks = 4 * uint64_t(cells.BlockCount());
  EXPECT_LE(BlockStepsOf([&] { ASSERT_TRUE(book.Recalculate(nullptr)); }), wholeWalks + formulas);
  // The values read from the spills above are those of this pass.
  const CellRecord* reader = cells.GetCell(kRows - 2, 13);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->ErrorCode(), 0u);
  EXPECT_EQ(reader->CachedNumber(), cells.GetCell(kRows - 3, 1)->Number() + cells.GetCell(kRows - 2, 1)->Number());
}

}  // namespace
