// The plain text a copied range gives other programs, and text from other
// programs read back as typed cells.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/clipboard/pasted_text.h"
#include "app/clipboard/range_text.h"
#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "test_seed.h"
#include "tests/core/generic_locale_test.h"

namespace {

using ClipboardText = GenericLocaleTest;

void PutNumber(CWorkSheet* sheet, uint32_t row, uint16_t column, double value) {
  uint8_t record[kNumberCellSize];
  ASSERT_NE(BuildNumberCell(record, sizeof record, row, column, value), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

void PutText(CWorkSheet* sheet, uint32_t row, uint16_t column, const std::string& text) {
  std::vector<uint8_t> record(kTextCellHeadSize + text.size());
  ASSERT_NE(BuildTextCell(record.data(), record.size(), row, column, text.data(), uint16_t(text.size())), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record.data()), nullptr));
}

std::string TextOf(CWorkBook& book, const UndoRange& range) {
  RangeText text;
  if (!FormatRangeText(&book, book.activeWorksheet, range, &text)) return "<refused>";
  EXPECT_EQ(std::strlen(text.text), text.length);
  return std::string(text.text, text.length);
}

// A block's cells as "row,column:value" lines, numbers and texts alike.
std::string Cells(const CellStore& cells) {
  std::string out;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = cells.FirstBlock();
  while (const CellRecord* cell = walk.Next()) {
    out += std::to_string(cell->Row()) + "," + std::to_string(cell->Column()) + ":";
    if (cell->IsNumber()) out += "n" + std::to_string(cell->Number());
    if (cell->IsText()) out += "t" + std::string(cell->Text(), cell->TextLength());
    if (cell->IsFormula()) out += "f" + std::string(cell->FormulaText(), cell->FormulaLength());
    out += "\n";
  }
  return out;
}

TEST_F(ClipboardText, RangeIsWrittenWithTabsLineEndsAndQuotes) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet* sheet = book.activeWorksheet;
  PutNumber(sheet, 1, 1, 1.5);
  PutText(sheet, 1, 2, "a\tb");
  PutText(sheet, 2, 1, "say \"hi\"");
  PutText(sheet, 2, 3, "plain");
  PutText(sheet, 3, 3, "two\r\nlines");
  PutNumber(sheet, 5, 5, 7);  // outside every range below
  const struct {
    UndoRange range;
    const char* text;
  } cases[] = {
      {{1, 1, 1, 1}, "1.5"},
      {{2, 1, 2, 1}, "\"a\tb\""},
      {{1, 2, 1, 2}, "\"say \"\"hi\"\"\""},
      {{1, 1, 3, 2}, "1.5\t\"a\tb\"\t\r\n\"say \"\"hi\"\"\"\t\tplain"},
      // Empty cells, rows and columns keep their separators.
      {{0, 0, 2, 1}, "\t\t\r\n\t1.5\t\"a\tb\""},
      {{0, 3, 1, 4}, "\t\r\n\t"},
      {{3, 3, 3, 3}, "\"two\r\nlines\""},
      {{4, 0, 4, 0}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextOf(book, c.range), c.text) << c.range.firstColumn << "," << c.range.firstRow;
  }
  // Whole columns of the grid are more separators than a text may hold.
  EXPECT_EQ(TextOf(book, UndoRange{0, 0, kMaxColumn, kMaxRow}), "<refused>");
}

TEST_F(ClipboardText, NumbersAreWrittenAsTheViewShowsThem) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet* sheet = book.activeWorksheet;
  StyleRecord percent = StyleRecord::Default();
  percent.numFormat.category = kNumFormatPercent;
  percent.numFormat.options.number.fixedDecimals = 1;
  percent.numFormat.options.number.decimals = 1;
  ASSERT_TRUE(book.ApplyFormatToRange(&book.styles, 0, 0, 0, 0, &sheet->format, kApplyNumberFormat, percent,
                                      book.styles.FontAt(0)));
  PutNumber(sheet, 0, 0, 0.125);
  PutNumber(sheet, 0, 1, 0.125);
  EXPECT_EQ(TextOf(book, UndoRange{0, 0, 1, 0}), "12.5%\t0.125");
}

struct ParsedCase {
  const char* what;
  const char* text;
  const char* cells;
  uint16_t lastColumn;
  uint32_t lastRow;
};

TEST_F(ClipboardText, TextIsReadAsTypedCells) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  const std::string wrapped = std::string(kMaxColumn, '\t') + "last\tfirst";
  const ParsedCase cases[] = {
      {"three fields", "1\t2\tx", "0,0:n1.000000\n0,1:n2.000000\n0,2:tx\n", 2, 0},
      {"an empty field leaves its cell out", "a\t\tb", "0,0:ta\n0,2:tb\n", 2, 0},
      {"CR LF, bare LF and bare CR end rows", "a\r\nb\nc\rd", "0,0:ta\n1,0:tb\n2,0:tc\n3,0:td\n", 0, 3},
      {"a final line end adds no row", "a\tb\r\n", "0,0:ta\n0,1:tb\n", 1, 0},
      {"empty rows and trailing TABs", "\r\n\r\n\tz\t\t", "2,1:tz\n", 1, 2},
      {"quoted fields as copies write them", "\"a\tb\"\t\"say \"\"hi\"\"\"\r\n\"two\r\nlines\"",
       "0,0:ta\tb\n0,1:tsay \"hi\"\n1,0:ttwo\r\nlines\n", 1, 1},
      {"a quote not closed before its separator is text", "\"a\"b\t\"open\n5",
       "0,0:t\"a\"b\n0,1:t\"open\n1,0:n5.000000\n", 1, 1},
      {"a TAB in the last column goes on in column 0", wrapped.c_str(),
       "0,0:tfirst\n0,2046:tlast\n", kMaxColumn, 0},
      {"nothing", "", "", 0, 0},
  };
  for (const ParsedCase& c : cases) {
    PastedBlock block;
    ASSERT_TRUE(ParsePastedText(&book, c.text, std::strlen(c.text), 0, 0, &block)) << c.what;
    EXPECT_EQ(Cells(block.cells), c.cells) << c.what;
    EXPECT_EQ(block.lastColumn, c.lastColumn) << c.what;
    EXPECT_EQ(block.lastRow, c.lastRow) << c.what;
  }
}

// A field longer than typing takes keeps its beginning, as typing would.
TEST_F(ClipboardText, LongFieldKeepsItsBeginning) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  const std::string text = std::string(1500, 'a') + std::string(600, 'b') + "\tnext";
  PastedBlock block;
  ASSERT_TRUE(ParsePastedText(&book, text.data(), text.size(), 0, 0, &block));
  const CellRecord* cell = block.cells.GetCell(0, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(std::string(cell->Text(), cell->TextLength()), std::string(kMaxCellTextLength, 'a'));
  EXPECT_NE(block.cells.GetCell(0, 1), nullptr);
}

// Rows that would land below the grid's last row are left out of the block.
TEST_F(ClipboardText, RowsPastTheGridsLastRowAreLeftOut) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  const std::string text = "1\r\n2\r\n3\r\n4";
  PastedBlock block;
  ASSERT_TRUE(ParsePastedText(&book, text.data(), text.size(), 0, kMaxRow - 1, &block));
  EXPECT_EQ(block.lastRow, 1u);
  EXPECT_NE(block.cells.GetCell(1, 0), nullptr);
  EXPECT_EQ(block.cells.GetCell(2, 0), nullptr);
  EXPECT_EQ(block.cells.GetCell(3, 0), nullptr);
}

// A formula is read where it lands: "=A1" pasted at B2 refers to A1, as typed
// there, in the block whose top-left is column 0 and row 0.
TEST_F(ClipboardText, FormulasMeanWhatTheyMeanTypedWhereTheyLand) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  const std::string text = "=A1\t=A1";
  PastedBlock block;
  ASSERT_TRUE(ParsePastedText(&book, text.data(), text.size(), 1, 1, &block));
  for (uint16_t column = 0; column <= 1; ++column) {
    NumFormatParams format{};
    alignas(8) uint8_t typed[kCellInputCapacity];
    const uint32_t size = ParseCellInput(book.evaluator, "=A1", &format, 1, uint16_t(1 + column), typed, sizeof typed);
    ASSERT_NE(size, 0u);
    AsCellRecord(typed)->SetRow(0);
    AsCellRecord(typed)->SetColumn(column);
    const CellRecord* cell = block.cells.GetCell(0, column);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(cell->Bytes()), cell->Size()),
              std::string(reinterpret_cast<const char*>(typed), size));
  }
}

// Random ranges of numbers and texts (with TABs, quotes and line ends)
// written as text and read back give the same values.
TEST_F(ClipboardText, WrittenTextReadsBackAsTheSameCells) {
  const uint32_t seed = TestSeed(5);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char* const pieces[] = {"a", "B", " ", "\t", "\"", "x\"y", "\r\n", "-", "7"};
  for (int round = 0; round < 20; ++round) {
    CWorkBook book;
    ASSERT_TRUE(book.NewDocument());
    CWorkSheet* sheet = book.activeWorksheet;
    const uint16_t columns = uint16_t(1 + random() % 5);
    const uint32_t rows = 1 + random() % 5;
    for (uint32_t row = 0; row < rows; ++row)
      for (uint16_t column = 0; column < columns; ++column) {
        const uint32_t what = random() % 3;
        if (what == 0) PutNumber(sheet, row, column, double(random() % 100000) / 8);
        if (what == 1) {
          std::string text = "t";  // a letter first, so the text never reads as a number
          for (uint32_t i = random() % 4; i > 0; --i) text += pieces[random() % 9];
          PutText(sheet, row, column, text);
        }
      }
    RangeText text;
    ASSERT_TRUE(FormatRangeText(&book, sheet, UndoRange{0, 0, uint16_t(columns - 1), rows - 1}, &text));
    PastedBlock block;
    ASSERT_TRUE(ParsePastedText(&book, text.text, text.length, 0, 0, &block));
    ASSERT_EQ(Cells(block.cells), Cells(sheet->cells)) << "round " << round << "\n" << text.text;
  }
}

}  // namespace
