// The Styles element of the import: each Style becomes a style of the
// workbook, found again by its identifier.

#include <cmath>
#include <cstring>

#include "core/base/scheme_colors.h"
#include "core/numfmt/format_colors.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_names.h"
#include "files/excel_xml/excel_reader.h"
#include "files/xml/xml_reader.h"

namespace {

// Children of a Style in the order they are read.
enum StyleChild : int {
  kChildUnknown = 0,
  kChildAlignment,
  kChildBorders,
  kChildFont,
  kChildInterior,
  kChildNumberFormat,
  kChildProtection,
};

StyleChild StyleChildOf(const char* name) {
  static const char* const kNames[] = {"Alignment", "Borders", "Font", "Interior", "NumberFormat", "Protection"};
  for (int i = 0; i < 6; ++i)
    if (!std::strcmp(name, kNames[i]))
      return StyleChild(i + 1);
  return kChildUnknown;
}

// The current tag's attribute as a word of the table; absent or unknown
// words leave the code.
void ReadWord(CXmlReader* xml, const char* name, const XmlNameTable& table, uint8_t* code) {
  if (const char* value = ExcelAttribute(xml, name))
    ExcelCodeOf(table, value, code);
}

bool ReadColor(CXmlReader* xml, const char* name, uint32_t* color) {
  const char* value = ExcelAttribute(xml, name);
  return value && ParseColorName(value, color);
}

void ReadAlignment(CXmlReader* xml, StyleAlignment* a) {
  ReadWord(xml, "Vertical", kXmlVerticalAlignmentNames, &a->vertical);
  ReadWord(xml, "Horizontal", kXmlHorizontalAlignmentNames, &a->horizontal);
  if (const char* value = ExcelAttribute(xml, "Indent")) {
    int16_t indent = 0;
    xml->ParseInt16(&indent, -200, 200, value);
    a->horizontalIndent = uint8_t(indent >= 0 ? indent : kDefaultHorizontalIndent);
  }
  if (const char* value = ExcelAttribute(xml, "WrapText"))
    xml->ParseUInt8(&a->wrapText, 0, 1, value);
  if (const char* value = ExcelAttribute(xml, "ShrinkToFit"))
    xml->ParseUInt8(&a->fitToCell, 0, 1, value);
  if (const char* value = ExcelAttribute(xml, "Rotate")) {
    int16_t rotation = 0;
    xml->ParseInt16(&rotation, -360, 360, value);
    a->rotation = int8_t(rotation < -90 ? -90 : rotation > 90 ? 90 : rotation);
  }
}

void ReadExcelBorder(CXmlReader* xml, BorderLine* line) {
  ReadWord(xml, "LineStyle", kExcelLineStyles, &line->style);
  if (line->style == 1)
    if (const char* weight = ExcelAttribute(xml, "Weight")) {
      if (!std::strcmp(weight, "1"))
        line->style = 6;
      else if (!std::strcmp(weight, "2"))
        line->style = 7;
      else if (!std::strcmp(weight, "3"))
        line->style = 8;
    }
  uint32_t color = 0;
  if (ReadColor(xml, "Color", &color)) {
    line->color = color;
    line->colorSet = 1;
  } else if (!ExcelAttribute(xml, "Color")) {
    line->color = GetSchemeColor(kSchemeWindowText);
  }
}

void ReadBorders(CXmlReader* xml, StyleBorders* borders) {
  if (!ExcelTagHasContent(xml))
    return;
  while (NextExcelChild(xml)) {
    if (!std::strcmp(xml->name, "Border")) {
      const char* position = ExcelAttribute(xml, "Position");
      borders->sides = uint8_t(borders->sides | (position ? ExcelBorderSideOf(position) : 0));
      ReadExcelBorder(xml, &borders->line);
    }
    SkipExcelElement(xml);
  }
}

void ReadExcelFont(CXmlReader* xml, FontRecord* font, uint8_t* colorSet, uint32_t* color) {
  if (xml->FindAttribute(nullptr, "FontName")) {
    const int32_t length = xml->DecodeAttributeText(int32_t(kFaceNameSize - 1));
    if (length < 0)
      ThrowXmlError(kFileXmlBadAttribute);
    std::memcpy(font->faceName, xml->text, size_t(length) + 1);
  }
  ReadWord(xml, "Family", kXmlFontFamilyNames, &font->family);
  if (const char* value = ExcelAttribute(xml, "Size")) {
    double size = 0;
    xml->ParseDouble(&size, -1.7976931348623157e308, 1.7976931348623157e308, value);
    font->size = uint8_t(size >= 0 && size <= 254 ? std::trunc(size) : 10);
  }
  if (const char* value = ExcelAttribute(xml, "Bold"))
    font->weight = !std::strcmp(value, "0") || !std::strcmp(value, "Regular") ? kFontWeightNormal : kFontWeightBold;
  if (const char* value = ExcelAttribute(xml, "Italic")) {
    if (!std::strcmp(value, "0") || !std::strcmp(value, "Roman"))
      font->italic = 0;
    else if (!std::strcmp(value, "1"))
      font->italic = 1;
  }
  if (const char* value = ExcelAttribute(xml, "Underline"))
    if (ExcelWordsEqual(value, "Single") || ExcelWordsEqual(value, "Double"))
      font->underline = 1;
  uint32_t value = 0;
  if (ReadColor(xml, "Color", &value)) {
    *color = value;
    *colorSet = 1;
  }
}

void ReadExcelInterior(CXmlReader* xml, FillRecord* fill) {
  const char* pattern = ExcelAttribute(xml, "Pattern");
  if (!pattern || ExcelWordsEqual(pattern, "None"))
    fill->pattern = 0;
  else
    ExcelCodeOf(kXmlPatternNames, pattern, &fill->pattern);
  uint32_t color = 0;
  const bool patternColor = xml->FindAttribute(nullptr, "PatternColor");
  if (patternColor) {
    if (!ParseColorName(xml->AttributeValue(), &color))
      ThrowXmlError(kFileXmlBadAttribute);
    fill->patternColor = color;
    fill->patternColorSet = 1;
  } else {
    fill->patternColor = GetSchemeColor(fill->pattern <= 1 ? kSchemeWindow : kSchemeWindowText);
  }
  if (ReadColor(xml, "Color", &color)) {
    fill->backgroundColor = color;
    fill->backgroundColorSet = 1;
    if (fill->pattern == 1 && !patternColor) {
      fill->patternColor = color;
      fill->patternColorSet = 1;
    }
  } else if (!ExcelAttribute(xml, "Color")) {
    fill->backgroundColor = GetSchemeColor(kSchemeWindow);
  }
}

// A picture of digit placeholders that ends in a plain percent sign is the
// percent category: other programs show such a value times 100, as the
// program does only for that category.
bool ReadPercentPicture(const char* code, NumFormatParams* format) {
  const char* p = code;
  if (!std::strncmp(p, "#,##0", 5))
    p += 5;
  else if (*p == '0')
    ++p;
  else
    return false;
  NumberFormatOptions options{};
  if (!std::strcmp(p, ".#%")) {
    options.fixedDecimals = 0;
  } else {
    options.fixedDecimals = 1;
    if (*p == '.')
      for (++p; *p == '0'; ++p) ++options.decimals;
    if (std::strcmp(p, "%") || options.decimals > 14 || (p[-1] == '.'))
      return false;
  }
  format->category = kNumFormatPercent;
  std::memset(&format->options, 0, sizeof format->options);
  format->options.number = options;
  return true;
}

void ReadNumberFormat(CXmlReader* xml, NumFormatParams* format) {
  struct NamedFormat {
    const char* name;
    uint8_t category;
  };
  static const NamedFormat kNamed[] = {
      {"Default", kNumFormatDefault}, {"Fixed", kNumFormatGeneral},    {"Standard", kNumFormatGeneral},
      {"Currency", kNumFormatCurrency}, {"Accounting", kNumFormatAccounting}, {"Short Date", kNumFormatDate},
      {"Time", kNumFormatTime},       {"Percent", kNumFormatPercent},  {"Fraction", kNumFormatGeneral},
      {"Scientific", kNumFormatGeneral}};
  char code[kNumFormatCodeSize];
  if (!ReadExcelAttributeText(xml, "Format", code, kNumFormatCodeSize - 7))
    return;
  for (const NamedFormat& named : kNamed)
    if (ExcelWordsEqual(code, named.name)) {
      format->category = named.category;
      return;
    }
  if (ReadPercentPicture(code, format))
    return;
  format->category = kNumFormatUserPattern;
  std::memcpy(format->code, code, std::strlen(code) + 1);
}

void ReadStyleChildren(const ExcelReader& in, StyleRecord* style) {
  CXmlReader* xml = in.xml;
  int reached = kChildUnknown;
  while (NextExcelChild(xml)) {
    const StyleChild child = StyleChildOf(xml->name);
    if (child > reached) {
      reached = child;
      switch (child) {
        case kChildAlignment:
          ReadAlignment(xml, &style->alignment);
          break;
        case kChildBorders:
          ReadBorders(xml, &style->borders);
          break;
        case kChildFont: {
          FontRecord font{};
          uint8_t colorSet = 0;
          uint32_t color = 0;
          ReadExcelFont(xml, &font, &colorSet, &color);
          uint8_t index = 0;
          in.book->styles.FindOrAddFont(font, &index);
          style->fontIndex = index;
          style->fontColorSet = colorSet;
          style->fontColor = color;
          break;
        }
        case kChildInterior:
          ReadExcelInterior(xml, &style->interior);
          break;
        case kChildNumberFormat:
          ReadNumberFormat(xml, &style->numFormat);
          break;
        default:
          break;
      }
    }
    SkipExcelElement(xml);
  }
}

}  // namespace

void ReadExcelStyles(const ExcelReader& in) {
  CXmlReader* xml = in.xml;
  StyleTable& table = in.book->styles;
  if (!ExcelTagHasContent(xml))
    return;
  while (NextExcelChild(xml)) {
    if (std::strcmp(xml->name, "Style")) {
      SkipExcelElement(xml);
      continue;
    }
    // A style the table has no room for cannot be read: the import stops
    // instead of writing past the table.
    if (table.styleCount >= StyleTable::kMaxStyles)
      ThrowXmlError(kFileXmlOutOfMemory);
    const uint16_t index = table.styleCount++;
    StyleRecord& style = table.styles[index];
    style = table.styles[0];
    char id[kXmlTextSize];
    // A style without an identifier cannot be referred to.
    if (!ReadExcelAttributeText(xml, "ID", id, sizeof id))
      id[0] = 0;
    in.styleIds->Set(index, id);
    char parent[kXmlTextSize];
    uint16_t parentIndex = 0;
    if (ReadExcelAttributeText(xml, "Parent", parent, sizeof parent) && in.styleIds->Find(parent, &parentIndex))
      style = table.styles[parentIndex];
    if (ExcelTagHasContent(xml))
      ReadStyleChildren(in, &style);
  }
}
