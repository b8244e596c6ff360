#ifndef TALVERO_CORE_DOCUMENT_PROPERTIES_H
#define TALVERO_CORE_DOCUMENT_PROPERTIES_H

// The document properties that Excel 2003 XML files carry: read by the
// import, written by the export, stamped by the save. Empty in a new workbook.

#include <cstddef>

constexpr size_t kDocumentPropertyNameSize = 128;  // NUL-terminated
constexpr size_t kDocumentPropertyTimeSize = 50;   // ISO 8601, NUL-terminated

struct DocumentPropertyTexts {
  char author[kDocumentPropertyNameSize];
  char lastAuthor[kDocumentPropertyNameSize];
  char company[kDocumentPropertyNameSize];
  char version[kDocumentPropertyNameSize];
  char lastPrinted[kDocumentPropertyTimeSize];
  char created[kDocumentPropertyTimeSize];
  char lastSaved[kDocumentPropertyTimeSize];
};

#endif
