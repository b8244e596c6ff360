#ifndef TALVERO_VIEW_GRID_VIEW_HOST_H
#define TALVERO_VIEW_GRID_VIEW_HOST_H

// What a grid view reads and writes of the document window that owns it:
// the workbook, the editing state, the other pane and the two splitters, and
// the frame's refresh. The document window implements it; tests put a
// stand-in in its place. Windows only.

#include <windows.h>

#include <cstdint>

#include "view/painting/selection_painter.h"

class CWorkBook;
class CTalverView;
class ContainerRecord;

// The editing state a document window keeps for its views.
constexpr uint8_t kEditIdle = 0;
constexpr uint8_t kEditInCell = 1;
constexpr uint8_t kEditPointing = 2;

// Commands a view sends its document window.
constexpr WORD kCommandBeginEdit = 33023;  // lParam: the typed text, or null
constexpr WORD kCommandClear = 57632;
// Posted by the view to itself to place the editor again.
constexpr WORD kCommandPlaceEditor = 32872;

class GridViewHost {
 public:
  virtual CWorkBook* Workbook() = 0;
  // The window that receives the view's commands.
  virtual HWND DocumentWindow() = 0;
  virtual uint8_t& EditState() = 0;
  // The other pane's view, or null.
  virtual CTalverView* OtherView(const CTalverView* view) = 0;
  // The row splitter's panes lie side by side and share rows; the column
  // splitter's lie one above the other and share columns.
  virtual bool RowSplitterShowsBoth() = 0;
  virtual bool ColumnSplitterShowsBoth() = 0;
  virtual void RefreshFrameUI() = 0;
  // Shows the message of an error code.
  virtual void ShowError(uint8_t code) = 0;
  virtual void SetModified(bool modified) = 0;
  // After a recalculation the panes beside the views show their values
  // again: the inspect list and the selection's statistics.
  virtual void ShowRecalculatedValues() = 0;
  // Moves the cells of one range to another of the same size, or copies
  // them, with an undo step, recalculation and repaint; false when out of
  // memory.
  virtual bool MoveRangeByDrag(const SelectionRange& from, const SelectionRange& to, bool copy) = 0;
  // A double click on the selected container: the container editor opens
  // on it, replacing one that is open.
  virtual void OpenContainerEditor(ContainerRecord* container) = 0;
  // The container was moved or resized on the sheet; an editor open on it
  // follows.
  virtual void ContainerPlaced(const ContainerRecord& container) = 0;

 protected:
  ~GridViewHost() = default;
};

#endif
