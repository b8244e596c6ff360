#include "dialogs/drop_down_lists/list_slots.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kAutoAppendBit = 1;
constexpr uint32_t kAutoCompleteBit = 2;
constexpr uint32_t kSortBit = 4;

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

}  // namespace

bool IsListInUse(const DropDownList& list) { return list.name[0] != '\0' || list.entries != nullptr; }

int FirstFreeListSlot(const DropDownList* lists) {
  for (uint32_t slot = 0; slot < kDropDownListCount; ++slot)
    if (!IsListInUse(lists[slot])) return static_cast<int>(slot);
  return -1;
}

void ProposedListName(int slot, char* name, size_t size) { std::snprintf(name, size, "List %d.", slot + 1); }

std::string ListItemsText(const DropDownList& list) {
  std::string text;
  for (const DropDownEntry* entry = list.entries; entry != nullptr; entry = entry->next) {
    text += entry->text;
    text += "\r\n";
  }
  return text;
}

bool StoreListItems(DropDownList* list, const char* text) {
  list->FreeEntries();
  char item[kDropDownEntryMaxLength + 1];
  const char* at = text;
  while (*at != '\0') {
    size_t length = 0;
    while (at[length] != '\0' && !IsLineBreak(at[length])) ++length;
    const size_t kept = length < kDropDownEntryMaxLength ? length : kDropDownEntryMaxLength;
    std::memcpy(item, at, kept);
    item[kept] = '\0';
    if (!list->AppendEntry(item)) return false;
    at += length;
    while (IsLineBreak(*at)) ++at;
  }
  return true;
}

ListSettings ListSettingsOf(const DropDownList& list) {
  const uint32_t bits = list.editorValue;
  return ListSettings{static_cast<uint8_t>((bits & kAutoAppendBit) != 0),
                      static_cast<uint8_t>((bits & kAutoCompleteBit) != 0), static_cast<uint8_t>((bits & kSortBit) != 0)};
}

void SetListSettings(DropDownList* list, const ListSettings& settings) {
  list->editorValue = (settings.autoAppend ? kAutoAppendBit : 0) | (settings.autoComplete ? kAutoCompleteBit : 0) |
                      (settings.sort ? kSortBit : 0);
}
