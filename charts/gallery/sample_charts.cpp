#include "charts/gallery/sample_charts.h"

#include <cstring>

#include "charts/series/load_series_data.h"
#include "core/cells/cell_store.h"
#include "core/eval/eval_array_builder.h"

const double kGallerySampleData[kGalleryRowCount][kGalleryRowLength] = {
    {2.0, 3.4, 4.5, 4.1, 3.1, 3.9},
    {1.1, 4.1, 4.4, 2.2, 4.8, 4.5},
    {2.6, 2.9, 4.7, 4.9, 3.9, 3.7},
};

namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr uint8_t kFirstGradient = 19;

struct TileViewType {
  uint8_t viewType;
  uint8_t stacked;
  uint8_t relative;
  uint8_t points;
};

constexpr TileViewType kTiles2D[] = {
    {kViewColumn, 0, 0, 3}, {kViewColumn, 1, 0, 3}, {kViewColumn, 1, 1, 3}, {kViewBar, 0, 0, 3},
    {kViewBar, 1, 0, 3},    {kViewBar, 1, 1, 3},    {kViewLine, 0, 0, 6},   {kViewArea, 1, 0, 6},
    {kViewArea, 1, 1, 6},   {kViewPie, 0, 0, 5},    {kViewScatter, 0, 0, 6},
};
constexpr TileViewType kTiles3D[] = {
    {kViewColumn3D, 0, 0, 3}, {kViewColumn3D, 1, 0, 3}, {kViewColumn3D, 1, 1, 3}, {kViewBar3D, 0, 0, 3},
    {kViewBar3D, 1, 0, 3},    {kViewBar3D, 1, 1, 3},    {kViewLine3D, 0, 0, 6},   {kViewArea3D, 0, 0, 6},
    {kViewArea3D, 1, 0, 6},   {kViewArea3D, 1, 1, 6},   {kViewPie3D, 0, 0, 5},
};
constexpr int kTileCount = 11;
static_assert(sizeof kTiles2D / sizeof kTiles2D[0] == kTileCount, "");
static_assert(sizeof kTiles3D / sizeof kTiles3D[0] == kTileCount, "");

// Sample rows of the three data series: 2D and XY charts take them in
// order, 3D charts begin with the second.
constexpr int kRows2D[] = {0, 1, 2};
constexpr int kRows3D[] = {1, 2, 0};
constexpr uint8_t kScatterSymbols[] = {3, 10, 12};

constexpr double kDegrees25 = 0.43633231299858194;
constexpr double kDegrees40 = 0.6981317007977311;
constexpr double kDegrees16 = 0.27925268031909245;

void SetFill(FillRecord* fill, uint8_t pattern, uint32_t colour1, uint32_t colour2) {
  fill->pattern = pattern;
  fill->patternColorSet = 1;
  fill->patternColor = colour1;
  fill->backgroundColorSet = 1;
  fill->backgroundColor = colour2;
}

SeriesRecord& DataSeries(ChartRecord& chart, int i, const TileViewType& type) {
  SeriesRecord& s = chart.series[i];
  s.role = kSeriesData;
  s.viewType = type.viewType;
  s.stacked = type.stacked;
  s.relative = type.relative;
  return s;
}

// The three scatter series of the 2D scatter tile and the XY tile.
void MarkScatterSeries(ChartRecord& chart) {
  for (int i = 0; i < 3; ++i) chart.series[i].symbol = kScatterSymbols[i];
  chart.series[1].line.colorSet = 1;
  chart.series[1].line.color = kBlue;
}

void SetUp2D(ChartRecord& chart, int tile) {
  const TileViewType& type = kTiles2D[tile];
  SetFill(&chart.options.wallFill, kFirstGradient, kGrey, kWhite);
  chart.options.seriesCount = 3;
  for (int i = 0; i < 3; ++i) {
    SeriesRecord& s = DataSeries(chart, i, type);
    if (type.viewType == kViewLine)
      s.line.style = 7;
  }
  if ((type.viewType == kViewColumn || type.viewType == kViewBar) && type.stacked)
    chart.options.stackBarSize = 50;
  if (type.viewType == kViewScatter)
    MarkScatterSeries(chart);
}

void SetUp3D(ChartRecord& chart, int tile) {
  const TileViewType& type = kTiles3D[tile];
  ChartRecord::Transform(chart.viewMatrix, kRotateAboutX, kDegrees25);
  ChartRecord::Transform(chart.viewMatrix, kRotateAboutY, kDegrees40);
  ChartRecord::Transform(chart.viewMatrix, kRotateAboutZ, kDegrees16);
  chart.options.lightDirectionX = 100;
  chart.options.lightDirectionY = 50;
  chart.options.perspective = 35;
  SetFill(&chart.options.wallFill, 1, kWhite, kWhite);
  chart.options.seriesCount = 3;
  for (int i = 0; i < 3; ++i) DataSeries(chart, i, type);
  const bool stackedBoxes = (type.viewType == kViewColumn3D || type.viewType == kViewBar3D) && type.stacked;
  if (stackedBoxes)
    chart.options.stackBarSize = 50;
  const uint8_t viewSize = type.viewType == kViewPie3D ? 100 : type.stacked ? 80 : 60;
  chart.options.viewWidth = viewSize;
  chart.options.viewHeight = viewSize;
  if (type.viewType == kViewPie3D) {
    chart.options.seriesCount = 1;
    ChartRecord::Transform(chart.viewMatrix, kResetToIdentity, 0);
    ChartRecord::Transform(chart.viewMatrix, kRotateAboutX, -kDegrees40);
    chart.options.perspective = 100;
    chart.options.lightDirectionX = 70;
    chart.options.pieTickness3D = 20;
    chart.options.rotationX = -50;
    chart.options.rotationY = 0;
    chart.options.rotationZ = 0;
  }
}

void SetUpXY(ChartRecord& chart) {
  SetFill(&chart.options.wallFill, kFirstGradient, kGrey, kWhite);
  chart.options.seriesCount = 4;
  const TileViewType scatter = {kViewScatter, 0, 0, 6};
  for (int i = 0; i < 3; ++i) std::strcpy(DataSeries(chart, i, scatter).relatedX, "x1");
  MarkScatterSeries(chart);
  SeriesRecord& x = chart.series[3];
  x.role = kSeriesXValues;
  std::strcpy(x.name, "x1");
  x.flags = static_cast<uint16_t>(x.flags | kSeriesFromValueSet | kSeriesToValueSet);
  x.fromValue = 0.8;
  x.toValue = 5.2;
}

// One series' array: the six numbers in the first column, of which the
// series uses the first `rows`.
CellBlock* SampleArray(CellStore& store, const double* values) {
  ArrayBuilder builder(store);
  for (uint32_t i = 0; i < kGalleryRowLength; ++i) builder.AddNumber(0, i, values[i], 0);
  return builder.Finish();
}

}  // namespace

int GalleryTileCount(uint8_t kind) {
  switch (kind) {
    case kChart2D:
    case kChart3D: return kTileCount;
    case kChartXY: return 1;
    default: return 0;
  }
}

bool LoadGallerySample(ChartRecord& chart, int tile) {
  const uint8_t kind = chart.Kind();
  if (tile < 0 || tile >= GalleryTileCount(kind))
    return false;
  chart.ClearSeries();
  chart.SetDefaults();
  const int* rows = kRows2D;
  uint8_t points = 6;
  if (kind == kChart2D) {
    SetUp2D(chart, tile);
    points = kTiles2D[tile].points;
  } else if (kind == kChart3D) {
    SetUp3D(chart, tile);
    rows = kRows3D;
    points = kTiles3D[tile].points;
  } else {
    SetUpXY(chart);
  }

  static constexpr double kXValues[kGalleryRowLength] = {0, 1, 2, 3, 4, 5};
  CellStore store;
  CellBlock* arrays[4] = {};
  uint16_t columns[4] = {1, 1, 1, 1};
  uint32_t rowCounts[4] = {points, points, points, points};
  const uint32_t count = static_cast<uint32_t>(chart.UsedSeriesCount());
  for (uint32_t i = 0; i < count; ++i)
    arrays[i] = SampleArray(store, i < 3 ? kGallerySampleData[rows[i]] : kXValues);
  const bool loaded = LoadSeriesData(chart, arrays, columns, rowCounts, count);
  for (CellBlock* chain : arrays)
    if (chain)
      store.ReleaseChain(chain);
  return loaded;
}
