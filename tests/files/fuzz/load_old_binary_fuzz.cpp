// libFuzzer target: a whole file read by the older binary reader. A load
// either fails with a code and nothing loaded, or gives a workbook whose
// tree, styles, stores and containers keep their invariants and which
// saves in both native formats as files that load again.

#include <cstdint>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/files/fuzz/fuzz_support.h"
#include "tests/files/fuzz/saves_and_loads_again.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::InputPath(".old");
  if (!fuzzing::WriteInputFile(path, data, size))
    return 0;
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  if (!book->LoadOldBinary()) {
    fuzzing::Check(book->error != 0 && book->firstItem == nullptr);
    return 0;
  }
  fuzzing::Check(book->CheckTreeInvariants());
  fuzzing::Check(book->styles.CheckInvariants());
  for (auto* item = book->firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    fuzzing::Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
    for (const ContainerRecord* container = sheet->containers; container; container = container->next)
      fuzzing::Check(container->CheckInvariants());
  }
  static const std::string saved = fuzzing::InputPath("-saved.tlv");
  fuzzing::Check(SavesAndLoadsAgain(book.get(), saved));
  return 0;
}
