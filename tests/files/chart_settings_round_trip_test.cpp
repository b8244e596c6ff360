// Chart settings a user makes in the chart editor survive a save and a load
// in both native formats: colours left at their default, a 3D pie's slice
// labels, 3D walls without a fill, and the 3D percents, which the binary
// format keeps for every chart and the XML format for 3D charts only.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "core/base/scheme_colors.h"
#include "core/model/chart_record.h"
#include "core/model/container_record.h"
#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/chart_compare.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/native_xml_support.h"

namespace {

void UnsetFill(FillRecord* fill) {
  fill->patternColorSet = 0;
  fill->patternColor = GetSchemeColor(kSchemeWindow);
}

void UnsetLine(BorderLine* line) {
  line->colorSet = 0;
  line->color = GetSchemeColor(kSchemeWindowText);
}

struct ChartCase {
  const char* name;
  uint8_t kind;
  uint8_t viewType;
  std::function<void(ChartRecord&)> set;
};

const ChartCase kCases[] = {
    {"column colour at default", kChart2D, kViewColumn, [](ChartRecord& c) { UnsetFill(&c.series[0].fill); }},
    {"line colour at default", kChart2D, kViewLine, [](ChartRecord& c) { UnsetLine(&c.series[0].line); }},
    {"scatter colours at default", kChartXY, kViewScatter,
     [](ChartRecord& c) {
       UnsetLine(&c.series[0].line);
       UnsetFill(&c.series[0].fill);
     }},
    {"2D pie slice at default", kChart2D, kViewPie, [](ChartRecord& c) { UnsetFill(&c.series[0].sliceFills[2]); }},
    {"3D column colour at default", kChart3D, kViewColumn3D, [](ChartRecord& c) { UnsetFill(&c.series[0].fill); }},
    {"3D pie slice labels", kChart3D, kViewPie3D,
     [](ChartRecord& c) {
       c.series[0].labelKind = 4;
       c.series[0].labelFont.colorSet = 1;
       c.series[0].labelFont.color = 0x123456;
       UnsetFill(&c.series[0].sliceFills[0]);
     }},
    {"3D wall without fill", kChart3D, kViewColumn3D, [](ChartRecord& c) { c.options.wallFill.pattern = 0; }},
    {"3D wall solid in a set colour", kChart3D, kViewBar3D,
     [](ChartRecord& c) {
       c.options.wallFill.patternColorSet = 1;
       c.options.wallFill.patternColor = 0xA0B0C0;
     }},
    {"3D percents of a 3D chart", kChart3D, kViewLine3D,
     [](ChartRecord& c) {
       c.options.lineWidth3D = 33;
       c.options.pieTickness3D = 44;
     }},
    {"3D percents of a 2D chart", kChart2D, kViewBar,
     [](ChartRecord& c) {
       c.options.lineWidth3D = 33;
       c.options.pieTickness3D = 44;
     }},
    {"3D percents of an XY chart", kChartXY, kViewScatter,
     [](ChartRecord& c) {
       c.options.lineWidth3D = 1;
       c.options.pieTickness3D = 100;
     }},
};

// A workbook whose one container holds the case's chart with one data series.
std::unique_ptr<CWorkBook> BookWith(const ChartCase& test) {
  auto book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = NewWorksheet("Charts", 1);
  book->InsertItems(sheet, nullptr);
  book->activeWorksheet = sheet;
  auto* chart = new ChartRecord(test.kind);
  SeriesRecord& data = chart->series[0];
  data.role = kSeriesData;
  data.viewType = test.viewType;
  std::strcpy(data.name, "Sales");
  std::strcpy(data.dataArray, "{1,2,3}");
  chart->options.seriesCount = 1;
  test.set(*chart);
  auto* container = new ContainerRecord;
  container->header.id = 1;
  container->items[0] = ContainerItem{kItemChart, 0, chart};
  container->header.itemCount = 1;
  sheet->AddContainer(container);
  return book;
}

const ChartRecord* OnlyChart(const CWorkBook& book) {
  const CWorkSheet* sheet = CWorkSheet::FromItem(book.firstItem);
  if (!sheet || !sheet->containers || sheet->containers->header.itemCount != 1)
    return nullptr;
  return sheet->containers->items[0].chart;
}

TEST(ChartSettingsRoundTrip, BinaryFileKeepsEverySetting) {
  for (const ChartCase& test : kCases) {
    SCOPED_TRACE(test.name);
    auto book = BookWith(test);
    ASSERT_TRUE(filetest::SaveTo(book.get(), "files_chart_settings.tlv")) << int(book->error);
    uint8_t error = 0;
    bool loaded = false;
    auto back = filetest::LoadFrom("files_chart_settings.tlv", nullptr, &error, &loaded);
    ASSERT_TRUE(loaded) << int(error);
    const ChartRecord* chart = OnlyChart(*back);
    ASSERT_NE(chart, nullptr);
    filetest::ExpectChartsEqual(*OnlyChart(*book), *chart, "");
  }
}

TEST(ChartSettingsRoundTrip, XmlFileKeepsWhatItCarries) {
  for (const ChartCase& test : kCases) {
    SCOPED_TRACE(test.name);
    auto book = BookWith(test);
    uint8_t error = 0;
    const std::string text = xmldoc::SaveXmlText(book.get(), &error);
    ASSERT_EQ(error, 0);
    uint32_t line = 0;
    auto back = xmldoc::LoadXmlText(text, &error, &line);
    ASSERT_EQ(error, 0) << "line " << line << ": " << xmldoc::LineOf(text, line);

    ChartRecord expected(test.kind);
    expected.CopyFrom(*OnlyChart(*book));
    // The format has the 3D percents in 3D charts only, and a marker for
    // scatter views only; what it leaves out comes back as a reader sets it.
    if (test.kind != kChart3D) {
      const ChartRecord fresh(test.kind);
      expected.options.lineWidth3D = fresh.options.lineWidth3D;
      expected.options.pieTickness3D = fresh.options.pieTickness3D;
    }
    if (test.viewType != kViewScatter)
      expected.series[0].symbol = 5;
    const ChartRecord* chart = OnlyChart(*back);
    ASSERT_NE(chart, nullptr);
    filetest::ExpectChartsEqual(expected, *chart, "");
  }
}

}  // namespace
