#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "dialogs/xbase/xbase_description.h"
#include "dialogs/xbase/xbase_field_rules.h"

namespace {

void SetField(uint8_t* field, const char* name, char type, uint8_t length, uint8_t decimals) {
  std::memset(field, 0, kXBaseFieldSize);
  std::memcpy(field, name, std::strlen(name));
  field[kXBaseFieldType] = static_cast<uint8_t>(type);
  field[kXBaseFieldLength] = length;
  field[kXBaseFieldDecimals] = decimals;
}

// A dBase IV table of three fields and 120 records, last updated 5 March 2009.
void MakeTable(XBaseTable* table) {
  table->fieldDescriptors = static_cast<uint8_t*>(std::calloc(kXBaseMaxFields, kXBaseFieldSize));
  table->header[1] = 109, table->header[2] = 3, table->header[3] = 5;
  table->header[4] = 120;
  table->header[8] = 32 + 3 * 32;
  SetField(table->fieldDescriptors, "NAME", 'C', 44, 1);
  SetField(table->fieldDescriptors + 32, "PRICE", 'N', 10, 2);
  SetField(table->fieldDescriptors + 64, "PAID", 'L', 1, 0);
}

TEST(XBaseTexts, SummaryCaptionAndRows) {
  XBaseTable table;
  MakeTable(&table);
  char text[256];
  FormatXBaseSummary(table, "name.dbf", text, sizeof text);
  EXPECT_STREQ(text, "name.dbf,  120 record(s),  last saved: 3/5/2009");
  FormatXBaseCaption(4, false, text, sizeof text);
  EXPECT_STREQ(text, "Open dBase IV File");
  FormatXBaseCaption(9, true, text, sizeof text);
  EXPECT_STREQ(text, "Save  File");
  EXPECT_EQ(XBaseFieldCount(table), 3u);
  EXPECT_EQ(XBaseFieldAt(table, 3), nullptr);

  FormatXBaseNameColumn(XBaseFieldAt(table, 1), 1, text, sizeof text);
  EXPECT_STREQ(text, "2.  PRICE");
  FormatXBaseLength(XBaseFieldAt(table, 1), 4, text, sizeof text);
  EXPECT_STREQ(text, "10 (2)");
  FormatXBaseLength(XBaseFieldAt(table, 0), 4, text, sizeof text);
  EXPECT_STREQ(text, "44");
  // FoxPro 2.x keeps a character field's high length byte in its decimals.
  FormatXBaseLength(XBaseFieldAt(table, 0), 5, text, sizeof text);
  EXPECT_STREQ(text, "300");
  EXPECT_STREQ(XBaseTypeName('Y'), "Currency");
  EXPECT_STREQ(XBaseTypeName('Q'), "Unknown");
}

TEST(XBaseTexts, ADamagedHeaderNeverReachesBeyondTheDescriptors) {
  XBaseTable table;
  EXPECT_EQ(XBaseFieldCount(table), 0u);  // no descriptors yet
  MakeTable(&table);
  table.header[8] = 0xFF, table.header[9] = 0xFF;
  EXPECT_LE(XBaseFieldCount(table), kXBaseMaxFields);
  table.header[8] = 5, table.header[9] = 0;
  EXPECT_EQ(XBaseFieldCount(table), 0u);
}

TEST(XBaseFieldRules, FixedTypesTakeTheirLengthsAndStoreRulesClampEachType) {
  XBaseFieldValues values{"FLAG", 'C', 12, 3};
  ApplyXBaseFieldType(&values, 'L');
  EXPECT_EQ(values.length, 1);
  EXPECT_EQ(values.decimals, 0);
  EXPECT_FALSE(XBaseLengthEditable('L'));
  EXPECT_TRUE(XBaseLengthEditable('N') && XBaseDecimalsEditable('N'));
  EXPECT_FALSE(XBaseDecimalsEditable('C'));
  EXPECT_EQ(XBaseTypeItem('M'), 5);
  EXPECT_EQ(XBaseTypeItem('I'), -1);

  const struct {
    uint8_t dialect;
    char type;
    int32_t length, decimals;
    uint8_t lengthByte, decimalsByte;
  } cases[] = {
      {4, 'N', 30, 2, 20, 2},  {3, 'C', 300, 0, 254, 0}, {4, 'F', 8, 40, 8, 18},
      {5, 'C', 300, 0, 44, 1}, {6, 'C', 80, 0, 80, 0},  {4, 'I', 300, 0, 255, 0},
  };
  for (const auto& c : cases) {
    uint8_t field[kXBaseFieldSize];
    std::memset(field, 0xAA, sizeof field);
    XBaseFieldValues edited{"AMOUNT", c.type, c.length, c.decimals};
    StoreXBaseField(field, c.dialect, edited);
    EXPECT_EQ(field[kXBaseFieldLength], c.lengthByte) << c.type << c.length;
    EXPECT_EQ(field[kXBaseFieldDecimals], c.decimalsByte) << c.type << c.length;
    EXPECT_EQ(field[kXBaseFieldType], static_cast<uint8_t>(c.type));
    EXPECT_STREQ(reinterpret_cast<const char*>(field), "AMOUNT");
    EXPECT_EQ(field[10], 0);  // the name's bytes are padded with NULs
    // What the dialog reads back is what it stored.
    XBaseFieldValues back = XBaseFieldValuesOf(field, c.dialect);
    if (c.dialect == 5 && c.type == 'C') {
      EXPECT_EQ(back.length, 300);
    }
  }
}

}  // namespace
