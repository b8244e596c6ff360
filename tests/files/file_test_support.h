#ifndef TALVERO_TESTS_FILES_FILE_TEST_SUPPORT_H
#define TALVERO_TESTS_FILES_FILE_TEST_SUPPORT_H

// Saving and loading workbooks through real files in the test's working
// folder, and reading and writing whole files.

#include <cstdio>
#include <memory>
#include <string>

#include "core/workbook/workbook.h"

namespace filetest {

inline std::string ReadAll(const std::string& path) {
  std::string bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file)
    return bytes;
  char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  std::fclose(file);
  return bytes;
}

inline bool WriteAll(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// Saves the workbook's binary format to a new file at path; the workbook's
// open file is closed again after.
inline bool SaveTo(CWorkBook* book, const std::string& path) {
  if (!book->bufferedFile.Open(path.c_str(), "w+b"))
    return false;
  const bool saved = book->SaveBinary();
  book->bufferedFile.Close();
  return saved;
}

// Saves the workbook as Excel 2003 XML to a new file at path, measured on
// the screen's measurer when one is given; the workbook's open file is
// closed again after.
inline bool SaveExcelXmlTo(CWorkBook* book, const std::string& path, const TextMeasurer* screen = nullptr) {
  if (!book->bufferedFile.Open(path.c_str(), "w+b"))
    return false;
  const bool saved = book->SaveExcelXml(screen);
  book->bufferedFile.Close();
  return saved;
}

// A new workbook loaded from path by kind detection; error holds the code.
inline std::unique_ptr<CWorkBook> LoadFrom(const std::string& path, const char* password, uint8_t* error,
                                           bool* loaded) {
  auto book = std::make_unique<CWorkBook>();
  *loaded = book->bufferedFile.Open(path.c_str(), "r+b") && book->LoadNative(password);
  *error = book->error;
  return book;
}

}  // namespace filetest

#endif
