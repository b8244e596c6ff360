// Font elements: the workbook's fonts in Styles, and the coloured fonts of
// titles, chart texts and page headers.

#include <cstring>

#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

void AddName(XmlAttributeText* text, const char* format, const XmlNameTable& table, uint8_t code) {
  // Codes without a word cannot be read back; the default is left instead.
  if (const char* word = code ? XmlNameOf(table, code) : nullptr)
    text->Add(format, word);
}

void AddFontAttributes(CXmlReader* writer, XmlAttributeText* text, const FontRecord& font) {
  char face[kFaceNameSize];
  std::memcpy(face, font.faceName, sizeof face);
  face[kFaceNameSize - 1] = 0;
  if (face[0])
    text->AddEscaped(writer, " Name=\"%s\"", face);
  AddName(text, " Family=\"%s\"", kXmlFontFamilyNames, font.family);
  // The reader takes 1..254; a size beyond is written as the default one.
  if (font.size && font.size <= 254)
    text->Add(" Size=\"%u\"", unsigned(font.size));
  AddName(text, " Weight=\"%s\"", kXmlFontWeightNames, font.weight);
  if (font.italic)
    text->Add(" Slant=\"Italic\"");
  if (font.underline)
    text->Add(" Underline=\"1\"");
  if (font.strikeOut)
    text->Add(" Strikeout=\"1\"");
  AddName(text, " CharSet=\"%s\"", kXmlCharSetNames, font.charSet);
}

void ReadFlag(CXmlReader* reader, const char* name, uint8_t* flag) {
  if (reader->FindAttribute(nullptr, name))
    reader->ReadBool(flag, reader->AttributeValue());
}

}  // namespace

void WriteXmlFont(CXmlReader* writer, const FontRecord& font, int index, int depth) {
  XmlAttributeText text;
  text.Add("ID=\"%d\"", index);
  AddFontAttributes(writer, &text, font);
  writer->WriteElement("Font", text.Text(), kXmlWriteEmpty, depth, 1);
}

void WriteXmlColorFont(CXmlReader* writer, const FontRecord& font, uint8_t colorSet, uint32_t color, int depth) {
  XmlAttributeText text;
  AddFontAttributes(writer, &text, font);
  if (colorSet)
    text.Add(" Color=\"#%02x%02x%02x\"", unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
             unsigned((color >> 16) & 0xFF));
  writer->WriteElement("Font", text.Text(), kXmlWriteEmpty, depth, 1);
}

void ReadXmlFontAttributes(CXmlReader* reader, FontRecord* font) {
  if (reader->FindAttribute(nullptr, "Name")) {
    const int32_t length = reader->DecodeAttributeText(int32_t(kFaceNameSize - 1));
    if (length < 0)
      ThrowXmlError(kFileXmlBadAttribute);
    std::memset(font->faceName, 0, sizeof font->faceName);
    std::memcpy(font->faceName, reader->text, size_t(length));
  }
  if (reader->FindAttribute(nullptr, "Family"))
    font->family = ReadXmlName(reader, kXmlFontFamilyNames);
  if (reader->FindAttribute(nullptr, "Size"))
    reader->ParseUInt8(&font->size, 1, 254, reader->AttributeValue());
  if (reader->FindAttribute(nullptr, "Weight"))
    font->weight = std::strcmp(reader->AttributeValue(), "Regular") == 0 ? uint8_t(kFontWeightNormal)
                                                                         : ReadXmlName(reader, kXmlFontWeightNames);
  if (reader->FindAttribute(nullptr, "Slant")) {
    const char* slant = reader->AttributeValue();
    if (std::strcmp(slant, "Italic") == 0)
      font->italic = 1;
    else if (std::strcmp(slant, "Regular") == 0 || std::strcmp(slant, "Roman") == 0)
      font->italic = 0;
    else
      ThrowXmlError(kFileXmlBadAttribute);
  }
  ReadFlag(reader, "Underline", &font->underline);
  ReadFlag(reader, "Strikeout", &font->strikeOut);
  if (reader->FindAttribute(nullptr, "CharSet"))
    font->charSet = ReadXmlName(reader, kXmlCharSetNames);
}

void ReadXmlColorFont(CXmlReader* reader, FontRecord* font, uint8_t* colorSet, uint32_t* color) {
  ReadXmlFontAttributes(reader, font);
  if (ReadXmlColorAttribute(reader, "Color", color))
    *colorSet = 1;
}
