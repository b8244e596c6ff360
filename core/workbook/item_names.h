#ifndef TALVERO_CORE_WORKBOOK_ITEM_NAMES_H
#define TALVERO_CORE_WORKBOOK_ITEM_NAMES_H

// The names the program gives worksheets and folders. Formulas name items
// by their paths, compared without regard to letter case, so a name the
// program gives leaves every path naming one item: no sibling bears the
// name. Names read from files or given through the automation interface are
// taken as they come.

#include <cstdint>

#include "core/model/tree_item.h"

// The item of the same folder as item (item itself aside) whose name is
// name, letter case aside; null when there is none. The item is linked.
CWorkSheetTree::CTreeItem* FindSiblingNamed(const CWorkSheetTree::CTreeItem* item, const char* name);

// Why the linked item may not be renamed to name (a WorkbookError:
// kWorkbookNameTaken), or kWorkbookNoError.
uint8_t ItemNameRefusal(CWorkSheetTree::CTreeItem* item, const char* name);

// Whether the code is one of the refusals above.
bool IsItemNameRefusal(uint8_t code);

#endif
