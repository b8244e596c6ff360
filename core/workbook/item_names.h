#ifndef TALVERO_CORE_WORKBOOK_ITEM_NAMES_H
#define TALVERO_CORE_WORKBOOK_ITEM_NAMES_H

// The names the program gives worksheets and folders. Formulas name items
// by their paths, compared without regard to letter case, read back from a
// qualifier with its surrounding blanks cut and written quoted with one of
// the two quote characters, which a qualifier cannot escape. So a name the
// program gives leaves every path naming one item and writable in a
// formula: no sibling bears the name, no name holds the backslash that
// separates a path's names, and no path holds both quote characters or
// grows longer than a qualifier every reference can follow
// (kLongestNameablePath). Names read from files, and those of items a client
// inserts through the automation interface, are taken as they come.

#include <cstdint>

#include "core/formula/formula_ref_text.h"
#include "core/model/tree_item.h"

// The longest path the program gives an item: a formula can name it before
// any reference, in the stored form and in the display form.
constexpr size_t kLongestNameablePath = kLongestQualifierText;

// The item of the same folder as item (item itself aside) whose name is
// name, letter case aside; null when there is none. The item is linked.
CWorkSheetTree::CTreeItem* FindSiblingNamed(const CWorkSheetTree::CTreeItem* item, const char* name);

// A typed name as an item takes it: cut to a name's 127 characters and the
// blanks around it cut, as a qualifier reading it would. Empty when nothing
// but blanks was typed.
void TrimTypedItemName(const char* typed, char (&out)[kTreeItemNameSize]);

// Why the linked item may not be renamed to name (a WorkbookError:
// kWorkbookNameHoldsBackslash, kWorkbookNameTaken, kWorkbookPathUnwritable,
// kWorkbookPathTooLong), or kWorkbookNoError.
uint8_t ItemNameRefusal(CWorkSheetTree::CTreeItem* item, const char* name);

// Why a path of the linked item or of its contents cannot be named by a
// formula (kWorkbookPathUnwritable, kWorkbookPathTooLong), or kWorkbookNoError.
uint8_t ItemPathsRefusal(const CWorkSheetTree::CTreeItem* item);

// Whether the code is one of the refusals above, or kWorkbookFormulaTooLong:
// a name the formulas naming the item could not be rewritten to.
bool IsItemNameRefusal(uint8_t code);

class CWorkBook;

// An item just made and linked into the workbook (new, pasted or a dropped
// copy), renamed where a sibling bears its name
// (UndoHistory::MakeUniqueName). False, the item unlinked and destroyed and
// the refusal in the workbook's error, when a path of it could not be named
// by a formula. Such an item never holds the workbook's last worksheet.
bool SettleLinkedItem(CWorkBook* book, CWorkSheetTree::CTreeItem* item);

#endif
