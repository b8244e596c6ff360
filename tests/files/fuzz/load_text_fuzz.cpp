// libFuzzer target: a whole text file read into a worksheet under options
// taken from its first byte: separator or fixed widths, quote, character
// set and value recognition. A load gives one worksheet whose stores keep
// their invariants and whose cells lie inside the grid, or fails with a code.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/files/fuzz/fuzz_support.h"

namespace {

void ChooseOptions(uint8_t choice, TextFileOptions* options) {
  options->separator = ",;\t|"[choice & 3];
  options->quote = (choice & 4) ? '\'' : '"';
  options->charset = uint8_t(1 + (choice >> 3) % 3);
  options->recognizeValues = (choice >> 5) & 1;
  options->fixedWidth = (choice >> 6) & 1;
  for (uint32_t c = 0; c < 64; ++c) options->widths[c] = uint16_t((c * 7 + choice) % 9);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::InputPath(".csv");
  if (!fuzzing::WriteInputFile(path, data, size))
    return 0;
  auto book = std::make_unique<CWorkBook>();
  ChooseOptions(size ? data[0] : 0, &book->textFileOptions);
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  if (!book->LoadText()) {
    fuzzing::Check(book->error != 0);
    return 0;
  }
  fuzzing::Check(book->CheckTreeInvariants() && book->worksheetCount == 1 && book->activeWorksheet);
  CWorkSheet* sheet = book->activeWorksheet;
  fuzzing::Check(sheet->cells.CheckInvariants());
  uint16_t lastColumn = 0;
  uint32_t lastRow = 0;
  if (sheet->cells.GetUsedRange(nullptr, &lastColumn, nullptr, &lastRow))
    fuzzing::Check(lastColumn <= kMaxColumn && lastRow <= kMaxRow);
  return 0;
}
