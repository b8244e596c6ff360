// What Apply checks before a container takes the editor's working copy:
// the series named as X domains and error bars exist with their roles, and
// the data series of a 3D chart share one view type; the first broken rule
// in that precedence names the message, whichever chart breaks it.

#include "dialogs/chart_editor/series_references.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/model/chart_record.h"
#include "resources/resource_ids.h"

namespace {

struct Series {
  uint8_t role;
  const char* name;
  const char* relatedX;
  const char* relatedSigma;
  uint8_t viewType;
  uint8_t stacked;
};

ChartRecord* MakeChart(uint8_t kind, const std::vector<Series>& list) {
  ChartRecord* chart = new ChartRecord(kind);
  int i = 0;
  for (const Series& s : list) {
    SeriesRecord& r = chart->series[i++];
    r.role = s.role;
    std::strcpy(r.name, s.name);
    std::strcpy(r.relatedX, s.relatedX);
    std::strcpy(r.relatedSigma, s.relatedSigma);
    if (s.viewType != 0)
      r.viewType = s.viewType;
    r.stacked = s.stacked;
  }
  chart->options.seriesCount = static_cast<uint8_t>(i);
  return chart;
}

void Add(ContainerRecord& box, ChartRecord* chart) {
  box.items[box.header.itemCount].kind = kItemChart;
  box.items[box.header.itemCount].chart = chart;
  ++box.header.itemCount;
}

constexpr uint8_t D = kSeriesData, X = kSeriesXValues, E = kSeriesErrorBars, C = kSeriesCategories;

TEST(SeriesReferences, EachRuleOnItsOwn) {
  const struct {
    const char* what;
    uint8_t kind;
    std::vector<Series> series;
    uint16_t message;
  } cases[] = {
      {"xy with its domain", kChartXY, {{D, "y", "x1", "", 0, 0}, {X, "x1", "", "", 0, 0}}, 0},
      {"domain named in other case", kChartXY, {{X, "X1", "", "", 0, 0}, {D, "y", "x1", "", 0, 0}}, 0},
      {"no domain named", kChartXY, {{D, "y", "", "", 0, 0}}, 0},
      {"domain missing", kChartXY, {{D, "y", "x2", "", 0, 0}, {X, "x1", "", "", 0, 0}}, IDS_MISSING_X_DOMAIN},
      {"domain of the wrong role", kChartXY, {{D, "y", "x1", "", 0, 0}, {D, "x1", "", "", 0, 0}},
       IDS_MISSING_X_DOMAIN},
      {"domain after a namesake of the wrong role", kChartXY,
       {{D, "x1", "", "", 0, 0}, {D, "y", "x1", "", 0, 0}, {X, "x1", "", "", 0, 0}}, 0},
      {"xy error bars", kChartXY, {{D, "y", "", "s", 0, 0}, {X, "x", "", "s", 0, 0}, {E, "s", "", "", 0, 0}}, 0},
      {"xy x series with missing bars", kChartXY, {{X, "x", "", "s", 0, 0}}, IDS_MISSING_ERROR_BARS},
      {"2D error bars", kChart2D, {{D, "y", "", "s", 0, 0}, {E, "s", "", "", 0, 0}}, 0},
      {"2D bars missing", kChart2D, {{D, "y", "", "s", 0, 0}, {C, "s", "", "", 0, 0}}, IDS_MISSING_ERROR_BARS},
      {"2D charts have no domains", kChart2D, {{D, "y", "nowhere", "", 0, 0}}, 0},
      {"3D one view type", kChart3D,
       {{D, "a", "", "", kViewColumn3D, 0}, {C, "c", "", "", kViewBar3D, 0}, {D, "b", "", "", kViewColumn3D, 0}}, 0},
      {"3D columns and bars", kChart3D, {{D, "a", "", "", kViewColumn3D, 0}, {D, "b", "", "", kViewBar3D, 0}},
       IDS_SAME_3D_VIEW_TYPE},
      {"3D stacked and not", kChart3D, {{D, "a", "", "", kViewColumn3D, 1}, {D, "b", "", "", kViewColumn3D, 0}},
       IDS_SAME_3D_VIEW_TYPE},
      {"3D error bars not checked", kChart3D, {{D, "a", "", "gone", 0, 0}}, 0},
  };
  for (const auto& c : cases) {
    ContainerRecord box;
    Add(box, MakeChart(c.kind, c.series));
    EXPECT_EQ(FindSeriesReferenceFault(box), c.message) << c.what;
  }
}

TEST(SeriesReferences, ViewTypesComeBeforeDomainsAndDomainsBeforeErrorBarsAcrossCharts) {
  ChartRecord* bars = MakeChart(kChart2D, {{D, "y", "", "gone", 0, 0}});
  ChartRecord* domain = MakeChart(kChartXY, {{D, "y", "gone", "", 0, 0}});
  ChartRecord* views = MakeChart(kChart3D, {{D, "a", "", "", kViewArea3D, 0}, {D, "b", "", "", kViewLine3D, 0}});
  ContainerRecord box;
  Add(box, bars);
  EXPECT_EQ(FindSeriesReferenceFault(box), IDS_MISSING_ERROR_BARS);
  Add(box, domain);
  EXPECT_EQ(FindSeriesReferenceFault(box), IDS_MISSING_X_DOMAIN);
  Add(box, views);
  EXPECT_EQ(FindSeriesReferenceFault(box), IDS_SAME_3D_VIEW_TYPE);
  // Images and empty slots are skipped.
  box.items[box.header.itemCount++].kind = kItemImage;
  EXPECT_EQ(FindSeriesReferenceFault(box), IDS_SAME_3D_VIEW_TYPE);
  EXPECT_EQ(IDS_SAME_3D_VIEW_TYPE, 155);
  EXPECT_EQ(IDS_MISSING_X_DOMAIN, 152);
  EXPECT_EQ(IDS_MISSING_ERROR_BARS, 153);
}

}  // namespace
