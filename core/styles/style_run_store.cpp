#include "core/styles/style_run_store.h"

#include <cstdio>
#include <cstring>

namespace {

StyleRun* RunAt(CellBlock* block, uint32_t offset) { return AsStyleRun(block->payload + offset); }

const StyleRun* RunAt(const CellBlock* block, uint32_t offset) { return AsStyleRun(block->payload + offset); }

bool ValidRun(const StyleRun& run) {
  return run.firstColumn <= run.lastColumn && run.lastColumn <= kMaxColumn && run.row <= kMaxRow;
}

// The run just before a position, or null at the head of the chain.
const StyleRun* RunBefore(RecordPosition at) {
  if (at.offset >= kStyleRunSize)
    return RunAt(at.block, at.offset - kStyleRunSize);
  const CellBlock* previous = at.block->previous;
  return previous && previous->used >= kStyleRunSize ? RunAt(previous, previous->used - kStyleRunSize) : nullptr;
}

void AppendRun(uint8_t* buffer, uint32_t* used, const StyleRun& run) {
  std::memcpy(buffer + *used, &run, kStyleRunSize);
  *used += kStyleRunSize;
}

}  // namespace

const StyleRun* StyleRunStore::Seek(uint32_t row, uint16_t column, CellCursor* cursor) const {
  RecordPosition at;
  if (cursor->block) {
    at = StartPosition(cursor);
  } else if (row <= kMaxRow && (pageFlags_[row / kRowsPerPage] & kPageIndexBuilt)) {
    const PageIndexPage* index = pageIndex_[row / kRowsPerPage];
    if (!index)
      return nullptr;
    const PageIndexEntry& entry = index->entries[row % kRowsPerPage];
    if (!entry.block)
      return nullptr;
    at = {entry.block, entry.offset};
  } else {
    if (!firstBlock_)
      return nullptr;
    at = RowStart<StyleRunTraits>(row);
  }
  at = SkipBlocksBefore<StyleRunTraits>(at, row);

  for (;;) {
    for (; at.offset < at.block->used; at.offset = static_cast<uint16_t>(at.offset + kStyleRunSize)) {
      const StyleRun* run = RunAt(at.block, at.offset);
      cursor->block = at.block;
      cursor->offset = at.offset;
      if (run->row > row || (run->row == row && run->firstColumn > column))
        return nullptr;
      if (run->row == row && run->lastColumn >= column) {
        if (cursor->flags & kCursorAfterRecord)
          cursor->offset = static_cast<uint16_t>(at.offset + kStyleRunSize);
        return run;
      }
    }
    if (!at.block->next)
      return nullptr;
    at = {at.block->next, 0};
    CountBlockStep();
  }
}

const StyleRun* StyleRunStore::FindRun(uint32_t row, uint16_t column, CellCursor* cursor) const {
  CellCursor scratch;
  return Seek(row, column, cursor ? cursor : &scratch);
}

StyleRun* StyleRunStore::FindRun(uint32_t row, uint16_t column, CellCursor* cursor) {
  CellCursor scratch;
  return const_cast<StyleRun*>(Seek(row, column, cursor ? cursor : &scratch));
}

bool StyleRunStore::InsertRun(const StyleRun& given, CellCursor* cursor) {
  // A copy: the caller's run may sit in a block that the insert moves.
  const StyleRun run = given;
  if (!ValidRun(run)) {
    lastError_ = kStyleRunBadRun;
    return false;
  }

  RecordPosition at = {nullptr, 0};
  if (firstBlock_) {
    at = CursorOrRowStart<StyleRunTraits>(cursor, run.row);
    // A cursor left past the run's place would put it out of order: start
    // again from the row's block then.
    const StyleRun* before = RunBefore(at);
    if (before && (before->row > run.row || (before->row == run.row && before->firstColumn > run.lastColumn)))
      at = RowStart<StyleRunTraits>(run.row);
    for (;;) {
      for (; at.offset < at.block->used; at.offset = static_cast<uint16_t>(at.offset + kStyleRunSize)) {
        StyleRun* existing = RunAt(at.block, at.offset);
        if (existing->row > run.row)
          break;
        if (existing->row < run.row)
          continue;
        if (existing->style == run.style) {
          bool extended = false;
          if (uint32_t(existing->lastColumn) + 1 == run.firstColumn) {
            existing->lastColumn = run.lastColumn;
            extended = true;
          } else if (uint32_t(run.lastColumn) + 1 == existing->firstColumn) {
            existing->firstColumn = run.firstColumn;
            extended = true;
          }
          if (extended) {
            if (cursor && (cursor->flags & kCursorAfterRecord)) {
              cursor->block = at.block;
              cursor->offset = at.offset;
            }
            return true;
          }
        }
        if (existing->firstColumn > run.lastColumn)
          break;
      }
      if (at.offset < at.block->used || !at.block->next)
        break;
      at = {at.block->next, 0};
      CountBlockStep();
    }
  }

  RecordPosition placed;
  if (!InsertRecordAt(at, reinterpret_cast<const uint8_t*>(&run), kStyleRunSize, &placed)) {
    lastError_ = kStyleRunOutOfMemory;
    return false;
  }
  if (cursor && (cursor->flags & kCursorAfterRecord)) {
    cursor->block = placed.block;
    cursor->offset = placed.offset;
  }
  if (freeBytes_ > kStyleRunSize)
    freeBytes_ -= kStyleRunSize;
  if (NeedsCompaction()) {
    Compact(false);
    if (cursor) {
      cursor->block = firstBlock_;
      cursor->offset = 0;
    }
  }
  return true;
}

uint32_t StyleRunStore::BlocksNeededToClear(RecordPosition start, uint16_t firstColumn, uint16_t lastColumn,
                                            uint32_t firstRow, uint32_t lastRow) const {
  // Only a block in which some run is split grows; each such block sends at
  // most one block's worth of runs on, and a block that does not grow takes
  // what it is sent only when it fits. So one block per growing block is
  // enough, however the splits cascade.
  uint32_t needed = 0;
  uint32_t offset = start.offset;
  for (const CellBlock* block = start.block; block; block = block->next, offset = 0) {
    if (offset < block->used && RunAt(block, offset)->row > lastRow)
      break;
    for (; offset < block->used; offset += kStyleRunSize) {
      const StyleRun* run = RunAt(block, offset);
      if (run->row > lastRow)
        return needed;
      if (run->row >= firstRow && run->firstColumn < firstColumn && run->lastColumn > lastColumn) {
        ++needed;
        break;
      }
    }
  }
  return needed;
}

bool StyleRunStore::ClearRect(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                              CellCursor* cursor, bool free) {
  if (firstColumn > lastColumn || firstRow > lastRow) {
    lastError_ = kStyleRunBadRange;
    return false;
  }
  if (!firstBlock_)
    return true;
  const RecordPosition start = CursorOrRowStart<StyleRunTraits>(cursor, firstRow);
  // The blocks for runs that splits push out of their block are reserved
  // first, so that the rewrite cannot fail half-way.
  if (firstColumn > 0 && lastColumn < kMaxColumn) {
    uint32_t needed = BlocksNeededToClear(start, firstColumn, lastColumn, firstRow, lastRow);
    if (needed && !ReserveBlocks(needed)) {
      lastError_ = kStyleRunOutOfMemory;
      return false;
    }
  }
  InvalidatePageIndex();

  // Every run may split in two, so a block's runs can come out at almost
  // twice its payload.
  uint8_t work[2 * kBlockPayload];
  bool startSurvives = true;
  CellBlock* block = start.block;
  uint32_t offset = start.offset;
  while (block) {
    const uint32_t used = block->used;
    if (offset < used && RunAt(block, offset)->row > lastRow)
      break;
    std::memcpy(work, block->payload, offset);
    uint32_t out = offset;
    bool changed = false;
    bool passed = false;
    for (uint32_t read = offset; read < used; read += kStyleRunSize) {
      const StyleRun run = *RunAt(block, read);
      if (run.row > lastRow)
        passed = true;
      if (passed || run.row < firstRow || run.lastColumn < firstColumn || run.firstColumn > lastColumn) {
        AppendRun(work, &out, run);
        continue;
      }
      changed = true;
      if (run.firstColumn < firstColumn)
        AppendRun(work, &out, {run.firstColumn, static_cast<uint16_t>(firstColumn - 1), run.row, run.style});
      if (run.lastColumn > lastColumn)
        AppendRun(work, &out, {static_cast<uint16_t>(lastColumn + 1), run.lastColumn, run.row, run.style});
    }

    CellBlock* next = block->next;
    if (changed) {
      if (out == 0) {
        ReduceFreeBytes(kBlockPayload - used);
        if (block == start.block)
          startSurvives = false;
        UnlinkBlock(block, free);
      } else if (out <= kBlockPayload) {
        std::memcpy(block->payload, work, out);
        block->used = static_cast<uint16_t>(out);
        if (out < used)
          freeBytes_ += used - out;
        else
          ReduceFreeBytes(out - used);
      } else {
        // The block keeps whole runs up to its capacity; the rest goes to the
        // front of the next block when it fits there, else to a block of its
        // own. Those runs are already cleared, so walking them again below
        // changes nothing.
        const uint32_t rest = out - kFullBlockRunBytes;
        std::memcpy(block->payload, work, kFullBlockRunBytes);
        block->used = kFullBlockRunBytes;
        if (next && next->used + rest <= kBlockPayload) {
          std::memmove(next->payload + rest, next->payload, next->used);
          std::memcpy(next->payload, work + kFullBlockRunBytes, rest);
          next->used = static_cast<uint16_t>(next->used + rest);
        } else {
          CellBlock* spill = TakeBlock();  // reserved above: cannot fail
          LinkAfter(spill, block);
          ++blockCount_;
          freeBytes_ += kBlockPayload;
          std::memcpy(spill->payload, work + kFullBlockRunBytes, rest);
          spill->used = static_cast<uint16_t>(rest);
          next = spill;
        }
        ReduceFreeBytes(out - used);
      }
    }
    if (passed)
      break;
    block = next;
    offset = 0;
  }

  if (cursor) {
    cursor->block = startSurvives ? start.block : nullptr;
    cursor->offset = startSurvives ? start.offset : 0;
  }
  return true;
}

template <class Keep>
void StyleRunStore::RewriteRuns(RecordPosition start, bool free, Keep keep) {
  InvalidatePageIndex();
  CellBlock* block = start.block;
  uint32_t from = start.offset;
  while (block) {
    CellBlock* next = block->next;
    const uint32_t used = block->used;
    uint32_t kept = from;
    for (uint32_t read = from; read < used; read += kStyleRunSize) {
      StyleRun run = *RunAt(block, read);
      if (!keep(&run))
        continue;
      *RunAt(block, kept) = run;
      kept += kStyleRunSize;
    }
    if (kept != used) {
      if (kept) {
        freeBytes_ += used - kept;
        block->used = static_cast<uint16_t>(kept);
      } else {
        ReduceFreeBytes(kBlockPayload - used);
        UnlinkBlock(block, free);
      }
    }
    block = next;
    from = 0;
  }
}

void StyleRunStore::ShiftRowsDown(uint32_t firstRow, uint32_t count) {
  if (!firstBlock_ || count == 0 || firstRow > kMaxRow)
    return;
  RewriteRuns(RowStart<StyleRunTraits>(firstRow), true, [&](StyleRun* run) {
    if (run->row < firstRow)
      return true;
    if (uint64_t(run->row) + count > kMaxRow)
      return false;
    run->row += count;
    return true;
  });
}

void StyleRunStore::ShiftColumnsRight(uint16_t firstColumn, uint16_t count) {
  if (!firstBlock_ || count == 0 || firstColumn > kMaxColumn)
    return;
  // Columns from here on would pass the last column.
  const uint32_t offGrid = count > kMaxColumn ? 0 : kColumnCount - count;
  RewriteRuns({firstBlock_, 0}, true, [&](StyleRun* run) {
    if (run->firstColumn >= offGrid)
      return false;
    if (run->lastColumn >= offGrid)
      run->lastColumn = static_cast<uint16_t>(offGrid - 1);
    if (run->firstColumn >= firstColumn)
      run->firstColumn = static_cast<uint16_t>(run->firstColumn + count);
    if (run->lastColumn >= firstColumn)
      run->lastColumn = static_cast<uint16_t>(run->lastColumn + count);
    return true;
  });
}

void StyleRunStore::DeleteRows(uint32_t firstRow, uint32_t lastRow) {
  if (!firstBlock_ || firstRow > lastRow || firstRow > kMaxRow)
    return;
  const uint32_t count = lastRow - firstRow + 1;
  RewriteRuns(RowStart<StyleRunTraits>(firstRow), true, [&](StyleRun* run) {
    if (run->row < firstRow)
      return true;
    if (run->row <= lastRow)
      return false;
    run->row -= count;
    return true;
  });
}

void StyleRunStore::DeleteColumns(uint16_t firstColumn, uint16_t lastColumn) {
  if (!firstBlock_ || firstColumn > lastColumn)
    return;
  const uint16_t count = static_cast<uint16_t>(lastColumn - firstColumn + 1);
  // Each bound maps to the first column after the gap's new place; the
  // mapping keeps the order of the runs of a row.
  RewriteRuns({firstBlock_, 0}, true, [&](StyleRun* run) {
    if (run->firstColumn >= firstColumn && run->lastColumn <= lastColumn)
      return false;
    if (run->firstColumn > lastColumn)
      run->firstColumn = static_cast<uint16_t>(run->firstColumn - count);
    else if (run->firstColumn >= firstColumn)
      run->firstColumn = firstColumn;
    if (run->lastColumn > lastColumn)
      run->lastColumn = static_cast<uint16_t>(run->lastColumn - count);
    else if (run->lastColumn >= firstColumn)
      run->lastColumn = static_cast<uint16_t>(firstColumn - 1);
    return true;
  });
}

bool StyleRunStore::CopyRunsFrom(StyleRunStore* source) {
  if (!source || source == this) {
    lastError_ = kStyleRunBadRange;
    return false;
  }
  if (!CopyChainFrom(source)) {
    lastError_ = kStyleRunOutOfMemory;
    return false;
  }
  return true;
}

bool StyleRunStore::BuildPageIndex(uint32_t page, CellCursor* cursor) {
  if (page >= kPageCount) {
    lastError_ = kStyleRunBadRange;
    return false;
  }
  if (!BuildPageIndexOf<StyleRunTraits>(page, cursor)) {
    lastError_ = kStyleRunOutOfMemory;
    return false;
  }
  return true;
}

StyleRun* StyleRunStore::NextRun(CellCursor* cursor) {
  return cursor ? AsStyleRun(NextRecord<StyleRunTraits>(cursor, nullptr)) : nullptr;
}

StyleRun* StyleRunStore::FindFirstInRect(CellCursor* cursor, uint16_t firstColumn, uint16_t lastColumn,
                                         uint32_t firstRow, uint32_t lastRow) {
  const StyleRunStore* self = this;
  return const_cast<StyleRun*>(self->FindFirstInRect(cursor, firstColumn, lastColumn, firstRow, lastRow));
}

const StyleRun* StyleRunStore::FindFirstInRect(CellCursor* cursor, uint16_t firstColumn, uint16_t lastColumn,
                                               uint32_t firstRow, uint32_t lastRow) const {
  CellCursor scratch;
  if (!cursor)
    cursor = &scratch;
  RecordPosition at = CursorOrRowStart<StyleRunTraits>(cursor, firstRow);
  if (!at.block)
    return nullptr;
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = at.block;
  walk.offset = at.offset;
  for (;;) {
    const StyleRun* run = NextRun(&walk);
    cursor->block = walk.block;
    cursor->offset = walk.offset;
    if (!run)
      return nullptr;
    const uint16_t on = static_cast<uint16_t>(walk.offset - kStyleRunSize);
    if (run->row > lastRow || (run->row == lastRow && run->firstColumn > lastColumn)) {
      cursor->offset = on;
      return nullptr;
    }
    if (run->row >= firstRow && run->firstColumn <= lastColumn && run->lastColumn >= firstColumn) {
      if (!(cursor->flags & kCursorAfterRecord))
        cursor->offset = on;
      return run;
    }
  }
}

bool StyleRunStore::CheckInvariants(char* message, size_t capacity) const {
  if (!CheckChain(message, capacity))
    return false;
  auto fail = [&](const char* what, uint32_t blockIndex, uint32_t offset) {
    if (message && capacity)
      std::snprintf(message, capacity, "%s (block %u, offset %u)", what, blockIndex, offset);
    return false;
  };
  const StyleRun* previous = nullptr;
  uint32_t indexedRows = 0;
  uint32_t blockIndex = 0;
  for (const CellBlock* block = firstBlock_; block; block = block->next, ++blockIndex) {
    if (block->used % kStyleRunSize != 0)
      return fail("used bytes are not whole runs", blockIndex, block->used);
    for (uint32_t offset = 0; offset < block->used; offset += kStyleRunSize) {
      const StyleRun* run = RunAt(block, offset);
      if (!ValidRun(*run))
        return fail("run reversed or outside the grid", blockIndex, offset);
      if (previous &&
          (previous->row > run->row || (previous->row == run->row && previous->lastColumn >= run->firstColumn)))
        return fail("runs out of order or overlapping", blockIndex, offset);
      const bool firstOfRow = !previous || previous->row != run->row;
      const uint32_t page = run->row / kRowsPerPage;
      if (firstOfRow && (pageFlags_[page] & kPageIndexBuilt)) {
        const PageIndexEntry& entry = pageIndex_[page]->entries[run->row % kRowsPerPage];
        if (entry.block != block || entry.offset != offset)
          return fail("page index entry is not the row's first run", blockIndex, offset);
        ++indexedRows;
      }
      previous = run;
    }
  }
  uint32_t entries = 0;
  for (uint32_t page = 0; page < kPageCount; ++page)
    if (pageFlags_[page] & kPageIndexBuilt)
      for (const PageIndexEntry& entry : pageIndex_[page]->entries) entries += entry.block != nullptr;
  if (entries != indexedRows)
    return fail("page index names rows that hold no run", 0, 0);
  return true;
}
