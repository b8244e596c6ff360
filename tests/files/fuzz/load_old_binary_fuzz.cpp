// libFuzzer target: a whole file read by the older binary reader. A load
// either fails with a code and nothing loaded, or gives a workbook whose
// tree, styles, stores and containers keep their invariants.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/files/fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteFuzzInput(data, size, ".old");
  if (path.empty())
    return 0;
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  if (!book->LoadOldBinary()) {
    Check(book->error != 0 && book->firstItem == nullptr);
    return 0;
  }
  Check(book->CheckTreeInvariants());
  Check(book->styles.CheckInvariants());
  for (auto* item = book->firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
    for (const ContainerRecord* container = sheet->containers; container; container = container->next)
      Check(container->CheckInvariants());
  }
  return 0;
}
