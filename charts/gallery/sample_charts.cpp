#include "charts/gallery/sample_charts.h"

#include <cstring>

#include "charts/series/load_series_data.h"
#include "core/cells/cell_store.h"
#include "core/eval/eval_array_builder.h"

const double kGallerySampleData[kGallerySampleRows][kGallerySampleValues] = {
    {2.0, 3.4, 4.5, 4.1, 3.1, 3.9},
    {1.1, 4.1, 4.4, 2.2, 4.8, 4.5},
    {2.6, 2.9, 4.7, 4.9, 3.9, 3.7},
};

namespace {

constexpr int kTileCount = 11;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0xFF0000;  // 0x00BBGGRR
constexpr uint8_t kScatterSymbols[3] = {3, 10, 12};

struct ViewTriple {
  uint8_t type;
  uint8_t stacked;
  uint8_t relative;
};

const ViewTriple kTiles2D[kTileCount] = {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {2, 0, 0}, {2, 1, 0}, {2, 1, 1},
                                         {3, 0, 0}, {4, 1, 0}, {4, 1, 1}, {5, 0, 0}, {6, 0, 0}};
const ViewTriple kTiles3D[kTileCount] = {{7, 0, 0}, {7, 1, 0}, {7, 1, 1},  {8, 0, 0},  {8, 1, 0}, {8, 1, 1},
                                         {9, 0, 0}, {10, 0, 0}, {10, 1, 0}, {10, 1, 1}, {11, 0, 0}};
// Values each series takes, by tile.
const uint8_t kValues2D[kTileCount] = {3, 3, 3, 3, 3, 3, 6, 6, 6, 5, 6};
const uint8_t kValues3D[kTileCount] = {3, 3, 3, 3, 3, 3, 6, 6, 6, 6, 5};
const uint8_t kPlotPercent3D[kTileCount] = {60, 80, 80, 60, 80, 80, 60, 60, 80, 80, 100};

void SetFill(FillRecord* fill, uint8_t pattern, uint32_t colour1, uint32_t colour2) {
  fill->pattern = pattern;
  fill->patternColorSet = 1;
  fill->patternColor = colour1;
  fill->backgroundColorSet = 1;
  fill->backgroundColor = colour2;
}

SeriesRecord& AddSeries(ChartRecord& chart, uint8_t role) {
  SeriesRecord& s = chart.series[chart.options.seriesCount++];
  s.role = role;
  return s;
}

void ShowScatter(SeriesRecord& s, int index) {
  s.symbol = kScatterSymbols[index];
  if (index == 1) {
    s.line.colorSet = 1;
    s.line.color = kBlue;
  }
}

void SetUp2D(ChartRecord& chart, int tile) {
  SetFill(&chart.options.wallFill, 19, kGrey, kWhite);
  const ViewTriple view = kTiles2D[tile];
  for (int i = 0; i < kGallerySampleRows; ++i) {
    SeriesRecord& s = AddSeries(chart, kSeriesData);
    s.viewType = view.type;
    s.stacked = view.stacked;
    s.relative = view.relative;
    if (view.type == kViewLine)
      s.line.style = 7;
    if (view.type == kViewScatter)
      ShowScatter(s, i);
  }
  if (tile == 1 || tile == 2 || tile == 4 || tile == 5)
    chart.options.stackBarSize = 50;
}

void SetUp3D(ChartRecord& chart, int tile) {
  ChartOptions& o = chart.options;
  SetFill(&o.wallFill, 1, kWhite, kWhite);
  o.viewWidth = o.viewHeight = kPlotPercent3D[tile];
  o.lightDirectionX = 100;
  o.lightDirectionY = 50;
  o.perspective = 35;
  if (tile == 1 || tile == 2 || tile == 4 || tile == 5)
    o.stackBarSize = 50;
  const ViewTriple view = kTiles3D[tile];
  const int seriesCount = view.type == kViewPie3D ? 1 : kGallerySampleRows;
  for (int i = 0; i < seriesCount; ++i) {
    SeriesRecord& s = AddSeries(chart, kSeriesData);
    s.viewType = view.type;
    s.stacked = view.stacked;
    s.relative = view.relative;
  }
  ChartRecord::Transform(chart.viewMatrix, kResetToIdentity, 0);
  if (view.type == kViewPie3D) {
    ChartRecord::Transform(chart.viewMatrix, kRotateAboutX, -0.6981317007977311);
    o.perspective = 100;
    o.lightDirectionX = 70;
    o.pieTickness3D = 20;
    o.rotationX = -50;
    o.rotationY = 0;
    o.rotationZ = 0;
  } else {
    ChartRecord::Transform(chart.viewMatrix, kRotateAboutX, 0.43633231299858194);
    ChartRecord::Transform(chart.viewMatrix, kRotateAboutY, 0.6981317007977311);
    ChartRecord::Transform(chart.viewMatrix, kRotateAboutZ, 0.27925268031909245);
  }
}

void SetUpXY(ChartRecord& chart) {
  SetFill(&chart.options.wallFill, 19, kGrey, kWhite);
  for (int i = 0; i < kGallerySampleRows; ++i) {
    SeriesRecord& s = AddSeries(chart, kSeriesData);
    s.viewType = kViewScatter;
    std::strcpy(s.relatedX, "x1");
    ShowScatter(s, i);
  }
  SeriesRecord& x = AddSeries(chart, kSeriesXValues);
  std::strcpy(x.name, "x1");
  x.fromValue = 0.8;
  x.toValue = 5.2;
  x.flags = static_cast<uint16_t>(x.flags | kSeriesFromValueSet | kSeriesToValueSet);
}

// The sample row of data series i (the 3D kind takes rows 2, 3, 1).
int SampleRow(uint8_t kind, int i) { return kind == kChart3D ? (i + 1) % kGallerySampleRows : i; }

}  // namespace

int GalleryTileCount(uint8_t kind) {
  switch (kind) {
    case kChart2D:
    case kChart3D:
      return kTileCount;
    case kChartXY:
      return 1;
    default:
      return 0;
  }
}

bool SetUpGallerySample(ChartRecord& chart, int tile, uint32_t* valuesUsed) {
  const uint8_t kind = chart.Kind();
  if (tile < 0 || tile >= GalleryTileCount(kind))
    return false;
  chart.SetDefaults();
  chart.options.seriesCount = 0;
  if (kind == kChart2D) {
    SetUp2D(chart, tile);
    *valuesUsed = kValues2D[tile];
  } else if (kind == kChart3D) {
    SetUp3D(chart, tile);
    *valuesUsed = kValues3D[tile];
  } else {
    SetUpXY(chart);
    *valuesUsed = kGallerySampleValues;
  }
  return true;
}

bool LoadGallerySample(ChartRecord& chart, int tile) {
  uint32_t used = 0;
  if (!SetUpGallerySample(chart, tile, &used))
    return false;
  CellStore store;
  CellBlock* arrays[kChartMaxSeries] = {};
  uint16_t columns[kChartMaxSeries] = {};
  uint32_t rows[kChartMaxSeries] = {};
  const int count = chart.UsedSeriesCount();
  bool built = true;
  for (int i = 0; i < count && built; ++i) {
    ArrayBuilder builder(store);
    for (uint32_t v = 0; v < used; ++v) {
      const double value = chart.series[i].role == kSeriesXValues
                               ? static_cast<double>(v)
                               : kGallerySampleData[SampleRow(chart.Kind(), i)][v];
      builder.AddNumber(0, v, value, 0);
    }
    arrays[i] = builder.Finish();
    columns[i] = 1;
    rows[i] = used;
    built = arrays[i] != nullptr;
  }
  const bool loaded = built && LoadSeriesData(chart, arrays, columns, rows, static_cast<uint32_t>(count));
  for (CellBlock* chain : arrays)
    if (chain)
      store.ReleaseChain(chain);
  return loaded;
}
