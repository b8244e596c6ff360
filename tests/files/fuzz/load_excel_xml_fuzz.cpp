// libFuzzer target: a whole Excel 2003 XML Spreadsheet file, imported with
// the rows measured. An import either fails with a code or gives a
// workbook whose tree, styles and stores keep their invariants.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/core/fake_text_measurer.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + ".xmlss";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
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
