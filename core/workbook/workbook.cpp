#include "core/workbook/workbook.h"

#include "platform/os_services.h"

namespace {

constexpr char kFirstWorksheetName[] = "Worksheet1";

}  // namespace

CWorkBook::CWorkBook() : evaluator(this, nullptr) {
  evaluator.resolveSheet = ResolveWorkbookSheet;
  // One reading of the clock, so that the date cannot straddle midnight.
  OsLocalTime now{};
  OsGetLocalTime(&now);
  documentYear = now.year;
  documentMonth = now.month;
  documentDay = now.day;
}

CWorkBook::~CWorkBook() {
  for (DropDownList& list : dropDownLists) list.Clear();
  // The undo history is destroyed here, before the items its steps refer to.
  xbaseTable.Free();
  inspectCells.Free();
  pageList.pages.Free();
  bufferedFile.Close();
  evaluator.FreeTempStore();
  DeleteAllItems();
}

void CWorkBook::Clear() {
  DeleteAllItems();
  images.Clear();
  for (DropDownList& list : dropDownLists) list.Clear();
  inspectCells.Clear(false);
  undoHistory.FreeAll();
  styles.Init();
  documentProperties = DocumentPropertyTexts{};
  sourceFormat = 0;
  recalcMode = 0;
  error = kWorkbookNoError;
  protectionMode = 0;
  openedWithoutPassword = 0;
  documentFlag = 0;
  saveKind = kSaveKindBinaryGzip;
}

bool CWorkBook::NewDocument() {
  // The new worksheet is made first, so that running out of memory leaves
  // the document as it was.
  CWorkSheet* sheet = NewWorksheet(kFirstWorksheetName, 1);
  if (!sheet) {
    error = kWorkbookOutOfMemory;
    return false;
  }
  DeleteAllItems();
  firstItem = sheet;
  activeWorksheet = sheet;
  worksheetCount = 1;
  evaluator.owner = this;
  evaluator.sheet = &sheet->cells;
  return true;
}
