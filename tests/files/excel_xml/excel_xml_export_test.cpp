// The Excel 2003 XML export: what other programs find in the file.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "tests/files/excel_xml/excel_xml_support.h"

namespace {

using excelxml::AddSheet;
using excelxml::PutCell;

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Export(CWorkBook* book) {
  uint8_t error = 0;
  const std::string text = excelxml::SaveExcelText(book, &error);
  EXPECT_EQ(error, 0);
  EXPECT_TRUE(xmldoc::WellFormed(text));
  return text;
}

void PutText(CWorkSheet* sheet, uint32_t row, uint16_t column, const std::string& text) {
  uint8_t record[1100];
  ASSERT_NE(BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size())), 0u);
  PutCell(sheet, record);
}

TEST(ExcelXmlExport, TextsAreWrittenAsConformingXml) {
  struct Case {
    std::string text;
    std::string written;
  } cases[] = {
      {"two  blanks   three", "two &#32;blanks &#32;&#32;three"},
      {" lead", " lead"},
      {"a & <b> \"c\" 'd'", "a &amp; &lt;b&gt; &quot;c&quot; &apos;d&apos;"},
      // XML has no other control character, not even as a reference.
      {std::string("x\x01y\x1Fz") + '\0' + "!", "xyz!"},
      {"tab\tline\r\nend", "tab&#09;line&#13;&#10;end"},
      // The ANSI code page's characters in UTF-8.
      {"\xE9\xFC\xDF \x80 \x99", "\xC3\xA9\xC3\xBC\xC3\x9F \xE2\x82\xAC \xE2\x84\xA2"},
  };
  for (const Case& c : cases) {
    CWorkBook book;
    PutText(AddSheet(&book, "S"), 0, 0, c.text);
    const std::string text = Export(&book);
    EXPECT_NE(text.find("<Data ss:Type=\"String\">" + c.written + "</Data>"), std::string::npos) << c.written;
  }
}

TEST(ExcelXmlExport, ErrorValuesUseTheNamesOtherProgramsKnow) {
  struct Case {
    uint8_t code;
    const char* name;
  } cases[] = {{kErrorDivZero, "#DIV/0!"}, {kErrorNA, "#N/A"},      {kErrorValue, "#VALUE!"},
               {kErrorRef, "#REF!"},       {kErrorMemory, "#N/A"}, {kErrorSyntax, "#N/A"}};
  for (const Case& c : cases) {
    CWorkBook book;
    CWorkSheet* sheet = AddSheet(&book, "S");
    uint8_t record[64];
    BuildNumberCell(record, sizeof record, 0, 0, 0, c.code);
    PutCell(sheet, record);
    EXPECT_NE(Export(&book).find(std::string("<Data ss:Type=\"Error\">") + c.name + "</Data>"), std::string::npos)
        << int(c.code);
  }
}

TEST(ExcelXmlExport, NumbersKeepEveryBit) {
  CWorkBook book;
  CWorkSheet* sheet = AddSheet(&book, "S");
  uint8_t record[64];
  BuildNumberCell(record, sizeof record, 0, 0, 0.1 + 0.2);
  PutCell(sheet, record);
  BuildNumberCell(record, sizeof record, 0, 1, -1.0 / 3.0);
  PutCell(sheet, record);
  const std::string text = Export(&book);
  EXPECT_NE(text.find(">0.30000000000000004<"), std::string::npos);
  EXPECT_NE(text.find(">-0.3333333333333333<"), std::string::npos);
}

TEST(ExcelXmlExport, PercentStylesScaleAsOtherProgramsDo) {
  struct Case {
    uint8_t fixed;
    uint8_t decimals;
    const char* code;
  } cases[] = {{1, 2, "#,##0.00%"}, {1, 0, "#,##0%"}, {0, 3, "#,##0.#%"}};
  for (const Case& c : cases) {
    CWorkBook book;
    CWorkSheet* sheet = AddSheet(&book, "S");
    StyleRecord style = StyleRecord::Default();
    style.numFormat.category = kNumFormatPercent;
    style.numFormat.options.number.fixedDecimals = c.fixed;
    style.numFormat.options.number.decimals = c.decimals;
    uint16_t index = 0;
    ASSERT_TRUE(book.styles.FindOrAddStyle(style, &index));
    sheet->format.columns[0].SetStyle(index);
    const std::string text = Export(&book);
    EXPECT_NE(text.find(std::string("<NumberFormat ss:Format=\"") + c.code + "\"/>"), std::string::npos) << c.code;
    // The style itself keeps the program's own code.
    EXPECT_EQ(std::string(book.styles.styles[index].numFormat.code).back(), '%');
    EXPECT_NE(std::string(book.styles.styles[index].numFormat.code).find("\\%"), std::string::npos);
  }
}

TEST(ExcelXmlExport, StylesWriteWhatDiffersFromTheDefault) {
  CWorkBook book;
  CWorkSheet* sheet = AddSheet(&book, "S");
  StyleRecord style = StyleRecord::Default();
  style.alignment.horizontal = kHAlignRight;
  style.alignment.wrapText = 1;
  style.alignment.rotation = -45;
  style.borders.sides = kBorderTop | kBorderLeft;
  style.borders.line = BorderLine{7, 1, {}, 0x0000FF};
  style.fontColorSet = 1;
  style.fontColor = 0x00FF00;
  style.interior = FillRecord{1, 1, {}, 0x336699, 0, {}, 0};
  uint16_t index = 0;
  ASSERT_TRUE(book.styles.FindOrAddStyle(style, &index));
  sheet->format.columns[2].SetStyle(index);
  const std::string text = Export(&book);
  EXPECT_NE(text.find("<Alignment ss:Horizontal=\"Right\" ss:WrapText=\"1\" ss:Rotate=\"-45\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Border ss:Position=\"Left\" ss:LineStyle=\"Continuous\" ss:Weight=\"2\" "
                      "ss:Color=\"#FF0000\"/>"),
            std::string::npos);
  EXPECT_LT(text.find("Position=\"Left\""), text.find("Position=\"Top\""));
  // A colour of its own is written although the font is the default one.
  EXPECT_NE(text.find("<Font ss:Color=\"#00ff00\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Interior ss:Color=\"#996633\" ss:Pattern=\"Solid\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Column ss:Index=\"3\" ss:StyleID=\"s21\"/>"), std::string::npos);
}

TEST(ExcelXmlExport, TableCoversCellsColumnsAndStyledPositions) {
  CWorkBook book;
  CWorkSheet* empty = AddSheet(&book, "Empty");
  CWorkSheet* sheet = AddSheet(&book, "Full");
  PutText(sheet, 1, 1, "x");
  // A column formatted right of every cell still lies in the table.
  sheet->format.columns[9].SetWidth(100, true);
  StyleRecord style = StyleRecord::Default();
  style.alignment.horizontal = kHAlignCentre;
  uint16_t index = 0;
  ASSERT_TRUE(book.styles.FindOrAddStyle(style, &index));
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{2, 3, 2, index}, nullptr));
  ASSERT_TRUE(sheet->format.rows.SetRow(0, 20, true));
  ASSERT_TRUE(sheet->format.rows.SetRow(50, 30, true));
  (void)empty;
  const std::string text = Export(&book);
  EXPECT_NE(text.find("<Table ss:ExpandedColumnCount=\"1\" ss:ExpandedRowCount=\"1\""), std::string::npos);
  EXPECT_NE(text.find("<Table ss:ExpandedColumnCount=\"10\" ss:ExpandedRowCount=\"3\""), std::string::npos);
  EXPECT_NE(text.find("<Column ss:Index=\"10\" ss:AutoFitWidth=\"0\" ss:Width=\"75\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Row ss:Index=\"1\" ss:AutoFitHeight=\"0\" ss:Height=\"15\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Cell ss:Index=\"3\" ss:StyleID=\"s21\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Cell ss:Index=\"4\" ss:StyleID=\"s21\"/>"), std::string::npos);
  // A row below the table is not written, whatever its height.
  EXPECT_EQ(text.find("<Row ss:Index=\"51\""), std::string::npos);
}

TEST(ExcelXmlExport, SparseWorksheetIsWalkedByWhatItHolds) {
  CWorkBook book;
  CWorkSheet* sheet = AddSheet(&book, "S");
  PutText(sheet, 0, 0, "first");
  PutText(sheet, kMaxRow, kMaxColumn, "last");
  const std::string text = Export(&book);
  EXPECT_NE(text.find("ss:ExpandedColumnCount=\"2047\" ss:ExpandedRowCount=\"2097152\""), std::string::npos);
  EXPECT_EQ(Count(text, "<Row "), 2u);
  EXPECT_NE(text.find("<Row ss:Index=\"2097152\">"), std::string::npos);
}

TEST(ExcelXmlExport, WorksheetsAreFlattenedWithUniqueNamesAndOneSelected) {
  CWorkBook book;
  book.InsertItems(NewFolderItem("Folder", 1, 1), nullptr);
  AddSheet(&book, "Sales", 2);
  CWorkSheet* second = AddSheet(&book, "sales", 2);
  AddSheet(&book, "Sales", 1);
  book.activeWorksheet = second;
  const std::string text = Export(&book);
  EXPECT_NE(text.find("<Worksheet ss:Name=\"Sales\">"), std::string::npos);
  EXPECT_NE(text.find("<Worksheet ss:Name=\"sales(0)\">"), std::string::npos);
  EXPECT_NE(text.find("<Worksheet ss:Name=\"Sales(1)\">"), std::string::npos);
  EXPECT_EQ(text.find("Folder"), std::string::npos);
  // Sheets count from 0 in this format.
  EXPECT_NE(text.find("<ActiveSheet>1</ActiveSheet>"), std::string::npos);
  EXPECT_EQ(Count(text, "<Selected/>"), 1u);
  const size_t selected = text.find("<Selected/>");
  EXPECT_GT(selected, text.find("sales(0)"));
  EXPECT_LT(selected, text.find("Sales(1)"));
}

// A name made unique keeps to a worksheet name's length, so that it reads
// back as written and stays unique.
TEST(ExcelXmlExport, LongNamesMadeUniqueKeepToANamesLength) {
  CWorkBook book;
  const std::string name(kTreeItemNameSize - 1, 'n');
  AddSheet(&book, name.c_str());
  AddSheet(&book, name.c_str());
  AddSheet(&book, name.c_str());
  const std::string text = Export(&book);
  const std::string cut = name.substr(0, name.size() - 3);
  EXPECT_NE(text.find("\"" + cut + "(0)\""), std::string::npos);
  EXPECT_NE(text.find("\"" + cut + "(1)\""), std::string::npos);
}

TEST(ExcelXmlExport, PageAndViewSettings) {
  CWorkBook book;
  CWorkSheet* sheet = AddSheet(&book, "S");
  PageSettings& page = sheet->pageSettings;
  page.marginLeft = 25.4;
  page.landscape = 1;
  page.firstPageNumber = 3;
  page.columnHeadings = 0;
  sheet->viewFormat.gridLines = 0;
  WorksheetViewState* view = ViewStateOf(&sheet->viewFormat);
  view->topLeft.row = 7;
  view->selection[0].row = 4;
  view->selection[0].column = 2;
  const std::string text = Export(&book);
  EXPECT_NE(text.find("<Layout x:Orientation=\"Landscape\" x:StartPageNumber=\"3\"/>"), std::string::npos);
  EXPECT_NE(text.find("x:Left=\"1\""), std::string::npos);
  EXPECT_NE(text.find("<DoNotDisplayGridlines/>"), std::string::npos);
  EXPECT_NE(text.find("<DoNotDisplayHeadings/>"), std::string::npos);
  EXPECT_NE(text.find("<TopRowVisible>7</TopRowVisible>"), std::string::npos);
  EXPECT_NE(text.find("<ActiveRow>4</ActiveRow>"), std::string::npos);
  EXPECT_NE(text.find("<ActiveCol>2</ActiveCol>"), std::string::npos);
}

TEST(ExcelXmlExport, WriteErrorOfTheFileGives39) {
  CWorkBook book;
  PutText(AddSheet(&book, "S"), 0, 0, "x");
  const std::string path = xmldoc::OwnPath("read_only");
  filetest::WriteAll(path, "");
  ASSERT_TRUE(book.bufferedFile.Open(path.c_str(), "rb"));
  EXPECT_FALSE(book.SaveExcelXml(&excelxml::Screen()));
  EXPECT_EQ(book.error, kFileWriteError);
  book.bufferedFile.Close();
}

}  // namespace
