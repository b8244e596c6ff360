#ifndef TALVERO_VIEW_OBJECT_PAINTERS_H
#define TALVERO_VIEW_OBJECT_PAINTERS_H

// What the painters draw with the charts layer above them: containers with
// their charts and backgrounds, and the pictures of the document's image
// cache. The program installs them at start-up; until then containers and
// image backgrounds are not drawn.

#include <cstdint>

#include "view/painting/paint_surface.h"

class CWorkBook;
class ContainerRecord;

struct ObjectPainters {
  // Paints the container into the rectangle at the zoom pair (percent),
  // reading its images through the workbook's image cache.
  void (*drawContainer)(const PaintSurface& surface, CWorkBook* workbook, ContainerRecord* container,
                        const PixelRect& rect, uint16_t zoomX, uint16_t zoomY);
  // The decoded picture of the image file name (a packed device-independent
  // bitmap) from the workbook's image cache, read on first use; null when it
  // cannot be had.
  const void* (*cachedPicture)(CWorkBook* workbook, const char* name);
};

// The painters every later paint uses; null removes them. The table must
// outlive its use.
void SetObjectPainters(const ObjectPainters* painters);
const ObjectPainters* InstalledObjectPainters();

#endif
