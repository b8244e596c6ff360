// Values written into rectangles of cells and read back as a client reads
// them.

#include "automation/worksheet/worksheet_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/error_code.h"

namespace {

WorksheetValue Number(double number) { return WorksheetValue{kWorksheetNumber, 0, number, nullptr, 0}; }
WorksheetValue Text(const char* text) {
  return WorksheetValue{kWorksheetText, 0, 0, text, static_cast<uint16_t>(std::strlen(text))};
}
WorksheetValue Error(uint8_t code) { return WorksheetValue{kWorksheetError, code, 0, nullptr, 0}; }

uint32_t CellCount(const CellStore& cells) {
  uint32_t count = 0;
  for (const CellBlock* block = cells.FirstBlock(); block != nullptr; block = block->next)
    for (uint32_t offset = 0; offset < block->used; offset += AsCellRecord(block->payload + offset)->Size()) ++count;
  return count;
}

TEST(WorksheetValue, EachKindFillsTheRectangleAndReadsBackAsWritten) {
  const CellRange square = {0, 0, 1, 1};
  const std::string longText(1500, 'x');
  const WorksheetValue values[] = {Number(5), Text("two words"), Error(7), Text(longText.c_str())};
  for (const WorksheetValue& value : values) {
    CellStore cells;
    ASSERT_TRUE(FillRangeWithValue(&cells, square, value));
    EXPECT_EQ(CellCount(cells), 4u);
    for (uint32_t row = 0; row <= 1; ++row) {
      for (uint16_t column = 0; column <= 1; ++column) {
        const WorksheetValue read = ReadWorksheetValue(cells.GetCell(row, column));
        ASSERT_EQ(read.kind, value.kind);
        if (value.kind == kWorksheetNumber) {
          EXPECT_EQ(read.number, 5.0);
        }
        if (value.kind == kWorksheetError) {
          EXPECT_EQ(read.error, 7);
        }
        if (value.kind == kWorksheetText) {
          // Cells keep the texts typing keeps.
          const size_t kept = value.length < kMaxCellTextLength ? value.length : kMaxCellTextLength;
          EXPECT_EQ(std::string(read.text, read.length), std::string(value.text, kept));
        }
      }
    }
    EXPECT_TRUE(cells.CheckInvariants());
  }
}

TEST(WorksheetValue, AFormulaGivesItsErrorFirstThenItsCachedResult) {
  const char formula[] = "=1";
  struct Case {
    uint8_t typeExtra;
    const char* cachedText;
    WorksheetValueKind kind;
  } cases[] = {
      {0, nullptr, kWorksheetNumber},
      {0, "result", kWorksheetText},
      {kErrorDivZero, "result", kWorksheetError},
  };
  for (const Case& c : cases) {
    uint8_t buffer[128];
    FormulaCellFields fields;
    fields.formula = formula;
    fields.formulaLength = 2;
    fields.resultFlags = kResultCachedNumber;
    fields.cachedNumber = 3.5;
    fields.cachedText = c.cachedText;
    fields.cachedTextLength = c.cachedText ? static_cast<uint16_t>(std::strlen(c.cachedText)) : 0;
    fields.typeExtra = c.typeExtra;
    ASSERT_NE(BuildFormulaCell(buffer, sizeof buffer, 0, 0, fields), 0u);
    const WorksheetValue read = ReadWorksheetValue(AsCellRecord(buffer));
    EXPECT_EQ(read.kind, c.kind);
    if (c.kind == kWorksheetNumber) {
      EXPECT_EQ(read.number, 3.5);
    }
    if (c.kind == kWorksheetText) {
      EXPECT_EQ(std::string(read.text, read.length), "result");
    }
    if (c.kind == kWorksheetError) {
      EXPECT_EQ(read.error, 1);
    }
  }
}

}  // namespace
