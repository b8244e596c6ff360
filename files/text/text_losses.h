#ifndef TALVERO_FILES_TEXT_LOSSES_H
#define TALVERO_FILES_TEXT_LOSSES_H

// What a worksheet's cell values lose when the worksheet is written as a
// text file and the file is read back: each cell is written as it is shown
// and read back as the reader takes a field, so a number shown with fewer
// digits (or through a format) comes back as another number or a text, and
// a text may come back as a number, a formula or shortened. Formulas,
// formats and the workbook's other worksheets go with any text file; they
// are the caller's to weigh.

#include <cstdint>
#include <string>

#include "core/model/exchange_options.h"

class CWorkBook;
class CWorkSheet;

struct TextLosses {
  // Numbers (of number cells and formula results) that do not read back as
  // the same number.
  uint32_t numbers = 0;
  // The first of them: its cell, and the texts it holds and is written as.
  uint32_t numberRow = 0;
  uint16_t numberColumn = 0;
  std::string numberHeld;
  std::string numberWritten;
  // Other values (texts, error values) that do not read back the same.
  uint32_t values = 0;
  uint32_t valueRow = 0;
  uint16_t valueColumn = 0;
};

// The options are those the file will be written and read back with.
TextLosses FindTextLosses(const CWorkBook& book, const CWorkSheet& sheet, const TextFileOptions& options);

#endif
