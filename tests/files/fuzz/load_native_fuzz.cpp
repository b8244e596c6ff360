// libFuzzer target: a whole native file, loaded by kind detection without a
// password and with one of the sample writer's passwords. A load either
// fails with a code and nothing loaded, or gives a workbook whose tree and
// stores keep their invariants.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/files/fuzz/fuzz_input_file.h"

namespace {

const char* const kPasswords[] = {"", "secret", "\xE9t\xE9\xFF", "p", "a much longer password 0123456789"};

void CheckLoaded(CWorkBook& book, bool loaded) {
  if (!loaded) {
    Check(book.error != 0 && book.firstItem == nullptr);
    return;
  }
  Check(book.CheckTreeInvariants());
  for (auto* item = book.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteFuzzInput(data, size, ".tlv");
  if (path.empty())
    return 0;
  for (const char* password : {static_cast<const char*>(nullptr), kPasswords[size % 5]}) {
    auto owner = std::make_unique<CWorkBook>();
    CWorkBook& book = *owner;
    if (!book.bufferedFile.Open(path.c_str(), "r+b"))
      return 0;
    CheckLoaded(book, book.LoadNative(password));
  }
  return 0;
}
