#ifndef TALVERO_VIEW_RANGE_IMAGE_H
#define TALVERO_VIEW_RANGE_IMAGE_H

// Painting a cell range or a container into a packed bitmap in memory: the
// range with its headings, grid lines, fills, texts, borders and the
// containers over it exactly as the grid view paints them (the frozen row
// and column left out), the container as the container painter draws it.
// CWorkBook::SaveRangeAsImage and SaveContainerAsImage write these blocks to
// files. Windows only.

#include <cstddef>
#include <cstdint>

#include "core/edit/reference_adjust.h"

class CWorkBook;
class CWorkSheet;
class ContainerRecord;

// A malloc block holding the 40-byte header and the rows (see image_layout.h),
// of *bytes bytes; null with kImageSaveOutOfMemory when it cannot be made.
uint8_t* RenderRangeImage(CWorkBook* workbook, CWorkSheet* sheet, const CellRange& range, uint16_t zoomX,
                          uint16_t zoomY, size_t* bytes, uint8_t* error);
// The container at its own size; rows from the bottom for the packed bitmap
// format, else from the top.
uint8_t* RenderContainerImage(CWorkBook* workbook, ContainerRecord* container, uint8_t format, uint16_t zoomX,
                              uint16_t zoomY, size_t* bytes, uint8_t* error);

#endif
