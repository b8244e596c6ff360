// What a worksheet loses as an xBase table read back: the first row that
// the field names replace, the values their fields cut, round or cannot
// hold and the empty cells of number fields that come back as 0, judged
// before the table is written and checked against tables really written
// and read.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "core/base/error_code.h"
#include "core/edit/cell_display_text.h"
#include "files/xbase/xbase_cell_value.h"
#include "files/xbase/xbase_losses.h"
#include "tests/files/exchange_test_support.h"
#include "tests/test_random.h"
#include "tests/test_seed.h"

namespace {

using exchange::PutNumber;
using exchange::PutText;

void SetField(XBaseTable* table, uint32_t index, char type, uint8_t length, uint8_t decimals) {
  uint8_t* field = XBaseFieldAt(*table, index);
  field[kXBaseFieldType] = uint8_t(type);
  field[kXBaseFieldLength] = length;
  field[kXBaseFieldDecimals] = decimals;
}

// Fields of every type; the tables written and read below try character and
// numeric fields at random. A first row left empty reads back holding the
// field names.
TEST(XBaseLosses, FirstRowAndValuesAsTheirFieldsGiveThemBack) {
  const struct {
    const char* name;
    uint8_t dialect;
    std::function<void(CWorkSheet*)> fill;
    std::function<void(XBaseTable*)> edit;  // the user's changes in the xBase dialog
    bool firstRow;
    bool values;
  } cases[] = {
      {"names and numbers", kXBaseDBaseIV,
       [](CWorkSheet* s) {
         PutText(s, 0, 0, "NAME");
         PutText(s, 0, 1, "AMOUNT");
         PutText(s, 1, 0, "Ann");
         PutNumber(s, 1, 1, 12.25);
       },
       nullptr, false, false},
      {"a name longer than ten characters", kXBaseDBaseIV, [](CWorkSheet* s) { PutText(s, 0, 0, "ThirteenChars"); },
       nullptr, true, false},
      {"decimals rounded in dBase III+", kXBaseDBaseIII, [](CWorkSheet* s) { PutNumber(s, 1, 0, 12.25); }, nullptr,
       true, true},
      {"a blank at a text's end", kXBaseDBaseIV, [](CWorkSheet* s) { PutText(s, 1, 0, "ab "); }, nullptr, true,
       true},
      {"a text in a numeric field", kXBaseDBaseIV, [](CWorkSheet* s) { PutText(s, 1, 0, "12"); },
       [](XBaseTable* t) { SetField(t, 0, 'N', 10, 0); }, true, true},
      {"logicals as the reader gives them", kXBaseDBaseIV,
       [](CWorkSheet* s) {
         PutText(s, 1, 0, "Y");
         PutText(s, 2, 0, "N");
       },
       [](XBaseTable* t) { SetField(t, 0, 'L', 1, 0); }, true, false},
      {"a logical spelt out", kXBaseDBaseIV, [](CWorkSheet* s) { PutText(s, 1, 0, "yes"); },
       [](XBaseTable* t) { SetField(t, 0, 'L', 1, 0); }, true, true},
      {"dates as the reader gives them, and one it found none in", kXBaseDBaseIV,
       [](CWorkSheet* s) {
         PutText(s, 1, 0, "2009-03-05");
         PutText(s, 2, 0, "20091305", kErrorValue);
       },
       [](XBaseTable* t) { SetField(t, 0, 'D', 8, 0); }, true, false},
      {"a date in another form", kXBaseDBaseIV, [](CWorkSheet* s) { PutText(s, 1, 0, "5.3.2009"); },
       [](XBaseTable* t) { SetField(t, 0, 'D', 8, 0); }, true, true},
      {"a memo in dBase IV", kXBaseDBaseIV, [](CWorkSheet* s) { PutText(s, 1, 0, std::string(300, 'm')); },
       nullptr, true, false},
      {"a memo in FoxPro", kXBaseFoxPro, [](CWorkSheet* s) { PutText(s, 1, 0, "note"); },
       [](XBaseTable* t) { SetField(t, 0, 'M', 10, 0); }, true, true},
      {"an error value", kXBaseDBaseIV, [](CWorkSheet* s) { PutNumber(s, 1, 0, 0, kErrorDivZero); }, nullptr, true,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto book = exchange::NewBook();
    CWorkSheet* sheet = book->activeWorksheet;
    c.fill(sheet);
    XBaseTable table;
    table.dialect = c.dialect;
    ASSERT_TRUE(book->BuildXBaseFields(sheet, &table));
    if (c.edit)
      c.edit(&table);
    const XBaseLosses losses = FindXBaseLosses(*book, *sheet, table);
    EXPECT_EQ(losses.firstRow, c.firstRow);
    EXPECT_EQ(losses.values, c.values);
  }
}

// Whether a cell comes back from the table as it went in: a text as the
// same text, a number as the same number, or in a character field as the
// text the cell showed.
bool CameBack(const CWorkBook& book, const CWorkSheet& sheet, const CellRecord& cell, const CellRecord* read) {
  const XBaseFieldValue value = XBaseValueOfCell(&cell);
  if (value.isText && value.length == 0)
    return read == nullptr;
  if (read == nullptr || read->ErrorCode() != cell.ErrorCode())
    return false;
  if (value.isText)
    return read->IsText() && std::string(read->Text(), read->TextLength()) == std::string(value.text, value.length);
  if (read->IsNumber())
    return read->Number() == value.number;
  char shown[kCellTextCapacity];
  const size_t length = XBaseNumberText(book, sheet, cell, nullptr, shown);
  return read->IsText() && std::string(read->Text(), read->TextLength()) == std::string(shown, length);
}

// Sheets of numbers and texts written with descriptions the dialog may have
// changed: the judgement made before writing agrees with what the table
// really gives back.
TEST(XBaseLosses, AgreeWithTablesWrittenAndReadBack) {
  const uint32_t seed = TestSeed(90);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  const std::string path = "xbase_losses_agree.dbf";
  const uint8_t dialects[] = {kXBaseDBaseIII, kXBaseDBaseIV, kXBaseFoxPro, kXBaseClipper};
  int written = 0;
  int lossy = 0;
  int blanks = 0;
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    auto book = exchange::NewBook();
    CWorkSheet* sheet = book->activeWorksheet;
    const uint16_t columns = uint16_t(1 + rng.Below(4));
    const uint32_t rows = 1 + rng.Below(5);
    for (uint32_t row = 0; row <= rows; ++row) {
      for (uint16_t column = 0; column < columns; ++column) {
        switch (rng.Below(row == 0 ? 4 : 6)) {
          case 0: break;
          case 1: PutText(sheet, row, column, std::string(1 + rng.Below(12), char('a' + rng.Below(26)))); break;
          case 2: PutNumber(sheet, row, column, double(rng.Below(2000)) - 1000); break;
          default: PutNumber(sheet, row, column, (double(rng.Below(200000)) - 100000) / 1000); break;
        }
      }
    }
    XBaseTable table;
    table.dialect = dialects[rng.Below(4)];
    ASSERT_TRUE(book->BuildXBaseFields(sheet, &table));
    for (uint32_t i = 0; i < XBaseFieldCount(table); ++i) {
      if (!rng.OneIn(3))
        continue;
      const char* types = "CNF";
      SetField(&table, i, types[rng.Below(3)], uint8_t(1 + rng.Below(12)), uint8_t(rng.Below(4)));
    }
    const XBaseLosses judged = FindXBaseLosses(*book, *sheet, table);

    ASSERT_TRUE(table.CopyTo(&book->xbaseTable));
    if (!exchange::SaveWith(book.get(), path, [](CWorkBook* b) { return b->SaveXBase(b->activeWorksheet); }))
      continue;  // a number too wide for its field: refused, nothing lost
    ++written;
    CWorkBook read;
    read.xbaseTable.dialect = table.dialect;
    ASSERT_TRUE(exchange::LoadWith(&read, path, [](CWorkBook* b) { return b->LoadXBase(); }));
    read.bufferedFile.Close();
    XBaseLosses found;
    ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
      const CellRecord* back = read.activeWorksheet->cells.GetCell(cell.Row(), cell.Column());
      bool& lost = cell.Row() == 0 ? found.firstRow : found.values;
      lost = lost || !CameBack(*book, *sheet, cell, back);
      return true;
    });
    // Cells the table gives back where the worksheet had none: the field
    // names over an empty first row, the blank number fields of its records.
    ForEachRecord(read.activeWorksheet->cells, [&](const CellRecord& back) {
      if (back.Row() == 0 && sheet->cells.GetCell(0, back.Column()) == nullptr)
        found.firstRow = true;
      if (back.Row() != 0 && sheet->cells.GetCell(back.Row(), back.Column()) == nullptr) {
        EXPECT_TRUE(back.IsNumber() && back.Number() == 0) << back.Row() << "," << back.Column();
        if (found.emptyNumbers++ == 0) {
          found.emptyRow = back.Row();
          found.emptyColumn = back.Column();
        }
      }
      return true;
    });
    EXPECT_EQ(judged.firstRow, found.firstRow);
    EXPECT_EQ(judged.values, found.values);
    EXPECT_EQ(judged.emptyNumbers, found.emptyNumbers);
    EXPECT_EQ(judged.emptyRow, found.emptyRow);
    EXPECT_EQ(judged.emptyColumn, found.emptyColumn);
    lossy += found.values ? 1 : 0;
    blanks += found.emptyNumbers != 0 ? 1 : 0;
  }
  std::remove(path.c_str());
  // The rounds reach both answers.
  EXPECT_GT(written, 100);
  EXPECT_GT(lossy, 10);
  EXPECT_LT(lossy, written - 10);
  EXPECT_GT(blanks, 10);
  EXPECT_LT(blanks, written - 10);
}

}  // namespace
