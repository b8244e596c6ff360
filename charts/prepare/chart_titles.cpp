#include "charts/prepare/chart_titles.h"

#include <cstring>

#include "charts/frame/chart_colours.h"
#include "view/draw_context/rect_margins.h"

void LayoutTitles(ChartCanvas& canvas, const PixelRect& slot, bool measureOnly) {
  const ChartOptions& options = canvas.chart.options;
  struct Title {
    const ColorFontRecord& font;
    const char* text;
  };
  const Title titles[2] = {{options.titleFont, options.titleText}, {options.subtitleFont, options.subtitleText}};
  ChartMargins& margins = canvas.layout.margins;
  bool any = false;
  for (const Title& title : titles) {
    char text[kChartTitleSize + 1];
    const size_t length = strnlen(title.text, kChartTitleSize);
    if (length == 0)
      continue;
    std::memcpy(text, title.text, length);
    text[length] = '\0';
    PixelRect rect = slot;
    ShrinkRectByMargins(&rect, margins.left, margins.top, margins.right, margins.bottom);
    canvas.surface.SelectFont(title.font.font, 0, canvas.chart.zoomY);
    canvas.surface.SetTextColor(TextColour(title.font));
    canvas.surface.SetBkMode(1);
    canvas.surface.DrawHeaderFooter(&rect, text, measureOnly);
    margins.top += rect.bottom - rect.top + 1;
    any = true;
  }
  if (any)
    margins.top += static_cast<int32_t>(canvas.chart.lineUnit);
}
