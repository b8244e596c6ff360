#include "files/text/loaded_sheet.h"

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"

const char* FileNameOfPath(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/')
      name = p + 1;
  return name;
}

CWorkSheet* StartLoadedSheet(CWorkBook* book, const char* path) {
  CWorkSheet* sheet = NewWorksheet(FileNameOfPath(path), 1);
  if (!sheet) {
    book->error = kFileOutOfMemory;
    return nullptr;
  }
  book->DeleteAllItems();
  CWorkBook::CTreeItem* last = nullptr;
  book->AppendLoadedItem(sheet, &last);
  book->activeWorksheet = sheet;
  book->evaluator.owner = book;
  book->evaluator.sheet = &sheet->cells;
  return sheet;
}
