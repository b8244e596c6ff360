#ifndef TALVERO_FILES_NATIVE_XML_BACKGROUND_H
#define TALVERO_FILES_NATIVE_XML_BACKGROUND_H

// The Background element of containers and worksheets: a fill pattern, an
// image file with its view, or a fractal with its region and 16 colours.

#include <cstdint>

#include "core/base/scheme_colors.h"
#include "core/model/container_record.h"
#include "core/styles/fill_and_border_line.h"

class CXmlReader;

// Image view flags: neither bit is the image's own size.
constexpr uint8_t kImageViewFit = 1;
constexpr uint8_t kImageViewWallpaper = 2;

// A background as the element carries it, copied from and to the record
// that holds one.
struct XmlBackground {
  uint8_t kind;  // ContainerBackground
  FillRecord fill;
  char imageName[kContainerImageNameSize];
  uint8_t imageView;
  FractalParameters fractal;
  uint32_t palette[kPaletteSize];
};

XmlBackground BackgroundOf(const ContainerHeader& header);
void SetBackground(ContainerHeader* header, const XmlBackground& background);

// Kind 0 is written as an empty fill pattern, and an image whose name is
// empty or no image file's as well, so that reading gives no background
// again instead of the default one or a refused document.
void WriteXmlBackground(CXmlReader* writer, const XmlBackground& background, int depth);
// An optional Background element; absent or empty leaves the background
// as it was.
void ReadXmlBackground(CXmlReader* reader, XmlBackground* background);

#endif
