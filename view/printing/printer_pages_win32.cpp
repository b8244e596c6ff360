#include "view/printing/printer_pages.h"

#include <winspool.h>

#include "core/workbook/workbook.h"
#include "platform/ui/printer_capabilities.h"
#include "view/draw_context/draw_context.h"
#include "view/printing/print_geometry.h"
#include "view/printing/sheet_placement.h"

namespace {

PrinterMetrics MetricsOf(HDC printer) {
  return PrinterMetrics{GetDeviceCaps(printer, PHYSICALWIDTH),   GetDeviceCaps(printer, PHYSICALHEIGHT),
                        GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY),
                        GetDeviceCaps(printer, HORZSIZE),        GetDeviceCaps(printer, VERTSIZE),
                        GetDeviceCaps(printer, LOGPIXELSX),      GetDeviceCaps(printer, LOGPIXELSY)};
}

// A printer that opens with the settings; its device context then.
HDC OpenPrinterDevice(const char* printerName, const DEVMODEA* devMode) {
  HANDLE handle = nullptr;
  PRINTER_DEFAULTSA defaults = {nullptr, const_cast<DEVMODEA*>(devMode), PRINTER_ACCESS_USE};
  if (!OpenPrinterA(const_cast<char*>(printerName), &handle, &defaults)) return nullptr;
  ClosePrinter(handle);
  return CreatePrinterDC(printerName, devMode);
}

}  // namespace

HDC PaginateForPrinter(CWorkBook* book, CWorkSheet* sheet, const char* printerName, const DEVMODEA* devMode,
                       PrinterPages* pages, uint8_t* code) {
  *code = kNoPrinterSelected;
  HDC device = OpenPrinterDevice(printerName, devMode);
  if (device == nullptr) return nullptr;
  const PageSettings& settings = sheet->pageSettings;
  const PrinterMetrics metrics = MetricsOf(device);
  HDC screen = GetDC(nullptr);
  const int32_t screenX = GetDeviceCaps(screen, LOGPIXELSX);
  const int32_t screenY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (!ComputePrintZoom(metrics, screenX, screenY, settings.scale, &pages->zoom) ||
      !ComputePrintFrame(metrics, settings, &pages->frame)) {
    DeleteDC(device);
    return nullptr;
  }
  DrawContext context;
  context.AttachDC(device);
  context.SetPrinting(true, false);
  const bool paginated = book->Paginate(context.Measurer(), sheet, pages->frame, &pages->zoom);
  context.AttachDC(nullptr);
  if (!paginated) {
    *code = book->error;
    book->FreePageList(sheet);
    DeleteDC(device);
    return nullptr;
  }
  *code = 0;
  pages->sheets = CountPrintedSheets(book->pageList, sheet->pageSettings);
  return device;
}

void DrawPrinterSheet(CWorkBook* book, CWorkSheet* sheet, const PrinterPages& pages, uint32_t sheetIndex, HDC dc,
                      bool preview) {
  const int32_t width = pages.frame.right - pages.frame.left + 1;
  const int32_t height = pages.frame.bottom - pages.frame.top + 1;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, width, height, nullptr);
  SetViewportExtEx(dc, width, height, nullptr);
  DrawContext context;
  context.AttachDC(dc);
  context.SetPrinting(true, preview);
  book->PrintPage(&context, sheetIndex, sheet, pages.frame, pages.zoom);
  context.RestoreObjects();
  context.AttachDC(nullptr);
}
