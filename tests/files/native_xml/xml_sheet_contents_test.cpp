#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "core/model/worksheet_view_state.h"
#include "core/styles/text_measurer.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/unique_container_id.h"
#include "tests/files/native_xml/native_xml_support.h"

namespace {

using xmldoc::Document;
using xmldoc::LoadXmlText;
using xmldoc::SaveXmlText;

CWorkSheet* SheetOf(const CWorkBook& book) { return book.activeWorksheet; }

std::unique_ptr<CWorkBook> BookWithSheetContents() {
  auto book = std::make_unique<CWorkBook>();
  book->InsertItems(NewWorksheet("S", 1), nullptr);
  book->activeWorksheet = CWorkSheet::FromItem(book->firstItem);
  for (int i = 0; i < 4; ++i) book->styles.styles[book->styles.styleCount++].fontIndex = 0;
  CWorkSheet* sheet = SheetOf(*book);
  SheetFormat& format = sheet->format;
  format.columns[4].SetWidth(120, false);
  format.columns[5].SetWidth(4095, true);
  format.columns[6].SetStyle(3);
  format.columns[6].fontHeightWord = 25;
  format.columns[kMaxColumn].SetWidth(0, true);
  format.ColumnsChanged();
  format.rows.SetRow(9, 40, false);
  format.rows.SetRow(11, 0, true);
  format.rows.SetRow(12, 25, false);  // the automatic height: left out, a zero record
  format.rows.SetRow(13, 30, true);
  CellCursor cursor;
  for (const StyleRun& run : {StyleRun{1, 3, 9, 3}, StyleRun{5, 5, 9, 1}, StyleRun{0, kMaxColumn, 20, 2},
                              StyleRun{7, 8, kMaxRow, 4}})
    EXPECT_TRUE(format.runs.InsertRun(run, &cursor));

  WorksheetViewFormat& view = sheet->viewFormat;
  view.zoom = 1000;
  view.gridLines = 0;
  view.gridColorSet = 1;
  view.gridColor = 0x00102030;
  WorksheetViewState& state = *ViewStateOf(&view);
  state.topLeft = ViewCorner{kMaxColumn, kMaxRow, 9};
  state.selection[0] = ViewCorner{3, 7, 9};
  state.selection[1] = ViewCorner{0, 0, 9};
  state.frozen = ViewCorner{0, 2, 1};

  PageSettings& page = sheet->pageSettings;
  std::snprintf(page.printerName, sizeof page.printerName, "Printer <&> \xE9");
  std::snprintf(page.sheetSizeName, sizeof page.sheetSizeName, "A4");
  page.landscape = 1;
  page.printRangeKind = kPrintPageList;
  page.scale = 35;
  page.firstPageNumber = 65534;
  std::snprintf(page.pages, sizeof page.pages, "1-3, 7");
  std::snprintf(page.excludedRows, sizeof page.excludedRows, "2 5");
  page.copies = 65534;
  page.collate = 1;
  page.headerMargin = 0.1 + 0.2;
  page.footerMargin = -4;
  std::snprintf(page.headerText, sizeof page.headerText, "&l  two  blanks");
  std::snprintf(page.headerFont.faceName, sizeof page.headerFont.faceName, "Arial");
  page.headerFont.size = 9;
  page.onFirstPage = 0;
  page.marginLeft = 1e-300;
  page.pagesPerSheetColumns = 254;
  page.pagesPerSheetRows = 3;
  page.alignment = 4 | 16;
  page.rowHeadings = 0;
  book->evaluator.owner = book.get();
  book->evaluator.sheet = &sheet->cells;
  return book;
}

std::string RunsOf(const SheetFormat& format) {
  std::string out;
  for (const CellBlock* b = format.runs.FirstBlock(); b; b = b->next)
    out.append(reinterpret_cast<const char*>(b->payload), b->used);
  return out;
}

TEST(XmlSheetContents, FormattingAndSettingsReadBackAsSaved) {
  auto book = BookWithSheetContents();
  // The screen's "X" is 7 x 16: a 63-pixel default column, an 18-pixel row.
  TextMeasurer screen{nullptr, nullptr,
                      [](void*, const char*, size_t, int32_t* width, int32_t* height) {
                        *width = 7;
                        *height = 16;
                        return true;
                      },
                      nullptr};
  SheetOf(*book)->format.columns[8].SetWidth(63, false);
  uint8_t error = 0xFF;
  const std::string text = SaveXmlText(book.get(), &error, &screen);
  ASSERT_EQ(error, 0);
  EXPECT_TRUE(xmldoc::WellFormed(text));
  for (const char* fragment :
       {"<Column rc=\"c5\" Width=\"120\"/>", "<Column rc=\"c6\" Width=\"4095\" Fixed=\"1\"/>",
        "<Column rc=\"c7\" StyleID=\"3\" AutoRowHeight=\"25\"/>",
        "\t\t<Row rc=\"r10\" Height=\"40\"><Span rc=\"c2:c4\" StyleID=\"3\"/><Span rc=\"c6:c6\" StyleID=\"1\"/></Row>\r\n",
        "<Row rc=\"r12\" Height=\"0\" Fixed=\"1\"></Row>", "<Table  Scale=\"1000%\" ShowGrid=\"0\" GridColor=\"#302010\">",
        "<Freezed rc=\"r3\"/>", "<Pages Scale=\"35%\" FirstPageNumber=\"65534\">1-3, 7</Pages>",
        "<Margins Top=\"0.30000000000000004\" Bottom=\"-4\"/>", "<RowHeadings Visible=\"0\"/>", "<ColumnHeadings/>",
        "HorizontalAlignment=\"Right\" VerticalAlignment=\"Center\""})
    EXPECT_NE(text.find(fragment), std::string::npos) << fragment;
  EXPECT_EQ(text.find("rc=\"c9\""), std::string::npos) << "a column of the default width";
  EXPECT_EQ(text.find("rc=\"r13\""), std::string::npos) << "a row of the automatic height";

  auto loaded = LoadXmlText(text, &error);
  ASSERT_EQ(error, 0) << text;
  const CWorkSheet& a = *SheetOf(*book);
  const CWorkSheet& b = *SheetOf(*loaded);
  for (uint32_t c = 0; c < kColumnCount; ++c)
    if (c != 8) {
      EXPECT_EQ(0, std::memcmp(&a.format.columns[c], &b.format.columns[c], sizeof(ColumnRecord))) << c;
    }
  EXPECT_EQ(uint32_t(b.format.columns[8].widthWord), 0u);
  ASSERT_EQ(a.format.rows.Count(), b.format.rows.Count());
  for (uint32_t r = 0; r < a.format.rows.Count(); ++r)
    EXPECT_EQ(r == 12 ? 0 : *a.format.rows.At(r), *b.format.rows.At(r)) << r;
  EXPECT_EQ(RunsOf(a.format), RunsOf(b.format));
  EXPECT_EQ(0, std::memcmp(&a.viewFormat, &b.viewFormat, sizeof a.viewFormat));
  EXPECT_EQ(0, std::memcmp(&a.pageSettings, &b.pageSettings, sizeof a.pageSettings));
}

TEST(XmlSheetContents, ImageAndFractalBackgroundsReadBackAsWritten) {
  for (uint8_t mode : {uint8_t(2), uint8_t(3)}) {
    auto book = BookWithSheetContents();
    WorksheetViewFormat& view = SheetOf(*book)->viewFormat;
    view.backgroundMode = mode;
    std::snprintf(view.imagePath, sizeof view.imagePath, "C:\\a b\\picture.Jpeg");
    view.imageSizeMode = 1;
    view.fractal = FractalParameters{0.1 + 0.2, -1e-300, -2, 2, -1.5, 1.25};
    for (int i = 0; i < kPaletteSize; ++i) view.palette[i] = 0x00010203u * uint32_t(i);
    if (mode == 3) {
      // Only the background's own kind is written; the rest keeps a new
      // worksheet's values.
      WorksheetViewFormat fresh;
      InitWorksheetViewFormat(&fresh);
      std::memcpy(view.imagePath, fresh.imagePath, sizeof view.imagePath);
      view.imageSizeMode = 0;
    } else {
      WorksheetViewFormat fresh;
      InitWorksheetViewFormat(&fresh);
      view.fractal = fresh.fractal;
      std::memcpy(view.palette, fresh.palette, sizeof view.palette);
    }
    uint8_t error = 0xFF;
    const std::string text = SaveXmlText(book.get(), &error);
    ASSERT_EQ(error, 0);
    EXPECT_TRUE(xmldoc::WellFormed(text));
    auto loaded = LoadXmlText(text, &error);
    ASSERT_EQ(error, 0) << text;
    EXPECT_EQ(0, std::memcmp(&view, &SheetOf(*loaded)->viewFormat, sizeof view)) << int(mode);
  }
}

// The writer never writes what its reader refuses: a name that is no image
// file's and a fractal number that is not finite still give a document that
// loads (no background, and the default number).
TEST(XmlSheetContents, BackgroundsTheReaderWouldRefuseAreWrittenReadable) {
  for (uint8_t mode : {uint8_t(2), uint8_t(3)}) {
    auto book = BookWithSheetContents();
    WorksheetViewFormat& view = SheetOf(*book)->viewFormat;
    view.backgroundMode = mode;
    std::snprintf(view.imagePath, sizeof view.imagePath, "notes.txt");
    view.fractal.zr = std::numeric_limits<double>::quiet_NaN();
    view.fractal.maxY = std::numeric_limits<double>::infinity();
    uint8_t error = 0xFF;
    const std::string text = SaveXmlText(book.get(), &error);
    ASSERT_EQ(error, 0);
    auto loaded = LoadXmlText(text, &error);
    ASSERT_EQ(error, 0) << text;
    WorksheetViewFormat fresh;
    InitWorksheetViewFormat(&fresh);
    if (mode == 3) {
      EXPECT_EQ(SheetOf(*loaded)->viewFormat.fractal.zr, fresh.fractal.zr);
      EXPECT_EQ(SheetOf(*loaded)->viewFormat.fractal.maxY, fresh.fractal.maxY);
    }
  }
}

TEST(XmlSheetContents, ReaderRulesTable) {
  struct Case {
    std::string body;
    int error;
  };
  const std::string table = "<GeneralSettings><Table>";
  const std::string tableEnd = "</Table></GeneralSettings>";
  const Case cases[] = {
      {"<Formatting></Formatting>", 0},
      {"<Formatting/>", kFileXmlUnexpectedElement},
      {"<Formatting><Column Width=\"5\"/></Formatting>", kFileXmlMissingAttribute},
      {"<Formatting><Column rc=\"r1\"/></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Column rc=\"c2048\"/></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Column rc=\"c1\" Width=\"4096\"/></Formatting>", kFileXmlBadData},
      {"<Formatting><Column rc=\"c1\" StyleID=\"1\"/></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Row rc=\"r2\"></Row><Row rc=\"r2\"></Row></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Row rc=\"r2097153\"></Row></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Row rc=\"r1\"/></Formatting>", kFileXmlUnexpectedElement},
      {"<Formatting><Row rc=\"r1\"><Span rc=\"c3:c2\"/></Row></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Row rc=\"r1\"><Span rc=\"c3c2\"/></Row></Formatting>", kFileXmlBadAttribute},
      {"<Formatting><Row rc=\"r1\"><Span rc=\"c1:c5\"/><Span rc=\"c3:c8\"/></Row></Formatting>",
       kFileXmlBadAttribute},
      {"<Formatting><Row rc=\"r1\"><Span rc=\"c1:c5\" StyleID=\"0\"/><Span rc=\"c6:c8\"/></Row></Formatting>", 0},
      {"<Formatting><Row rc=\"r1\"><Span rc=\"c1:c5\" StyleID=\"1\"/></Row></Formatting>", kFileXmlBadAttribute},
      {"<GeneralSettings></GeneralSettings>", kFileXmlUnexpectedElement},
      {table + tableEnd, 0},
      {"<GeneralSettings><Table Scale=\"150 %\">" + tableEnd, 0},
      {"<GeneralSettings><Table Scale=\"5%\">" + tableEnd, kFileXmlBadData},
      {"<GeneralSettings><Table Scale=\"150\">" + tableEnd, kFileXmlBadData},
      {"<GeneralSettings><Table GridColor=\"#12\">" + tableEnd, kFileXmlBadAttribute},
      {table + "<TopLeft rc=\"r[1]c1\"/>" + tableEnd, kFileXmlBadAttribute},
      {table + "<TopLeft rc=\"r2097153c1\"/>" + tableEnd, kFileXmlBadAttribute},
      {table + "<Selection rc=\"r1c1r2c2\"/>" + tableEnd, kFileXmlBadAttribute},
      {table + "<Selection rc=\"r1c1:r2c2048\"/>" + tableEnd, kFileXmlBadAttribute},
      {table + "<Freezed rc=\"r3c1\"/>" + tableEnd, kFileXmlBadAttribute},
      {table + "<Freezed rc=\"\"/>" + tableEnd, 0},
      {"<GeneralSettings><Background><Image>x.gif</Image></Background><Table>" + tableEnd, kFileXmlBadData},
      {"<GeneralSettings><Background><Image View=\"Big\">x.PNG</Image></Background><Table>" + tableEnd,
       kFileXmlBadAttribute},
      {"<GeneralSettings><Background><Fractal><Color>red</Color></Fractal></Background><Table>" + tableEnd,
       kFileXmlUnexpectedElement},
      {"<PageSettings></PageSettings>", 0},
      {"<PageSettings><PrintRange><ExcludedRows/></PrintRange></PageSettings>", kFileXmlUnexpectedElement},
      {"<PageSettings><PrintRange><All/><ExcludedRows/><ExcludedColumns/><Copies>0</Copies></PrintRange>"
       "</PageSettings>",
       kFileXmlBadData},
      {"<PageSettings><PageLayout><Margins/><PagesPerSheet/><Alignment HorizontalAlignment=\"Middle\"/>"
       "</PageLayout></PageSettings>",
       kFileXmlBadAttribute},
      {"<PageSettings><Headers><Margins/><HeaderText/><FooterText/></Headers></PageSettings>",
       kFileXmlUnexpectedElement},
  };
  for (const Case& c : cases) {
    uint8_t error = 0;
    LoadXmlText(Document(c.body), &error);
    EXPECT_EQ(error, c.error) << c.body;
  }
}

TEST(XmlSheetContents, ReadingKeepsDefaultsForWhatTheFileLeavesOut) {
  uint8_t error = 0;
  auto book = LoadXmlText(
      Document("<Formatting><Row rc=\"r10\" Height=\"20\"></Row><Row rc=\"r12\" Height=\"30\"></Row></Formatting>"
               "<GeneralSettings><Table Scale=\"150%\"><Freezed rc=\"r3\"/></Table></GeneralSettings>"
               "<PageSettings><PrintRange><Selection/><ExcludedRows/><ExcludedColumns/><Copies>2</Copies>"
               "</PrintRange><PageLayout><Margins Top=\"3\"/><PagesPerSheet/><Alignment HorizontalAlignment=\"Right\""
               " VerticalAlignment=\"Bottom\"/></PageLayout></PageSettings>"),
      &error);
  ASSERT_EQ(error, 0);
  const CWorkSheet& sheet = *SheetOf(*book);
  ASSERT_EQ(sheet.format.rows.Count(), 12u);
  EXPECT_EQ(*sheet.format.rows.At(10), 0);
  EXPECT_EQ(*sheet.format.rows.At(11), 30 << 1);
  EXPECT_EQ(uint32_t(sheet.viewFormat.zoom), 150u);
  EXPECT_EQ(sheet.viewFormat.gridLines, 1);
  const ViewCorner frozen = ViewStateOf(&sheet.viewFormat)->frozen;
  EXPECT_EQ(uint32_t(frozen.row), 2u);
  EXPECT_EQ(uint32_t(frozen.flags), kCornerRowGiven);
  const PageSettings& page = sheet.pageSettings;
  EXPECT_EQ(page.printRangeKind, kPrintSelection);
  EXPECT_EQ(uint32_t(page.scale), 100u);
  EXPECT_EQ(uint32_t(page.copies), 2u);
  EXPECT_EQ(double(page.marginLeft), 1.5);
  EXPECT_EQ(double(page.marginTop), 3.0);
  EXPECT_EQ(page.alignment, 4 | 32);
  EXPECT_STREQ(page.headerText, "&c Document: &f");
}

TEST(XmlSheetContents, RepeatedContainerIdsTakeTheSmallestFreeId) {
  ContainerIdSet used;
  const uint16_t read[] = {3, 3, 300, 300, 1, 2, 65533, 65533};
  const uint16_t kept[] = {3, 1, 300, 2, 4, 5, 65533, 6};
  for (size_t i = 0; i < sizeof read / sizeof read[0]; ++i) EXPECT_EQ(TakeUniqueContainerId(&used, read[i]), kept[i]);
}

}  // namespace
