#include "app/frame/open_documents.h"

#include <cstring>

#include "core/base/text_compare.h"
#include "core/workbook/workbook.h"

bool AddOpenDocument(CWorkBook* workbook, CChildFrame* window) {
  if (workbook == nullptr) return false;
  return RegisterOpenDocument(workbook, window, workbook->bufferedFile.path);
}

void RemoveOpenDocument(const CChildFrame* window) {
  if (window == nullptr) return;
  for (OpenDocument& slot : OpenDocuments().slots)
    if (slot.frame == window) slot = OpenDocument{};
}

CChildFrame* FindOpenDocumentByPath(const char* path) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  const size_t length = std::strlen(path);
  for (const OpenDocument& slot : OpenDocuments().slots) {
    if (slot.workbook == nullptr) continue;
    const char* held = slot.workbook->bufferedFile.path;
    if (held[0] != '\0' && CompareTextIgnoringCase(held, std::strlen(held), path, length) == 0) return slot.frame;
  }
  return nullptr;
}

uint32_t CountOpenDocuments() {
  uint32_t count = 0;
  for (const OpenDocument& slot : OpenDocuments().slots)
    if (slot.workbook != nullptr || slot.frame != nullptr) ++count;
  return count;
}
