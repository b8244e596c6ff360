#include "charts/gallery/gallery_tile.h"

#include "charts/gallery/sample_charts.h"
#include "charts/prepare/chart_prepare.h"

namespace {

constexpr int32_t kTileMargin = 4;

}  // namespace

void PaintGallerySample(const PaintSurface& surface, uint8_t kind, int tile, const PixelRect& tileRect) {
  if (tile < 0)
    return;
  const PixelRect slot = {tileRect.left + kTileMargin, tileRect.top + kTileMargin, tileRect.right - kTileMargin,
                          tileRect.bottom - kTileMargin};
  // The chart and its points go when the call ends.
  ChartRecord chart(kind);
  LoadGallerySample(chart, tile);
  Prepare(chart, surface, slot, 100, 100);
  Draw(chart, slot, surface);
}
