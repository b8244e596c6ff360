#include <cstring>

#include "core/cells/cell_store.h"

namespace {

// The bytes of a formula record whose result flags are flags.
uint32_t FormulaRecordSize(const CellRecord* record, uint8_t flags) {
  uint32_t size = kFormulaCellHeadSize + record->FormulaLength();
  if (flags & kResultCachedText) {
    uint16_t length;
    std::memcpy(&length, record->Bytes() + size, sizeof length);
    size += kCachedTextLengthSize + length;
  }
  return size;
}

}  // namespace

void CellStore::EndRecalcPass() {
  for (uint8_t& flags : pageFlags_)
    flags = (flags & kPageIndexBuilt) ? kPageIndexKept : 0;
  indexedPages_ = 0;
  keptIndexChanges_ = chainChanges_;
}

bool CellStore::MarkFormulaCellsDirty(SpillingFormulaVisit visit, void* context) {
  // Index pages the last pass ended with still describe the chain when no
  // record has moved since (every move counts a change): rebuilding them
  // would cost a second walk of their pages. A page built since is exact
  // as well, since every change drops the built flag.
  const bool keptHold = keptIndexChanges_ == chainChanges_ && pageIndex_;
  uint32_t built = 0;
  for (uint32_t page = 0; page < kPageCount; ++page) {
    uint8_t flags = pageFlags_[page] & kPageIndexBuilt;
    if (keptHold && (pageFlags_[page] & kPageIndexKept) && pageIndex_[page])
      flags = kPageIndexBuilt;
    pageFlags_[page] = flags;
    built += flags ? 1 : 0;
  }
  indexedPages_ = built;
  keptIndexChanges_ = ~uint64_t(0);

  bool indexed = true;
  uint32_t markedPage = kPageCount;  // the page last seen flagged
  for (CellBlock* block = firstBlock_; block; block = block->next) {
    for (uint32_t offset = 0; offset < block->used;) {
      CellRecord* record = AsCellRecord(block->payload + offset);
      if (!record->IsFormula()) {
        const uint32_t size = record->Size();
        if (size == 0)
          break;  // a malformed record ends the block's walk rather than looping
        offset += size;
        continue;
      }
      const uint8_t flags = record->ResultFlags();
      record->SetResultFlags(static_cast<uint8_t>(flags & ~(kResultCalculated | kResultDependantWaits)));
      record->SetPending(0);
      const uint32_t page = record->Row() / kRowsPerPage;
      if (page != markedPage && page < kPageCount) {
        markedPage = page;
        if (!(pageFlags_[page] & kPageHasFormulas)) {
          pageFlags_[page] |= kPageHasFormulas;
          // Marking changes no record's size, so the index stays valid.
          if (!(pageFlags_[page] & kPageIndexBuilt)) {
            CellCursor cursor;
            cursor.block = block;
            if (!BuildPageIndex(page, &cursor))
              indexed = false;
          }
        }
      }
      if (visit && (flags & kResultArray) && record->IsSpillingArrayFormula())
        visit(context, *record);
      offset += FormulaRecordSize(record, flags);
    }
  }
  return indexed;
}
