#ifndef TALVERO_VIEW_IMAGE_LAYOUT_H
#define TALVERO_VIEW_IMAGE_LAYOUT_H

// The sizes of a saved image: a cell range painted with its headings as the
// grid view paints it, or one container at its own size, each into a 24-bit
// packed bitmap (a 40-byte header, then rows of width x 3 bytes padded to 4).
// Plain arithmetic, shared by the painting and its tests.

#include <cstdint>

#include "core/edit/reference_adjust.h"
#include "core/model/container_record.h"
#include "core/styles/text_measurer.h"

class CWorkSheet;

// The format argument of the image savers.
enum ImageFormat : uint8_t {
  kImageFormatPackedDib = 1,  // the bitmap itself, header and rows, no file header
  kImageFormatJpeg = 2,       // the number is the quality, 0 the encoder's default
  kImageFormatPng = 3,        // the number is the gamma, 0 meaning 1/2.2
};

// The codes the savers leave in the workbook.
enum ImageSaveError : uint8_t {
  kImageSaveUnsupportedFormat = 6,  // also an encoder that failed
  kImageSaveOutOfMemory = 8,
  kImageSaveNoWorksheet = 10,
  kImageSaveNoContainer = 11,
  kImageSaveCannotOpen = 35,
  kImageSaveWriteError = 39,
};

constexpr uint32_t kImageHeaderSize = 40;

struct ImageLayout {
  int32_t width;  // of the bitmap
  int32_t height;
  // The area the painter fills from the bitmap's top-left pixel (the range's
  // headings and cells with their closing grid lines); the container's own
  // size for a container.
  int32_t paintWidth;
  int32_t paintHeight;
  uint32_t stride;      // bytes of one row
  int32_t headerHeight;  // negative for rows from the top
  uint32_t imageBytes;   // the header's image size
  uint32_t blockBytes;   // header and rows: what is allocated and saved
};

// A range image: the column-heading band and the row-heading band for the
// range's last row (both at zoom 100), the rows and columns at the zoom
// pair, one pixel of grid line closing them and one pixel of edge around,
// rows from the top. False when the measurer fails or the bitmap would pass
// the largest block a picture may take.
bool LayOutRangeImage(const TextMeasurer& measurer, CWorkSheet* sheet, const CellRange& range, uint16_t zoomX,
                      uint16_t zoomY, ImageLayout* layout);

// A container image at the container's own size at zoom 100: rows from the
// bottom for a packed bitmap, from the top for the encoders. Four spare
// bytes follow the rows. False for an empty or too large rectangle.
bool LayOutContainerImage(const ContainerRect& rect, uint8_t format, ImageLayout* layout);

// The 40-byte header of the layout: 24 bits, uncompressed, the rest 0.
void WriteImageHeader(const ImageLayout& layout, uint8_t* header);

#endif
