// Export then import: random workbooks come back with the same cells,
// formats, sizes and settings, as far as the format carries them.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "tests/files/excel_xml/excel_xml_support.h"
#include "tests/test_seed.h"

namespace {

class RandomBook {
 public:
  explicit RandomBook(uint32_t seed) : random_(seed) {}

  std::unique_ptr<CWorkBook> Make() {
    auto book = std::make_unique<CWorkBook>();
    std::snprintf(book->documentProperties.author, kDocumentPropertyNameSize, "%s", Text(20).c_str());
    std::snprintf(book->documentProperties.created, kDocumentPropertyTimeSize, "2026-12-07T10:00:00Z");
    std::snprintf(book->documentProperties.version, kDocumentPropertyNameSize, "10.2625");
    for (int i = 1 + int(Below(4)); i > 0; --i) MakeStyle(book.get());
    for (int s = 1 + int(Below(3)); s > 0; --s) {
      CWorkSheet* sheet = excelxml::AddSheet(book.get(), ("Sheet " + std::to_string(s)).c_str());
      FillSheet(book.get(), sheet);
      if (Below(2))
        book->activeWorksheet = sheet;
    }
    return book;
  }

 private:
  uint32_t Below(uint32_t n) { return uint32_t(random_() % n); }
  uint32_t Color() { return Below(0x1000000); }

  // Printable bytes of the code page, blanks in runs among them.
  std::string Text(uint32_t longest) {
    std::string text;
    for (uint32_t n = Below(longest + 1); n > 0; --n) {
      const uint32_t kind = Below(10);
      text.push_back(kind < 2 ? ' ' : kind < 3 ? char(0x80 + Below(0x80)) : char(0x21 + Below(0x5E)));
    }
    return text;
  }

  void MakeStyle(CWorkBook* book) {
    FontRecord font{};
    std::snprintf(font.faceName, sizeof font.faceName, "%s", Below(2) ? "Arial" : "Courier New");
    font.family = uint8_t(Below(6));
    font.size = uint8_t(6 + Below(30));
    font.weight = Below(2) ? kFontWeightBold : kFontWeightNormal;
    font.italic = uint8_t(Below(2));
    font.underline = uint8_t(Below(2));
    StyleRecord style = StyleRecord::Default();
    book->styles.FindOrAddFont(font, &style.fontIndex);
    style.fontColorSet = 1;
    style.fontColor = Color();
    static const uint8_t kVertical[] = {0, 4, 5, 7};
    style.alignment.vertical = kVertical[Below(4)];
    style.alignment.horizontal = uint8_t(1 + Below(3));
    style.alignment.horizontalIndent = uint8_t(Below(20));
    style.alignment.wrapText = uint8_t(Below(2));
    style.alignment.rotation = int8_t(int(Below(181)) - 90);
    style.borders.sides = uint8_t(Below(64));
    style.borders.line = BorderLine{uint8_t(1 + Below(9)), 1, {}, Color()};
    style.interior.pattern = uint8_t(Below(19));
    style.interior.patternColorSet = style.interior.backgroundColorSet = 1;
    style.interior.patternColor = Color();
    style.interior.backgroundColor = Color();
    if (Below(2)) {
      style.numFormat.category = kNumFormatUserPattern;
      std::snprintf(style.numFormat.code, sizeof style.numFormat.code, "0.00;[Red]-0.00 \"<&>\"");
    } else {
      style.numFormat.category = kNumFormatPercent;
      style.numFormat.options.number.fixedDecimals = 1;
      style.numFormat.options.number.decimals = uint8_t(Below(5));
    }
    uint16_t index = 0;
    book->styles.FindOrAddStyle(style, &index);
  }

  void FillSheet(CWorkBook* book, CWorkSheet* sheet) {
    uint8_t record[4096];
    uint32_t lastRow = 0;
    for (int i = int(Below(60)); i > 0; --i) {
      const uint32_t row = Below(40);
      const uint16_t column = uint16_t(Below(12));
      lastRow = std::max(lastRow, row);
      uint32_t size = 0;
      switch (Below(5)) {
        case 0: {
          const std::string text = Text(30);
          size = BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size()));
          break;
        }
        case 1: {
          double value;
          uint64_t bits = (uint64_t(random_()) << 32) | random_();
          std::memcpy(&value, &bits, sizeof value);
          if (!std::isfinite(value)) {
            value = -0.1;
          }
          size = BuildNumberCell(record, sizeof record, row, column, value);
          break;
        }
        case 2:
          size = BuildNumberCell(record, sizeof record, row, column, 0, uint8_t(kErrorCodeStep * (1 + Below(7))));
          break;
        default: {
          const std::string formula = "=R[1]C+" + std::to_string(Below(100)) + "&\"a  b\"";
          FormulaCellFields fields;
          fields.formula = formula.c_str();
          fields.formulaLength = uint16_t(formula.size());
          const std::string cached = Text(10);
          switch (Below(4)) {
            case 0:
              fields.resultFlags = kResultCachedNumber;
              fields.cachedNumber = Below(1000) / 7.0;
              break;
            case 1:
              fields.cachedText = cached.c_str();
              fields.cachedTextLength = uint16_t(cached.size());
              break;
            case 2:
              fields.resultFlags = kResultCachedNumber;
              fields.typeExtra = kErrorValue;
              break;
            default:
              break;
          }
          size = BuildFormulaCell(record, sizeof record, row, column, fields);
          break;
        }
      }
      ASSERT_NE(size, 0u);
      excelxml::PutCell(sheet, record);
    }
    SheetFormat& format = sheet->format;
    const uint16_t styles = book->styles.styleCount;
    for (int i = int(Below(6)); i > 0; --i) {
      ColumnRecord& column = format.columns[Below(20)];
      // 63 pixels is the default width, which is not written.
      column.SetWidth(uint16_t(64 + Below(200)), Below(2) != 0);
      column.SetStyle(uint16_t(Below(styles)));
    }
    for (int i = int(Below(5)); i > 0; --i) {
      const uint16_t first = uint16_t(Below(15));
      const uint32_t row = Below(lastRow + 1);
      format.runs.ClearRect(first, uint16_t(first + 3), row, row, nullptr, false);
      ASSERT_TRUE(format.runs.InsertRun(StyleRun{first, uint16_t(first + Below(4)), row, uint16_t(Below(styles))}, nullptr));
    }
    for (uint32_t row = 0; row <= lastRow; ++row) {
      if (Below(4) == 0) {
        ASSERT_TRUE(format.rows.SetRow(row, uint16_t(10 + Below(60)), true));
      }
    }
    PageSettings& page = sheet->pageSettings;
    page.landscape = uint8_t(Below(2));
    page.alignment = uint8_t(Below(2) * 2 + Below(2) * 16);
    page.firstPageNumber = uint16_t(1 + Below(9));
    page.scale = uint16_t(10 + Below(400));
    page.copies = uint16_t(1 + Below(9));
    page.marginLeft = Below(5000) / 100.0;
    page.marginBottom = Below(5000) / 100.0;
    std::snprintf(page.footerText, sizeof page.footerText, "%s", Text(40).c_str());
    sheet->viewFormat.gridLines = uint8_t(Below(2));
    WorksheetViewState* view = ViewStateOf(&sheet->viewFormat);
    view->topLeft = ViewCorner{uint16_t(Below(30)), Below(300), 9};
    view->selection[0] = view->selection[1] = ViewCorner{uint16_t(Below(30)), Below(300), 9};
  }

  std::mt19937 random_;
};

std::string CellText(const CellRecord* cell) {
  if (!cell)
    return "none";
  std::string text = std::to_string(cell->Kind()) + "/" + std::to_string(cell->ErrorCode() >= kErrorMemory ? uint8_t(kErrorNA) : cell->ErrorCode());
  if (cell->IsText())
    return text + " text " + std::string(cell->Text(), cell->TextLength());
  if (cell->IsNumber()) {
    char number[40];
    std::snprintf(number, sizeof number, " %.17g", cell->Number());
    return text + number;
  }
  text += " " + std::string(cell->FormulaText(), cell->FormulaLength());
  if (cell->HasCachedText())
    text += " text " + std::string(cell->CachedText(), cell->CachedTextLength());
  else if (cell->ResultFlags() & kResultCachedNumber)
    text += " " + std::to_string(cell->CachedNumber());
  return text;
}

void ExpectSameStyle(const CWorkBook& a, uint16_t ia, const CWorkBook& b, uint16_t ib, const std::string& where) {
  const StyleRecord& x = a.styles.StyleAt(ia);
  const StyleRecord& y = b.styles.StyleAt(ib);
  const FontRecord& fx = a.styles.FontAt(x.fontIndex);
  const FontRecord& fy = b.styles.FontAt(y.fontIndex);
  EXPECT_STREQ(fx.faceName, fy.faceName) << where;
  EXPECT_EQ(fx.family, fy.family) << where;
  EXPECT_EQ(fx.size, fy.size) << where;
  EXPECT_EQ(fx.weight, fy.weight) << where;
  EXPECT_EQ(fx.italic, fy.italic) << where;
  EXPECT_EQ(fx.underline, fy.underline) << where;
  EXPECT_EQ(x.fontColorSet, y.fontColorSet) << where;
  if (x.fontColorSet) {
    EXPECT_EQ(uint32_t(x.fontColor), uint32_t(y.fontColor)) << where;
  }
  EXPECT_EQ(std::memcmp(&x.alignment, &y.alignment, sizeof x.alignment), 0) << where;
  EXPECT_EQ(x.borders.sides, y.borders.sides) << where;
  if (x.borders.sides) {
    EXPECT_EQ(x.borders.line.style, y.borders.line.style) << where;
    EXPECT_EQ(uint32_t(x.borders.line.color), uint32_t(y.borders.line.color)) << where;
  }
  EXPECT_EQ(x.interior.pattern, y.interior.pattern) << where;
  if (x.interior.pattern) {
    EXPECT_EQ(uint32_t(x.interior.patternColor), uint32_t(y.interior.patternColor)) << where;
    if (x.interior.pattern != 1) {
      EXPECT_EQ(uint32_t(x.interior.backgroundColor), uint32_t(y.interior.backgroundColor)) << where;
    }
  }
  EXPECT_EQ(x.numFormat.category, y.numFormat.category) << where;
  if (x.numFormat.category == kNumFormatUserPattern) {
    EXPECT_STREQ(x.numFormat.code, y.numFormat.code) << where;
  } else if (x.numFormat.category == kNumFormatPercent) {
    EXPECT_EQ(x.numFormat.options.number.decimals, y.numFormat.options.number.decimals) << where;
  }
}

void ExpectSameSheet(CWorkBook& a, CWorkSheet& x, CWorkBook& b, CWorkSheet& y) {
  uint32_t lastRow = 0;
  uint16_t lastColumn = 0;
  x.cells.GetUsedRange(nullptr, &lastColumn, nullptr, &lastRow);
  for (uint32_t row = 0; row <= lastRow + 1; ++row)
    for (uint16_t column = 0; column <= 20; ++column) {
      const std::string where = std::string(x.name) + " r" + std::to_string(row) + "c" + std::to_string(column);
      EXPECT_EQ(CellText(x.cells.GetCell(row, column)), CellText(y.cells.GetCell(row, column))) << where;
      ExpectSameStyle(a, x.format.CellStyle(row, column), b, y.format.CellStyle(row, column), where);
    }
  for (uint32_t c = 0; c < 20; ++c) {
    EXPECT_EQ(x.format.columns[c].Width(), y.format.columns[c].Width()) << c;
    EXPECT_EQ(x.format.columns[c].WidthFixed(), y.format.columns[c].WidthFixed()) << c;
  }
  for (uint32_t row = 0; row < x.format.rows.Count(); ++row)
    if (*x.format.rows.At(row) & RowTable::kFixedHeight) {
      ASSERT_LT(row, y.format.rows.Count());
      EXPECT_EQ(*x.format.rows.At(row), *y.format.rows.At(row)) << row;
    }
  const PageSettings& p = x.pageSettings;
  const PageSettings& q = y.pageSettings;
  EXPECT_EQ(p.landscape, q.landscape);
  EXPECT_EQ(p.alignment, q.alignment);
  EXPECT_EQ(int(p.firstPageNumber), int(q.firstPageNumber));
  EXPECT_EQ(int(p.scale), int(q.scale));
  EXPECT_EQ(int(p.copies), int(q.copies));
  // Margins travel in thousandths of an inch, and come back in thousandths
  // of a millimetre.
  EXPECT_NEAR(double(p.marginLeft), double(q.marginLeft), 0.0133);
  EXPECT_NEAR(double(p.marginBottom), double(q.marginBottom), 0.0133);
  EXPECT_STREQ(p.footerText, q.footerText);
  EXPECT_EQ(x.viewFormat.gridLines, y.viewFormat.gridLines);
  const WorksheetViewState* u = ViewStateOf(&x.viewFormat);
  const WorksheetViewState* v = ViewStateOf(&y.viewFormat);
  EXPECT_EQ(uint32_t(u->topLeft.row), uint32_t(v->topLeft.row));
  EXPECT_EQ(int(u->topLeft.column), int(v->topLeft.column));
  EXPECT_EQ(uint32_t(u->selection[0].row), uint32_t(v->selection[0].row));
  EXPECT_EQ(int(u->selection[0].column), int(v->selection[0].column));
}

TEST(ExcelXmlRoundTrip, RandomWorkbooksComeBack) {
  for (uint32_t seed = TestSeed(11), end = seed + 20; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    auto book = RandomBook(seed).Make();
    uint8_t error = 0;
    const std::string text = excelxml::SaveExcelText(book.get(), &error);
    ASSERT_EQ(error, 0);
    ASSERT_TRUE(xmldoc::WellFormed(text));
    auto back = excelxml::LoadExcelText(text, &error);
    ASSERT_EQ(error, 0) << back->xmlErrorLine;
    EXPECT_STREQ(book->documentProperties.author, back->documentProperties.author);
    EXPECT_STREQ(book->activeWorksheet->name, back->activeWorksheet->name);
    ASSERT_EQ(book->worksheetCount, back->worksheetCount);
    CWorkSheetTree::CTreeItem* y = back->firstItem;
    for (CWorkSheetTree::CTreeItem* x = book->firstItem; x; x = x->next, y = y->next)
      ExpectSameSheet(*book, *CWorkSheet::FromItem(x), *back, *CWorkSheet::FromItem(y));
    if (::testing::Test::HasFailure())
      break;
  }
}

}  // namespace
