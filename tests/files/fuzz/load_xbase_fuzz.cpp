// libFuzzer target: a whole xBase table read into a worksheet in the
// dialect and code page its length chooses, with the same bytes as its memo
// file, so that memo blocks of every layout are read from damaged data. A
// load gives one worksheet whose stores keep their invariants, or fails
// with a code; a table that loads saves in its own dialect and loads again
// with the same cells, but for memos that could not be read, which it saves
// as none.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/base/error_code.h"
#include "core/numfmt/double_to_text.h"
#include "core/workbook/workbook.h"
#include "files/xbase/xbase_memo.h"
#include "tests/files/fuzz/fuzz_support.h"
#include "tests/files/fuzz/same_cells.h"

namespace {

// The cells as the table holds them: a number of a numeric field with the
// decimals the field writes (a table may hold more, which a save rounds),
// every other cell as stored; the "#NULL!" an unreadable memo loads as left
// out when asked, since a save writes such a memo as none; the texts of
// records (not the field names above them) as the DOS code page gives them
// back when asked.
std::string TableCells(CWorkSheet* sheet, const XBaseTable& table, bool withUnreadMemos, bool throughOem) {
  std::string text;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = sheet->cells.FirstBlock();
  while (const CellRecord* cell = cursor.Next()) {
    const uint8_t* field = XBaseFieldAt(table, cell->Column());
    const char type = field ? char(field[kXBaseFieldType]) : 0;
    if (!withUnreadMemos && type == 'M' && cell->ErrorCode() == kErrorNull)
      continue;
    int decimals = -1;
    if (type == 'N' || type == 'F')
      decimals = field[kXBaseFieldDecimals];
    else if (type == 'I')
      decimals = 0;
    else if (type == 'Y')
      decimals = 6;
    if (cell->IsNumber() && decimals >= 0) {
      char number[512];
      if (PrintFixedDecimals(cell->Number(), decimals, number, sizeof number) == 0)
        number[0] = '\0';
      text += fuzzing::Where(*cell) + "number " + number + "\n";
    } else {
      // Tables load no formulas: a cell is a text or a number.
      std::string held = cell->IsText() ? std::string(cell->Text(), cell->TextLength()) : std::string();
      if (throughOem && cell->Row() > 0 && (type == 'C' || type == 'M'))
        held = fuzzing::ThroughOem(held);
      text += fuzzing::Where(*cell) + (cell->IsText() ? "text '" + held + "'" : "number " + HexBits(cell->Number())) +
              "\n";
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::InputPath(".dbf");
  const uint8_t dialect = uint8_t(kXBaseDBaseIII + size % 4);
  char memo[kFilePathSize];
  if (!XBaseMemoFileName(path.c_str(), memo, sizeof memo, dialect) || !fuzzing::WriteInputFile(path, data, size) ||
      !fuzzing::WriteInputFile(memo, data, size))
    return 0;
  auto book = std::make_unique<CWorkBook>();
  book->xbaseTable.dialect = dialect;
  book->xbaseTable.codePage = (size / 4) % 2 ? kXBaseCodePageOem : kXBaseCodePageAnsi;
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  const bool loaded = book->LoadXBase();
  std::remove(memo);
  if (!loaded) {
    fuzzing::Check(book->error != 0);
    return 0;
  }
  fuzzing::Check(book->CheckTreeInvariants() && book->worksheetCount == 1 && book->activeWorksheet);
  fuzzing::Check(XBaseFieldCount(book->xbaseTable) >= 1);
  fuzzing::Check(book->activeWorksheet->cells.CheckInvariants() && book->activeWorksheet->format.CheckInvariants());
  fuzzing::Check(book->styles.CheckInvariants());

  CWorkSheet* sheet = book->activeWorksheet;
  static const std::string saved = fuzzing::InputPath("-saved.dbf");
  char savedMemo[kFilePathSize];
  if (!XBaseMemoFileName(saved.c_str(), savedMemo, sizeof savedMemo, book->xbaseTable.dialect) ||
      !book->bufferedFile.Open(saved.c_str(), "w+b"))
    return 0;
  fuzzing::Check(book->SaveXBase(sheet));
  book->bufferedFile.Close();
  auto again = std::make_unique<CWorkBook>();
  again->xbaseTable.dialect = book->xbaseTable.dialect;
  again->xbaseTable.codePage = book->xbaseTable.codePage;
  if (!again->bufferedFile.Open(saved.c_str(), "rb"))
    return 0;
  fuzzing::Check(again->LoadXBase());
  again->bufferedFile.Close();
  std::remove(savedMemo);
  // A memo that could not be read loaded as "#NULL!" and was saved as none.
  const bool oem = book->xbaseTable.codePage == kXBaseCodePageOem;
  fuzzing::CheckSame(TableCells(sheet, book->xbaseTable, false, oem),
                     TableCells(again->activeWorksheet, again->xbaseTable, true, false), "an xBase save");
  return 0;
}
