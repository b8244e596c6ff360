#include "view/grid_view/cell_from_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/base/global_options.h"
#include "core/cells/block_store.h"
#include "core/workbook/workbook.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/grid_view/autoscroll_steps.h"

namespace {

class CellFromText : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    ASSERT_TRUE(book->NewDocument());
    ASSERT_TRUE(book->undoHistory.SetLevels(50));
    sheet = book->activeWorksheet;
  }
  bool Store(const char* text, bool parse = true, bool autoFormatting = true, uint32_t row = 2,
             uint16_t column = 1) {
    return StoreCellFromText(book.get(), portable.Measurer(), text, row, column, parse, autoFormatting, &result);
  }
  const CellRecord* Cell(uint32_t row = 2, uint16_t column = 1) { return sheet->cells.GetCell(row, column); }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  PortableTextMeasurer portable;
  CellFromTextResult result = {};
};

TEST_F(CellFromText, ParsesUnlessForcedAndTakesOneUndoStepEach) {
  const int32_t before = book->undoHistory.Current();
  ASSERT_TRUE(Store("12"));
  ASSERT_NE(Cell(), nullptr);
  EXPECT_EQ(Cell()->Kind(), kCellNumber);
  EXPECT_EQ(book->undoHistory.Current(), before + 1);
  ASSERT_TRUE(Store("=A1+1"));
  EXPECT_EQ(Cell()->Kind(), kCellFormula);
  ASSERT_TRUE(Store("12", false));
  EXPECT_EQ(Cell()->Kind(), kCellText);
  EXPECT_EQ(std::string(Cell()->Text(), Cell()->TextLength()), "12");
  ASSERT_TRUE(Store("=A1+1", false));
  EXPECT_EQ(std::string(Cell()->Text(), Cell()->TextLength()), "=A1+1");
  ASSERT_TRUE(Store(""));
  EXPECT_EQ(Cell(), nullptr);
  EXPECT_EQ(book->undoHistory.Current(), before + 5);
  ASSERT_TRUE(CWorkSheet::Undo(book.get(), book->undoHistory.Current()));
  ASSERT_NE(Cell(), nullptr);  // the emptying undone
}

// A typed formula is kept as text, and that told, when a worksheet's path
// and the reference after it would not fit in a formula; other formulas
// kept as text (too long on the whole, or unreadable) are not told of here,
// and one that fits is a formula.
TEST_F(CellFromText, AFormulaKeptAsTextForAPathTooLongIsTold) {
  const std::string path = "\\" + std::string(250, 'p');
  const struct {
    std::string typed;
    uint8_t kind;
    bool told;
  } cases[] = {
      {"='" + path + "'!A1", kCellText, true},
      {"=SUM(1,'" + path + "'!A1:B2)", kCellText, true},
      {"='" + path.substr(0, 200) + "'!A1:B2", kCellFormula, false},
      {"=" + std::string(1100, '1'), kCellText, false},
      {"=A", kCellText, false},
      {"=A1+1", kCellFormula, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ASSERT_TRUE(Store(c.typed.c_str()));
    ASSERT_NE(Cell(), nullptr);
    EXPECT_EQ(Cell()->Kind(), c.kind);
    EXPECT_EQ(result.formulaKeptAsText, c.told);
  }
  bool told = false;
  ASSERT_TRUE(StoreTextInRange(book.get(), portable.Measurer(), cases[0].typed.c_str(), UndoRange{0, 0, 1, 1}, false,
                               &told));
  EXPECT_TRUE(told);
  ASSERT_TRUE(StoreTextInRange(book.get(), portable.Measurer(), "=A1", UndoRange{0, 0, 1, 1}, false, &told));
  EXPECT_FALSE(told);
}

TEST_F(CellFromText, ATypedDateFormatsTheCellOnlyWithAutomaticFormatting) {
  ASSERT_TRUE(Store("2009-05-16", true, false));
  EXPECT_FALSE(result.formatApplied);
  const uint16_t plain = sheet->format.CellStyle(2, 1);
  ASSERT_TRUE(Store("2009-05-16", true, true));
  EXPECT_TRUE(result.formatApplied);
  EXPECT_NE(sheet->format.CellStyle(2, 1), plain);
}

TEST_F(CellFromText, AWrappedLongTextRefitsTheRowHeight) {
  StyleRecord wrapped = StyleRecord::Default();
  wrapped.alignment.wrapText = 1;
  uint16_t index = 0;
  ASSERT_TRUE(book->styles.FindOrAddStyle(wrapped, &index));
  sheet->format.columns[1].SetStyle(index);
  ASSERT_TRUE(Store(std::string(300, 'w').c_str()));
  EXPECT_TRUE(result.rowHeightChanged);
}

void* NoPage(size_t) { return nullptr; }

// A cell whose new record may need a block the heap cannot give keeps its
// old content, and the step that recorded it is dropped.
TEST_F(CellFromText, AFailedInsertPutsTheOldCellBack) {
  const std::string filler(900, 'f');
  for (uint16_t c = 2; c < 10; ++c) ASSERT_TRUE(Store(filler.c_str(), true, true, 2, c));
  ASSERT_TRUE(Store("7"));
  const int32_t steps = book->undoHistory.Current();
  sheet->cells.FreePool();
  SetStorePageAllocatorForTesting(NoPage);
  const bool stored = Store(std::string(1000, 'n').c_str());
  SetStorePageAllocatorForTesting(nullptr);
  ASSERT_FALSE(stored);
  EXPECT_EQ(book->error, kWorkbookOutOfMemory);
  ASSERT_NE(Cell(), nullptr);
  EXPECT_EQ(Cell()->Kind(), kCellNumber);
  EXPECT_EQ(book->undoHistory.Current(), steps);
}

// A range takes the text as if it was typed into each of its cells (every
// "=A1" names A1), and one Undo brings back every cell and format it
// replaced.
TEST_F(CellFromText, ARangeTakesTheTextWithOneUndoStep) {
  ASSERT_TRUE(Store("5", true, true, 1, 1));
  const uint16_t plain = sheet->format.CellStyle(1, 1);
  const int32_t before = book->undoHistory.Current();
  const UndoRange range = {1, 1, 2, 3};
  ASSERT_TRUE(StoreTextInRange(book.get(), portable.Measurer(), "=A1", range, true));
  EXPECT_EQ(book->undoHistory.Current(), before + 1);
  for (uint32_t row = 1; row <= 3; ++row) {
    for (uint16_t column = 1; column <= 2; ++column) {
      ASSERT_NE(Cell(row, column), nullptr) << row << "," << column;
      const std::string expected = "=R[-" + std::to_string(row) + "]C[-" + std::to_string(column) + "]";
      EXPECT_EQ(std::string(Cell(row, column)->FormulaText(), Cell(row, column)->FormulaLength()), expected);
    }
  }
  ASSERT_TRUE(StoreTextInRange(book.get(), portable.Measurer(), "2009-05-16", range, true));
  EXPECT_NE(sheet->format.CellStyle(3, 2), plain);
  ASSERT_TRUE(CWorkSheet::Undo(book.get(), book->undoHistory.Current()));
  EXPECT_EQ(Cell(3, 2)->Kind(), kCellFormula);
  EXPECT_EQ(sheet->format.CellStyle(3, 2), plain);
  ASSERT_TRUE(CWorkSheet::Undo(book.get(), book->undoHistory.Current() - 1));
  EXPECT_EQ(Cell(1, 1)->Kind(), kCellNumber);
  EXPECT_EQ(Cell(3, 2), nullptr);
}

TEST(AutoscrollSteps, FartherMeansBiggerStepsAndShorterPauses) {
  struct Case {
    int32_t distance;
    int code;
    uint32_t pause;
  } cases[] = {
      {0, -1, 0}, {17, -1, 0}, {18, 1, 400}, {29, 1, 400}, {30, 1, 100}, {44, 1, 100},
      {45, 1, 0}, {64, 1, 0},  {65, 3, 0},   {-18, 0, 400}, {-65, 2, 0},
  };
  for (const Case& c : cases) {
    const AutoscrollStep step = AutoscrollStepFor(c.distance, 14);
    EXPECT_EQ(step.code, c.code) << c.distance;
    EXPECT_EQ(step.pause, c.pause) << c.distance;
  }
  EXPECT_EQ(AutoscrollDirection(0, 0, 14, 14), 4);
  EXPECT_EQ(AutoscrollDirection(-18, -18, 14, 14), 0);
  EXPECT_EQ(AutoscrollDirection(18, 17, 14, 14), 5);
}

}  // namespace
