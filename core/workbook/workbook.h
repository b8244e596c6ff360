#ifndef TALVERO_CORE_WORKBOOK_H
#define TALVERO_CORE_WORKBOOK_H

// One open document: the tree of worksheets and folders, the active
// worksheet, the document's evaluator and style table, its drop-down lists,
// its exchange settings, its open file and the code of its last failed
// operation. Every operation that can fail returns false and leaves its code
// in `error`.

#include <cstddef>
#include <cstdint>

#include "core/model/container_record.h"
#include "core/model/document_properties.h"
#include "core/model/drop_down_list.h"
#include "core/formula/eval_state.h"
#include "core/model/exchange_options.h"
#include "core/model/image_cache.h"
#include "core/model/inspect_cell.h"
#include "core/model/buffered_file.h"
#include "core/model/last_modification.h"
#include "core/model/page_list.h"
#include "core/cells/paged_array.h"
#include "core/styles/style_table.h"
#include "core/model/tree_item.h"
#include "core/workbook/undo_history.h"
#include "core/workbook/worksheet.h"

// Codes of CWorkBook::error that the core leaves; the error-message table
// holds their texts.
enum WorkbookError : uint8_t {
  kWorkbookNoError = 0,
  kWorkbookOutOfMemory = 8,          // "Out of memory while creating/editing worksheet data"
  kWorkbookLastWorksheet = 9,        // "A workbook must contain at least one worksheet"
  kWorkbookInvalidCacheIndex = 12,   // "An invalid cache index"
  kWorkbookTooManyStyles = 14,       // "Too many styles in one document"
  kWorkbookNoPages = 16,             // "No pages to print"
  kWorkbookInvalidPageRange = 17,    // "An invalid print page range"
  kWorkbookZoomTooSmall = 18,        // "The zoom factor is too small"
  kWorkbookTooManyContainers = 22,   // "Too many containers"
  kWorkbookChartOutOfMemory = 27,    // "Out of memory while creating chart data"
  kWorkbookNoRoomForColumns = 23,    // "Not enough empty columns to the right of the last non-empty column"
  kWorkbookNoRoomForRows = 24,       // "Not enough empty rows below the last row non-empty row"
  kWorkbookChartNeedsArray = 28,     // "An array formula is required to generate a chart data series"
  // A structural edit would make a formula's text longer than a formula may be.
  kWorkbookFormulaTooLong = 63,
  // The margins meet on the paper: no zoom could make a page fit.
  kWorkbookNoPrintableArea = 66,  // "The margins leave no room to print on the paper"
  // Names the program refuses to give a worksheet or folder (item_names.h).
  kWorkbookNameTaken = 67,
  kWorkbookNameHoldsBackslash = 68,
  kWorkbookPathUnwritable = 69,
  kWorkbookPathTooLong = 70,
  // A typed formula kept as text: a qualifier and its reference would not fit.
  kWorkbookQualifiedRefTooLong = 71,
};

// Whether a document's formulas may create and call other programs'
// automation objects (RTD and UDF): a workbook read from a file may come
// from anyone, so its user is asked first.
enum AutomationCallPermission : uint8_t {
  kAutomationCallsAllowed = 0,  // made in this session, or driven through the automation server
  kAutomationCallsAsk = 1,      // read from a file; the user is asked at the first call
  kAutomationCallsRefused = 2,  // the user said no; until the document is read again
};

// The native kinds a workbook is saved as next.
constexpr uint8_t kSaveKindXmlPlain = 2;
constexpr uint8_t kSaveKindBinaryGzip = 5;

// The password the file key is derived from, NUL-terminated.
constexpr size_t kWorkbookPasswordSize = 256;

// The document window's panes as the native files keep them.
struct PaneLayout {
  uint16_t treePaneVisible;
  uint16_t treePaneWidth;
  uint16_t inspectPaneVisible;
  uint16_t inspectPaneHeight;
};

struct CellRange;
struct PageRecord;
struct PrintFrame;
struct PrintZoom;
class DrawContext;
struct TextMeasurer;

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
  // Links a detached chain so that its first item stands at position index
  // of the list (at its end past the list's end), keeping the chain's
  // depths, and counts it; the chain's first worksheet becomes active when
  // none is. Puts back a removed run where it was.
  void InsertItemsAt(CTreeItem* chain, int32_t index);
  // Appends an item read from a file after *last (null: it opens the tree),
  // keeping the depth it was read with, counts it and makes it the last.
  void AppendLoadedItem(CTreeItem* item, CTreeItem** last);
  // Unlinks the item with its contents as a detached chain headed by item,
  // for the caller to destroy or keep. When the active worksheet was among
  // them, the nearest worksheet becomes active, the one after the run before
  // the one before it. False, with nothing changed, when the run holds every
  // worksheet of the workbook (kWorkbookLastWorksheet) or the item is no
  // item of the list.
  bool RemoveItem(CTreeItem* item);
  // Moves the item with its contents, as one run, to the place InsertItems
  // gives the target (none: the end of the list at depth 1); the contents
  // keep their depths relative to the item, and the active worksheet stays
  // active. False, with nothing changed, when the target is the item or one
  // of its contents, or the item is no item of the list.
  bool MoveItems(CTreeItem* item, CTreeItem* target);
  // Moves the item with its contents so that it stands at position index of
  // the list the run leaves behind (at its end past that list's end), at the
  // given depth; undo of a move. The same failures as MoveItems.
  bool MoveItemsTo(CTreeItem* item, int32_t index, uint16_t depth);
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

  // One recalculation pass (recalculate.cpp): every formula cell of every
  // worksheet is marked uncalculated, then the formulas of the worksheet
  // whose store is given (null: of every worksheet) are evaluated, each
  // after the formula cells it reads, wherever those lie; then every
  // container is refreshed. False when the pass or a container refresh ran
  // out of memory (kWorkbookOutOfMemory, kWorkbookChartOutOfMemory); a chart
  // whose series cannot be read keeps its code in its own error byte.
  bool Recalculate(CellStore* store);
  // Recalculation as the UpdateMode in force asks: after an edit only in the
  // automatic modes, for the recalculate command always; the active
  // worksheet alone in modes 2 and 4. True when nothing was to be done.
  bool RecalculateForMode(bool byCommand);
  // Re-evaluates the series of every chart of the container with the id,
  // on whichever worksheet it lies (refresh_containers.cpp). True when no
  // such container exists; otherwise false when a chart failed, its code
  // then in `error`.
  bool RefreshContainer(uint16_t id);
  // Refreshes every container of every worksheet; all are attempted, false
  // when any failed.
  bool RefreshAllContainers();

  // Structural edits of a worksheet (worksheet_structure.cpp): the cells,
  // the formats and every formula of the worksheet that refers to moved
  // cells, first..last inclusive. Every formula's new text is computed
  // before anything moves, so a refused edit leaves the worksheet as it
  // was: kWorkbookNoRoomForRows (or Columns) when a cell or a reference
  // would be pushed off the grid, kWorkbookFormulaTooLong when a rewritten
  // formula would be too long, kWorkbookOutOfMemory when memory runs out
  // before the cells move. Memory running out while the rewritten formulas
  // are stored leaves the cells moved and some formulas not rewritten
  // (kWorkbookOutOfMemory).
  bool InsertRows(CWorkSheet* sheet, uint32_t firstRow, uint32_t lastRow);
  bool DeleteRows(CWorkSheet* sheet, uint32_t firstRow, uint32_t lastRow);
  bool InsertColumns(CWorkSheet* sheet, uint16_t firstColumn, uint16_t lastColumn);
  bool DeleteColumns(CWorkSheet* sheet, uint16_t firstColumn, uint16_t lastColumn);
  // Exchanges rows and columns of the rectangle about its top-left corner
  // (range_transpose.cpp): cells, style runs and the formulas that refer to
  // the moved cells. The rectangle is cleared and its transposed copy
  // written over the transposed rectangle. Refused with nothing changed,
  // kWorkbookNoRoomForColumns (or Rows), when the transposed rectangle would
  // pass the grid's last column (or row), and as the line edits above when a
  // formula cannot be rewritten; kWorkbookOutOfMemory, with nothing changed,
  // when memory runs out. The workbook's styles are compacted afterwards.
  bool TransposeRange(CWorkSheet* sheet, const CellRange& range);

  // The find command (find_in_range.cpp): the first cell of the range on the
  // active worksheet, in storage order (row by row, left to right) from the
  // start cell (*column, *row) itself on, whose text matches the wildcard
  // pattern (see wildcard_find.h): a formula's stored text, else the value
  // shown without a number format. True with the cell in *column and *row;
  // false, with them unchanged, when no cell matches.
  bool FindInRange(const CellRange& range, uint16_t* column, uint32_t* row, const char* pattern, bool matchCase,
                   bool wholeCell);

  // Undo and redo for the document window (undo_apply.cpp): UndoStep
  // applies the step at the history's current index and then moves the index
  // back; RedoStep applies the next step and moves the index to it. False
  // with nothing to do or with the step's failure in `error` (the index then
  // stays).
  bool UndoStep();
  bool RedoStep();
  // A user's rename: refused, with nothing changed, for a name the item may
  // not bear (its code from ItemNameRefusal in `error`); otherwise one step,
  // recorded before the item is renamed, whose undo gives every formula it
  // rewrote its text back.
  bool RenameItem(CTreeItem* item, const char* newName);
  // Removes the styles no worksheet uses and renumbers the rest (compact_styles.cpp).
  void CompactStyles();
  // Rewrites the block's rows in the order of rowIndex (reorder_rows.cpp):
  // target row r takes source row rowIndex[r - firstRow], which must lie in
  // the block. False with kWorkbookOutOfMemory and the block unchanged.
  // Row heights travel with the rows.
  bool ReorderCellRows(CellStore* store, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                       uint32_t lastRow, const uint32_t* rowIndex);
  bool ReorderStyleRows(SheetFormat* format, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                        uint32_t lastRow, const uint32_t* rowIndex);
  // Sets one attribute kind (StyleAttributeKind) from the template on every
  // cell of the rectangle, keeping each cell's other attributes
  // (apply_format.cpp). False with kWorkbookOutOfMemory, or
  // kWorkbookTooManyStyles when a new style finds no room; the rectangle's
  // formats are then as before.
  bool ApplyFormatToRange(StyleTable* table, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                          uint32_t lastRow, SheetFormat* format, int attributeKind, const StyleRecord& templateStyle,
                          const FontRecord& templateFont);

  // Links, depths, kinds, counts, the active worksheet, at least one
  // worksheet in a non-empty list and container ids unique; on failure a
  // description goes to message (when given). For tests and debugging.
  bool CheckTreeInvariants(char* message = nullptr, size_t capacity = 0) const;

  // The native workbook files, defined by the files library (files/):
  // saving and loading the binary format over the open file, and the
  // detection and loading of every native kind. Failures leave the files'
  // error codes in `error`.
  bool SaveBinary();
  bool LoadBinary(const char* password);
  bool SniffNative(uint8_t* kind, uint8_t* hint);
  bool LoadNative(const char* password);
  // The older binary format, read only: converted into the current model.
  bool LoadOldBinary();
  // Excel 2003 XML Spreadsheet over the open file (plain). The screen's
  // measurer gives the default sizes, the resolution of the lengths in
  // points and the automatic row heights after an import; without one the
  // sizes the view last measured count, at 96 pixels per inch, and the
  // imported rows keep the heights the file gives.
  bool SaveExcelXml(const TextMeasurer* screen = nullptr);
  bool LoadExcelXml(const TextMeasurer* screen = nullptr);

  // Text files and xBase tables, defined by the files library (files/text,
  // files/xbase), through the open file as `textFileOptions` and
  // `xbaseTable` describe them. Each loader replaces the tree by one
  // worksheet named after the file. Failures leave the files' error codes
  // in `error`.
  bool SaveText(CWorkSheet* sheet);
  bool LoadText();
  bool BuildXBaseFields(CWorkSheet* sheet, XBaseTable* table);
  bool ReadXBaseHeader(XBaseTable* table);
  bool LoadXBase();
  bool SaveXBase(CWorkSheet* sheet);
  // Appends a memo to the memo file of the table at tablePath; see
  // files/xbase/xbase_memo.h.
  bool WriteXBaseMemo(const char* tablePath, uint8_t dialect, const char* text, size_t length, uint32_t* block);

  // Pagination and printing, defined by the view library (view/printing).
  // Pagination measures through the printer's measurer and rebuilds
  // `pageList` for the worksheet, lowering the zoom pair in place until
  // every page fits; false with kWorkbookNoPrintableArea, kWorkbookNoPages,
  // kWorkbookInvalidPageRange, kWorkbookZoomTooSmall or kWorkbookOutOfMemory.
  // Callers free the list after printing. PrintPage (Windows only) draws
  // sheet of paper s (from 0) with its pages, header and footer.
  bool Paginate(const TextMeasurer& measurer, CWorkSheet* sheet, const PrintFrame& frame, PrintZoom* zoom);
  void FreePageList(CWorkSheet* sheet);
  void GetPrintArea(CWorkSheet* sheet, uint32_t* lastRow, uint16_t* lastColumn, const PrintZoom& zoom);
  void MeasurePage(const TextMeasurer& measurer, CWorkSheet* sheet, const PageRecord& page, const PrintZoom& zoom,
                   uint32_t* width, uint32_t* height);
  void LayoutPage(const TextMeasurer& measurer, CWorkSheet* sheet, const PrintFrame& pageRect, PageRecord* page,
                  uint32_t lastRow, uint16_t lastColumn, bool explicitRange, const PrintZoom& zoom);
  bool SplitIntoPages(const TextMeasurer& measurer, CWorkSheet* sheet, const PrintFrame& pageRect,
                      const PrintZoom& zoom);
  bool PrintPage(DrawContext* context, uint32_t sheetIndex, CWorkSheet* sheet, const PrintFrame& frame,
                 const PrintZoom& zoom);

  // Images, defined by the view library (view/images, Windows only): the
  // range of the worksheet at sheetPath painted with its headings as the
  // grid view paints it, or the container with the id at its own size,
  // written to filePath as a packed bitmap (format 1), JPEG (2, number the
  // quality) or PNG (3, number the gamma). False with 10 (no such
  // worksheet), 11 (no such container), 8, 6 (a format without an encoder),
  // 35 or 39 (the file) in `error`.
  bool SaveRangeAsImage(const char* sheetPath, const CellRange& range, const char* filePath, uint8_t format,
                        double number, uint16_t zoomX, uint16_t zoomY);
  bool SaveContainerAsImage(const char* sheetPath, uint16_t containerId, const char* filePath, uint8_t format,
                            double number, uint16_t zoomX, uint16_t zoomY);

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
  BufferedFile bufferedFile;
  uint8_t sourceFormat = 0;  // set by the file readers
  uint8_t saveKind = kSaveKindXmlPlain;
  LastModificationBlock lastModification = {};
  DocumentPropertyTexts documentProperties = {};
  uint32_t documentYear = 0;
  uint32_t documentMonth = 0;
  uint32_t documentDay = 0;
  uint8_t documentOptions[2] = {1, 0};  // kept for the document window and the files
  uint8_t error = kWorkbookNoError;
  // The XML reader's line when the last load failed in a native XML file.
  uint32_t xmlErrorLine = 0;
  // 0: the global UpdateMode applies; 1 to 4 override it.
  uint8_t recalcMode = 0;
  uint8_t protectionMode = 0;  // set by the file readers
  uint8_t openedWithoutPassword = 0;
  uint8_t documentFlag = 0;  // kept for the files
  // The document may not be saved: its file was opened for reading only, or
  // only the values readable without the password were loaded.
  uint8_t readOnly = 0;
  uint8_t automationCalls = kAutomationCallsAllowed;  // AutomationCallPermission
  char password[kWorkbookPasswordSize] = {};
  PaneLayout panes = {};
  PageList pageList;
  PagedArrayOf<kInspectCellRecordSize> inspectCells;
  TextFileOptions textFileOptions;
  XBaseTable xbaseTable;
  UndoHistory undoHistory;
  DropDownList dropDownLists[kDropDownListCount];
  // The pictures of the document's containers and worksheet backgrounds.
  ImageCache images;

 private:
  // The item a chain linked at position index follows; null: it opens the list.
  CTreeItem* ItemBeforeIndex(int32_t index) const;
};

// The evaluator's sheet resolver for a workbook: the worksheet store that a
// qualifier names among the items of state.owner, or null (also for a folder).
CellStore* ResolveWorkbookSheet(const EvalState& state, CellStore* from, const char* sheetText);

#endif
