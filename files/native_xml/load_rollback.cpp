#include "files/native_xml/load_rollback.h"

#include <cstring>
#include <new>

bool XmlLoadRollback::Begin(CWorkBook* book) {
  styles_.reset(new (std::nothrow) StyleTable(book->styles));
  if (!styles_)
    return false;
  book_ = book;
  lastModification_ = book->lastModification;
  panes_ = book->panes;
  evaluatorColumn_ = book->evaluator.column;
  evaluatorRow_ = book->evaluator.row;
  for (uint32_t i = 0; i < kDropDownListCount; ++i) {
    const DropDownList& list = book->dropDownLists[i];
    std::memcpy(listNames_[i], list.name, kDropDownNameSize);
    DropDownEntry* last = list.entries;
    while (last && last->next) last = last->next;
    lastEntries_[i] = last;
  }
  inspectCells_.SwapContents(book->inspectCells);
  return true;
}

bool XmlLoadRollback::Commit() {
  if (inspectCells_.Count() == 0)
    return true;
  // Joined apart from both lists, so that running out of memory leaves
  // each as it is for Restore.
  PagedArrayOf<kInspectCellRecordSize> joined;
  const PagedArray* const lists[] = {&inspectCells_, &book_->inspectCells};
  for (const PagedArray* list : lists)
    for (uint32_t i = 0; i < list->Count(); ++i)
      if (!joined.Append(list->At(i)))
        return false;
  book_->inspectCells.SwapContents(joined);
  return true;
}

void XmlLoadRollback::Restore() {
  book_->DeleteAllItems();
  book_->lastModification = lastModification_;
  book_->panes = panes_;
  book_->evaluator.column = evaluatorColumn_;
  book_->evaluator.row = evaluatorRow_;
  book_->styles = *styles_;
  for (uint32_t i = 0; i < kDropDownListCount; ++i) {
    DropDownList& list = book_->dropDownLists[i];
    DropDownEntry** appended = lastEntries_[i] ? &lastEntries_[i]->next : &list.entries;
    // The entries the load appended go with a list of their own.
    DropDownList taken;
    taken.entries = *appended;
    *appended = nullptr;
    std::memcpy(list.name, listNames_[i], kDropDownNameSize);
  }
  book_->inspectCells.SwapContents(inspectCells_);
}
