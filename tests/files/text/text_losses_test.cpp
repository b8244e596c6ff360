// What a worksheet's values lose as a text file read back, judged before
// the file is written and checked against files really written and read
// with every kind of option: separators, quotes or none, fixed widths (none
// for some columns), character sets and values read as texts.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/base/error_code.h"
#include "files/text/text_losses.h"
#include "tests/files/exchange_test_support.h"
#include "tests/test_random.h"
#include "tests/test_seed.h"

namespace {

// A cell's value as the comparison sees it; "" for no cell.
std::string Held(const CellRecord* cell) {
  if (cell == nullptr) return "";
  if (cell->ErrorCode() != 0) return "e";
  if (cell->IsText()) return "t:" + std::string(cell->Text(), cell->TextLength());
  if (cell->IsNumber()) {
    char number[40];
    std::snprintf(number, sizeof number, "n:%.17g", cell->Number());
    return number;
  }
  return "f:" + std::string(cell->FormulaText(), cell->FormulaLength());
}

TEST(TextLosses, AgreeWithFilesWrittenAndReadBack) {
  const uint32_t seed = TestSeed(94);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  const std::string path = "text_losses_agree.txt";
  const double numbers[] = {7, -12, 12.5, 0.1234567890123456, 123456789012345678.0, 1e-20, 1.0 / 3, 250000, -0.5};
  // A formula naming a worksheet the file does not have stays a text.
  // "%" takes the cell's own number, so that no value moved by a split or
  // a line break lands on an equal one.
  const char* texts[] = {"abc%", "%", "-%", "=1+%", "a,b%", "x;y%", "q\"t%", "tab\t%", "ab% ", " lead%",
                         "\x80uro%", "line%\r\nbreak", "'q%'", "#N/A%", "=Jan!A%"};
  const char separators[] = {',', ';', '\t', '|', 'a'};
  const char quotes[] = {'"', '\'', '\0'};
  int lossy = 0;
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    auto book = exchange::NewBook();
    CWorkSheet* sheet = book->activeWorksheet;
    TextFileOptions options;
    options.fixedWidth = rng.OneIn(3) ? 1 : 0;
    for (uint16_t column = 0; column < 5; ++column)
      options.widths[column] = uint16_t(rng.OneIn(5) ? 0 : 1 + rng.Below(14));
    options.separator = separators[rng.Below(5)];
    options.quote = quotes[rng.Below(3)];
    options.charset = uint8_t(1 + rng.Below(3));
    options.recognizeValues = rng.OneIn(5) ? 0 : 1;
    for (uint32_t row = 0; row < 4; ++row)
      for (uint16_t column = 0; column < 5; ++column) {
        const uint32_t own = 10 + row * 5 + column;
        switch (rng.Below(4)) {
          case 0: break;
          case 1: exchange::PutNumber(sheet, row, column, numbers[rng.Below(9)] + 1000.0 * own); break;
          case 2: exchange::PutNumber(sheet, row, column, 0, kErrorDivZero); break;
          default: {
            std::string text = texts[rng.Below(15)];
            text.replace(text.find('%'), 1, std::to_string(own));
            exchange::PutText(sheet, row, column, text);
            break;
          }
        }
      }
    const TextLosses judged = FindTextLosses(*book, *sheet, options);

    book->textFileOptions = options;
    ASSERT_TRUE(exchange::SaveWith(book.get(), path, [](CWorkBook* b) { return b->SaveText(b->activeWorksheet); }));
    CWorkBook read;
    read.textFileOptions = options;
    ASSERT_TRUE(exchange::LoadWith(&read, path, [](CWorkBook* b) { return b->LoadText(); }));
    read.bufferedFile.Close();
    TextLosses found;
    ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
      const std::string held = Held(&cell);
      if (held == Held(read.activeWorksheet->cells.GetCell(cell.Row(), cell.Column()))) return true;
      const bool number = held.compare(0, 2, "n:") == 0;
      uint32_t& count = number ? found.numbers : found.values;
      if (count++ == 0) {
        (number ? found.numberRow : found.valueRow) = cell.Row();
        (number ? found.numberColumn : found.valueColumn) = cell.Column();
      }
      return true;
    });
    if (judged.numbers != found.numbers || judged.values != found.values) {
      std::fprintf(stderr, "fixed %d sep %d quote %d charset %d recog %d widths %d %d %d %d %d\n", options.fixedWidth,
                   options.separator, options.quote, options.charset, options.recognizeValues, options.widths[0],
                   options.widths[1], options.widths[2], options.widths[3], options.widths[4]);
      ForEachRecord(sheet->cells, [&](const CellRecord& cell) {
        std::fprintf(stderr, "%u,%u [%s] -> [%s]\n", cell.Row(), cell.Column(), Held(&cell).c_str(),
                     Held(read.activeWorksheet->cells.GetCell(cell.Row(), cell.Column())).c_str());
        return true;
      });
    }
    EXPECT_EQ(judged.numbers, found.numbers);
    EXPECT_EQ(judged.values, found.values);
    if (found.numbers != 0) {
      EXPECT_EQ(judged.numberRow, found.numberRow);
      EXPECT_EQ(judged.numberColumn, found.numberColumn);
    }
    if (found.values != 0) {
      EXPECT_EQ(judged.valueRow, found.valueRow);
      EXPECT_EQ(judged.valueColumn, found.valueColumn);
    }
    lossy += found.numbers + found.values != 0 ? 1 : 0;
    if (HasFailure()) break;
  }
  std::remove(path.c_str());
  EXPECT_GT(lossy, 50);
}

}  // namespace
