// The Excel 2003 XML import: files as other programs write them, and files
// that would take the reader off the worksheet.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "tests/files/excel_xml/excel_xml_support.h"

namespace {

using excelxml::Document;

std::unique_ptr<CWorkBook> Import(const std::string& text, uint8_t expectedError = 0) {
  uint8_t error = 0;
  auto book = excelxml::LoadExcelText(text, &error);
  EXPECT_EQ(error, expectedError) << text;
  return book;
}

const CellRecord* CellAt(CWorkBook& book, uint32_t row, uint16_t column) {
  return book.activeWorksheet ? book.activeWorksheet->cells.GetCell(row, column) : nullptr;
}

std::string TextAt(CWorkBook& book, uint32_t row, uint16_t column) {
  const CellRecord* cell = CellAt(book, row, column);
  return cell && cell->IsText() ? std::string(cell->Text(), cell->TextLength()) : "<none>";
}

// The style the cell at (row, column) takes.
const StyleRecord& StyleAt(CWorkBook& book, uint32_t row, uint16_t column) {
  return book.styles.StyleAt(book.activeWorksheet->format.CellStyle(row, column));
}

std::string StyledCell(const std::string& styleBody) {
  return Document("<Table><Row><Cell ss:StyleID=\"s1\"><Data ss:Type=\"Number\">1</Data></Cell></Row></Table>",
                  "<Styles><Style ss:ID=\"s1\">" + styleBody + "</Style></Styles>");
}

TEST(ExcelXmlImport, StyleAttributes) {
  struct Case {
    std::string body;
    uint8_t error;
    bool (*holds)(const StyleRecord& style, const FontRecord& font);
  } cases[] = {
      {"<Alignment ss:Indent=\"3\" ss:Rotate=\"45\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.alignment.horizontalIndent == 3 && s.alignment.rotation == 45;
       }},
      {"<Alignment ss:Indent=\"-2\" ss:Rotate=\"-120\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.alignment.horizontalIndent == kDefaultHorizontalIndent && s.alignment.rotation == -90;
       }},
      {"<Alignment ss:Rotate=\"-400\"/>", kFileXmlBadData, nullptr},
      {"<Alignment ss:Horizontal=\"center\" ss:Vertical=\"Top\" ss:WrapText=\"1\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.alignment.horizontal == kHAlignCentre && s.alignment.vertical == kVAlignTop && s.alignment.wrapText;
       }},
      {"<Font ss:FontName=\"Arial\" ss:Size=\"300\" ss:Bold=\"1\" ss:Underline=\"Double\" ss:Color=\"#FF0000\"/>", 0,
       [](const StyleRecord& s, const FontRecord& f) {
         return std::string(f.faceName) == "Arial" && f.size == 10 && f.weight == kFontWeightBold && f.underline &&
                s.fontColorSet && s.fontColor == 0x0000FF;
       }},
      {"<Font ss:Bold=\"Regular\" ss:Size=\"11.7\"/>", 0,
       [](const StyleRecord&, const FontRecord& f) { return f.weight == kFontWeightNormal && f.size == 11; }},
      {"<Font ss:FontName=\"" + std::string(128, 'f') + "\"/>", kFileXmlBadAttribute, nullptr},
      {"<Borders><Border ss:Position=\"Bottom\" ss:LineStyle=\"Continuous\" ss:Weight=\"3\" ss:Color=\"#0000FF\"/>"
       "<Border ss:Position=\"Left\" ss:LineStyle=\"Continuous\" ss:Weight=\"3\" ss:Color=\"#0000FF\"/></Borders>",
       0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.borders.sides == (kBorderBottom | kBorderLeft) && s.borders.line.style == 8 &&
                s.borders.line.colorSet && s.borders.line.color == 0xFF0000;
       }},
      {"<Interior ss:Color=\"#FFFF00\" ss:Pattern=\"Solid\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.interior.pattern == 1 && s.interior.patternColorSet && s.interior.patternColor == 0x00FFFF;
       }},
      {"<Interior ss:Pattern=\"Gray50\" ss:PatternColor=\"nonsense\"/>", kFileXmlBadAttribute, nullptr},
      {"<NumberFormat ss:Format=\"0.000\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.numFormat.category == kNumFormatUserPattern && std::string(s.numFormat.code) == "0.000";
       }},
      {"<NumberFormat ss:Format=\"Fraction\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) { return s.numFormat.category == kNumFormatGeneral; }},
      // A percent picture shows the value times 100, as the percent category does.
      {"<NumberFormat ss:Format=\"0.00%\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.numFormat.category == kNumFormatPercent && s.numFormat.options.number.fixedDecimals &&
                s.numFormat.options.number.decimals == 2;
       }},
      {"<NumberFormat ss:Format=\"#,##0.#%\"/>", 0,
       [](const StyleRecord& s, const FontRecord&) {
         return s.numFormat.category == kNumFormatPercent && !s.numFormat.options.number.fixedDecimals;
       }},
      // Children out of order are passed over.
      {"<Font ss:Bold=\"1\"/><Alignment ss:Horizontal=\"Right\"/>", 0,
       [](const StyleRecord& s, const FontRecord& f) {
         return f.weight == kFontWeightBold && s.alignment.horizontal == kHAlignNone;
       }},
  };
  for (const Case& c : cases) {
    auto book = Import(StyledCell(c.body), c.error);
    if (c.holds) {
      const StyleRecord& style = StyleAt(*book, 0, 0);
      EXPECT_TRUE(c.holds(style, book->styles.FontAt(style.fontIndex))) << c.body;
    }
  }
}

TEST(ExcelXmlImport, DataTypes) {
  struct Case {
    const char* cell;
    uint8_t kind;
    double number;
    uint8_t errorCode;
    const char* text;
  } cases[] = {
      {"<Data ss:Type=\"Number\">-2.5e-3</Data>", kCellNumber, -2.5e-3, 0, nullptr},
      {"<Data ss:Type=\"Number\">-0</Data>", kCellNumber, 0, 0, nullptr},
      {"<Data ss:Type=\"String\">x &#32;y</Data>", kCellText, 0, 0, "x  y"},
      {"<Data ss:Type=\"DateTime\">2026-12-07T00:00:00</Data>", kCellText, 0, 0, "2026-12-07T00:00:00"},
      {"<Data ss:Type=\"Error\">#N/A</Data>", kCellNumber, 0, kErrorNA, nullptr},
      {"<Data ss:Type=\"Error\">#n/a!</Data>", kCellNumber, 0, kErrorNA, nullptr},
      {"<Data ss:Type=\"Error\">#GETTING_DATA</Data>", kCellNumber, 0, 0, nullptr},
      {"<Data ss:Type=\"Boolean\">1</Data>", kCellNumber, 1, 0, nullptr},
      {"<Data ss:Type=\"Boolean\">0</Data>", kCellNumber, 0, 0, nullptr},
      {"<Data ss:Type=\"Boolean\">TRUE</Data>", kCellNumber, 1, 0, nullptr},
      // Texts nested in the Data element are joined.
      {"<ss:Data ss:Type=\"String\" xmlns=\"http://www.w3.org/TR/REC-html40\"><B>bo</B><Font>ld</Font></ss:Data>",
       kCellText, 0, 0, "bold"},
  };
  for (const Case& c : cases) {
    auto book = Import(Document(std::string("<Table><Row><Cell>") + c.cell + "</Cell></Row></Table>"));
    const CellRecord* cell = CellAt(*book, 0, 0);
    ASSERT_NE(cell, nullptr) << c.cell;
    EXPECT_EQ(cell->Kind(), c.kind) << c.cell;
    EXPECT_EQ(cell->ErrorCode(), c.errorCode) << c.cell;
    if (c.text) {
      EXPECT_EQ(TextAt(*book, 0, 0), c.text);
    } else {
      EXPECT_EQ(cell->Number(), c.number) << c.cell;
      EXPECT_EQ(std::signbit(cell->Number()), std::signbit(c.number)) << c.cell;
    }
  }
  Import(Document("<Table><Row><Cell><Data ss:Type=\"Number\">1x</Data></Cell></Row></Table>"), kFileXmlBadData);
}

TEST(ExcelXmlImport, FormulasKeepTheirTextAndCachedResult) {
  auto book = Import(Document(
      "<Table><Row><Cell ss:Formula=\"=R[1]C*2\" ss:ArrayRange=\"RC:R[1]C[1]\"><Data ss:Type=\"Number\">4</Data></Cell>"
      "<Cell ss:Formula=\"=&quot;a&quot;&amp;&quot;b&quot;\"><Data ss:Type=\"String\">ab</Data></Cell>"
      "<Cell ss:Formula=\"=1/0\"><Data ss:Type=\"Error\">#DIV/0!</Data></Cell>"
      "<Cell ss:Formula=\"=NOW()\"/></Row></Table>"));
  const CellRecord* array = CellAt(*book, 0, 0);
  ASSERT_TRUE(array && array->IsFormula());
  EXPECT_EQ(std::string(array->FormulaText(), array->FormulaLength()), "=R[1]C*2");
  EXPECT_EQ(array->ResultFlags() & (kResultArray | kResultCachedNumber), kResultArray | kResultCachedNumber);
  EXPECT_EQ(array->ArrayColumns(), 1);
  EXPECT_EQ(array->ArrayRows(), 1u);
  EXPECT_EQ(array->CachedNumber(), 4);
  const CellRecord* text = CellAt(*book, 0, 1);
  ASSERT_TRUE(text && text->HasCachedText());
  EXPECT_EQ(std::string(text->FormulaText(), text->FormulaLength()), "=\"a\"&\"b\"");
  EXPECT_EQ(std::string(text->CachedText(), text->CachedTextLength()), "ab");
  EXPECT_EQ(CellAt(*book, 0, 2)->ErrorCode(), kErrorDivZero);
  EXPECT_EQ(CellAt(*book, 0, 3)->ResultFlags(), 0);
  const std::string tooLong = "=" + std::string(kFormulaTextCapacity, '1');
  Import(Document("<Table><Row><Cell ss:Formula=\"" + tooLong + "\"/></Row></Table>"), kFileXmlBadData);
}

TEST(ExcelXmlImport, PositionsFollowIndexesAndSpans) {
  auto book = Import(Document(
      "<Table><Column ss:Width=\"30\"/><Column ss:Index=\"4\" ss:Span=\"2\" ss:Width=\"60\" ss:AutoFitWidth=\"0\"/>"
      "<Column ss:Width=\"90\"/>"
      "<Row><Cell><Data ss:Type=\"String\">A1</Data></Cell></Row><Row/>"
      "<Row><Cell ss:Index=\"3\"><Data ss:Type=\"String\">C3</Data></Cell><Cell><Data ss:Type=\"String\">D3</Data>"
      "</Cell></Row><Row ss:Index=\"10\"><Cell><Data ss:Type=\"String\">A10</Data></Cell></Row>"
      "<Row><Cell><Data ss:Type=\"String\">A11</Data></Cell></Row></Table>"));
  EXPECT_EQ(TextAt(*book, 0, 0), "A1");
  EXPECT_EQ(TextAt(*book, 2, 2), "C3");
  EXPECT_EQ(TextAt(*book, 2, 3), "D3");
  EXPECT_EQ(TextAt(*book, 9, 0), "A10");
  EXPECT_EQ(TextAt(*book, 10, 0), "A11");
  const ColumnRecord* columns = book->activeWorksheet->format.columns;
  EXPECT_EQ(columns[0].Width(), 40);
  EXPECT_EQ(columns[1].Width(), 0);
  for (int c = 3; c <= 5; ++c) {
    EXPECT_EQ(columns[c].Width(), 80) << c;
    EXPECT_TRUE(columns[c].WidthFixed()) << c;
  }
  EXPECT_EQ(columns[6].Width(), 120);
}

TEST(ExcelXmlImport, PositionsOffTheGrid) {
  struct Case {
    std::string table;
    uint8_t error;
  } cases[] = {
      // Formatting off the grid is dropped; values there have nowhere to go.
      {"<Column ss:Index=\"2047\" ss:Span=\"100\" ss:Width=\"30\"/><Column ss:Width=\"30\"/>", 0},
      {"<Row><Cell ss:Index=\"2048\" ss:StyleID=\"Default\"/></Row>", 0},
      {"<Row><Cell ss:Index=\"2048\"><Data ss:Type=\"Number\">1</Data></Cell></Row>", kFileXmlBadData},
      {"<Row><Cell ss:Index=\"2047\"/><Cell><Data ss:Type=\"Number\">1</Data></Cell></Row>", kFileXmlBadData},
      {"<Row ss:Index=\"2097152\"/><Row ss:Height=\"20\"/><Row><Cell ss:StyleID=\"Default\"/></Row>", 0},
      {"<Row ss:Index=\"2097152\"/><Row><Cell><Data ss:Type=\"Number\">1</Data></Cell></Row>", kFileXmlBadData},
      {"<Row ss:Index=\"2097153\"/>", kFileXmlBadData},
      {"<Column ss:Index=\"2048\"/>", kFileXmlBadData},
      // Heights come in ascending rows.
      {"<Row ss:Index=\"5\" ss:Height=\"20\"/><Row ss:Index=\"3\" ss:Height=\"20\"/>", kFileXmlUnexpectedElement},
  };
  for (const Case& c : cases) {
    auto book = Import(Document("<Table>" + c.table + "</Table>"), c.error);
    if (!c.error) {
      EXPECT_TRUE(book->activeWorksheet->cells.CheckInvariants()) << c.table;
      EXPECT_TRUE(book->activeWorksheet->format.CheckInvariants()) << c.table;
    }
  }
}

TEST(ExcelXmlImport, StyledCellsGivenTwiceKeepTheRunsApart) {
  auto book = Import(Document("<Table><Row><Cell ss:Index=\"3\" ss:StyleID=\"b\"/><Cell ss:StyleID=\"b\"/>"
                              "<Cell ss:Index=\"2\" ss:StyleID=\"i\"/><Cell ss:StyleID=\"i\"/></Row></Table>",
                              "<Styles><Style ss:ID=\"b\"><Font ss:Bold=\"1\"/></Style>"
                              "<Style ss:ID=\"i\"><Font ss:Italic=\"1\"/></Style></Styles>"));
  CWorkSheet* sheet = book->activeWorksheet;
  ASSERT_TRUE(sheet->format.CheckInvariants());
  EXPECT_TRUE(book->styles.FontAt(StyleAt(*book, 0, 1).fontIndex).italic);
  EXPECT_TRUE(book->styles.FontAt(StyleAt(*book, 0, 2).fontIndex).italic);
  EXPECT_EQ(book->styles.FontAt(StyleAt(*book, 0, 3).fontIndex).weight, kFontWeightBold);
}

TEST(ExcelXmlImport, TextsConvertThroughTheAnsiCodePage) {
  struct Case {
    const char* data;
    const char* text;
  } cases[] = {
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80"},
      // What the code page lacks becomes "?", the rest of the text stays.
      {"a\xE2\x86\x92z \xF0\x9D\x84\x9E!", "a?z ?!"},
      {"&#8364;&#x20AC;&#233;&#x2192;", "\x80\x80\xE9?"},
      {"bad \xC3 lead", "bad ? lead"},
      // Blanks and line breaks stand as written.
      {"  x  \r\ny ", "  x  \ny "},
      // Control characters XML cannot hold are left out, as the export
      // leaves them out.
      {"a\x17" "b&#23;c&#0;d\te", "abcd\te"},
  };
  for (const Case& c : cases) {
    auto book = Import(
        Document(std::string("<Table><Row><Cell><Data ss:Type=\"String\">") + c.data + "</Data></Cell></Row></Table>"));
    EXPECT_EQ(TextAt(*book, 0, 0), c.text) << c.data;
  }
}

TEST(ExcelXmlImport, ActiveSheetCountsFromZero) {
  const std::string sheets =
      "<Worksheet ss:Name=\"A\"/><Worksheet ss:Name=\"B\"/></Workbook>";
  for (const auto& c : {std::make_pair("0", "A"), std::make_pair("1", "B"), std::make_pair("7", "A")}) {
    auto book = Import(std::string("<?xml version=\"1.0\"?><Workbook><ExcelWorkbook><ActiveSheet>") + c.first +
                       "</ActiveSheet></ExcelWorkbook>" + sheets);
    EXPECT_STREQ(book->activeWorksheet->name, c.second) << c.first;
  }
}

// Formulas name worksheets: a name taken before, letter case aside, is
// made unique as the export makes it.
TEST(ExcelXmlImport, AWorksheetNameTakenBeforeIsMadeUnique) {
  auto book = Import(
      "<?xml version=\"1.0\"?><Workbook><Worksheet ss:Name=\"Sales\"/><Worksheet ss:Name=\"sales\"/>"
      "<Worksheet ss:Name=\"SALES\"/></Workbook>");
  std::string names;
  for (auto* item = book->firstItem; item; item = item->next) names += std::string(item->name) + "|";
  EXPECT_EQ(names, "Sales|sales(0)|SALES(1)|");
}

TEST(ExcelXmlImport, WorksheetOptions) {
  auto book = Import(Document(
      "<Table/><x:WorksheetOptions xmlns=\"urn:schemas-microsoft-com:office:excel\"><PageSetup>"
      "<Layout x:Orientation=\"Landscape\" x:CenterHorizontal=\"1\" x:StartPageNumber=\"4\"/>"
      "<Header x:Data=\"&amp;L left\"/><PageMargins x:Top=\"1\" x:Left=\"0.5\"/></PageSetup>"
      "<Print><Scale>5</Scale><NumberofCopies>0</NumberofCopies></Print>"
      "<DoNotDisplayGridlines/><DoNotDisplayHeadings/><TopRowVisible>5</TopRowVisible>"
      "<Panes><Pane><Number>3</Number><ActiveRow>1</ActiveRow><ActiveCol>2</ActiveCol></Pane></Panes>"
      "</x:WorksheetOptions>"));
  CWorkSheet* sheet = book->activeWorksheet;
  const PageSettings& page = sheet->pageSettings;
  EXPECT_EQ(page.landscape, 1);
  EXPECT_EQ(page.alignment & 2, 2);
  EXPECT_EQ(int(page.firstPageNumber), 4);
  EXPECT_STREQ(page.headerText, "&L left");
  EXPECT_DOUBLE_EQ(double(page.marginTop), 25.4);
  EXPECT_DOUBLE_EQ(double(page.marginLeft), 12.7);
  // Two default rows of 18 pixels at 96 per inch above the top margin.
  EXPECT_NEAR(double(page.headerMargin), 25.4 - 9.525, 1e-9);
  EXPECT_EQ(int(page.scale), 10);
  EXPECT_EQ(int(page.copies), 1);
  EXPECT_EQ(page.rowHeadings, 0);
  EXPECT_EQ(sheet->viewFormat.gridLines, 0);
  WorksheetViewState* view = ViewStateOf(&sheet->viewFormat);
  // Rows and columns count from 0 in this format.
  EXPECT_EQ(uint32_t(view->topLeft.row), 5u);
  EXPECT_EQ(uint32_t(view->selection[0].row), 1u);
  EXPECT_EQ(int(view->selection[0].column), 2);

  auto ranged = Import(Document("<WorksheetOptions><Panes><Pane><RangeSelection>R2C2:R4C3</RangeSelection></Pane>"
                                "<Pane><RangeSelection>R3:R5</RangeSelection></Pane></Panes></WorksheetOptions>"));
  WorksheetViewState* rows = ViewStateOf(&ranged->activeWorksheet->viewFormat);
  EXPECT_EQ(uint32_t(rows->selection[0].row), 2u);
  EXPECT_EQ(int(rows->selection[0].column), 0);
  EXPECT_EQ(uint32_t(rows->selection[1].row), 4u);
  EXPECT_EQ(int(rows->selection[1].column), int(kMaxColumn));
}

TEST(ExcelXmlImport, WholeFileFailures) {
  struct Case {
    std::string file;
    uint8_t error;
  } cases[] = {
      {"\xFF\xFE<\0?\0", kFileOnlyUtf8},
      {"<?xml version=\"1.0\"?><Workbook></Workbook>", kFileNoWorksheet},
      {"", kFileNoWorksheet},
      {Document("<Table><Row><Cell>"), kFileXmlUnexpectedElement},
      {"\xEF\xBB\xBF" + Document(""), 0},
  };
  for (const Case& c : cases) Import(c.file, c.error);
}

TEST(ExcelXmlImport, StyleTableFullStopsTheImport) {
  std::string styles = "<Styles>";
  for (int i = 0; i < StyleTable::kMaxStyles; ++i) styles += "<Style ss:ID=\"s" + std::to_string(i) + "\"/>";
  Import(Document("", styles + "</Styles>"), kFileXmlOutOfMemory);
}

TEST(ExcelXmlImport, FileOfAnotherProgram) {
  // As a program of another maker writes it: one line, prefixes, its own
  // processing instruction, named styles and elements this reader skips.
  auto book = Import(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application progid=\"Excel.Sheet\"?><Workbook "
      "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">"
      "<DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\"><Author>Ann</Author><Pages>3</Pages>"
      "</DocumentProperties><OfficeDocumentSettings><Colors><Color><Index>3</Index></Color></Colors>"
      "</OfficeDocumentSettings><Styles><Style ss:ID=\"Default\" ss:Name=\"Default\"/><Style ss:ID=\"Heading\">"
      "<Font ss:Bold=\"1\" ss:Size=\"24\"/></Style><Style ss:ID=\"ce1\" ss:Parent=\"Heading\"><Interior "
      "ss:Color=\"#ccffcc\" ss:Pattern=\"Solid\"/></Style></Styles><ss:Worksheet ss:Name=\"t\"><Names><NamedRange "
      "ss:Name=\"x\"/></Names><Table ss:StyleID=\"ta1\"><Column ss:Width=\"25.7112\"/><Row ss:Height=\"12.816\"><Cell "
      "ss:StyleID=\"ce1\"><Data ss:Type=\"String\">a</Data><Comment><Data>note</Data></Comment></Cell><Cell "
      "ss:Formula=\"of:=[.B1]*2\"><Data ss:Type=\"Number\">3</Data></Cell></Row></Table><x:WorksheetOptions/>"
      "</ss:Worksheet></Workbook>");
  EXPECT_STREQ(book->documentProperties.author, "Ann");
  EXPECT_STREQ(book->activeWorksheet->name, "t");
  EXPECT_EQ(TextAt(*book, 0, 0), "a");
  const StyleRecord& style = StyleAt(*book, 0, 0);
  EXPECT_EQ(book->styles.FontAt(style.fontIndex).size, 24);
  EXPECT_EQ(uint32_t(style.interior.patternColor), 0xCCFFCCu);
  EXPECT_EQ(CellAt(*book, 0, 1)->CachedNumber(), 3);
  EXPECT_TRUE(book->styles.CheckInvariants());
}

}  // namespace
