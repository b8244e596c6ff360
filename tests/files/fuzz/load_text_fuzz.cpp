// libFuzzer target: a whole text file read into a worksheet under options
// taken from its first byte: separator or fixed widths, quote, character
// set and value recognition. A load gives one worksheet whose stores keep
// their invariants and whose cells lie inside the grid, or fails with a code;
// what loaded saves as text under the same options, and that file loads
// again with every cell showing what it showed (in the DOS code page, what
// that code page gives back of it; in fixed-width mode, but for what a save
// cuts to a column's width).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "core/workbook/workbook.h"
#include "tests/files/fuzz/fuzz_support.h"
#include "tests/files/fuzz/same_cells.h"

namespace {

void ChooseOptions(uint8_t choice, TextFileOptions* options) {
  options->separator = ",;\t|"[choice & 3];
  options->quote = (choice & 4) ? '\'' : '"';
  options->charset = uint8_t(1 + (choice >> 3) % 3);
  options->recognizeValues = (choice >> 5) & 1;
  options->fixedWidth = (choice >> 6) & 1;
  for (uint32_t c = 0; c < 64; ++c) options->widths[c] = uint16_t((c * 7 + choice) % 9);
}

// In fixed-width mode a save cuts what a cell shows to its column's width
// (a number shown longer than the field it came from): such cells are left
// out of both descriptions, one line per cell as ShownCells writes them.
void LeaveOutCutCells(const TextFileOptions& options, std::string* first, std::string* again) {
  if (!options.fixedWidth)
    return;
  std::set<std::string> cut;
  std::string kept;
  for (size_t start = 0; start < first->size();) {
    const size_t end = first->find('\n', start);
    const std::string line = first->substr(start, end - start);
    start = end + 1;
    unsigned column = 0, row = 0;
    int shownAt = 0;
    if (std::sscanf(line.c_str(), "c%u r%u %n", &column, &row, &shownAt) == 2 && column < kColumnCount &&
        options.widths[column] != 0 && line.size() - size_t(shownAt) > options.widths[column]) {
      cut.insert(line.substr(0, size_t(shownAt)));
      continue;
    }
    kept += line + "\n";
  }
  *first = kept;
  kept.clear();
  for (size_t start = 0; start < again->size();) {
    const size_t end = again->find('\n', start);
    const std::string line = again->substr(start, end - start);
    start = end + 1;
    const size_t where = line.find(' ', line.find(' ') + 1) + 1;
    if (!cut.count(line.substr(0, where)))
      kept += line + "\n";
  }
  *again = kept;
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

  static const std::string saved = fuzzing::InputPath("-saved.csv");
  if (!book->bufferedFile.Open(saved.c_str(), "w+b"))
    return 0;
  fuzzing::Check(book->SaveText(sheet));
  book->bufferedFile.Close();
  auto again = std::make_unique<CWorkBook>();
  again->textFileOptions = book->textFileOptions;
  if (!again->bufferedFile.Open(saved.c_str(), "rb"))
    return 0;
  fuzzing::Check(again->LoadText());
  const bool oem = book->textFileOptions.charset == kTextCharsetOem;
  std::string first = fuzzing::ShownCells(book.get(), sheet, oem);
  std::string second = fuzzing::ShownCells(again.get(), again->activeWorksheet);
  LeaveOutCutCells(book->textFileOptions, &first, &second);
  fuzzing::CheckSame(first, second, "a text save");
  return 0;
}
