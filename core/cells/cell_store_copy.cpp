// Copies between stores: rows gathered in a given order, a rectangle tiled
// over another, and a whole store block by block.

#include "core/cells/cell_store.h"

#include <cstring>

#include "core/cells/cell_store_places.h"

bool CellStore::GatherRows(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                           CellStore* target, const uint32_t* rowIndex) const {
  if (!target || target == this) {
    if (target)
      target->lastError_ = kCellStoreBadRange;
    return false;
  }
  target->Clear(true);
  if (firstColumn > lastColumn || firstRow > lastRow || !rowIndex)
    return true;
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;

  CellCursor out;
  out.flags = kCursorAfterRecord;
  for (uint32_t row = firstRow; row <= lastRow; ++row) {
    const uint32_t sourceRow = rowIndex[row - firstRow];
    CellCursor in;
    Seek(sourceRow, firstColumn, &in);
    in.flags = kCursorAfterRecord;
    while (const CellRecord* record = in.Next()) {
      uint32_t recordRow = record->Row();
      uint16_t column = record->Column();
      if (recordRow < sourceRow || (recordRow == sourceRow && column < firstColumn))
        continue;
      if (recordRow > sourceRow || column > lastColumn)
        break;
      if (!target->InsertCellAs(record, row, column, &out)) {
        target->Clear(true);
        return false;
      }
    }
  }
  return true;
}

bool CellStore::TileRangesValid(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                uint32_t sourceLastRow, const CellBlock* sourceChain) {
  // A reversed source would give tiles of no width, and a chain of this
  // store would be rewritten while it is read.
  if (firstColumn > lastColumn || firstRow > lastRow || sourceFirstColumn > sourceLastColumn ||
      sourceFirstRow > sourceLastRow || (sourceChain && sourceChain == firstBlock_)) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  return true;
}

bool CellStore::CopyRangeToStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                 uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                 uint32_t sourceLastRow, const CellBlock* sourceChain) {
  if (!TileRangesValid(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                       sourceFirstRow, sourceLastRow, sourceChain))
    return false;
  DeleteRange(firstColumn, lastColumn, firstRow, lastRow, nullptr, false);
  return TileRangeFromStore(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                            sourceFirstRow, sourceLastRow, sourceChain);
}

bool CellStore::TileRangeFromStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                   uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                   uint32_t sourceLastRow, const CellBlock* sourceChain) {
  if (!TileRangesValid(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                       sourceFirstRow, sourceLastRow, sourceChain))
    return false;
  const uint32_t width = uint32_t(sourceLastColumn) - sourceFirstColumn + 1;
  const uint32_t height = sourceLastRow - sourceFirstRow + 1;
  // The copies of one column of tiles are made in ascending order. Where
  // they land past the chain's last cell (a paste into empty rows, two
  // million of them for a cell tiled over a whole column) AppendCells puts
  // a buffer of them at the chain's end with one copy per block, where each
  // would otherwise search for its place; elsewhere each takes the insert's
  // way as before. A recalculation pass keeps its page index through
  // inserts, which appending would drop, so during one every copy is
  // inserted.
  uint8_t staged[kBlockPayload];
  uint32_t stagedBytes = 0;
  uint64_t stagedTotal = 0;
  const bool stage = indexedPages_ == 0;
  for (uint32_t tileColumn = firstColumn; tileColumn <= lastColumn; tileColumn += width) {
    // The tiles of one column of tiles follow each other down the rows: each
    // insert starts its search where the last one ended.
    CellCursor out;
    out.flags = kCursorAfterRecord;
    const auto flush = [&] {
      const bool placed = stagedBytes == 0 || AppendCells(staged, stagedBytes, &out);
      stagedBytes = 0;
      return placed;
    };
    const auto place = [&](const CellRecord* record, uint32_t size, uint32_t row, uint16_t column) {
      // A record no block can hold (a malformed source) is the insert's to refuse.
      if (!stage || size == 0 || size > kBlockPayload)
        return flush() && InsertCellAs(record, row, column, &out);
      if (stagedBytes + size > sizeof staged && !flush())
        return false;
      CellRecord* copy = AsCellRecord(staged + stagedBytes);
      std::memcpy(copy, record, size);
      copy->SetRow(row);
      copy->SetColumn(column);
      stagedBytes += size;
      stagedTotal += size;
      return true;
    };
    const auto moveStagedDown = [&](uint32_t from, uint32_t bytes, uint32_t rows) {
      for (uint32_t at = from; at < from + bytes; at += AsCellRecord(staged + at)->Size()) {
        CellRecord* copy = AsCellRecord(staged + at);
        copy->SetRow(copy->Row() + rows);
      }
    };
    // The whole tile the buffer holds alone, repeated for the count whole
    // tiles below it: the buffer fills with copies a tile's height apart,
    // and once appended moves down by the tiles it held, so that a copy
    // costs its row numbers rather than a walk of the source.
    const auto repeatStagedTile = [&](uint64_t count) {
      const uint32_t tileBytes = stagedBytes;
      uint64_t left = count + 1;
      const uint32_t fit = uint32_t(left < sizeof staged / tileBytes ? left : sizeof staged / tileBytes);
      uint32_t tiles = 1;
      while (tiles < fit) {
        const uint32_t more = tiles < fit - tiles ? tiles : fit - tiles;
        std::memcpy(staged + tiles * tileBytes, staged, more * tileBytes);
        moveStagedDown(tiles * tileBytes, more * tileBytes, tiles * height);
        tiles += more;
      }
      stagedBytes = tiles * tileBytes;
      for (;;) {
        if (!flush())
          return false;
        left -= tiles;
        if (left == 0)
          return true;
        const uint32_t appended = tiles;
        if (left < tiles)
          tiles = uint32_t(left);
        moveStagedDown(0, tiles * tileBytes, appended * height);
        stagedBytes = tiles * tileBytes;
      }
    };
    for (uint64_t tileRow = firstRow; tileRow <= lastRow; tileRow += height) {
      const uint64_t stagedBefore = stagedTotal;
      bool tileEnded = false;
      for (const CellBlock* block = sourceChain; block && !tileEnded; block = block->next) {
        if (block != sourceChain)
          CountBlockStep();
        for (uint32_t offset = 0; offset < block->used;) {
          const CellRecord* record = RecordAt(block, offset);
          const uint32_t size = record->Size();
          offset += size;
          uint32_t row = record->Row();
          uint16_t column = record->Column();
          // Any record past the last row ends the tile, also one outside the
          // columns: nothing after it can belong to the source rectangle.
          if (row > sourceLastRow || (row >= sourceFirstRow && uint64_t(row) - sourceFirstRow + tileRow > lastRow)) {
            tileEnded = true;
            break;
          }
          if (row < sourceFirstRow || column < sourceFirstColumn || column > sourceLastColumn)
            continue;
          uint64_t toRow = row - sourceFirstRow + tileRow;
          uint32_t toColumn = column - sourceFirstColumn + tileColumn;
          if (toColumn > lastColumn)
            continue;
          if (!place(record, size, uint32_t(toRow), uint16_t(toColumn)))
            return false;
        }
      }
      // A whole tile's copies are those of every whole tile below it, a
      // tile's height further down each; the buffer holds them when it holds
      // all that the tile staged and nothing before.
      const uint64_t wholeTiles = tileRow + height - 1 <= lastRow ? (lastRow + 1 - tileRow) / height : 0;
      if (wholeTiles > 1 && stagedBytes != 0 && stagedTotal - stagedBefore == stagedBytes) {
        if (!repeatStagedTile(wholeTiles - 1))
          return false;
        tileRow += (wholeTiles - 1) * height;
      }
    }
    if (!flush())
      return false;
  }
  return true;
}

bool CellStore::SourceChainFromRow(const CellStore& source, uint32_t row, const CellBlock** chain) {
  if (&source == this) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  CellCursor from;
  source.PositionAtRow(row, &from);
  *chain = from.block;
  return true;
}

bool CellStore::TileRangeFromStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                   uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                   uint32_t sourceLastRow, const CellStore& source) {
  const CellBlock* chain = nullptr;
  return SourceChainFromRow(source, sourceFirstRow, &chain) &&
         TileRangeFromStore(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                            sourceFirstRow, sourceLastRow, chain);
}

bool CellStore::CopyRangeToStore(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                                 uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                                 uint32_t sourceLastRow, const CellStore& source) {
  const CellBlock* chain = nullptr;
  return SourceChainFromRow(source, sourceFirstRow, &chain) &&
         CopyRangeToStore(firstColumn, lastColumn, firstRow, lastRow, sourceFirstColumn, sourceLastColumn,
                          sourceFirstRow, sourceLastRow, chain);
}

bool CellStore::CopyFrom(CellStore* source) {
  if (!source || source == this) {
    lastError_ = kCellStoreBadRange;
    return false;
  }
  if (!CopyChainFrom(source)) {
    lastError_ = kCellStoreOutOfMemory;
    return false;
  }
  return true;
}
