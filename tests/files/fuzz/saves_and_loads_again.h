#ifndef TALVERO_TESTS_FILES_FUZZ_SAVES_AND_LOADS_AGAIN_H
#define TALVERO_TESTS_FILES_FUZZ_SAVES_AND_LOADS_AGAIN_H

// The promise every reader keeps: a workbook that loaded saves in both
// native formats, and each file loads again with the same cells.

#include <memory>
#include <string>

#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/fuzz/same_cells.h"

// False when a save or the load of what it wrote fails; aborts when a
// loaded copy's cells differ. The workbook's own file is left closed; path
// is a file of the caller's to write.
inline bool SavesAndLoadsAgain(CWorkBook* book, const std::string& path) {
  const std::string cells = fuzzing::BookCells(book);
  for (bool xml : {false, true}) {
    if (!book->bufferedFile.Open(path.c_str(), "w+b"))
      return true;
    const bool saved = xml ? SaveXml(book) : book->SaveBinary();
    book->bufferedFile.Close();
    if (!saved)
      return false;
    auto again = std::make_unique<CWorkBook>();
    if (!again->bufferedFile.Open(path.c_str(), "rb"))
      return true;
    if (!again->LoadNative(book->protectionMode ? book->password : nullptr))
      return false;
    fuzzing::CheckSame(cells, fuzzing::BookCells(again.get()), xml ? "a native XML save" : "a binary save");
  }
  return true;
}

#endif
