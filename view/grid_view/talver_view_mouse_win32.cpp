#include "view/grid_view/talver_view.h"

#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "view/grid_view/grid_frame.h"
#include "view/grid_view/grid_hit_test.h"
#include "view/grid_view/pointing_reference.h"
#include "view/painting/container_placement.h"

namespace {

UINT_PTR StartSystemTimer(HWND window, UINT_PTR id, UINT milliseconds) {
  return ::SetTimer(window, id, milliseconds, nullptr);
}

TimerStarter& ViewTimerStarter() {
  static TimerStarter starter = StartSystemTimer;
  return starter;
}

}  // namespace

TimerStarter SetViewTimerFunction(TimerStarter starter) {
  const TimerStarter previous = ViewTimerStarter();
  ViewTimerStarter() = starter ? starter : StartSystemTimer;
  return previous;
}

UINT_PTR StartViewTimerOf(HWND window, UINT_PTR id, UINT milliseconds) {
  return ViewTimerStarter()(window, id, milliseconds);
}

bool CTalverView::StartViewTimer(UINT_PTR id, UINT milliseconds) {
  return StartViewTimerOf(m_hWnd, id, milliseconds) != 0;
}

GridHitInput CTalverView::HitInput(const SheetViewport& view) const {
  return {&view, m_firstRow, static_cast<uint16_t>(m_firstColumn), m_selection.currentColumn,
          m_selection.currentRow, m_selection.endColumn, m_selection.endRow};
}

void CTalverView::DeselectContainer() {
  if (!m_selectedContainer)
    return;
  RedrawContainer(m_selectedContainer, true);
  m_selectedContainer = 0;
}

void CTalverView::PointAtCells() {
  m_savedEditText[0] = '\0';
  m_editor.GetWindowText(m_savedEditText, sizeof m_savedEditText);
  DWORD start = 0, end = 0;
  m_editor.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  m_savedEditStart = start;
  m_savedEditEnd = end;
  CancelEdit();
  m_savedSelection = m_selection;
  m_savedSelection.anchorActive = 0;
  m_host->EditState() = kEditPointing;
}

LRESULT CTalverView::OnLButtonDown(WPARAM keys, POINT point) {
  SetFocus();
  if (!Worksheet())
    return 0;
  const SheetViewport v = Viewport();
  const GridHit hit = HitTestGrid(HitInput(v), point.x, point.y);
  switch (hit.kind) {
    case GridHitKind::kContainer:
      EndEdit(0);
      if (hit.containerId != m_selectedContainer) {
        DeselectContainer();
        m_selectedContainer = hit.containerId;
        RedrawContainer(hit.containerId, true);
      }
      DragContainer(point);
      SyncOtherPane();
      break;
    case GridHitKind::kSelectionFrame:
      EndEdit(0);
      DeselectContainer();
      DragMoveBlock(point);
      SyncOtherPane();
      break;
    case GridHitKind::kCell:
    case GridHitKind::kColumnHeader:
    case GridHitKind::kRowHeader: {
      if (m_host->EditState() == kEditInCell && !(keys & MK_CONTROL))
        PointAtCells();
      else
        EndEdit(0);
      DeselectContainer();
      const GridSelection before = m_selection;
      if (hit.kind == GridHitKind::kCell) {
        if (keys & MK_SHIFT) {
          SpanSelection(&m_selection, before.currentColumn, before.currentRow, hit.column, hit.row);
          UpdateScrollRanges(false, false);
          SetScrollPositions(true, true, hit.column <= before.currentColumn, hit.row <= before.currentRow);
        } else {
          m_selection.currentColumn = m_selection.endColumn = hit.column;
          m_selection.currentRow = m_selection.endRow = hit.row;
          UpdateScrollRanges(false, false);
          SetScrollPositions(true, true, true, true);
        }
        DrawSelectionChange(&before, &m_selection);
        ::SetCapture(m_hWnd);
        SyncOtherPane();
        m_selection.anchorColumn = m_selection.currentColumn;
        m_selection.anchorRow = m_selection.currentRow;
        m_selection.anchorActive = 1;
      } else if (hit.kind == GridHitKind::kColumnHeader) {
        m_selection.anchorColumn = hit.column;
        m_selection.anchorRow = 0;
        m_selection.currentColumn = m_selection.endColumn = hit.column;
        m_selection.currentRow = 0;
        m_selection.endRow = kMaxRow;
        DrawSelectionChange(&before, &m_selection);
      } else {
        m_selection.anchorColumn = 0;
        m_selection.anchorRow = hit.row;
        m_selection.currentRow = m_selection.endRow = hit.row;
        m_selection.currentColumn = 0;
        m_selection.endColumn = kMaxColumn;
        DrawSelectionChange(&before, &m_selection);
      }
      break;
    }
    case GridHitKind::kColumnBorder:
      EndEdit(0);
      TrackColumnWidth(hit.column, hit.edgeStart, point.x);
      break;
    case GridHitKind::kRowBorder:
      EndEdit(0);
      TrackRowHeight(hit.row, hit.edgeStart, point.y);
      break;
    case GridHitKind::kNone:
      EndEdit(0);
      break;
  }
  m_host->RefreshFrameUI();
  return 0;
}

LRESULT CTalverView::OnLButtonUp() {
  StopDragScroll();
  if (m_selection.anchorActive && HasCapture()) {
    m_selection.anchorActive = 0;
    ::ReleaseCapture();
  }
  if (m_host->EditState() == kEditPointing)
    FinishPointing();
  return 0;
}

void CTalverView::FinishPointing() {
  char reference[kEditCapacity + 1] = {};
  CWorkBook* book = m_host->Workbook();
  if (!book || !FormatSelectionReference(book->evaluator, Selection(), reference, sizeof reference))
    reference[0] = '\0';
  m_selection = m_savedSelection;
  EnsureCellVisible(m_selection.currentRow, m_selection.currentColumn);
  SyncOtherPane();
  if (!BeginEdit(m_savedEditText, 0)) {
    m_host->EditState() = kEditIdle;
    return;
  }
  m_editor.SendMessage(EM_SETSEL, m_savedEditStart, m_savedEditEnd);
  m_editor.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(reference));
  PlaceEditor();
  m_host->EditState() = kEditInCell;
}

LRESULT CTalverView::OnLButtonDblClk() {
  ContainerRecord* container = m_selectedContainer ? FindContainer(m_selectedContainer) : nullptr;
  if (!container) {
    ::SendMessageA(m_host->DocumentWindow(), WM_COMMAND, kCommandBeginEdit, 0);
    return 0;
  }
  // A container with charts opens on its first one until a chart was edited.
  if (container->selectedItem == -1 && container->header.itemCount > 0)
    container->selectedItem = 0;
  CWorkBook* book = m_host->Workbook();
  if (book && !book->undoHistory.RecordContainerChange(book, container))
    m_host->ShowError(book->error);
  m_host->RefreshFrameUI();
  m_host->OpenContainerEditor(container);
  return 0;
}

void CTalverView::DragScrollStep() {
  const SheetViewport v = Viewport();
  const GridFrame f = ComputeGridFrame(v, m_firstRow);
  if (m_dragPoint.x < f.rowHeaderWidth)
    OnHScroll(SB_LINELEFT);
  else if (m_dragPoint.x > v.clientWidth)
    OnHScroll(SB_LINERIGHT);
  if (m_dragPoint.y < f.columnHeaderHeight)
    OnVScroll(SB_LINEUP);
  else if (m_dragPoint.y > v.clientHeight)
    OnVScroll(SB_LINEDOWN);
}

void CTalverView::StopDragScroll() {
  if (m_dragTimer)
    ::KillTimer(m_hWnd, kDragScrollTimer);
  m_dragTimer = false;
}

LRESULT CTalverView::OnTimer(UINT_PTR id, bool& handled) {
  if (id == kResizeRestTimer) {
    OnResizeRest();
    return 0;
  }
  if (id != kDragScrollTimer) {
    handled = false;
    return 0;
  }
  if (m_selection.anchorActive && HasCapture() && m_dragTimer)
    DragScrollStep();
  else
    StopDragScroll();
  return 0;
}

LRESULT CTalverView::OnMButtonDown(POINT point) {
  UpdateWindow();
  ::ClientToScreen(m_hWnd, &point);
  m_autoscroll.Start(m_hWnd, point);
  return 0;
}

LRESULT CTalverView::OnCaptureChanged() {
  StopDragScroll();
  return 0;
}

LRESULT CTalverView::OnMouseMove(WPARAM, POINT point) {
  if (!Worksheet())
    return 0;
  const SheetViewport v = Viewport();
  const GridHitInput in = HitInput(v);
  if (m_selection.anchorActive && HasCapture()) {
    uint32_t row = 0;
    uint16_t column = 0;
    if (HitTestCell(in, point.x, point.y, &row, &column)) {
      StopDragScroll();
      const GridSelection before = m_selection;
      SpanSelection(&m_selection, m_selection.anchorColumn, m_selection.anchorRow, column, row);
      if (!SameSelection(before, m_selection)) {
        DrawSelectionChange(&before, &m_selection);
        m_host->RefreshFrameUI();
      }
      return 0;
    }
    // Outside the cells the selection grows a step at a time, paced by a
    // timer so that a pointer standing still does not spin the processor.
    m_dragPoint = point;
    DragScrollStep();
    if (!m_dragTimer)
      m_dragTimer = StartViewTimer(kDragScrollTimer, kDragScrollInterval);
    return 0;
  }

  LPCSTR shape = nullptr;
  const ContainerRecord* container = m_selectedContainer ? FindContainer(m_selectedContainer) : nullptr;
  if (container) {
    const GridFrame f = ComputeGridFrame(v, m_firstRow);
    const PixelRect area = {f.rowHeaderWidth + 1, f.columnHeaderHeight + 1, v.clientWidth, v.clientHeight};
    PixelRect r;
    if (GetColumnRangeRect(area, Worksheet(), m_firstRow, static_cast<uint16_t>(m_firstColumn), *container, &r,
                           m_zoomX, m_zoomY) &&
        point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom) {
      const bool left = point.x < r.left + 8, right = point.x > r.right - 8;
      const bool top = point.y < r.top + 8, bottom = point.y > r.bottom - 8;
      if ((left && top) || (right && bottom))
        shape = IDC_SIZENWSE;
      else if ((right && top) || (left && bottom))
        shape = IDC_SIZENESW;
      else if (top || bottom)
        shape = IDC_SIZENS;
      else if (left || right)
        shape = IDC_SIZEWE;
      else
        shape = IDC_SIZEALL;
    }
  }
  uint16_t column = 0;
  uint32_t row = 0;
  int32_t start = 0, end = 0;
  if (HitTestColumnBorder(in, point.x, point.y, &column, &start, &end))
    shape = IDC_SIZEWE;
  else if (HitTestRowBorder(in, point.x, point.y, &row, &start, &end))
    shape = IDC_SIZENS;
  else if (HitTestSelectionFrame(in, point.x, point.y))
    shape = IDC_SIZEALL;
  if (shape)
    ::SetCursor(::LoadCursorA(nullptr, shape));
  return 0;
}
