#ifndef TALVERO_VIEW_PRINTER_PAGES_H
#define TALVERO_VIEW_PRINTER_PAGES_H

// A worksheet paginated for a printer and each of its sheets of paper drawn
// there: what printing from the frame and from the automation server share.
// Windows only.

#include <windows.h>

#include <cstdint>

#include "view/printing/print_frame.h"

class CWorkBook;
class CWorkSheet;

// The pagination of a worksheet on a printer: the page frame and the zoom
// pagination settled on, and the sheets of paper it fills.
struct PrinterPages {
  PrintFrame frame;
  PrintZoom zoom;
  uint32_t sheets;
};

// The name a print job of a worksheet goes by.
constexpr char kPrintDocumentName[] = "Talvero Document";

// The code of a printer that cannot be opened or measured.
constexpr uint8_t kNoPrinterSelected = 20;

// Makes a device context for the printer with the device settings (null:
// the printer's own), takes the page frame and the zoom from its metrics,
// the screen's and the worksheet's page settings, and paginates the
// worksheet into the workbook's page list. Null, with *code
// kNoPrinterSelected, when the printer cannot be opened or measured, or with
// the workbook's error when pagination fails (the list then freed). The
// caller deletes the device context and frees the page list.
HDC PaginateForPrinter(CWorkBook* book, CWorkSheet* sheet, const char* printerName, const DEVMODEA* devMode,
                       PrinterPages* pages, uint8_t* code);

// Draws sheet of paper sheetIndex (from 0) of the paginated worksheet on the
// device context, in the printer's pixels; preview says it is drawn for the
// print preview.
void DrawPrinterSheet(CWorkBook* book, CWorkSheet* sheet, const PrinterPages& pages, uint32_t sheetIndex, HDC dc,
                      bool preview);

#endif
