#ifndef TALVERO_FILES_RECORD_CHECKS_H
#define TALVERO_FILES_RECORD_CHECKS_H

// Checks of the record images a file hands the workbook core. The core
// trusts its records: fixed texts end in a NUL within their fields,
// enumeration bytes that pick table entries lie within their tables, and
// stored blocks hold whole records in order. A byte outside its range that
// only selects a look is set to its default; what would break a structure
// (counts, sizes, order, coordinates) makes the check fail, and the reader
// refuses the file.

#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/model/chart_record.h"
#include "core/model/container_record.h"
#include "core/model/page_settings.h"
#include "core/model/worksheet_view_format.h"
#include "core/styles/style_record.h"

void CheckFontRecord(FontRecord* font);
void CheckStyleRecord(StyleRecord* style, uint8_t fontCount);
void CheckContainerHeader(ContainerHeader* header);
// False for an unknown chart kind or more series than a chart has.
bool CheckChartOptions(ChartOptions* options);
void CheckSeriesImage(SeriesRecord* series);
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

// A stored cell block: whole records with a known kind and error code,
// cells on the grid in strictly increasing row and column order. The
// recalculation state of formulas is cleared, as a load starts afresh.
bool CheckCellBlock(uint8_t* bytes, uint32_t length, StoredOrder* order);
// A stored style-run block: whole 10-byte runs on the grid, columns not
// reversed, in row and column order without overlap.
bool CheckStyleRunBlock(const uint8_t* bytes, uint32_t length, StoredOrder* order);

#endif
