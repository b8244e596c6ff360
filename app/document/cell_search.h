#ifndef TALVERO_APP_DOCUMENT_CELL_SEARCH_H
#define TALVERO_APP_DOCUMENT_CELL_SEARCH_H

// The search behind the document window's go-to-cell commands: from a
// reference row, the next row below or above in which every column of a
// span is filled, or empty, or holds the same cells as the reference row,
// or other cells in every column.

#include <cstdint>

class CellStore;
struct CellRecord;

enum CellSearchKind : uint8_t {
  kSearchNonEmpty = 0,
  kSearchEmpty = 1,
  kSearchIdentical = 2,
  kSearchDifferent = 3,
};

// What a command searches; Top and Bottom only scroll.
enum CellSearchCommandKind : uint8_t {
  kCommandSearches = 0,
  kCommandScrollsToTop = 1,
  kCommandScrollsToBottom = 2,
  kCommandNotASearch = 3,
};

struct CellSearchCommand {
  uint8_t action;  // CellSearchCommandKind
  uint8_t kind;    // CellSearchKind
  bool downward;
};
CellSearchCommand CellSearchOfCommand(uint32_t command);

// Two cells are identical when both are missing or their records are equal
// byte for byte apart from the row.
bool CellsIdentical(const CellRecord* a, const CellRecord* b);

// The first row after (downward) or before the reference row that fits the
// kind in every column from firstColumn to lastColumn; false when the walk
// passes the grid's last or first row.
bool FindRowInSpan(CellStore* store, uint16_t firstColumn, uint16_t lastColumn, uint32_t referenceRow,
                   bool downward, uint8_t kind, uint32_t* found);

#endif
