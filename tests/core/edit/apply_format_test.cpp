#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/allocation_limit.h"
#include "core/workbook/workbook.h"

namespace {

struct Fixture {
  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  StyleRecord style = StyleRecord::Default();
  FontRecord font;

  Fixture() {
    EXPECT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    font = book->styles.FontAt(0);
  }

  uint16_t AddColoredStyle(uint32_t color) {
    StyleRecord record = StyleRecord::Default();
    record.fontColorSet = 1;
    record.fontColor = color;
    uint16_t index = 0;
    EXPECT_TRUE(book->styles.FindOrAddStyle(record, &index));
    return index;
  }

  const StyleRecord& StyleOf(uint32_t row, uint16_t column) {
    return book->styles.StyleAt(sheet->format.CellStyle(row, column));
  }
  const FontRecord& FontOf(uint32_t row, uint16_t column) { return book->styles.FontAt(StyleOf(row, column).fontIndex); }

  bool Apply(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, int kind) {
    return book->ApplyFormatToRange(&book->styles, firstColumn, lastColumn, firstRow, lastRow, &sheet->format, kind,
                                    style, font);
  }
};

TEST(ApplyFormat, BoldKeepsEveryOtherAttributeOfEachCell) {
  Fixture f;
  const uint16_t red = f.AddColoredStyle(0xFF);
  const uint16_t blue = f.AddColoredStyle(0xFF0000);
  ASSERT_TRUE(f.sheet->format.runs.InsertRun({0, 1, 2, red}, nullptr));
  ASSERT_TRUE(f.sheet->format.runs.InsertRun({2, 3, 2, blue}, nullptr));
  f.font.weight = 2;
  ASSERT_TRUE(f.Apply(0, 5, 1, 3, kApplyWeight));
  for (uint32_t row = 1; row <= 3; ++row)
    for (uint16_t column = 0; column <= 5; ++column) EXPECT_EQ(2, f.FontOf(row, column).weight) << row << column;
  EXPECT_EQ(0xFFu, f.StyleOf(2, 1).fontColor + 0u);
  EXPECT_EQ(0xFF0000u, f.StyleOf(2, 3).fontColor + 0u);
  EXPECT_EQ(0u, f.StyleOf(2, 4).fontColor + 0u);
  EXPECT_EQ(f.sheet->format.CellStyle(1, 0), f.sheet->format.CellStyle(3, 5));
  // Outside the rectangle nothing changed.
  EXPECT_EQ(0, f.sheet->format.CellStyle(0, 0));
  EXPECT_EQ(0, f.sheet->format.CellStyle(2, 6));
  EXPECT_TRUE(f.sheet->format.CheckInvariants());
}

TEST(ApplyFormat, ColumnStylesDecideWhereRunsAreNeeded) {
  Fixture f;
  const uint16_t red = f.AddColoredStyle(0xFF);
  f.sheet->format.columns[2].SetStyle(red);
  f.style.fontColorSet = 1;
  f.style.fontColor = 0xFF;
  // Red over a red column needs no run there; the other columns get one.
  ASSERT_TRUE(f.Apply(1, 3, 5, 5, kApplyFontColor));
  EXPECT_EQ(nullptr, f.sheet->format.runs.FindRun(5, 2));
  ASSERT_NE(nullptr, f.sheet->format.runs.FindRun(5, 1));
  EXPECT_EQ(red, f.sheet->format.CellStyle(5, 3));
  // Setting the default colour back over a run drops the run: the cells show
  // their column's style again.
  f.style.fontColorSet = 0;
  f.style.fontColor = 0;
  ASSERT_TRUE(f.Apply(1, 1, 5, 5, kApplyFontColor));
  EXPECT_EQ(nullptr, f.sheet->format.runs.FindRun(5, 1));
}

TEST(ApplyFormat, FullStyleTableFailsAndKeepsTheOldFormats) {
  Fixture f;
  std::mt19937 random(7);
  // Every row of the rectangle gets styles of its own, then the table fills up.
  for (uint32_t row = 0; row < 30; ++row)
    ASSERT_TRUE(f.sheet->format.runs.InsertRun({uint16_t(row % 3), 4, row, f.AddColoredStyle(row + 1)}, nullptr));
  uint32_t color = 1000;
  while (f.book->styles.styleCount < StyleTable::kMaxStyles - 10) f.AddColoredStyle(color++);
  std::vector<uint16_t> before;
  for (uint32_t row = 0; row < 30; ++row)
    for (uint16_t column = 0; column < 6; ++column) before.push_back(f.sheet->format.CellStyle(row, column));

  f.font.weight = 2;
  EXPECT_FALSE(f.Apply(0, 5, 0, 29, kApplyWeight));
  EXPECT_EQ(kWorkbookTooManyStyles, f.book->error);
  std::vector<uint16_t> after;
  for (uint32_t row = 0; row < 30; ++row)
    for (uint16_t column = 0; column < 6; ++column) after.push_back(f.sheet->format.CellStyle(row, column));
  EXPECT_EQ(before, after);
  EXPECT_TRUE(f.sheet->format.CheckInvariants());
}

// Runs in many blocks, each row split at a different place, so that both
// rebuilding the rectangle and putting it back need blocks.
TEST(ApplyFormat, RunningOutOfMemoryKeepsTheOldFormats) {
  Fixture f;
  const uint16_t red = f.AddColoredStyle(0x0000FF);
  const uint16_t blue = f.AddColoredStyle(0xFF0000);
  for (uint32_t row = 0; row < 400; ++row)
    for (uint16_t column = 0; column < 40; column += 4)
      ASSERT_TRUE(f.sheet->format.runs.InsertRun(
          {column, uint16_t(column + 1 + row % 2), row, (row + column) % 3 ? red : blue}, nullptr));
  const auto styles = [&f] {
    std::vector<uint16_t> all;
    for (uint32_t row = 0; row < 402; ++row)
      for (uint16_t column = 0; column < 42; ++column) all.push_back(f.sheet->format.CellStyle(row, column));
    return all;
  };
  const std::vector<uint16_t> before = styles();
  f.font.weight = 2;
  bool applied = false;
  for (int granted = 0; granted < 200 && !applied; ++granted) {
    SCOPED_TRACE("blocks granted " + std::to_string(granted));
    {
      AllocationLimit limit(granted);
      applied = f.Apply(1, 38, 3, 396, kApplyWeight);
    }
    ASSERT_TRUE(f.sheet->format.CheckInvariants());
    if (!applied) {
      ASSERT_EQ(kWorkbookOutOfMemory, f.book->error);
      ASSERT_EQ(before, styles());
    }
  }
  ASSERT_TRUE(applied);
  EXPECT_EQ(2, f.FontOf(3, 1).weight);
  EXPECT_EQ(0, f.FontOf(2, 1).weight);
}

TEST(ApplyFormat, UndoStepGivesBackTheFormats) {
  Fixture f;
  ASSERT_TRUE(f.book->undoHistory.SetLevels(5));
  const uint16_t red = f.AddColoredStyle(0xFF);
  ASSERT_TRUE(f.sheet->format.runs.InsertRun({0, 3, 4, red}, nullptr));
  f.font.size = 14;
  ASSERT_TRUE(f.book->undoHistory.RecordCellsAndStyles(f.book.get(), {0, 0, 9, 9}, false, true));
  ASSERT_TRUE(f.Apply(0, 9, 0, 9, kApplyFontSize));
  EXPECT_EQ(14, f.FontOf(4, 2).size);
  ASSERT_TRUE(f.book->UndoStep());
  EXPECT_EQ(0, f.FontOf(4, 2).size);
  EXPECT_EQ(0xFFu, f.StyleOf(4, 2).fontColor + 0u);
  EXPECT_EQ(0, f.sheet->format.CellStyle(4, 5));
  ASSERT_TRUE(f.book->RedoStep());
  EXPECT_EQ(14, f.FontOf(4, 2).size);
  EXPECT_EQ(0xFFu, f.StyleOf(4, 2).fontColor + 0u);
  EXPECT_EQ(14, f.FontOf(9, 9).size);
}

}  // namespace
