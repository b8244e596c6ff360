#ifndef TALVERO_FILES_RECORD_CHECKS_H
#define TALVERO_FILES_RECORD_CHECKS_H

// Checks of the record images a file hands the workbook core. The core
// trusts its records: fixed texts end in a NUL within their fields,
// enumeration bytes that pick table entries lie within their tables, and
// stored blocks hold whole records in order. A byte outside its range that
// only selects a look is set to its default, and a style index past the
// table becomes 0, the style it stands for; a value beyond the range both
// native formats carry (a zoom, a page value, an indent, a view's corner,
// an inspect cell or an array formula's extent past the grid) is brought
// to the nearest value within it, so that every workbook that opens also
// saves in either format and opens again; what would break a structure
// (counts, sizes, order, the places of cells and style runs) makes the
// check fail, and the reader refuses the file.

#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/model/chart_record.h"
#include "core/model/container_record.h"
#include "core/model/page_settings.h"
#include "core/model/worksheet_view_format.h"
#include "core/styles/sheet_format.h"
#include "core/styles/style_record.h"

// The view and page values both native formats carry; the XML reader
// refuses values beyond them.
constexpr uint16_t kMinZoom = 10;
constexpr uint16_t kMaxZoom = 1000;
constexpr uint16_t kMinPrintScale = 10;
constexpr uint16_t kMaxPrintScale = 1000;
constexpr uint16_t kMaxFirstPageNumber = 65534;
constexpr uint16_t kMaxCopies = 65534;
constexpr uint8_t kMaxPagesPerSheet = 254;

void CheckFontRecord(FontRecord* font);
void CheckStyleRecord(StyleRecord* style, uint8_t fontCount);
void CheckContainerHeader(ContainerHeader* header);
// False for an unknown chart kind or more series than a chart has.
bool CheckChartOptions(ChartOptions* options);
void CheckSeriesImage(SeriesRecord* series);
// The writers take them too, on a copy, for values set by other means.
void CheckPageSettings(PageSettings* settings);
void CheckSheetSettings(WorksheetViewFormat* settings);
void CheckInspectRecord(uint8_t* record);

// The (row, column) of the last record accepted, so that order is checked
// across the blocks of one store.
struct StoredOrder {
  bool any = false;
  uint32_t row = 0;
  uint16_t column = 0;
};

// The extent of an array formula's result anchored at (row, column), at
// least one cell and not past the grid.
void CheckArrayExtent(uint32_t row, uint16_t column, uint16_t* columns, uint32_t* rows);

// A number cell's value or a formula's cached number that is no finite
// number (an infinity, a NaN) becomes "#NUM!" over 0, as the evaluator holds
// it, so that the cell is the same in every format it is saved in.
void CheckCellNumber(CellRecord* cell);

// A stored cell block: whole records with a known kind and error code,
// cells on the grid in strictly increasing row and column order. The
// recalculation state of formulas is cleared, as a load starts afresh, an
// array formula's extent is brought within the grid, and numbers that are
// not finite become "#NUM!".
bool CheckCellBlock(uint8_t* bytes, uint32_t length, StoredOrder* order);
// A stored style-run block: whole 10-byte runs on the grid, columns not
// reversed, in row and column order without overlap. A style index past the
// table's count becomes 0, the style such an index stands for.
bool CheckStyleRunBlock(uint8_t* bytes, uint32_t length, StoredOrder* order, uint16_t styleCount);
// A column record's style index past the table's count becomes 0.
void CheckColumnRecord(ColumnRecord* column, uint16_t styleCount);

#endif
