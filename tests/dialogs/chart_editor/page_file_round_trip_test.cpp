// Whatever the chart pages store is what a saved workbook gives back: random
// page values go through each page's store into a chart, the workbook is
// saved as native XML and loaded, and every page then shows the loaded
// chart as it showed the stored one.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "core/workbook/workbook.h"
#include "dialogs/chart_editor/axis_page_values.h"
#include "dialogs/chart_editor/chart_page_values.h"
#include "dialogs/chart_editor/series_page_values.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/native_xml/native_xml_support.h"
#include "tests/test_seed.h"

namespace {

class PageValues {
 public:
  explicit PageValues(uint32_t seed) : random_(seed) {}
  int Below(int n) { return int(random_() % uint32_t(n)); }
  bool Chance() { return Below(2) == 0; }
  // What the line, pattern and colour combos can report.
  BorderLine Line() { return BorderLine{uint8_t(Below(9)), uint8_t(Below(2)), {}, uint32_t(random_() & 0xFFFFFF)}; }
  // Patterns 0 "None", 1 solid, 2..18 hatches, 19..22 gradients.
  FillRecord Fill(int patterns) {
    FillRecord fill = {};
    fill.pattern = uint8_t(patterns == 1 ? 1 : Below(patterns));
    fill.patternColorSet = uint8_t(Below(2));
    fill.patternColor = random_() & 0xFFFFFF;
    fill.backgroundColorSet = uint8_t(Below(2));
    fill.backgroundColor = random_() & 0xFFFFFF;
    return fill;
  }
  // Whatever a user types, within the edit's limit.
  void Text(char* out, size_t size) {
    static const char kPool[] = "ab Z09<>&\"' .,\xE9";
    const size_t length = size_t(Below(int(size)));
    for (size_t i = 0; i < length; ++i) out[i] = kPool[Below(int(sizeof kPool) - 1)];
    out[length] = '\0';
  }
  // A whole number the page takes, its ends more often than the rest.
  void Integer(char* out, size_t size, int minimum, int maximum) {
    const int pick = Below(4);
    const int value = pick == 0 ? minimum : pick == 1 ? maximum : minimum + Below(maximum - minimum + 1);
    std::snprintf(out, size, "%d", value);
  }

 private:
  std::mt19937 random_;
};

// A colour left at "default" comes back at "default"; a set one as it was.
bool SameColour(uint8_t setA, uint32_t a, uint8_t setB, uint32_t b) { return setA == setB && (!setA || a == b); }

bool SameLine(const BorderLine& a, const BorderLine& b) {
  return a.style == b.style && SameColour(a.colorSet, a.color, b.colorSet, b.color);
}

bool SameFill(const FillRecord& a, const FillRecord& b) {
  return a.pattern == b.pattern && SameColour(a.patternColorSet, a.patternColor, b.patternColorSet, b.patternColor) &&
         SameColour(a.backgroundColorSet, a.backgroundColor, b.backgroundColorSet, b.backgroundColor);
}

// Each page stores random values into the chart's series 0 (a data series)
// and series 1 (its X values or categories).
void StoreRandomPages(PageValues& g, ChartRecord* chart) {
  const uint8_t kind = chart->Kind();
  WallsPageValues walls;
  LoadWallsPage(*chart, &walls);
  walls.fill = g.Fill(kind == kChart3D ? 2 : 23);  // 3D walls: "None" or solid
  walls.border = g.Line();
  walls.planeXY = g.Chance();
  walls.planeYZ = g.Chance();
  walls.planeXZ = g.Chance();
  g.Integer(walls.widthText, sizeof walls.widthText, kViewSizeMinimum, kViewSizeMaximum);
  g.Integer(walls.heightText, sizeof walls.heightText, kViewSizeMinimum, kViewSizeMaximum);
  ASSERT_EQ(StoreWallsPage(walls, chart), kPageStored);

  LegendPageValues legend;
  LoadLegendPage(*chart, &legend);
  g.Text(legend.title, sizeof legend.title);
  g.Text(legend.subtitle, sizeof legend.subtitle);
  legend.legend = LegendChoice{g.Below(kLegendPositions), g.Chance()};
  StoreLegendPage(legend, chart);

  OptionsPageValues options = DefaultOptionsPage();
  options.perspectiveOn = g.Chance();
  options.perspectivePosition = 1 + g.Below(kPerspectivePositions);
  options.lampHorizontal = g.Below(181);
  options.lampVertical = g.Below(181);
  if (kind == kChart3D) {
    StoreOptionsPage(options, chart);
    for (int axis = 0; axis < 3; ++axis) RotateChartView(chart, axis, g.Below(21) - 10);
  }

  for (int32_t series = 0; series < 2; ++series) {
    DataPageValues data;
    LoadDataPage(*chart, series, ',', &data);
    data.fromSet = g.Chance();
    data.toSet = g.Chance();
    std::snprintf(data.fromText, sizeof data.fromText, "%d,%d", g.Below(2000) - 1000, g.Below(100));
    std::snprintf(data.toText, sizeof data.toText, "-%d,5", g.Below(1000));
    g.Text(data.relatedX, sizeof data.relatedX);
    g.Text(data.relatedSigma, sizeof data.relatedSigma);
    ASSERT_EQ(StoreDataPage(data, ',', chart, series), kPageStored);

    StylePageValues style;
    LoadStylePage(*chart, series, &style);
    style.visible = g.Chance();
    style.labelKind = uint8_t(g.Below(5));
    style.fill = g.Fill(kind == kChart3D ? 2 : 19);  // no gradients, no patterns in 3D
    style.line = g.Line();
    style.symbol = uint8_t(1 + g.Below(15));
    style.connectPoints = g.Chance();
    for (FillRecord& slice : style.slices) slice = g.Fill(kind == kChart3D ? 2 : 19);
    for (int field = 0; field < kAdvancedPercents; ++field) {
      char text[8];
      g.Integer(text, sizeof text, AdvancedPercentMinimum(field), 100);
      ASSERT_TRUE(ParseAdvancedPercent(field, text, &style.percents[field]));
    }
    StoreStylePage(style, g.Below(kSeriesSliceCount), chart, series);

    AxesPageValues axes;
    LoadAxesPage(*chart, series, &axes);
    axes.axisType = uint8_t(g.Below(4));
    axes.line = g.Line();
    axes.majorTicks = g.Chance();
    axes.minorTicks = g.Chance();
    g.Integer(axes.majorText, sizeof axes.majorText, 0, kTickSettingMaximum);
    g.Integer(axes.minorText, sizeof axes.minorText, 0, kTickSettingMaximum);
    axes.title = g.Chance();
    axes.titleVertical = g.Chance();
    axes.labels = g.Chance();
    axes.labelsVertical = g.Chance();
    axes.scale = uint8_t(g.Below(4));
    g.Text(axes.name, sizeof axes.name);
    ASSERT_EQ(StoreAxesPage(axes, chart, series), kPageStored);

    GridPageValues grid;
    LoadGridPage(*chart, series, &grid);
    grid.major = g.Line();
    grid.minor = g.Line();
    grid.userCount = 0;
    for (int n = g.Below(kSeriesUserGridLines + 1); n > 0; --n)
      AddUserGridline(&grid, (g.Below(20001) - 10000) / 8.0, g.Line());
    StoreGridPage(grid, chart, series);
  }
}

void ExpectPagesAlike(const ChartRecord& stored, const ChartRecord& loaded) {
  WallsPageValues w1, w2;
  LoadWallsPage(stored, &w1);
  LoadWallsPage(loaded, &w2);
  EXPECT_TRUE(SameFill(w1.fill, w2.fill) && SameLine(w1.border, w2.border)) << "walls";
  EXPECT_EQ(w1.planeXY, w2.planeXY);
  EXPECT_EQ(w1.planeYZ, w2.planeYZ);
  EXPECT_EQ(w1.planeXZ, w2.planeXZ);
  EXPECT_STREQ(w1.widthText, w2.widthText);
  EXPECT_STREQ(w1.heightText, w2.heightText);

  LegendPageValues l1, l2;
  LoadLegendPage(stored, &l1);
  LoadLegendPage(loaded, &l2);
  EXPECT_STREQ(l1.title, l2.title);
  EXPECT_STREQ(l1.subtitle, l2.subtitle);
  EXPECT_EQ(l1.legend.position, l2.legend.position);
  EXPECT_EQ(l1.legend.expandWidth, l2.legend.expandWidth);

  if (stored.Kind() == kChart3D) {
    OptionsPageValues o1, o2;
    LoadOptionsPage(stored, &o1);
    LoadOptionsPage(loaded, &o2);
    EXPECT_EQ(std::memcmp(&o1, &o2, sizeof o1), 0) << "3D options";
    EXPECT_EQ(std::memcmp(stored.viewMatrix, loaded.viewMatrix, sizeof stored.viewMatrix), 0) << "view matrix";
  }

  for (int32_t series = 0; series < 2; ++series) {
    SCOPED_TRACE("series " + std::to_string(series));
    DataPageValues d1, d2;
    LoadDataPage(stored, series, ',', &d1);
    LoadDataPage(loaded, series, ',', &d2);
    EXPECT_EQ(d1.fromSet, d2.fromSet);
    EXPECT_EQ(d1.toSet, d2.toSet);
    EXPECT_STREQ(d1.fromText, d2.fromText);
    EXPECT_STREQ(d1.toText, d2.toText);
    EXPECT_STREQ(d1.relatedX, d2.relatedX);
    EXPECT_STREQ(d1.relatedSigma, d2.relatedSigma);

    StylePageValues s1, s2;
    LoadStylePage(stored, series, &s1);
    LoadStylePage(loaded, series, &s2);
    EXPECT_EQ(s1.visible, s2.visible);
    // Only a 3D chart has the 3D line width and pie thickness.
    const int percents = stored.Kind() == kChart3D ? kAdvancedPercents : 3;
    EXPECT_EQ(std::memcmp(s1.percents, s2.percents, size_t(percents)), 0);
    const uint8_t view = stored.series[series].viewType;
    SCOPED_TRACE("chart " + std::to_string(stored.Kind()) + " view type " + std::to_string(view));
    // Of a 3D chart only a pie shows its label kind.
    if (s1.enabled && (stored.Kind() != kChart3D || view == kViewPie3D)) {
      EXPECT_EQ(s1.labelKind, s2.labelKind);
    }
    if (s1.enabled && view != kViewLine && view != kViewPie && view != kViewPie3D) {
      EXPECT_TRUE(SameFill(s1.fill, s2.fill))
          << "fill " << int(s1.fill.pattern) << "/" << int(s2.fill.pattern) << " " << int(s1.fill.patternColorSet)
          << "/" << int(s2.fill.patternColorSet) << " " << int(s1.fill.backgroundColorSet) << "/"
          << int(s2.fill.backgroundColorSet);
    }
    if (s1.enabled && (view == kViewLine || view == kViewScatter)) {
      EXPECT_TRUE(SameLine(s1.line, s2.line))
          << "line " << int(s1.line.style) << "/" << int(s2.line.style) << " " << int(s1.line.colorSet) << "/"
          << int(s2.line.colorSet);
    }
    if (s1.enabled && view == kViewScatter) {
      EXPECT_EQ(s1.symbol, s2.symbol);
      EXPECT_EQ(s1.connectPoints, s2.connectPoints);
    }

    AxesPageValues a1, a2;
    LoadAxesPage(stored, series, &a1);
    LoadAxesPage(loaded, series, &a2);
    EXPECT_EQ(a1.mode, a2.mode);
    EXPECT_EQ(a1.axisType, a2.axisType);
    EXPECT_TRUE(SameLine(a1.line, a2.line)) << "axis line";
    EXPECT_EQ(a1.majorTicks, a2.majorTicks);
    EXPECT_EQ(a1.minorTicks, a2.minorTicks);
    EXPECT_STREQ(a1.majorText, a2.majorText);
    EXPECT_STREQ(a1.minorText, a2.minorText);
    EXPECT_EQ(a1.title, a2.title);
    EXPECT_EQ(a1.title && a1.titleVertical, a2.title && a2.titleVertical);
    EXPECT_EQ(a1.labels, a2.labels);
    EXPECT_EQ(a1.labels && a1.labelsVertical, a2.labels && a2.labelsVertical);
    EXPECT_EQ(a1.scale, a2.scale);
    EXPECT_STREQ(a1.name, a2.name);

    GridPageValues g1, g2;
    LoadGridPage(stored, series, &g1);
    LoadGridPage(loaded, series, &g2);
    EXPECT_TRUE(SameLine(g1.major, g2.major) && SameLine(g1.minor, g2.minor)) << "grid lines";
    ASSERT_EQ(g1.userCount, g2.userCount);
    for (int i = 0; i < g1.userCount; ++i) {
      EXPECT_TRUE(SameLine(g1.userLines[i], g2.userLines[i])) << "user gridline " << i;
      EXPECT_EQ(g1.userValues[i], g2.userValues[i]);
    }
  }
}

TEST(ChartPages, EveryStoredValueOpensAgainFromASavedWorkbook) {
  const uint32_t seed = TestSeed(55142);
  SCOPED_TRACE(SeedTrace(seed));
  PageValues g(seed);
  for (int round = 0; round < 24; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const uint8_t kind = uint8_t(kChart2D + round % 3);
    auto book = std::make_unique<CWorkBook>();
    CWorkSheet* sheet = NewWorksheet("Charts", 1);
    book->InsertItems(sheet, nullptr);
    book->activeWorksheet = sheet;
    auto* container = new ContainerRecord;
    container->header.id = 1;
    ChartRecord* chart = NewContainerChart(kind);
    container->items[0] = ContainerItem{kItemChart, 0, chart};
    container->header.itemCount = 1;
    sheet->AddContainer(container);
    // Series 0 holds data of a random view type the gallery offers, series
    // 1 the X values (XY) or categories.
    const uint8_t viewTypes[3][6] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 7}, {6, 6, 6, 6, 6, 6}};
    for (int i = 0; i < 2; ++i) chart->series[i].SetDefaults(kind, uint32_t(i));
    chart->series[0].role = kSeriesData;
    chart->series[0].viewType = viewTypes[kind - 1][g.Below(6)];
    chart->series[1].role = kind == kChartXY ? kSeriesXValues : kSeriesCategories;
    std::snprintf(chart->series[0].dataArray, sizeof chart->series[0].dataArray, "{1,2,3}");
    std::snprintf(chart->series[1].dataArray, sizeof chart->series[1].dataArray, "{1,2,3}");
    chart->options.seriesCount = 2;
    StoreRandomPages(g, chart);
    if (HasFatalFailure())
      return;

    uint8_t error = 0;
    const std::string text = xmldoc::SaveXmlText(book.get(), &error);
    ASSERT_EQ(error, 0);
    uint32_t line = 0;
    auto loaded = xmldoc::LoadXmlText(text, &error, &line);
    ASSERT_EQ(error, 0) << "line " << line << ": " << xmldoc::LineOf(text, line);
    CWorkSheet* loadedSheet = CWorkSheet::FromItem(loaded->firstItem);
    ASSERT_NE(loadedSheet, nullptr);
    ASSERT_NE(loadedSheet->containers, nullptr);
    ASSERT_EQ(loadedSheet->containers->header.itemCount, 1);
    const ChartRecord* back = loadedSheet->containers->items[0].chart;
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->options.seriesCount, 2);
    // The file keeps error bars, then X values or categories, then data.
    ChartRecord reordered(kind);
    reordered.CopyFrom(*back);
    std::swap(reordered.series[0], reordered.series[1]);
    ExpectPagesAlike(*chart, reordered);
  }
}

}  // namespace
