// The older binary reader, on files the test-side writer makes.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/native_xml/native_xml.h"
#include "core/base/error_code.h"
#include "tests/files/file_test_support.h"
#include "tests/files/old_binary/old_file_writer.h"

namespace {

std::unique_ptr<CWorkBook> Load(const std::string& bytes, uint8_t expectedError = 0) {
  const std::string path = "files_old_binary.tlv";
  EXPECT_TRUE(filetest::WriteAll(path, bytes));
  uint8_t error = 0;
  bool loaded = false;
  auto book = filetest::LoadFrom(path, nullptr, &error, &loaded);
  // The next file goes to the same path, which an open document holds.
  book->bufferedFile.Close();
  EXPECT_EQ(error, expectedError);
  EXPECT_EQ(loaded, expectedError == 0);
  if (loaded) {
    EXPECT_EQ(book->saveKind, kNativeOldBinary);
    EXPECT_TRUE(book->CheckTreeInvariants());
    EXPECT_TRUE(book->styles.CheckInvariants());
    for (auto* item = book->firstItem; item; item = item->next)
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
        EXPECT_TRUE(sheet->cells.CheckInvariants());
        EXPECT_TRUE(sheet->format.CheckInvariants());
      }
  } else {
    EXPECT_EQ(book->firstItem, nullptr);
  }
  return book;
}

std::string Entries(const DropDownList& list) {
  std::string all;
  for (const DropDownEntry* e = list.entries; e; e = e->next) all += std::string("[") + e->text + "]";
  return all;
}

TEST(OldBinary, DropDownLists) {
  oldfile::File file;
  file.lists = {{5, "", ""}, {7, "Colours", "red\r\n\r\nblue"}, {8, "", "\nfirst empty\n"}, {120, "lost", "x"}};
  auto book = Load(file.Encoded());
  EXPECT_STREQ(book->dropDownLists[5].name, "List 5.");
  EXPECT_EQ(Entries(book->dropDownLists[5]), "");
  EXPECT_STREQ(book->dropDownLists[7].name, "Colours");
  EXPECT_EQ(Entries(book->dropDownLists[7]), "[red][blue]");
  EXPECT_STREQ(book->dropDownLists[8].name, "List 8.");
  EXPECT_EQ(Entries(book->dropDownLists[8]), "[][first empty]");
}

TEST(OldBinary, StylesFromOptionBits) {
  struct Case {
    oldfile::Style old;
    bool (*holds)(const StyleRecord& style);
  } cases[] = {
      {{1u | 1u << 13, 0, 0, 0, 0, 0, 3, 0},
       [](const StyleRecord& s) {
         return s.numFormat.category == kNumFormatCurrency && s.numFormat.options.currency.decimals == 3;
       }},
      {{1u << 2, 0, 0, 0, 0, 0, 0, 0}, [](const StyleRecord& s) { return s.numFormat.category == kNumFormatPercent; }},
      {{1u << 18 | 1u << 3, 0, 0, 0, 0, 0, 0, 0},
       [](const StyleRecord& s) {
         return s.numFormat.category == kNumFormatDate && s.alignment.horizontal == kHAlignLeft;
       }},
      {{1u << 13 | 1u << 1 | 1u << 5 | 1u << 15 | 1u << 11, 0, 0, 0, 0, 0, 2, 0},
       [](const StyleRecord& s) {
         return s.numFormat.category == kNumFormatGeneral && s.numFormat.options.number.decimals == 2 &&
                s.numFormat.options.number.grouping && s.alignment.horizontal == kHAlignCentre &&
                s.alignment.vertical == kVAlignBottom && s.alignment.wrapText;
       }},
      {{1u << 7, 0, 0, 0, 0xABCDEF, 0x0521, 0, 0},
       [](const StyleRecord& s) {
         return s.borders.sides == 15 && s.borders.line.style == 3 && s.borders.line.color == 0xABCDEF;
       }},
      {{1u << 7, 0, 0, 0, 0, 0x0114, 0, 0},
       [](const StyleRecord& s) { return s.borders.sides == (kBorderBottom | kBorderRight) && s.borders.line.style == 7; }},
      {{1u << 9, 0, 0x02112233, 0, 0, 0, 0, 0},
       [](const StyleRecord& s) {
         return s.interior.pattern == 10 && s.interior.patternColor == 0x112233 &&
                s.interior.backgroundColor == 0x112233;
       }},
      {{1u << 6 | 1u << 16, 0, 0, 0x0000FF, 0, 0, 0, 12},
       [](const StyleRecord& s) {
         return s.isProtected && s.dropDown.listId == 12 && s.fontColorSet && s.fontColor == 0x0000FF;
       }},
  };
  for (const Case& c : cases) {
    oldfile::File file;
    file.styles = {oldfile::Style(), c.old};
    auto book = Load(file.Encoded());
    ASSERT_EQ(book->styles.styleCount, 2);
    EXPECT_TRUE(c.holds(book->styles.styles[1])) << std::hex << c.old.bits;
  }
}

TEST(OldBinary, FontsFromLogFonts) {
  oldfile::LogFont font;
  font.height = -16;
  font.weight = 700;
  font.italic = 1;
  font.charSet = 204;
  font.pitchAndFamily = 32;
  font.face = std::string(40, 'F');  // fills its field without an end
  oldfile::File file;
  file.fonts = {oldfile::LogFont(), font};
  oldfile::Style style;
  style.font = 5;  // beyond the fonts read: the default font
  file.styles = {oldfile::Style(), style};
  auto book = Load(file.Encoded());
  ASSERT_EQ(book->styles.fontCount, 2);
  const FontRecord& f = book->styles.fonts[1];
  EXPECT_EQ(f.size, 12);
  EXPECT_EQ(f.weight, kFontWeightBold);
  EXPECT_TRUE(f.italic);
  EXPECT_EQ(f.charSet, 10);
  EXPECT_EQ(f.family, 1);
  EXPECT_EQ(std::string(f.faceName), std::string(31, 'F'));
  EXPECT_EQ(book->styles.styles[1].fontIndex, 0);
}

TEST(OldBinary, WorksheetFormatsAndCells) {
  oldfile::File file;
  file.styles = {oldfile::Style(), oldfile::Style(), oldfile::Style()};
  oldfile::Sheet& sheet = file.sheets[0];
  sheet.name = "Data";
  sheet.widthRuns = {{1, 80}, {2, 120}, {509, 80}};
  sheet.rowCount = 10;
  sheet.heightRuns = {{3, 17}, {2, 25}, {5, 17}};
  sheet.styleColumnRuns = {{4, 0}, {1, 2}, {507, 9}};
  sheet.styledRows = 3;
  sheet.styleGroups = {{2, 4, {{0, 1, 1}, {5, 6, 2}}}, {1, 8, {{3, 3, 1}}}};
  sheet.cells = {{0, 0, 1, 0, "text"},
                 {1, 0, 2, 2.5, ""},
                 {2, 0, 4, 6, "2*3"},
                 {3, 70000, 4, 0, "=1+$"},
                 {0, 1, 16, 3, "=SUM(1,2)"}};
  auto book = Load(file.Encoded());
  CWorkSheet* ws = book->activeWorksheet;
  ASSERT_NE(ws, nullptr);
  EXPECT_STREQ(ws->name, "Data");
  const ColumnRecord* columns = ws->format.columns;
  EXPECT_EQ(columns[0].Width(), 0);
  EXPECT_EQ(columns[1].Width(), 120);
  EXPECT_FALSE(columns[1].WidthFixed());
  EXPECT_EQ(columns[4].Style(), 2);
  EXPECT_EQ(columns[5].Style(), 0);  // beyond the styles read
  EXPECT_EQ(ws->format.rows.Count(), 5u);
  EXPECT_EQ(*ws->format.rows.At(3) >> 1, 25);
  EXPECT_EQ(*ws->format.rows.At(2), 0);
  EXPECT_EQ(ws->format.CellStyle(4, 1), 1);
  EXPECT_EQ(ws->format.CellStyle(5, 6), 2);
  EXPECT_EQ(ws->format.CellStyle(8, 3), 1);
  EXPECT_EQ(ws->format.CellStyle(6, 3), 0);

  const CellRecord* text = ws->cells.GetCell(0, 0);
  ASSERT_TRUE(text && text->IsText());
  EXPECT_EQ(std::string(text->Text(), text->TextLength()), "text");
  EXPECT_EQ(ws->cells.GetCell(0, 1)->Number(), 2.5);
  // A formula stored without its "=" is read as a formula.
  const CellRecord* formula = ws->cells.GetCell(0, 2);
  ASSERT_TRUE(formula && formula->IsFormula());
  EXPECT_EQ(std::string(formula->FormulaText(), formula->FormulaLength()), "=2*3");
  EXPECT_EQ(formula->CachedNumber(), 6);
  // A formula the translation refuses stays as its text.
  const CellRecord* refused = ws->cells.GetCell(70000, 3);
  ASSERT_TRUE(refused && refused->IsText());
  EXPECT_EQ(std::string(refused->Text(), refused->TextLength()), "=1+$");
  EXPECT_TRUE(ws->cells.GetCell(1, 0)->IsFormula());
}

// Numbers that are not finite come in as "#NUM!" over 0, so that the
// binary and the XML copies of the workbook agree.
TEST(OldBinary, NumbersThatAreNotFiniteComeInAsNumErrors) {
  oldfile::File file;
  oldfile::Sheet& sheet = file.sheets[0];
  sheet.cells = {{0, 0, 2, std::nan(""), ""},
                 {1, 0, 4, HUGE_VAL, "1/0"},
                 {2, 0, 2, 4.5, ""}};
  auto book = Load(file.Encoded());
  CWorkSheet* ws = book->activeWorksheet;
  ASSERT_NE(ws, nullptr);
  for (uint16_t column : {0, 1}) {
    const CellRecord* cell = ws->cells.GetCell(0, column);
    ASSERT_NE(cell, nullptr) << column;
    EXPECT_EQ(cell->ErrorCode(), kErrorNum) << column;
    EXPECT_EQ(cell->IsNumber() ? cell->Number() : cell->CachedNumber(), 0.0) << column;
  }
  EXPECT_EQ(ws->cells.GetCell(0, 2)->Number(), 4.5);
  ASSERT_TRUE(filetest::SaveTo(book.get(), "files_old_nan.tlv"));
  book->saveKind = kNativeXmlPlain;
  ASSERT_TRUE(book->bufferedFile.Open("files_old_nan.xml", "w+b") && SaveXml(book.get()));
  book->bufferedFile.Close();
  uint8_t error = 0;
  bool loaded = false;
  auto binary = filetest::LoadFrom("files_old_nan.tlv", nullptr, &error, &loaded);
  ASSERT_TRUE(loaded) << int(error);
  auto xml = filetest::LoadFrom("files_old_nan.xml", nullptr, &error, &loaded);
  ASSERT_TRUE(loaded) << int(error);
  auto cells = [](const CWorkBook& b) {
    std::string all;
    for (const CellBlock* k = b.activeWorksheet->cells.FirstBlock(); k; k = k->next)
      all.append(reinterpret_cast<const char*>(k->payload), k->used);
    return all;
  };
  EXPECT_EQ(cells(*binary), cells(*xml));
  EXPECT_EQ(cells(*book), cells(*binary));
}

TEST(OldBinary, PageSettings) {
  oldfile::File file;
  oldfile::Page& page = file.sheets[0].page;
  page.paper = 1;
  page.landscape = 1;
  page.pagesPerSheet = 4;
  page.margins[0] = 2.5;
  page.header = "&l left";
  auto book = Load(file.Encoded());
  const PageSettings& settings = book->activeWorksheet->pageSettings;
  EXPECT_STREQ(settings.sheetSizeName, "Letter");
  EXPECT_EQ(settings.landscape, 1);
  EXPECT_DOUBLE_EQ(double(settings.marginLeft), 25);
  EXPECT_STREQ(settings.headerText, "&l left");
  EXPECT_EQ(settings.pagesPerSheetColumns, 2);
  EXPECT_EQ(settings.pagesPerSheetRows, 2);
  file.sheets[0].page.paper = 9;
  EXPECT_STREQ(Load(file.Encoded())->activeWorksheet->pageSettings.sheetSizeName, "A4");
}

TEST(OldBinary, ObjectsBecomeContainers) {
  oldfile::File file;
  file.sheets[0].objects = oldfile::ObjectsWith({oldfile::TextObject("Note", 1), oldfile::ChartObject(1, 2),
                                                 oldfile::TextObject(std::string(300, 't'), 0, 0x8001),
                                                 oldfile::ChartObject(12, 0, 0x8002)});
  oldfile::Sheet second;
  second.name = "Second";
  second.objects = oldfile::ObjectsWith({oldfile::ChartObject(0, 1)});
  file.sheets.push_back(second);
  auto book = Load(file.Encoded());
  const ContainerRecord* note = book->activeWorksheet->containers;
  ASSERT_NE(note, nullptr);
  EXPECT_STREQ(note->header.titleText, "Note");
  EXPECT_EQ(note->header.titleFont.font.weight, kFontWeightBold);
  EXPECT_EQ(int(note->header.anchor.column), 3);
  EXPECT_EQ(uint32_t(note->header.anchor.row), 4u);
  EXPECT_EQ(int32_t(note->header.rect.right), 200);
  const ContainerRecord* chart = note->next;
  ASSERT_TRUE(chart && chart->header.itemCount == 1);
  const ChartRecord* bars = chart->items[0].chart;
  EXPECT_EQ(bars->Kind(), kChart2D);
  EXPECT_EQ(bars->options.seriesCount, 3);
  EXPECT_STREQ(bars->options.titleText, "Sales");
  EXPECT_STREQ(bars->series[0].dataArray, "=r1c1:r1c4");
  EXPECT_STREQ(bars->series[2].name, "series 3");
  EXPECT_STREQ(bars->series[2].dataArray, "=r3c2:r3c4");
  EXPECT_EQ(bars->series[1].viewType, kViewBar);
  EXPECT_EQ(std::string(chart->next->header.titleText), std::string(127, 't'));
  EXPECT_EQ(chart->next->next->items[0].chart->series[1].viewType, kViewArea3D);
  // Container ids stay unique across the worksheets.
  const ContainerRecord* xy = CWorkSheet::FromItem(book->firstItem->next)->containers;
  EXPECT_EQ(xy->items[0].chart->Kind(), kChartXY);
  EXPECT_EQ(int(xy->header.id), 5);
}

TEST(OldBinary, MalformedFilesAreRefused) {
  struct Case {
    const char* what;
    void (*change)(oldfile::File* file);
    uint8_t error;
  } cases[] = {
      {"twelfth byte", [](oldfile::File* f) { f->signature[11] = 'x'; }, kFileBadFormat},
      {"flag with a count", [](oldfile::File* f) { f->flag = 0x41; }, kFileBadFormat},
      {"word before the page", [](oldfile::File* f) { f->sheets[0].wordBeforePage = 1; }, kFileBadFormat},
      {"page version", [](oldfile::File* f) { f->sheets[0].page.version = 2; }, kFileBadFormat},
      {"page text too long", [](oldfile::File* f) { f->sheets[0].page.header = std::string(500, 'h'); },
       kFileBadFormat},
      {"object count", [](oldfile::File* f) { f->sheets[0].objects = std::string("\xFF\xFF", 2); }, kFileBadFormat},
      {"class index", [](oldfile::File* f) { f->sheets[0].objects = oldfile::ObjectsWith({oldfile::TextObject("", 0, 0x8001)}); },
       kFileBadFormat},
      {"chart type", [](oldfile::File* f) { f->sheets[0].objects = oldfile::ObjectsWith({oldfile::ChartObject(14, 0)}); },
       kFileBadFormat},
      {"column runs past the grid", [](oldfile::File* f) { f->sheets[0].widthRuns = {{500, 80}, {13, 80}}; },
       kFileBadFormat},
      {"empty column run", [](oldfile::File* f) { f->sheets[0].widthRuns = {{0, 80}, {512, 80}}; }, kFileBadFormat},
      {"rows past the grid",
       [](oldfile::File* f) {
         f->sheets[0].rowCount = 0xFFFFFFFF;
         f->sheets[0].heightRuns = {{0xFFFFFFFF, 20}};
       },
       kFileBadFormat},
      {"height run past the rows", [](oldfile::File* f) { f->sheets[0].heightRuns = {{2, 20}}; }, kFileBadFormat},
      {"overlapping spans",
       [](oldfile::File* f) {
         f->sheets[0].styledRows = 1;
         f->sheets[0].styleGroups = {{1, 0, {{0, 5, 0}, {5, 6, 0}}}};
       },
       kFileBadFormat},
      {"cell column", [](oldfile::File* f) { f->sheets[0].cells = {{2047, 0, 2, 1, ""}}; }, kFileBadFormat},
      {"cell row", [](oldfile::File* f) { f->sheets[0].cells = {{0, 2097152, 2, 1, ""}}; }, kFileBadFormat},
      {"cell kind", [](oldfile::File* f) { f->sheets[0].cells = {{0, 0, 3, 1, ""}}; }, kFileBadFormat},
      {"no worksheet", [](oldfile::File* f) { f->sheets.clear(); }, kFileNoWorksheet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    oldfile::File file;
    c.change(&file);
    Load(file.Encoded(), c.error);
  }
  // A record shorter than an item's head, and a cell that runs past its
  // record's end.
  oldfile::File file;
  std::string bytes = file.Encoded();
  std::string shortHead = bytes;
  const size_t item = bytes.size() - oldfile::Item("Sheet", 1, 1, 0, file.sheets[0].Record()).size();
  shortHead[item] = 90;
  shortHead[item + 1] = shortHead[item + 2] = shortHead[item + 3] = 0;
  Load(shortHead, kFileBadFormat);
  file.sheets[0].cells = {{0, 0, 1, 0, "abcdef"}};
  bytes = file.Encoded();
  const std::string record = file.sheets[0].Record();
  oldfile::Bytes length;
  length.U32(uint32_t(96 + record.size() - 3));
  bytes.replace(item, 4, length.data);
  Load(bytes, kFileBadFormat);
}

TEST(OldBinary, EveryCutFileIsRefused) {
  oldfile::File file;
  file.lists = {{3, "L", "a\nb"}};
  file.styles = {oldfile::Style(), oldfile::Style{1u << 9, 0, 0x01FF0000, 0, 0, 0, 0, 0}};
  file.fonts = {oldfile::LogFont(), oldfile::LogFont()};
  file.folders = {{"Folder", 1, 1}};
  oldfile::Sheet& sheet = file.sheets[0];
  sheet.level = 2;
  sheet.objects = oldfile::ObjectsWith({oldfile::TextObject("t", 2), oldfile::ChartObject(4, 0)});
  sheet.styledRows = 1;
  sheet.styleGroups = {{1, 0, {{0, 2, 1}}}};
  sheet.cells = {{0, 0, 1, 0, "abc"}, {1, 0, 2, 1.5, ""}, {2, 0, 4, 3, "=R1C2*2"}};
  const std::string bytes = file.Encoded();
  Load(bytes);
  // The empty file is a new workbook, not an older file.
  const std::string path = "files_old_binary_cut.tlv";
  ASSERT_TRUE(filetest::WriteAll(path, bytes));
  auto book = std::make_unique<CWorkBook>();
  for (size_t length = bytes.size() - 1; length >= 1; --length) {
    SCOPED_TRACE(length);
    std::filesystem::resize_file(path, length);
    ASSERT_TRUE(book->bufferedFile.Open(path.c_str(), "rb"));
    ASSERT_FALSE(book->LoadNative(nullptr));
    ASSERT_NE(book->error, 0);
    ASSERT_EQ(book->firstItem, nullptr);
    book->bufferedFile.Close();
  }
}

}  // namespace
