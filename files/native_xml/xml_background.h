#ifndef TALVERO_FILES_NATIVE_XML_BACKGROUND_H
#define TALVERO_FILES_NATIVE_XML_BACKGROUND_H

// The Background element: a fill pattern, an image or a fractal, as
// worksheets and containers carry it. Each owner copies its fields into
// this block to write them and out of it after reading.

#include <cstdint>

#include "core/model/container_record.h"
#include "core/model/worksheet_view_format.h"
#include "core/styles/fill_and_border_line.h"

class CXmlReader;

struct XmlBackground {
  uint8_t kind;  // ContainerBackground
  FillRecord fill;
  char imageName[kContainerImageNameSize];
  uint8_t imageView;  // 0 own size, 1 fit to the window, 2 wallpaper
  FractalParameters fractal;
  uint32_t palette[kPaletteSize];
};

// Whether the name ends in the extension of an image file the program reads
// (".bmp", ".jpg", ".jpeg", ".png", in any case).
bool IsImageFileName(const char* name);

// What the reader would refuse, made readable: an image whose name is no
// image file's becomes no background, and a fractal number that is not
// finite becomes the owner's default one.
XmlBackground ReadableBackground(const XmlBackground& background, FractalParameters defaults);

void WriteXmlBackground(CXmlReader* writer, const XmlBackground& background, int depth);
// An optional Background element; absent or empty, the block is unchanged.
void ReadXmlBackground(CXmlReader* reader, XmlBackground* background);

// A worksheet's background as the element carries it, and back.
XmlBackground SheetBackground(const WorksheetViewFormat& view);
void SetSheetBackground(const XmlBackground& background, WorksheetViewFormat* view);

#endif
