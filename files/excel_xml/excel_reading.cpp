// What every part of the Excel 2003 XML import shares: the walk over the
// elements, their texts and attributes, and the style identifiers.

#include <cstdlib>
#include <cstring>

#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_names.h"
#include "files/excel_xml/excel_reader.h"
#include "files/xml/xml_reader.h"

StyleIdList::StyleIdList() : ids_{} { Set(0, "Default"); }

StyleIdList::~StyleIdList() {
  for (char* id : ids_) std::free(id);
}

void StyleIdList::Set(uint32_t index, const char* id) {
  if (index >= kCapacity)
    ThrowXmlError(kFileXmlOutOfMemory);
  const size_t length = std::strlen(id);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy)
    ThrowXmlError(kFileXmlOutOfMemory);
  std::memcpy(copy, id, length + 1);
  std::free(ids_[index]);
  ids_[index] = copy;
}

bool StyleIdList::Find(const char* id, uint16_t* index) const {
  for (uint32_t i = 0; i < kCapacity && ids_[i]; ++i)
    if (ExcelWordsEqual(ids_[i], id)) {
      *index = uint16_t(i);
      return true;
    }
  return false;
}

bool ExcelTagHasContent(const CXmlReader* xml) { return xml->tag.hasContent && !xml->tag.isEnd; }

bool NextExcelChild(CXmlReader* xml) {
  xml->ReadText(nullptr);
  if (!xml->FindElement(nullptr, nullptr, kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional))
    ThrowXmlError(kFileXmlUnexpectedElement);
  return xml->tag.hasContent;
}

void SkipExcelElement(CXmlReader* xml) {
  if (!ExcelTagHasContent(xml))
    return;
  // The search overwrites the tag's names as it goes.
  static thread_local char prefix[kXmlTextSize];
  static thread_local char name[kXmlTextSize];
  std::memcpy(prefix, xml->prefix, std::strlen(xml->prefix) + 1);
  std::memcpy(name, xml->name, std::strlen(xml->name) + 1);
  xml->SkipElement(prefix, name);
}

size_t ReadExcelText(CXmlReader* xml, char* out, size_t maximum) {
  size_t length = 0;
  out[0] = 0;
  if (!ExcelTagHasContent(xml))
    return 0;
  for (int depth = 1; depth > 0;) {
    xml->ReadText(nullptr);
    const int32_t decoded = xml->DecodeEntities();
    if (decoded < 0)
      ThrowXmlError(kFileXmlBadData);
    const size_t taken = size_t(decoded) < maximum - length ? size_t(decoded) : maximum - length;
    std::memcpy(out + length, xml->text, taken);
    length += taken;
    out[length] = 0;
    if (!xml->FindElement(nullptr, nullptr, kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional))
      ThrowXmlError(kFileXmlUnexpectedElement);
    if (ExcelTagHasContent(xml))
      ++depth;
    else if (!xml->tag.hasContent)
      --depth;
  }
  return length;
}

const char* ExcelAttribute(CXmlReader* xml, const char* name) {
  return xml->FindAttribute(nullptr, name) ? xml->AttributeValue() : nullptr;
}

bool ReadExcelAttributeText(CXmlReader* xml, const char* name, char* out, size_t size) {
  if (!xml->FindAttribute(nullptr, name))
    return false;
  const int32_t length = xml->DecodeAttributeText(int32_t(kXmlTextSize - 1));
  if (length < 0)
    ThrowXmlError(kFileXmlBadAttribute);
  const size_t taken = size_t(length) < size - 1 ? size_t(length) : size - 1;
  std::memcpy(out, xml->text, taken);
  out[taken] = 0;
  return true;
}
