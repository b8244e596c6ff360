// Edits of a few rows at the end of a large worksheet step over the blocks
// of those rows only, not over the chain before them.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numeric>
#include <vector>

#include "core/edit/reference_adjust.h"
#include "core/edit/replace_in_range.h"
#include "core/generic_locale_test.h"
#include "core/workbook/workbook.h"
#include "tests/core/large_sheet.h"

namespace {

class RangeEditWalks : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book_->NewDocument());
    sheet_ = book_->activeWorksheet;
    FillLargeSheet(sheet_->cells);
    ASSERT_GT(sheet_->cells.BlockCount(), 300u);
  }

  std::unique_ptr<CWorkBook> book_ = std::make_unique<CWorkBook>();
  CWorkSheet* sheet_ = nullptr;
};

TEST_F(RangeEditWalks, EditsOfTheLastRowsStepOverTheirOwnBlocks) {
  const uint32_t first = kLargeSheetRows - 4;
  const uint32_t last = kLargeSheetRows - 1;
  struct Case {
    const char* edit;
    std::function<bool()> run;
  };
  const Case cases[] = {
      {"find", [&] {
         uint16_t column = 0;
         uint32_t row = first;
         return book_->FindInRange(CellRange{0, first, 7, last}, &column, &row, "beta*", false, false) &&
                row >= first;
       }},
      {"replace", [&] {
         ReplaceOutcome outcome{};
         return sheet_->ReplaceInRange(book_.get(), 6, 6, first, last, "beta", "gamma", false, false, &outcome) &&
                outcome.replaced > 0;
       }},
      {"upper case", [&] { return sheet_->TransformCells(book_.get(), 6, 7, first, last, kTransformUpper); }},
      {"undo step", [&] {
         return book_->undoHistory.RecordCells(book_.get(), {0, first, 7, last}) && CWorkSheet::Undo(book_.get(), 0);
       }},
      {"reorder rows", [&] {
         std::vector<uint32_t> order(last - first + 1);
         std::iota(order.rbegin(), order.rend(), first);
         return book_->ReorderCellRows(&sheet_->cells, 0, 7, first, last, order.data());
       }},
  };
  // The cells of four rows lie in one or two blocks.
  constexpr uint64_t kMaxSteps = 8;
  for (const Case& c : cases) {
    bool done = false;
    EXPECT_LE(BlockStepsOf([&] { done = c.run(); }), kMaxSteps) << c.edit;
    EXPECT_TRUE(done) << c.edit;
  }
  EXPECT_TRUE(sheet_->cells.CheckInvariants());
}

}  // namespace
