#include "core/model/series_record.h"

#include <cstring>

#include "core/base/scheme_colors.h"

namespace {

void SetLine(BorderLine* line, uint8_t style, uint8_t colorSet, uint32_t color) {
  line->style = style;
  line->colorSet = colorSet;
  line->color = color;
}

void SetSolidFill(FillRecord* fill, uint32_t color, uint32_t background) {
  fill->pattern = 1;
  fill->patternColorSet = 1;
  fill->patternColor = color;
  fill->backgroundColor = background;
}

uint8_t DefaultViewType(uint8_t chartKind) {
  switch (chartKind) {
    case 2: return kViewColumn3D;
    case 3: return kViewScatter;
    default: return kViewColumn;
  }
}

}  // namespace

void SeriesRecord::SetDefaults(uint8_t chartKind, uint32_t index) {
  std::memset(this, 0, sizeof *this);
  const uint32_t windowText = GetSchemeColor(kSchemeWindowText);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  const uint32_t own = kProgramPalette[index % kPaletteSize];

  periods = 1;
  subperiods = 1;
  divisor = 1;
  viewType = DefaultViewType(chartKind);
  visible = 1;
  symbol = 4;
  SetSolidFill(&fill, own, window);
  SetLine(&line, 1, 1, own);
  sliceCount = kSeriesSliceCount;
  for (int k = 0; k < kSeriesSliceCount; ++k)
    SetSolidFill(&sliceFills[k], kProgramPalette[k % kPaletteSize], window);
  axisFlags = 114;  // horizontal labels, major and minor ticks
  SetLine(&axisLine, 1, 0, windowText);
  axisTitleFont.color = windowText;
  SetLine(&majorGrid, 1, 0, windowText);
  SetLine(&minorGrid, 1, 0, windowText);
  for (BorderLine& gridLine : userGridLines) SetLine(&gridLine, 1, 0, windowText);
}

void SeriesRecord::ClearPoints(SeriesLists& lists) {
  std::memset(&limits, 0, sizeof limits);
  flags = static_cast<uint16_t>(flags & ~kSeriesFixedLimits);
  lists.Clear();
}

void SeriesLists::Clear() {
  points.Clear(true);
  categories.Clear(true);
  labels.Clear(true);
}

void SeriesLists::Free() {
  points.Free();
  categories.Free();
  labels.Free();
}
