// The Styles element: the workbook's fonts, then its cell styles, each style
// written as the parts in which it differs from a plain cell.

#include "files/native_xml/xml_styles.h"

#include <cstring>

#include "core/model/drop_down_list.h"
#include "files/errors/file_errors.h"
#include "files/native_binary/record_checks.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_style_names.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr int32_t kMaxBorderText = 1024;

const char* Bool(uint8_t flag) { return flag ? "1" : "0"; }

void AddLowerColor(XmlAttributeText* text, const char* format, uint32_t color) {
  text->Add(format, unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF), unsigned((color >> 16) & 0xFF));
}

// Side words in the order they are written, with their bits.
const struct {
  const char* word;
  uint8_t bit;
} kBorderSides[] = {{"Left", kBorderLeft},
                    {"Right", kBorderRight},
                    {"Top", kBorderTop},
                    {"Bottom", kBorderBottom},
                    {"DiagonalLeft", kBorderDiagonalLeft},
                    {"DiagonalRight", kBorderDiagonalRight}};

bool AlignmentIsDefault(const StyleAlignment& a) {
  return a.horizontalIndent == kDefaultHorizontalIndent && a.verticalIndent == kDefaultVerticalIndent &&
         !a.wrapText && !a.fitToCell && !a.rotation;
}

void WriteAlignment(CXmlReader* writer, const StyleAlignment& a) {
  XmlAttributeText text;
  if (const char* word = XmlNameOf(kXmlVerticalAlignmentNames, a.vertical))
    text.Add(" VerticalAlignment=\"%s\"", word);
  if (const char* word = XmlNameOf(kXmlHorizontalAlignmentNames, a.horizontal))
    text.Add(" HorizontalAlignment=\"%s\"", word);
  if (!AlignmentIsDefault(a))
    text.Add(" HorizontalIndent=\"%u\" VerticalIndent=\"%u\" WrapText=\"%s\" FitToCell=\"%s\" Rotation=\"%d\"",
             unsigned(a.horizontalIndent), unsigned(a.verticalIndent), Bool(a.wrapText), Bool(a.fitToCell),
             int(a.rotation));
  writer->WriteElement("Alignment", text.Text(), kXmlWriteEmpty, 2, 1);
}

void WriteBorders(CXmlReader* writer, const StyleBorders& borders) {
  XmlAttributeText text;
  const char* style = XmlNameOf(kXmlLineStyleNames, borders.line.style);
  text.Add("Style=\"%s\"", style ? style : "None");
  if (borders.line.colorSet)
    AddLowerColor(&text, " Color=\"#%02x%02x%02x\"", borders.line.color);
  writer->WriteElement("Borders", text.Text(), kXmlWriteStart, 2, 0);
  char sides[80] = {};
  for (const auto& side : kBorderSides)
    if (borders.sides & side.bit) {
      if (sides[0])
        std::strcat(sides, " ");
      std::strcat(sides, side.word);
    }
  writer->WriteText(sides, std::strlen(sides), true);
  writer->WriteElement("Borders", nullptr, kXmlWriteEnd, 0, 1);
}

void WriteStyle(CXmlReader* writer, const StyleRecord& style, int index) {
  char id[16];
  std::snprintf(id, sizeof id, "ID=\"%d\"", index);
  writer->WriteElement("Style", id, kXmlWriteStart, 1, 1);
  if (style.fontIndex || style.fontColorSet) {
    XmlAttributeText text;
    if (style.fontIndex)
      text.Add(" FontID=\"%u\"", unsigned(style.fontIndex));
    if (style.fontColorSet)
      AddLowerColor(&text, " Color=\"#%02x%02x%02x\"", style.fontColor);
    writer->WriteElement("FontRef", text.Text(), kXmlWriteEmpty, 2, 1);
  }
  if (style.numFormat.category)
    WriteXmlNumberFormat(writer, style.numFormat, 2);
  if (style.interior.pattern)
    WriteXmlFillPattern(writer, style.interior, 2);
  // With the default indents every style says so.
  WriteAlignment(writer, style.alignment);
  if (style.dropDown.listId) {
    XmlAttributeText text;
    text.Add("ListID=\"%u\" Sort=\"%s\" AutoAppend=\"%s\" AutoComplete=\"%s\"", unsigned(style.dropDown.listId),
             Bool(style.dropDown.sort), Bool(style.dropDown.autoAppend), Bool(style.dropDown.autoComplete));
    writer->WriteElement("DropDownListRef", text.Text(), kXmlWriteEmpty, 2, 1);
  }
  if (style.isProtected || style.hidden) {
    XmlAttributeText text;
    text.Add("Protected=\"%s\" Hidden=\"%s\"", Bool(style.isProtected), Bool(style.hidden));
    writer->WriteElement("Protection", text.Text(), kXmlWriteEmpty, 2, 1);
  }
  if (style.borders.sides && style.borders.line.style)
    WriteBorders(writer, style.borders);
  writer->WriteElement("Style", nullptr, kXmlWriteEnd, 1, 1);
}

}  // namespace

void WriteXmlStyles(CXmlReader* writer, const StyleTable& table) {
  if (table.styleCount == 0) {
    writer->WriteElement("Styles", nullptr, kXmlWriteEmpty, 0, 2);
    return;
  }
  writer->WriteElement("Styles", nullptr, kXmlWriteStart, 0, 1);
  const uint32_t fonts = table.fontCount > StyleTable::kMaxFonts ? StyleTable::kMaxFonts : table.fontCount;
  for (uint32_t i = 1; i < fonts; ++i) WriteXmlFont(writer, table.fonts[i], int(i), 1);
  const uint32_t styles = table.styleCount > StyleTable::kMaxStyles ? StyleTable::kMaxStyles : table.styleCount;
  for (uint32_t i = 1; i < styles; ++i) {
    // Values set beyond what the reader takes are written as the stored
    // files' checks leave them.
    StyleRecord style = table.styles[i];
    CheckStyleRecord(&style, uint8_t(fonts));
    WriteStyle(writer, style, int(i));
  }
  writer->WriteElement("Styles", nullptr, kXmlWriteEnd, 0, 2);
}

namespace {

bool Has(CXmlReader* reader, const char* name) { return reader->FindAttribute(nullptr, name); }

void ReadBoolAttribute(CXmlReader* reader, const char* name, uint8_t* flag) {
  if (Has(reader, name))
    reader->ReadBool(flag, reader->AttributeValue());
}

// The identifier of the next font or style: optional, but when given it
// must be a number in 1..highest equal to the index it will take.
void CheckId(CXmlReader* reader, uint32_t highest, uint32_t next) {
  if (!Has(reader, "ID"))
    return;
  uint16_t id = 0;
  reader->ParseUInt16(&id, 1, highest, reader->AttributeValue());
  if (id != next)
    ThrowXmlError(kFileXmlBadAttribute);
}

void ReadFonts(CXmlReader* reader, StyleTable* table) {
  while (FindXmlEmptyElement(reader, "Font")) {
    if (table->fontCount >= StyleTable::kMaxFonts)
      ThrowXmlError(kFileXmlUnexpectedElement);
    CheckId(reader, StyleTable::kMaxFonts - 1, table->fontCount);
    FontRecord& font = table->fonts[table->fontCount];
    std::memset(&font, 0, sizeof font);
    ReadXmlFontAttributes(reader, &font);
    ++table->fontCount;
  }
}

void ReadFontRef(CXmlReader* reader, const StyleTable& table, StyleRecord* style) {
  if (Has(reader, "FontID")) {
    reader->ParseUInt8(&style->fontIndex, 0, StyleTable::kMaxFonts - 1, reader->AttributeValue());
    if (style->fontIndex >= table.fontCount)
      ThrowXmlError(kFileXmlBadAttribute);
  }
  uint32_t color = 0;
  if (ReadXmlColorAttribute(reader, "Color", &color)) {
    style->fontColor = color;
    style->fontColorSet = 1;
  }
}

void ReadAlignment(CXmlReader* reader, StyleAlignment* a) {
  // "Default" keeps the code the style had.
  if (Has(reader, "VerticalAlignment") && std::strcmp(reader->AttributeValue(), "Default") != 0)
    a->vertical = ReadXmlName(reader, kXmlVerticalAlignmentNames);
  if (Has(reader, "HorizontalAlignment") && std::strcmp(reader->AttributeValue(), "Default") != 0)
    a->horizontal = ReadXmlName(reader, kXmlHorizontalAlignmentNames);
  if (Has(reader, "HorizontalIndent"))
    reader->ParseUInt8(&a->horizontalIndent, 0, 254, reader->AttributeValue());
  if (Has(reader, "VerticalIndent"))
    reader->ParseUInt8(&a->verticalIndent, 0, 254, reader->AttributeValue());
  ReadBoolAttribute(reader, "WrapText", &a->wrapText);
  ReadBoolAttribute(reader, "FitToCell", &a->fitToCell);
  if (Has(reader, "Rotation"))
    reader->ParseInt8(&a->rotation, -90, 90, reader->AttributeValue());
}

void ReadDropDownRef(CXmlReader* reader, DropDownRef* ref) {
  if (Has(reader, "ListID")) {
    uint16_t id = 0;
    reader->ParseUInt16(&id, 1, kDropDownListCount, reader->AttributeValue());
    ref->listId = id;
  }
  ReadBoolAttribute(reader, "Sort", &ref->sort);
  ReadBoolAttribute(reader, "AutoAppend", &ref->autoAppend);
  ReadBoolAttribute(reader, "AutoComplete", &ref->autoComplete);
}

// The writer says Protected and Hidden; earlier readers looked for Protect
// and HideFormula, which are taken as well.
void ReadProtection(CXmlReader* reader, StyleRecord* style) {
  ReadBoolAttribute(reader, "Protect", &style->isProtected);
  ReadBoolAttribute(reader, "Protected", &style->isProtected);
  ReadBoolAttribute(reader, "HideFormula", &style->hidden);
  ReadBoolAttribute(reader, "Hidden", &style->hidden);
}

void ReadBorders(CXmlReader* reader, StyleBorders* borders) {
  if (!reader->ReadElementText(nullptr, "Borders", kXmlClearAttributes | kXmlOptional, kMaxBorderText))
    return;
  BorderLine line = borders->line;
  ReadXmlLine(reader, &line);
  borders->line = line;
  // Words are split at blanks, the only whitespace character data keeps.
  const char* p = reader->text;
  while (*p) {
    while (*p == ' ') ++p;
    const char* end = p;
    while (*end && *end != ' ') ++end;
    for (const auto& side : kBorderSides)
      if (std::strlen(side.word) == size_t(end - p) && std::strncmp(side.word, p, size_t(end - p)) == 0)
        borders->sides = uint8_t(borders->sides | side.bit);
    p = end;
  }
}

void ReadStyle(CXmlReader* reader, StyleTable* table) {
  if (table->styleCount >= StyleTable::kMaxStyles)
    ThrowXmlError(kFileXmlUnexpectedElement);
  CheckId(reader, StyleTable::kMaxStyles - 1, table->styleCount);
  StyleRecord& style = table->styles[table->styleCount];
  style = table->styles[0];
  ++table->styleCount;
  if (FindXmlEmptyElement(reader, "FontRef"))
    ReadFontRef(reader, *table, &style);
  NumFormatParams format = style.numFormat;
  ReadXmlNumberFormat(reader, &format);
  style.numFormat = format;
  if (FindXmlEmptyElement(reader, "FillPattern")) {
    FillRecord fill = style.interior;
    ReadXmlFillPattern(reader, &fill);
    style.interior = fill;
  }
  if (FindXmlEmptyElement(reader, "Alignment"))
    ReadAlignment(reader, &style.alignment);
  if (FindXmlEmptyElement(reader, "DropDownListRef"))
    ReadDropDownRef(reader, &style.dropDown);
  if (FindXmlEmptyElement(reader, "Protection"))
    ReadProtection(reader, &style);
  ReadBorders(reader, &style.borders);
  reader->FindElement(nullptr, "Style", kXmlEndTag);
}

}  // namespace

void ReadXmlStyles(CXmlReader* reader, StyleTable* table) {
  if (!reader->FindElement(nullptr, "Styles", kXmlStartTag | kXmlEndTag | kXmlOptional))
    return;
  if (!reader->tag.hasContent)
    ThrowXmlError(kFileXmlUnexpectedElement);
  if (reader->tag.isEnd)
    return;
  ReadFonts(reader, table);
  // An empty Style is no start tag: it stays pending and fails at the end tag.
  while (reader->FindElement(nullptr, "Style", kXmlClearAttributes | kXmlStartTag | kXmlOptional))
    ReadStyle(reader, table);
  reader->FindElement(nullptr, "Styles", kXmlEndTag);
}
