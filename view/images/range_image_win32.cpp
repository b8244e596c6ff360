// Range and container images painted off screen and saved.

#include "view/images/range_image.h"

#include <cstdlib>
#include <new>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "view/draw_context/draw_context.h"
#include "view/grid_view/grid_view_options.h"
#include "view/images/image_file.h"
#include "view/images/image_layout.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"

namespace {

using PaintInto = void (*)(void* context, DrawContextSurface& surface, const ImageLayout& layout);

// A memory bitmap compatible with the screen, cleared to white so that no
// pixel the painter leaves alone holds whatever memory held, painted and
// copied into a new block after its header.
uint8_t* Render(const ImageLayout& layout, PaintInto paint, void* context, size_t* bytes, uint8_t* error) {
  uint8_t* block = static_cast<uint8_t*>(std::malloc(layout.blockBytes));
  if (block == nullptr) {
    *error = kImageSaveOutOfMemory;
    return nullptr;
  }
  DrawContext screen;
  screen.AttachWindow(nullptr);
  DrawContext memory;
  bool painted = memory.AttachMemoryDC(screen.Device()) != nullptr &&
                 memory.CreateBitmap(screen, layout.width, layout.height);
  if (painted) {
    const RECT all = {0, 0, layout.width, layout.height};
    ::FillRect(memory.Device(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    {
      DrawContextSurface surface(&memory);
      paint(context, surface, layout);
    }
    WriteImageHeader(layout, block);
    painted = memory.GetBits(reinterpret_cast<BITMAPINFOHEADER*>(block), static_cast<uint32_t>(layout.height));
    // The system writes its own idea of the image size into the header.
    WriteImageHeader(layout, block);
    memory.RestoreObjects();
  }
  memory.DeleteMemoryDC();
  if (!painted) {
    std::free(block);
    *error = kImageSaveOutOfMemory;
    return nullptr;
  }
  *bytes = layout.blockBytes;
  return block;
}

struct RangePass {
  CWorkBook* workbook;
  CWorkSheet* sheet;
  CellRange range;
  uint16_t zoomX;
  uint16_t zoomY;
};

void PaintRange(void* context, DrawContextSurface& surface, const ImageLayout& layout) {
  const RangePass* pass = static_cast<const RangePass*>(context);
  GridPainter painter(pass->workbook);
  painter.hideCellMarkers = ViewOptions().hideCellMarkers;
  painter.showFormulas = ViewOptions().showFormulas;
  const PixelRect area = {0, 0, layout.paintWidth - 1, layout.paintHeight - 1};
  painter.PaintCells(surface.Surface(), area, pass->sheet, pass->range.firstRow, pass->range.firstColumn,
                     pass->zoomX, pass->zoomY);
}

struct ContainerPass {
  CWorkBook* workbook;
  ContainerRecord* container;
  uint16_t zoomX;
  uint16_t zoomY;
};

void PaintContainer(void* context, DrawContextSurface& surface, const ImageLayout& layout) {
  const ContainerPass* pass = static_cast<const ContainerPass*>(context);
  // The painter the grid view paints with, so the image shows what the view
  // shows of the container.
  GridPainter painter(pass->workbook);
  const PixelRect rect = {0, 0, layout.width - 1, layout.height - 1};
  painter.DrawContainer(surface.Surface(), pass->container, rect, pass->zoomX, pass->zoomY);
}

}  // namespace

uint8_t* RenderRangeImage(CWorkBook* workbook, CWorkSheet* sheet, const CellRange& range, uint16_t zoomX,
                          uint16_t zoomY, size_t* bytes, uint8_t* error) {
  DrawContext screen;
  screen.AttachWindow(nullptr);
  ImageLayout layout = {};
  if (!LayOutRangeImage(screen.Measurer(), sheet, range, zoomX, zoomY, &layout)) {
    *error = kImageSaveOutOfMemory;
    return nullptr;
  }
  // The image shows the range itself, not the frozen row and column the
  // view keeps in front of it.
  WorksheetViewState* state = ViewStateOf(&sheet->viewFormat);
  const uint8_t frozen = state->frozen.flags;
  state->frozen.flags = static_cast<uint8_t>(frozen & ~(kCornerRowGiven | kCornerColumnGiven));
  RangePass pass = {workbook, sheet, range, zoomX, zoomY};
  uint8_t* block = Render(layout, PaintRange, &pass, bytes, error);
  state->frozen.flags = frozen;
  return block;
}

uint8_t* RenderContainerImage(CWorkBook* workbook, ContainerRecord* container, uint8_t format, uint16_t zoomX,
                              uint16_t zoomY, size_t* bytes, uint8_t* error) {
  ImageLayout layout = {};
  if (!LayOutContainerImage(container->header.rect, format, &layout)) {
    *error = kImageSaveOutOfMemory;
    return nullptr;
  }
  ContainerPass pass = {workbook, container, zoomX, zoomY};
  return Render(layout, PaintContainer, &pass, bytes, error);
}

namespace {

bool Save(CWorkBook* workbook, uint8_t* block, size_t bytes, uint8_t format, double number, const char* filePath,
          uint8_t error) {
  if (block == nullptr) {
    workbook->error = error;
    return false;
  }
  const bool saved = SaveImageFile(block, bytes, format, number, filePath, &error);
  std::free(block);
  if (!saved) workbook->error = error;
  return saved;
}

}  // namespace

bool CWorkBook::SaveRangeAsImage(const char* sheetPath, const CellRange& range, const char* filePath, uint8_t format,
                                 double number, uint16_t zoomX, uint16_t zoomY) {
  CWorkSheet* sheet = CWorkSheet::FromItem(FindItemByPath(sheetPath));
  if (sheet == nullptr) {
    error = kImageSaveNoWorksheet;
    return false;
  }
  size_t bytes = 0;
  uint8_t failure = 0;
  uint8_t* block = RenderRangeImage(this, sheet, range, zoomX, zoomY, &bytes, &failure);
  return Save(this, block, bytes, format, number, filePath, failure);
}

bool CWorkBook::SaveContainerAsImage(const char* sheetPath, uint16_t containerId, const char* filePath,
                                     uint8_t format, double number, uint16_t zoomX, uint16_t zoomY) {
  CWorkSheet* sheet = CWorkSheet::FromItem(FindItemByPath(sheetPath));
  if (sheet == nullptr) {
    error = kImageSaveNoWorksheet;
    return false;
  }
  ContainerRecord* container = sheet->containers;
  while (container != nullptr && container->header.id != containerId) container = container->next;
  if (container == nullptr) {
    error = kImageSaveNoContainer;
    return false;
  }
  size_t bytes = 0;
  uint8_t failure = 0;
  uint8_t* block = RenderContainerImage(this, container, format, zoomX, zoomY, &bytes, &failure);
  return Save(this, block, bytes, format, number, filePath, failure);
}
