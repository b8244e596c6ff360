#include "core/cells/row_cells.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "functions/row_cell_args.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// A cell of every kind the handlers read: numbers, texts (some that read
// as numbers, some long enough to push a row across a block's end),
// errors, and formulas with a number or a text, calculated or pending.
void PutMixedCell(CellStore& sheet, std::mt19937& random, uint16_t column, uint32_t row) {
  static const char* const kTexts[] = {"2", "beta7", "b", "Beta", "alpha", "", " 3 ", "2.5", "b?"};
  std::string text = kTexts[random() % 9];
  if (random() % 12 == 0) text += std::string(700, 'b');
  const uint8_t error = random() % 9 == 0 ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
  const double number = double(int(random() % 7) - 2) * (random() % 2 ? 1.0 : 1.25);
  switch (random() % 7) {
    case 0:
    case 1:
      PutNumber(sheet, column, row, number, error);
      break;
    case 2:
    case 3:
      PutText(sheet, column, row, text, error);
      break;
    case 4:
      PutFormula(sheet, column, row, "=1", number, nullptr, error, random() % 3 != 0);
      break;
    case 5:
      PutFormula(sheet, column, row, "=1", 0, text.c_str(), error, random() % 3 != 0);
      break;
    default:
      break;
  }
}

// The row passes find the cells a cell-by-cell lookup finds, on rows that
// run across blocks and pages, in an indexed sheet.
TEST(RowCells, PassesAlongARowFindTheCellsOfLookups) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  CellStore sheet;
  const uint32_t rows = 1400;
  for (uint32_t row = 0; row < rows; row += 1 + random() % 2)
    for (uint16_t column = uint16_t(random() % 3); column < 20; column = uint16_t(column + 1 + random() % 3))
      PutMixedCell(sheet, random, column, row);
  ASSERT_TRUE(sheet.BuildPageIndex(0, nullptr));
  ASSERT_TRUE(sheet.BuildPageIndex(1, nullptr));
  ASSERT_TRUE(RowsIndexed(&sheet, 0, rows));
  ASSERT_FALSE(RowsIndexed(&sheet, 0, 2 * kRowsPerPage));
  for (int round = 0; round < 3000; ++round) {
    const uint32_t row = random() % (rows + 2);
    uint32_t a = random() % 23;
    uint32_t b = a + random() % 4;
    const CellRecord* atA = nullptr;
    const CellRecord* atB = nullptr;
    RowCellPair(sheet, row, a, b, &atA, &atB);
    ASSERT_EQ(atA, sheet.GetCell(row, uint16_t(a))) << row << " " << a;
    ASSERT_EQ(atB, sheet.GetCell(row, uint16_t(b))) << row << " " << b;
    ASSERT_EQ(IndexedCellAt(sheet, b, row), atB);
    // Two spans, overlapping or apart.
    a = random() % 20;
    b = random() % 20;
    const uint32_t widthA = 1 + random() % 5;
    const uint32_t widthB = 1 + random() % 5;
    const CellRecord* spanA[8];
    const CellRecord* spanB[8];
    RowSpanCells(sheet, row, a, a + widthA - 1, spanA, b, b + widthB - 1, spanB);
    for (uint32_t c = 0; c < widthA; ++c) ASSERT_EQ(spanA[c], sheet.GetCell(row, uint16_t(a + c))) << row;
    for (uint32_t c = 0; c < widthB; ++c) ASSERT_EQ(spanB[c], sheet.GetCell(row, uint16_t(b + c))) << row;
  }
}

// A column's cells and pairs of a row found through the row position memo
// are the cells a lookup finds, in rows asked in any order, the memo's places shared by
// rows far apart and lists begun at any column.
TEST(RowCells, ColumnCellsThroughTheMemoAreTheCellsOfLookups) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  CellStore sheet;
  const uint32_t rows = 1400;
  // Rows begin and end anywhere: a row's end is the next row's first record.
  for (uint32_t row = 0; row < rows; row += 1 + random() % 2) {
    const uint32_t end = 4 + random() % 16;
    for (uint16_t column = uint16_t(random() % 8); column < end; column = uint16_t(column + 1 + random() % 3))
      PutMixedCell(sheet, random, column, row);
  }
  // Indexes the pages holding formulas, which the memo serves.
  sheet.MarkFormulaCellsDirty();
  ASSERT_TRUE(RowsIndexed(&sheet, 0, rows));
  for (int round = 0; round < 6000; ++round) {
    const uint32_t row = random() % 2 ? random() % (rows + 2) : (random() % 8) * 64 + random() % 3;
    const uint32_t column = random() % 24;
    ASSERT_EQ(IndexedColumnCellAt(sheet, column, row), sheet.GetCell(row, uint16_t(column))) << row << " " << column;
    const uint32_t partner = column + random() % 4;
    const CellRecord* atA = nullptr;
    const CellRecord* atB = nullptr;
    FarRowCellPair(sheet, row, column, partner, &atA, &atB);
    ASSERT_EQ(atA, sheet.GetCell(row, uint16_t(column))) << row << " " << column;
    ASSERT_EQ(atB, sheet.GetCell(row, uint16_t(partner))) << row << " " << partner;
  }
}

using RowCellsFormulas = FormulaTableTest;

// Every handler that reads rows through the index gives, over random mixed
// cells, the result and the first pending cell its walk gives when the
// sheet has no index.
TEST_F(RowCellsFormulas, ReadingAlongRowsGivesWhatTheWalkGives) {
  static const char* const kFormulas[] = {
      "=SUMIF(B1:B12,\">1\",D1:D12)",      "=SUMIF(D2:D9,\"b*\",B2:B9)",        "=SUMIF(C1:C12,C3,C1:C12)",
      "=SUMIF(E1:E12,\"<>2\",A1:A12)",      "=SUMIF(B1:B6,\"<beta\",C3:C8)",     "=VLOOKUP(A3,A1:D12,3,0)",
      "=VLOOKUP(B2,B1:E12,1,1)",            "=VLOOKUP(\"b*\",C1:F12,2,0)",       "=VLOOKUP(1.25,A1:F12,6,-1)",
      "=VLOOKUP(\"beta\",D1:F12,3,1)",      "=HLOOKUP(B3,A3:F9,4,0)",            "=LOOKUP(C4,C1:C12,A1:A12)",
      "=LOOKUP(E2,E1:E12,F1:F9)",           "=LOOKUP(A1,D1:D12,B1:B12)",         "=LOOKUP(2,B1:B12)",
      "=MATCH(B5,B1:B12,0)",                "=MATCH(\"beta*\",E1:E12,0)",        "=MATCH(2.5,A1:A12,1)",
      "=MATCH(C7,C1:C12,-1)",               "=COUNTIF(D1:D12,\">=0\")",          "=COUNTIF(E1:E12,\"b*\")",
      "=COUNTIF(A1:A12,A2)",                "=SUMPRODUCT(A1:B12,C1:D12)",        "=SUMPRODUCT(A1:C1,D2:F2)",
      "=SUMPRODUCT(A1:A12,A1:A12)",         "=SUMPRODUCT(B1:C6,B7:C12)",         "=SUM(LEN(E1:E12))",
      "=LEN(F1:F12)",                       "=CONCATENATE(B1:C2,D4,E5,F6)",      "=LEN(CONCATENATE(E1:E3,E4,A9))",
      "=SUMX2MY2(A1:B12,C1:D12)",           "=SUMXMY2(A1:C1,D2:F2)",             "=SUMX2PY2(B1:B6,B7:B12)",
  };
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 300; ++round) {
    sheet.Clear(true);
    for (uint32_t row = 0; row < 12; ++row)
      for (uint16_t column = 0; column < 8; ++column) PutMixedCell(sheet, random, column, row);
    for (const char* formula : kFormulas) {
      ASSERT_FALSE(RowsIndexed(&sheet, 0, 12));
      state.pending.Clear();
      const std::string walked = Run(formula);
      const EvalValue walkedPending = state.pending;
      ASSERT_TRUE(sheet.BuildPageIndex(0, nullptr));
      state.pending.Clear();
      ASSERT_EQ(Run(formula), walked) << formula << " round " << round;
      ASSERT_EQ(state.pending.kind, walkedPending.kind) << formula << " round " << round;
      ASSERT_EQ(state.pending.cell.row, walkedPending.cell.row) << formula << " round " << round;
      ASSERT_EQ(state.pending.cell.column, walkedPending.cell.column) << formula << " round " << round;
      sheet.ClearPageIndex(true);
    }
  }
}

}  // namespace

namespace {

using ColumnLengths = FormulaTableTest;

// LEN of a column read through the index, mostly plain texts (some with a
// NUL inside, some longer than a short scan), gives the array LEN gives
// walking the cells of the sheet without an index.
TEST_F(ColumnLengths, ColumnOfTextsGivesWhatTheWalkGives) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  static const char* const kTexts[] = {"", "a", "beta 12", "0123456789abcdefgh", "x"};
  for (int round = 0; round < 100; ++round) {
    sheet.Clear(true);
    for (uint32_t row = 0; row < 10; ++row) {
      for (uint16_t column = 0; column < 6; ++column) {
        const uint32_t pick = random() % 20;
        std::string text = kTexts[random() % 5];
        if (pick == 0) text += std::string(1, '\0') + "tail";
        if (pick < 17)
          PutText(sheet, column, row, text, pick == 16 ? uint8_t(kErrorNA) : uint8_t(kErrorNone));
        else if (pick == 17)
          PutNumber(sheet, column, row, 12.5);
      }
    }
    for (int trial = 0; trial < 6; ++trial) {
      const char column = char('A' + random() % 6);
      const uint32_t top = 1 + random() % 10;
      const uint32_t bottom = top + random() % (11 - top);
      const std::string range =
          std::string(1, column) + std::to_string(top) + ":" + std::string(1, column) + std::to_string(bottom);
      for (const std::string& formula : {"=LEN(" + range + ")", "=SUM(LEN(" + range + "))"}) {
        const std::string walked = Run(formula);
        ASSERT_TRUE(sheet.BuildPageIndex(0, nullptr));
        ASSERT_EQ(Run(formula), walked) << formula << " round " << round;
        sheet.ClearPageIndex(true);
      }
    }
  }
}

}  // namespace
