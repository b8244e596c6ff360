#include "core/model/drop_down_list.h"

#include <cstring>
#include <new>

bool DropDownList::AppendEntry(const char* text) {
  size_t length = 0;
  if (text)
    while (length < kDropDownEntryMaxLength && text[length]) ++length;
  DropDownEntry* entry = new (std::nothrow) DropDownEntry{nullptr, nullptr};
  if (!entry)
    return false;
  entry->text = new (std::nothrow) char[length + 1];
  if (!entry->text) {
    delete entry;
    return false;
  }
  std::memcpy(entry->text, text ? text : "", length);
  entry->text[length] = '\0';
  DropDownEntry** link = &entries;
  while (*link) link = &(*link)->next;
  *link = entry;
  return true;
}

void DropDownList::FreeEntries() {
  while (entries) {
    DropDownEntry* entry = entries;
    entries = entry->next;
    delete[] entry->text;
    delete entry;
  }
}

void DropDownList::Clear() {
  FreeEntries();
  std::memset(name, 0, sizeof name);
}

uint32_t DropDownList::EntryCount() const {
  uint32_t count = 0;
  for (const DropDownEntry* entry = entries; entry; entry = entry->next) ++count;
  return count;
}
