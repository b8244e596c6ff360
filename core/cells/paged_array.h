#ifndef TALVERO_CORE_PAGED_ARRAY_H
#define TALVERO_CORE_PAGED_ARRAY_H

// A growable list of fixed-size records kept in 8192-byte pages (on the
// 32-bit target) with the same layout as the cell store's blocks. Records are
// appended, read by index or cleared all at once; they never move once
// written, so a pointer from At stays good until the next Clear or Free (or
// a Truncate that drops it).
//
// Records are byte-aligned inside a page: read them through packed record
// types or copy them out.

#include <cstddef>
#include <cstdint>

struct PagedArrayPage {
  static constexpr size_t kPayload = 8182;

  PagedArrayPage* next;
  PagedArrayPage* previous;
  uint16_t used;  // payload bytes holding records
  uint8_t payload[kPayload];
};

static_assert(offsetof(PagedArrayPage, used) == 2 * sizeof(void*), "used follows the links");
static_assert(offsetof(PagedArrayPage, payload) == 2 * sizeof(void*) + 2, "payload follows used");
static_assert(sizeof(void*) != 4 || sizeof(PagedArrayPage) == 8192, "a page is 8192 bytes");

// Every page and page table comes through this gate first; tests replace it
// to make an allocation fail or to count allocations. Null restores the
// default, which allows every allocation.
using PagedArrayAllocationGate = bool (*)(size_t bytes);
void SetPagedArrayAllocationGateForTesting(PagedArrayAllocationGate gate);

class PagedArray {
 public:
  // A record size outside 1..8182 makes an array that refuses every append.
  explicit PagedArray(uint16_t recordSize);
  ~PagedArray();
  PagedArray(const PagedArray&) = delete;
  PagedArray& operator=(const PagedArray&) = delete;

  // Record i, or null when i is not below the element count.
  uint8_t* At(uint32_t i);
  const uint8_t* At(uint32_t i) const;
  // Copies recordSize bytes to the end; false, with the array unchanged, when
  // no page can be had.
  bool Append(const void* record);
  // Appends count records of zero bytes, a page at a time (a refit of every
  // row of the grid grows the row table by two million records); false when
  // no page can be had, the records appended before then kept.
  bool AppendZeroed(uint32_t count);
  // Makes At constant-time until the next append; false when the table cannot
  // be allocated (At then keeps walking the chain).
  bool BuildPageTable();
  // Empties the array; with keepPages the pages go to the spare pool for the
  // next appends, otherwise they are freed. The page table stays allocated.
  void Clear(bool keepPages);
  // Drops the records from index count on; pages left empty go to the spare
  // pool. A valid page table stays valid. A count not below Count() changes
  // nothing.
  void Truncate(uint32_t count);
  // Releases every page, every spare page and the page table.
  void Free();
  // Exchanges the records, pools and tables of two arrays of the same record
  // size; false, with nothing changed, for different sizes.
  bool SwapContents(PagedArray& other);

  uint16_t RecordSize() const { return recordSize_; }
  uint32_t RecordsPerPage() const { return perPage_; }
  uint32_t Count() const { return elementCount_; }
  uint32_t PageCount() const { return pageCount_; }
  uint32_t PoolCount() const { return poolCount_; }
  bool TableValid() const { return tableValid_ != 0; }
  const PagedArrayPage* FirstPage() const { return firstPage_; }
  // Each page's records as the bytes they fill, in order, handed to
  // visit(const uint8_t* bytes, uint32_t length): for formats that keep the
  // records as one image.
  template <class Visit>
  void ForEachPageBytes(Visit visit) const {
    for (const PagedArrayPage* page = firstPage_; page; page = page->next) visit(page->payload, uint32_t(page->used));
  }

  // True when the chain, the pool, the counts, the hint and a valid table all
  // agree; for tests and debugging.
  bool CheckInvariants() const;

 private:
  PagedArrayPage* TakePage();
  // The page the next record goes into, a fresh one linked after a full
  // last page; null when none can be had.
  PagedArrayPage* PageForAppend();
  const uint8_t* Locate(uint32_t i) const;

  PagedArrayPage* firstPage_ = nullptr;
  PagedArrayPage* sparePool_ = nullptr;
  PagedArrayPage* lastPage_ = nullptr;
  uint8_t** pageTable_ = nullptr;
  uint32_t tableCapacity_ = 0;
  uint8_t tableValid_ = 0;
  uint32_t pageCount_ = 0;
  uint32_t poolCount_ = 0;
  uint32_t elementCount_ = 0;
  uint16_t recordSize_;
  uint32_t perPage_;
};

// One family per record size: the same operations with the size fixed.
template <uint16_t Size>
class PagedArrayOf : public PagedArray {
 public:
  static_assert(Size >= 1 && Size <= PagedArrayPage::kPayload, "a record fits a page");
  static constexpr uint32_t kRecordsPerPage = PagedArrayPage::kPayload / Size;

  PagedArrayOf() : PagedArray(Size) {}
};

using PagedArray16 = PagedArrayOf<16>;    // chart series point lists
using PagedArray24 = PagedArrayOf<24>;    // chart series point lists
using PagedArray32 = PagedArrayOf<32>;    // pages of the workbook's page list
using PagedArray44 = PagedArrayOf<44>;    // chart series point lists
using PagedArray52 = PagedArrayOf<52>;    // chart data lists
using PagedArray396 = PagedArrayOf<396>;  // the workbook's inspect-cell list

static_assert(PagedArrayOf<2>::kRecordsPerPage == 4091, "");
static_assert(PagedArray16::kRecordsPerPage == 511, "");
static_assert(PagedArray24::kRecordsPerPage == 340, "");
static_assert(PagedArray32::kRecordsPerPage == 255, "");
static_assert(PagedArray44::kRecordsPerPage == 185, "");
static_assert(PagedArray52::kRecordsPerPage == 157, "");
static_assert(PagedArray396::kRecordsPerPage == 20, "");

#endif
