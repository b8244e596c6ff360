#ifndef TALVERO_CORE_UNDO_HISTORY_H
#define TALVERO_CORE_UNDO_HISTORY_H

// The undo history: a fixed array of steps and a current index. Every edit
// records its step before it changes anything; applying a step swaps the
// saved state with the present one, so that the same step undoes and redoes.
// Steps name their worksheet by position in the tree, never by pointer,
// because worksheets may be removed and re-created between steps. The same
// structure serves as the clipboard ring.

#include <cstddef>
#include <cstdint>

#include "core/styles/style_table.h"
#include "core/model/tree_item.h"
#include "core/workbook/kept_formula_texts.h"

class CWorkBook;
class CWorkSheet;
class ContainerRecord;
class SheetFormat;

constexpr int32_t kUndoRecordCount = 201;
// Undo builds the replacement state here before moving it into the step, so
// it is never a step itself.
constexpr int32_t kUndoScratchRecord = 200;
constexpr uint32_t kUndoMaxLevels = 200;

// What a record owns.
enum UndoStorageKind : uint8_t {
  kUndoOwnsNothing = 0,
  kUndoOwnsValue = 1,  // a cell value's text or a saved name
  kUndoOwnsCells = 2,
  kUndoOwnsFormats = 3,
  kUndoOwnsCellsAndFormats = 4,
  kUndoOwnsContainer = 5,
  kUndoOwnsItems = 6,
  kUndoOwnsPermutation = 7,
};

enum UndoStepKind : uint8_t {
  kUndoStepNone = 0,
  kUndoStepCells = 1,
  kUndoStepCellsAndStyles = 2,
  kUndoStepColumns = 3,
  kUndoStepRows = 4,
  kUndoStepContainerAddedOrRemoved = 5,
  kUndoStepContainerChanged = 6,
  kUndoStepTreeItem = 7,
  kUndoStepRename = 8,
  kUndoStepSort = 9,
  kUndoStepRowsChange = 10,
  kUndoStepColumnsChange = 11,
  // A tree item moved with its contents: where it stands and where it came from.
  kUndoStepTreeItemMoved = 12,
};

// Value kinds of a saved single cell; an error constant is a number whose
// type byte keeps its error nibble.
enum UndoValueKind : uint8_t {
  kUndoValueEmpty = 0,
  kUndoValueText = 1,
  kUndoValueNumber = 2,
  kUndoValueFormula = 4,
};

// Flags of a snapshot rectangle's corners.
constexpr uint8_t kSnapshotWholeRows = 1;
constexpr uint8_t kSnapshotWholeColumns = 8;
constexpr uint8_t kSnapshotCells = 9;

#pragma pack(push, 1)
struct UndoRange {
  uint16_t firstColumn;
  uint32_t firstRow;
  uint16_t lastColumn;
  uint32_t lastRow;
};

struct UndoCorner {
  uint16_t column;
  uint32_t row;
  uint8_t flags;
};
#pragma pack(pop)

// The fields of a step. Plain data: records are cleared with memset and
// moved with memmove, their owned pointers with them.
struct UndoRecordFields {
  uint8_t storageKind;  // UndoStorageKind
  uint8_t stepKind;     // UndoStepKind
  char sheetPath[kTreePathCapacity];
  int32_t sheetIndex;  // of the active worksheet when recorded; -1 when not found
  uint16_t cursorColumn;
  uint32_t cursorRow;
  UndoRange range;
  // A single cell (kind 1: text owns a copy of its whole record, none for
  // an empty cell) or a saved name (kind 8, in text).
  uint16_t valueColumn;
  uint32_t valueRow;
  uint8_t valueKind;  // UndoValueKind
  uint8_t valueType;  // the cell's type byte, error nibble included
  double number;
  char* text;
  // Snapshots (kinds 2, 3, 4, 10, 11).
  UndoCorner snapshotFirst;
  UndoCorner snapshotLast;
  CWorkSheet* snapshot;
  // Kind 9: for each row of the range, the row it was taken from.
  UndoRange sortRange;
  uint32_t* permutation;
  // Kinds 7, 8 and 12: the item's position; kind 7 may keep a detached
  // chain. Kind 12 keeps in text the name to give the item back when the
  // move renamed it.
  int32_t itemIndex;
  CWorkSheetTree::CTreeItem* items;
  // Kinds 5 and 6.
  uint16_t containerId;
  ContainerRecord* container;
  // Kind 12: the position and depth to move the item at itemIndex back to.
  int32_t movedFromIndex;
  uint16_t movedFromDepth;
  // Kinds 10 and 11: the formulas of the worksheet that the step's deletion
  // or insertion of lines rewrote, as they stood before it (their places and
  // texts then), owned whatever the storage kind.
  CellStore* rewrittenFormulas;
  // Kinds 8 and 12: the formulas the edit rewrote to keep naming the items,
  // owned whatever the storage kind; null when they could not be kept (the
  // step then finds them again as it is applied).
  KeptFormulaTexts* keptTexts;
};

constexpr size_t kUndoRecordSize = 408;

struct UndoRecord : UndoRecordFields {
  // Keeps the record at its documented size where pointers are 4 bytes.
  uint8_t reserved[sizeof(void*) == 4 ? kUndoRecordSize - sizeof(UndoRecordFields) : 4];
};
static_assert(offsetof(UndoRecordFields, stepKind) == 1 && offsetof(UndoRecordFields, sheetPath) == 2, "");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(UndoRecord) == kUndoRecordSize, "an undo record is 408 bytes");
#endif
static_assert(sizeof(UndoRange) == 12 && sizeof(UndoCorner) == 7, "");

class UndoHistory {
 public:
  // Every record cleared, no step, one level, the private style table empty.
  UndoHistory();
  ~UndoHistory() { Destroy(); }
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // 1 to 200 levels; false for others. When more steps are held than the
  // new levels allow, the newest are kept and the redo tail past the last
  // allowed index is freed.
  bool SetLevels(uint32_t levels);
  uint32_t Levels() const { return uint32_t(lastAllowed_) + 1; }

  // Recorders: each takes the next slot, discards the redo tail and fills
  // the record for the workbook's active worksheet. False with the
  // workbook's error kWorkbookOutOfMemory (the slot then stays cleared and
  // the edit must not proceed).
  bool RecordCells(CWorkBook* book, const UndoRange& range);
  bool RecordCellsAndStyles(CWorkBook* book, const UndoRange& range, bool cells, bool formats);
  bool RecordColumnWidths(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn);
  bool RecordRowHeights(CWorkBook* book, uint32_t firstRow, uint32_t lastRow);
  bool RecordContainerAdded(CWorkBook* book, uint16_t id);
  // Takes the removed (unlinked) container.
  bool RecordContainerRemoved(CWorkBook* book, ContainerRecord* container);
  bool RecordContainerChange(CWorkBook* book, ContainerRecord* container);
  bool RecordItemInserted(CWorkBook* book, int32_t index);
  // Takes the detached chain; its worksheets' styles move to the private table.
  bool RecordItemRemoved(CWorkBook* book, CWorkSheetTree::CTreeItem* chain, int32_t index);
  bool RecordRename(CWorkBook* book, CWorkSheetTree::CTreeItem* item);
  // After CWorkBook::MoveItems: the item now in its new place, and the
  // position and depth it had before, with the name it had when the move
  // renamed it (else null). Takes the kept formula texts, also on failure.
  bool RecordItemMoved(CWorkBook* book, CWorkSheetTree::CTreeItem* item, int32_t fromIndex, uint16_t fromDepth,
                       const char* fromName = nullptr, KeptFormulaTexts* kept = nullptr);
  // permutation[r - range.firstRow]: the row whose contents went to row r.
  // False with kWorkbookInvalidCacheIndex (no step) when it is not a
  // permutation of the range's rows.
  bool RecordSort(CWorkBook* book, const UndoRange& range, const uint32_t* permutation);
  // Rows (columns) first..last were inserted; the WithSnapshot forms are
  // recorded before they are deleted and keep their cells and formats.
  bool RecordRowsChange(CWorkBook* book, uint32_t firstRow, uint32_t lastRow);
  bool RecordRowsChangeWithSnapshot(CWorkBook* book, uint32_t firstRow, uint32_t lastRow);
  bool RecordColumnsChange(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn);
  bool RecordColumnsChangeWithSnapshot(CWorkBook* book, uint16_t firstColumn, uint16_t lastColumn);

  // Removes the newest step, for an edit that failed after recording. With
  // free clear the caller has taken what the record owned.
  void DropLast(bool free);
  // Releases what record index owns; its storage kind becomes 0.
  void Free(int32_t index);
  // Frees every record; no step.
  void FreeAll();
  void Destroy() { FreeAll(); }

  // Copies the rectangle's cells and/or formats of the worksheet into a new
  // snapshot worksheet held by the record; formats carry their styles into
  // the private table. False with kWorkbookOutOfMemory.
  // Keeps in record index (a lines step of the sheet) the formulas of the
  // sheet that the deletion (or insertion) of its lines about to be made
  // will rewrite, as they stand now. False with the workbook's error.
  bool KeepRewrittenFormulas(CWorkBook* book, CWorkSheet* sheet, int32_t index, bool deletion);
  bool SnapshotRange(CWorkBook* book, CWorkSheet* sheet, const UndoRange& rect, int32_t index, bool cells,
                     bool formats);
  // Puts the saved cell of a single-cell record back, byte for byte; an
  // array formula covering the cell goes with its whole result.
  bool RestoreCells(CWorkBook* book, CWorkSheet* sheet, int32_t index);
  // Tiles the record's snapshot over the target (a single cell grows to the
  // snapshot's size), cells and/or formats, then compacts the workbook's styles.
  bool RestoreCellsAndStyles(CWorkBook* book, CWorkSheet* sheet, const UndoRange& target, int32_t index,
                             bool cells, bool formats);
  // Saves the present value of a cell into record index (kind 1 data).
  bool SaveCellValue(CWorkBook* book, CWorkSheet* sheet, uint16_t column, uint32_t row, int32_t index);
  // Moves the data part of the scratch record into record index.
  void MoveScratchInto(int32_t index);
  // Gives an item linked where a sibling already bears its name a name
  // none bears: "(1)", "(2)" ... appended, or a number already in such
  // parentheses at its end increased, the name cut to make room within 127
  // characters. True when the item was renamed.
  static bool MakeUniqueName(CWorkSheetTree::CTreeItem* item);
  // Moves the styles of every worksheet of a chain between the workbook's
  // table and the private one; false when the target table is full.
  bool TransferStyles(CWorkSheetTree::CTreeItem* chain, StyleTable* from, StyleTable* to);

  // Empties the private table when no record holds styles, else compacts
  // it, so that a long session never runs out of private styles.
  void ReleaseUnusedStyles();
  // Before styles come in: the same, but compacting only when the table is
  // close to full.
  void PrepareStyles();

  // Applying steps: the caller moves the index (see CWorkBook::UndoStep).
  bool CanUndo() const { return current_ >= 0; }
  bool CanRedo() const {
    return current_ < lastAllowed_ && records_[current_ + 1].stepKind != kUndoStepNone;
  }
  int32_t Current() const { return current_; }
  void SetCurrent(int32_t index) { current_ = index; }
  UndoRecord& Record(int32_t index) { return records_[index]; }
  const UndoRecord& Record(int32_t index) const { return records_[index]; }
  StyleTable& PrivateStyles() { return styles_; }

  // Every step index within the array and the levels, every record past the
  // newest step's redo tail empty, the scratch record empty.
  bool CheckInvariants() const;

 private:
  // The next slot for a new step, cleared, the redo tail freed; its index.
  int32_t BeginStep(CWorkBook* book, uint8_t stepKind, const UndoRange& range);
  // Called with the index already increased.
  int32_t TakeSlot(int32_t index);
  // A recorder's failure: the slot cleared again, the workbook's error set.
  bool FailStep(CWorkBook* book, int32_t index);
  bool HoldsStyles(const UndoRecord& record) const;
  bool SnapshotLines(CWorkBook* book, uint8_t stepKind, const UndoRange& rect, bool withSnapshot);

  UndoRecord records_[kUndoRecordCount];
  int32_t current_ = -1;
  int32_t lastAllowed_ = 0;
  StyleTable styles_;
};

#endif
