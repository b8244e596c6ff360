#include "files/native_xml/xml_title.h"

#include "files/errors/file_errors.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

void WriteTitle(CXmlReader* writer, const ColorFontRecord& font, const char* text, int depth) {
  writer->WriteElement("Title", nullptr, kXmlWriteStart, depth, 1);
  WriteXmlColorFont(writer, font, depth + 1);
  writer->WriteTextElement("Text", text, depth + 1, 1);
  writer->WriteElement("Title", nullptr, kXmlWriteEnd, depth, 1);
}

}  // namespace

void WriteXmlTitles(CXmlReader* writer, const ColorFontRecord& firstFont, const char* firstText,
                    const ColorFontRecord& secondFont, const char* secondText, int depth) {
  if (!firstText[0] && !secondText[0])
    return;
  WriteTitle(writer, firstFont, firstText, depth);
  if (secondText[0])
    WriteTitle(writer, secondFont, secondText, depth);
}

bool ReadXmlTitle(CXmlReader* reader, ColorFontRecord* font, char* text, size_t size) {
  if (!OpenXmlElement(reader, "Title", true))
    return false;
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  ReadXmlFontElement(reader, font);
  ReadXmlTextElementInto(reader, "Text", false, text, size);
  CloseXmlElement(reader, "Title");
  return true;
}
