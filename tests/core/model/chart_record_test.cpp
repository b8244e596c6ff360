#include "core/model/chart_record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "core/base/scheme_colors.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A 16-byte point as the chart painter stores it.
void AppendPoints(PagedArray& list, int count) {
  uint8_t record[64] = {};
  for (int i = 0; i < count; ++i) {
    record[0] = static_cast<uint8_t>(i);
    ASSERT_TRUE(list.Append(record));
  }
}

void ExpectMatrix(const ChartMatrix m, const float (&expected)[4][4], const char* what) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(m[r][c], expected[r][c], 1e-6) << what << " [" << r << "][" << c << "]";
}

void SetIdentity(ChartMatrix m) { ChartRecord::Transform(m, kResetToIdentity, 0); }

}  // namespace

TEST(ChartRecord, DefaultsOfEveryKind) {
  const uint32_t windowText = GetSchemeColor(kSchemeWindowText);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  struct Case { uint8_t kind; uint8_t viewType; };
  for (const Case& c : {Case{kChart2D, kViewColumn}, Case{kChart3D, kViewColumn3D},
                        Case{kChartXY, kViewScatter}}) {
    SCOPED_TRACE(int(c.kind));
    auto chart = std::make_unique<ChartRecord>(c.kind);
    const ChartOptions& o = chart->options;
    EXPECT_EQ(chart->Kind(), c.kind);
    const int values[] = {o.viewWidth, o.viewHeight, o.barSize, o.stackBarSize, o.lineWidth3D,
                          o.pieTickness3D, o.pieSplit, o.lightDirectionX, o.lightDirectionY,
                          o.perspective, o.planeXY, o.planeXZ, o.planeYZ, o.wallFill.pattern,
                          o.wallBorder.style, o.seriesCount, o.legend, chart->flags,
                          chart->error, chart->zoomX, chart->zoomY, int(chart->lineUnit)};
    const int expected[] = {100, 100, 70, 70, 70, 25, 15, 80, 100, 40, 1, 1, 1, 1, 1, 0, 0, 0, 0,
                            100, 100, 4};
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i) EXPECT_EQ(values[i], expected[i]) << i;
    const uint32_t colours[] = {o.titleFont.color, o.subtitleFont.color, o.wallFill.patternColor,
                                o.wallFill.backgroundColor, o.wallBorder.color};
    const uint32_t expectedColours[] = {windowText, windowText, window, window, windowText};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(colours[i], expectedColours[i]) << i;
    ExpectMatrix(chart->viewMatrix, identity, "view matrix");
    EXPECT_EQ(chart->scale, 1.0);

    for (uint32_t i = 0; i < kChartMaxSeries; ++i) {
      SCOPED_TRACE(i);
      const SeriesRecord& s = chart->series[i];
      const uint32_t own = kProgramPalette[i % kPaletteSize];
      EXPECT_EQ(s.viewType, c.viewType);
      const int words[] = {s.role, s.periods, s.subperiods, int(s.divisor), s.visible, s.symbol,
                           s.sliceCount, s.axisFlags, s.axisType, s.name[0], s.dataArray[0]};
      const int expectedWords[] = {0, 1, 1, 1, 1, 4, 16, 114, 0, 0, 0};
      for (int k = 0; k < 11; ++k) EXPECT_EQ(words[k], expectedWords[k]) << k;
      for (int k = -1; k < kSeriesSliceCount; ++k) {  // -1: the series' own fill
        const FillRecord& fill = k < 0 ? s.fill : s.sliceFills[k];
        EXPECT_EQ(fill.pattern + fill.patternColorSet, 2) << k;
        EXPECT_EQ(uint32_t(fill.patternColor), k < 0 ? own : kProgramPalette[k]) << k;
        EXPECT_EQ(uint32_t(fill.backgroundColor), window) << k;
      }
      EXPECT_EQ(uint32_t(s.line.color), own);
      for (const BorderLine* line : {&s.line, &s.axisLine, &s.majorGrid, &s.minorGrid,
                                     &s.userGridLines[0], &s.userGridLines[15]})
        EXPECT_EQ(line->style, 1);
      for (const BorderLine* line : {&s.axisLine, &s.majorGrid, &s.userGridLines[15]})
        EXPECT_EQ(uint32_t(line->color), windowText);
      EXPECT_EQ(uint32_t(s.axisTitleFont.color), windowText);
    }
    EXPECT_TRUE(chart->CheckInvariants());
  }
}

TEST(ChartRecord, TransformOfEachKind) {
  const float x90[4][4] = {{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}};
  const float y90[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};
  const float z90[4][4] = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  const float all3[4][4] = {{3, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 3, 0}, {0, 0, 0, 1}};
  const float x3[4][4] = {{3, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  const float y3[4][4] = {{1, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  struct Case { int kind; double value; const float (*expected)[4][4]; };
  const Case cases[] = {{kRotateAboutX, kPi / 2, &x90}, {kRotateAboutY, kPi / 2, &y90},
                        {kRotateAboutZ, kPi / 2, &z90}, {kScaleAll, 3, &all3},
                        {kScaleX, 3, &x3},              {kScaleY, 3, &y3}};
  for (const Case& c : cases) {
    ChartMatrix m;
    SetIdentity(m);
    ChartRecord::Transform(m, c.kind, c.value);
    ExpectMatrix(m, *c.expected, std::to_string(c.kind).c_str());
  }
}

TEST(ChartRecord, TransformMultipliesFromTheLeft) {
  ChartMatrix m;
  SetIdentity(m);
  ChartRecord::Transform(m, kScaleX, 2);
  ChartRecord::Transform(m, kRotateAboutZ, kPi / 2);
  // Rz * Sx, not Sx * Rz: the rotation's first row picks the unscaled y axis.
  const float expected[4][4] = {{0, 1, 0, 0}, {-2, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ExpectMatrix(m, expected, "scale then rotate");

  // Rotations about one axis add up; a full turn comes back.
  ChartMatrix a, b;
  SetIdentity(a);
  SetIdentity(b);
  ChartRecord::Transform(a, kRotateAboutY, 0.3);
  ChartRecord::Transform(a, kRotateAboutY, 0.5);
  ChartRecord::Transform(b, kRotateAboutY, 0.8);
  float bCopy[4][4];
  std::memcpy(bCopy, b, sizeof bCopy);
  ExpectMatrix(a, bCopy, "0.3 + 0.5");
  for (int i = 0; i < 4; ++i) ChartRecord::Transform(b, kRotateAboutX, kPi / 2);
  ChartRecord::Transform(b, kRotateAboutY, -0.8);
  const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ExpectMatrix(b, identity, "full turn");
}

TEST(ChartRecord, TransformResetsOrIgnoresUnknownKinds) {
  ChartMatrix m;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) m[r][c] = float(r * 4 + c + 1);
  float before[4][4];
  std::memcpy(before, m, sizeof before);
  for (int kind : {0, -1, 8, 100}) {
    ChartRecord::Transform(m, kind, 1.5);
    EXPECT_EQ(0, std::memcmp(before, m, sizeof before)) << kind;
  }
  ChartRecord::Transform(m, kResetToIdentity, 1.5);
  const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ExpectMatrix(m, identity, "reset");
}

TEST(ChartRecord, ClearPointsForgetsWhatThePointsGave) {
  auto chart = std::make_unique<ChartRecord>(kChart2D);
  SeriesRecord& s = chart->series[0];
  SeriesLists& lists = chart->seriesLists[0];
  AppendPoints(lists.points, 600);
  AppendPoints(lists.categories, 3);
  AppendPoints(lists.labels, 3);
  s.flags = kSeriesFromValueSet | kSeriesToValueSet | kSeriesFixedLimits;
  s.limits.maximum = 42;
  s.limits.state = 5;
  s.limits.scaled = 1;

  s.ClearPoints(lists);
  EXPECT_EQ(int(s.flags), kSeriesFromValueSet | kSeriesToValueSet);
  EXPECT_EQ(s.limits.state, 0);
  EXPECT_EQ(s.limits.scaled, 0);
  EXPECT_EQ(double(s.limits.maximum), 0.0);
  EXPECT_EQ(lists.points.Count() + lists.categories.Count() + lists.labels.Count(), 0u);
  // The pages wait in the pool for the next load.
  EXPECT_EQ(lists.points.PoolCount(), 2u);
  EXPECT_TRUE(chart->CheckInvariants());
}

TEST(ChartRecord, ClearSeriesAndResetStylesDropDerivedState) {
  auto chart = std::make_unique<ChartRecord>(kChart3D);
  chart->options.seriesCount = 2;
  for (int i = 0; i < 3; ++i) AppendPoints(chart->seriesLists[i].points, 5);
  AppendPoints(chart->vertices, 5);
  AppendPoints(chart->faces, 5);
  chart->flags = kChartDataLoaded | kChartPrepared | 0x40;
  chart->error = 27;
  chart->styleBlock1[10] = 1;
  chart->styleBlock2[1715] = 1;
  chart->zoomX = 150;
  chart->lineUnit = 6;
  chart->drawContext = reinterpret_cast<DrawContext*>(&chart->scale);

  chart->ResetStyles();
  EXPECT_EQ(chart->flags, kChartDataLoaded | 0x40);
  EXPECT_EQ(chart->error, 0);
  EXPECT_EQ(chart->styleBlock1[10] + chart->styleBlock2[1715], 0);
  EXPECT_EQ(chart->drawContext, nullptr);
  EXPECT_EQ(chart->zoomX, 100);
  EXPECT_EQ(chart->lineUnit, 4u);
  EXPECT_EQ(chart->vertices.Count() + chart->faces.Count(), 0u);
  EXPECT_EQ(chart->vertices.PoolCount(), 1u);
  EXPECT_EQ(chart->seriesLists[0].points.Count(), 5u);

  chart->ClearSeries();
  EXPECT_EQ(chart->flags, 0x40);
  EXPECT_EQ(chart->seriesLists[0].points.Count(), 0u);
  EXPECT_EQ(chart->seriesLists[1].points.Count(), 0u);
  EXPECT_EQ(chart->seriesLists[2].points.Count(), 5u);  // not a used series
  EXPECT_TRUE(chart->CheckInvariants());
}

// A series count read from a file may be any byte.
TEST(ChartRecord, SeriesCountBeyondSixteenStaysInsideTheSeries) {
  auto source = std::make_unique<ChartRecord>(kChart2D);
  source->options.seriesCount = 200;
  for (int i = 0; i < kChartMaxSeries; ++i) AppendPoints(source->seriesLists[i].points, 2);
  EXPECT_EQ(source->UsedSeriesCount(), kChartMaxSeries);
  auto copy = std::make_unique<ChartRecord>(kChart2D);
  copy->CopyFrom(*source);
  EXPECT_EQ(copy->options.seriesCount, 200);
  source->ClearSeries();
  for (int i = 0; i < kChartMaxSeries; ++i) EXPECT_EQ(source->seriesLists[i].points.Count(), 0u);
}

TEST(ChartRecord, CopyTakesSettingsButNeitherPointsNorPreparedState) {
  auto source = std::make_unique<ChartRecord>(kChartXY);
  source->options.seriesCount = 2;
  source->options.barSize = 33;
  std::strcpy(source->options.titleText, "Sales");
  for (int i = 0; i < 2; ++i) {
    std::strcpy(source->series[i].name, i ? "Y" : "X");
    std::strcpy(source->series[i].dataArray, "R1C1:R5C1");
    source->series[i].role = static_cast<uint8_t>(i ? kSeriesData : kSeriesXValues);
    source->series[i].flags = kSeriesFromValueSet | kSeriesFixedLimits;
    source->series[i].limits.maximum = 9;
    AppendPoints(source->seriesLists[i].points, 5);
  }
  std::strcpy(source->series[2].name, "unused");
  ChartRecord::Transform(source->viewMatrix, kRotateAboutX, 0.5);
  source->zoomX = 150;
  source->flags = kChartDataLoaded | kChartPrepared;

  auto copy = std::make_unique<ChartRecord>(kChartXY);
  for (int i = 0; i < 4; ++i) AppendPoints(copy->seriesLists[i].points, 3);
  AppendPoints(copy->vertices, 3);
  copy->flags = kChartDataLoaded;
  copy->error = 27;
  copy->CopyFrom(*source);

  EXPECT_EQ(0, std::memcmp(&copy->options, &source->options, sizeof(ChartOptions)));
  EXPECT_EQ(0, std::memcmp(copy->viewMatrix, source->viewMatrix, sizeof(ChartMatrix)));
  EXPECT_EQ(copy->zoomX, 150);
  EXPECT_EQ(copy->flags, 0);
  EXPECT_EQ(copy->error, 0);
  EXPECT_EQ(copy->vertices.Count(), 0u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_STREQ(copy->series[i].name, source->series[i].name);
    EXPECT_STREQ(copy->series[i].dataArray, "R1C1:R5C1");
    EXPECT_EQ(copy->series[i].role, source->series[i].role);
    EXPECT_EQ(int(copy->series[i].flags), kSeriesFromValueSet);
    EXPECT_EQ(double(copy->series[i].limits.maximum), 0.0);
  }
  EXPECT_STREQ(copy->series[2].name, "");  // unused series keep their defaults
  for (int i = 0; i < 4; ++i) EXPECT_EQ(copy->seriesLists[i].points.Count(), 0u) << i;

  // The copy is independent of its source.
  std::strcpy(copy->series[0].name, "changed");
  copy->options.barSize = 80;
  AppendPoints(copy->seriesLists[0].points, 1);
  EXPECT_STREQ(source->series[0].name, "X");
  EXPECT_EQ(source->options.barSize, 33);
  EXPECT_EQ(source->seriesLists[0].points.Count(), 5u);
  EXPECT_TRUE(copy->CheckInvariants());
}

TEST(ChartRecord, LoadSeriesDataGoesToTheInstalledLoader) {
  auto chart = std::make_unique<ChartRecord>(kChart2D);
  chart->options.seriesCount = 1;
  AppendPoints(chart->seriesLists[0].points, 4);
  chart->flags = kChartDataLoaded;
  // Without a loader nothing changes.
  EXPECT_TRUE(chart->LoadSeriesData(nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(chart->flags, kChartDataLoaded);
  EXPECT_EQ(chart->seriesLists[0].points.Count(), 4u);
  EXPECT_EQ(chart->error, 0);

  static uint32_t seenCount = 0;
  ChartRecord::SetSeriesDataLoader([](ChartRecord& c, CellBlock* const*, const uint16_t*, const uint32_t*,
                                      uint32_t count) {
    seenCount = count;
    c.error = 28;
    return false;
  });
  EXPECT_FALSE(chart->LoadSeriesData(nullptr, nullptr, nullptr, 3));
  EXPECT_EQ(seenCount, 3u);
  EXPECT_EQ(chart->error, 28);
  ChartRecord::SetSeriesDataLoader(nullptr);
}
