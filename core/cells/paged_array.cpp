#include "core/cells/paged_array.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

PagedArrayAllocationGate allocationGate = nullptr;

void* AllocatePagedArrayMemory(size_t bytes) {
  if (allocationGate && !allocationGate(bytes)) return nullptr;
  return std::malloc(bytes);
}

void ClearPageHeader(PagedArrayPage* page) {
  page->next = nullptr;
  page->previous = nullptr;
  page->used = 0;
}

}  // namespace

void SetPagedArrayAllocationGateForTesting(PagedArrayAllocationGate gate) {
  allocationGate = gate;
}

PagedArray::PagedArray(uint16_t recordSize)
    : recordSize_(recordSize),
      perPage_(recordSize >= 1 && recordSize <= PagedArrayPage::kPayload
                   ? static_cast<uint32_t>(PagedArrayPage::kPayload / recordSize)
                   : 0) {}

PagedArray::~PagedArray() { Free(); }

const uint8_t* PagedArray::Locate(uint32_t i) const {
  if (i >= elementCount_ || perPage_ == 0) return nullptr;
  const uint32_t pageIndex = i / perPage_;
  const size_t offset = static_cast<size_t>(i % perPage_) * recordSize_;
  if (tableValid_) return pageTable_[pageIndex] + offset;
  const PagedArrayPage* page = firstPage_;
  for (uint32_t hop = 0; page && hop < pageIndex; ++hop) page = page->next;
  if (!page || offset + recordSize_ > page->used) return nullptr;
  return page->payload + offset;
}

uint8_t* PagedArray::At(uint32_t i) { return const_cast<uint8_t*>(Locate(i)); }

const uint8_t* PagedArray::At(uint32_t i) const { return Locate(i); }

PagedArrayPage* PagedArray::TakePage() {
  PagedArrayPage* page = sparePool_;
  if (page) {
    sparePool_ = page->next;
    --poolCount_;
  } else {
    page = static_cast<PagedArrayPage*>(AllocatePagedArrayMemory(sizeof(PagedArrayPage)));
    if (!page) return nullptr;
  }
  ClearPageHeader(page);
  ++pageCount_;
  return page;
}

PagedArrayPage* PagedArray::PageForAppend() {
  if (perPage_ == 0) return nullptr;
  if (!firstPage_) {
    PagedArrayPage* page = TakePage();
    if (!page) return nullptr;
    firstPage_ = page;
  }
  PagedArrayPage* page = lastPage_ ? lastPage_ : firstPage_;
  while (page->next && page->used != 0) page = page->next;
  if (page->used + recordSize_ > PagedArrayPage::kPayload) {
    PagedArrayPage* fresh = TakePage();
    if (!fresh) return nullptr;
    fresh->previous = page;
    fresh->next = page->next;
    if (page->next) page->next->previous = fresh;
    page->next = fresh;
    page = fresh;
  }
  return page;
}

bool PagedArray::Append(const void* record) {
  PagedArrayPage* page = PageForAppend();
  if (!page) return false;
  std::memcpy(page->payload + page->used, record, recordSize_);
  page->used = static_cast<uint16_t>(page->used + recordSize_);
  ++elementCount_;
  lastPage_ = page;
  tableValid_ = 0;
  return true;
}

bool PagedArray::AppendZeroed(uint32_t count) {
  while (count != 0) {
    PagedArrayPage* page = PageForAppend();
    if (!page) return false;
    const uint32_t room = (PagedArrayPage::kPayload - page->used) / recordSize_;
    const uint32_t filled = room < count ? room : count;
    std::memset(page->payload + page->used, 0, size_t(filled) * recordSize_);
    page->used = static_cast<uint16_t>(page->used + filled * recordSize_);
    elementCount_ += filled;
    lastPage_ = page;
    tableValid_ = 0;
    count -= filled;
  }
  return true;
}

bool PagedArray::BuildPageTable() {
  if (tableValid_) return true;
  if (tableCapacity_ < pageCount_) {
    std::free(pageTable_);
    pageTable_ = nullptr;
    tableCapacity_ = 0;
    void* table = AllocatePagedArrayMemory(static_cast<size_t>(pageCount_) * sizeof(uint8_t*));
    if (!table) return false;
    pageTable_ = static_cast<uint8_t**>(table);
    tableCapacity_ = pageCount_;
  }
  uint32_t n = 0;
  for (PagedArrayPage* page = firstPage_; page && n < tableCapacity_; page = page->next) {
    pageTable_[n++] = page->payload;
  }
  tableValid_ = 1;
  return true;
}

void PagedArray::Clear(bool keepPages) {
  PagedArrayPage* page = firstPage_;
  while (page) {
    PagedArrayPage* next = page->next;
    if (keepPages) {
      page->next = sparePool_;
      sparePool_ = page;
      ++poolCount_;
    } else {
      std::free(page);
    }
    page = next;
  }
  firstPage_ = nullptr;
  lastPage_ = nullptr;
  pageCount_ = 0;
  elementCount_ = 0;
  tableValid_ = 0;
}

void PagedArray::Truncate(uint32_t count) {
  if (count >= elementCount_) return;
  if (count == 0) {
    Clear(true);
    return;
  }
  const uint32_t keptPages = (count + perPage_ - 1) / perPage_;
  PagedArrayPage* last = firstPage_;
  for (uint32_t i = 1; i < keptPages; ++i) last = last->next;
  last->used = static_cast<uint16_t>((count - (keptPages - 1) * perPage_) * recordSize_);
  PagedArrayPage* page = last->next;
  last->next = nullptr;
  while (page) {
    PagedArrayPage* next = page->next;
    page->next = sparePool_;
    sparePool_ = page;
    ++poolCount_;
    --pageCount_;
    page = next;
  }
  lastPage_ = last;
  elementCount_ = count;
}

void PagedArray::Free() {
  Clear(false);
  while (sparePool_) {
    PagedArrayPage* next = sparePool_->next;
    std::free(sparePool_);
    sparePool_ = next;
  }
  poolCount_ = 0;
  std::free(pageTable_);
  pageTable_ = nullptr;
  tableCapacity_ = 0;
}

bool PagedArray::CheckInvariants() const {
  if (perPage_ == 0) return !firstPage_ && elementCount_ == 0;
  uint32_t pages = 0;
  uint64_t records = 0;
  const PagedArrayPage* previous = nullptr;
  for (const PagedArrayPage* page = firstPage_; page; page = page->next) {
    if (page->previous != previous) return false;
    if (page->used > PagedArrayPage::kPayload || page->used % recordSize_ != 0) return false;
    // Only the last page may have room left, so that index arithmetic holds.
    if (page->next && page->used != perPage_ * recordSize_) return false;
    if (tableValid_ && (pages >= tableCapacity_ || pageTable_[pages] != page->payload)) {
      return false;
    }
    records += page->used / recordSize_;
    previous = page;
    ++pages;
  }
  if (pages != pageCount_ || records != elementCount_) return false;
  if (lastPage_ != (elementCount_ ? previous : nullptr)) return false;
  uint32_t spare = 0;
  for (const PagedArrayPage* page = sparePool_; page; page = page->next) ++spare;
  return spare == poolCount_;
}

bool PagedArray::SwapContents(PagedArray& other) {
  if (recordSize_ != other.recordSize_) return false;
  std::swap(firstPage_, other.firstPage_);
  std::swap(sparePool_, other.sparePool_);
  std::swap(lastPage_, other.lastPage_);
  std::swap(pageTable_, other.pageTable_);
  std::swap(tableCapacity_, other.tableCapacity_);
  std::swap(tableValid_, other.tableValid_);
  std::swap(pageCount_, other.pageCount_);
  std::swap(poolCount_, other.poolCount_);
  std::swap(elementCount_, other.elementCount_);
  return true;
}
