// The style and font tables of an older file: 72-byte styles with option
// bits and Windows LOGFONTs, converted into the workbook's style table.

#include <cstdio>
#include <cstring>

#include "core/model/color_font_record.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/old_binary/old_binary.h"
#include "files/old_binary/old_binary_source.h"

namespace {

constexpr size_t kOldStyleSize = 72;
constexpr size_t kOldFaceNameOffset = 28;
constexpr size_t kOldFaceNameSize = 32;
// The older files measured fonts on a screen of this resolution.
constexpr int32_t kOldPixelsPerInch = 96;
constexpr uint8_t kMaxDecimals = 14;

bool Bit(uint32_t bits, int n) { return (bits >> n) & 1; }

uint8_t CharSetCode(uint8_t charSet) {
  static const uint8_t kSets[][2] = {{0, 1},    {186, 2},  {136, 3},  {238, 4},  {134, 5},  {161, 6},
                                     {129, 7},  {77, 8},   {255, 9},  {204, 10}, {128, 11}, {2, 12},
                                     {162, 13}, {177, 14}, {178, 15}, {222, 16}};
  for (const auto& set : kSets)
    if (set[0] == charSet)
      return set[1];
  return 0;
}

uint8_t FamilyCode(uint8_t pitchAndFamily) {
  switch (pitchAndFamily) {
    case 16: return 3;
    case 32: return 1;
    case 48: return 2;
    case 64: return 4;
    case 80: return 5;
    default: return 0;
  }
}

uint8_t BorderLineStyle(uint8_t old) {
  switch (old) {
    case 1: case 7: return 7;
    case 2: case 3: return 9;
    case 4: case 8: return 2;
    case 5: return 3;
    case 6: return 4;
    default: return 1;
  }
}

uint8_t FillPattern(uint8_t old) {
  switch (old) {
    case 1: return 8;
    case 2: return 10;
    case 3: return 9;
    case 4: case 5: return 11;
    default: return 1;
  }
}

uint8_t BorderSides(uint8_t old) {
  if (old == 0x21)
    return kBorderTop | kBorderBottom | kBorderLeft | kBorderRight;
  uint8_t sides = 0;
  if (old & 0x02) sides |= kBorderTop;
  if (old & 0x04) sides |= kBorderBottom;
  if (old & 0x08) sides |= kBorderLeft;
  if (old & 0x10) sides |= kBorderRight;
  return sides;
}

void ConvertNumberFormat(uint32_t bits, uint32_t decimals, NumFormatParams* format) {
  const uint8_t digits = uint8_t(decimals > kMaxDecimals ? kMaxDecimals : decimals);
  const bool fixed = Bit(bits, 13);
  if (Bit(bits, 0)) {
    format->category = kNumFormatCurrency;
    format->options.currency.decimals = fixed ? digits : 2;
    std::snprintf(format->options.currency.symbol, sizeof format->options.currency.symbol, "%s",
                  CurrentRegionalSettings().currency);
  } else if (Bit(bits, 2)) {
    format->category = kNumFormatPercent;
    format->options.number.fixedDecimals = fixed;
    format->options.number.decimals = fixed ? digits : 0;
  } else if (Bit(bits, 18)) {
    format->category = kNumFormatDate;
  } else if (fixed) {
    format->category = kNumFormatGeneral;
    format->options.number.fixedDecimals = 1;
    format->options.number.decimals = digits;
    format->options.number.grouping = Bit(bits, 1);
  }
}

void ConvertStyle(const uint8_t* old, const StyleRecord& base, StyleRecord* style) {
  *style = base;
  const uint32_t bits = OldU32At(old);
  const uint16_t font = uint16_t(old[4] | old[5] << 8);
  style->fontIndex = uint8_t(font < StyleTable::kMaxFonts ? font : 0);
  style->fontColor = OldU32At(old + 12);
  style->fontColorSet = 1;
  ConvertNumberFormat(bits, OldU32At(old + 32), &style->numFormat);
  StyleAlignment& a = style->alignment;
  if (Bit(bits, 3))
    a.horizontal = kHAlignLeft;
  else if (Bit(bits, 4))
    a.horizontal = kHAlignRight;
  else if (Bit(bits, 5))
    a.horizontal = kHAlignCentre;
  if (Bit(bits, 14))
    a.vertical = kVAlignTop;
  else if (Bit(bits, 15))
    a.vertical = kVAlignBottom;
  if (Bit(bits, 11))
    a.wrapText = 1;
  if (Bit(bits, 6))
    style->isProtected = 1;
  if (Bit(bits, 7)) {
    const uint32_t border = OldU32At(old + 28);
    style->borders.sides = BorderSides(uint8_t(border));
    style->borders.line.style = BorderLineStyle(uint8_t(border >> 8));
    style->borders.line.color = OldU32At(old + 16);
    style->borders.line.colorSet = 1;
  }
  if (Bit(bits, 9)) {
    const uint32_t fill = OldU32At(old + 8);
    style->interior.pattern = FillPattern(uint8_t(fill >> 24));
    style->interior.patternColor = style->interior.backgroundColor = fill & 0xFFFFFF;
    style->interior.patternColorSet = style->interior.backgroundColorSet = 1;
  }
  // The old style's drop-down list.
  if (Bit(bits, 16)) {
    const uint32_t list = OldU32At(old + 36);
    style->dropDown.listId = uint16_t(list <= kDropDownListCount ? list : 0);
  }
}

}  // namespace

void ConvertOldFont(const uint8_t* logFont, FontRecord* font) {
  *font = FontRecord{};
  const int32_t height = int32_t(OldU32At(logFont));
  const int32_t weight = int32_t(OldU32At(logFont + 16));
  // MulDiv rounds half away from zero.
  const int64_t scaled = -int64_t(height) * 72;
  const int64_t points = scaled >= 0 ? (scaled + kOldPixelsPerInch / 2) / kOldPixelsPerInch
                                     : -((-scaled + kOldPixelsPerInch / 2) / kOldPixelsPerInch);
  font->size = uint8_t(points < 0 ? 0 : points > 255 ? 255 : points);
  font->weight = weight == 100 ? 1 : weight == 700 ? 2 : weight == 900 ? 3 : 0;
  font->italic = logFont[20] != 0;
  font->underline = logFont[21] != 0;
  font->strikeOut = logFont[22] != 0;
  font->charSet = CharSetCode(logFont[23]);
  font->family = FamilyCode(logFont[27]);
  const char* face = reinterpret_cast<const char*>(logFont + kOldFaceNameOffset);
  const size_t length = strnlen(face, kOldFaceNameSize - 1);
  std::memcpy(font->faceName, face, length);
  font->faceName[length] = 0;
}

void ReadOldColorFont(OldBinarySource& in, ColorFontRecord* font) {
  uint8_t logFont[kOldLogFontSize];
  in.Read(logFont, sizeof logFont);
  ConvertOldFont(logFont, &font->font);
  font->color = in.U32();
  font->colorSet = 1;
}

void ReadOldStyles(OldBinarySource& in, CWorkBook* book) {
  StyleTable& table = book->styles;
  const uint16_t styleCount = in.U16();
  uint8_t record[kOldStyleSize];
  for (uint32_t i = 0; i < styleCount; ++i) {
    in.Read(record, sizeof record);
    // The first is the default style, which stays the workbook's own.
    if (i == 0 || table.styleCount >= StyleTable::kMaxStyles)
      continue;
    ConvertStyle(record, table.styles[0], &table.styles[table.styleCount]);
    ++table.styleCount;
  }
  const uint16_t fontCount = in.U16();
  uint8_t logFont[kOldLogFontSize];
  for (uint32_t i = 0; i < fontCount; ++i) {
    in.Read(logFont, sizeof logFont);
    if (i == 0 || table.fontCount >= StyleTable::kMaxFonts)
      continue;
    ConvertOldFont(logFont, &table.fonts[table.fontCount]);
    ++table.fontCount;
  }
  for (uint32_t s = 0; s < table.styleCount; ++s)
    if (table.styles[s].fontIndex >= table.fontCount)
      table.styles[s].fontIndex = 0;
}

void ReadOldText(OldBinarySource& in, char* out, size_t size, uint32_t longest) {
  const uint32_t length = in.U32();
  if (length > longest)
    ThrowOldBinaryError(kFileBadFormat);
  const size_t kept = length < size - 1 ? length : size - 1;
  in.Read(out, kept);
  out[kept] = 0;
  in.Skip(length - kept);
}
