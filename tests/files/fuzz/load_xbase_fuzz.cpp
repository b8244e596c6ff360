// libFuzzer target: a whole xBase table read into a worksheet in the
// dialect and code page its length chooses, with the same bytes as its memo
// file, so that memo blocks of every layout are read from damaged data. A
// load gives one worksheet whose stores keep their invariants, or fails
// with a code.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "files/xbase/xbase_memo.h"
#include "tests/files/fuzz/fuzz_support.h"

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
  return 0;
}
