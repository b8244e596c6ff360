#ifndef TALVERO_CORE_OPEN_DOCUMENT_TABLE_H
#define TALVERO_CORE_OPEN_DOCUMENT_TABLE_H

// The documents open in the program: one slot per document window, with the
// workbook it owns and the file name by which formulas of other workbooks
// name it ("[name]sheet!"). The frame registers a document when it opens or
// creates one, renames it when it is saved under another name, and removes
// it when it closes. Process-wide, on the user-interface thread only.

#include <cstddef>
#include <cstdint>

class CWorkBook;
class CChildFrame;

constexpr uint32_t kOpenDocumentSlots = 16;
// File names as the frame gives them, NUL included.
constexpr size_t kDocumentNameCapacity = 260;

// A slot is free when both pointers are null.
struct OpenDocument {
  CWorkBook* workbook;
  CChildFrame* frame;
  char fileName[kDocumentNameCapacity];
};

struct OpenDocumentTable {
  OpenDocument slots[kOpenDocumentSlots];
};

OpenDocumentTable& OpenDocuments();

// Takes the first free slot; false when all are taken or the workbook is
// null. A name that does not fit is cut.
bool RegisterOpenDocument(CWorkBook* workbook, CChildFrame* frame, const char* fileName);
// The slot of the workbook gets a new name; false when it is not registered.
bool RenameOpenDocument(const CWorkBook* workbook, const char* fileName);
// Frees the workbook's slot, if any.
void UnregisterOpenDocument(const CWorkBook* workbook);
// The workbook of the first slot whose file name equals name as a whole,
// letter case aside; null when none does or name is empty.
CWorkBook* FindOpenDocument(const char* name);

#endif
