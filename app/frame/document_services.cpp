#include "app/frame/document_services.h"

#include "core/workbook/workbook.h"

namespace {

bool NeverModified(const OpenDocument&) { return false; }
bool NoSave(const OpenDocument&) { return true; }
bool AlwaysMayClose(const OpenDocument&) { return true; }
void NoClose(const OpenDocument&) {}

const DocumentServices kNoDocumentWindows = {NeverModified, NoSave, AlwaysMayClose, NoClose};
const DocumentServices* g_services = &kNoDocumentWindows;

}  // namespace

const DocumentServices* SetDocumentServices(const DocumentServices* services) {
  const DocumentServices* previous = g_services;
  g_services = services != nullptr ? services : &kNoDocumentWindows;
  return previous;
}

const DocumentServices& GetDocumentServices() { return *g_services; }

bool DocumentHasFile(const OpenDocument& document) {
  return document.workbook != nullptr && document.workbook->bufferedFile.file != nullptr;
}
