#ifndef TALVERO_CORE_STYLE_RUN_STORE_H
#define TALVERO_CORE_STYLE_RUN_STORE_H

// The style runs of a worksheet: which style covers which cells, kept as runs
// of columns within one row, so that a formatted rectangle costs one record
// per row. Runs live in the same chain of 8192-byte blocks as the cells, with
// the same spare pool, page index and cursors, ordered by row and then first
// column. Runs of one row never overlap; callers keep it so by clearing a
// span before they insert into it.

#include <cstddef>
#include <cstdint>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"

#pragma pack(push, 1)
struct StyleRun {
  uint16_t firstColumn;
  uint16_t lastColumn;
  uint32_t row;
  uint16_t style;  // index into the workbook's style table
};
#pragma pack(pop)
static_assert(sizeof(StyleRun) == 10, "a style run is 10 bytes");
static_assert(offsetof(StyleRun, firstColumn) == 0, "");
static_assert(offsetof(StyleRun, lastColumn) == 2, "");
static_assert(offsetof(StyleRun, row) == 4, "");
static_assert(offsetof(StyleRun, style) == 8, "");

constexpr uint16_t kStyleRunSize = sizeof(StyleRun);
// Whole runs a block holds.
constexpr uint16_t kRunsPerBlock = kBlockPayload / kStyleRunSize;
constexpr uint16_t kFullBlockRunBytes = kRunsPerBlock * kStyleRunSize;
static_assert(kRunsPerBlock == 818 && kFullBlockRunBytes == 8180, "");

inline StyleRun* AsStyleRun(uint8_t* bytes) { return reinterpret_cast<StyleRun*>(bytes); }
inline const StyleRun* AsStyleRun(const uint8_t* bytes) { return reinterpret_cast<const StyleRun*>(bytes); }

struct StyleRunTraits {
  static uint32_t Size(const uint8_t*) { return kStyleRunSize; }
  static uint32_t Row(const uint8_t* record) { return AsStyleRun(record)->row; }
  // Compaction merges a run into the last one written when it continues it
  // with the same style.
  static bool Absorb(uint8_t* lastWritten, const uint8_t* record) {
    StyleRun* last = AsStyleRun(lastWritten);
    const StyleRun* run = AsStyleRun(record);
    if (run->row != last->row || run->style != last->style || uint32_t(last->lastColumn) + 1 != run->firstColumn)
      return false;
    last->lastColumn = run->lastColumn;
    return true;
  }
};

// The store's error byte, left by the last failed operation.
enum StyleRunStoreError : uint8_t {
  kStyleRunNoError = 0,
  kStyleRunOutOfMemory = 1,
  // A run with its columns reversed or outside the grid.
  kStyleRunBadRun = 2,
  // An empty or reversed span.
  kStyleRunBadRange = 3,
};

class StyleRunStore : public BlockStore {
 public:
  // The run covering the cell, or null. Starts at the cursor when it has a
  // block, else at the row's index entry when its page is indexed, else at the
  // row's block (found through the block directory). The cursor (when given) is
  // left on the run, after it with kCursorAfterRecord, or on the last run
  // examined when there is none, so that a caller going left to right along a
  // row continues from there.
  StyleRun* FindRun(uint32_t row, uint16_t column, CellCursor* cursor = nullptr);
  const StyleRun* FindRun(uint32_t row, uint16_t column, CellCursor* cursor = nullptr) const;

  // Inserts a run in order. A run of the same row and style that ends just left
  // of it, or else one that begins just right of it, is extended instead (one
  // neighbour only). Overlap is not checked: clear the span first. The search
  // starts at the cursor, else at the row's block. A cursor with
  // kCursorAfterRecord is left on the new or extended run; other cursors are
  // left alone. Compaction, when the count of free bytes asks for it, moves a
  // given cursor to the first block. False when the run is malformed or no block
  // can be had (the runs are unchanged).
  bool InsertRun(const StyleRun& run, CellCursor* cursor);

  // Removes the column span from every run of the row span: runs inside it go,
  // runs crossing an edge are cut, a run covering both edges is split in two.
  // Starts at the cursor (or the first row's block); the cursor is left at the
  // start, or cleared when that block was emptied. False, with the runs
  // unchanged, when a block for the split runs cannot be had.
  bool ClearRect(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, CellCursor* cursor,
                 bool free);

  // Repacks the chain and merges each run into the run before it in the same
  // block when it continues it with the same style.
  void Compact(bool free) { CompactRecords<StyleRunTraits>(free); }
  // Indexes the first run of every row of one 1024-row page; false when the
  // index page cannot be allocated. Any later change drops the index.
  bool BuildPageIndex(uint32_t page, CellCursor* cursor);

  // The run at the cursor, crossing into the next block; null at the end.
  // With kCursorAfterRecord the cursor moves past the run.
  static StyleRun* NextRun(CellCursor* cursor);
  // The first run at or after the cursor (null block: the first row's block)
  // that meets the rectangle, then the next on each call with
  // kCursorAfterRecord; null once the walk passes the rectangle's last row, the
  // cursor then left on the run that ended it.
  StyleRun* FindFirstInRect(CellCursor* cursor, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                            uint32_t lastRow);
  const StyleRun* FindFirstInRect(CellCursor* cursor, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                                  uint32_t lastRow) const;

  // Structural edits of the run bounds, made in place: they never need a
  // block. Runs of rows from firstRow on move down by count; runs pushed past
  // the last row are dropped.
  void ShiftRowsDown(uint32_t firstRow, uint32_t count);
  // Run bounds from firstColumn on move right by count. What would pass the
  // last column is cut off first, so that a run still spanning firstColumn
  // then covers the inserted columns.
  void ShiftColumnsRight(uint16_t firstColumn, uint16_t count);
  // Removes rows first..last (emptied blocks freed) and moves later runs up.
  void DeleteRows(uint32_t firstRow, uint32_t lastRow);
  // Removes columns first..last from every run and closes the gap; a run
  // that covered both sides of the span stays one run.
  void DeleteColumns(uint16_t firstColumn, uint16_t lastColumn);

  // Replaces this store's runs by a copy of source's, taking new blocks from
  // source's pool first. False (this store emptied) when a block cannot be had.
  bool CopyRunsFrom(StyleRunStore* source);

  // Order, overlap, bounds, block fill, counts, links and page index; on
  // failure a description goes to message (when given).
  bool CheckInvariants(char* message = nullptr, size_t capacity = 0) const;

  uint8_t LastError() const { return lastError_; }

 private:
  const StyleRun* Seek(uint32_t row, uint16_t column, CellCursor* cursor) const;
  // Blocks ClearRect will need for runs that no longer fit their block.
  uint32_t BlocksNeededToClear(RecordPosition start, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                               uint32_t lastRow) const;
  // Offers every run from start to the end of the chain to keep, which may
  // change it in place as long as the order holds; runs it refuses are
  // removed and emptied blocks released.
  template <class Keep>
  void RewriteRuns(RecordPosition start, bool free, Keep keep);

  uint8_t lastError_ = kStyleRunNoError;
};

#endif
