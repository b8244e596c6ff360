#include "core/cells/cell_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// Files, undo steps and the clipboard copy records byte for byte, so a
// formula cell must come out exactly as laid out, on both targets.
TEST(CellRecord, FormulaCellBytesAreExact) {
  FormulaCellFields fields;
  fields.formula = "R1C1+1";
  fields.formulaLength = 6;
  fields.resultFlags = kResultArray;
  fields.cachedNumber = 1.5;
  fields.cachedText = "ab";
  fields.cachedTextLength = 2;
  fields.arrayColumns = 3;
  fields.arrayRows = 0x01020304;
  fields.typeExtra = kErrorValue;
  uint8_t buffer[64];
  ASSERT_EQ(BuildFormulaCell(buffer, sizeof buffer, 0x00123456, 0x07FE, fields), 35u + 6 + 2 + 2);

  const uint8_t expected[] = {
      0x74,                    // formula, "#VALUE!"
      0xFE, 0x07,              // column
      0x56, 0x34, 0x12, 0x00,  // row
      0x03, 0x00,              // array columns
      0x04, 0x03, 0x02, 0x01,  // array rows
      0x00,                    // pending
      0x05,                    // cached text + array
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // dependant link
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F,              // 1.5
      0x06, 0x00, 'R', '1', 'C', '1', '+', '1',                    // formula text
      0x02, 0x00, 'a', 'b'};                                       // cached text
  EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof expected));

  const CellRecord* record = AsCellRecord(buffer);
  EXPECT_TRUE(record->IsFormula());
  EXPECT_EQ(record->ErrorCode(), kErrorValue);
  EXPECT_EQ(record->Row(), 0x00123456u);
  EXPECT_EQ(record->Column(), 0x07FE);
  EXPECT_EQ(record->ArrayRows(), 0x01020304u);
  EXPECT_EQ(record->CachedNumber(), 1.5);
  EXPECT_EQ(std::string(record->FormulaText(), record->FormulaLength()), "R1C1+1");
  ASSERT_TRUE(record->HasCachedText());
  EXPECT_EQ(std::string(record->CachedText(), record->CachedTextLength()), "ab");
}

TEST(CellRecord, SizeFollowsTypeByteAndLengths) {
  uint8_t buffer[256];
  EXPECT_EQ(BuildTextCell(buffer, sizeof buffer, 1, 2, "hello", 5), 14u);
  EXPECT_EQ(AsCellRecord(buffer)->Size(), 14u);
  EXPECT_EQ(BuildNumberCell(buffer, sizeof buffer, 1, 2, 3.0), 15u);
  EXPECT_EQ(AsCellRecord(buffer)->Size(), 15u);

  FormulaCellFields fields;
  fields.formula = "1";
  fields.formulaLength = 1;
  fields.resultFlags = kResultCachedText;  // no text given: the flag is dropped
  EXPECT_EQ(BuildFormulaCell(buffer, sizeof buffer, 1, 2, fields), 36u);
  EXPECT_FALSE(AsCellRecord(buffer)->HasCachedText());
  fields.cachedText = "";
  EXPECT_EQ(BuildFormulaCell(buffer, sizeof buffer, 1, 2, fields), 38u);
  EXPECT_EQ(AsCellRecord(buffer)->Size(), 38u);

  // A type byte naming no kind, or two, has no size.
  for (uint8_t type : {0x00, 0x03, 0x05, 0x06, 0x07, 0x08, 0xF0}) {
    buffer[0] = type;
    EXPECT_EQ(AsCellRecord(buffer)->Size(), 0u) << int(type);
  }
}

TEST(CellRecord, BuildersRefuseTooSmallBuffers) {
  uint8_t buffer[16];
  std::memset(buffer, 0xAA, sizeof buffer);
  EXPECT_EQ(BuildTextCell(buffer, sizeof buffer, 0, 0, "12345678", 8), 0u);
  EXPECT_EQ(BuildNumberCell(buffer, 14, 0, 0, 1.0), 0u);
  FormulaCellFields fields;
  EXPECT_EQ(BuildFormulaCell(buffer, sizeof buffer, 0, 0, fields), 0u);
  for (uint8_t b : buffer) EXPECT_EQ(b, 0xAA);
}

TEST(CellRecord, SpillingArrayFormulas) {
  struct Case {
    uint16_t columns;
    uint32_t rows;
    uint8_t flags;
    uint8_t error;
    bool spills;
  };
  const Case cases[] = {
      {3, 3, kResultArray, 0, true},           {2, 1, kResultArray, 0, true},
      {1, 2, kResultArray, 0, true},           {1, 1, kResultArray, 0, false},
      {0, 5, kResultArray, 0, false},          {3, 3, 0, 0, false},
      // A blocked result keeps no extent; one whose first element carries
      // "#FILL!" spills like any other.
      {3, 3, kResultArray, kErrorFill, true},  {3, 3, kResultArray, kErrorValue, true},
  };
  for (const Case& c : cases) {
    FormulaCellFields fields;
    fields.arrayColumns = c.columns;
    fields.arrayRows = c.rows;
    fields.resultFlags = c.flags;
    fields.typeExtra = c.error;
    uint8_t buffer[64];
    ASSERT_NE(BuildFormulaCell(buffer, sizeof buffer, 0, 0, fields), 0u);
    EXPECT_EQ(AsCellRecord(buffer)->IsSpillingArrayFormula(), c.spills)
        << c.columns << "x" << c.rows << " flags " << int(c.flags) << " error " << int(c.error);
  }
}

// The go-to commands compare a row's cells with another row's: the same
// cell in another row matches, and any other byte of the record does not.
TEST(CellRecord, SameCellApartFromRow) {
  // On the heap: the compiler cannot see which kind a record is.
  std::vector<uint8_t> reference(32);
  std::vector<uint8_t> other(32);
  BuildNumberCell(reference.data(), reference.size(), 3, 7, 2.5);
  const auto same = [&] {
    return SameCellApartFromRow(*AsCellRecord(reference.data()), *AsCellRecord(other.data()));
  };
  BuildNumberCell(other.data(), other.size(), 900, 7, 2.5);
  EXPECT_TRUE(same());
  BuildNumberCell(other.data(), other.size(), 3, 8, 2.5);
  EXPECT_FALSE(same());
  BuildNumberCell(other.data(), other.size(), 3, 7, 2.25);
  EXPECT_FALSE(same());
  BuildNumberCell(other.data(), other.size(), 3, 7, 2.5, kCellSpillValue);
  EXPECT_FALSE(same());
  BuildNumberCell(other.data(), other.size(), 3, 7, 2.5, kErrorNum);
  EXPECT_FALSE(same());
  BuildTextCell(other.data(), other.size(), 3, 7, "ab", 2);
  EXPECT_FALSE(same());
  BuildTextCell(reference.data(), reference.size(), 3, 7, "ab", 2);
  BuildTextCell(other.data(), other.size(), 4, 7, "ab", 2);
  EXPECT_TRUE(same());
  BuildTextCell(other.data(), other.size(), 4, 7, "ac", 2);
  EXPECT_FALSE(same());
  // A record of no kind has no size to compare by.
  other = reference;
  reference[0] = other[0] = 0;
  EXPECT_FALSE(same());
}

// The values-only copy of a file keeps no array formula: a value of an
// array result is copied as an ordinary value with every other byte, its
// error code included, and nothing is written past the record.
TEST(CellRecord, CopyWithoutSpillFlagKeepsAllButTheFlag) {
  std::vector<uint8_t> records[4];
  for (std::vector<uint8_t>& record : records) record.resize(64);
  BuildNumberCell(records[0].data(), 64, 5, 2, 1.25, kCellSpillValue);
  BuildTextCell(records[1].data(), 64, 5, 3, "spilled", 7, uint8_t(kCellSpillValue | kErrorNum));
  BuildNumberCell(records[2].data(), 64, 6, 2, -3.0, kErrorValue);
  FormulaCellFields fields;
  fields.formula = "R1C1";
  fields.formulaLength = 4;
  fields.cachedText = "x";
  fields.cachedTextLength = 1;
  BuildFormulaCell(records[3].data(), 64, 7, 9, fields);
  for (const std::vector<uint8_t>& bytes : records) {
    const CellRecord& record = *AsCellRecord(bytes.data());
    const std::vector<uint8_t> before = bytes;
    std::vector<uint8_t> copy(80, 0xEE);
    ASSERT_EQ(CopyRecordWithoutSpillFlag(record, copy.data()), record.Size());
    EXPECT_EQ(bytes, before);
    EXPECT_EQ(copy[0], uint8_t(bytes[0] & ~kCellSpillValue));
    EXPECT_FALSE(AsCellRecord(copy.data())->IsSpillValue());
    EXPECT_EQ(AsCellRecord(copy.data())->ErrorCode(), record.ErrorCode());
    EXPECT_TRUE(std::equal(bytes.begin() + 1, bytes.begin() + record.Size(), copy.begin() + 1));
    EXPECT_EQ(copy[record.Size()], 0xEE);
  }
  // A record of no kind has no size to copy by.
  std::vector<uint8_t> none = records[0];
  none[0] = kCellSpillValue;
  std::vector<uint8_t> copy(80, 0xEE);
  EXPECT_EQ(CopyRecordWithoutSpillFlag(*AsCellRecord(none.data()), copy.data()), 0u);
  EXPECT_EQ(copy, std::vector<uint8_t>(80, 0xEE));
}
