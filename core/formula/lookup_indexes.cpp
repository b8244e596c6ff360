#include "core/formula/lookup_indexes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/cells/cell_store.h"
#include "core/base/text_compare.h"

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
  const uint8_t* upper = UpperCaseTable();
  for (size_t i = 0; i < length && text[i] != '\0'; ++i)
    hash = (hash ^ upper[static_cast<uint8_t>(text[i])]) * 1099511628211ull;
  return Mix(hash) & ~uint64_t(1);
}

bool LookupIndexes::Fill(PassRangeTables::Table& table, uint32_t budget) {
  // The range's records, counted first so that one block holds them.
  CellCursor cursor = table.store->StartRangeWalk(table.firstRow);
  const CellCursor start = cursor;
  const uint16_t column = table.column;
  uint32_t count = 0;
  while (const CellRecord* cell = cursor.NextInRange(column, column, table.firstRow, table.lastRow)) {
    // A value a pass may change is left to the plain search.
    if (cell->IsFormula() || cell->IsSpillValue())
      return false;
    ++count;
  }
  if (count > budget)
    return false;
  Entry* entries = static_cast<Entry*>(std::malloc(sizeof(Entry) * (count ? count : 1)));
  if (!entries)
    return false;
  table.entries = entries;
  uint32_t kept = 0;
  cursor = start;
  while (const CellRecord* cell = cursor.NextInRange(column, column, table.firstRow, table.lastRow)) {
    // A cell carrying an error is never found; a number no cell should hold
    // is left to the plain search, which reads it as it reads any.
    if (cell->ErrorCode() != 0)
      continue;
    // The walk stands after the record, in its block.
    const RecordPosition at = {cursor.block, static_cast<uint16_t>(cursor.offset - cell->Size())};
    if (cell->IsNumber()) {
      if (!std::isfinite(cell->Number()))
        return false;
      entries[kept++] = {LookupNumberHash(cell->Number()), cell->Row(), at};
    } else if (cell->IsText()) {
      entries[kept++] = {LookupTextHash(cell->Text(), cell->TextLength()), cell->Row(), at};
    }
  }
  std::sort(entries, entries + kept,
            [](const Entry& a, const Entry& b) { return a.hash != b.hash ? a.hash < b.hash : a.row < b.row; });
  table.count = kept;
  return true;
}

bool LookupIndexes::Candidates(CellStore* store, uint16_t column, uint32_t firstRow, uint32_t lastRow, uint64_t hash,
                               const Entry** first, const Entry** last) {
  const PassRangeTables::Table* table = tables_.Find(store, column, firstRow, lastRow);
  if (!table)
    return false;
  const Entry* begin = static_cast<const Entry*>(table->entries);
  const Entry* end = begin + table->count;
  const Entry* from =
      std::lower_bound(begin, end, hash, [](const Entry& entry, uint64_t value) { return entry.hash < value; });
  const Entry* to = from;
  while (to != end && to->hash == hash) ++to;
  *first = from;
  *last = to;
  return true;
}
