#include "core/workbook/open_document_table.h"

#include <cstring>

#include "core/base/text_compare.h"

namespace {

OpenDocumentTable table = {};

void SetName(OpenDocument& slot, const char* fileName) {
  const char* name = fileName ? fileName : "";
  std::strncpy(slot.fileName, name, kDocumentNameCapacity - 1);
  slot.fileName[kDocumentNameCapacity - 1] = '\0';
}

OpenDocument* SlotOf(const CWorkBook* workbook) {
  if (!workbook) return nullptr;
  for (OpenDocument& slot : table.slots)
    if (slot.workbook == workbook) return &slot;
  return nullptr;
}

}  // namespace

OpenDocumentTable& OpenDocuments() { return table; }

bool RegisterOpenDocument(CWorkBook* workbook, CChildFrame* frame, const char* fileName) {
  if (!workbook) return false;
  for (OpenDocument& slot : table.slots) {
    if (slot.workbook || slot.frame) continue;
    slot.workbook = workbook;
    slot.frame = frame;
    SetName(slot, fileName);
    return true;
  }
  return false;
}

bool RenameOpenDocument(const CWorkBook* workbook, const char* fileName) {
  OpenDocument* slot = SlotOf(workbook);
  if (!slot) return false;
  SetName(*slot, fileName);
  return true;
}

void UnregisterOpenDocument(const CWorkBook* workbook) {
  if (OpenDocument* slot = SlotOf(workbook)) *slot = OpenDocument{};
}

CWorkBook* FindOpenDocument(const char* name) {
  if (!name || !name[0]) return nullptr;
  const size_t length = std::strlen(name);
  for (const OpenDocument& slot : table.slots) {
    if (!slot.workbook) continue;
    if (CompareTextIgnoringCase(slot.fileName, std::strlen(slot.fileName), name, length) == 0)
      return slot.workbook;
  }
  return nullptr;
}
