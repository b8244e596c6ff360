#include <cstring>

#include "charts/containers/container_painter.h"
#include "charts/frame/chart_colours.h"

void DrawTitles(ContainerRecord& container, const PaintSurface& surface, PixelRect* rect, uint16_t zoomX,
                uint16_t zoomY, bool layoutOnly) {
  const ContainerHeader& h = container.header;
  struct Title {
    const ColorFontRecord& font;
    const char* text;
  };
  const Title entries[2] = {{h.titleFont, h.titleText}, {h.subtitleFont, h.subtitleText}};
  // A subtitle without a title takes the first entry's place.
  int count = 0;
  for (const Title& entry : entries)
    if (strnlen(entry.text, kContainerTextSize) != 0)
      ++count;
  if (count == 0)
    return;
  const int32_t inset = zoomX * 4 / 100 > 0 ? zoomX * 4 / 100 : 1;
  const int32_t gap = zoomY * 4 / 100 > 0 ? zoomY * 4 / 100 : 1;
  rect->top += gap;
  for (int i = 0; i < count; ++i) {
    char text[kContainerTextSize + 1];
    const size_t length = strnlen(entries[i].text, kContainerTextSize);
    std::memcpy(text, entries[i].text, length);
    text[length] = '\0';
    surface.SelectFont(entries[i].font.font, 0, zoomY);
    surface.SetTextColor(TextColour(entries[i].font));
    surface.SetBkMode(1);
    PixelRect line = {rect->left + inset, rect->top, rect->right - inset, rect->top};
    surface.DrawHeaderFooter(&line, text, layoutOnly);
    rect->top = line.bottom;
  }
  rect->top += gap;
}
