#ifndef TALVERO_CHARTS_FRAME_CHART_COLOURS_H
#define TALVERO_CHARTS_FRAME_CHART_COLOURS_H

// The colours a chart's records stand for: a colour whose flag is clear is
// the system's window-text colour (lines, texts) or window colour (fills).

#include <cstdint>

#include "core/base/scheme_colors.h"
#include "core/model/color_font_record.h"
#include "core/styles/fill_and_border_line.h"

inline uint32_t LineColour(const BorderLine& line) {
  return line.colorSet ? line.color : GetSchemeColor(kSchemeWindowText);
}
inline uint32_t TextColour(const ColorFontRecord& font) {
  return font.colorSet ? font.color : GetSchemeColor(kSchemeWindowText);
}
inline uint32_t FillColour1(const FillRecord& fill) {
  return fill.patternColorSet ? fill.patternColor : GetSchemeColor(kSchemeWindow);
}
inline uint32_t FillColour2(const FillRecord& fill) {
  return fill.backgroundColorSet ? fill.backgroundColor : GetSchemeColor(kSchemeWindow);
}

#endif
