#include "core/styles/style_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>
#include "test_seed.h"

namespace {

using Edit = std::function<void(StyleRecord&)>;

StyleRecord StyleOfCategory(uint8_t category) {
  StyleRecord style = StyleRecord::Default();
  style.numFormat.category = category;
  return style;
}

FontRecord FontNamed(const char* face, uint8_t size = 10) {
  FontRecord font;
  std::memset(&font, 0, sizeof font);
  std::strncpy(font.faceName, face, sizeof font.faceName - 1);
  font.size = size;
  return font;
}

struct EqualityCase {
  const char* name;
  uint8_t category;
  Edit setUp;   // applied to both styles
  Edit change;  // applied to the second only
  bool equal;
};

// Options the category's code is built from make styles differ; options the
// category ignores do not.
TEST(StyleTable, NumberFormatEqualityFollowsTheCategory) {
  auto n = [](StyleRecord& s) -> NumberFormatOptions& { return s.numFormat.options.number; };
  auto c = [](StyleRecord& s) -> CurrencyFormatOptions& { return s.numFormat.options.currency; };
  auto d = [](StyleRecord& s) -> DateTimeFormatOptions& { return s.numFormat.options.dateTime; };
  auto f = [](StyleRecord& s) -> FractionFormatOptions& { return s.numFormat.options.fraction; };
  auto e = [](StyleRecord& s) -> ScientificFormatOptions& { return s.numFormat.options.scientific; };
  const Edit none = [](StyleRecord&) {};
  const Edit fixed = [&](StyleRecord& s) { n(s).fixedDecimals = 1; };
  const Edit otherCode = [](StyleRecord& s) { std::strcpy(s.numFormat.code, "0.000"); };
  const Edit otherOptionBytes = [](StyleRecord& s) { s.numFormat.options.bytes[23] = 9; };

  const EqualityCase cases[] = {
      {"default ignores options", kNumFormatDefault, none, [](StyleRecord& s) { s.numFormat.options.bytes[0] = 1; }, true},
      {"default ignores code", kNumFormatDefault, none, otherCode, true},
      {"other category", kNumFormatGeneral, none, [](StyleRecord& s) { s.numFormat.category = kNumFormatPercent; }, false},

      {"general decimals unused", kNumFormatGeneral, none, [&](StyleRecord& s) { n(s).decimals = 5; }, true},
      {"general decimals used", kNumFormatGeneral, fixed, [&](StyleRecord& s) { n(s).decimals = 5; }, false},
      {"general fixed flag", kNumFormatGeneral, none, fixed, false},
      {"general digits unused", kNumFormatGeneral, none, [&](StyleRecord& s) { n(s).integerDigits = 3; }, true},
      {"general digits used", kNumFormatGeneral, [&](StyleRecord& s) { n(s).leadingZeros = 1; }, [&](StyleRecord& s) { n(s).integerDigits = 3; }, false},
      {"general grouping", kNumFormatGeneral, none, [&](StyleRecord& s) { n(s).grouping = 1; }, false},
      {"general negative", kNumFormatGeneral, none, [&](StyleRecord& s) { n(s).negativeStyle = kNegativeRed; }, false},
      {"general ignores code", kNumFormatGeneral, none, otherCode, true},
      {"general ignores spare bytes", kNumFormatGeneral, none, otherOptionBytes, true},

      {"currency symbol", kNumFormatCurrency, none, [&](StyleRecord& s) { std::strcpy(c(s).symbol, "EUR"); }, false},
      {"currency bytes after the symbol", kNumFormatCurrency, [&](StyleRecord& s) { std::strcpy(c(s).symbol, "$"); }, [&](StyleRecord& s) { c(s).symbol[5] = 'x'; }, true},
      {"currency decimals", kNumFormatCurrency, none, [&](StyleRecord& s) { c(s).decimals = 3; }, false},
      {"currency position", kNumFormatCurrency, none, [&](StyleRecord& s) { c(s).symbolPosition = kSymbolAfter; }, false},
      {"currency negative", kNumFormatCurrency, none, [&](StyleRecord& s) { c(s).negativeStyle = kNegativeParentheses; }, false},

      {"accounting symbol", kNumFormatAccounting, none, [&](StyleRecord& s) { std::strcpy(c(s).symbol, "EUR"); }, false},
      {"accounting decimals", kNumFormatAccounting, none, [&](StyleRecord& s) { c(s).decimals = 3; }, false},
      {"accounting position unused", kNumFormatAccounting, none, [&](StyleRecord& s) { c(s).symbolPosition = kSymbolAfter; }, true},
      {"accounting negative unused", kNumFormatAccounting, none, [&](StyleRecord& s) { c(s).negativeStyle = kNegativeRed; }, true},

      {"date style", kNumFormatDate, none, [&](StyleRecord& s) { d(s).dateStyle = 3; }, false},
      {"date order flag", kNumFormatDate, none, [&](StyleRecord& s) { d(s).useLocaleOrder = 1; }, false},
      {"date ignores time style", kNumFormatDate, none, [&](StyleRecord& s) { d(s).timeStyle = 3; }, true},
      {"date ignores time first", kNumFormatDate, none, [&](StyleRecord& s) { d(s).timeFirst = 1; }, true},
      {"time style", kNumFormatTime, none, [&](StyleRecord& s) { d(s).timeStyle = 3; }, false},
      {"time ignores date style", kNumFormatTime, none, [&](StyleRecord& s) { d(s).dateStyle = 3; }, true},
      {"time ignores order flag", kNumFormatTime, none, [&](StyleRecord& s) { d(s).useLocaleOrder = 1; }, true},
      {"date/time date style", kNumFormatDateTime, none, [&](StyleRecord& s) { d(s).dateStyle = 3; }, false},
      {"date/time time style", kNumFormatDateTime, none, [&](StyleRecord& s) { d(s).timeStyle = 3; }, false},
      {"date/time order flag", kNumFormatDateTime, none, [&](StyleRecord& s) { d(s).useLocaleOrder = 1; }, false},
      {"date/time time first", kNumFormatDateTime, none, [&](StyleRecord& s) { d(s).timeFirst = 1; }, false},

      {"percent decimals unused", kNumFormatPercent, none, [&](StyleRecord& s) { n(s).decimals = 4; }, true},
      {"percent decimals used", kNumFormatPercent, fixed, [&](StyleRecord& s) { n(s).decimals = 4; }, false},
      {"percent ignores grouping", kNumFormatPercent, none, [&](StyleRecord& s) { n(s).grouping = 1; }, true},
      {"percent ignores leading zeros", kNumFormatPercent, none, [&](StyleRecord& s) { n(s).leadingZeros = 1; }, true},

      {"fraction mode", kNumFormatFraction, none, [&](StyleRecord& s) { f(s).fixedDenominator = 1; }, false},
      {"fraction digits", kNumFormatFraction, none, [&](StyleRecord& s) { f(s).denominatorDigits = 3; }, false},
      {"fraction denominator unused", kNumFormatFraction, none, [&](StyleRecord& s) { f(s).denominator = 16; }, true},
      {"fraction denominator used", kNumFormatFraction, [&](StyleRecord& s) { f(s).fixedDenominator = 1; }, [&](StyleRecord& s) { f(s).denominator = 16; }, false},
      {"fraction denominator high word", kNumFormatFraction, [&](StyleRecord& s) { f(s).fixedDenominator = 1; }, [&](StyleRecord& s) { f(s).denominator = 1ull << 32; }, false},
      {"fraction digits unused", kNumFormatFraction, [&](StyleRecord& s) { f(s).fixedDenominator = 1; }, [&](StyleRecord& s) { f(s).denominatorDigits = 3; }, true},

      {"scientific decimals unused", kNumFormatScientific, none, [&](StyleRecord& s) { e(s).decimals = 6; }, true},
      {"scientific decimals used", kNumFormatScientific, [&](StyleRecord& s) { e(s).fixedDecimals = 1; }, [&](StyleRecord& s) { e(s).decimals = 6; }, false},
      {"scientific exponent style", kNumFormatScientific, none, [&](StyleRecord& s) { e(s).exponentStyle = kExponentFixedNegative; }, false},
      {"scientific exponent unused", kNumFormatScientific, none, [&](StyleRecord& s) { e(s).exponentValue = 12; }, true},
      {"scientific exponent used", kNumFormatScientific, [&](StyleRecord& s) { e(s).exponentStyle = kExponentFixedPositive; }, [&](StyleRecord& s) { e(s).exponentValue = 12; }, false},

      {"user pattern code", kNumFormatUserPattern, none, otherCode, false},
      {"user pattern ignores options", kNumFormatUserPattern, none, otherOptionBytes, true},
      {"user pattern bytes after the code", kNumFormatUserPattern, [](StyleRecord& s) { std::strcpy(s.numFormat.code, "0.0"); }, [](StyleRecord& s) { s.numFormat.code[10] = 'x'; }, true},
      {"unknown category options", 11, none, otherOptionBytes, false},
      {"unknown category code", 11, none, otherCode, false},
  };
  for (const EqualityCase& t : cases) {
    StyleRecord a = StyleOfCategory(t.category);
    t.setUp(a);
    StyleRecord b = a;
    t.change(b);
    EXPECT_EQ(t.equal, StyleTable::StylesEqual(a, b)) << t.name;
    EXPECT_EQ(t.equal, StyleTable::StylesEqual(b, a)) << t.name;
  }
}

// Colours count only when their flag is set; every other field counts.
TEST(StyleTable, AttributeEqualityIgnoresOnlyUnusedColours) {
  const Edit none = [](StyleRecord&) {};
  const EqualityCase cases[] = {
      {"font index", 0, none, [](StyleRecord& s) { s.fontIndex = 1; }, false},
      {"font colour unset", 0, none, [](StyleRecord& s) { s.fontColor = 0xFF; }, true},
      {"font colour flag", 0, none, [](StyleRecord& s) { s.fontColorSet = 1; }, false},
      {"font colour set", 0, [](StyleRecord& s) { s.fontColorSet = 1; }, [](StyleRecord& s) { s.fontColor = 0xFF; }, false},
      {"list id", 0, none, [](StyleRecord& s) { s.dropDown.listId = 4; }, false},
      {"list options without a list", 0, none, [](StyleRecord& s) { s.dropDown.sort = 1; s.dropDown.autoAppend = 1; s.dropDown.autoComplete = 1; }, true},
      {"list sort", 0, [](StyleRecord& s) { s.dropDown.listId = 4; }, [](StyleRecord& s) { s.dropDown.sort = 1; }, false},
      {"list append", 0, [](StyleRecord& s) { s.dropDown.listId = 4; }, [](StyleRecord& s) { s.dropDown.autoAppend = 1; }, false},
      {"list complete", 0, [](StyleRecord& s) { s.dropDown.listId = 4; }, [](StyleRecord& s) { s.dropDown.autoComplete = 1; }, false},
      {"border sides", 0, none, [](StyleRecord& s) { s.borders.sides = kBorderTop; }, false},
      {"border style", 0, none, [](StyleRecord& s) { s.borders.line.style = 3; }, false},
      {"border colour unset", 0, none, [](StyleRecord& s) { s.borders.line.color = 0xFF; }, true},
      {"border colour flag", 0, none, [](StyleRecord& s) { s.borders.line.colorSet = 1; }, false},
      {"border colour set", 0, [](StyleRecord& s) { s.borders.line.colorSet = 1; }, [](StyleRecord& s) { s.borders.line.color = 0xFF; }, false},
      {"fill pattern", 0, none, [](StyleRecord& s) { s.interior.pattern = 1; }, false},
      {"pattern colour unset", 0, none, [](StyleRecord& s) { s.interior.patternColor = 0xFF; }, true},
      {"pattern colour set", 0, [](StyleRecord& s) { s.interior.patternColorSet = 1; }, [](StyleRecord& s) { s.interior.patternColor = 0xFF; }, false},
      {"background colour unset", 0, none, [](StyleRecord& s) { s.interior.backgroundColor = 0xFF; }, true},
      {"background colour flag", 0, none, [](StyleRecord& s) { s.interior.backgroundColorSet = 1; }, false},
      {"background colour set", 0, [](StyleRecord& s) { s.interior.backgroundColorSet = 1; }, [](StyleRecord& s) { s.interior.backgroundColor = 0xFF; }, false},
      {"vertical alignment", 0, none, [](StyleRecord& s) { s.alignment.vertical = kVAlignTop; }, false},
      {"horizontal alignment", 0, none, [](StyleRecord& s) { s.alignment.horizontal = kHAlignRight; }, false},
      {"horizontal indent", 0, none, [](StyleRecord& s) { s.alignment.horizontalIndent = 9; }, false},
      {"vertical indent", 0, none, [](StyleRecord& s) { s.alignment.verticalIndent = 9; }, false},
      {"wrap", 0, none, [](StyleRecord& s) { s.alignment.wrapText = 1; }, false},
      {"fit", 0, none, [](StyleRecord& s) { s.alignment.fitToCell = 1; }, false},
      {"rotation", 0, none, [](StyleRecord& s) { s.alignment.rotation = -45; }, false},
      {"hidden", 0, none, [](StyleRecord& s) { s.hidden = 1; }, false},
      {"protected", 0, none, [](StyleRecord& s) { s.isProtected = 1; }, false},
  };
  for (const EqualityCase& t : cases) {
    StyleRecord a = StyleOfCategory(t.category);
    t.setUp(a);
    StyleRecord b = a;
    t.change(b);
    EXPECT_EQ(t.equal, StyleTable::StylesEqual(a, b)) << t.name;
  }

  FontRecord arial = FontNamed("Arial");
  FontRecord other = arial;
  other.faceName[20] = 'x';  // after the NUL: setting a face clears the field, so it counts
  EXPECT_FALSE(StyleTable::FontsEqual(arial, other));
  for (size_t offset = kFaceNameSize; offset < sizeof(FontRecord); ++offset) {
    other = arial;
    reinterpret_cast<uint8_t*>(&other)[offset] = 1;
    EXPECT_FALSE(StyleTable::FontsEqual(arial, other)) << offset;
  }
}

void ExpectSameTable(const StyleTable& expected, const StyleTable& actual) {
  EXPECT_EQ(expected.styleCount, actual.styleCount);
  EXPECT_EQ(expected.fontCount, actual.fontCount);
  EXPECT_EQ(0, std::memcmp(expected.fonts, actual.fonts, sizeof expected.fonts));
  EXPECT_EQ(0, std::memcmp(expected.styles, actual.styles, sizeof expected.styles));
}

struct ByteRange {
  size_t first;
  size_t end;
};

struct ApplyCase {
  int kind;
  std::vector<ByteRange> styleCopied;
  std::vector<ByteRange> fontCopied;
  bool fontChanged;
};

bool InRanges(const std::vector<ByteRange>& ranges, size_t offset) {
  for (const ByteRange& r : ranges) {
    if (offset >= r.first && offset < r.end) return true;
  }
  return false;
}

// Each kind copies exactly its bytes; the number-format kinds clear the rest
// of the number-format part; the font kinds report the font as changed.
TEST(StyleRecord, ApplyAttributeCopiesExactlyItsFields) {
  const ApplyCase cases[] = {
      {kApplyNumberFormat, {{32, 33}, {40, 64}}, {}, false},
      {kApplyUserNumberFormat, {{32, 33}, {64, 64 + 8}}, {}, false},  // "#,##0.0" and NUL
      {kApplyFontSize, {}, {{129, 130}}, true},
      {kApplyFaceName, {}, {{0, 128}}, true},
      {kApplyCharSet, {}, {{134, 135}}, true},
      {kApplyWeight, {}, {{130, 131}}, true},
      {kApplySlant, {}, {{131, 132}}, true},
      {kApplyUnderline, {}, {{132, 133}}, true},
      {kApplyStrikeOut, {}, {{133, 134}}, true},
      {kApplyWholeFont, {}, {{0, 135}}, true},
      {kApplyFontColor, {{1097, 1098}, {1100, 1104}}, {}, false},
      {kApplyDropDown, {{1140, 1146}}, {}, false},
      {kApplyAlignment, {{1132, 1140}}, {}, false},
      {kApplyHorizontalAlignment, {{1133, 1135}}, {}, false},
      {kApplyVerticalAlignment, {{1132, 1133}, {1135, 1136}}, {}, false},
      {kApplyTextControl, {{1136, 1138}}, {}, false},
      {kApplyBorders, {{1120, 1132}}, {}, false},
      {kApplyNothing, {}, {}, false},
      {kApplyInterior, {{1104, 1120}}, {}, false},
      {kApplyProtection, {{1146, 1148}}, {}, false},
      {0, {}, {}, false},
      {21, {}, {}, false},
      {-1, {}, {}, false},
  };
  std::mt19937 random(11);
  for (const ApplyCase& t : cases) {
    SCOPED_TRACE(t.kind);
    StyleRecord target, templ;
    FontRecord targetFont, templFont;
    for (auto* record : {reinterpret_cast<uint8_t*>(&target), reinterpret_cast<uint8_t*>(&templ)}) {
      for (size_t i = 0; i < sizeof(StyleRecord); ++i) record[i] = static_cast<uint8_t>(1 + random() % 255);
    }
    for (auto* record : {reinterpret_cast<uint8_t*>(&targetFont), reinterpret_cast<uint8_t*>(&templFont)}) {
      for (size_t i = 0; i < sizeof(FontRecord); ++i) record[i] = static_cast<uint8_t>(1 + random() % 255);
    }
    std::strcpy(templ.numFormat.code, "#,##0.0");
    std::strcpy(templFont.faceName, "Courier New");
    const StyleRecord before = target;
    const FontRecord fontBefore = targetFont;
    bool fontChanged = false;
    StyleRecord::ApplyAttribute(&target, &targetFont, templ, templFont, &fontChanged, t.kind);
    EXPECT_EQ(t.fontChanged, fontChanged);

    const bool clearsNumberFormat = t.kind == kApplyNumberFormat || t.kind == kApplyUserNumberFormat;
    const auto* got = reinterpret_cast<const uint8_t*>(&target);
    for (size_t i = 0; i < sizeof(StyleRecord); ++i) {
      uint8_t want = reinterpret_cast<const uint8_t*>(&before)[i];
      if (clearsNumberFormat && i >= 32 && i < 1096) want = 0;
      if (InRanges(t.styleCopied, i)) want = reinterpret_cast<const uint8_t*>(&templ)[i];
      ASSERT_EQ(want, got[i]) << "style byte " << i;
    }
    const auto* gotFont = reinterpret_cast<const uint8_t*>(&targetFont);
    for (size_t i = 0; i < sizeof(FontRecord); ++i) {
      uint8_t want = reinterpret_cast<const uint8_t*>(&fontBefore)[i];
      if (InRanges(t.fontCopied, i)) {
        want = reinterpret_cast<const uint8_t*>(&templFont)[i];
        if (t.kind == kApplyFaceName && i > std::strlen(templFont.faceName)) want = 0;
      }
      ASSERT_EQ(want, gotFont[i]) << "font byte " << i;
    }
  }
}

TEST(StyleRecord, ApplyAttributeKeepsTextsTerminated) {
  StyleRecord target = StyleRecord::Default();
  StyleRecord templ = StyleRecord::Default();
  FontRecord font = FontNamed("Arial");
  FontRecord templFont = font;
  templ.numFormat.category = kNumFormatUserPattern;
  std::memset(templ.numFormat.code, '0', kNumFormatCodeSize);  // no NUL at all
  std::memset(templFont.faceName, 'A', kFaceNameSize);
  bool fontChanged = false;
  StyleRecord::ApplyAttribute(&target, &font, templ, templFont, &fontChanged, kApplyUserNumberFormat);
  StyleRecord::ApplyAttribute(&target, &font, templ, templFont, &fontChanged, kApplyFaceName);
  EXPECT_EQ(kNumFormatCodeSize - 1, std::strlen(target.numFormat.code));
  EXPECT_EQ(kFaceNameSize - 1, std::strlen(font.faceName));

  // A record applied onto itself keeps its texts.
  std::strcpy(target.numFormat.code, "0.00");
  StyleRecord::ApplyAttribute(&target, &font, target, font, &fontChanged, kApplyUserNumberFormat);
  StyleRecord::ApplyAttribute(&target, &font, target, font, &fontChanged, kApplyFaceName);
  EXPECT_STREQ("0.00", target.numFormat.code);
  EXPECT_EQ(kFaceNameSize - 1, std::strlen(font.faceName));
}

TEST(StyleTable, InitLeavesOneDefaultStyleAndFont) {
  auto table = std::make_unique<StyleTable>();
  table->styles[300].alignment.horizontalIndent = 0;
  uint8_t arial = 0;
  ASSERT_TRUE(table->FindOrAddFont(FontNamed("Arial"), &arial));
  table->Init();
  EXPECT_EQ(1, table->styleCount);
  EXPECT_EQ(1, table->fontCount);
  const FontRecord zeroFont = FontNamed("", 0);
  for (const FontRecord& font : table->fonts) ASSERT_EQ(0, std::memcmp(&zeroFont, &font, sizeof font));
  for (const StyleRecord& style : table->styles) {
    ASSERT_EQ(kDefaultHorizontalIndent, style.alignment.horizontalIndent);
    ASSERT_EQ(kDefaultVerticalIndent, style.alignment.verticalIndent);
  }
  uint16_t index = 99;
  EXPECT_TRUE(table->FindOrAddStyle(StyleRecord::Default(), &index));
  EXPECT_EQ(0, index);
}

// Bold applied to the cells of two ranges that both held the default style:
// one new font and one new style, found again for the second range.
TEST(StyleTable, EqualFormatsShareOneIndex) {
  auto table = std::make_unique<StyleTable>();
  FontRecord boldTemplate = FontNamed("");
  boldTemplate.weight = kFontWeightBold;
  StyleRecord templ = StyleRecord::Default();
  uint16_t firstStyle = 0;
  for (int range = 0; range < 2; ++range) {
    StyleRecord style = table->StyleAt(0);
    FontRecord font = table->FontAt(style.fontIndex);
    bool fontChanged = false;
    StyleRecord::ApplyAttribute(&style, &font, templ, boldTemplate, &fontChanged, kApplyWeight);
    ASSERT_TRUE(fontChanged);
    uint8_t fontIndex = 0;
    ASSERT_TRUE(table->FindOrAddFont(font, &fontIndex));
    style.fontIndex = fontIndex;
    uint16_t styleIndex = 0;
    ASSERT_TRUE(table->FindOrAddStyle(style, &styleIndex));
    if (range == 0) firstStyle = styleIndex;
    EXPECT_EQ(1, fontIndex);
    EXPECT_EQ(firstStyle, styleIndex);
  }
  EXPECT_EQ(2, table->fontCount);
  EXPECT_EQ(2, table->styleCount);
}

// Random styles from a small pool of values, with noise in fields that do
// not count: two styles get one index exactly when they are equal.
TEST(StyleTable, IndexesMatchEqualityForRandomStyles) {
  const uint32_t seed = TestSeed(2024);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<uint8_t>(random() % n); };
  auto table = std::make_unique<StyleTable>();
  std::vector<StyleRecord> added;
  std::vector<uint16_t> indexes;
  for (int i = 0; i < 3000; ++i) {
    StyleRecord style = StyleRecord::Default();
    style.numFormat.category = pick(12);
    for (int b = 0; b < 4; ++b) style.numFormat.options.bytes[b] = pick(2);
    style.numFormat.options.bytes[pick(24)] = pick(3);
    if (pick(2)) std::strcpy(style.numFormat.code, pick(2) ? "0.0" : "#");
    style.fontIndex = pick(2);
    style.fontColorSet = pick(2);
    style.fontColor = pick(2);
    style.dropDown.listId = pick(2);
    style.dropDown.sort = pick(2);
    style.interior.backgroundColorSet = pick(2);
    style.interior.backgroundColor = pick(2);
    style.alignment.wrapText = pick(2);
    style.leading[pick(32)] = pick(2);  // gaps never count
    uint16_t index = 0;
    if (!table->FindOrAddStyle(style, &index)) {
      EXPECT_EQ(0, index);
      EXPECT_EQ(StyleTable::kMaxStyles, table->styleCount);
      continue;
    }
    ASSERT_LT(index, table->styleCount);
    ASSERT_TRUE(StyleTable::StylesEqual(table->styles[index], style));
    added.push_back(style);
    indexes.push_back(index);
  }
  ASSERT_TRUE(table->CheckInvariants());
  for (size_t i = 0; i < added.size(); i += 7) {
    for (size_t j = 0; j < added.size(); ++j) {
      ASSERT_EQ(StyleTable::StylesEqual(added[i], added[j]), indexes[i] == indexes[j])
          << "styles " << i << " and " << j;
    }
  }
}

TEST(StyleTable, FullFontTableRefusesWithoutChange) {
  auto table = std::make_unique<StyleTable>();
  char face[32];
  for (int i = 1; i < StyleTable::kMaxFonts; ++i) {
    std::snprintf(face, sizeof face, "Face %d", i);
    uint8_t index = 0;
    ASSERT_TRUE(table->FindOrAddFont(FontNamed(face), &index));
    ASSERT_EQ(i, index);
  }
  auto snapshot = std::make_unique<StyleTable>(*table);
  uint8_t index = 55;
  EXPECT_FALSE(table->FindOrAddFont(FontNamed("One too many"), &index));
  EXPECT_EQ(0, index);
  ExpectSameTable(*snapshot, *table);

  EXPECT_TRUE(table->FindOrAddFont(FontNamed("Face 77"), &index));
  EXPECT_EQ(77, index);
}

TEST(StyleTable, FullStyleTableRefusesWithoutChange) {
  auto table = std::make_unique<StyleTable>();
  for (int i = 1; i < StyleTable::kMaxStyles; ++i) {
    StyleRecord style = StyleRecord::Default();
    style.dropDown.listId = static_cast<uint16_t>(i);
    uint16_t index = 0;
    ASSERT_TRUE(table->FindOrAddStyle(style, &index));
    ASSERT_EQ(i, index);
  }
  auto snapshot = std::make_unique<StyleTable>(*table);
  StyleRecord extra = StyleRecord::Default();
  extra.hidden = 1;
  uint16_t index = 55;
  EXPECT_FALSE(table->FindOrAddStyle(extra, &index));
  EXPECT_EQ(0, index);
  ExpectSameTable(*snapshot, *table);

  StyleRecord existing = StyleRecord::Default();
  existing.dropDown.listId = 300;
  EXPECT_TRUE(table->FindOrAddStyle(existing, &index));
  EXPECT_EQ(300, index);
}

TEST(StyleTable, OutOfRangeIndexesReadEntryZero) {
  auto table = std::make_unique<StyleTable>();
  uint8_t font = 0;
  ASSERT_TRUE(table->FindOrAddFont(FontNamed("Arial"), &font));
  EXPECT_EQ(&table->fonts[1], &table->FontAt(1));
  EXPECT_EQ(&table->fonts[0], &table->FontAt(2));
  EXPECT_EQ(&table->styles[0], &table->StyleAt(1));
  EXPECT_EQ(&table->styles[0], &table->StyleAt(70000));
}

TEST(StyleTable, CompareMarksAgreementAndMixedStates) {
  auto table = std::make_unique<StyleTable>();
  uint8_t courier = 0;
  ASSERT_TRUE(table->FindOrAddFont(FontNamed("Courier", 12), &courier));

  StyleRecord currency = StyleOfCategory(kNumFormatCurrency);
  StyleRecord percent = StyleOfCategory(kNumFormatPercent);
  percent.fontIndex = courier;
  uint8_t marks[kStyleMarkCount] = {};
  table->CompareStyleAttributes(currency, currency, marks);
  EXPECT_EQ(kMarkAgree, marks[kNumFormatCurrency]);
  EXPECT_EQ(kMarkAgree, marks[kMarkFaceName]);
  table->CompareStyleAttributes(currency, percent, marks);
  EXPECT_EQ(kMarkMixed, marks[kNumFormatCurrency]);
  EXPECT_EQ(kMarkMixed, marks[kNumFormatPercent]);
  EXPECT_EQ(kMarkMixed, marks[kMarkFaceName]);
  EXPECT_EQ(kMarkMixed, marks[kMarkFontSize]);
  EXPECT_EQ(kMarkAgree, marks[kMarkWeight]);
  EXPECT_EQ(0, marks[kNumFormatDate]);
  // A later agreeing pair does not undo a mixed state.
  table->CompareStyleAttributes(currency, currency, marks);
  EXPECT_EQ(kMarkMixed, marks[kNumFormatCurrency]);

  StyleRecord userA = StyleOfCategory(kNumFormatUserPattern);
  StyleRecord userB = userA;
  std::strcpy(userA.numFormat.code, "0.0");
  std::strcpy(userB.numFormat.code, "0.00");
  uint8_t userMarks[kStyleMarkCount] = {};
  table->CompareStyleAttributes(userA, userA, userMarks);
  EXPECT_EQ(kMarkAgree, userMarks[kNumFormatUserPattern]);
  table->CompareStyleAttributes(userA, userB, userMarks);
  EXPECT_EQ(kMarkMixed, userMarks[kNumFormatUserPattern]);

  uint8_t unknownMarks[kStyleMarkCount + 1] = {};
  StyleRecord unknown = StyleOfCategory(200);
  unknown.fontIndex = 99;  // past the font count: the default font
  table->CompareStyleAttributes(unknown, StyleOfCategory(kNumFormatGeneral), unknownMarks);
  EXPECT_EQ(kMarkMixed, unknownMarks[kNumFormatUserPattern]);
  EXPECT_EQ(kMarkAgree, unknownMarks[kMarkFaceName]);
  EXPECT_EQ(0, unknownMarks[kStyleMarkCount]);
}

TEST(StyleTable, RemoveUnusedKeepsUsedStylesAndTheirFonts) {
  auto table = std::make_unique<StyleTable>();
  uint8_t fontIndex[4] = {};
  const char* faces[] = {"A", "B", "C", "D"};
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(table->FindOrAddFont(FontNamed(faces[i]), &fontIndex[i]));
  // Styles 1..5 use fonts A, B, C, D, C; styles 1 and 3 are unused, and
  // with them font A.
  const int fontOfStyle[] = {0, 0, 1, 2, 3, 2};
  for (int s = 1; s <= 5; ++s) {
    StyleRecord style = StyleRecord::Default();
    style.fontIndex = fontIndex[fontOfStyle[s]];
    style.alignment.rotation = static_cast<int8_t>(s);
    uint16_t index = 0;
    ASSERT_TRUE(table->FindOrAddStyle(style, &index));
  }
  uint8_t used[StyleTable::kMaxStyles] = {};
  used[2] = used[4] = used[5] = 1;
  uint16_t newIndex[StyleTable::kMaxStyles];
  table->RemoveUnused(used, newIndex);

  EXPECT_EQ(4, table->styleCount);  // 0, 2, 4, 5
  EXPECT_EQ(4, table->fontCount);   // default, B, C, D
  EXPECT_EQ(0, newIndex[0]);
  EXPECT_EQ(1, newIndex[2]);
  EXPECT_EQ(2, newIndex[4]);
  EXPECT_EQ(3, newIndex[5]);
  EXPECT_EQ(0, newIndex[1]);
  EXPECT_EQ(0, newIndex[3]);
  const char* faceOfNew[] = {"", "B", "D", "C"};
  const int rotationOfNew[] = {0, 2, 4, 5};
  for (int s = 0; s < 4; ++s) {
    EXPECT_STREQ(faceOfNew[s], table->FontAt(table->styles[s].fontIndex).faceName) << s;
    EXPECT_EQ(rotationOfNew[s], table->styles[s].alignment.rotation) << s;
  }
  EXPECT_TRUE(table->CheckInvariants());
}

// A style that keeps its place must still follow its font when the font moves.
TEST(StyleTable, RemoveUnusedRepointsStylesThatStayInPlace) {
  auto table = std::make_unique<StyleTable>();
  uint8_t unused = 0, kept = 0;
  ASSERT_TRUE(table->FindOrAddFont(FontNamed("Unused"), &unused));
  ASSERT_TRUE(table->FindOrAddFont(FontNamed("Kept"), &kept));
  StyleRecord style = StyleRecord::Default();
  style.fontIndex = kept;
  uint16_t index = 0;
  ASSERT_TRUE(table->FindOrAddStyle(style, &index));
  ASSERT_EQ(1, index);
  uint8_t used[StyleTable::kMaxStyles] = {0, 1};
  uint16_t newIndex[StyleTable::kMaxStyles];
  table->RemoveUnused(used, newIndex);
  EXPECT_EQ(1, newIndex[1]);
  EXPECT_STREQ("Kept", table->FontAt(table->styles[1].fontIndex).faceName);

  uint8_t none[StyleTable::kMaxStyles] = {};
  table->RemoveUnused(none, newIndex);
  EXPECT_EQ(1, table->styleCount);
  EXPECT_EQ(1, table->fontCount);
}

}  // namespace
