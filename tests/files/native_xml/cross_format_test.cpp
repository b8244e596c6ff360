// The same generated workbook saved in the binary format and in the native
// XML format, each loaded back, must come out equal: the two native formats
// carry the same workbook, its containers and charts included.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "core/base/scheme_colors.h"
#include "core/model/worksheet_view_state.h"
#include "core/numfmt/format_code_builder.h"
#include "core/workbook/workbook.h"
#include "files/dispatch/document_file.h"
#include "files/dispatch/native_kind.h"
#include "files/native_binary/record_checks.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/native_xml_support.h"
#include "tests/files/native_xml/random_containers.h"
#include "tests/files/sample_workbook.h"

namespace {

// Workbooks whose every field lies where both formats can carry it: what
// the XML format leaves to defaults (an unset colour, the options a
// category does not use) holds those defaults.
// Page values past their ranges are carried as the nearest within them, by
// both formats alike. With controls, cell texts hold every byte value.
class CanonicalMaker {
 public:
  CanonicalMaker(uint32_t seed, bool controls) : random_(seed), controls_(controls) {}

  std::unique_ptr<CWorkBook> Workbook() {
    auto book = std::make_unique<CWorkBook>();
    book->saveKind = 5;
    std::snprintf(book->lastModification.user, sizeof book->lastModification.user, "%s", Text(30).c_str());
    std::snprintf(book->lastModification.date, sizeof book->lastModification.date, "2026-12-07T11:%02u:00",
                  Below(60));
    book->panes = PaneLayout{uint16_t(Below(2)), uint16_t(Below(600)), uint16_t(Below(2)), uint16_t(Below(400))};
    std::snprintf(book->dropDownLists[Below(100)].name, sizeof book->dropDownLists[0].name, "%s", Text(20).c_str());
    MakeFonts(&book->styles);
    for (uint32_t n = 2 + Below(30); n > 0; --n) book->styles.styles[book->styles.styleCount++] = Style(book->styles);
    for (int s = 0; s < 3; ++s) {
      if (s == 1)
        book->InsertItems(NewFolderItem(Text(10).c_str(), 1, uint8_t(Below(2))), nullptr);
      CWorkSheet* sheet = NewWorksheet(("Sheet " + std::to_string(s)).c_str(), uint16_t(s == 0 ? 1 : 2));
      book->InsertItems(sheet, nullptr);
      Fill(book.get(), sheet);
      for (uint32_t n = Below(3); n > 0; --n) sheet->AddContainer(Container(++containerIds_));
      if (!book->activeWorksheet || Below(2))
        book->activeWorksheet = sheet;
    }
    book->evaluator.owner = book.get();
    book->evaluator.sheet = &book->activeWorksheet->cells;
    return book;
  }

 private:
  uint32_t Below(uint32_t n) { return n ? uint32_t(random_() % n) : 0; }
  uint32_t Colour() { return Below(0x1000000); }
  std::string Text(uint32_t maxLength) {
    std::string text;
    for (uint32_t i = Below(maxLength + 1); i > 0; --i) text.push_back(char(32 + Below(224)));
    return text;
  }
  // Up to the longest text a cell record takes.
  std::string CellText() {
    std::string text;
    for (uint32_t i = Below(Below(10) == 0 ? 8174 : 101); i > 0; --i)
      text.push_back(char(controls_ ? Below(256) : 32 + Below(224)));
    return text;
  }

  void MakeFonts(StyleTable* table) {
    for (uint32_t n = 1 + Below(8); n > 0; --n) {
      FontRecord& font = table->fonts[table->fontCount++];
      std::memset(&font, 0, sizeof font);
      std::snprintf(font.faceName, sizeof font.faceName, "%s", Text(127).c_str());
      font.family = uint8_t(Below(6));
      font.size = uint8_t(Below(255));
      font.weight = uint8_t(Below(4));
      font.italic = uint8_t(Below(2));
      font.underline = uint8_t(Below(2));
      font.strikeOut = uint8_t(Below(2));
      font.charSet = uint8_t(Below(17));
    }
  }

  void Options(NumFormatParams* format) {
    NumFormatOptions& o = format->options;
    switch (format->category) {
      case kNumFormatGeneral:
        o.number.fixedDecimals = uint8_t(Below(2));
        o.number.decimals = uint8_t(o.number.fixedDecimals ? Below(15) : 0);
        o.number.leadingZeros = uint8_t(Below(2));
        o.number.integerDigits = uint8_t(o.number.leadingZeros ? Below(15) : 0);
        o.number.grouping = uint8_t(Below(2));
        o.number.negativeStyle = uint8_t(Below(4));
        break;
      case kNumFormatCurrency:
      case kNumFormatAccounting:
        std::snprintf(o.currency.symbol, sizeof o.currency.symbol, "%s", Text(14).c_str());
        o.currency.decimals = uint8_t(Below(15));
        if (format->category == kNumFormatCurrency) {
          o.currency.symbolPosition = uint8_t(Below(4));
          o.currency.negativeStyle = uint8_t(Below(4));
        }
        break;
      case kNumFormatDate:
        o.dateTime.dateStyle = uint8_t(Below(11));
        o.dateTime.useLocaleOrder = uint8_t(Below(2));
        break;
      case kNumFormatTime:
        o.dateTime.timeStyle = uint8_t(Below(11));
        break;
      case kNumFormatDateTime:
        o.dateTime = DateTimeFormatOptions{uint8_t(Below(11)), uint8_t(Below(11)), uint8_t(Below(2)),
                                           uint8_t(Below(2)), {}};
        break;
      case kNumFormatPercent:
        o.number.fixedDecimals = 1;
        o.number.decimals = uint8_t(Below(15));
        break;
      case kNumFormatFraction:
        o.fraction.fixedDenominator = uint8_t(Below(2));
        o.fraction.denominatorDigits = uint8_t(o.fraction.fixedDenominator ? 2 : 1 + Below(14));
        o.fraction.denominator = o.fraction.fixedDenominator ? 1 + Below(4000000000u) : 0;
        break;
      case kNumFormatScientific:
        o.scientific.fixedDecimals = uint8_t(Below(2));
        o.scientific.decimals = uint8_t(o.scientific.fixedDecimals ? Below(15) : 0);
        o.scientific.exponentStyle = uint8_t(Below(3));
        o.scientific.exponentValue = uint8_t(o.scientific.exponentStyle ? Below(100) : 0);
        if (o.scientific.exponentStyle == kExponentFixedNegative && !o.scientific.exponentValue)
          o.scientific.exponentStyle = kExponentFixedPositive;
        break;
      case kNumFormatUserPattern:
        std::snprintf(format->code, sizeof format->code, "0.0%u;[Red]-0", Below(10));
        return;
      default:
        return;
    }
    BuildFormatCode(format->category, o, format->code, sizeof format->code, nullptr);
  }

  StyleRecord Style(const StyleTable& table) {
    StyleRecord style = StyleRecord::Default();
    style.numFormat.category = uint8_t(Below(11));
    Options(&style.numFormat);
    style.fontIndex = uint8_t(Below(table.fontCount));
    if ((style.fontColorSet = uint8_t(Below(2))))
      style.fontColor = Colour();
    FillRecord& fill = style.interior;
    fill.pattern = uint8_t(Below(23));
    if (fill.pattern) {
      fill.patternColorSet = uint8_t(Below(2));
      fill.patternColor = fill.patternColorSet ? Colour()
                                               : GetSchemeColor(fill.pattern == 1 ? kSchemeWindow : kSchemeWindowText);
      fill.backgroundColorSet = uint8_t(Below(2));
      fill.backgroundColor = fill.backgroundColorSet ? Colour() : GetSchemeColor(kSchemeWindow);
    }
    if (Below(2)) {
      style.borders.sides = uint8_t(1 + Below(63));
      style.borders.line.style = uint8_t(1 + Below(9));
      style.borders.line.colorSet = uint8_t(Below(2));
      style.borders.line.color = style.borders.line.colorSet ? Colour() : GetSchemeColor(kSchemeWindowText);
    }
    const uint8_t vertical[] = {0, 4, 5, 7};
    style.alignment.vertical = vertical[Below(4)];
    style.alignment.horizontal = uint8_t(Below(4));
    if (Below(2))
      style.alignment = StyleAlignment{style.alignment.vertical, style.alignment.horizontal, uint8_t(Below(255)),
                                       uint8_t(Below(255)), uint8_t(Below(2)), uint8_t(Below(2)),
                                       int8_t(int(Below(181)) - 90), 0};
    if (Below(3) == 0)
      style.dropDown = DropDownRef{uint16_t(1 + Below(100)), uint8_t(Below(2)), uint8_t(Below(2)), uint8_t(Below(2)), 0};
    style.hidden = uint8_t(Below(2));
    style.isProtected = uint8_t(Below(2));
    return style;
  }

  void Fill(CWorkBook* book, CWorkSheet* sheet) {
    static uint8_t record[8192];
    CellCursor cursor;
    for (uint32_t row = Below(4); row < 200; row += 1 + Below(20))
      for (uint16_t column = uint16_t(Below(3)); column < 20; column = uint16_t(column + 1 + Below(6))) {
        if (Below(3) == 0) {
          const std::string text = CellText();
          BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()));
        } else if (Below(2)) {
          BuildNumberCell(record, sizeof record, row, column, double(int32_t(random_())) / 7.0);
        } else {
          FormulaCellFields fields;
          fields.formula = "=R[-1]C*2";
          fields.formulaLength = 9;
          const std::string cached = CellText().substr(0, 8000);
          if (Below(4) == 0) {
            fields.cachedText = cached.data();
            fields.cachedTextLength = uint16_t(cached.size());
          } else {
            fields.resultFlags = kResultCachedNumber;
            fields.cachedNumber = double(Below(1000)) / 3.0;
          }
          BuildFormulaCell(record, sizeof record, row, column, fields);
        }
        sheet->cells.InsertCell(AsCellRecord(record), &cursor);
      }
    const uint16_t styles = book->styles.styleCount;
    SheetFormat& format = sheet->format;
    for (uint32_t n = Below(20); n > 0; --n) {
      ColumnRecord& column = format.columns[Below(kColumnCount)];
      column.SetWidth(uint16_t(1 + Below(4095)), Below(2) != 0);
      column.SetStyle(uint16_t(Below(styles)));
      column.fontHeightWord = uint16_t(Below(2) ? 10 + Below(40) : 0);
    }
    format.ColumnsChanged();
    const uint16_t automatic = format.MaxColumnFontHeight();
    for (uint32_t row = Below(10); row < 3000; row += 1 + Below(400)) {
      const bool fixed = Below(2) != 0;
      uint16_t height = uint16_t(1 + Below(4095));
      if (!fixed && height == automatic)
        ++height;
      format.rows.SetRow(row, height, fixed);
    }
    CellCursor runs;
    for (uint32_t row = Below(50); row < kRowCount; row += 1 + Below(row < 5000 ? 300 : 500000)) {
      // Runs of a row neither touch nor overlap, so none merges on reading.
      for (uint32_t column = Below(10); column < kColumnCount; column += 2 + Below(300)) {
        const uint32_t last = column + Below(50) < kColumnCount ? column + Below(50) : kMaxColumn;
        format.runs.InsertRun(StyleRun{uint16_t(column), uint16_t(last), row, uint16_t(Below(styles))}, &runs);
        column = last;
      }
    }

    WorksheetViewFormat& view = sheet->viewFormat;
    view.zoom = uint16_t(10 + Below(991));
    view.gridLines = uint8_t(Below(2));
    if ((view.gridColorSet = uint8_t(Below(2))))
      view.gridColor = Colour();
    if ((view.headingsColorSet = uint8_t(Below(2))))
      view.headingsColor = Colour();
    if (Below(2)) {
      view.backgroundMode = 2;
      view.imageSizeMode = uint8_t(Below(3));
      std::snprintf(view.imagePath, sizeof view.imagePath, "C:\\pictures\\%s.jpeg", Text(8).c_str());
    } else {
      view.fill.pattern = uint8_t(Below(23));
      if ((view.fill.patternColorSet = uint8_t(Below(2))))
        view.fill.patternColor = Colour();
      else
        view.fill.patternColor = GetSchemeColor(view.fill.pattern <= 1 ? kSchemeWindow : kSchemeWindowText);
    }
    WorksheetViewState& state = *ViewStateOf(&view);
    state.topLeft = ViewCorner{uint16_t(Below(kColumnCount)), Below(kRowCount), kCornerRowGiven | kCornerColumnGiven};
    state.selection[0] = ViewCorner{uint16_t(Below(kColumnCount)), Below(kRowCount), 9};
    state.selection[1] = ViewCorner{uint16_t(Below(kColumnCount)), Below(kRowCount), 9};
    const uint32_t frozen = Below(3);
    state.frozen = frozen == 0 ? ViewCorner{0, 0, 0}
                   : frozen == 1 ? ViewCorner{0, Below(kRowCount), kCornerRowGiven}
                                 : ViewCorner{uint16_t(Below(kColumnCount)), 0, kCornerColumnGiven};

    PageSettings& page = sheet->pageSettings;
    std::snprintf(page.printerName, sizeof page.printerName, "%s", Text(127).c_str());
    std::snprintf(page.sheetSizeName, sizeof page.sheetSizeName, "%s", Text(20).c_str());
    page.landscape = uint8_t(Below(2));
    const uint8_t kinds[] = {kPrintAll, kPrintSelection, kPrintPageList};
    page.printRangeKind = kinds[Below(3)];
    page.fitToSheetSize = uint8_t(page.printRangeKind != kPrintPageList && Below(2));
    page.scale = uint16_t(page.fitToSheetSize ? 100 : Below(1100));
    page.firstPageNumber = uint16_t(Below(65536));
    if (page.printRangeKind == kPrintPageList)
      std::snprintf(page.pages, sizeof page.pages, "1-%u", 1 + Below(99));
    std::snprintf(page.excludedRows, sizeof page.excludedRows, "%s", Text(30).c_str());
    page.copies = uint16_t(Below(4) ? 1 + Below(65534) : Below(2) * 65535);
    page.collate = uint8_t(Below(2));
    page.backToFrontOrder = uint8_t(Below(2));
    page.headerMargin = double(int32_t(random_())) / 1e6;
    page.marginBottom = 1.0 / double(1 + Below(1000));
    // Past its NUL a text field holds zeros, as the XML reader leaves it.
    std::memset(page.footerText, 0, sizeof page.footerText);
    std::snprintf(page.footerText, sizeof page.footerText, "%s", Text(127).c_str());
    std::snprintf(page.headerFont.faceName, sizeof page.headerFont.faceName, "%s", Text(30).c_str());
    page.headerFont.size = uint8_t(Below(255));
    // A new worksheet's header colour is set, and a file leaves it so.
    page.headerColor = Colour();
    page.onFirstPage = uint8_t(Below(2));
    page.pagesPerSheetColumns = uint8_t(Below(256));
    page.pagesPerSheetRows = uint8_t(Below(4) ? 1 + Below(254) : Below(2) * 255);
    page.alignment = uint8_t((1u << Below(3)) | (8u << Below(3)));
    page.rowHeadings = uint8_t(Below(2));
    page.columnHeadings = uint8_t(Below(2));
  }

  // A container with charts as the XML format gives it back, which both
  // formats must then carry unchanged.
  ContainerRecord* Container(uint16_t id) {
    randomcharts::Generator generator{uint32_t(random_())};
    std::unique_ptr<ContainerRecord> drawn(generator.Container(id));
    auto* container = new ContainerRecord;
    randomcharts::ExpectHeader(drawn->header, &container->header);
    for (int k = 0; k < drawn->header.itemCount; ++k) {
      container->items[k].kind = kItemChart;
      // Twice: a legend code beyond the table keeps its font the first time.
      const auto once = randomcharts::ExpectChart(*drawn->items[k].chart);
      container->items[k].chart = randomcharts::ExpectChart(*once).release();
    }
    container->header.itemCount = drawn->header.itemCount;
    return container;
  }

  std::mt19937 random_;
  bool controls_;
  uint16_t containerIds_ = 0;
};

std::unique_ptr<CWorkBook> LoadFile(const char* path) {
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(OpenDocumentFile(book.get(), path));
  EXPECT_TRUE(book->LoadNative(nullptr)) << int(book->error);
  book->bufferedFile.Close();
  return book;
}

void SaveAs(CWorkBook* book, const char* path, bool xml) {
  ASSERT_TRUE(book->bufferedFile.Open(path, "w+b"));
  EXPECT_TRUE(xml ? SaveXml(book) : book->SaveBinary()) << int(book->error);
  book->bufferedFile.Close();
}

TEST(CrossFormat, BinaryAndXmlCarryTheSameWorkbook) {
  const uint32_t seed = sample::TestSeed();
  for (uint32_t round = 0; round < 4; ++round) {
    SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round));
    // Control bytes are written as references XML 1.0 has no place for.
    const bool controls = round % 2 == 1;
    auto book = CanonicalMaker(seed + round, controls).Workbook();
    SaveAs(book.get(), "files_cross.tlv", false);
    SaveAs(book.get(), "files_cross.xml", true);
    auto fromBinary = LoadFile("files_cross.tlv");
    auto fromXml = LoadFile("files_cross.xml");
    EXPECT_EQ(fromXml->saveKind, kNativeXmlPlain);
    for (auto* item = book->firstItem; item; item = item->next)
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
        CheckPageSettings(&sheet->pageSettings);
    EXPECT_EQ(sample::Difference(*book, *fromBinary), "");
    EXPECT_EQ(sample::Difference(*fromBinary, *fromXml), "");
    if (!controls) {
      EXPECT_TRUE(xmldoc::WellFormed(filetest::ReadAll("files_cross.xml")));
    }

    // And back: the XML copy saved in the binary format.
    SaveAs(fromXml.get(), "files_cross.tlv", false);
    EXPECT_EQ(sample::Difference(*book, *LoadFile("files_cross.tlv")), "");

    // The document's save command: a workbook found compressed is saved as
    // plain XML, which reads back as the same workbook.
    fromBinary->saveKind = kNativeXmlGzip;
    std::remove("files_cross_doc.xml");
    ASSERT_TRUE(SaveDocumentFile(fromBinary.get(), "files_cross_doc.xml")) << int(fromBinary->error);
    fromBinary->bufferedFile.Close();
    EXPECT_EQ(filetest::ReadAll("files_cross_doc.xml").compare(0, 5, "<?xml"), 0);
    auto fromDocument = LoadFile("files_cross_doc.xml");
    EXPECT_EQ(fromDocument->saveKind, kNativeXmlPlain);
    EXPECT_EQ(sample::Difference(*fromBinary, *fromDocument), "");
  }
}

}  // namespace

namespace {

// Every first page number the print sheet takes comes back from both native
// files, and from the one saved again in the other.
TEST(CrossFormat, EveryFirstPageNumberThePrintSheetTakesComesBack) {
  auto book = CanonicalMaker(sample::TestSeed(), false).Workbook();
  for (const uint16_t first : {uint16_t(1), uint16_t(2), uint16_t(40000), uint16_t(kMaxFirstPageNumber - 1),
                               kMaxFirstPageNumber}) {
    SCOPED_TRACE(first);
    for (auto* item = book->firstItem; item; item = item->next)
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) sheet->pageSettings.firstPageNumber = first;
    SaveAs(book.get(), "files_first_page.tlv", false);
    SaveAs(book.get(), "files_first_page.xml", true);
    auto fromXml = LoadFile("files_first_page.xml");
    SaveAs(fromXml.get(), "files_first_page_again.tlv", false);
    for (const char* path : {"files_first_page.tlv", "files_first_page.xml", "files_first_page_again.tlv"}) {
      auto loaded = LoadFile(path);
      size_t sheets = 0;
      for (auto* item = loaded->firstItem; item; item = item->next)
        if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
          ++sheets;
          EXPECT_EQ(sheet->pageSettings.firstPageNumber, first) << path;
        }
      EXPECT_EQ(sheets, 3u) << path;
    }
  }
}

}  // namespace
