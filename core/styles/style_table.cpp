#include "core/styles/style_table.h"

#include <cstring>

namespace {

// Texts are compared within their fields, so a field that lacks its NUL
// (a damaged file) is never read past.
bool SameText(const char* a, const char* b, size_t fieldSize) {
  return std::strncmp(a, b, fieldSize) == 0;
}

bool SameColour(uint8_t setA, uint32_t colourA, uint8_t setB, uint32_t colourB) {
  return setA == setB && (setA == 0 || colourA == colourB);
}

// Only the options from which the category's code is built count.
bool NumberFormatsEqual(const NumFormatParams& a, const NumFormatParams& b) {
  if (a.category != b.category) return false;
  const NumFormatOptions& x = a.options;
  const NumFormatOptions& y = b.options;
  switch (a.category) {
    case kNumFormatDefault:
      return true;
    case kNumFormatGeneral:
      return x.number.fixedDecimals == y.number.fixedDecimals &&
             (x.number.fixedDecimals == 0 || x.number.decimals == y.number.decimals) &&
             x.number.leadingZeros == y.number.leadingZeros &&
             (x.number.leadingZeros == 0 || x.number.integerDigits == y.number.integerDigits) &&
             x.number.grouping == y.number.grouping &&
             x.number.negativeStyle == y.number.negativeStyle;
    case kNumFormatCurrency:
      return SameText(x.currency.symbol, y.currency.symbol, kCurrencySymbolSize) &&
             x.currency.decimals == y.currency.decimals &&
             x.currency.symbolPosition == y.currency.symbolPosition &&
             x.currency.negativeStyle == y.currency.negativeStyle;
    case kNumFormatAccounting:
      return SameText(x.currency.symbol, y.currency.symbol, kCurrencySymbolSize) &&
             x.currency.decimals == y.currency.decimals;
    case kNumFormatDate:
      return x.dateTime.dateStyle == y.dateTime.dateStyle &&
             x.dateTime.useLocaleOrder == y.dateTime.useLocaleOrder;
    case kNumFormatTime:
      return x.dateTime.timeStyle == y.dateTime.timeStyle;
    case kNumFormatDateTime:
      return x.dateTime.dateStyle == y.dateTime.dateStyle &&
             x.dateTime.timeStyle == y.dateTime.timeStyle &&
             x.dateTime.useLocaleOrder == y.dateTime.useLocaleOrder &&
             x.dateTime.timeFirst == y.dateTime.timeFirst;
    case kNumFormatPercent:
      return x.number.fixedDecimals == y.number.fixedDecimals &&
             (x.number.fixedDecimals == 0 || x.number.decimals == y.number.decimals);
    case kNumFormatFraction:
      if (x.fraction.fixedDenominator != y.fraction.fixedDenominator) return false;
      return x.fraction.fixedDenominator != 0
                 ? x.fraction.denominator == y.fraction.denominator
                 : x.fraction.denominatorDigits == y.fraction.denominatorDigits;
    case kNumFormatScientific:
      return x.scientific.fixedDecimals == y.scientific.fixedDecimals &&
             (x.scientific.fixedDecimals == 0 ||
              x.scientific.decimals == y.scientific.decimals) &&
             x.scientific.exponentStyle == y.scientific.exponentStyle &&
             (x.scientific.exponentStyle == 0 ||
              x.scientific.exponentValue == y.scientific.exponentValue);
    case kNumFormatUserPattern:
      return SameText(a.code, b.code, kNumFormatCodeSize);
    default:
      // A category this version does not know: nothing of it may be ignored.
      return std::memcmp(x.bytes, y.bytes, kNumFormatOptionsSize) == 0 &&
             SameText(a.code, b.code, kNumFormatCodeSize);
  }
}

void Fold(uint8_t* marks, int slot, bool same) {
  if (!same) {
    marks[slot] = kMarkMixed;
  } else if (marks[slot] == 0) {
    marks[slot] = kMarkAgree;
  }
}

}  // namespace

void StyleTable::Init() {
  styleCount = 1;
  fontCount = 1;
  std::memset(fonts, 0, sizeof fonts);
  const StyleRecord cleared = StyleRecord::Default();
  for (StyleRecord& style : styles) style = cleared;
}

uint32_t StyleTable::UsableFontCount() const {
  return fontCount == 0 ? 1 : (fontCount > kMaxFonts ? kMaxFonts : fontCount);
}

uint32_t StyleTable::UsableStyleCount() const {
  return styleCount == 0 ? 1 : (styleCount > kMaxStyles ? kMaxStyles : styleCount);
}

bool StyleTable::CheckInvariants() const {
  return fontCount >= 1 && fontCount <= kMaxFonts && styleCount >= 1 &&
         styleCount <= kMaxStyles;
}

const FontRecord& StyleTable::FontAt(uint32_t index) const {
  return index < UsableFontCount() ? fonts[index] : fonts[0];
}

const StyleRecord& StyleTable::StyleAt(uint32_t index) const {
  return index < UsableStyleCount() ? styles[index] : styles[0];
}

bool StyleTable::FontsEqual(const FontRecord& a, const FontRecord& b) {
  // The whole face-name field counts, as setting a face clears it first.
  return std::memcmp(&a, &b, sizeof(FontRecord)) == 0;
}

bool StyleTable::StylesEqual(const StyleRecord& a, const StyleRecord& b) {
  if (!NumberFormatsEqual(a.numFormat, b.numFormat)) return false;
  if (a.fontIndex != b.fontIndex) return false;
  if (a.dropDown.listId != b.dropDown.listId) return false;
  if (a.dropDown.listId != 0 &&
      (a.dropDown.sort != b.dropDown.sort || a.dropDown.autoAppend != b.dropDown.autoAppend ||
       a.dropDown.autoComplete != b.dropDown.autoComplete)) {
    return false;
  }
  if (!SameColour(a.fontColorSet, a.fontColor, b.fontColorSet, b.fontColor)) return false;

  const BorderLine& lineA = a.borders.line;
  const BorderLine& lineB = b.borders.line;
  if (a.borders.sides != b.borders.sides || lineA.style != lineB.style ||
      !SameColour(lineA.colorSet, lineA.color, lineB.colorSet, lineB.color)) {
    return false;
  }
  const FillRecord& fillA = a.interior;
  const FillRecord& fillB = b.interior;
  if (fillA.pattern != fillB.pattern ||
      !SameColour(fillA.patternColorSet, fillA.patternColor, fillB.patternColorSet,
                  fillB.patternColor) ||
      !SameColour(fillA.backgroundColorSet, fillA.backgroundColor, fillB.backgroundColorSet,
                  fillB.backgroundColor)) {
    return false;
  }

  return std::memcmp(&a.alignment, &b.alignment, sizeof(StyleAlignment)) == 0 &&
         a.dropDown.reserved == b.dropDown.reserved && a.hidden == b.hidden &&
         a.isProtected == b.isProtected;
}

bool StyleTable::FindOrAddFont(const FontRecord& font, uint8_t* index) {
  const uint32_t count = UsableFontCount();
  for (uint32_t i = 0; i < count; ++i) {
    if (FontsEqual(fonts[i], font)) {
      *index = static_cast<uint8_t>(i);
      return true;
    }
  }
  *index = 0;
  if (count >= kMaxFonts) return false;
  fonts[count] = font;
  fontCount = static_cast<uint8_t>(count + 1);
  *index = static_cast<uint8_t>(count);
  return true;
}

bool StyleTable::FindOrAddStyle(const StyleRecord& style, uint16_t* index) {
  const uint32_t count = UsableStyleCount();
  for (uint32_t i = 0; i < count; ++i) {
    if (StylesEqual(styles[i], style)) {
      *index = static_cast<uint16_t>(i);
      return true;
    }
  }
  *index = 0;
  if (count >= kMaxStyles) return false;
  styles[count] = style;
  styleCount = static_cast<uint16_t>(count + 1);
  *index = static_cast<uint16_t>(count);
  return true;
}

void StyleTable::CompareStyleAttributes(const StyleRecord& a, const StyleRecord& b,
                                        uint8_t* marks) const {
  const uint8_t categoryA = a.numFormat.category < kNumFormatUserPattern
                                ? a.numFormat.category
                                : static_cast<uint8_t>(kNumFormatUserPattern);
  const uint8_t categoryB = b.numFormat.category < kNumFormatUserPattern
                                ? b.numFormat.category
                                : static_cast<uint8_t>(kNumFormatUserPattern);
  if (categoryA == categoryB) {
    Fold(marks, categoryA,
         categoryA != kNumFormatUserPattern ||
             SameText(a.numFormat.code, b.numFormat.code, kNumFormatCodeSize));
  } else {
    Fold(marks, categoryA, false);
    Fold(marks, categoryB, false);
  }

  const FontRecord& fontA = FontAt(a.fontIndex);
  const FontRecord& fontB = FontAt(b.fontIndex);
  Fold(marks, kMarkFaceName, SameText(fontA.faceName, fontB.faceName, kFaceNameSize));
  Fold(marks, kMarkFontSize, fontA.size == fontB.size);
  Fold(marks, kMarkWeight, fontA.weight == fontB.weight);
  Fold(marks, kMarkSlant, fontA.italic == fontB.italic);
  Fold(marks, kMarkUnderline, fontA.underline == fontB.underline);
  Fold(marks, kMarkStrikeOut, fontA.strikeOut == fontB.strikeOut);
  Fold(marks, kMarkCharSet, fontA.charSet == fontB.charSet);
  Fold(marks, kMarkFontColor, SameColour(a.fontColorSet, a.fontColor, b.fontColorSet, b.fontColor));

  Fold(marks, kMarkFillPattern, a.interior.pattern == b.interior.pattern);
  Fold(marks, kMarkPatternColor,
       SameColour(a.interior.patternColorSet, a.interior.patternColor,
                  b.interior.patternColorSet, b.interior.patternColor));
  Fold(marks, kMarkBackgroundColor,
       SameColour(a.interior.backgroundColorSet, a.interior.backgroundColor,
                  b.interior.backgroundColorSet, b.interior.backgroundColor));
  Fold(marks, kMarkBorderSides, a.borders.sides == b.borders.sides);
  Fold(marks, kMarkBorderStyle, a.borders.line.style == b.borders.line.style);
  Fold(marks, kMarkBorderColor,
       SameColour(a.borders.line.colorSet, a.borders.line.color, b.borders.line.colorSet,
                  b.borders.line.color));

  Fold(marks, kMarkVerticalAlignment, a.alignment.vertical == b.alignment.vertical);
  Fold(marks, kMarkHorizontalAlignment, a.alignment.horizontal == b.alignment.horizontal);
  Fold(marks, kMarkHorizontalIndent,
       a.alignment.horizontalIndent == b.alignment.horizontalIndent);
  Fold(marks, kMarkVerticalIndent, a.alignment.verticalIndent == b.alignment.verticalIndent);
  Fold(marks, kMarkWrapText, a.alignment.wrapText == b.alignment.wrapText);
  Fold(marks, kMarkFitToCell, a.alignment.fitToCell == b.alignment.fitToCell);
  Fold(marks, kMarkRotation, a.alignment.rotation == b.alignment.rotation);

  Fold(marks, kMarkDropDown,
       a.dropDown.listId == b.dropDown.listId &&
           (a.dropDown.listId == 0 ||
            (a.dropDown.sort == b.dropDown.sort &&
             a.dropDown.autoAppend == b.dropDown.autoAppend &&
             a.dropDown.autoComplete == b.dropDown.autoComplete)));
  Fold(marks, kMarkHidden, a.hidden == b.hidden);
  Fold(marks, kMarkProtected, a.isProtected == b.isProtected);
}

void StyleTable::RemoveUnused(const uint8_t* used, uint16_t* newStyleIndex) {
  const uint32_t styleTotal = UsableStyleCount();
  const uint32_t fontTotal = UsableFontCount();

  bool keepFont[kMaxFonts] = {};
  keepFont[0] = true;
  for (uint32_t s = 0; s < styleTotal; ++s) {
    if ((s == 0 || used[s]) && styles[s].fontIndex < fontTotal) {
      keepFont[styles[s].fontIndex] = true;
    }
  }

  uint8_t newFontIndex[kMaxFonts] = {};
  uint32_t fontsKept = 0;
  for (uint32_t f = 0; f < fontTotal; ++f) {
    if (!keepFont[f]) continue;
    if (fontsKept != f) fonts[fontsKept] = fonts[f];
    newFontIndex[f] = static_cast<uint8_t>(fontsKept++);
  }

  for (uint32_t s = 0; s < kMaxStyles; ++s) newStyleIndex[s] = 0;
  uint32_t stylesKept = 0;
  for (uint32_t s = 0; s < styleTotal; ++s) {
    if (s != 0 && !used[s]) continue;
    if (stylesKept != s) styles[stylesKept] = styles[s];
    // Every kept style follows its font, moved or not: a style that stays
    // in place can still have had its font moved down.
    StyleRecord& kept = styles[stylesKept];
    kept.fontIndex = kept.fontIndex < fontTotal ? newFontIndex[kept.fontIndex] : 0;
    newStyleIndex[s] = static_cast<uint16_t>(stylesKept++);
  }

  fontCount = static_cast<uint8_t>(fontsKept);
  styleCount = static_cast<uint16_t>(stylesKept);
}
