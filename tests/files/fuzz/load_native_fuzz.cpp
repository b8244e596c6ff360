// libFuzzer target: a whole native file, binary or XML, loaded by kind
// detection without a password and with one of the sample writer's
// passwords. A load either fails with a code and nothing loaded, or gives a
// workbook whose tree and stores keep their invariants and which saves in
// both native formats as files that load again.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/files/fuzz/saves_and_loads_again.h"

namespace {

const char* const kPasswords[] = {"", "secret", "\xE9t\xE9\xFF", "p", "a much longer password 0123456789"};

void Check(bool condition) {
  if (!condition)
    std::abort();
}

void CheckLoaded(CWorkBook& book, bool loaded) {
  if (!loaded) {
    Check(book.error != 0 && book.firstItem == nullptr);
    return;
  }
  Check(book.CheckTreeInvariants());
  for (auto* item = book.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      Check(sheet->cells.CheckInvariants() && sheet->format.CheckInvariants());
  static const std::string saved = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + "-saved.tlv";
  Check(SavesAndLoadsAgain(&book, saved));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + ".tlv";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  for (const char* password : {static_cast<const char*>(nullptr), kPasswords[size % 5]}) {
    auto owner = std::make_unique<CWorkBook>();
    CWorkBook& book = *owner;
    if (!book.bufferedFile.Open(path.c_str(), "r+b"))
      return 0;
    CheckLoaded(book, book.LoadNative(password));
  }
  return 0;
}
