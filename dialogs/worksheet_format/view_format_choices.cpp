#include "dialogs/worksheet_format/view_format_choices.h"

#include <cstdio>

void StoreBackgroundChoice(WorksheetViewFormat* format, bool image, const FillRecord& fill, const char* imagePath,
                           uint8_t imageSizeMode) {
  format->backgroundMode = image ? kBackgroundImage : kBackgroundPattern;
  format->fill = fill;
  if (format->backgroundMode == kBackgroundPattern && fill.pattern == 0) format->backgroundMode = kBackgroundNone;
  std::snprintf(format->imagePath, sizeof format->imagePath, "%s", imagePath);
  format->imageSizeMode = imageSizeMode;
}

void StoreGridlinesChoice(WorksheetViewFormat* format, bool shown, bool defaultColour, uint32_t colour) {
  format->gridLines = shown ? 1 : 0;
  format->gridColorSet = defaultColour ? 0 : 1;
  format->gridColor = colour;
}

bool ToolWindowPositionFits(const UiRect& stored, const UiRect& workArea) {
  if (stored.Width() <= 0 || stored.Height() <= 0) return false;
  return stored.left <= workArea.right && stored.top <= workArea.bottom && stored.left > workArea.left &&
         stored.top > workArea.top;
}
