#ifndef TALVERO_CORE_TEXT_MEASURER_H
#define TALVERO_CORE_TEXT_MEASURER_H

// What measuring text needs of a drawing surface, so that row heights,
// column widths and text layout can be computed without knowing the device:
// the Windows drawing context answers from the device, the portable build
// from fixed metrics, tests from their own. A table of two functions and the
// surface they work on, as a file system's method table is handed around.

#include <cstddef>
#include <cstdint>

struct FontRecord;

struct TextMeasurer {
  // Creates and selects the font of the record at the zoom (percent), with
  // the text turned by angle degrees; true when it is selected.
  bool (*selectFont)(void* surface, const FontRecord& font, int16_t angle, uint16_t zoom);
  // The extent of one line (no line breaks) in the selected font, or in the
  // surface's own font when none was selected; false when measuring failed.
  bool (*measureLine)(void* surface, const char* text, size_t length, int32_t* width, int32_t* height);
  // The extent of one line on the screen in the screen's own font, from
  // which the default column width and row height follow.
  bool (*measureScreenLine)(void* surface, const char* text, size_t length, int32_t* width, int32_t* height);
  void* surface;
  // The screen's vertical resolution, by which lengths given in points
  // become the pixels the default sizes and row heights are counted in.
  int32_t screenPixelsPerInchY = 96;

  bool SelectFont(const FontRecord& font, int16_t angle, uint16_t zoom) const {
    return selectFont(surface, font, angle, zoom);
  }
  bool MeasureLine(const char* text, size_t length, int32_t* width, int32_t* height) const {
    return measureLine(surface, text, length, width, height);
  }
  bool MeasureScreenLine(const char* text, size_t length, int32_t* width, int32_t* height) const {
    return measureScreenLine(surface, text, length, width, height);
  }
};

// The extent of a text whose lines are split at CR, LF and CR LF: the widest
// line, and the sum of the line heights, where an empty line (a break at the
// start, two breaks in a row, a break at the end, or an empty text) counts the
// height of "X". False when a measurement failed.
bool TextExtent(const TextMeasurer& measurer, const char* text, size_t length, int32_t* width, int32_t* height);

#endif
