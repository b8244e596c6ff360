#include "core/model/worksheet_view_format.h"

#include <cstring>

void InitWorksheetViewFormat(WorksheetViewFormat* format) {
  std::memset(format, 0, sizeof *format);
  format->backgroundMode = 1;
  format->fill.pattern = 1;
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  format->fill.patternColor = window;
  format->fill.backgroundColor = window;
  format->backgroundKind = 2;
  format->fractal = FractalParameters{0.1, 0.043, -1.1, 1.1, -1.1, 1.1};
  GetDefaultPalette(format->palette);
  format->gridLines = 1;
  const uint32_t buttonFace = GetSchemeColor(kSchemeButtonFace);
  format->gridColor = buttonFace;
  format->headingsColor = buttonFace;
  format->zoom = 100;
}
