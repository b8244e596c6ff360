#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/cells/cell_store.h"
#include "core/edit/cell_text.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/styles/sheet_format.h"
#include "core/styles/style_table.h"

namespace {

const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};

class CellText : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentRegionalSettings();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ResetGlobalOptions();
  }
  void TearDown() override {
    CurrentRegionalSettings() = saved_;
    ResetGlobalOptions();
  }

  // Typed into the sheet as the user would type it.
  void Type(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = formats_.At(row, column);
    alignas(8) uint8_t bytes[kCellInputCapacity];
    ASSERT_GT(ParseCellInput(translator_, text, &format, row, column, bytes, sizeof bytes), 0u);
    ASSERT_TRUE(cells_.InsertCell(AsCellRecord(bytes), nullptr));
  }

  void PutText(uint32_t row, uint16_t column, const std::string& text) {
    std::vector<uint8_t> bytes(kTextCellHeadSize + text.size());
    BuildTextCell(bytes.data(), bytes.size(), row, column, text.data(), static_cast<uint16_t>(text.size()));
    ASSERT_TRUE(cells_.InsertCell(AsCellRecord(bytes.data()), nullptr));
  }

  void StyleColumn(uint16_t column, const NumFormatParams& format) {
    StyleRecord style = StyleRecord::Default();
    style.numFormat = format;
    uint16_t index = 0;
    ASSERT_TRUE(styles_->FindOrAddStyle(style, &index));
    sheet_->columns[column].SetStyle(index);
  }

  std::string Text(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, bool valueFlag,
                   bool arrayFlag = false) {
    char buffer[1025 + 8];
    std::memset(buffer, '#', sizeof buffer);
    const size_t length = GetCellText(translator_, cells_, formats_, firstColumn, lastColumn, firstRow, lastRow,
                                      valueFlag, arrayFlag, buffer, 1025);
    EXPECT_EQ(length, std::strlen(buffer));
    for (size_t i = 1025; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << "written past the buffer";
    return buffer;
  }

  RegionalSettings saved_;
  EvalState translator_;
  CellStore cells_;
  std::unique_ptr<StyleTable> styles_ = std::make_unique<StyleTable>();
  std::unique_ptr<SheetFormat> sheet_ = std::make_unique<SheetFormat>();
  CellFormats formats_{sheet_.get(), styles_.get()};
};

NumFormatParams Fixed(uint8_t decimals) {
  NumFormatParams p;
  std::memset(&p, 0, sizeof p);
  p.category = kNumFormatGeneral;
  p.options.number.fixedDecimals = 1;
  p.options.number.decimals = decimals;
  return p;
}

TEST_F(CellText, RangeTextListsValuesRowByRow) {
  Type(0, 0, "1");
  Type(0, 1, "x");
  Type(1, 0, "2");
  EXPECT_EQ(Text(0, 1, 0, 1, true), "{1, \"x\"; 2, }");
  EXPECT_EQ(Text(0, 1, 0, 1, false), "={1, \"x\"; 2, }");
  EXPECT_EQ(Text(0, 0, 0, 0, true, true), "{1}");

  Type(1, 1, "=A1+A2");
  Type(0, 2, "say \"hi\"");
  EXPECT_EQ(Text(0, 2, 0, 1, false), "={1, \"x\", 'say \"hi\"'; 2, 0, }");  // a formula gives its value

  CurrentRegionalSettings() = kCommaDecimal;
  Type(2, 0, "1,5");
  EXPECT_EQ(Text(0, 1, 1, 2, true), "{2; 0\\ 1,5; }");
}

TEST_F(CellText, ValueFlagShowsFormattedValues) {
  StyleColumn(1, Fixed(2));
  Type(0, 1, "3.14159");
  Type(1, 1, "x");
  EXPECT_EQ(Text(1, 1, 0, 1, true), "{3.14; \"x\"}");
  EXPECT_EQ(Text(1, 1, 0, 1, false), "={3.14159; \"x\"}");
}

TEST_F(CellText, OneCellForEditingAndAsValue) {
  StyleColumn(1, Fixed(2));
  Type(4, 0, "=sum(a1:a3)*2");
  Type(4, 1, "3.14159");
  Type(5, 0, "x");
  Type(5, 1, "#N/A!");
  EXPECT_EQ(Text(0, 0, 4, 4, false), "=sum(A1:A3)*2");
  EXPECT_EQ(Text(1, 1, 4, 4, false), "3.14159");  // typed again it is the same number
  EXPECT_EQ(Text(1, 1, 4, 4, true), "3.14");
  EXPECT_EQ(Text(0, 0, 5, 5, false), "x");
  EXPECT_EQ(Text(0, 0, 5, 5, true), "\"x\"");
  EXPECT_EQ(Text(1, 1, 5, 5, true), "#N/A!");
  EXPECT_EQ(Text(3, 3, 3, 3, false), "");

  AddressingA1 = 0;
  EXPECT_EQ(Text(0, 0, 4, 4, false), "=sum(R[-4]C:R[-2]C)*2");
  CurrentRegionalSettings() = kCommaDecimal;
  Type(6, 0, "=ROUND(1,5;0)");
  EXPECT_EQ(Text(0, 0, 6, 6, false), "=ROUND(1,5;0)");
}

TEST_F(CellText, LongTextsStayInsideTheBuffer) {
  PutText(0, 0, std::string(kMaxCellTextLength, 'a'));
  PutText(0, 1, std::string(3000, 'b'));
  EXPECT_EQ(Text(0, 0, 0, 0, true), std::string(kMaxCellTextLength, 'a'));  // no room for quotes
  EXPECT_EQ(Text(1, 1, 0, 0, false), std::string(kMaxCellTextLength, 'b'));
  const std::string range = Text(0, 1, 0, 0, true);
  EXPECT_EQ(range, "{}");  // the first value does not fit: the row ends
  for (uint32_t row = 1; row < 3000; ++row) Type(row, 0, "12345");
  const std::string column = Text(0, 0, 1, kMaxRow, false);
  EXPECT_LE(column.size(), kMaxCellTextOutput);
  EXPECT_EQ(column.substr(0, 15), "={12345; 12345;");
  EXPECT_EQ(column.back(), '}');

  for (size_t size : {1u, 2u, 3u, 4u, 5u, 9u}) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    GetCellText(translator_, cells_, formats_, 0, 0, 1, 5, true, false, buffer, size);
    EXPECT_LT(std::strlen(buffer), size);
    for (size_t i = size; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << size;
  }
}

}  // namespace
