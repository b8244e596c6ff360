// libFuzzer target: a whole Excel 2003 XML Spreadsheet file, imported with
// the rows measured. An import either fails with a code or gives a
// workbook whose tree, styles and stores keep their invariants.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/files/fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteFuzzInput(data, size, ".xmlss");
  if (path.empty())
    return 0;
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  FakeTextMeasurer screen;
  const bool loaded = book->LoadExcelXml(&screen.Measurer());
  Check(loaded == (book->error == 0));
  Check(book->CheckTreeInvariants());
  Check(book->styles.CheckInvariants());
  for (auto* item = book->firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
  return 0;
}
