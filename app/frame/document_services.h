#ifndef TALVERO_APP_FRAME_DOCUMENT_SERVICES_H
#define TALVERO_APP_FRAME_DOCUMENT_SERVICES_H

// What the frame asks of the document windows listed in the open-document
// table: whether a document is modified, to save it, whether it may close
// (asking the user about unsaved changes) and to close. The document
// windows provide these; a test puts in its own. Until a set is installed
// no document is modified and every document may close.

#include "core/workbook/open_document_table.h"

struct DocumentServices {
  bool (*isModified)(const OpenDocument& document);
  // Sends the Save command as an automatic save and returns once it is
  // done (a dialog it shows included). False when the save was held back,
  // nothing written and nothing asked, because the file would keep less
  // than the document holds: the document stays modified.
  bool (*save)(const OpenDocument& document);
  // "Save changes to ...?" with Yes, No and Cancel; false when the document
  // must stay open.
  bool (*queryClose)(const OpenDocument& document);
  // Posts the Close command to the document window.
  void (*postClose)(const OpenDocument& document);
};

// Null restores the set that knows of no document window. Returns the
// previous set; the set must outlive its use.
const DocumentServices* SetDocumentServices(const DocumentServices* services);
const DocumentServices& GetDocumentServices();

inline bool IsSlotOccupied(const OpenDocument& document) {
  return document.workbook != nullptr || document.frame != nullptr;
}
// The document keeps its file open from loading or its first save on.
bool DocumentHasFile(const OpenDocument& document);

#endif
