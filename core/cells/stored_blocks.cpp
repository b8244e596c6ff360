#include "core/cells/stored_blocks.h"

#include "core/cells/cell_store.h"

StoredBlockChain::~StoredBlockChain() {
  while (first_) {
    CellBlock* next = first_->next;
    FreeStorePage(first_);
    first_ = next;
  }
}

CellBlock* StoredBlockChain::AddBlock(uint16_t used) {
  auto* block = static_cast<CellBlock*>(AllocateStorePage(sizeof(CellBlock)));
  if (!block)
    return nullptr;
  block->next = nullptr;
  block->previous = last_;
  block->used = used;
  if (last_)
    last_->next = block;
  else
    first_ = block;
  last_ = block;
  return block;
}

void StoredBlockChain::DropLast() {
  CellBlock* block = last_;
  last_ = block->previous;
  if (last_)
    last_->next = nullptr;
  else
    first_ = nullptr;
  FreeStorePage(block);
}

void StoredBlockChain::AttachTo(BlockStore* store) {
  CellBlock* chain = first_;
  first_ = last_ = nullptr;
  store->Attach(chain);
}

bool IndexEveryRowPage(CellStore* store) {
  CellCursor cursor;
  uint32_t lastPage = kPageCount;
  bool built = true;
  // Building an index page reads the chain and changes none of its records.
  ForEachRecord(*store, [&](const CellRecord& record) {
    const uint32_t page = record.Row() / kRowsPerPage;
    if (page == lastPage)
      return true;
    lastPage = page;
    built = store->BuildPageIndex(page, &cursor);
    return built;
  });
  return built;
}
