#ifndef TALVERO_APP_FRAME_OPEN_DOCUMENTS_H
#define TALVERO_APP_FRAME_OPEN_DOCUMENTS_H

// The frame's view of the open-document table: document windows taken in
// and let go, found by the file they hold, and counted. The slot order is
// the order of the auto-save and close passes.

#include <cstdint>

#include "core/workbook/open_document_table.h"

// Puts the window and its workbook into the first free slot, named by the
// workbook's file path; false when all slots are taken.
bool AddOpenDocument(CWorkBook* workbook, CChildFrame* window);
// Frees the slot holding the window, if any.
void RemoveOpenDocument(const CChildFrame* window);
// The window whose workbook holds the file at path. Paths are compared
// without regard to case, as the file system names files, so that one file
// is never opened twice. Null when none does or path is empty.
CChildFrame* FindOpenDocumentByPath(const char* path);
uint32_t CountOpenDocuments();

#endif
