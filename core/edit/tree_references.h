#ifndef TALVERO_CORE_EDIT_TREE_REFERENCES_H
#define TALVERO_CORE_EDIT_TREE_REFERENCES_H

// Formulas name worksheets and folders by text (a path from the root, or
// one relative to the folder of the formula's own worksheet), so moving or
// renaming an item of the tree would make them name another item or none.
// A tree edit is made between the two halves of a TreeReferenceKeeper: it
// notes, before the edit, the item each sheet qualifier of every formula
// cell and chart series names, and afterwards rewrites each qualifier that
// now names another item (or none) to the full path of the item it named,
// so that every reference that worked before the edit works after it. An
// edit after which some formula could not name its item again is taken
// back: nothing is rewritten and the edit is refused.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/tree_item.h"
#include "core/workbook/kept_formula_texts.h"

class CWorkBook;
class CellStore;

class TreeReferenceKeeper {
 public:
  // Notes the qualifiers of every formula of the workbook and the items
  // they name. False with kWorkbookOutOfMemory in the workbook.
  bool NoteBefore(CWorkBook* book);
  // After the edit: the new text of each formula a qualifier of which now
  // names another item (or none). kWorkbookNoError, or why some formula
  // cannot name its item again: kWorkbookFormulaTooLong (its text, or a
  // chart series', would outgrow its room, stored or shown in either
  // addressing, so that it could not be entered again), kWorkbookPathTooLong or
  // kWorkbookPathUnwritable (the item's path cannot be written as a
  // qualifier), kWorkbookOutOfMemory.
  uint8_t PlanRewrite(CWorkBook* book);
  // Gives the formulas planned their new texts. Each formula rewritten goes
  // into kept (when given) with its text before. False when memory ran out
  // while a rewritten formula was stored or kept (kWorkbookOutOfMemory).
  bool RewriteAfter(CWorkBook* book, KeptFormulaTexts* kept = nullptr);

 private:
  struct Qualifier {
    uint16_t start;  // the qualifier token's characters in the formula text
    uint16_t end;
    std::string text;  // as the sheet operator reads it
    const CWorkSheetTree::CTreeItem* item;  // what it named before the edit
  };
  struct Formula {
    CellStore* store;  // the worksheet holding the formula cell or the chart
    // The formula cell; for a series, R1C1 (0, 0), the cell its formula is
    // evaluated, shown and typed for.
    uint16_t column;
    uint32_t row;
    char* series;      // a series formula's text, or null for a cell
    uint16_t containerId;  // a series': its container, item slot and index
    uint16_t slot;
    uint32_t seriesIndex;
    std::string text;  // the formula as scanned
    uint32_t firstQualifier;
    uint32_t qualifierCount;
    std::string rewritten;  // planned; empty when the formula keeps its text
  };
  std::vector<Formula> formulas_;
  std::vector<Qualifier> qualifiers_;
};

// The tree edits of the workbook (see CWorkBook) made between the halves
// of a keeper. False, with nothing changed, when the edit is refused (its
// code in the workbook: a refusal of ItemPathsRefusal or of PlanRewrite)
// or memory runs out before it. With kept given, it
// receives the formulas rewritten, for the edit's undo step (null when they
// could not be kept).
bool RenameItemKeepingReferences(CWorkBook* book, CWorkSheetTree::CTreeItem* item, const char* name,
                                 KeptFormulaTexts** kept = nullptr);
// A dragged item's move: where the target's folder already holds its name
// it takes another (UndoHistory::MakeUniqueName); refused, nothing moved,
// when a path of the moved items could not be named by a formula.
bool MoveItemsKeepingReferences(CWorkBook* book, CWorkSheetTree::CTreeItem* item, CWorkSheetTree::CTreeItem* target,
                                KeptFormulaTexts** kept = nullptr);

// Undoing or redoing a rename or a move: the item goes to position index
// at the depth (none when index is negative) and takes the name (none when
// null); then the formulas the edit kept take their other texts, or,
// without kept texts, the change is made between the halves of a keeper.
// False, with the item where it was, when it cannot be moved there or,
// without kept texts, the keeper refuses it.
bool PutItemBack(CWorkBook* book, CWorkSheetTree::CTreeItem* item, int32_t index, uint16_t depth, const char* name,
                 KeptFormulaTexts* kept);

// Gives each kept formula that still reads its present text its other
// one, and swaps the two. False when memory ran out while a text was
// stored (kWorkbookOutOfMemory); the formulas given theirs are swapped.
bool SwapKeptFormulaTexts(CWorkBook* book, KeptFormulaTexts* kept);

#endif
