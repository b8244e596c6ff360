#include "app/document/cell_search.h"

#include "core/cells/cell_store.h"
#include "resources/resource_ids.h"

namespace {

struct CommandEntry {
  uint32_t command;
  CellSearchCommand search;
};

const CommandEntry kCommands[] = {
    {ID_NEXT_NON_EMPTY, {kCommandSearches, kSearchNonEmpty, true}},
    {ID_NEXT_EMPTY, {kCommandSearches, kSearchEmpty, true}},
    {ID_NEXT_IDENTICAL, {kCommandSearches, kSearchIdentical, true}},
    {ID_NEXT_DIFFERENT, {kCommandSearches, kSearchDifferent, true}},
    {ID_GO_BOTTOM, {kCommandScrollsToBottom, kSearchNonEmpty, true}},
    {ID_PREVIOUS_NON_EMPTY, {kCommandSearches, kSearchNonEmpty, false}},
    {ID_PREVIOUS_EMPTY, {kCommandSearches, kSearchEmpty, false}},
    {ID_PREVIOUS_IDENTICAL, {kCommandSearches, kSearchIdentical, false}},
    {ID_PREVIOUS_DIFFERENT, {kCommandSearches, kSearchDifferent, false}},
    {ID_GO_TOP, {kCommandScrollsToTop, kSearchNonEmpty, false}},
};

// The row fails as soon as one column does not fit.
bool RowFits(CellStore* store, uint16_t firstColumn, uint16_t lastColumn, uint32_t row, uint8_t kind,
             const CellRecord* const* reference, CellCursor* cursor) {
  for (uint32_t column = firstColumn; column <= lastColumn; ++column) {
    const CellRecord* cell = store->FindCell(row, static_cast<uint16_t>(column), cursor);
    switch (kind) {
      case kSearchNonEmpty:
        if (cell == nullptr) return false;
        break;
      case kSearchEmpty:
        if (cell != nullptr) return false;
        break;
      case kSearchIdentical:
        if (!CellsIdentical(reference[column - firstColumn], cell)) return false;
        break;
      default:
        if (CellsIdentical(reference[column - firstColumn], cell)) return false;
        break;
    }
  }
  return true;
}

}  // namespace

CellSearchCommand CellSearchOfCommand(uint32_t command) {
  for (const CommandEntry& entry : kCommands)
    if (entry.command == command) return entry.search;
  return CellSearchCommand{kCommandNotASearch, kSearchNonEmpty, true};
}

bool CellsIdentical(const CellRecord* a, const CellRecord* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return SameCellApartFromRow(*a, *b);
}

bool FindRowInSpan(CellStore* store, uint16_t firstColumn, uint16_t lastColumn, uint32_t referenceRow,
                   bool downward, uint8_t kind, uint32_t* found) {
  if (firstColumn > lastColumn || lastColumn > kMaxColumn || referenceRow > kMaxRow) return false;
  // Looked up once: the cells of the reference row, one entry per column.
  const CellRecord* reference[kColumnCount] = {};
  if (kind == kSearchIdentical || kind == kSearchDifferent) {
    for (uint32_t column = firstColumn; column <= lastColumn; ++column)
      reference[column - firstColumn] = store->GetCell(referenceRow, static_cast<uint16_t>(column));
  }
  if (downward) {
    // Rows come in order, so one cursor serves the whole walk.
    CellCursor cursor;
    for (uint32_t row = referenceRow + 1; row <= kMaxRow; ++row) {
      if (RowFits(store, firstColumn, lastColumn, row, kind, reference, &cursor)) {
        *found = row;
        return true;
      }
    }
    return false;
  }
  for (uint32_t row = referenceRow; row-- > 0;) {
    if (RowFits(store, firstColumn, lastColumn, row, kind, reference, nullptr)) {
      *found = row;
      return true;
    }
  }
  return false;
}
