// One sheet of paper: its pages in their places, then the header and the
// footer, on a printer or print-preview device.

#include <cstring>

#include "core/workbook/workbook.h"
#include "view/draw_context/draw_context.h"
#include "view/painting/draw_context_surface.h"
#include "view/printing/print_painter.h"
#include "view/printing/sheet_placement.h"

namespace {

constexpr size_t kSheetPathCapacity = 1024;

struct SheetPass {
  CWorkBook* workbook;
  CWorkSheet* sheet;
  DrawContext* context;
  DrawContextSurface* surface;
  PrintPainter* painter;
  PrintZoom zoom;
};

// Each page leaves the device as it found it: clip, objects and modes.
void PaintPlacedPage(void* self, const PlacedPage& placed) {
  SheetPass* pass = static_cast<SheetPass*>(self);
  HDC device = pass->context->Device();
  const int saved = SaveDC(device);
  if (pass->sheet->pageSettings.printRangeKind == kPrintContainer) {
    ContainerRecord* container = pass->workbook->FindContainerById(placed.page.containerId);
    if (container)
      pass->painter->Cells().DrawContainer(pass->surface->Surface(), container, placed.target, pass->zoom.x,
                                           pass->zoom.y);
  } else {
    pass->painter->PaintPage(pass->surface->Surface(), placed.target, pass->sheet, placed.page, pass->zoom,
                             pass->context->IsPrinting());
  }
  pass->context->RestoreObjects();
  if (saved)
    RestoreDC(device, saved);
}

// A stored text may lack its NUL.
void CopyCodes(const char (&field)[kPageTextSize], char (&out)[kPageTextSize + 1]) {
  std::memcpy(out, field, kPageTextSize);
  out[kPageTextSize] = '\0';
}

}  // namespace

bool CWorkBook::PrintPage(DrawContext* context, uint32_t sheetIndex, CWorkSheet* sheet, const PrintFrame& frame,
                          const PrintZoom& zoom) {
  const PageSettings& settings = sheet->pageSettings;
  PrintedSheetInfo info = {};
  {
    DrawContextSurface surface(context);
    PrintPainter painter(this);
    SheetPass pass = {this, sheet, context, &surface, &painter, zoom};
    PlaceSheetPages(pageList, settings, frame, zoom, sheetIndex, &info, PaintPlacedPage, &pass);
  }

  HDC device = context->Device();
  const int saved = SaveDC(device);
  context->SelectFont(settings.headerFont, 0, zoom.y);
  context->SetTextColor(settings.headerColorSet ? settings.headerColor : GetSysColor(COLOR_WINDOWTEXT));
  context->SetBkMode(1);
  char sheetPath[kSheetPathCapacity];
  const char* sheetPathOrNone = sheet->GetFullPath(sheetPath, sizeof sheetPath) ? sheetPath : nullptr;
  const char* filePath = bufferedFile.path[0] ? bufferedFile.path : nullptr;
  char codes[kPageTextSize + 1];
  const PixelRect rect = PageRectOf(frame);

  CopyCodes(settings.headerText, codes);
  RECT header = {rect.left, frame.headerLine, rect.right, frame.headerLine};
  context->DrawHeaderFooter(&header, codes, true, filePath, sheetPathOrNone, &info);
  header.bottom = header.top;
  context->DrawHeaderFooter(&header, codes, false, filePath, sheetPathOrNone, &info);

  CopyCodes(settings.footerText, codes);
  RECT footer = {rect.left, 0, rect.right, 0};
  context->DrawHeaderFooter(&footer, codes, true, filePath, sheetPathOrNone, &info);
  const int32_t height = footer.bottom - footer.top;
  footer.bottom = frame.footerLine;
  footer.top = frame.footerLine - height - 1;
  context->DrawHeaderFooter(&footer, codes, false, filePath, sheetPathOrNone, &info);
  context->RestoreObjects();
  if (saved)
    RestoreDC(device, saved);
  return true;
}
