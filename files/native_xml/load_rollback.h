#ifndef TALVERO_FILES_NATIVE_XML_LOAD_ROLLBACK_H
#define TALVERO_FILES_NATIVE_XML_LOAD_ROLLBACK_H

// What a native XML load writes into a workbook before the document has
// been read to its end, kept so that a load that fails part-way leaves the
// workbook as it was: the tree (a load starts from a workbook without
// items), the last modification, the panes, the drop-down lists and the
// styles a load adds to, the inspect cells and the evaluator's cell.

#include <memory>

#include "core/workbook/workbook.h"

class XmlLoadRollback {
 public:
  // False when the copy of the style table cannot be had; the workbook is
  // then untouched and the load must not start.
  bool Begin(CWorkBook* book);
  // The load succeeded: the inspect cells read follow those kept. False,
  // with the rollback still whole, when memory runs out joining them.
  bool Commit();
  // The load failed: everything it wrote is taken back.
  void Restore();

 private:
  CWorkBook* book_ = nullptr;
  LastModificationBlock lastModification_;
  PaneLayout panes_;
  uint16_t evaluatorColumn_ = 0;
  uint32_t evaluatorRow_ = 0;
  std::unique_ptr<StyleTable> styles_;
  // Each list's name and its last entry before the load; a load appends.
  char listNames_[kDropDownListCount][kDropDownNameSize];
  DropDownEntry* lastEntries_[kDropDownListCount];
  // The inspect cells held before the load; the workbook's list collects
  // those read.
  PagedArrayOf<kInspectCellRecordSize> inspectCells_;
};

#endif
