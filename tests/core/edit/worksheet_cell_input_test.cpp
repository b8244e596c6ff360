#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/edit/cell_input.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/edit/replace_in_range.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

class WorksheetCellInput : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentRegionalSettings();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ResetGlobalOptions();
    ASSERT_TRUE(book_->NewDocument());
    sheet_ = book_->activeWorksheet;
  }
  void TearDown() override {
    CurrentRegionalSettings() = saved_;
    SetStorePageAllocatorForTesting(nullptr);
  }

  // The editor's road: the cell's format, the parse, the store.
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book_->styles.StyleAt(sheet_->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book_.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet_->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  std::string Text(uint32_t row, uint16_t column, bool valueFlag) {
    char buffer[1025];
    sheet_->GetCellText(book_.get(), buffer, sizeof buffer, column, column, row, row, valueFlag, false);
    return buffer;
  }

  RegionalSettings saved_;
  std::unique_ptr<CWorkBook> book_ = std::make_unique<CWorkBook>();
  CWorkSheet* sheet_ = nullptr;
};

TEST_F(WorksheetCellInput, TypedCellsShowAndEditThroughTheirStyles) {
  StyleRecord percent = StyleRecord::Default();
  percent.numFormat.category = kNumFormatPercent;
  percent.numFormat.options.number.fixedDecimals = 1;
  uint16_t index = 0;
  ASSERT_TRUE(book_->styles.FindOrAddStyle(percent, &index));
  sheet_->format.columns[1].SetStyle(index);

  Type(0, 0, "=B1*2");
  Type(0, 1, "0.125");
  EXPECT_EQ(Text(0, 0, false), "=B1*2");
  EXPECT_EQ(Text(0, 1, true), "13%");
  EXPECT_EQ(Text(0, 1, false), "0.125");

  ReplaceOutcome outcome{};
  ASSERT_TRUE(sheet_->ReplaceInRange(book_.get(), 0, 1, 0, 0, "B1", "B2", false, false, &outcome));
  EXPECT_EQ(outcome.replaced, 1u);
  EXPECT_EQ(Text(0, 0, false), "=B2*2");
}

void* NoMemory(size_t) { return nullptr; }

TEST_F(WorksheetCellInput, ReplaceOutOfMemoryLeavesTheWorkbookError) {
  Type(0, 0, "abc");
  SetStorePageAllocatorForTesting(NoMemory);
  EXPECT_FALSE(sheet_->ReplaceInRange(book_.get(), 0, 0, 0, 0, "b", "x", false, false));
  SetStorePageAllocatorForTesting(nullptr);
  EXPECT_EQ(book_->error, kWorkbookOutOfMemory);
  EXPECT_EQ(Text(0, 0, false), "abc");
}

}  // namespace
