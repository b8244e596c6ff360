// The Styles element of the export: one Style per style of the workbook,
// with its alignment, borders, font, fill and number format.

#include <cstdio>
#include <cstring>

#include "core/numfmt/format_code_builder.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_names.h"
#include "files/excel_xml/excel_writer.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/xml/xml_reader.h"

namespace {

// Attribute texts are put together with a blank before each attribute; the
// tag takes them without the first.
const char* Attributes(const XmlAttributeText& text) { return text.Text() ? text.Text() + 1 : nullptr; }

void AddColor(XmlAttributeText* text, const char* format, uint32_t color) {
  text->Add(format, unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF), unsigned((color >> 16) & 0xFF));
}

void AddUpperColor(XmlAttributeText* text, const char* name, uint32_t color) {
  char format[48];
  std::snprintf(format, sizeof format, " %s=\"#%%02X%%02X%%02X\"", name);
  AddColor(text, format, color);
}

void WriteAlignment(const ExcelWriter& out, const StyleRecord& style, const StyleRecord& base, bool isDefault,
                    int depth) {
  const StyleAlignment& a = style.alignment;
  XmlAttributeText text;
  const char* horizontal = XmlNameOf(kXmlHorizontalAlignmentNames, a.horizontal);
  if (horizontal && (isDefault || a.horizontal != base.alignment.horizontal))
    text.Add(" ss:Horizontal=\"%s\"", horizontal);
  const char* vertical = XmlNameOf(kXmlVerticalAlignmentNames, a.vertical);
  if (vertical && (isDefault || a.vertical != base.alignment.vertical))
    text.Add(" ss:Vertical=\"%s\"", vertical);
  if (a.horizontalIndent != kDefaultHorizontalIndent)
    text.Add(" ss:Indent=\"%d\"", int(a.horizontalIndent));
  if (a.wrapText)
    text.Add(" ss:WrapText=\"1\"");
  if (a.fitToCell)
    text.Add(" ss:ShrinkToFit=\"1\"");
  if (a.rotation)
    text.Add(" ss:Rotate=\"%d\"", int(a.rotation));
  if (text.Text() || isDefault)
    out.xml->WriteElement("Alignment", Attributes(text), kXmlWriteEmpty, depth, 1);
}

void WriteExcelBorder(const ExcelWriter& out, const char* position, const BorderLine& line, int depth) {
  XmlAttributeText text;
  text.Add(" ss:Position=\"%s\"", position);
  const ExcelLineWords words = ExcelLineWordsOf(line.style);
  if (words.lineStyle)
    text.Add(" ss:LineStyle=\"%s\"", words.lineStyle);
  if (words.weight)
    text.Add(" ss:Weight=\"%s\"", words.weight);
  if (line.colorSet)
    AddUpperColor(&text, "ss:Color", line.color);
  out.xml->WriteElement("Border", Attributes(text), kXmlWriteEmpty, depth, 1);
}

void WriteBorders(const ExcelWriter& out, const StyleRecord& style, bool isDefault, int depth) {
  if (!style.borders.sides) {
    if (isDefault)
      out.xml->WriteElement("Borders", nullptr, kXmlWriteEmpty, depth, 1);
    return;
  }
  out.xml->WriteElement("Borders", nullptr, kXmlWriteStart, depth, 1);
  for (const ExcelBorderPosition& position : kExcelBorderPositions)
    if (style.borders.sides & position.side)
      WriteExcelBorder(out, position.word, style.borders.line, depth + 1);
  out.xml->WriteElement("Borders", nullptr, kXmlWriteEnd, depth, 1);
}

void WriteExcelFont(const ExcelWriter& out, const StyleRecord& style, int depth) {
  const FontRecord& font = out.book->styles.FontAt(style.fontIndex);
  XmlAttributeText text;
  char face[kFaceNameSize];
  std::memcpy(face, font.faceName, sizeof face);
  face[kFaceNameSize - 1] = 0;
  if (face[0])
    text.AddEscaped(out.xml, " ss:FontName=\"%s\"", face);
  if (const char* family = ExcelFontFamilyWord(font.family))
    text.Add(" x:Family=\"%s\"", family);
  if (font.size)
    text.Add(" ss:Size=\"%d\"", int(font.size));
  if (font.weight)
    text.Add(" ss:Bold=\"1\"");
  if (font.italic)
    text.Add(" ss:Italic=\"1\"");
  if (font.underline)
    text.Add(" ss:Underline=\"Single\"");
  if (style.fontColorSet)
    AddColor(&text, " ss:Color=\"#%02x%02x%02x\"", style.fontColor);
  out.xml->WriteElement("Font", Attributes(text), kXmlWriteEmpty, depth, 1);
}

bool IsSolidFill(uint8_t pattern) { return pattern == 1 || (pattern >= 19 && pattern <= 22); }

void WriteExcelInterior(const ExcelWriter& out, const FillRecord& fill, int depth) {
  XmlAttributeText text;
  if (IsSolidFill(fill.pattern)) {
    if (fill.patternColorSet)
      AddUpperColor(&text, "ss:Color", fill.patternColor);
    text.Add(" ss:Pattern=\"Solid\"");
  } else if (fill.pattern) {
    if (fill.backgroundColorSet)
      AddUpperColor(&text, "ss:Color", fill.backgroundColor);
    if (const char* word = XmlNameOf(kXmlPatternNames, fill.pattern))
      text.Add(" ss:Pattern=\"%s\"", word);
    if (fill.patternColorSet)
      AddUpperColor(&text, "ss:PatternColor", fill.patternColor);
  }
  out.xml->WriteElement("Interior", Attributes(text), kXmlWriteEmpty, depth, 1);
}

// The code of a style's number format as other programs read it. The code
// of a predefined category is built again and kept in the style.
const char* ExportedFormatCode(StyleRecord* style, char* out, size_t size) {
  NumFormatParams& format = style->numFormat;
  if (format.category >= kNumFormatGeneral && format.category <= kNumFormatScientific &&
      !BuildFormatCode(format.category, format.options, format.code, sizeof format.code, nullptr))
    format.code[0] = 0;
  format.code[sizeof format.code - 1] = 0;
  std::snprintf(out, size, "%s", format.code);
  // The program shows a percent value times 100 behind a plain percent
  // sign; other programs multiply by a percent sign only when it is not
  // escaped.
  const size_t length = std::strlen(out);
  if (format.category == kNumFormatPercent && length >= 2 && std::strcmp(out + length - 2, "\\%") == 0) {
    out[length - 2] = '%';
    out[length - 1] = 0;
  }
  return out;
}

void WriteNumberFormat(const ExcelWriter& out, StyleRecord* style, bool isDefault, int depth) {
  char code[kNumFormatCodeSize];
  if (style->numFormat.category == kNumFormatDefault || !ExportedFormatCode(style, code, sizeof code)[0]) {
    if (isDefault)
      out.xml->WriteElement("NumberFormat", nullptr, kXmlWriteEmpty, depth, 1);
    return;
  }
  static thread_local char attribute[kXmlTextSize + 16];
  const char* escaped = ExcelEscaped(out.xml, code, std::strlen(code));
  std::snprintf(attribute, sizeof attribute, "ss:Format=\"%s\"", escaped);
  out.xml->WriteElement("NumberFormat", attribute, kXmlWriteEmpty, depth, 1);
}

}  // namespace

void WriteExcelStyles(const ExcelWriter& out, int depth) {
  StyleTable& table = out.book->styles;
  CXmlReader* xml = out.xml;
  xml->WriteElement("Styles", nullptr, kXmlWriteStart, depth, 1);
  const StyleRecord& base = table.styles[0];
  for (uint32_t index = 0; index < table.styleCount && index < StyleTable::kMaxStyles; ++index) {
    StyleRecord* style = &table.styles[index];
    const bool isDefault = index == 0;
    char identifier[48];
    if (isDefault)
      std::snprintf(identifier, sizeof identifier, "ss:ID=\"Default\" ss:Name=\"Normal\"");
    else
      std::snprintf(identifier, sizeof identifier, "ss:ID=\"s%u\"", unsigned(index + 20));
    xml->WriteElement("Style", identifier, kXmlWriteStart, depth + 1, 1);
    WriteAlignment(out, *style, base, isDefault, depth + 2);
    WriteBorders(out, *style, isDefault, depth + 2);
    // A colour of its own needs the element too: without it the text
    // would come back black.
    if (isDefault || style->fontIndex || style->fontColorSet)
      WriteExcelFont(out, *style, depth + 2);
    if (isDefault || style->interior.pattern)
      WriteExcelInterior(out, style->interior, depth + 2);
    WriteNumberFormat(out, style, isDefault, depth + 2);
    if (isDefault)
      xml->WriteElement("Protection", nullptr, kXmlWriteEmpty, depth + 2, 1);
    xml->WriteElement("Style", nullptr, kXmlWriteEnd, depth + 1, 1);
  }
  xml->WriteElement("Styles", nullptr, kXmlWriteEnd, depth, 1);
}
