#ifndef TALVERO_CORE_WORKSHEET_H
#define TALVERO_CORE_WORKSHEET_H

// A worksheet: the tree item that owns a grid of cells, its formats, its
// containers, its view format and its page settings.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_store.h"
#include "core/model/container_record.h"
#include "core/model/page_settings.h"
#include "core/styles/sheet_format.h"
#include "core/model/tree_item.h"
#include "core/model/worksheet_view_format.h"

class CWorkBook;
struct NumFormatParams;
struct TextMeasurer;
struct ReplaceOutcome;

// Modes of CWorkSheet::TransformCells.
constexpr uint8_t kTransformFormulasToValues = 0;
constexpr uint8_t kTransformLabelsToNumbers = 1;
constexpr uint8_t kTransformNumbersToLabels = 2;
constexpr uint8_t kTransformUpper = 3;
constexpr uint8_t kTransformLower = 4;
constexpr uint8_t kTransformCapitalize = 5;

class CWorkSheet : public CWorkSheetTree::CTreeItem {
 public:
  // Kind worksheet, flag 0: no cells, no formats, no containers, the default
  // page settings and view format. The item's cell store is its own store,
  // whose address stays the same for the worksheet's whole life.
  CWorkSheet(const char* itemName, uint16_t itemDepth);
  // Deletes every container; the formats and cells release their blocks.
  ~CWorkSheet() override;

  // The worksheet an item is, or null for a folder (or no item).
  static CWorkSheet* FromItem(CWorkSheetTree::CTreeItem* item) {
    return item && item->IsWorksheet() ? static_cast<CWorkSheet*>(item) : nullptr;
  }
  static const CWorkSheet* FromItem(const CWorkSheetTree::CTreeItem* item) {
    return item && item->IsWorksheet() ? static_cast<const CWorkSheet*>(item) : nullptr;
  }

  // Appends a detached container to the end of the list; the worksheet owns it then.
  void AddContainer(ContainerRecord* container);
  // Unlinks the container when it is in the list; the caller owns it then.
  void RemoveContainer(ContainerRecord* container);
  ContainerRecord* LastContainer() const;

  // Makes target's cells, formats, containers, page settings and view format
  // copies of this worksheet's; the copied containers keep their order and
  // follow any the target already had. False as soon as a copy fails; what
  // was copied stays.
  bool CopyContents(CWorkSheet* target);

  // Cell text and typed input (worksheet_cell_input.cpp); the workbook
  // supplies the styles and the evaluator that translates formulas.
  // Typed text into a cell record for (row, column); see cell_input.h.
  static uint32_t ParseCellInput(CWorkBook* workbook, const char* text, NumFormatParams* format, uint32_t row,
                                 uint16_t column, void* record, size_t capacity);
  // The text of a cell or a range of this worksheet; see cell_text.h.
  size_t GetCellText(CWorkBook* workbook, char* buffer, size_t size, uint16_t firstColumn, uint16_t lastColumn,
                     uint32_t firstRow, uint32_t lastRow, bool valueFlag, bool arrayFlag);
  // Find and replace over a range of this worksheet; see replace_in_range.h.
  // A replaced cell takes the number format its new text implies, as typing
  // it would. False, with the workbook's error kWorkbookOutOfMemory when
  // memory runs out, or kWorkbookTooManyStyles (nothing changed) when such a
  // format finds no room in the style table.
  bool ReplaceInRange(CWorkBook* workbook, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                      uint32_t lastRow, const char* search, const char* replacement, bool matchCase,
                      bool wholeText, ReplaceOutcome* outcome = nullptr);

  // Converts the cells of the rectangle (transform_cells.cpp): formulas to
  // their values, labels to numbers or numbers to labels (see
  // convert_cells.h), or the letter case of the texts of its text cells:
  // kTransformUpper, kTransformLower or kTransformCapitalize (a letter after
  // a letter or digit lower case, every other letter upper case); numbers,
  // formulas and the values an array formula spilled keep what they hold
  // then. False with the workbook's error kWorkbookOutOfMemory (nothing
  // changed) or, for any other mode, kWorkbookInvalidCacheIndex.
  bool TransformCells(CWorkBook* workbook, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                      uint32_t lastRow, uint8_t mode);

  // Applies step index of the workbook's undo history, which then holds the
  // state it replaced, so that applying it again redoes (undo_apply.cpp).
  // True for an empty record; false with the workbook's error on failure.
  static bool Undo(CWorkBook* workbook, int32_t index);

  // Automatic row heights (row_heights.cpp), measured at zoom 100. Each row
  // of first..last whose height is not fixed gets the height its cells and
  // its formatted empty areas need; the column font heights are refreshed
  // first. False, with the workbook's error kWorkbookOutOfMemory, when the
  // row table cannot grow to the last row.
  static bool AutoRowHeights(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet,
                             uint32_t firstRow, uint32_t lastRow);
  // The height one row needs, at most 4095; 0 for a row with nothing in a
  // font of its own. The two cursors (optional) carry the walks over the
  // cells and the style runs from one row to the next.
  static uint16_t ComputeRowHeight(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet,
                                   uint32_t row, CellCursor* cellWalk, CellCursor* runWalk);

  CellStore cells;
  SheetFormat format;
  ContainerRecord* containers = nullptr;  // head of the list, painted in order
  WorksheetViewFormat viewFormat;
  PageSettings pageSettings;
  uint8_t horizontalSplit = 0;
  uint8_t verticalSplit = 0;
};

// A new worksheet, or null when out of memory.
CWorkSheet* NewWorksheet(const char* name, uint16_t depth);

#endif
