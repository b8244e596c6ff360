// Every kind of file the program writes, from one fixed workbook, compared
// byte for byte with the committed files of tests/golden/file_bytes: the
// native binary format in each protection mode, the native XML document,
// the Excel 2003 XML export, text files in each character set, with
// separators and with fixed widths, and xBase tables of every dialect in
// both code pages with their memo files. The native build and both Windows
// builds compare with the same files, so a file written by any of them is
// the others' byte for byte. The clock is fixed and the user names are set,
// so even the time of saving is the same.
//
// TALVERO_UPDATE_GOLDEN=1 rewrites the files (look at the difference before
// committing it); a file that differs is left in the test's working folder.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/base/error_code.h"
#include "core/base/scheme_colors.h"
#include "core/model/inspect_cell.h"
#include "core/workbook/workbook.h"
#include "files/dispatch/document_file.h"
#include "files/native_xml/native_xml.h"
#include "files/text/code_pages.h"
#include "files/xbase/xbase_memo.h"
#include "platform/os_services.h"
#include "tests/core/fake_text_measurer.h"
#include "tests/files/exchange_test_support.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/random_containers.h"

namespace {

const std::string kGoldenDir = std::string(TALVERO_GOLDEN_DIR) + "/file_bytes/";

constexpr uint32_t kSeed = 98;
const char kUser[] = "Golden \xC9mile";
const char kPassword[] = "S\xE9same 2026";

// Friday 11 December 2026, 09:30:15.
void FixedClock(OsLocalTime* out) { *out = OsLocalTime{2026, 12, 5, 11, 9, 30, 15, 0}; }

bool Updating() {
  const char* update = std::getenv("TALVERO_UPDATE_GOLDEN");
  return update && *update && *update != '0';
}

// Byte 9 of a gzip header names the system zlib was built for: 3 (Unix) in
// the native build, 10 (Windows) in both Windows builds. It is the only
// byte of our files that is the library's and not ours; the golden files
// hold what the Windows builds write, which compare whole files.
constexpr size_t kGzipSystemByte = 9;

bool IsGzip(const std::string& bytes) {
  return bytes.size() > kGzipSystemByte && uint8_t(bytes[0]) == 0x1F && uint8_t(bytes[1]) == 0x8B;
}

std::string AsTheWindowsBuildsWriteIt(std::string bytes) {
#ifndef _WIN32
  if (IsGzip(bytes) && bytes[kGzipSystemByte] == 3)
    bytes[kGzipSystemByte] = 10;
#endif
  return bytes;
}

// The content of a gzip file, for saying where two compressed files part.
std::string Inflated(const std::string& bytes) {
  std::string content;
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
    return content;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = uInt(bytes.size());
  char piece[16384];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(piece);
    stream.avail_out = sizeof piece;
    status = inflate(&stream, Z_NO_FLUSH);
    content.append(piece, sizeof piece - stream.avail_out);
  }
  inflateEnd(&stream);
  return content;
}

size_t FirstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  return at;
}

// The file written at path is the golden file name byte for byte.
void ExpectGolden(const std::string& path, const std::string& name) {
  const std::string written = AsTheWindowsBuildsWriteIt(filetest::ReadAll(path));
  ASSERT_FALSE(written.empty()) << name << ": nothing written";
  const std::string goldenPath = kGoldenDir + name;
  if (Updating()) {
    ASSERT_TRUE(filetest::WriteAll(goldenPath, written)) << "cannot write " << goldenPath;
    return;
  }
  const std::string golden = filetest::ReadAll(goldenPath);
  ASSERT_FALSE(golden.empty()) << "no golden " << goldenPath << " (TALVERO_UPDATE_GOLDEN=1 writes it)";
  if (written == golden) {
    std::remove(path.c_str());
    return;
  }
  std::string where = "at byte " + std::to_string(FirstDifference(written, golden));
  if (IsGzip(written) && IsGzip(golden))
    where += ", at byte " + std::to_string(FirstDifference(Inflated(written), Inflated(golden))) + " of the content";
  ADD_FAILURE() << name << " differs from its golden file " << where << " (" << written.size() << " bytes written, "
                << golden.size() << " in the golden file); the file written is " << path;
}

std::string WorkingPath(const std::string& name) { return "file_bytes_" + name; }

// The font and style of a workbook's style table, added when new.
uint16_t AddStyle(CWorkBook* book, const StyleRecord& style, const FontRecord* font = nullptr) {
  StyleRecord record = style;
  if (font && !book->styles.FindOrAddFont(*font, &record.fontIndex))
    std::abort();
  uint16_t index = 0;
  if (!book->styles.FindOrAddStyle(record, &index))
    std::abort();
  return index;
}

uint16_t NumberStyle(CWorkBook* book, uint8_t category, void (*set)(NumFormatParams*)) {
  StyleRecord style = StyleRecord::Default();
  style.numFormat.category = category;
  set(&style.numFormat);
  return AddStyle(book, style);
}

void StyleCell(CWorkSheet* sheet, uint32_t row, uint16_t firstColumn, uint16_t lastColumn, uint16_t style) {
  if (!sheet->format.runs.InsertRun(StyleRun{firstColumn, lastColumn, row, style}, nullptr))
    std::abort();
}

void PutFormula(CWorkSheet* sheet, uint32_t row, uint16_t column, const char* formula) {
  alignas(8) uint8_t record[1024];
  FormulaCellFields fields;
  fields.formula = formula;
  fields.formulaLength = uint16_t(std::strlen(formula));
  if (BuildFormulaCell(record, sizeof record, row, column, fields) == 0 ||
      !sheet->cells.InsertCell(AsCellRecord(record), nullptr))
    std::abort();
}

// A new worksheet starts with the running system's colours (the window's,
// the button face's and the stock palette), which differ between systems:
// Wine's button face is not the one of Windows that the native build
// answers with. The worksheets here have colours of their own, as the
// worksheet's view settings give them.
CWorkSheet* NewSheet(const char* name, uint16_t depth) {
  CWorkSheet* sheet = NewWorksheet(name, depth);
  if (!sheet)
    std::abort();
  WorksheetViewFormat& view = sheet->viewFormat;
  view.fill = FillRecord{1, 1, {}, 0x00F8FFF0, 1, {}, 0x00F8FFF0};
  std::memcpy(view.palette, kProgramPalette, sizeof view.palette);
  view.gridColorSet = 1;
  view.gridColor = 0x00C0C0C0;
  view.headingsColorSet = 1;
  view.headingsColor = 0x00E0D0C0;
  return sheet;
}

// Numbers under every number-format category, texts that need quoting or
// escaping and letters above 127, error values, formulas of every result,
// styled empty cells, borders, fonts, fills and alignments, column widths
// and row heights, page and view settings, and containers with charts and
// backgrounds.
void FillFormatsSheet(CWorkBook* book, CWorkSheet* sheet) {
  const char* headings[] = {"Value", "Shown", "Note", "Ratio", "When", "Mixed; \"quoted\", too"};
  for (uint16_t c = 0; c < 6; ++c) exchange::PutText(sheet, 0, c, headings[c]);

  const uint16_t fixed = NumberStyle(book, kNumFormatGeneral, [](NumFormatParams* f) {
    f->options.number = NumberFormatOptions{1, 2, 0, 0, 1, kNegativeParentheses, {}};
  });
  const uint16_t currency = NumberStyle(book, kNumFormatCurrency, [](NumFormatParams* f) {
    std::snprintf(f->options.currency.symbol, sizeof f->options.currency.symbol, "\x80");
    f->options.currency.decimals = 2;
    f->options.currency.symbolPosition = kSymbolAfterWithBlank;
    f->options.currency.negativeStyle = kNegativeMinus;
  });
  const uint16_t date = NumberStyle(book, kNumFormatDate, [](NumFormatParams* f) { f->options.dateTime.dateStyle = 3; });
  const uint16_t time = NumberStyle(book, kNumFormatTime, [](NumFormatParams* f) { f->options.dateTime.timeStyle = 2; });
  const uint16_t dateTime = NumberStyle(book, kNumFormatDateTime, [](NumFormatParams* f) {
    f->options.dateTime.dateStyle = 1;
    f->options.dateTime.timeStyle = 1;
  });
  const uint16_t percent = NumberStyle(book, kNumFormatPercent, [](NumFormatParams* f) {
    f->options.number.fixedDecimals = 1;
    f->options.number.decimals = 1;
  });
  const uint16_t fraction = NumberStyle(book, kNumFormatFraction, [](NumFormatParams* f) {
    f->options.fraction.denominatorDigits = 2;
  });
  const uint16_t scientific = NumberStyle(book, kNumFormatScientific, [](NumFormatParams* f) {
    f->options.scientific = ScientificFormatOptions{1, 3, kExponentAutomatic, 0, {}};
  });
  const uint16_t pattern = NumberStyle(book, kNumFormatUserPattern, [](NumFormatParams* f) {
    std::snprintf(f->code, sizeof f->code, "#,##0.000 \"kg\";[Red]-0.0");
  });
  // Dates and times are kept as ISO 8601 texts.
  const struct {
    double value;
    const char* text;
    uint16_t style;
  } values[] = {{1234567.891, nullptr, fixed},
                {-2.5, nullptr, fixed},
                {-1234.565, nullptr, currency},
                {0, "2026-12-11", date},
                {0, "13:45:30", time},
                {0, "2026-12-11T18:05:00", dateTime},
                {0.1234, nullptr, percent},
                {3.14159, nullptr, fraction},
                {6.02214076e23, nullptr, scientific},
                {-12.34, nullptr, pattern},
                {9876.54321, nullptr, pattern},
                {1.0 / 3.0, nullptr, 0},
                {1e-7, nullptr, 0},
                {123456789012345678.0, nullptr, 0}};
  uint32_t row = 1;
  for (const auto& v : values) {
    if (v.text)
      exchange::PutText(sheet, row, 0, v.text);
    else
      exchange::PutNumber(sheet, row, 0, v.value);
    if (v.style)
      StyleCell(sheet, row, 0, 0, v.style);
    ++row;
  }
  exchange::PutText(sheet, 1, 2, "plain words");
  exchange::PutText(sheet, 2, 2, "Bob, Jr.");
  exchange::PutText(sheet, 3, 2, "say \"hi\" & <bye>");
  exchange::PutText(sheet, 4, 2, "Caf\xE9 M\xFCller \x80 \xA3 \xF1 \xDF \xFF");
  exchange::PutText(sheet, 5, 2, "two\r\nlines\tand a tab");
  exchange::PutText(sheet, 6, 2, "semi;colon | bar 'single'");
  exchange::PutText(sheet, 7, 2, "  lead and trail  ");
  exchange::PutNumber(sheet, 8, 2, 0, kErrorNA);
  exchange::PutNumber(sheet, 9, 2, 0, kErrorDivZero);

  PutFormula(sheet, 1, 3, "=R2C1*3");
  PutFormula(sheet, 2, 3, "=R2C1+R3C1+R4C1");
  PutFormula(sheet, 3, 3, "=R2C1/0");
  PutFormula(sheet, 4, 3, "=\"x\"&R5C3");
  PutFormula(sheet, 5, 3, "=-R4C1");
  PutFormula(sheet, 6, 3, "=R[-1]C*R8C1");
  StyleCell(sheet, 2, 3, 3, fixed);
  StyleCell(sheet, 6, 3, 3, percent);
  exchange::PutText(sheet, 1, 4, "2026-12-11");
  exchange::PutText(sheet, 20, 7, "far away");

  FontRecord bold{};
  std::snprintf(bold.faceName, sizeof bold.faceName, "Courier New");
  bold.family = 2;
  bold.size = 11;
  bold.weight = kFontWeightBold;
  bold.italic = 1;
  bold.underline = 1;
  StyleRecord framed = StyleRecord::Default();
  framed.fontColorSet = 1;
  framed.fontColor = 0x00336699;
  framed.interior = FillRecord{7, 1, {}, 0x0000FF00, 1, {}, 0x00FFEEDD};
  framed.borders.sides = kBorderTop | kBorderBottom | kBorderLeft | kBorderDiagonalRight;
  framed.borders.line = BorderLine{9, 1, {}, 0x00123456};
  framed.alignment.horizontal = kHAlignCentre;
  framed.alignment.vertical = kVAlignTop;
  framed.alignment.wrapText = 1;
  framed.alignment.rotation = -45;
  const uint16_t framedStyle = AddStyle(book, framed, &bold);
  StyleCell(sheet, 0, 0, 5, framedStyle);
  StyleCell(sheet, 12, 4, 6, framedStyle);  // styled cells without values
  StyleRecord solid = StyleRecord::Default();
  solid.interior = FillRecord{1, 1, {}, 0x00CCFFCC, 0, {}, 0};
  solid.alignment.horizontal = kHAlignRight;
  solid.alignment.fitToCell = 1;
  sheet->format.columns[2].SetStyle(AddStyle(book, solid));

  sheet->format.columns[0].SetWidth(120, true);
  sheet->format.columns[2].SetWidth(200, false);
  sheet->format.columns[9].SetWidth(31, false);
  if (!sheet->format.rows.SetRow(0, 30, true) || !sheet->format.rows.SetRow(5, 44, false) ||
      !sheet->format.rows.SetRow(15, 20, true))
    std::abort();

  PageSettings& page = sheet->pageSettings;
  page.landscape = 1;
  page.firstPageNumber = 3;
  page.scale = 85;
  page.copies = 2;
  page.alignment = 2 | 16;
  page.columnHeadings = 0;
  page.headerMargin = 12.7;
  page.footerMargin = 8.5;
  page.marginLeft = 25.4;
  page.marginRight = 19.05;
  page.marginTop = 30.0;
  page.marginBottom = 17.3;
  std::snprintf(page.headerText, sizeof page.headerText, "&lFormats &a&c\xC9t\xE9&rPage &p of &m");
  std::snprintf(page.footerText, sizeof page.footerText, "&l&f&r&d &t");
  sheet->viewFormat.gridLines = 0;
  sheet->viewFormat.zoom = 125;

  // Containers of charts of every field, each chart with at most two
  // series (a series takes 3.5 KB of every binary file), on a fractal
  // background and on an image.
  randomcharts::Generator generator(kSeed);
  for (const uint8_t background : {kBackgroundFractal, kBackgroundImage}) {
    ContainerRecord* container = generator.Container(1);
    container->header.backgroundKind = background;
    for (int k = 0; k < container->header.itemCount; ++k) {
      ChartOptions& options = container->items[k].chart->options;
      if (options.seriesCount > 2)
        options.seriesCount = 2;
    }
    if (!book->AssignContainerId(container))
      std::abort();
    sheet->AddContainer(container);
  }
}

// The source of the xBase tables: a header row, then records of every
// field type the writer knows, a deleted record, long memo texts and
// numbers that fall halfway between the digits a field keeps.
void FillTableSheet(CWorkBook* book, CWorkSheet* sheet) {
  const char* names[] = {"NAME", "WHOLE", "CENTS", "RATIO", "BORN", "ACTIVE", "NOTE",
                         "A_VERY_LONG_NAME", "MONEY", "COUNT", "PICTURE", "AT"};
  for (uint16_t c = 0; c < 12; ++c) exchange::PutText(sheet, 0, c, names[c]);
  exchange::PutText(sheet, 0, 13, "");
  const uint16_t percent = NumberStyle(book, kNumFormatPercent, [](NumFormatParams* f) {
    f->options.number.fixedDecimals = 1;
    f->options.number.decimals = 2;
  });
  const struct {
    const char* name;
    double whole, cents, ratio;
    const char* born;
    const char* active;
    double money, count;
  } records[] = {
      {"Ann \xE9t\xE9", 2.5, 0.125, 1.0 / 3.0, "2009-03-05", "Y", 12.345, 7.5},
      {"M\xFCller & Co", 3.5, 0.375, 1e-7, "1999-12-31", "no", -0.5, -2.5},
      {"Bob", -0.5, 2.675, 123456789.123456789, "2026-02-30", "true", 1e9 / 7, 1234567},
      {"Deleted", 1234567, -1.005, -0.0625, "", "F", 0, 0.5},
      {"Zo\xEB", 0.5, 1e9 / 3, -0.0078125, "1900-01-01", "maybe", 0.0078125, -0.5},
  };
  uint32_t row = 1;
  for (const auto& r : records) {
    exchange::PutText(sheet, row, 0, r.name);
    exchange::PutNumber(sheet, row, 1, r.whole);
    exchange::PutNumber(sheet, row, 2, r.cents);
    exchange::PutNumber(sheet, row, 3, r.ratio);
    if (*r.born)
      exchange::PutText(sheet, row, 4, r.born);
    exchange::PutText(sheet, row, 5, r.active);
    exchange::PutNumber(sheet, row, 8, r.money);
    exchange::PutNumber(sheet, row, 9, r.count);
    exchange::PutText(sheet, row, 10, "not shown");
    ++row;
  }
  exchange::PutNumber(sheet, 6, 0, 0.4567);
  StyleCell(sheet, 6, 0, 0, percent);
  exchange::PutNumber(sheet, 7, 0, 0, kErrorNA);
  exchange::PutText(sheet, 7, 1, "42");
  exchange::PutNumber(sheet, 7, 5, 1);
  exchange::PutNumber(sheet, 8, 5, 0);
  exchange::PutText(sheet, 1, 6, "A short memo");
  exchange::PutText(sheet, 2, 6, std::string(600, 'm') + " \xE9nd");
  exchange::PutNumber(sheet, 3, 6, 3.25);
  exchange::PutText(sheet, 5, 6, "Gr\xFC\xDF" "e \xC0 tous");
  exchange::PutText(sheet, 2, 7, std::string(300, 'w'));
  exchange::PutText(sheet, 4, 7, "short");
  exchange::PutText(sheet, 8, 13, "unnamed");

  StyleRecord red = StyleRecord::Default();
  red.fontColorSet = 1;
  red.fontColor = 0x000000FF;
  StyleCell(sheet, 4, 0, 11, AddStyle(book, red));
}

// Calculated with the worksheet active, and stamped as saved by the fixed
// user at the fixed time.
void CalculateAndStamp(CWorkBook* book, CWorkSheet* active) {
  book->activeWorksheet = active;
  book->evaluator.owner = book;
  book->evaluator.sheet = &active->cells;
  book->Recalculate(nullptr);
  std::snprintf(book->lastModification.user, sizeof book->lastModification.user, "%s", kUser);
  std::snprintf(book->lastModification.date, sizeof book->lastModification.date, "2026-12-11T09:30:15");
}

// Two drop-down lists, two inspected cells, the window panes and a font
// of every attribute; a folder holding the formats worksheet, an empty
// folder, and the table and a small worksheet at the top level and
// below a nested folder.
void FillWorkbookParts(CWorkBook* book) {
  book->panes = PaneLayout{1, 180, 1, 96};
  DropDownList& sizes = book->dropDownLists[0];
  std::snprintf(sizes.name, sizeof sizes.name, "Sizes");
  DropDownList& towns = book->dropDownLists[41];
  std::snprintf(towns.name, sizeof towns.name, "Towns \xE0 & <b>");
  for (const char* entry : {"small", "medium", "large"})
    if (!sizes.AppendEntry(entry))
      std::abort();
  for (const char* entry : {"Z\xFCrich", "S\xE3o Paulo", "\"quoted\"", ""})
    if (!towns.AppendEntry(entry))
      std::abort();
  const struct {
    uint16_t column;
    uint32_t row;
    const char* path;
    const char* name;
  } inspected[] = {{3, 6, "\\Reports\\Formats \xC9t\xE9", "Product"}, {0, 1, "\\Table", ""}};
  for (const auto& cell : inspected) {
    InspectCellFields fields;
    fields.column = cell.column;
    fields.row = cell.row;
    std::snprintf(fields.path, sizeof fields.path, "%s", cell.path);
    std::snprintf(fields.name, sizeof fields.name, "%s", cell.name);
    uint8_t record[kInspectCellRecordSize];
    WriteInspectCell(fields, record);
    if (!book->inspectCells.Append(record))
      std::abort();
  }
}

// The workbook every file is written from, calculated, with a fixed last
// modification.
std::unique_ptr<CWorkBook> FixedWorkbook() {
  auto book = std::make_unique<CWorkBook>();
  book->saveKind = kSaveKindBinaryGzip;
  FillWorkbookParts(book.get());
  CWorkSheetTree::CTreeItem* reports = NewFolderItem("Reports", 1, 1);
  CWorkSheet* formats = NewSheet("Formats \xC9t\xE9", 2);
  CWorkSheetTree::CTreeItem* empty = NewFolderItem("Empty", 1, 0);
  CWorkSheet* table = NewSheet("Table", 1);
  CWorkSheetTree::CTreeItem* inner = NewFolderItem("Inner", 1, 0);
  CWorkSheetTree::CTreeItem* deeper = NewFolderItem("Deeper", 2, 1);
  CWorkSheet* notes = NewSheet("Notes", 3);
  if (!reports || !empty || !inner || !deeper)
    std::abort();
  for (CWorkSheetTree::CTreeItem* item : {reports, static_cast<CWorkSheetTree::CTreeItem*>(formats), empty,
                                          static_cast<CWorkSheetTree::CTreeItem*>(table), inner, deeper,
                                          static_cast<CWorkSheetTree::CTreeItem*>(notes)})
    book->InsertItems(item, nullptr);
  FillFormatsSheet(book.get(), formats);
  FillTableSheet(book.get(), table);
  exchange::PutText(notes, 0, 0, "See \"Formats \xC9t\xE9\"");
  PutFormula(notes, 1, 0, "=\"Formats \xC9t\xE9\"!R2C1*2");
  CalculateAndStamp(book.get(), formats);
  return book;
}

// A workbook of one worksheet whose formulas give numbers, texts, an error
// and texts the input parser takes for a date and a percentage, for the
// protected files: encryption leaves their bodies incompressible, so they
// are as large as the workbook's records.
std::unique_ptr<CWorkBook> SmallWorkbook() {
  auto book = std::make_unique<CWorkBook>();
  book->saveKind = kSaveKindBinaryGzip;
  CWorkSheet* sheet = NewSheet("Protected \xC9t\xE9", 1);
  book->InsertItems(sheet, nullptr);
  exchange::PutNumber(sheet, 0, 0, 0.1);
  exchange::PutNumber(sheet, 1, 0, 46000.25);
  exchange::PutText(sheet, 2, 0, "Caf\xE9");
  exchange::PutNumber(sheet, 3, 0, 7, kCellSpillValue);
  PutFormula(sheet, 0, 1, "=R1C1*3");
  PutFormula(sheet, 1, 1, "=R2C1/7");
  PutFormula(sheet, 2, 1, "=R3C1&\" & \"\"more\"\"\"");
  PutFormula(sheet, 3, 1, "=R4C1/0");
  PutFormula(sheet, 4, 1, "=\"2026-12-11\"");
  PutFormula(sheet, 5, 1, "=\"12.5%\"");
  PutFormula(sheet, 6, 1, "=\"=R1C1\"");
  CalculateAndStamp(book.get(), sheet);
  return book;
}

CWorkSheet* SheetNamed(CWorkBook* book, const char* name) {
  for (CWorkSheetTree::CTreeItem* item = book->firstItem; item; item = item->next)
    if (std::strcmp(item->name, name) == 0)
      return CWorkSheet::FromItem(item);
  return nullptr;
}

class FileBytes : public ::testing::Test {
 protected:
  void SetUp() override { OsSetClockForTesting(FixedClock); }
  void TearDown() override { OsSetClockForTesting(nullptr); }

  // Columns 7 x 16 pixels to a character on the screen, as everywhere.
  FakeTextMeasurer screen_;
};

TEST_F(FileBytes, NativeBinaryInEveryProtectionMode) {
  for (uint8_t mode = 0; mode < 5; ++mode) {
    auto book = mode == 0 ? FixedWorkbook() : SmallWorkbook();
    book->protectionMode = mode;
    std::snprintf(book->password, sizeof book->password, "%s", mode ? kPassword : "");
    const std::string name = "workbook_mode" + std::to_string(mode) + ".tlv";
    ASSERT_TRUE(filetest::SaveTo(book.get(), WorkingPath(name))) << name << " error " << int(book->error);
    ExpectGolden(WorkingPath(name), name);
  }
}

TEST_F(FileBytes, NativeXml) {
  auto book = FixedWorkbook();
  const std::string path = WorkingPath("workbook.xml");
  ASSERT_TRUE(exchange::SaveWith(book.get(), path, [&](CWorkBook* b) { return SaveXml(b, &screen_.Measurer()); }))
      << int(book->error);
  ExpectGolden(path, "workbook.xml");
}

TEST_F(FileBytes, ExcelXmlExport) {
  auto book = FixedWorkbook();
  // The save command stamps the user and the time; the user is set after.
  StampExcelProperties(book.get(), true);
  DocumentPropertyTexts& properties = book->documentProperties;
  std::snprintf(properties.author, sizeof properties.author, "%s", kUser);
  std::snprintf(properties.lastAuthor, sizeof properties.lastAuthor, "%s", kUser);
  std::snprintf(properties.company, sizeof properties.company, "Talvero & Sons");
  const std::string path = WorkingPath("workbook_excel.xml");
  ASSERT_TRUE(filetest::SaveExcelXmlTo(book.get(), path, &screen_.Measurer())) << int(book->error);
  ExpectGolden(path, "workbook_excel.xml");
}

TEST_F(FileBytes, TextFilesInEveryCharacterSetAndLayout) {
  const struct {
    const char* name;
    uint8_t charset;
    char separator;
    char quote;
    bool fixedWidths;
  } files[] = {
      {"text_utf8_comma.csv", kTextCharsetUtf8, ',', '"', false},
      {"text_ansi_semicolon.csv", kTextCharsetAnsi, ';', '"', false},
      {"text_oem_tab.txt", kTextCharsetOem, '\t', '"', false},
      {"text_utf8_bar_single_quote.txt", kTextCharsetUtf8, '|', '\'', false},
      {"text_ansi_fixed.txt", kTextCharsetAnsi, ',', '"', true},
      {"text_oem_fixed.txt", kTextCharsetOem, ',', '"', true},
  };
  for (const auto& file : files) {
    if (file.charset == kTextCharsetOem && OemCodePage() != kCodePageOemUnitedStates) {
      // The golden files are in the OEM code page of an English system.
      std::printf("%s not compared: the system's OEM code page is %u\n", file.name, unsigned(OemCodePage()));
      continue;
    }
    auto book = FixedWorkbook();
    TextFileOptions& options = book->textFileOptions;
    options = TextFileOptions{};
    options.charset = file.charset;
    options.separator = file.separator;
    options.quote = file.quote;
    if (file.fixedWidths) {
      options.fixedWidth = 1;
      const uint16_t widths[] = {14, 0, 12, 6, 10, 3, 0, 5};
      std::memcpy(options.widths, widths, sizeof widths);
    }
    const std::string path = WorkingPath(file.name);
    ASSERT_TRUE(exchange::SaveWith(book.get(), path, [](CWorkBook* b) { return b->SaveText(b->activeWorksheet); }))
        << file.name << " error " << int(book->error);
    ExpectGolden(path, file.name);
  }
}

std::string MemoName(const std::string& table, uint8_t dialect) {
  char name[kFilePathSize];
  return XBaseMemoFileName(table.c_str(), name, sizeof name, dialect) ? name : "";
}

TEST_F(FileBytes, XBaseTablesOfEveryDialectInBothCodePages) {
  const struct {
    const char* name;
    uint8_t dialect;
    uint8_t memoVersion;
  } dialects[] = {{"dbase3", kXBaseDBaseIII, 0x83},
                  {"dbase4", kXBaseDBaseIV, 0x8B},
                  {"foxpro", kXBaseFoxPro, 0xF5},
                  {"clipper", kXBaseClipper, 0x83}};
  for (const auto& d : dialects) {
    for (const uint8_t codePage : {kXBaseCodePageAnsi, kXBaseCodePageOem}) {
      const std::string name =
          std::string("table_") + d.name + (codePage == kXBaseCodePageAnsi ? "_ansi" : "_oem") + ".dbf";
      if (codePage == kXBaseCodePageOem && OemCodePage() != kCodePageOemUnitedStates) {
        std::printf("%s not compared: the system's OEM code page is %u\n", name.c_str(), unsigned(OemCodePage()));
        continue;
      }
      auto book = FixedWorkbook();
      CWorkSheet* sheet = SheetNamed(book.get(), "Table");
      ASSERT_NE(sheet, nullptr);
      XBaseTable& table = book->xbaseTable;
      table.dialect = d.dialect;
      table.codePage = codePage;
      ASSERT_TRUE(book->BuildXBaseFields(sheet, &table)) << name << " error " << int(book->error);
      // The derived fields, then changed as a user would in the xBase dialog.
      const struct {
        uint32_t field;
        char type;
        uint8_t length;
        uint8_t decimals;
      } edits[] = {{1, 'N', 8, 0},  {2, 'N', 12, 2}, {4, 'D', 8, 0},  {5, 'L', 1, 0},  {6, 'M', 10, 0},
                   {8, 'Y', 20, 4}, {9, 'I', 11, 0}, {10, 'B', 10, 0}, {11, 'T', 8, 0}};
      uint32_t recordLength = 1;
      for (const auto& edit : edits) {
        uint8_t* field = XBaseFieldAt(table, edit.field);
        ASSERT_NE(field, nullptr) << name;
        field[kXBaseFieldType] = uint8_t(edit.type);
        field[kXBaseFieldLength] = edit.length;
        field[kXBaseFieldDecimals] = edit.decimals;
      }
      for (uint32_t i = 0; i < XBaseFieldCount(table); ++i)
        recordLength += XBaseFieldWidth(XBaseFieldAt(table, i), d.dialect);
      table.header[kXBaseHeaderRecordLength] = uint8_t(recordLength);
      table.header[kXBaseHeaderRecordLength + 1] = uint8_t(recordLength >> 8);
      table.header[kXBaseHeaderVersion] = d.memoVersion;
      const std::string path = WorkingPath(name);
      std::remove(MemoName(path, d.dialect).c_str());
      ASSERT_TRUE(exchange::SaveWith(book.get(), path, [sheet](CWorkBook* b) { return b->SaveXBase(sheet); }))
          << name << " error " << int(book->error);
      ExpectGolden(path, name);
      const std::string memo = MemoName(name, d.dialect);
      ExpectGolden(MemoName(path, d.dialect), memo);
    }
  }
}

}  // namespace
