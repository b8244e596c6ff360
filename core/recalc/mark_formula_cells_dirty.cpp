#include "core/cells/cell_store.h"

bool CellStore::MarkFormulaCellsDirty(SpillingFormulaVisit visit, void* context) {
  ClearPageIndex(false);
  indexesLookedUpPages_ = true;
  passChanges_ = chainChanges_;
  bool indexed = true;
  // Records come in row order: a page's flag is looked at once per run of
  // its rows rather than at every formula.
  uint32_t lastPage = kPageCount;
  for (CellBlock* block = firstBlock_; block; block = block->next) {
    for (uint32_t offset = 0; offset < block->used;) {
      CellRecord* record = AsCellRecord(block->payload + offset);
      const uint32_t size = record->Size();
      if (size == 0)
        break;  // a malformed record ends the block's walk rather than looping
      if (record->IsFormula()) {
        record->SetResultFlags(
            static_cast<uint8_t>(record->ResultFlags() & ~(kResultCalculated | kResultDependantWaits)));
        record->SetPending(0);
        const uint32_t page = record->Row() / kRowsPerPage;
        if (page != lastPage && page < kPageCount && !(pageFlags_[page] & kPageHasFormulas)) {
          pageFlags_[page] |= kPageHasFormulas;
          // Marking changes no record's size, so the index stays valid.
          CellCursor cursor;
          cursor.block = block;
          if (!BuildPageIndex(page, &cursor))
            indexed = false;
        }
        lastPage = page;
        if (visit && record->IsSpillingArrayFormula())
          visit(context, *record);
      } else if (visit && record->IsSpillValue()) {
        visit(context, *record);
      }
      offset += size;
    }
  }
  return indexed;
}
