#ifndef TALVERO_TESTS_FILES_EXCHANGE_TEST_SUPPORT_H
#define TALVERO_TESTS_FILES_EXCHANGE_TEST_SUPPORT_H

// Worksheets filled cell by cell and read back as plain values, and the
// text and xBase files they are written to and read from, for the tests of
// the exchange formats.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "core/cells/cell_record.h"
#include "core/workbook/workbook.h"
#include "tests/files/file_test_support.h"

namespace exchange {

inline void PutText(CWorkSheet* sheet, uint32_t row, uint16_t column, const std::string& text, uint8_t error = 0) {
  alignas(8) uint8_t record[kTextCellHeadSize + 70000];
  const uint32_t size =
      BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()), error);
  if (size == 0 || !sheet->cells.InsertCell(AsCellRecord(record), nullptr))
    std::abort();
}

inline void PutNumber(CWorkSheet* sheet, uint32_t row, uint16_t column, double value, uint8_t error = 0) {
  alignas(8) uint8_t record[kNumberCellSize];
  if (BuildNumberCell(record, sizeof record, row, column, value, error) == 0 ||
      !sheet->cells.InsertCell(AsCellRecord(record), nullptr))
    std::abort();
}

// A cell as the tests compare it: "t:" and the text, "n:" and the number
// (shortest exact form), "f:" and a formula's text, with "!" and the error
// byte in hex for a cell carrying an error; "" for no cell.
inline std::string Describe(const CWorkSheet* sheet, uint32_t row, uint16_t column) {
  const CellRecord* cell = const_cast<CWorkSheet*>(sheet)->cells.GetCell(row, column);
  if (!cell)
    return "";
  std::string text;
  if (cell->IsText()) {
    text = "t:" + std::string(cell->Text(), cell->TextLength());
  } else if (cell->IsNumber()) {
    char number[40];
    std::snprintf(number, sizeof number, "n:%.17g", cell->Number());
    text = number;
  } else {
    text = "f:" + std::string(cell->FormulaText(), cell->FormulaLength());
  }
  if (cell->ErrorCode() != 0) {
    char error[8];
    std::snprintf(error, sizeof error, "!%02X", cell->ErrorCode());
    text += error;
  }
  return text;
}

// A new workbook with one empty worksheet.
inline std::unique_ptr<CWorkBook> NewBook() {
  auto book = std::make_unique<CWorkBook>();
  if (!book->NewDocument())
    std::abort();
  return book;
}

// Runs a writer over a new file at path; the file is closed after.
template <class Write>
bool SaveWith(CWorkBook* book, const std::string& path, Write write) {
  if (!book->bufferedFile.Open(path.c_str(), "w+b"))
    return false;
  const bool saved = write(book);
  book->bufferedFile.Close();
  return saved;
}

// Runs a reader over the file at path, kept open as a document keeps it.
template <class Read>
bool LoadWith(CWorkBook* book, const std::string& path, Read read) {
  if (!book->bufferedFile.Open(path.c_str(), "r+b"))
    return false;
  return read(book);
}

}  // namespace exchange

#endif
