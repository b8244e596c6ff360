#ifndef TALVERO_DIALOGS_LIST_SLOTS_H
#define TALVERO_DIALOGS_LIST_SLOTS_H

// The workbook's drop-down list slots as the list editor sees them: which
// slots are in use, the items as the lines of one text and back, and the
// three settings the editor keeps with each list.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/model/drop_down_list.h"

// A slot is in use when it has a name or items.
bool IsListInUse(const DropDownList& list);
// The first slot (from 0) not in use, or -1 when all are.
int FirstFreeListSlot(const DropDownList* lists);

// The name the editor proposes for a new list in slot (from 0): "List 4."
// for the fourth.
void ProposedListName(int slot, char* name, size_t size);

// Each item followed by a carriage return and a line feed.
std::string ListItemsText(const DropDownList& list);
// Replaces the items by the lines of the text: each run of characters up to
// a line break is an item and the line breaks after it are skipped, so blank
// lines and a final line break add nothing while a text beginning with a
// line break gives an empty first item. Items are cut to the longest entry a
// list keeps. False when memory ran out; the items stored so far stay.
bool StoreListItems(DropDownList* list, const char* text);

// The AutoAppend, AutoComplete and Sort settings of a list, kept in the
// slot's editor value (bits 0, 1 and 2); files do not keep them.
struct ListSettings {
  uint8_t autoAppend;
  uint8_t autoComplete;
  uint8_t sort;
};
ListSettings ListSettingsOf(const DropDownList& list);
void SetListSettings(DropDownList* list, const ListSettings& settings);

#endif
