#ifndef TALVERO_VIEW_TALVER_VIEW_H
#define TALVERO_VIEW_TALVER_VIEW_H

// The grid view: the window that shows the active worksheet of a document as
// a grid with a column-header band on top and a row-header band on the left,
// and through which the user selects cells, moves with keys, wheel and
// scroll bars and points at cells while a formula is edited. It owns no
// worksheet data: it reads the workbook through its host and draws through a
// DrawContext with the grid painter. What it decides (hit tests, scroll
// steps, selection steps, scroll ranges) lives in plain functions beside it.
// Windows only.

#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/ui/window_impl.h"
#include "view/geometry/scroll_steps.h"
#include "view/geometry/sheet_viewport.h"
#include "view/grid_view/autoscroll_window.h"
#include "view/grid_view/grid_hit_test.h"
#include "view/grid_view/grid_view_host.h"
#include "view/grid_view/selection_steps.h"
#include "view/grid_view/table_edit.h"

class CWorkSheet;
class DrawContext;
class GridPainter;
struct ContainerRecord;

// The view's own column codes of OnHScroll.
constexpr int kScrollHome = 16;
constexpr int kScrollEnd = 17;

// The timer that paces drag-selection scrolling while the pointer stands
// outside the cells.
constexpr UINT_PTR kDragScrollTimer = 0x5441;
constexpr UINT kDragScrollInterval = 30;

// The timer that counts the pointer's rest while a column or row is resized.
constexpr UINT_PTR kResizeRestTimer = 240;
constexpr UINT kResizeRestInterval = 100;
constexpr int kResizeRestPreview = 400;

constexpr int kEditCapacity = 1024;

// Where the cursor goes when an edit ends.
constexpr int kMoveNone = 0;
constexpr int kMoveLeft = 1;
constexpr int kMoveRight = 2;
constexpr int kMoveUp = 3;
constexpr int kMoveDown = 4;
constexpr int kMoveByEnterOption = 5;

// Starts the view's timers (SetTimer unless replaced); tests put in one that
// starts nothing and post WM_TIMER themselves. Null restores SetTimer.
using TimerStarter = UINT_PTR (*)(HWND window, UINT_PTR id, UINT milliseconds);
TimerStarter SetViewTimerFunction(TimerStarter starter);
// Starts a timer through that function; the document window's tree drag
// paces itself with it too.
UINT_PTR StartViewTimerOf(HWND window, UINT_PTR id, UINT milliseconds);

class CTalverView : public CWindowImpl {
 public:
  explicit CTalverView(GridViewHost* host);
  ~CTalverView() override;

  // A child window of parent; null when it cannot be created.
  HWND CreateView(HWND parent, const RECT& rect, UINT id);

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // Shows the editor on the current cell with the text and the caret at
  // caret; false, with nothing begun, when its list cannot be had.
  bool BeginEdit(const char* text, int caret);
  // Stores the edit's text and moves by the code; nothing unless editing.
  // forceText keeps the text as typed (the Shift+Enter gesture).
  bool EndEdit(int move, bool forceText = false);
  void CancelEdit();
  void PlaceEditor();
  bool SetCellFromText(const char* text, uint32_t row, uint32_t column, bool parse);
  // The list's item becomes the editor's text.
  void TakeListItem(int index);

  // The mouse loops: each holds the capture until the button is released
  // or the capture is lost, and ends on WM_QUIT.
  void DragMoveBlock(POINT start);
  void TrackColumnWidth(uint32_t column, int32_t left, int32_t startX);
  void TrackRowHeight(uint32_t row, int32_t top, int32_t startY);
  void DragContainer(POINT start);

  void InvalidateFormulaCells(bool formulasOnly);
  void RedrawContainer(uint16_t id, bool invalidateOnly);
  ContainerRecord* FindContainer(uint16_t id) const;
  RECT GetRangeRect(const SelectionRange& range) const;
  void SyncOtherPane();

  void EnsureCellVisible(uint32_t row, uint32_t column);
  void UpdateScrollRanges(bool includeContainers, bool keepPositions);
  void SetScrollPositions(bool horizontal, bool vertical, bool horizontalFromCurrent, bool verticalFromCurrent);
  void ResetScrollBars();

  LRESULT OnHScroll(int code);
  LRESULT OnVScroll(int code);

  CWorkSheet* Worksheet() const;
  SelectionRange Selection() const { return SelectionRangeOf(m_selection); }

  GridViewHost* m_host;
  uint32_t m_firstRow = 0;
  uint32_t m_firstColumn = 0;
  int32_t m_rowHeaderWidth = 0;
  int32_t m_columnHeaderHeight = 0;
  uint16_t m_zoomX = 100;
  uint16_t m_zoomY = 100;
  uint16_t m_selectedContainer = 0;
  // Current cell, selection end and anchor.
  GridSelection m_selection = {};
  // The editor's area: first column, first row, last column, last row.
  uint32_t m_editRange[4] = {};
  uint32_t m_listNumber = 0;
  uint8_t m_listOptions[3] = {1, 1, 1};  // sort items, auto-append, auto-complete
  HFONT m_editorFont = nullptr;
  CTableEdit m_editor{this};
  CDropDownList m_list{this};
  CMouseWheelWnd m_autoscroll;
  bool m_syncGuard = false;
  // Kept while pointing at cells during a formula edit.
  char m_savedEditText[kEditCapacity + 1] = {};
  uint32_t m_savedEditStart = 0;
  uint32_t m_savedEditEnd = 0;
  GridSelection m_savedSelection = {};

 private:
  void HideEditorAndList();
  LRESULT OnCreate();
  LRESULT OnPaint();
  LRESULT OnLButtonDown(WPARAM keys, POINT point);
  LRESULT OnLButtonUp();
  LRESULT OnLButtonDblClk();
  LRESULT OnMouseMove(WPARAM keys, POINT point);
  LRESULT OnMButtonDown(POINT point);
  LRESULT OnTimer(UINT_PTR id, bool& handled);
  LRESULT OnCaptureChanged();
  LRESULT OnKeyDown(WPARAM key, bool& handled);
  LRESULT OnKeyUp(WPARAM key, bool& handled);
  LRESULT OnChar(WPARAM ch, bool& handled);
  LRESULT OnMouseWheel(WPARAM wp, bool& handled);
  LRESULT OnScroll(bool columns, int code);

  // The scroll arithmetic's picture of this view now.
  SheetViewport Viewport() const;
  ScrollPosition Position() const;
  bool CellInVisibleArea() const;
  // Inverts old off and new on, on a window device context.
  void DrawSelectionChange(const GridSelection* before, const GridSelection* after);
  GridHitInput HitInput(const SheetViewport& view) const;
  void DeselectContainer();
  void PointAtCells();
  void FinishPointing();
  void DragScrollStep();
  void StopDragScroll();
  bool HasCapture() const { return ::GetCapture() == m_hWnd; }

  bool CreateList(bool sorted);
  void MoveAfterEdit(int move);
  void MoveToNextCell(bool below);
  void TrackSize(bool columns, uint32_t index, int32_t edge, int32_t start);
  bool StoreTrackedSize();
  void OnResizeRest();
  bool StartViewTimer(UINT_PTR id, UINT milliseconds);
  void DrawTrackLine() const;

  // The window's painter, made on first use; null without memory.
  GridPainter* Painter();
  std::unique_ptr<GridPainter> m_painter;
  // A column or row resize under way: the line's device context, the edge's
  // fixed pixel, the line's position and how long the pointer has rested.
  struct SizeTracking {
    bool active;
    bool columns;
    uint32_t index;
    int32_t edge;
    int32_t position;
    int32_t rest;
    HDC dc;
  } m_track = {};
  POINT m_dragPoint = {};
  bool m_dragTimer = false;
};

// A thumb drag of either bar, shared by every view of the process: the
// offset between the thumb and the first visible column (row), remembered at
// the drag's first track message.
struct ThumbDrag {
  bool active;
  int64_t offset;
};
ThumbDrag& ThumbDragOf(bool columns);

#endif
