// Fills and lines, which styles, backgrounds, containers and charts share,
// and the colour attributes they carry.

#include "core/base/scheme_colors.h"
#include "core/numfmt/format_colors.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

void AddUpperColor(XmlAttributeText* text, const char* name, uint32_t color) {
  text->Add(" %s=\"#%02X%02X%02X\"", name, unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
            unsigned((color >> 16) & 0xFF));
}

}  // namespace

bool ReadXmlColorAttribute(CXmlReader* reader, const char* name, uint32_t* color) {
  if (!reader->FindAttribute(nullptr, name))
    return false;
  uint32_t value = 0;
  if (!ParseColorName(reader->AttributeValue(), &value))
    ThrowXmlError(kFileXmlBadAttribute);
  *color = value;
  return true;
}

bool FindXmlEmptyElement(CXmlReader* reader, const char* name) {
  if (!reader->FindElement(nullptr, name, kXmlClearAttributes | kXmlOptional))
    return false;
  if (!reader->tag.hasContent)
    ThrowXmlError(kFileXmlUnexpectedElement);
  if (!reader->tag.isEnd)
    reader->FindElement(nullptr, name, kXmlEndTag);
  return true;
}

void WriteXmlFillPattern(CXmlReader* writer, const FillRecord& fill, int depth) {
  XmlAttributeText text;
  if (const char* word = fill.pattern ? XmlNameOf(kXmlPatternNames, fill.pattern) : nullptr)
    text.Add(" PatternType=\"%s\"", word);
  if (fill.patternColorSet)
    AddUpperColor(&text, "PatternColor", fill.patternColor);
  if (fill.backgroundColorSet)
    AddUpperColor(&text, "BackgroundColor", fill.backgroundColor);
  writer->WriteElement("FillPattern", text.Text(), kXmlWriteEmpty, depth, 1);
}

void ReadXmlFillPattern(CXmlReader* reader, FillRecord* fill) {
  fill->pattern = reader->FindAttribute(nullptr, "PatternType") ? ReadXmlName(reader, kXmlPatternNames) : 0;
  uint32_t color = GetSchemeColor(fill->pattern <= 1 ? kSchemeWindow : kSchemeWindowText);
  fill->patternColorSet = ReadXmlColorAttribute(reader, "PatternColor", &color) ? 1 : 0;
  fill->patternColor = color;
  color = GetSchemeColor(kSchemeWindow);
  fill->backgroundColorSet = ReadXmlColorAttribute(reader, "BackgroundColor", &color) ? 1 : 0;
  fill->backgroundColor = color;
}

void WriteXmlLine(CXmlReader* writer, const char* elementName, const BorderLine& line, int depth) {
  XmlAttributeText text;
  if (const char* word = line.style ? XmlNameOf(kXmlLineStyleNames, line.style) : nullptr)
    text.Add(" Style=\"%s\"", word);
  if (line.colorSet)
    AddUpperColor(&text, "Color", line.color);
  writer->WriteElement(elementName, text.Text(), kXmlWriteEmpty, depth, 1);
}

void ReadXmlLine(CXmlReader* reader, BorderLine* line) {
  line->style = reader->FindAttribute(nullptr, "Style") ? ReadXmlName(reader, kXmlLineStyleNames) : 0;
  uint32_t color = GetSchemeColor(kSchemeWindowText);
  line->colorSet = ReadXmlColorAttribute(reader, "Color", &color) ? 1 : 0;
  line->color = color;
}
