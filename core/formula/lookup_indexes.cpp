#include "core/formula/lookup_indexes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/cells/cell_store.h"
#include "platform/os_services.h"

namespace {

uint64_t Mix(uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdull;
  x ^= x >> 33;
  x *= 0xc4ceb9fe1a85ec53ull;
  return x ^ (x >> 33);
}

}  // namespace

uint64_t LookupNumberHash(double number) {
  // -0 equals 0 as lookups compare numbers.
  if (number == 0)
    number = 0;
  uint64_t bits;
  std::memcpy(&bits, &number, sizeof bits);
  return Mix(bits) | 1;  // numbers odd, texts even: never alike
}

uint64_t LookupTextHash(const char* text, size_t length) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < length && text[i] != '\0'; ++i)
    hash = (hash ^ OsCharUpper(static_cast<uint8_t>(text[i]))) * 1099511628211ull;
  return Mix(hash) & ~uint64_t(1);
}

void LookupIndexes::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled)
    Drop();
}

void LookupIndexes::BeginPass() {
  Drop();
  inPass_ = true;
  passLookups_ = 0;
}

void LookupIndexes::EndPass() {
  Drop();
  inPass_ = false;
}

void LookupIndexes::Drop() {
  for (uint32_t i = 0; i < indexCount_; ++i) std::free(indexes_[i].entries);
  std::free(indexes_);
  indexes_ = nullptr;
  indexCount_ = 0;
  entriesKept_ = 0;
}

LookupIndexes::Index* LookupIndexes::IndexOf(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow) {
  if (!indexes_) {
    indexes_ = static_cast<Index*>(std::malloc(sizeof(Index) * kMaxIndexes));
    if (!indexes_)
      return nullptr;
  }
  Index* stale = nullptr;
  for (uint32_t i = 0; i < indexCount_; ++i) {
    Index& index = indexes_[i];
    if (index.store == store && index.column == column && index.firstRow == firstRow && index.lastRow == lastRow)
      return &index;
    if (!index.entries && index.usable && (!stale || index.lastUse < stale->lastUse))
      stale = &index;
  }
  Index* index = indexCount_ < kMaxIndexes ? &indexes_[indexCount_++] : stale;
  if (index)
    *index = Index{store, firstRow, lastRow, column, 0, true, 0, 0, 0, nullptr, 0};
  return index;
}

bool LookupIndexes::Build(Index& index) {
  std::free(index.entries);
  entriesKept_ -= index.count;
  index.entries = nullptr;
  index.count = 0;
  if (++index.builds > kMaxBuilds)
    return index.usable = false;
  // The range's records, counted first so that one block holds them.
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = index.store->FirstBlock();
  const uint16_t column = index.column;
  uint32_t count = 0;
  while (const CellRecord* cell = cursor.NextInRange(column, column, index.firstRow, index.lastRow)) {
    // A value a pass may change is left to the plain search.
    if (cell->IsFormula() || cell->IsSpillValue())
      return index.usable = false;
    ++count;
  }
  if (count > kMaxEntries - entriesKept_)
    return index.usable = false;
  Entry* entries = static_cast<Entry*>(std::malloc(sizeof(Entry) * (count ? count : 1)));
  if (!entries)
    return index.usable = false;
  uint32_t kept = 0;
  cursor.block = index.store->FirstBlock();
  cursor.offset = 0;
  while (const CellRecord* cell = cursor.NextInRange(column, column, index.firstRow, index.lastRow)) {
    // A cell carrying an error is never found; a number no cell should hold
    // is left to the plain search, which reads it as it reads any.
    if (cell->ErrorCode() != 0)
      continue;
    if (cell->IsNumber()) {
      if (!std::isfinite(cell->Number())) {
        std::free(entries);
        return index.usable = false;
      }
      entries[kept++] = {LookupNumberHash(cell->Number()), cell->Row()};
    } else if (cell->IsText()) {
      entries[kept++] = {LookupTextHash(cell->Text(), cell->TextLength()), cell->Row()};
    }
  }
  std::sort(entries, entries + kept,
            [](const Entry& a, const Entry& b) { return a.hash != b.hash ? a.hash < b.hash : a.row < b.row; });
  index.entries = entries;
  index.count = kept;
  index.changes = index.store->ChainChanges();
  entriesKept_ += kept;
  ++buildCount_;
  return true;
}

bool LookupIndexes::Candidates(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow, uint64_t hash,
                               const Entry** first, const Entry** last) {
  if (!enabled_ || !inPass_ || !store || firstRow > lastRow || lastRow - firstRow < kMinRows - 1)
    return false;
  Index* index = IndexOf(store, column, firstRow, lastRow);
  if (!index)
    return false;
  index->lastUse = ++passLookups_;
  if (!index->usable || ++index->lookups < kLookupsBeforeIndex)
    return false;
  if ((!index->entries || index->changes != store->ChainChanges()) && !Build(*index))
    return false;
  const Entry* begin = index->entries;
  const Entry* end = begin + index->count;
  const Entry* from =
      std::lower_bound(begin, end, hash, [](const Entry& entry, uint64_t value) { return entry.hash < value; });
  const Entry* to = from;
  while (to != end && to->hash == hash) ++to;
  *first = from;
  *last = to;
  return true;
}
