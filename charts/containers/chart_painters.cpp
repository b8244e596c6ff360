#include "charts/containers/chart_painters.h"

#include "charts/containers/container_painter.h"
#include "charts/images/image_cache_loading.h"
#include "charts/series/load_series_data.h"
#include "core/workbook/workbook.h"
#include "view/painting/object_painters.h"

namespace {

void DrawContainer(const PaintSurface& surface, CWorkBook* workbook, ContainerRecord* container, const PixelRect& rect,
                   uint16_t zoomX, uint16_t zoomY) {
  if (container)
    Draw(*container, surface, rect, workbook ? &workbook->images : nullptr, zoomX, zoomY);
}

const void* CachedPicture(CWorkBook* workbook, const char* name) {
  const ImageNode* node = workbook ? GetImage(workbook->images, name) : nullptr;
  return node ? node->picture : nullptr;
}

const ObjectPainters kChartPainters = {DrawContainer, CachedPicture};

}  // namespace

void InstallChartPainters() {
  ChartRecord::SetSeriesDataLoader(LoadSeriesData);
  SetObjectPainters(&kChartPainters);
}
