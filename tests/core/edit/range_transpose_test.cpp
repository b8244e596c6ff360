#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>

#include "core/formula/eval_state.h"

#include "core/edit/reference_adjust.h"
#include "core/allocation_limit.h"
#include "core/workbook/workbook.h"
#include "test_seed.h"

namespace {

class RangeTranspose : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }
  void PutNumber(uint32_t row, uint16_t column, double value) {
    uint8_t record[kNumberCellSize];
    BuildNumberCell(record, sizeof record, row, column, value);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  void PutFormula(uint32_t row, uint16_t column, const std::string& text) {
    uint8_t record[kFormulaCellHeadSize + 256];
    FormulaCellFields fields;
    fields.formula = text.data();
    fields.formulaLength = uint16_t(text.size());
    ASSERT_NE(0u, BuildFormulaCell(record, sizeof record, row, column, fields));
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  std::string FormulaAt(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "(none)";
  }
  uint16_t AddColoredStyle(uint32_t color) {
    StyleRecord record = StyleRecord::Default();
    record.fontColorSet = 1;
    record.fontColor = color;
    uint16_t index = 0;
    EXPECT_TRUE(book.styles.FindOrAddStyle(record, &index));
    return index;
  }
  double NumberAt(uint32_t row, uint16_t column) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsNumber() ? cell->Number() : -1.0;
  }
  CWorkBook book;
  CWorkSheet* sheet = nullptr;
};

TEST_F(RangeTranspose, TurnsThreeByTwoIntoTwoByThreeWithFormats) {
  // A1:C2 holds 1 2 3 / 4 5 6; B1..C1 carry style red, A2 style blue.
  for (uint16_t column = 0; column < 3; ++column)
    for (uint32_t row = 0; row < 2; ++row) PutNumber(row, column, 1 + column + 3.0 * row);
  const uint16_t red = AddColoredStyle(0x0000FF);
  const uint16_t blue = AddColoredStyle(0xFF0000);
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{1, 2, 0, red}, nullptr));
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{0, 0, 1, blue}, nullptr));
  PutFormula(4, 3, "=R[-4]C[-1]");  // D5 = C1

  ASSERT_TRUE(book.TransposeRange(sheet, CellRange{0, 0, 2, 1}));
  const double expected[3][2] = {{1, 4}, {2, 5}, {3, 6}};
  for (uint32_t row = 0; row < 3; ++row)
    for (uint16_t column = 0; column < 2; ++column)
      EXPECT_EQ(expected[row][column], NumberAt(row, column)) << row << "," << column;
  EXPECT_EQ(-1.0, NumberAt(0, 2));
  EXPECT_EQ(-1.0, NumberAt(1, 2));
  EXPECT_EQ(red, sheet->format.CellStyle(1, 0));
  EXPECT_EQ(red, sheet->format.CellStyle(2, 0));
  EXPECT_EQ(blue, sheet->format.CellStyle(0, 1));
  EXPECT_EQ(0, sheet->format.CellStyle(0, 2));
  EXPECT_EQ(0, sheet->format.CellStyle(1, 1));
  EXPECT_EQ("=R[-2]C[-3]", FormulaAt(4, 3));  // still the 3, now at A3
  EXPECT_TRUE(sheet->cells.CheckInvariants());
  EXPECT_TRUE(sheet->format.CheckInvariants());
}

TEST_F(RangeTranspose, DropsStylesThatOnlyOverwrittenCellsUsed) {
  // A1:C1 turns into A1:A3; the style of A2, outside the row, is pasted over.
  PutNumber(0, 0, 1);
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{0, 0, 1, AddColoredStyle(0x00FF00)}, nullptr));
  const uint16_t before = book.styles.styleCount;
  ASSERT_TRUE(book.TransposeRange(sheet, CellRange{0, 0, 2, 0}));
  EXPECT_EQ(0, sheet->format.CellStyle(1, 0));
  EXPECT_EQ(before - 1, book.styles.styleCount);
}

// Whatever allocation fails, the transposition happens whole or not at all.
TEST_F(RangeTranspose, RunningOutOfMemoryChangesNothing) {
  // Cells right of the block fill the blocks, so that the transposed rows
  // need new ones.
  for (uint32_t row = 0; row < 20; ++row)
    for (uint16_t column = 0; column < 100; ++column)
      if (column < 10 || column >= 30) PutNumber(row, column, row * 100.0 + column);
  PutFormula(30, 0, "=R[-30]C[9]");
  const uint16_t style = AddColoredStyle(0x00FF00);
  for (uint32_t row = 0; row < 20; row += 2)
    ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{0, 9, row, style}, nullptr));
  bool transposed = false;
  for (int granted = 0; granted < 64 && !transposed; ++granted) {
    SCOPED_TRACE("blocks granted " + std::to_string(granted));
    {
      AllocationLimit limit(granted);
      transposed = book.TransposeRange(sheet, CellRange{0, 0, 9, 19});
    }
    ASSERT_TRUE(sheet->cells.CheckInvariants());
    ASSERT_TRUE(sheet->format.CheckInvariants());
    if (transposed) break;
    ASSERT_EQ(kWorkbookOutOfMemory, book.error);
    for (uint32_t row = 0; row < 20; ++row)
      for (uint16_t column = 0; column < 10; ++column)
        ASSERT_EQ(row * 100.0 + column, NumberAt(row, column)) << row << "," << column;
    ASSERT_EQ("=R[-30]C[9]", FormulaAt(30, 0));
    ASSERT_EQ(style, sheet->format.CellStyle(2, 5));
    ASSERT_EQ(0, sheet->format.CellStyle(3, 5));
  }
  ASSERT_TRUE(transposed);
  for (uint32_t row = 0; row < 10; ++row)
    for (uint16_t column = 0; column < 20; ++column)
      ASSERT_EQ(column * 100.0 + row, NumberAt(row, column)) << row << "," << column;
  EXPECT_EQ("=R[-21]C", FormulaAt(30, 0));
}

TEST_F(RangeTranspose, RefusesToPassTheGridWithNothingChanged) {
  PutNumber(0, kMaxColumn - 1, 1.0);
  EXPECT_FALSE(book.TransposeRange(sheet, CellRange{uint16_t(kMaxColumn - 1), 0, kMaxColumn, 3}));
  EXPECT_EQ(kWorkbookNoRoomForColumns, book.error);
  EXPECT_EQ(1.0, NumberAt(0, kMaxColumn - 1));
}

// Cells in the block go to their transposed place, cells under the
// transposed block outside the block are pasted over, the rest stay.
struct Transposition {
  CellRange block;
  bool InBlock(uint32_t c, uint32_t r) const {
    return c >= block.firstColumn && c <= block.lastColumn && r >= block.firstRow && r <= block.lastRow;
  }
  bool Covered(uint32_t c, uint32_t r) const {
    return c >= block.firstColumn && c <= block.firstColumn + (block.lastRow - block.firstRow) &&
           r >= block.firstRow && r <= block.firstRow + (block.lastColumn - block.firstColumn);
  }
  std::pair<uint32_t, uint32_t> Moved(uint32_t c, uint32_t r) const {
    return {block.firstColumn + (r - block.firstRow), block.firstRow + (c - block.firstColumn)};
  }
};

TEST_F(RangeTranspose, FormulasFollowMovedCellsAtRandom) {
  for (uint32_t seed = TestSeed(1), end = seed + 60; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    sheet->cells.Clear(true);
    std::map<std::pair<uint32_t, uint32_t>, std::pair<uint32_t, uint32_t>> formulas;  // (c, r) -> target
    std::map<std::pair<uint32_t, uint32_t>, double> numbers;
    for (uint32_t r = 0; r < 14; ++r)
      for (uint32_t c = 0; c < 14; ++c) {
        const int dice = pick(0, 9);
        if (dice < 4) {
          PutNumber(r, uint16_t(c), r * 1000.0 + c);
          numbers[{c, r}] = r * 1000.0 + c;
        } else if (dice < 6) {
          const uint32_t tc = pick(0, 16), tr = pick(0, 16);
          PutFormula(r, uint16_t(c), "=R[" + std::to_string(int(tr) - int(r)) + "]C[" +
                                         std::to_string(int(tc) - int(c)) + "]");
          formulas[{c, r}] = {tc, tr};
        }
      }
    Transposition t;
    t.block.firstColumn = uint16_t(pick(0, 8));
    t.block.lastColumn = uint16_t(pick(t.block.firstColumn, 12));
    t.block.firstRow = pick(0, 8);
    t.block.lastRow = pick(t.block.firstRow, 12);
    ASSERT_TRUE(book.TransposeRange(sheet, t.block));
    ASSERT_TRUE(sheet->cells.CheckInvariants());

    const auto place = [&](std::pair<uint32_t, uint32_t> at, bool* kept) {
      *kept = t.InBlock(at.first, at.second) || !t.Covered(at.first, at.second);
      return t.InBlock(at.first, at.second) ? t.Moved(at.first, at.second) : at;
    };
    for (const auto& n : numbers) {
      bool kept = false;
      const auto at = place(n.first, &kept);
      if (!kept) continue;
      EXPECT_EQ(n.second, NumberAt(at.second, uint16_t(at.first)));
    }
    for (const auto& f : formulas) {
      bool kept = false;
      const auto at = place(f.first, &kept);
      if (!kept) continue;
      const auto target = t.InBlock(f.second.first, f.second.second) ? t.Moved(f.second.first, f.second.second)
                                                                       : f.second;
      const std::string text = FormulaAt(at.second, uint16_t(at.first));
      book.evaluator.ResetForFormula(at.first, at.second);
      const char* p = text.c_str() + 1;
      EvalValue token;
      ASSERT_EQ(uint32_t(kEvalCellRef), book.evaluator.NextToken(&p, &token, true)) << text;
      EXPECT_EQ(target.first, token.cell.column) << text;
      EXPECT_EQ(target.second, token.cell.row) << text;
    }
  }
}

}  // namespace
