#ifndef TALVERO_APP_FRAME_WORKSHEET_ZOOM_H
#define TALVERO_APP_FRAME_WORKSHEET_ZOOM_H

// The zoom the zoom chooser applies: to the active worksheet, or to every
// worksheet of the workbook.

#include <cstdint>

class CWorkBook;

void SetWorksheetZoom(CWorkBook* workbook, uint16_t zoomPercent, bool allWorksheets);

#endif
