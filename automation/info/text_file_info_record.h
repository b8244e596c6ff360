#ifndef TALVERO_AUTOMATION_TEXT_FILE_INFO_RECORD_H
#define TALVERO_AUTOMATION_TEXT_FILE_INFO_RECORD_H

// What a TextFileInfo object carries: the options of a text file to load or
// save, with their defaults (comma, double quote, UTF-8, values recognised,
// no fixed widths).

#include <cstdint>

#include "automation/info/info_error.h"
#include "core/model/exchange_options.h"

struct TextFileInfoRecord {
  TextFileOptions options;
  uint8_t error = kInfoNoError;

  // A separator makes the fields delimited again.
  void SetSeparator(char separator);
  // 1 UTF-8, 2 ANSI or 3 OEM.
  bool SetEncoding(int32_t encoding);
  // 0 every field is text, 1 numbers and formulas are recognised.
  bool SetConversion(int32_t conversion);
  // Only exactly 1 asks for fixed widths.
  void SetFixedWidths(int32_t value) { options.fixedWidth = value == 1 ? 1 : 0; }
  // Whether an array of widths with these bounds fits the columns: both
  // bounds, taken as unsigned, below 2047.
  bool WidthBoundsFit(int32_t lower, int32_t upper);
};

#endif
