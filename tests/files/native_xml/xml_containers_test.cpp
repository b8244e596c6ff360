#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/chart_compare.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/random_containers.h"
#include "tests/test_seed.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;
using filetest::ExpectChartsEqual;
using filetest::FirstDifference;

// File names of this program's own, as test programs run side by side.
std::string Save(CWorkBook* book, uint8_t* error) {
  const char* path = "files_xml_containers_save.tmp";
  EXPECT_TRUE(book->bufferedFile.Open(path, "w+b"));
  SaveXml(book);
  *error = book->error;
  book->bufferedFile.Close();
  return filetest::ReadAll(path);
}

std::unique_ptr<CWorkBook> Load(const std::string& text, uint8_t* error, uint32_t* line = nullptr) {
  const char* path = "files_xml_containers_load.tmp";
  filetest::WriteAll(path, text);
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(book->bufferedFile.Open(path, "rb"));
  LoadXml(book.get(), line);
  *error = book->error;
  book->bufferedFile.Close();
  return book;
}

bool WellFormed(const std::string& text) {
#ifndef _WIN32
  if (std::system("xmllint --version >/dev/null 2>&1") != 0)
    return true;
  filetest::WriteAll("files_xml_containers_lint.tmp", text);
  return std::system("xmllint --noout files_xml_containers_lint.tmp") == 0;
#else
  (void)text;
  return true;
#endif
}

std::vector<CWorkSheet*> Sheets(const CWorkBook& book) {
  std::vector<CWorkSheet*> sheets;
  for (CTreeItem* item = book.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      sheets.push_back(sheet);
  return sheets;
}

std::unique_ptr<CWorkBook> RandomBook(randomcharts::Generator* g) {
  auto book = std::make_unique<CWorkBook>();
  ContainerIdSet ids;
  for (int s = 0; s < 2; ++s) {
    CWorkSheet* sheet = NewWorksheet(s ? "Two" : "One", 1);
    book->InsertItems(sheet, nullptr);
    for (uint32_t n = g->Below(4); n > 0; --n) {
      uint16_t id;
      do id = uint16_t(1 + g->Below(kContainerMaxId));
      while (ids.IsTaken(id));
      ids.Take(id);
      sheet->AddContainer(g->Container(id));
    }
  }
  book->activeWorksheet = Sheets(*book)[0];
  book->evaluator.owner = book.get();
  book->evaluator.sheet = &book->activeWorksheet->cells;
  return book;
}

TEST(XmlContainers, SaveAndLoadGiveBackEveryCarriedField) {
  const uint32_t seed = TestSeed(20261207);
  for (uint32_t round = 0; round < 16; ++round) {
    SCOPED_TRACE(SeedTrace(seed) + " round " + std::to_string(round));
    randomcharts::Generator g(seed + round);
    auto book = RandomBook(&g);
    std::vector<ChartOptions> before;
    for (CWorkSheet* sheet : Sheets(*book))
      for (ContainerRecord* c = sheet->containers; c; c = c->next)
        for (int k = 0; k < c->header.itemCount; ++k) before.push_back(c->items[k].chart->options);

    uint8_t error = 0;
    const std::string text = Save(book.get(), &error);
    ASSERT_EQ(error, 0);
    EXPECT_TRUE(WellFormed(text));
    // Saving changes nothing in memory, a 3D chart's plane fill included.
    size_t n = 0;
    for (CWorkSheet* sheet : Sheets(*book))
      for (ContainerRecord* c = sheet->containers; c; c = c->next)
        for (int k = 0; k < c->header.itemCount; ++k, ++n)
          EXPECT_EQ(FirstDifference(&before[n], &c->items[k].chart->options, sizeof before[n]), -1);

    uint32_t line = 0;
    auto loaded = Load(text, &error, &line);
    ASSERT_EQ(error, 0) << "line " << line;
    const auto sheets = Sheets(*book);
    const auto loadedSheets = Sheets(*loaded);
    ASSERT_EQ(sheets.size(), loadedSheets.size());
    for (size_t s = 0; s < sheets.size(); ++s) {
      const ContainerRecord* c = sheets[s]->containers;
      const ContainerRecord* d = loadedSheets[s]->containers;
      for (int index = 0; c || d; c = c->next, d = d->next, ++index) {
        ASSERT_TRUE(c && d) << "sheet " << s << " container " << index;
        const std::string where = "sheet " + std::to_string(s) + " container " + std::to_string(index);
        EXPECT_TRUE(d->CheckInvariants()) << where;
        ContainerRecord expected;
        randomcharts::ExpectHeader(c->header, &expected.header);
        expected.header.itemCount = c->header.itemCount;
        EXPECT_EQ(FirstDifference(&expected.header, &d->header, sizeof expected.header), -1) << where;
        for (int k = 0; k < c->header.itemCount && k < d->header.itemCount; ++k) {
          ASSERT_EQ(d->items[k].kind, kItemChart);
          ExpectChartsEqual(*randomcharts::ExpectChart(*c->items[k].chart), *d->items[k].chart,
                            where + " chart " + std::to_string(k));
        }
      }
    }
    // From the first load on, saving and loading changes nothing: what the
    // file does not carry is the reader's default from then on.
    const std::string again = Save(loaded.get(), &error);
    auto reloaded = Load(again, &error);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(Save(reloaded.get(), &error), again);
  }
}

std::string Doc(const std::string& containers) {
  return "<?xml version=\"1.0\"?><Workbook><Worksheet Name=\"S\">" + containers + "</Worksheet></Workbook>";
}

std::string Box(const std::string& inner, const std::string& attributes = "ID=\"1\"") {
  return Doc("<Container " + attributes + ">" + inner + "</Container>");
}

std::string InChart(const std::string& kind, const std::string& inner) {
  return Box("<Objects><" + kind + ">" + inner + "</" + kind + "></Objects>");
}

std::string Series(const std::string& inner) { return InChart("Chart2D", "<DataSeries>" + inner + "</DataSeries>"); }

// A data series of a 2D chart whose view element is given.
std::string Data(const std::string& view, const std::string& tail = "", const std::string& periods = "") {
  return "<Y><Name>y</Name><RelatedSigma/><RelatedX/><DataArray>=1</DataArray><DataPeriods " + periods + "/>" +
         view + tail + "</Y>";
}

const std::string kColumn = "<Column><Font/><FillPattern/></Column>";

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(XmlContainers, ReaderRulesTable) {
  const std::string sigma = "<Sigma><Name>s</Name><DataArray>=1</DataArray></Sigma>";
  const std::string colors15 = Repeat("<Color>#102030</Color>", 15);
  struct Case {
    std::string document;
    int error;
  };
  const Case cases[] = {
      {Box("<Objects/>"), 0},
      {Box(""), 0},
      {Box("", "Columns=\"2\""), kFileXmlMissingAttribute},
      {Box("", "ID=\"0\""), kFileXmlBadData},
      {Box("", "ID=\"65535\""), kFileXmlBadData},
      {Box("", "ID=\"1\" Rows=\"0\""), kFileXmlBadData},
      {Box("", "ID=\"1\" HorzSpacing=\"0\" VertSpacing=\"0\""), 0},
      {Box("", "ID=\"1\" VertSpacing=\"256\""), kFileXmlBadData},
      {Box("", "ID=\"1\" Opacity=\"101\""), kFileXmlBadData},
      {Doc("<Container ID=\"1\"/>"), kFileXmlUnexpectedElement},
      {Box("<Placement rc=\"r3c4\" Left=\"-2147483647\"/>"), 0},
      {Box("<Placement rc=\"r3\"/>"), kFileXmlBadAttribute},
      {Box("<Placement rc=\"r3c4x\"/>"), kFileXmlBadAttribute},
      {Box("<Placement rc=\"r2097153c1\"/>"), kFileXmlBadAttribute},
      {Box("<Placement Left=\"-2147483648\"/>"), kFileXmlBadData},
      {Box("<Border Style=\"Wavy\"/>"), kFileXmlBadAttribute},
      {Box("<Background/><Border/>"), kFileXmlUnexpectedElement},  // out of order
      {Box("<Title><Text>t</Text></Title>"), kFileXmlUnexpectedElement},
      {Box("<Title><Font/></Title>"), kFileXmlUnexpectedElement},
      {Box("<Title><Font/><Text>" + std::string(128, 't') + "</Text></Title>"), kFileXmlBadData},
      {Box("<Title><Font/><Text/></Title><Title><Font/><Text>b</Text></Title><Title><Font/><Text/></Title>"),
       kFileXmlUnexpectedElement},
      {Box("<Background><Fractal Zr=\"0.5\">" + colors15 + "<Color>red</Color></Fractal></Background>"), 0},
      {Box("<Background><Fractal>" + colors15 + "</Fractal></Background>"), kFileXmlUnexpectedElement},
      {Box("<Background><Fractal>" + colors15 + "<Color>mauve</Color></Fractal></Background>"),
       kFileXmlBadAttribute},
      {Box("<Background><Fractal Zi=\"1e999\">" + colors15 + "<Color>red</Color></Fractal></Background>"),
       kFileXmlBadData},
      {Box("<Background><Image View=\"Wallpaper\">photo.JPEG</Image></Background>"), 0},
      {Box("<Background><Image>photo.gif</Image></Background>"), kFileXmlBadData},
      {Box("<Background><Image View=\"Stretch\">a.png</Image></Background>"), kFileXmlBadAttribute},
      {Box("<Background><FillPattern PatternType=\"Dots\"/></Background>"), kFileXmlBadAttribute},
      {Box("<Objects><Image/></Objects>"), kFileXmlUnexpectedElement},
      {Box("<Objects><Chart2D/><ChartXY/></Objects>"), 0},
      {InChart("Chart2D", ""), kFileXmlUnexpectedElement},  // no DataSeries
      {InChart("Chart2D", "<DataSeries/>"), kFileXmlUnexpectedElement},
      {InChart("Chart3D", "<DataSeries></DataSeries>"), 0},
      {InChart("Chart2D", "<DataSeries></DataSeries><Legend/>"), kFileXmlUnexpectedElement},
      {InChart("Chart2D", "<Options><ViewWidth>0</ViewWidth></Options><DataSeries></DataSeries>"), kFileXmlBadData},
      {InChart("Chart2D", "<Options><ViewWidth>1</ViewWidth><ViewHeight>100</ViewHeight><BarSize>5</BarSize>"
                          "<StackBarSize>5</StackBarSize><PieSplit>0</PieSplit></Options><DataSeries></DataSeries>"),
       0},
      {InChart("Chart2D", "<Options><ViewWidth>1</ViewWidth><ViewHeight>100</ViewHeight><BarSize>5</BarSize>"
                          "<StackBarSize>5</StackBarSize><PieSplit>101</PieSplit></Options><DataSeries></DataSeries>"),
       kFileXmlBadData},
      {InChart("Chart2D", "<Legend Position=\"Middle\"><Font/></Legend><DataSeries></DataSeries>"),
       kFileXmlBadAttribute},
      {InChart("Chart2D", "<Legend/><DataSeries></DataSeries>"), kFileXmlUnexpectedElement},
      {InChart("Chart3D", "<Transformation><RotationX>361</RotationX></Transformation><DataSeries></DataSeries>"),
       kFileXmlBadData},
      {InChart("Chart3D", "<Transformation><Matrix m11=\"x\"/></Transformation><DataSeries></DataSeries>"),
       kFileXmlBadData},
      {InChart("Chart3D", "<Transformation><Matrix/><LightDirectionX>1</LightDirectionX></Transformation>"
                          "<DataSeries></DataSeries>"),
       kFileXmlUnexpectedElement},
      {InChart("Chart2D", "<DataSeries></DataSeries><ChartPlane PlaneXY=\"maybe\"><FillPattern/><Border/>"
                          "</ChartPlane>"),
       kFileXmlBadAttribute},
      {InChart("Chart2D", "<DataSeries></DataSeries><ChartPlane><Border/></ChartPlane>"), kFileXmlUnexpectedElement},
      {Series(Repeat(sigma, 16)), 0},
      {Series(Repeat(sigma, 17)), kFileXmlUnexpectedElement},
      {Series(Data(kColumn) + sigma), kFileXmlUnexpectedElement},  // groups out of order
      {Series("<Sigma Scale=\"Log5\"><Name/><DataArray/></Sigma>"), kFileXmlBadAttribute},
      {Series("<Sigma><Name>" + std::string(128, 'n') + "</Name><DataArray/></Sigma>"), kFileXmlBadData},
      {Series("<Sigma><Name/><DataArray>" + std::string(1025, 'd') + "</DataArray></Sigma>"), kFileXmlBadData},
      {Series("<Sigma><DataArray/></Sigma>"), kFileXmlUnexpectedElement},
      {Series(Data(kColumn)), 0},
      {Series(Data(kColumn, "", "Periods=\"0\"")), kFileXmlBadData},
      {Series(Data(kColumn, "", "Periods=\"65534\" Subperiods=\"0\"")), 0},
      {Series(Data("<Column Stacked=\"Sideways\"><Font/><FillPattern/></Column>")), 0},
      {Series(Data("<Column Labels=\"Z\"><Font/><FillPattern/></Column>")), kFileXmlBadAttribute},
      {Series(Data("<Scatter Symbol=\"Star\"><Font/><Border/><FillPattern/><ConnectingLine/></Scatter>")),
       kFileXmlBadAttribute},
      {Series(Data("<Pie><Font/>" + Repeat("<FillPattern/>", 16) + "</Pie>")), 0},
      {Series(Data("<Pie><Font/>" + Repeat("<FillPattern/>", 17) + "</Pie>")), kFileXmlUnexpectedElement},
      {Series(Data("<Pie><Font/></Pie>")), kFileXmlUnexpectedElement},
      {Series(Data("")), kFileXmlUnexpectedElement},  // no view
      {InChart("ChartXY", "<DataSeries>" + Data(kColumn) + "</DataSeries>"), kFileXmlUnexpectedElement},
      {Series(Data(kColumn, "<Axis Type=\"Tertiary\"><TitleText/><Font/><Line/></Axis>")), kFileXmlBadAttribute},
      {Series(Data(kColumn, "<Axis><Font/><Line/></Axis>")), kFileXmlUnexpectedElement},
      {Series(Data(kColumn, "<GridLines>" + Repeat("<UserGridLine>1.5</UserGridLine>", 16) + "</GridLines>")), 0},
      {Series(Data(kColumn, "<GridLines>" + Repeat("<UserGridLine>1.5</UserGridLine>", 17) + "</GridLines>")),
       kFileXmlUnexpectedElement},
      {Series(Data(kColumn, "<GridLines><UserGridLine>x</UserGridLine></GridLines>")), kFileXmlBadData},
      {Series(Data(kColumn, "<GridLines><MajorGridLines/><MajorGridLines/></GridLines>")), 0},
      {Series("<X><Name/><RelatedSigma/><DataArray/><DataPeriods/><GridLines><MajorGridLines/><MajorGridLines/>"
              "</GridLines></X>"),
       kFileXmlUnexpectedElement},
      {Series("<X><Name/><RelatedSigma/><DataArray/><DataPeriods Divisor=\"0\"/></X>"), kFileXmlBadData},
      {Series("<X><Name/><RelatedSigma/><DataArray/></X>"), kFileXmlUnexpectedElement},
  };
  for (const Case& c : cases) {
    uint8_t error = 0;
    Load(c.document, &error);
    EXPECT_EQ(error, c.error) << c.document.substr(0, 400);
  }
}

TEST(XmlContainers, RepeatedIdsAndIdsBeyondTheWorkbooksGetTheSmallestFreeOnes) {
  const std::string text =
      "<?xml version=\"1.0\"?><Workbook><Worksheet Name=\"A\"><Container ID=\"300\"></Container>"
      "<Container ID=\"1\"></Container></Worksheet><Worksheet Name=\"B\"><Container ID=\"300\"></Container>"
      "<Container ID=\"65534\"></Container><Container ID=\"1\"></Container><Container ID=\"2\"></Container>"
      "</Worksheet></Workbook>";
  uint8_t error = 0;
  auto book = Load(text, &error);
  ASSERT_EQ(error, 0);
  std::vector<int> ids;
  for (CWorkSheet* sheet : Sheets(*book))
    for (ContainerRecord* c = sheet->containers; c; c = c->next) ids.push_back(c->header.id);
  EXPECT_EQ(ids, (std::vector<int>{300, 1, 2, 3, 4, 5}));
}

TEST(XmlContainers, RotationsBuildTheMatrixWrittenBackAsMatrix) {
  const std::string text =
      InChart("Chart3D", "<Transformation><RotationX>30</RotationX><RotationY>0</RotationY><RotationZ>-45</RotationZ>"
                         "<LightDirectionX>0</LightDirectionX><LightDirectionY>180</LightDirectionY>"
                         "<Perspective>1</Perspective></Transformation><DataSeries></DataSeries>");
  uint8_t error = 0;
  auto book = Load(text, &error);
  ASSERT_EQ(error, 0);
  const ChartRecord* chart = Sheets(*book)[0]->containers->items[0].chart;
  ChartRecord expected(kChart3D);
  ChartRecord::Transform(expected.viewMatrix, kRotateAboutX, 30 * 3.14159265358979 / 180);
  ChartRecord::Transform(expected.viewMatrix, kRotateAboutY, 0);
  ChartRecord::Transform(expected.viewMatrix, kRotateAboutZ, -45 * 3.14159265358979 / 180);
  EXPECT_EQ(FirstDifference(expected.viewMatrix, chart->viewMatrix, sizeof expected.viewMatrix), -1);
  EXPECT_EQ(chart->options.rotationZ, -45);
  EXPECT_EQ(chart->options.perspective, 1);
  const std::string written = Save(book.get(), &error);
  EXPECT_NE(written.find("<Matrix "), std::string::npos);
  EXPECT_EQ(written.find("RotationX"), std::string::npos);
}

}  // namespace
