#ifndef TALVERO_CORE_WORKBOOK_H
#define TALVERO_CORE_WORKBOOK_H

// One open document: the tree of worksheets and folders, the active
// worksheet, the document's evaluator and style table, its drop-down lists,
// its exchange settings, its open file and the code of its last failed
// operation. Every operation that can fail returns false and leaves its code
// in `error`.

#include <cstddef>
#include <cstdint>

#include "core/container_record.h"
#include "core/drop_down_list.h"
#include "core/eval_state.h"
#include "core/exchange_options.h"
#include "core/file_stream.h"
#include "core/last_modification.h"
#include "core/page_list.h"
#include "core/paged_array.h"
#include "core/style_table.h"
#include "core/tree_item.h"
#include "core/worksheet.h"

// Codes of CWorkBook::error that the core leaves; the error-message table
// holds their texts.
enum WorkbookError : uint8_t {
  kWorkbookNoError = 0,
  kWorkbookOutOfMemory = 8,          // "Out of memory while creating/editing worksheet data"
  kWorkbookInvalidCacheIndex = 12,   // "An invalid cache index"
  kWorkbookTooManyContainers = 22,   // "Too many containers"
  kWorkbookChartNeedsArray = 28,     // "An array formula is required to generate a chart data series"
};

// The native kinds a workbook is saved as next.
constexpr uint8_t kSaveKindXmlPlain = 2;
constexpr uint8_t kSaveKindBinaryGzip = 5;

constexpr uint32_t kInspectCellRecordSize = 396;

class CWorkBook {
 public:
  using CTreeItem = CWorkSheetTree::CTreeItem;

  // An empty workbook with every default: no tree item yet (load a file or
  // call NewDocument), today's date as the document date.
  CWorkBook();
  // Releases everything the workbook owns, its tree items last.
  ~CWorkBook();
  CWorkBook(const CWorkBook&) = delete;
  CWorkBook& operator=(const CWorkBook&) = delete;

  // Empties the workbook for a file reader: no tree items, no drop-down
  // lists, no inspect cells, the default style table, the per-file settings
  // reset and no error.
  void Clear();
  // Replaces the tree by one active worksheet "Worksheet1". False with
  // kWorkbookOutOfMemory, the tree unchanged, when it cannot be allocated.
  bool NewDocument();

  // The tree (workbook_tree.cpp). Items are addressed by their position in
  // the flat preorder list, from 0.

  // Item n; n below 1 gives the first item; null past the end.
  CTreeItem* ItemByIndex(int32_t n) const;
  // The item's position, or -1 when it is not in the list.
  int32_t IndexOfItem(const CTreeItem* item) const;
  // Links a detached chain (a well-formed subtree or run of siblings, its
  // first item the shallowest): with no target or an empty list at the end,
  // at depth 1; into a target folder at the end of its contents; before a
  // target worksheet at its depth. Relative depths inside the chain are kept.
  void InsertItems(CTreeItem* chain, CTreeItem* target);
  // Unlinks the item with its contents as a detached chain headed by item,
  // for the caller to destroy or keep. When the active worksheet was among
  // them, the nearest worksheet becomes active, the one after the run before
  // the one before it. False, with nothing changed, when the run holds every
  // worksheet of the workbook.
  bool RemoveItem(CTreeItem* item);
  // Destroys every item of a detached chain.
  void DeleteItems(CTreeItem* chain);
  // Destroys every item of the list: no items, no active worksheet, counts 0.
  void DeleteAllItems();
  // A detached copy of the item and its contents. The copies' containers get
  // ids that no container of the workbook carries. Null when memory runs out
  // (kWorkbookOutOfMemory) or no container id is free
  // (kWorkbookTooManyContainers); no partial copy survives.
  CTreeItem* CopyTreeItems(CTreeItem* item);
  // The first item from start (or from the first item) whose full path
  // equals path, letter case aside; folders and worksheets alike.
  CTreeItem* FindItemByPath(const char* path, CTreeItem* start = nullptr) const;
  // The item a formula's sheet qualifier names for a reference made in the
  // worksheet whose store is `from`: a text beginning with "\" is a full
  // path, any other is relative to the folder of that worksheet. Null when
  // nothing matches or the joined path is too long.
  CTreeItem* FindItemByQualifier(const CellStore* from, const char* sheetText) const;
  // The worksheet of the list whose cell store is store, or null.
  CWorkSheet* FindWorksheetByStore(const CellStore* store) const;

  // Gives the container the smallest id from 1 that no container of any
  // worksheet carries. False, with kWorkbookTooManyContainers, when 1 to
  // kContainerMaxId are all taken.
  bool AssignContainerId(ContainerRecord* container);
  // The container with the id on any worksheet, or null.
  ContainerRecord* FindContainerById(uint16_t id) const;

  // Recalculation and the refresh of the containers' chart series after
  // each pass join the workbook's operations here; both work through
  // `evaluator` and leave their failures in `error`.

  // Links, depths, kinds, counts, the active worksheet, at least one
  // worksheet in a non-empty list and container ids unique; on failure a
  // description goes to message (when given). For tests and debugging.
  bool CheckTreeInvariants(char* message = nullptr, size_t capacity = 0) const;

  uint32_t folderCount = 0;
  uint32_t worksheetCount = 0;
  CWorkSheet* activeWorksheet = nullptr;
  CTreeItem* firstItem = nullptr;
  // Its owner is this workbook; its sheet is the store being evaluated, and
  // its sheet qualifiers are resolved among this workbook's items.
  // Recalculation and the refresh of the containers' chart data after it
  // work through this evaluator.
  EvalState evaluator;
  StyleTable styles;
  FileStream fileStream;
  uint8_t sourceFormat = 0;  // set by the file readers
  uint8_t saveKind = kSaveKindXmlPlain;
  LastModificationBlock lastModification = {};
  uint32_t documentYear = 0;
  uint32_t documentMonth = 0;
  uint32_t documentDay = 0;
  uint8_t documentOptions[2] = {1, 0};  // kept for the document window and the files
  uint8_t error = kWorkbookNoError;
  // 0: the global UpdateMode applies; 1 to 4 override it.
  uint8_t recalcMode = 0;
  uint8_t protectionMode = 0;  // set by the file readers
  uint8_t openedWithoutPassword = 0;
  uint8_t documentFlag = 0;  // kept for the files
  PageList pageList;
  PagedArrayOf<kInspectCellRecordSize> inspectCells;
  TextFileOptions textFileOptions;
  XBaseTable xbaseTable;
  // The undo history belongs here, between the exchange settings and the
  // drop-down lists; Clear empties it and the destructor destroys it.
  DropDownList dropDownLists[kDropDownListCount];
};

// The evaluator's sheet resolver for a workbook: the worksheet store that a
// qualifier names among the items of state.owner, or null (also for a folder).
CellStore* ResolveWorkbookSheet(const EvalState& state, CellStore* from, const char* sheetText);

#endif
