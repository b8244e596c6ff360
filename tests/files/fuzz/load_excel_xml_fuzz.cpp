// libFuzzer target: a whole Excel 2003 XML Spreadsheet file, imported with
// the rows measured. An import either fails with a code or gives a
// workbook whose tree, styles and stores keep their invariants, which saves
// as Excel XML that imports again with the same cells, and in both native
// formats as files that load again with them.

#include <cstdint>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/files/fuzz/fuzz_support.h"
#include "tests/files/fuzz/saves_and_loads_again.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::InputPath(".xmlss");
  if (!fuzzing::WriteInputFile(path, data, size))
    return 0;
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  FakeTextMeasurer screen;
  const bool loaded = book->LoadExcelXml(&screen.Measurer());
  fuzzing::Check(loaded == (book->error == 0));
  fuzzing::Check(book->CheckTreeInvariants());
  fuzzing::Check(book->styles.CheckInvariants());
  for (auto* item = book->firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      fuzzing::Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
  if (loaded) {
    static const std::string exported = fuzzing::InputPath("-saved.xmlss");
    if (book->bufferedFile.Open(exported.c_str(), "w+b")) {
      fuzzing::Check(book->SaveExcelXml(&screen.Measurer()));
      book->bufferedFile.Close();
      auto again = std::make_unique<CWorkBook>();
      if (again->bufferedFile.Open(exported.c_str(), "rb")) {
        fuzzing::Check(again->LoadExcelXml(&screen.Measurer()));
        again->bufferedFile.Close();
        fuzzing::CheckSame(fuzzing::BookCells(book.get()), fuzzing::BookCells(again.get()), "an Excel XML save");
      }
    }
    static const std::string saved = fuzzing::InputPath("-saved.tlv");
    fuzzing::Check(SavesAndLoadsAgain(book.get(), saved));
  }
  return 0;
}
