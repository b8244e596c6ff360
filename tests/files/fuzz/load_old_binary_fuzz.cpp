// libFuzzer target: a whole file read by the older binary reader. A load
// either fails with a code and nothing loaded, or gives a workbook whose
// tree, styles, stores and containers keep their invariants.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + ".old";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
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
