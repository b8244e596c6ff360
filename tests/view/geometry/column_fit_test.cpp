#include "view/geometry/column_fit.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/core/generic_locale_test.h"

namespace {

// With the fake measurer the default font is 10 pixels a character.
class ColumnFit : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
  }
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = book->styles.StyleAt(sheet->format.CellStyle(row, column)).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(book.get(), text, &format, row, column, record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }

  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  FakeTextMeasurer fake;
};

TEST_F(ColumnFit, TheWidestShownTextWithItsIndentsUnlessItWraps) {
  StyleRecord wrapped = StyleRecord::Default();
  wrapped.alignment.wrapText = 1;
  uint16_t wrapStyle = 0;
  ASSERT_TRUE(book->styles.FindOrAddStyle(wrapped, &wrapStyle));
  sheet->format.columns[2].SetStyle(wrapStyle);
  sheet->format.columns[2].SetWidth(40, true);
  sheet->format.columns[3].SetWidth(99, true);

  Type(0, 1, "abc");
  Type(5000, 1, "abcdefg");
  Type(7, 2, "a long wrapped text");
  Type(0, 4, "12.5");

  EXPECT_EQ(ColumnFitWidth(fake.Measurer(), book->styles, sheet, 1), 70 + 2 * 4 + 2);
  EXPECT_EQ(ColumnFitWidth(fake.Measurer(), book->styles, sheet, 2), 0);
  AutoFitColumnWidths(fake.Measurer(), book->styles, sheet, 1, 4);
  EXPECT_TRUE(sheet->format.columns[1].WidthFixed());
  EXPECT_EQ(sheet->format.columns[1].Width(), 80);
  // Only wrapped cells, or none: back to the default width.
  EXPECT_FALSE(sheet->format.columns[2].WidthFixed());
  EXPECT_EQ(sheet->format.columns[2].Width(), 0);
  EXPECT_EQ(sheet->format.columns[3].Width(), 0);
  EXPECT_EQ(sheet->format.columns[4].Width(), 40 + 10);
}

}  // namespace
