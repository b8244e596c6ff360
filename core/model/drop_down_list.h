#ifndef TALVERO_CORE_DROP_DOWN_LIST_H
#define TALVERO_CORE_DROP_DOWN_LIST_H

// A named list of texts that a style offers as a cell's drop-down choices.
// A workbook has kDropDownListCount slots; a style refers to one by index.

#include <cstddef>
#include <cstdint>

constexpr uint32_t kDropDownListCount = 100;
constexpr size_t kDropDownNameSize = 30;  // NUL-terminated, at most 29 characters
constexpr size_t kDropDownEntryMaxLength = 1024;

struct DropDownEntry {
  char* text;  // owned, NUL-terminated
  DropDownEntry* next;
};

// 40 bytes on the 32-bit target. An empty name marks an unused slot.
struct DropDownList {
  DropDownList() = default;
  ~DropDownList() { Clear(); }
  DropDownList(const DropDownList&) = delete;
  DropDownList& operator=(const DropDownList&) = delete;

  // Appends a copy of the text, cut to kDropDownEntryMaxLength characters;
  // false, with the list unchanged, when out of memory.
  bool AppendEntry(const char* text);
  // Frees every entry; the name stays.
  void FreeEntries();
  // Frees every entry and empties the name: the slot is unused again.
  void Clear();
  uint32_t EntryCount() const;

  char name[kDropDownNameSize] = {};
  uint32_t editorValue = 0;  // kept for the list editor
  DropDownEntry* entries = nullptr;
};

static_assert(sizeof(void*) != 4 || sizeof(DropDownList) == 40, "a drop-down list is 40 bytes");

#endif
