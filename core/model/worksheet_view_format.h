#ifndef TALVERO_CORE_WORKSHEET_VIEW_FORMAT_H
#define TALVERO_CORE_WORKSHEET_VIEW_FORMAT_H

// How a worksheet is shown: its background, grid, headings and zoom. The
// worksheet-format dialog and the view edit it; files and the frame copy all
// 472 bytes as they stand, so every offset is fixed and the record holds no
// pointer.

#include <cstddef>
#include <cstdint>

#include "core/model/container_record.h"
#include "core/styles/fill_and_border_line.h"
#include "core/base/scheme_colors.h"

constexpr size_t kViewImagePathSize = 256;  // NUL-terminated
constexpr size_t kViewStateSize = 66;

#pragma pack(push, 1)

struct WorksheetViewFormat {
  uint8_t backgroundMode;  // 0 none, 1 pattern, 2 image
  uint8_t reserved1[3];
  FillRecord fill;
  char imagePath[kViewImagePathSize];
  uint8_t imageSizeMode;  // 0 original size, 1 fit to window, 2 wallpaper
  uint8_t backgroundKind;  // of the background drawn with the fractal settings
  uint8_t reserved2[2];
  FractalParameters fractal;
  uint32_t palette[kPaletteSize];  // colours of the fractal
  uint8_t gridLines;  // grid lines shown
  uint8_t gridColorSet;
  uint8_t headingsColorSet;
  uint8_t reserved3;
  uint32_t gridColor;
  uint32_t headingsColor;
  // The view's scroll position, selection and frozen panes; laid out by the view.
  uint8_t viewState[kViewStateSize];
  uint16_t zoom;  // percent
};

#pragma pack(pop)

static_assert(sizeof(WorksheetViewFormat) == 472, "view format is 472 bytes");
static_assert(offsetof(WorksheetViewFormat, fill) == 4, "");
static_assert(offsetof(WorksheetViewFormat, imagePath) == 20, "");
static_assert(offsetof(WorksheetViewFormat, imageSizeMode) == 276, "");
static_assert(offsetof(WorksheetViewFormat, backgroundKind) == 277, "");
static_assert(offsetof(WorksheetViewFormat, fractal) == 280, "");
static_assert(offsetof(WorksheetViewFormat, palette) == 328, "");
static_assert(offsetof(WorksheetViewFormat, gridLines) == 392, "");
static_assert(offsetof(WorksheetViewFormat, gridColor) == 396, "");
static_assert(offsetof(WorksheetViewFormat, headingsColor) == 400, "");
static_assert(offsetof(WorksheetViewFormat, viewState) == 404, "");
static_assert(offsetof(WorksheetViewFormat, zoom) == 470, "the zoom ends the record");

// Clears all 472 bytes, then sets the defaults of a new worksheet: a solid
// background in the window colour, background kind 2 with its fractal region,
// the system's default palette, grid lines and headings in the button-face
// colour, zoom 100.
void InitWorksheetViewFormat(WorksheetViewFormat* format);

#endif
