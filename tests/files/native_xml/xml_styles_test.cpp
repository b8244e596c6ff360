#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/base/scheme_colors.h"
#include "core/numfmt/format_code_builder.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "tests/files/native_xml/native_xml_support.h"

namespace {

using xmldoc::Document;
using xmldoc::LoadXmlText;
using xmldoc::SaveXmlText;

// A style as a file reader produces it: the default's bytes where the file
// says nothing, the code of a predefined category built from its options.
StyleRecord StyleOf(uint8_t category, void (*options)(NumFormatOptions&)) {
  StyleRecord style = StyleRecord::Default();
  style.numFormat.category = category;
  if (options)
    options(style.numFormat.options);
  if (category >= kNumFormatGeneral && category <= kNumFormatScientific)
    BuildFormatCode(category, style.numFormat.options, style.numFormat.code, sizeof style.numFormat.code, nullptr);
  return style;
}

std::unique_ptr<CWorkBook> BookWithStyles() {
  auto book = std::make_unique<CWorkBook>();
  book->InsertItems(NewWorksheet("S", 1), nullptr);
  book->activeWorksheet = CWorkSheet::FromItem(book->firstItem);
  StyleTable& t = book->styles;
  FontRecord font{};
  std::snprintf(font.faceName, sizeof font.faceName, "Sans \"&\" \xE9");
  font.family = 5;
  font.size = 254;
  font.weight = kFontWeightHeavy;
  font.italic = font.underline = font.strikeOut = 1;
  font.charSet = 16;
  t.fonts[t.fontCount++] = font;
  t.fonts[t.fontCount++] = FontRecord{};  // a font with nothing but defaults

  StyleRecord s[] = {
      StyleOf(kNumFormatGeneral,
              [](NumFormatOptions& o) { o.number = NumberFormatOptions{1, 3, 1, 5, 1, kNegativeRedParentheses, {}}; }),
      StyleOf(kNumFormatCurrency,
              [](NumFormatOptions& o) {
                std::snprintf(o.currency.symbol, sizeof o.currency.symbol, "\xA3<&");
                o.currency.decimals = 0;
                o.currency.symbolPosition = kSymbolAfterWithBlank;
                o.currency.negativeStyle = kNegativeRed;
              }),
      StyleOf(kNumFormatAccounting,
              [](NumFormatOptions& o) {
                std::snprintf(o.currency.symbol, sizeof o.currency.symbol, "EUR");
                o.currency.decimals = 4;
              }),
      StyleOf(kNumFormatDate, [](NumFormatOptions& o) { o.dateTime.dateStyle = 10, o.dateTime.useLocaleOrder = 1; }),
      StyleOf(kNumFormatTime, [](NumFormatOptions& o) { o.dateTime.timeStyle = 9; }),
      StyleOf(kNumFormatDateTime,
              [](NumFormatOptions& o) { o.dateTime = DateTimeFormatOptions{3, 4, 1, 1, {}}; }),
      StyleOf(kNumFormatPercent, [](NumFormatOptions& o) { o.number.fixedDecimals = 1, o.number.decimals = 14; }),
      StyleOf(kNumFormatFraction, [](NumFormatOptions& o) { o.fraction.denominatorDigits = 14; }),
      StyleOf(kNumFormatFraction,
              [](NumFormatOptions& o) {
                o.fraction.fixedDenominator = 1;
                o.fraction.denominatorDigits = 2;
                o.fraction.denominator = 16;
              }),
      StyleOf(kNumFormatScientific,
              [](NumFormatOptions& o) { o.scientific = ScientificFormatOptions{1, 2, kExponentFixedNegative, 5, {}}; }),
      StyleOf(kNumFormatScientific, [](NumFormatOptions& o) { o.scientific.exponentStyle = kExponentFixedPositive; }),
      StyleOf(kNumFormatUserPattern, nullptr),
      StyleOf(kNumFormatDefault, nullptr),
  };
  std::snprintf(s[11].numFormat.code, sizeof s[11].numFormat.code, "0.00 \"<&>\";[Red]-0.00");
  StyleRecord& last = s[12];
  last.fontIndex = 1;
  last.fontColorSet = 1;
  last.fontColor = 0x00123456;
  last.interior = FillRecord{7, 1, {}, 0x00ABCDEF, 1, {}, 0x00010203};
  last.borders.sides = kBorderLeft | kBorderDiagonalRight | kBorderBottom;
  last.borders.line = BorderLine{9, 1, {}, 0x00FEDCBA};
  last.alignment = StyleAlignment{kVAlignBottom, kHAlignCentre, 0, 254, 1, 1, -90, 0};
  last.dropDown = DropDownRef{100, 1, 0, 1, 0};
  last.hidden = 1;
  last.isProtected = 1;
  s[3].interior = FillRecord{1, 0, {}, GetSchemeColor(kSchemeWindow), 0, {}, GetSchemeColor(kSchemeWindow)};
  s[4].borders.sides = kBorderTop;
  s[4].borders.line = BorderLine{1, 0, {}, GetSchemeColor(kSchemeWindowText)};
  for (const StyleRecord& style : s) t.styles[t.styleCount++] = style;
  book->evaluator.owner = book.get();
  book->evaluator.sheet = &book->activeWorksheet->cells;
  return book;
}

TEST(XmlStyles, EveryFontFieldAndNumberFormatReadsBackByteForByte) {
  auto book = BookWithStyles();
  uint8_t error = 0xFF;
  const std::string text = SaveXmlText(book.get(), &error);
  ASSERT_EQ(error, 0);
  EXPECT_TRUE(xmldoc::WellFormed(text));
  for (const char* fragment : {"<Scientific  DecimalDigits=\"2\" Exponent=\"-5\"/>", "<Fraction  Denominator=\"16\"/>",
                               "<Protection Protected=\"1\" Hidden=\"1\"/>", "CharSet=\"Thai\"",
                               "<Borders Style=\"Double\" Color=\"#badcfe\">Left Bottom DiagonalRight</Borders>",
                               "<Alignment/>"})
    EXPECT_NE(text.find(fragment), std::string::npos) << fragment;
  auto loaded = LoadXmlText(text, &error);
  ASSERT_EQ(error, 0) << text;
  const StyleTable& a = book->styles;
  const StyleTable& b = loaded->styles;
  ASSERT_EQ(a.fontCount, b.fontCount);
  ASSERT_EQ(a.styleCount, b.styleCount);
  EXPECT_EQ(0, std::memcmp(a.fonts, b.fonts, sizeof(FontRecord) * a.fontCount));
  for (uint32_t i = 0; i < a.styleCount; ++i)
    EXPECT_EQ(0, std::memcmp(&a.styles[i], &b.styles[i], sizeof(StyleRecord))) << "style " << i;
  EXPECT_EQ(SaveXmlText(loaded.get(), &error), text);
}

TEST(XmlStyles, OnlyTheDefaultsWriteAnEmptyStylesElement) {
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  uint8_t error;
  const std::string text = SaveXmlText(book.get(), &error);
  EXPECT_NE(text.find("<Styles>\r\n</Styles>\r\n\r\n"), std::string::npos);
}

std::string Styles(const std::string& inside) { return Document("", "<Styles>" + inside + "</Styles>"); }

TEST(XmlStyles, ReaderRulesTable) {
  const std::string font = "<Font ID=\"1\" Name=\"A\"/>";
  struct Case {
    std::string document;
    int error;
  };
  const Case cases[] = {
      {Styles(""), 0},
      {Document("", "<Styles/>"), 0},
      {Styles("<Font ID=\"1\" CharSet=\"Chineese\" Weight=\"Regular\" Slant=\"Roman\"/>"), 0},
      {Styles("<Font CharSet=\"Chinese\"/>"), kFileXmlBadAttribute},
      {Styles("<Font ID=\"2\"/>"), kFileXmlBadAttribute},
      {Styles("<Font ID=\"128\"/>"), kFileXmlBadData},
      {Styles("<Font Size=\"0\"/>"), kFileXmlBadData},
      {Styles("<Font Name=\"" + std::string(128, 'n') + "\"/>"), kFileXmlBadAttribute},
      {Styles("<Font Weight=\"bold\"/>"), kFileXmlBadAttribute},
      {Styles(font + "<Style ID=\"1\"><FontRef FontID=\"1\"/></Style>"), 0},
      {Styles("<Style><FontRef FontID=\"1\"/></Style>"), kFileXmlBadAttribute},
      {Styles("<Style ID=\"2\"></Style>"), kFileXmlBadAttribute},
      {Styles("<Style ID=\"1\"/>"), kFileXmlUnexpectedElement},
      {Styles("<Style><Alignment/><FontRef/></Style>"), kFileXmlUnexpectedElement},
      {Styles("<Style><Unknown/></Style>"), kFileXmlUnexpectedElement},
      {Styles("<Style><NumberFormat><Currency DecimalDigits=\"2\"/></NumberFormat></Style>"),
       kFileXmlMissingAttribute},
      {Styles("<Style><NumberFormat><Currency Symbol=\"" + std::string(15, 's') + "\"/></NumberFormat></Style>"),
       kFileXmlBadAttribute},
      {Styles("<Style><NumberFormat><Fraction Denominator=\"0\"/></NumberFormat></Style>"), kFileXmlBadData},
      {Styles("<Style><NumberFormat><Scientific Exponent=\"-100\"/></NumberFormat></Style>"), kFileXmlBadData},
      {Styles("<Style><NumberFormat><UserDefined>" + std::string(1025, '0') + "</UserDefined></NumberFormat></Style>"),
       kFileXmlBadData},
      {Styles("<Style><FillPattern PatternType=\"solid\"/></Style>"), kFileXmlBadAttribute},
      {Styles("<Style><FillPattern PatternColor=\"#12345\"/></Style>"), kFileXmlBadAttribute},
      {Styles("<Style><Alignment Rotation=\"91\"/></Style>"), kFileXmlBadData},
      {Styles("<Style><DropDownListRef ListID=\"0\"/></Style>"), kFileXmlBadData},
      {Styles("<Style><Borders Style=\"Double\">" + std::string(1025, 'x') + "</Borders></Style>"), kFileXmlBadData},
  };
  for (const Case& c : cases) {
    uint8_t error = 0;
    LoadXmlText(c.document, &error);
    EXPECT_EQ(error, c.error) << c.document;
  }
  std::string fonts;
  for (int i = 1; i <= 128; ++i) fonts += "<Font/>";
  uint8_t error = 0;
  LoadXmlText(Styles(fonts), &error);
  EXPECT_EQ(error, kFileXmlUnexpectedElement) << "a 129th font";
}

TEST(XmlStyles, ReadingFillsWhatTheFileLeavesOutFromTheDefaultStyle) {
  uint8_t error = 0;
  auto book = LoadXmlText(
      Styles("<Style><Protection Protect=\"1\" HideFormula=\"1\"/><Borders Style=\"Dot\">DiagonalLeft Lefty</Borders>"
             "</Style><Style><FillPattern PatternType=\"Solid\"/><Alignment HorizontalAlignment=\"Default\"/></Style>"
             "<Style><NumberFormat><Fraction/></NumberFormat></Style>"),
      &error);
  ASSERT_EQ(error, 0);
  ASSERT_EQ(book->styles.styleCount, 4);
  const StyleRecord& first = book->styles.styles[1];
  EXPECT_EQ(first.isProtected, 1);
  EXPECT_EQ(first.hidden, 1);
  EXPECT_EQ(first.borders.sides, kBorderDiagonalLeft);
  EXPECT_EQ(first.borders.line.style, 2);
  EXPECT_EQ(uint32_t(first.borders.line.color), GetSchemeColor(kSchemeWindowText));
  EXPECT_EQ(first.numFormat.category, kNumFormatDefault);
  EXPECT_EQ(first.alignment.horizontalIndent, kDefaultHorizontalIndent);
  const StyleRecord& second = book->styles.styles[2];
  EXPECT_EQ(second.interior.pattern, 1);
  EXPECT_EQ(second.interior.patternColorSet, 0);
  EXPECT_EQ(uint32_t(second.interior.patternColor), GetSchemeColor(kSchemeWindow));
  EXPECT_EQ(second.alignment.horizontal, kHAlignNone);
  const StyleRecord& third = book->styles.styles[3];
  EXPECT_EQ(third.numFormat.category, kNumFormatFraction);
  EXPECT_EQ(third.numFormat.options.fraction.denominatorDigits, 2);
  EXPECT_STREQ(third.numFormat.code, "?\\ ?\?/??");
}

// Options that other writers left outside the ranges the reader takes are
// written as the code builder reads them, so a saved file always loads.
TEST(XmlStyles, OptionsOutsideTheirRangesStillWriteALoadableFile) {
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  StyleTable& t = book->styles;
  StyleRecord style = StyleRecord::Default();
  style.numFormat.category = kNumFormatFraction;
  t.styles[t.styleCount++] = style;  // no digits at all
  style.numFormat.options.fraction.fixedDenominator = 1;
  t.styles[t.styleCount++] = style;  // a fixed denominator of 0
  style.numFormat.options.fraction.denominator = uint64_t(1) << 40;
  t.styles[t.styleCount++] = style;
  uint8_t error = 0xFF;
  const std::string text = SaveXmlText(book.get(), &error);
  ASSERT_EQ(error, 0);
  EXPECT_NE(text.find("<Fraction  DenominatorDigits=\"1\"/>"), std::string::npos);
  EXPECT_NE(text.find("<Fraction  Denominator=\"4294967294\"/>"), std::string::npos);
  auto loaded = LoadXmlText(text, &error);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(loaded->styles.styleCount, 4);
}

}  // namespace
