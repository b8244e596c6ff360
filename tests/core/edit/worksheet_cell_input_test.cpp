#include <gtest/gtest.h>

#include <cstdio>
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

// Replacing re-enters a changed text as typing it would, format included.
TEST_F(WorksheetCellInput, ReplacedTextsTakeTheFormatTheyImply) {
  Type(0, 0, "5");
  Type(1, 0, "x2009-05-16");
  Type(2, 0, "7");
  Type(2, 1, "7");
  ASSERT_TRUE(sheet_->ReplaceInRange(book_.get(), 0, 0, 0, 0, "5", "5%", false, false));
  EXPECT_EQ(Text(0, 0, true), "5%");
  EXPECT_EQ(book_->styles.StyleAt(sheet_->format.CellStyle(0, 0)).numFormat.category, kNumFormatPercent);
  ASSERT_TRUE(sheet_->ReplaceInRange(book_.get(), 0, 0, 1, 1, "x", "", false, false));
  EXPECT_EQ(book_->styles.StyleAt(sheet_->format.CellStyle(1, 0)).numFormat.category, kNumFormatDate);
  EXPECT_EQ(Text(1, 0, true), "\"5/16/2009\"");
  // Only the replaced cell changes its format.
  ASSERT_TRUE(sheet_->ReplaceInRange(book_.get(), 0, 1, 2, 2, "7", "$7", false, false, nullptr));
  EXPECT_EQ(book_->styles.StyleAt(sheet_->format.CellStyle(2, 0)).numFormat.category, kNumFormatCurrency);
  EXPECT_EQ(Text(2, 0, true), Text(2, 1, true));
  EXPECT_EQ(sheet_->format.CellStyle(3, 0), 0);
  EXPECT_TRUE(sheet_->format.CheckInvariants());
}

TEST_F(WorksheetCellInput, ReplacingKeepsEverythingWhenTheStyleTableIsFull) {
  Type(0, 0, "5");
  StyleRecord style = StyleRecord::Default();
  uint16_t index = 0;
  for (uint16_t i = 0; book_->styles.styleCount < StyleTable::kMaxStyles; ++i) {
    style.fontIndex = 0;
    style.numFormat.category = kNumFormatUserPattern;
    std::snprintf(style.numFormat.code, sizeof style.numFormat.code, "0\\%u", unsigned(i));
    ASSERT_TRUE(book_->styles.FindOrAddStyle(style, &index));
  }
  EXPECT_FALSE(sheet_->ReplaceInRange(book_.get(), 0, 0, 0, 0, "5", "5%", false, false));
  EXPECT_EQ(book_->error, kWorkbookTooManyStyles);
  EXPECT_EQ(Text(0, 0, false), "5");
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
