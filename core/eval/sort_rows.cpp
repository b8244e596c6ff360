// The row sort shared by the sort command and the sorting and ranking
// functions: an in-place quicksort of row numbers by key columns.

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/base/text_compare.h"
#include "core/numfmt/text_to_number.h"

namespace {

// Pending sub-ranges: the larger part waits, so the stack stays below
// log2 of the row count.
constexpr int kSortStackDepth = 64;
// How far the pivot search looks for a row whose keys are not all empty.
constexpr uint32_t kPivotSearchDistance = 8;

enum SortCellKind : uint8_t { kSortEmpty, kSortNumber, kSortText };

// A key cell read in place: texts are compared straight from the record, so
// that no text is too long for the evaluator's pool.
struct SortCell {
  SortCellKind kind;
  uint8_t error;
  double number;
  const char* text;
  size_t length;
};

SortCell ReadSortCell(const CellRecord* cell) {
  SortCell value{kSortEmpty, 0, 0.0, nullptr, 0};
  if (!cell) return value;
  value.error = cell->ErrorCode();
  if (cell->IsText()) {
    value.kind = kSortText;
    value.text = cell->Text();
    value.length = cell->TextLength();
  } else if (cell->IsFormula() && cell->HasCachedText()) {
    value.kind = kSortText;
    value.text = cell->CachedText();
    value.length = cell->CachedTextLength();
  } else if (cell->IsNumber()) {
    value.kind = kSortNumber;
    value.number = cell->Number();
  } else if (cell->IsFormula()) {
    value.kind = kSortNumber;
    value.number = cell->CachedNumber();
  }
  return value;
}

// A text compared with a number counts as the number it spells, else as empty.
void TextAsNumber(SortCell& value) {
  double number = 0;
  if (TextToNumberValue(value.text, value.length, &number)) {
    value.kind = kSortNumber;
    value.number = number;
  } else {
    value.kind = kSortEmpty;
  }
}

// Rows of a sort by one key up to which the key cells are gathered first:
// the sorts of the functions' ranges, short enough that the table lives on
// the stack and a page index would cost more than it saves.
constexpr uint32_t kGatheredSortRows = 256;

const CellRecord* KeyCell(const SortKeys& keys, uint32_t row, uint32_t k) {
  return keys.keyCells ? keys.keyCells[row - keys.firstRow] : keys.store->GetCell(row, keys.keyColumns[k]);
}

bool KeysAllEmpty(const SortKeys& keys, uint32_t row) {
  for (uint32_t k = 0; k < keys.keyCount; ++k)
    if (KeyCell(keys, row, k)) return false;
  return true;
}

}  // namespace

int EvalState::CompareSortRows(const SortKeys& keys, uint32_t a, uint32_t b) const {
  for (uint32_t k = 0; k < keys.keyCount; ++k) {
    const int direction = keys.ascending[k] ? 1 : -1;
    SortCell x = ReadSortCell(KeyCell(keys, a, k));
    SortCell y = ReadSortCell(KeyCell(keys, b, k));
    if (x.error != kErrorNone || y.error != kErrorNone) {
      if (x.error == y.error) continue;
      // Ascending, errors come first and smaller codes before larger ones.
      const unsigned rankX = x.error != kErrorNone ? x.error : 256u;
      const unsigned rankY = y.error != kErrorNone ? y.error : 256u;
      return (rankX < rankY ? -1 : 1) * direction;
    }
    if (x.kind == kSortNumber && y.kind == kSortText) TextAsNumber(y);
    if (x.kind == kSortText && y.kind == kSortNumber) TextAsNumber(x);
    // Empty cells go last in both directions.
    if (x.kind == kSortEmpty || y.kind == kSortEmpty) {
      if (x.kind == y.kind) continue;
      return x.kind == kSortEmpty ? 1 : -1;
    }
    int order = 0;
    if (x.kind == kSortNumber)
      order = x.number < y.number ? -1 : (x.number > y.number ? 1 : 0);
    else
      order = CompareTextIgnoringCase(x.text, x.length, y.text, y.length);
    if (order != 0) return order * direction;
  }
  return 0;
}

void EvalState::SortRows(CellStore* store, uint32_t first, uint32_t last, uint32_t keyCount,
                         const uint16_t* keyColumns, const uint8_t* ascending, uint32_t* index) {
  if (!index || last < first) return;
  const int32_t count = static_cast<int32_t>(last - first + 1);
  for (int32_t i = 0; i < count; ++i) index[i] = first + static_cast<uint32_t>(i);
  if (!store || !keyColumns || !ascending || keyCount == 0 || keyCount > kMaxSortKeys || count < 2) return;

  SortKeys keys{store, keyCount, keyColumns, ascending};
  const CellRecord* gathered[kGatheredSortRows];
  const bool gather = keyCount == 1 && uint32_t(count) <= kGatheredSortRows;
  if (gather) {
    for (int32_t i = 0; i < count; ++i) gathered[i] = nullptr;
    CellCursor walk = store->StartRangeWalk(first);
    while (const CellRecord* cell = walk.NextInRange(keyColumns[0], keyColumns[0], first, last))
      gathered[cell->Row() - first] = cell;
    keys.keyCells = gathered;
    keys.firstRow = first;
  } else {
    // Key cells are found through the page index while nothing changes the
    // store; an index page that cannot be had only makes the search slower.
    CellCursor cursor;
    for (uint32_t page = first / kRowsPerPage; page <= last / kRowsPerPage && page < kPageCount; ++page)
      store->BuildPageIndex(page, &cursor);
  }

  struct Span {
    int32_t low, high;
  };
  Span pending[kSortStackDepth];
  int depth = 0;
  int32_t low = 0;
  int32_t high = count - 1;
  for (;;) {
    while (low < high) {
      int32_t middle = low + (high - low) / 2;
      if (KeysAllEmpty(keys, index[middle])) {
        for (uint32_t distance = 1; distance <= kPivotSearchDistance; ++distance) {
          if (middle - int32_t(distance) >= low && !KeysAllEmpty(keys, index[middle - int32_t(distance)])) {
            middle -= int32_t(distance);
            break;
          }
          if (middle + int32_t(distance) <= high && !KeysAllEmpty(keys, index[middle + int32_t(distance)])) {
            middle += int32_t(distance);
            break;
          }
        }
      }
      const uint32_t pivot = index[middle];
      // Both scans are bounded: the order of mixed keys need not be
      // transitive, so no sentinel can be trusted to stop them.
      int32_t i = low;
      int32_t j = high;
      while (i <= j) {
        while (i <= high && CompareSortRows(keys, index[i], pivot) < 0) ++i;
        while (j >= low && CompareSortRows(keys, index[j], pivot) > 0) --j;
        if (i <= j) {
          const uint32_t swap = index[i];
          index[i] = index[j];
          index[j] = swap;
          ++i;
          --j;
        }
      }
      // The pivot row stops both scans, so both parts are smaller than the span.
      Span larger{i, high};
      if (j - low >= high - i) {
        larger = Span{low, j};
        low = i;
      } else {
        high = j;
      }
      if (depth < kSortStackDepth) {
        pending[depth++] = larger;
      } else {
        // Cannot happen with the larger part kept back; sort it the slow way.
        for (int32_t s = larger.low + 1; s <= larger.high; ++s)
          for (int32_t t = s; t > larger.low && CompareSortRows(keys, index[t - 1], index[t]) > 0; --t) {
            const uint32_t swap = index[t];
            index[t] = index[t - 1];
            index[t - 1] = swap;
          }
      }
    }
    if (depth == 0) break;
    --depth;
    low = pending[depth].low;
    high = pending[depth].high;
  }
  store->ClearPageIndex(false);
}
