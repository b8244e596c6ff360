#ifndef TALVERO_VIEW_BORDER_QUEUE_H
#define TALVERO_VIEW_BORDER_QUEUE_H

// The borders met while cells are painted, drawn only after the last row so
// that no later fill covers them: 28-byte entries, 292 to a page.

#include <cstddef>
#include <cstdint>

#include "core/cells/paged_array.h"
#include "core/styles/fill_and_border_line.h"

#pragma pack(push, 1)
struct BorderEntry {
  uint32_t sides;  // bit 0 top, 1 bottom, 2 left, 3 right, 4 and 5 the diagonals
  BorderLine line;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
#pragma pack(pop)

static_assert(sizeof(BorderEntry) == 28, "a border entry is 28 bytes");
static_assert(offsetof(BorderEntry, line) == 4, "");
static_assert(offsetof(BorderEntry, left) == 12, "");

class BorderQueue {
 public:
  static constexpr uint32_t kEntriesPerPage = PagedArrayOf<sizeof(BorderEntry)>::kRecordsPerPage;

  // False, with the entry lost, when no page can be had.
  bool Append(const BorderEntry& entry) { return entries_.Append(&entry); }
  // Entry index copied out; false at or beyond the count.
  bool At(uint32_t index, BorderEntry* entry) const;
  uint32_t Count() const { return entries_.Count(); }
  // Empties the queue; its pages wait in the spare pool for the next paint.
  void Clear() { entries_.Clear(true); }
  bool BuildPageTable() { return entries_.BuildPageTable(); }
  bool CheckInvariants() const { return entries_.CheckInvariants(); }
  uint32_t PoolCount() const { return entries_.PoolCount(); }

 private:
  PagedArrayOf<sizeof(BorderEntry)> entries_;
};

static_assert(BorderQueue::kEntriesPerPage == 292, "");

#endif
