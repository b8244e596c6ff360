// Data-point labels: their texts from the series and its related series,
// the related series found by name, automatic placement by direction, and
// drawing them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "charts/labels/label_placement.h"
#include "charts/labels/label_record.h"
#include "charts/labels/label_text.h"
#include "charts/labels/point_labels.h"
#include "charts/labels/related_series.h"
#include "tests/charts/support/builder_chart.h"

namespace {

// Series 0 "values" (1.5, 2.5, 3.5), 1 "Cats" (categories a, b), 2 "xs"
// (X values 10, none, 30), 3 "other" (data).
struct LabelledChart {
  TestArrays arrays;
  std::unique_ptr<ChartRecord> chart = NewChart(kChart2D);

  LabelledChart() {
    SetName(SetSeries(*chart, 0, kSeriesData, kViewColumn), "values");
    SetName(SetSeries(*chart, 1, kSeriesCategories, kViewColumn), "Cats");
    SetName(SetSeries(*chart, 2, kSeriesXValues, kViewColumn), "xs");
    SetName(SetSeries(*chart, 3, kSeriesData, kViewColumn), "other");
    arrays.AddNumbers({1.5, 2.5, 3.5});
    arrays.AddTexts({"a", "b"});
    arrays.AddNumbers({10, std::nan(""), 30});
    arrays.AddNumbers({7});
    EXPECT_TRUE(arrays.LoadInto(*chart));
  }

  // The labels of the three points, line breaks as "|", "-" where dropped.
  std::string Texts(int related, LabelPurpose purpose) const {
    char code[kNumFormatCodeSize];
    PointLabelCode(chart->series[0], code, sizeof code);
    std::string all;
    for (uint32_t i = 0; i < 3; ++i) {
      char text[kPointLabelSize];
      std::string one = PointLabelText(*chart, 0, related, i, code, purpose, text, sizeof text) ? text : "-";
      for (char& c : one)
        if (c == '\n') c = '|';
      all += (i ? " " : "") + one;
    }
    return all;
  }
};

TEST(PointLabelText, KindsAndRelatedSeries) {
  struct Case {
    uint8_t kind;
    int related;
    LabelPurpose purpose;
    const char* texts;
  };
  const Case cases[] = {
      {kLabelValue, kNoSeries, kLabelToDraw, "1.5 2.5 3.5"}, {kLabelCategory, kNoSeries, kLabelToDraw, "  "},
      {kLabelCategoryValue, kNoSeries, kLabelToDraw, "|1.5 |2.5 |3.5"},
      // A missing category or X value shows the point's number.
      {kLabelCategory, 1, kLabelToDraw, "a b 3"}, {kLabelCategoryValue, 1, kLabelToDraw, "a|1.5 b|2.5 3|3.5"},
      {kLabelValueCategory, 2, kLabelToDraw, "1.5|10 2.5|2 3.5|30"},
      // A data series gives no category to draw but is measured as one
      // without categories.
      {kLabelCategory, 3, kLabelToDraw, "  "}, {kLabelCategory, 3, kLabelToMeasure, "1 2 3"},
      {5, 1, kLabelToDraw, "- - -"},
  };
  LabelledChart labelled;
  for (const Case& c : cases) {
    labelled.chart->series[0].labelKind = c.kind;
    EXPECT_EQ(labelled.Texts(c.related, c.purpose), c.texts)
        << "kind " << int(c.kind) << ", related " << c.related << ", purpose " << int(c.purpose);
  }
}

TEST(PointLabelText, PercentFormatsShowAHundredfoldAndFailuresDropTheLabel) {
  LabelledChart labelled;
  SeriesRecord& s = labelled.chart->series[0];
  s.labelKind = kLabelValueCategory;
  s.numberFormat.category = kNumFormatPercent;
  s.numberFormat.options.number.fixedDecimals = 1;
  EXPECT_EQ(labelled.Texts(2, kLabelToDraw), "150%|1,000% 250%|2 350%|3,000%");
  s.numberFormat.category = kNumFormatUserPattern;
  std::strcpy(s.numberFormat.code, "0.0 \"cm\"");
  EXPECT_EQ(labelled.Texts(kNoSeries, kLabelToDraw), "1.5 cm| 2.5 cm| 3.5 cm|");
  std::strcpy(s.numberFormat.code, "[Red");
  EXPECT_EQ(labelled.Texts(kNoSeries, kLabelToDraw), "- - -");
}

TEST(RelatedSeries, NamesMatchWithoutRegardToCaseFirstInSeriesOrder) {
  LabelledChart labelled;
  ChartRecord& chart = *labelled.chart;
  SetName(chart.series[3], "CATS");
  const struct {
    const char* name;
    int found;
  } cases[] = {{"cats", 1}, {"VALUES", 0}, {"", kNoSeries}, {"dogs", kNoSeries}, {"cat", kNoSeries}};
  for (const auto& c : cases) {
    std::strcpy(chart.series[0].relatedX, c.name);
    std::strcpy(chart.series[0].relatedSigma, c.name);
    EXPECT_EQ(FindRelatedX(chart, 0), c.found) << c.name;
    EXPECT_EQ(FindRelatedSigma(chart, 0), c.found) << c.name;
  }
}

TEST(LabelPlacement, AngleRangesHoldBothEndsAndTheFirstWins) {
  const struct {
    double degrees;
    int alignment;  // horizontal * 10 + vertical
  } cases[] = {{0, 15},    {10, 15},    {10.5, 17},  {80, 17},    {80.5, 27},  {100, 27},   {100.5, 37},
               {170, 37},  {170.5, 35}, {190, 35},   {190.5, 34}, {260, 34},   {260.5, 24}, {280, 24},
               {280.5, 14}, {350, 14},  {350.5, 15}, {360, 15}};
  for (const auto& c : cases) {
    const LabelAlignment a = LabelAlignmentForAngle(c.degrees);
    EXPECT_EQ(a.horizontal * 10 + a.vertical, c.alignment) << c.degrees;
  }
}

VertexRecord View(float x, float y) { return {x, x, y, y, 0, 0}; }

TEST(LabelPlacement, TheTextLiesBeyondTheFartherPointAwayFromTheAnchor) {
  const struct {
    const char* name;
    VertexRecord second;
    VertexRecord third;
    bool thirdChosen;
    int alignment;  // horizontal * 10 + vertical
  } cases[] = {
      {"right, level with the anchor", View(120, 100), View(120, 100), false, 15},
      {"left, level with the anchor", View(80, 100), View(80, 100), false, 35},
      {"up the screen", View(100, 80), View(100, 80), false, 27},
      {"down the screen", View(100, 120), View(100, 120), false, 24},
      {"on the anchor", View(100, 100), View(100, 100), false, 15},
      {"the third lies farther", View(110, 100), View(100, 130), true, 24},
      {"as far: the second", View(100, 70), View(130, 100), false, 27},
  };
  for (const auto& c : cases) {
    const VertexRecord* at = nullptr;
    LabelAlignment a = {0, 0};
    PlaceAutomaticLabel(View(100, 100), c.second, c.third, &at, &a);
    EXPECT_EQ(at, c.thirdChosen ? &c.third : &c.second) << c.name;
    EXPECT_EQ(a.horizontal * 10 + a.vertical, c.alignment) << c.name;
  }
}

TEST(PointLabels, DrawnInTheLabelFontAndColourAtTheirPlaces) {
  LabelledChart labelled;
  ChartRecord& chart = *labelled.chart;
  SeriesRecord& s = chart.series[0];
  s.labelKind = kLabelValue;
  s.labelFont.colorSet = 1;
  s.labelFont.color = 0x0000FF;
  s.labelFont.font.size = 12;
  chart.zoomY = 150;
  ASSERT_TRUE(AddPointLabel(chart, 0, 2, {40.7f, 20.2f}, 3, 7));
  ASSERT_TRUE(AddAutomaticLabel(chart, 0, 0, {10, 10}, {10, 30}, {10, 30}));
  DisplayListSurface surface;
  ChartCanvas canvas = {chart, surface.Surface(), {}, {}};
  DrawPointLabels(canvas, 0, kNoSeries);
  EXPECT_EQ(surface.Lines(), (std::vector<std::string>{
                                 "font \"Arial\" 12pt weight 0 italic 0 escapement 0 zoom 150",
                                 "text 40,20 align 3/7 escapement 0 angle 0 #FF0000 \"3.5\"",
                                 "text 10,30 align 2/4 escapement 0 angle 0 #FF0000 \"1.5\""}));
  s.role = kSeriesErrorBars;  // no data series, no labels
  surface.Clear();
  DrawPointLabels(canvas, 0, kNoSeries);
  EXPECT_TRUE(surface.Lines().empty());
}

}  // namespace
