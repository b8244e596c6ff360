#include "charts/gallery/sample_charts.h"

#include <cstring>

#include "charts/series/load_series_data.h"
#include "core/cells/cell_store.h"
#include "core/eval/eval_array_builder.h"

const double kGallerySampleData[kGalleryRows][kGalleryRowLength] = {
    {2.0, 3.4, 4.5, 4.1, 3.1, 3.9},
    {1.1, 4.1, 4.4, 2.2, 4.8, 4.5},
    {2.6, 2.9, 4.7, 4.9, 3.9, 3.7},
};

const double kGalleryXValues[kGalleryRowLength] = {0, 1, 2, 3, 4, 5};

namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr uint8_t kFirstGradient = 19;

struct Tile {
  uint8_t viewType;
  uint8_t stacked;
  uint8_t relative;
  uint8_t points;
  uint8_t viewPercent;   // 3D only
  uint8_t stackBarSize;  // 0: the default
};

constexpr Tile kTiles2D[kGalleryTiles] = {
    {kViewColumn, 0, 0, 3, 0, 0},  {kViewColumn, 1, 0, 3, 0, 50}, {kViewColumn, 1, 1, 3, 0, 50},
    {kViewBar, 0, 0, 3, 0, 0},     {kViewBar, 1, 0, 3, 0, 50},    {kViewBar, 1, 1, 3, 0, 50},
    {kViewLine, 0, 0, 6, 0, 0},    {kViewArea, 1, 0, 6, 0, 0},    {kViewArea, 1, 1, 6, 0, 0},
    {kViewPie, 0, 0, 5, 0, 0},     {kViewScatter, 0, 0, 6, 0, 0},
};

constexpr Tile kTiles3D[kGalleryTiles] = {
    {kViewColumn3D, 0, 0, 3, 60, 0}, {kViewColumn3D, 1, 0, 3, 80, 50}, {kViewColumn3D, 1, 1, 3, 80, 50},
    {kViewBar3D, 0, 0, 3, 60, 0},    {kViewBar3D, 1, 0, 3, 80, 50},    {kViewBar3D, 1, 1, 3, 80, 50},
    {kViewLine3D, 0, 0, 6, 60, 0},   {kViewArea3D, 0, 0, 6, 60, 0},    {kViewArea3D, 1, 0, 6, 80, 0},
    {kViewArea3D, 1, 1, 6, 80, 0},   {kViewPie3D, 0, 0, 5, 100, 0},
};

// Degrees of the view matrix's turns, in radians.
constexpr double kTurn25 = 0.43633231299858194;
constexpr double kTurn40 = 0.6981317007977311;
constexpr double kTurn16 = 0.27925268031909245;

void SetFill(FillRecord& fill, uint8_t pattern, uint32_t colour1, uint32_t colour2) {
  fill.pattern = pattern;
  fill.patternColorSet = 1;
  fill.patternColor = colour1;
  fill.backgroundColorSet = 1;
  fill.backgroundColor = colour2;
}

// Three scatter series with their own symbols, the second drawn in blue.
void SetScatterLook(ChartRecord& chart) {
  const uint8_t symbols[kGalleryRows] = {3, 10, 12};
  for (int i = 0; i < kGalleryRows; ++i) chart.series[i].symbol = symbols[i];
  chart.series[1].line.colorSet = 1;
  chart.series[1].line.color = kBlue;
}

GallerySample SetUp2D(ChartRecord& chart, const Tile& tile) {
  SetFill(chart.options.wallFill, kFirstGradient, kGrey, kWhite);
  for (int i = 0; i < kGalleryRows; ++i) {
    if (tile.viewType == kViewLine)
      chart.series[i].line.style = 7;
  }
  if (tile.viewType == kViewScatter)
    SetScatterLook(chart);
  return {kGalleryRows, {0, 1, 2, 0}, tile.points};
}

GallerySample SetUp3D(ChartRecord& chart, const Tile& tile) {
  ChartOptions& o = chart.options;
  SetFill(o.wallFill, 1, kWhite, kWhite);
  o.viewWidth = o.viewHeight = tile.viewPercent;
  if (tile.viewType == kViewPie3D) {
    ChartRecord::Transform(chart.viewMatrix, kResetToIdentity, 0);
    ChartRecord::Transform(chart.viewMatrix, kRotateAboutX, -kTurn40);
    o.perspective = 100;
    o.lightDirectionX = 70;
    o.lightDirectionY = 50;
    o.pieTickness3D = 20;
    o.rotationX = -50;
    o.rotationY = 0;
    o.rotationZ = 0;
    return {1, {1, 0, 0, 0}, tile.points};
  }
  ChartRecord::Transform(chart.viewMatrix, kRotateAboutX, kTurn25);
  ChartRecord::Transform(chart.viewMatrix, kRotateAboutY, kTurn40);
  ChartRecord::Transform(chart.viewMatrix, kRotateAboutZ, kTurn16);
  o.lightDirectionX = 100;
  o.lightDirectionY = 50;
  o.perspective = 35;
  return {kGalleryRows, {1, 2, 0, 0}, tile.points};
}

GallerySample SetUpXY(ChartRecord& chart) {
  SetFill(chart.options.wallFill, kFirstGradient, kGrey, kWhite);
  for (int i = 0; i < kGalleryRows; ++i) std::strcpy(chart.series[i].relatedX, "x1");
  SetScatterLook(chart);
  SeriesRecord& x = chart.series[kGalleryRows];
  x.role = kSeriesXValues;
  std::strcpy(x.name, "x1");
  x.flags = kSeriesFromValueSet | kSeriesToValueSet;
  x.fromValue = 0.8;
  x.toValue = 5.2;
  return {kGalleryRows + 1, {0, 1, 2, kGalleryXRow}, kGalleryRowLength};
}

const Tile kTileXY = {kViewScatter, 0, 0, 6, 0, 0};

// The tiles of a kind, kGalleryTiles of them (kTileXY alone for XY charts).
const Tile* TilesOf(uint8_t kind) {
  return kind == kChart3D ? kTiles3D : kind == kChartXY ? &kTileXY : kTiles2D;
}

}  // namespace

bool GalleryTileViewType(uint8_t kind, int tile, GalleryViewType* view) {
  if (tile < 0 || tile >= GalleryTileCount(kind))
    return false;
  const Tile& t = TilesOf(kind)[tile];
  *view = GalleryViewType{t.viewType, t.stacked, t.relative};
  return true;
}

int GalleryTileOfViewType(uint8_t kind, const GalleryViewType& view) {
  const int count = GalleryTileCount(kind);
  const Tile* tiles = TilesOf(kind);
  int plain = -1, stacked = -1, relative = -1;
  for (int i = 0; i < count; ++i) {
    const Tile& t = tiles[i];
    if (t.viewType != view.viewType)
      continue;
    if (t.stacked == (view.stacked != 0) && t.relative == (view.relative != 0))
      return i;
    int& slot = t.relative ? relative : t.stacked ? stacked : plain;
    if (slot < 0)
      slot = i;
  }
  if (plain < 0 && stacked < 0 && relative < 0)
    return 0;
  if (view.stacked && view.relative && relative >= 0)
    return relative;
  if (view.stacked && !view.relative && stacked >= 0)
    return stacked;
  if (plain >= 0)
    return plain;
  return view.relative && relative >= 0 ? relative : stacked >= 0 ? stacked : relative;
}

int GalleryTileCount(uint8_t kind) {
  switch (kind) {
    case kChart2D:
    case kChart3D:
      return kGalleryTiles;
    case kChartXY:
      return 1;
    default:
      return 0;
  }
}

GallerySample SetUpGallerySample(ChartRecord& chart, int tile) {
  chart.SetDefaults();
  const uint8_t kind = chart.Kind();
  if (tile < 0 || tile >= GalleryTileCount(kind))
    return {0, {0, 0, 0, 0}, 0};
  const Tile& t = TilesOf(kind)[tile];
  for (int i = 0; i < kGalleryRows; ++i) {
    SeriesRecord& s = chart.series[i];
    s.role = kSeriesData;
    s.viewType = t.viewType;
    s.stacked = t.stacked;
    s.relative = t.relative;
  }
  if (t.stackBarSize != 0)
    chart.options.stackBarSize = t.stackBarSize;
  GallerySample sample = kind == kChart3D ? SetUp3D(chart, t) : kind == kChartXY ? SetUpXY(chart) : SetUp2D(chart, t);
  chart.options.seriesCount = static_cast<uint8_t>(sample.seriesCount);
  return sample;
}

bool LoadGallerySample(ChartRecord& chart, int tile) {
  const GallerySample sample = SetUpGallerySample(chart, tile);
  if (sample.seriesCount == 0)
    return false;
  CellStore store;
  CellBlock* arrays[kChartMaxSeries] = {};
  uint16_t columns[kChartMaxSeries] = {};
  uint32_t rows[kChartMaxSeries] = {};
  bool built = true;
  for (int i = 0; i < sample.seriesCount && built; ++i) {
    const double* values = GalleryRowValues(sample.rows[i]);
    ArrayBuilder builder(store);
    for (int v = 0; v < sample.points; ++v) builder.AddNumber(0, static_cast<uint32_t>(v), values[v], 0);
    arrays[i] = builder.Finish();
    columns[i] = 1;
    rows[i] = static_cast<uint32_t>(sample.points);
    built = arrays[i] != nullptr;
  }
  const bool loaded =
      built && LoadSeriesData(chart, arrays, columns, rows, static_cast<uint32_t>(sample.seriesCount));
  for (CellBlock* chain : arrays)
    if (chain)
      store.ReleaseChain(chain);
  return loaded;
}
