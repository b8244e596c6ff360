// libFuzzer target: the body reader over raw bytes (the first byte picks
// the version). An accepted body must leave a workbook that keeps its
// invariants, can be written again, and saves in both native formats as
// files that load again.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "files/native_binary/binary_format.h"
#include "tests/files/body_bytes.h"
#include "tests/files/fuzz/saves_and_loads_again.h"

namespace {

bool Discard(void*, const void*, size_t) { return true; }

void Check(bool condition) {
  if (!condition)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1)
    return 0;
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  auto owner = std::make_unique<CWorkBook>();
  CWorkBook& book = *owner;
  if (body::ReadBody(bytes, 1 + data[0] % 3, &book) != 0) {
    Check(book.error != 0 && book.firstItem == nullptr);
    return 0;
  }
  Check(book.CheckTreeInvariants());
  for (auto* item = book.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
  BodySink sink{Discard, nullptr};
  Check(WriteBinaryBody(&book, &sink, false));
  Check(WriteBinaryBody(&book, &sink, true));
  static const std::string path = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + ".tlv";
  Check(SavesAndLoadsAgain(&book, path));
  return 0;
}
