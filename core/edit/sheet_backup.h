#ifndef TALVERO_CORE_SHEET_BACKUP_H
#define TALVERO_CORE_SHEET_BACKUP_H

// The cells and formats of a worksheet kept aside before an edit of several
// steps, any of which may run out of memory half done: putting the backup
// back is an exchange of the stores, which cannot fail, so such an edit
// either completes or leaves the worksheet as it was.

#include "core/cells/cell_store.h"
#include "core/styles/sheet_format.h"

class CWorkSheet;

class SheetBackup {
 public:
  SheetBackup() = default;
  SheetBackup(const SheetBackup&) = delete;
  SheetBackup& operator=(const SheetBackup&) = delete;

  // Copies the worksheet's cells and formats; false when memory runs out.
  bool Take(CWorkSheet* sheet);
  // The worksheet gets the copied contents back; what it held goes to the
  // backup and is released with it. Style indexes are those of the time of
  // the copy, so the workbook's styles must not have been compacted since.
  void PutBack(CWorkSheet* sheet);

 private:
  CellStore cells_;
  SheetFormat format_;
};

#endif
