#include "app/document/document_title.h"

#include <cstdio>

size_t ComposeDocumentTitle(const char* path, const char* untitled, const char* worksheetPath, bool modified,
                            char* out, size_t capacity) {
  if (capacity == 0) return 0;
  const char* head = path != nullptr && path[0] != '\0' ? path : (untitled != nullptr ? untitled : "");
  const int n = std::snprintf(out, capacity, "%s - %s%s", head, worksheetPath != nullptr ? worksheetPath : "",
                              modified ? " *" : "");
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return static_cast<size_t>(n) < capacity ? static_cast<size_t>(n) : capacity - 1;
}
