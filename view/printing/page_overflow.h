#ifndef TALVERO_VIEW_PAGE_OVERFLOW_H
#define TALVERO_VIEW_PAGE_OVERFLOW_H

// How far the texts of one printed row run to the right: left-aligned texts
// over empty columns to their right, right-aligned ones to their left,
// centred ones both ways, laid out as the cell painter lays them out. Wrapped
// and shrunk texts stay in their cell; excluded columns take no room.

#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/styles/text_measurer.h"

class CWorkBook;
class CWorkSheet;
class PrintExclusions;
struct PrintZoom;

// The cells of one row by column, reused from row to row.
struct RowCells {
  const CellRecord* byColumn[kColumnCount];
  uint16_t columns[kColumnCount];
  uint32_t count;
};

struct OverflowScan {
  CWorkBook* workbook;
  CWorkSheet* sheet;
  const TextMeasurer* measurer;
  const PrintExclusions* exclusions;
  uint16_t zoomX;
  uint16_t zoomY;
  uint16_t firstColumn;  // of the page
  uint16_t fitLastColumn;
  uint16_t areaLastColumn;
  bool frozenColumn;  // a column is frozen: texts do not run left past the page's first column
  uint16_t frozenColumnIndex;
};

// The rightmost column reached by a text of the row that shows within the
// page's columns (firstColumn..fitLastColumn), or -1 when none does.
int32_t RowTextReach(const OverflowScan& scan, uint32_t row, RowCells* cells);

#endif
