#ifndef TALVERO_APP_DOCUMENT_TITLE_H
#define TALVERO_APP_DOCUMENT_TITLE_H

// The caption of a document window: the file's path (or the text for a
// workbook without a file), " - ", the active worksheet's full path, and
// " *" while there are unsaved changes.

#include <cstddef>

// Writes as much as fits, always NUL-terminated; the length written.
size_t ComposeDocumentTitle(const char* path, const char* untitled, const char* worksheetPath, bool modified,
                            char* out, size_t capacity);

#endif
