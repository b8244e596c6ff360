#ifndef TALVERO_FILES_EXCEL_XML_READER_H
#define TALVERO_FILES_EXCEL_XML_READER_H

// The parts of the Excel 2003 XML import and what they share: the style
// identifiers of the file, the element walk and the texts. Element and
// attribute prefixes play no part. Failures throw the XML codes;
// CWorkBook::LoadExcelXml catches them.

#include <cstddef>
#include <cstdint>

class CWorkBook;
class CWorkSheet;
class CXmlReader;
struct TextMeasurer;

// The style identifiers of the file by style index; entry 0 is "Default".
class StyleIdList {
 public:
  static constexpr uint32_t kCapacity = 1023;

  StyleIdList();
  ~StyleIdList();
  StyleIdList(const StyleIdList&) = delete;
  StyleIdList& operator=(const StyleIdList&) = delete;

  // Keeps a copy of the identifier for the style index; 56 when memory runs out.
  void Set(uint32_t index, const char* id);
  // The first index whose identifier equals id, letter case aside; false
  // when none does.
  bool Find(const char* id, uint16_t* index) const;

 private:
  char* ids_[kCapacity];
};

struct ExcelReader {
  CXmlReader* xml;
  CWorkBook* book;
  const TextMeasurer* screen;  // null: rows keep the heights the file gives
  int32_t pixelsPerInch;
  StyleIdList* styleIds;
};

// The next child of the element whose start tag was read last, its
// attributes readable: false at that element's end tag. Text between the
// children is passed over; the end of the data throws 57.
bool NextExcelChild(CXmlReader* xml);
// Passes over the rest of the element whose tag was read last.
void SkipExcelElement(CXmlReader* xml);
// The texts of the element whose tag was read last and of the elements
// inside it, decoded and joined; what passes `maximum` bytes is dropped. The
// element is read up to its end.
size_t ReadExcelText(CXmlReader* xml, char* out, size_t maximum);
// The current tag's attribute, or null.
const char* ExcelAttribute(CXmlReader* xml, const char* name);
// The attribute decoded into out (at most size - 1 bytes, the rest cut);
// false without the attribute.
bool ReadExcelAttributeText(CXmlReader* xml, const char* name, char* out, size_t size);
// Whether the current tag is a start tag whose element has content.
bool ExcelTagHasContent(const CXmlReader* xml);

void ReadExcelStyles(const ExcelReader& in);
void ReadExcelTable(const ExcelReader& in, CWorkSheet* sheet);
void ReadExcelWorksheetOptions(const ExcelReader& in, CWorkSheet* sheet);

#endif
