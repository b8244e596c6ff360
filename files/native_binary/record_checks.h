#ifndef TALVERO_FILES_RECORD_CHECKS_H
#define TALVERO_FILES_RECORD_CHECKS_H

// Checks of the record images a file hands the workbook core. The core
// trusts its records: fixed texts end in a NUL within their fields, and
// enumeration bytes that pick table entries lie within their tables (the
// stored blocks of cells and style runs are checked by the core's own
// checks, beside their records). A byte outside its range that only
// selects a look is set to its default, and a style index past the table
// becomes 0, the style it stands for; a value beyond the range both native
// formats carry (a zoom, a page value, an indent, a view's corner or an
// inspect cell) is brought to the nearest value within it, so that every
// workbook that opens also saves in either format and opens again; what
// would break a structure (counts, sizes) makes the check fail, and the
// reader refuses the file.

#include <cstdint>

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

// A column record's style index past the table's count becomes 0.
void CheckColumnRecord(ColumnRecord* column, uint16_t styleCount);

#endif
