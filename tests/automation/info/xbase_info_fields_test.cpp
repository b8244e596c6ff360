#include "automation/info/xbase_info_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FieldRead {
  std::string name;
  uint8_t type, length, decimals;
};

FieldRead Read(XBaseInfoFields& fields, int32_t index) {
  char name[kXBaseInfoNameSize];
  FieldRead read = {};
  EXPECT_TRUE(fields.GetField(index, name, &read.type, &read.length, &read.decimals)) << index;
  read.name = name;
  return read;
}

TEST(XBaseInfoFields, StartsAsAnAnsiDBaseIVTableWithoutFields) {
  XBaseInfoFields fields;
  EXPECT_EQ(fields.table.dialect, 4);
  EXPECT_EQ(fields.table.codePage, 2);
  EXPECT_EQ(fields.count, 0);
  char name[kXBaseInfoNameSize];
  uint8_t type, length, decimals;
  EXPECT_FALSE(fields.GetField(0, name, &type, &length, &decimals));
  EXPECT_EQ(fields.error, kInfoInvalidArgument);
}

TEST(XBaseInfoFields, KeepsLengthAndDecimalsAsEachTypeDoes) {
  const struct {
    uint8_t dialect;
    char type;
    int32_t length, decimals;
    uint8_t storedLength, storedDecimals;
  } cases[] = {
      {4, 'C', 40, 3, 40, 0},
      {5, 'C', 300, 0, 44, 1},  // FoxPro keeps the high byte of a long text
      {6, 'C', 1000, 0, 232, 3},
      {6, 'C', 254, 0, 254, 0},
      {3, 'C', 300, 0, 44, 0},  // dBase III has no long texts
      {4, 'N', 12, 2, 12, 2},
      {4, 'F', 20, 5, 20, 5},
      {4, 'L', 9, 9, 1, 0},
      {4, 'D', 3, 3, 8, 0},
      {4, 'M', 3, 3, 10, 0},
      {4, 'B', 8, 2, 0, 0},  // other types keep only name and type
  };
  for (const auto& c : cases) {
    XBaseInfoFields fields;
    fields.table.dialect = c.dialect;
    ASSERT_TRUE(fields.SetFieldCount(1));
    ASSERT_TRUE(fields.SetField(0, "FIELD", static_cast<uint8_t>(c.type), c.length, c.decimals));
    const FieldRead read = Read(fields, 0);
    EXPECT_EQ(read.name, "FIELD");
    EXPECT_EQ(read.type, c.type);
    EXPECT_EQ(read.length, c.storedLength) << c.type << c.length;
    EXPECT_EQ(read.decimals, c.storedDecimals) << c.type << c.length;
  }
}

TEST(XBaseInfoFields, NamesFillElevenBytesAtMost) {
  XBaseInfoFields fields;
  ASSERT_TRUE(fields.SetFieldCount(2));
  ASSERT_TRUE(fields.SetField(0, "ABCDEFGHIJKLMNOP", 'C', 5, 0));
  EXPECT_EQ(Read(fields, 0).name, "ABCDEFGHIJK");
  // The rest of the descriptor stays clear for the table file.
  for (size_t i = 18; i < kXBaseFieldSize; ++i) EXPECT_EQ(fields.table.fieldDescriptors[i], 0) << i;
}

TEST(XBaseInfoFields, DeletingAFieldMovesTheFollowingOnesDown) {
  XBaseInfoFields fields;
  ASSERT_TRUE(fields.SetFieldCount(4));
  const char* names[] = {"A", "B", "C", "D"};
  for (int32_t i = 0; i < 4; ++i) ASSERT_TRUE(fields.SetField(i, names[i], 'N', 5 + i, 0));
  ASSERT_TRUE(fields.DeleteField(1));
  EXPECT_EQ(fields.count, 3);
  EXPECT_EQ(Read(fields, 0).name, "A");
  EXPECT_EQ(Read(fields, 1).name, "C");
  EXPECT_EQ(Read(fields, 1).length, 7);
  EXPECT_EQ(Read(fields, 2).name, "D");
  ASSERT_TRUE(fields.DeleteField(2));
  EXPECT_EQ(fields.count, 2);
  EXPECT_EQ(Read(fields, 1).name, "C");
}

TEST(XBaseInfoFields, RefusesIndexesAndCountsOutsideTheTable) {
  XBaseInfoFields fields;
  for (int32_t count : {-1, 2048}) {
    fields.error = kInfoNoError;
    EXPECT_FALSE(fields.SetFieldCount(count)) << count;
    EXPECT_EQ(fields.error, kInfoInvalidArgument);
  }
  ASSERT_TRUE(fields.SetFieldCount(2047));
  ASSERT_TRUE(fields.SetField(2046, "LAST", 'L', 0, 0));
  for (int32_t index : {-1, 2047}) {
    fields.error = kInfoNoError;
    EXPECT_FALSE(fields.SetField(index, "X", 'C', 1, 0)) << index;
    EXPECT_FALSE(fields.DeleteField(index)) << index;
    EXPECT_EQ(fields.error, kInfoInvalidArgument);
  }
  // A new count clears every descriptor.
  ASSERT_TRUE(fields.SetFieldCount(2047));
  EXPECT_EQ(Read(fields, 2046).name, "");
  ASSERT_TRUE(fields.SetFieldCount(0));
  EXPECT_FALSE(fields.DeleteField(0));
}

TEST(XBaseInfoFields, TakesOnlyTheAnsiAndOemEncodings) {
  XBaseInfoFields fields;
  for (int32_t encoding : {1, 4, -2}) EXPECT_FALSE(fields.SetEncoding(encoding)) << encoding;
  EXPECT_EQ(fields.table.codePage, 2);
  EXPECT_TRUE(fields.SetEncoding(3));
  EXPECT_EQ(fields.table.codePage, 3);
}

}  // namespace
