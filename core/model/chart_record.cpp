#include "core/model/chart_record.h"

#include <cmath>
#include <cstring>

#include "core/base/scheme_colors.h"

namespace {

constexpr uint8_t kChartStateFlags = kChartDataLoaded | kChartPrepared;

}  // namespace

ChartRecord::ChartRecord(uint8_t kind) {
  std::memset(&options, 0, sizeof options);
  options.kind = kind;
  std::memset(styleBlock1, 0, sizeof styleBlock1);
  std::memset(styleBlock2, 0, sizeof styleBlock2);
  SetDefaults();
}

ChartRecord::~ChartRecord() {
  ClearSeries();
  vertices.Free();
  faces.Free();
  for (SeriesLists& lists : seriesLists) lists.Free();
}

void ChartRecord::SetDefaults() {
  // The kind survives: the series take their view type from it.
  const uint8_t kind = options.kind;
  std::memset(&options, 0, sizeof options);
  options.kind = kind;

  const uint32_t windowText = GetSchemeColor(kSchemeWindowText);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  options.viewWidth = 100;
  options.viewHeight = 100;
  options.barSize = 70;
  options.stackBarSize = 70;
  options.lineWidth3D = 70;
  options.pieTickness3D = 25;
  options.pieSplit = 15;
  options.titleFont.color = windowText;
  options.subtitleFont.color = windowText;
  Transform(viewMatrix, kResetToIdentity, 0.0);
  options.lightDirectionX = 80;
  options.lightDirectionY = 100;
  options.perspective = 40;
  options.planeXY = 1;
  options.planeXZ = 1;
  options.planeYZ = 1;
  options.wallFill.pattern = 1;
  options.wallFill.patternColor = window;
  options.wallFill.backgroundColor = window;
  options.wallBorder.style = 1;
  options.wallBorder.color = windowText;
  for (int i = 0; i < kChartMaxSeries; ++i) series[i].SetDefaults(kind, static_cast<uint32_t>(i));
}

void ChartRecord::CopyFrom(const ChartRecord& source) {
  if (&source == this) return;
  // Every series, not only the used ones: the copy may use more series than
  // this chart did, and none of them may keep points of its own.
  for (int i = 0; i < kChartMaxSeries; ++i) series[i].ClearPoints(seriesLists[i]);
  flags = static_cast<uint8_t>(flags & ~kChartStateFlags);
  ResetStyles();

  options = source.options;
  std::memcpy(viewMatrix, source.viewMatrix, sizeof viewMatrix);
  const int used = source.UsedSeriesCount();
  for (int i = 0; i < used; ++i) {
    std::memcpy(&series[i], &source.series[i], kSeriesImageSize);
    // Derived from the source's points, which are not copied.
    series[i].flags = static_cast<uint16_t>(series[i].flags & ~kSeriesFixedLimits);
  }
  lineUnit = source.lineUnit;
  zoomX = source.zoomX;
  zoomY = source.zoomY;
}

void ChartRecord::ClearSeries() {
  const int used = UsedSeriesCount();
  for (int i = 0; i < used; ++i) series[i].ClearPoints(seriesLists[i]);
  flags = static_cast<uint8_t>(flags & ~kChartStateFlags);
}

void ChartRecord::ResetStyles() {
  std::memset(styleBlock1, 0, sizeof styleBlock1);
  std::memset(styleBlock2, 0, sizeof styleBlock2);
  drawContext = nullptr;
  lineUnit = 4;
  zoomX = 100;
  zoomY = 100;
  vertices.Clear(true);
  faces.Clear(true);
  flags = static_cast<uint8_t>(flags & ~kChartPrepared);
  error = 0;
}

namespace {

ChartRecord::SeriesDataLoader g_seriesDataLoader = nullptr;

}  // namespace

void ChartRecord::SetSeriesDataLoader(SeriesDataLoader loader) { g_seriesDataLoader = loader; }

// Loading and scaling the points belongs to the charts layer above this one.
bool ChartRecord::LoadSeriesData(CellBlock* const* arrays, const uint16_t* columnCounts, const uint32_t* rowCounts,
                                 uint32_t arrayCount) {
  return !g_seriesDataLoader || g_seriesDataLoader(*this, arrays, columnCounts, rowCounts, arrayCount);
}

void ChartRecord::Transform(ChartMatrix matrix, int kind, double value) {
  float l[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  const float c = static_cast<float>(std::cos(value));
  const float s = static_cast<float>(std::sin(value));
  const float v = static_cast<float>(value);
  switch (kind) {
    case kRotateAboutX:
      l[1][1] = c; l[1][2] = -s;
      l[2][1] = s; l[2][2] = c;
      break;
    case kRotateAboutY:
      l[0][0] = c; l[0][2] = -s;
      l[2][0] = s; l[2][2] = c;
      break;
    case kRotateAboutZ:
      l[0][0] = c; l[0][1] = s;
      l[1][0] = -s; l[1][1] = c;
      break;
    case kScaleAll:
      l[0][0] = v; l[1][1] = v; l[2][2] = v;
      break;
    case kScaleX:
      l[0][0] = v;
      break;
    case kScaleY:
      l[1][1] = v;
      break;
    case kResetToIdentity:
      std::memcpy(matrix, l, sizeof l);
      return;
    default:
      return;
  }
  float product[4][4];
  Matrix4::Multiply(l, matrix, product);
  std::memcpy(matrix, product, sizeof product);
}

void Matrix4::Multiply(const ChartMatrix a, const ChartMatrix b, ChartMatrix out) {
  for (int r = 0; r < 4; ++r) {
    for (int k = 0; k < 4; ++k) {
      float sum = 0;
      for (int j = 0; j < 4; ++j) sum += a[r][j] * b[j][k];
      out[r][k] = sum;
    }
  }
}

int ChartRecord::UsedSeriesCount() const {
  return options.seriesCount < kChartMaxSeries ? options.seriesCount : kChartMaxSeries;
}

bool ChartRecord::CheckInvariants() const {
  if (options.kind < kChart2D || options.kind > kChartXY) return false;
  if (!vertices.CheckInvariants() || !faces.CheckInvariants()) return false;
  for (const SeriesLists& lists : seriesLists) {
    if (!lists.points.CheckInvariants() || !lists.categories.CheckInvariants() ||
        !lists.labels.CheckInvariants())
      return false;
  }
  return true;
}
