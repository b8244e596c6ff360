#include "view/grid_view/talver_view.h"

#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "platform/ui/capture_loop.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"
#include "view/painting/container_placement.h"

namespace {

constexpr int32_t kMaxTrackedSize = 4095;
constexpr int32_t kContainerMinimum = 16;
constexpr int32_t kGripTolerance = 8;

// The next pointer move of a drag; other messages are dispatched on the
// way. False at the left button's release (msg holds it, *end stays kNone)
// or when the capture loop ends.
bool NextDragMove(HWND window, MSG* msg, CaptureEnd* end) {
  while (NextCaptureMessage(window, msg, end)) {
    if (msg->message == WM_LBUTTONUP)
      return false;
    if (msg->message == WM_MOUSEMOVE)
      return true;
    ::TranslateMessage(msg);
    ::DispatchMessageA(msg);
  }
  return false;
}

bool SameRange(const SelectionRange& a, const SelectionRange& b) {
  return a.firstColumn == b.firstColumn && a.firstRow == b.firstRow && a.lastColumn == b.lastColumn &&
         a.lastRow == b.lastRow;
}

// Which grip of a container's rectangle a point presses: 1 to 9 clockwise
// from the top-left corner, 9 the inside; 0 none.
int ContainerGrip(const PixelRect& r, POINT p) {
  auto atEdge = [](int32_t v, int32_t edge) { return v >= edge - kGripTolerance && v <= edge + kGripTolerance; };
  auto between = [](int32_t v, int32_t low, int32_t high) {
    return v >= low + kGripTolerance && v <= high - kGripTolerance;
  };
  if (atEdge(p.x, r.left) && atEdge(p.y, r.top))
    return 1;
  if (between(p.x, r.left, r.right) && atEdge(p.y, r.top))
    return 2;
  if (atEdge(p.x, r.right) && atEdge(p.y, r.top))
    return 3;
  if (atEdge(p.x, r.right) && between(p.y, r.top, r.bottom))
    return 4;
  if (atEdge(p.x, r.right) && atEdge(p.y, r.bottom))
    return 5;
  if (between(p.x, r.left, r.right) && atEdge(p.y, r.bottom))
    return 6;
  if (atEdge(p.x, r.left) && atEdge(p.y, r.bottom))
    return 7;
  if (atEdge(p.x, r.left) && between(p.y, r.top, r.bottom))
    return 8;
  if (between(p.x, r.left, r.right) && between(p.y, r.top, r.bottom))
    return 9;
  return 0;
}

LPCSTR GripCursor(int grip) {
  static const LPCSTR cursors[] = {IDC_ARROW,  IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE,
                                   IDC_SIZENWSE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZEALL};
  return cursors[grip];
}

// One axis of a dragged block: it moves by one line once the pointer has
// travelled past the size of the line it moves onto, or has left the
// block's rectangle on that side.
template <class LineSize>
void StepDraggedAxis(LONG p, LONG* last, uint32_t* first, uint32_t* end, uint32_t count, LONG low, LONG high,
                     LineSize lineSize) {
  if (p >= *last && *end + 1 < count) {
    if (p - *last > lineSize(*first) + 1 || p > high) {
      ++*first;
      ++*end;
      *last = p;
    }
  } else if (p < *last && *first >= 1) {
    if (*last - p > lineSize(*first - 1) + 1 || p < low) {
      --*first;
      --*end;
      *last = p;
    }
  }
}

}  // namespace

void CTalverView::DragMoveBlock(POINT start) {
  CWorkSheet* sheet = Worksheet();
  if (!sheet)
    return;
  UpdateWindow();
  ::SetCapture(m_hWnd);
  ::SetCursor(::LoadCursorA(nullptr, IDC_SIZEALL));
  const SelectionRange original = Selection();
  SelectionRange range = original;
  HDC dc = ::GetDC(m_hWnd);
  RECT r = GetRangeRect(range);
  ::DrawFocusRect(dc, &r);
  POINT last = start;
  MSG msg;
  CaptureEnd end;
  while (NextDragMove(m_hWnd, &msg, &end)) {
    ::DrawFocusRect(dc, &r);
    const POINT p = PointFromLParam(msg.lParam);
    StepDraggedAxis(p.x, &last.x, &range.firstColumn, &range.lastColumn, kColumnCount, r.left, r.right,
                    [&](uint32_t c) { return GetColumnWidth(sheet, c, m_zoomX); });
    StepDraggedAxis(p.y, &last.y, &range.firstRow, &range.lastRow, kRowCount, r.top, r.bottom,
                    [&](uint32_t row) { return GetRowHeight(sheet, row, m_zoomY); });
    r = GetRangeRect(range);
    ::DrawFocusRect(dc, &r);
  }
  ::DrawFocusRect(dc, &r);
  ::ReleaseDC(m_hWnd, dc);
  // Ctrl held at the release copies; a drag ended otherwise moves.
  const bool copy = end == CaptureEnd::kNone && (msg.wParam & MK_CONTROL) != 0;
  if (HasCapture())
    ::ReleaseCapture();
  if (SameRange(range, original))
    return;
  if (!m_host->MoveRangeByDrag(original, range, copy))
    m_host->ShowError(kWorkbookOutOfMemory);
  const RECT before = GetRangeRect(original);
  const GridSelection old = m_selection;
  m_selection.currentColumn = range.firstColumn;
  m_selection.currentRow = range.firstRow;
  m_selection.endColumn = range.lastColumn;
  m_selection.endRow = range.lastRow;
  m_selection.anchorActive = 0;
  DrawSelectionChange(&old, &m_selection);
  const RECT client = GetClientRect();
  const RECT band = {0, before.top < r.top ? before.top : r.top, client.right, client.bottom};
  InvalidateRect(band, false);
}

void CTalverView::TrackColumnWidth(uint32_t column, int32_t left, int32_t startX) {
  TrackSize(true, column, left, startX);
}

void CTalverView::TrackRowHeight(uint32_t row, int32_t top, int32_t startY) { TrackSize(false, row, top, startY); }

void CTalverView::DrawTrackLine() const {
  const RECT client = GetClientRect();
  if (m_track.columns) {
    ::MoveToEx(m_track.dc, m_track.position, 0, nullptr);
    ::LineTo(m_track.dc, m_track.position, client.bottom);
  } else {
    ::MoveToEx(m_track.dc, 0, m_track.position, nullptr);
    ::LineTo(m_track.dc, client.right, m_track.position);
  }
}

// Stores the size the line shows, unless the column (row) has it already;
// true when it stored.
bool CTalverView::StoreTrackedSize() {
  CWorkSheet* sheet = Worksheet();
  const uint16_t zoom = m_track.columns ? m_zoomX : m_zoomY;
  const int32_t shown = m_track.position - m_track.edge - 1;
  const int32_t current = m_track.columns ? GetColumnWidth(sheet, m_track.index, zoom)
                                          : GetRowHeight(sheet, m_track.index, zoom);
  if (shown == current)
    return false;
  int64_t stored = static_cast<int64_t>(shown < 0 ? 0 : shown) * 100 / (zoom ? zoom : 100);
  if (stored > kMaxTrackedSize)
    stored = kMaxTrackedSize;
  if (m_track.columns)
    sheet->format.columns[m_track.index].SetWidth(static_cast<uint16_t>(stored), true);
  else if (!sheet->format.rows.SetRow(m_track.index, static_cast<uint16_t>(stored), true))
    m_host->ShowError(kWorkbookOutOfMemory);
  return true;
}

void CTalverView::TrackSize(bool columns, uint32_t index, int32_t edge, int32_t start) {
  CWorkBook* book = m_host->Workbook();
  if (!book || !Worksheet())
    return;
  const bool recorded = columns ? book->undoHistory.RecordColumnWidths(book, static_cast<uint16_t>(index),
                                                                         static_cast<uint16_t>(index))
                                : book->undoHistory.RecordRowHeights(book, index, index);
  if (!recorded)
    m_host->ShowError(book->error);
  HDC dc = ::GetDC(m_hWnd);
  const int priorRop = ::SetROP2(dc, R2_NOTXORPEN);
  const HGDIOBJ priorPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  ::SetCapture(m_hWnd);
  ::SetCursor(::LoadCursorA(nullptr, columns ? IDC_SIZEWE : IDC_SIZENS));
  m_track = {true, columns, index, edge, start, 0, dc};
  DrawTrackLine();
  StartViewTimer(kResizeRestTimer, kResizeRestInterval);
  MSG msg;
  CaptureEnd end;
  while (NextDragMove(m_hWnd, &msg, &end)) {
    DrawTrackLine();
    const POINT p = PointFromLParam(msg.lParam);
    int32_t position = columns ? p.x : p.y;
    if (position < edge + 1)
      position = edge + 1;
    if (position > edge + 1 + kMaxTrackedSize)
      position = edge + 1 + kMaxTrackedSize;
    m_track.position = position;
    DrawTrackLine();
    m_track.rest = 0;
  }
  DrawTrackLine();
  ::SelectObject(dc, priorPen);
  ::SetROP2(dc, priorRop);
  ::KillTimer(m_hWnd, kResizeRestTimer);
  ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  if (HasCapture())
    ::ReleaseCapture();
  if (StoreTrackedSize()) {
    Invalidate(false);
    SyncOtherPane();
    m_host->SetModified(true);
  }
  m_track.active = false;
  m_track.dc = nullptr;
  ::ReleaseDC(m_hWnd, dc);
}

// The pointer rested long enough: the view shows the new size before the
// button is released.
void CTalverView::OnResizeRest() {
  if (!m_track.active)
    return;
  m_track.rest += static_cast<int32_t>(kResizeRestInterval);
  if (m_track.rest != kResizeRestPreview || !StoreTrackedSize())
    return;
  Invalidate(false);
  UpdateWindow();
  DrawTrackLine();
  m_host->SetModified(true);
}

void CTalverView::DragContainer(POINT start) {
  CWorkBook* book = m_host->Workbook();
  CWorkSheet* sheet = Worksheet();
  ContainerRecord* container = FindContainer(m_selectedContainer);
  if (!book || !sheet || !container)
    return;
  const SheetViewport v = Viewport();
  const GridFrame f = ComputeGridFrame(v, m_firstRow);
  const PixelRect area = {f.rowHeaderWidth + 1, f.columnHeaderHeight + 1, v.clientWidth, v.clientHeight};
  PixelRect r;
  if (!GetColumnRangeRect(area, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn), *container, &r, m_zoomX,
                          m_zoomY))
    return;
  const int grip = ContainerGrip(r, start);
  if (grip == 0)
    return;
  const PixelRect original = r;
  UpdateWindow();
  ::SetCapture(m_hWnd);
  ::SetCursor(::LoadCursorA(nullptr, GripCursor(grip)));
  HDC dc = ::GetDC(m_hWnd);
  auto focus = [&]() {
    const RECT box = {r.left, r.top, r.right + 1, r.bottom + 1};
    ::DrawFocusRect(dc, &box);
  };
  focus();
  POINT last = start;
  MSG msg;
  CaptureEnd end;
  while (NextDragMove(m_hWnd, &msg, &end)) {
    focus();
    const POINT p = PointFromLParam(msg.lParam);
    const bool left = grip == 1 || grip == 7 || grip == 8;
    const bool top = grip == 1 || grip == 2 || grip == 3;
    const bool right = grip == 3 || grip == 4 || grip == 5;
    const bool bottom = grip == 5 || grip == 6 || grip == 7;
    if (grip == 9) {
      const int32_t dx = p.x - last.x, dy = p.y - last.y;
      r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    // An edge follows only while the box keeps its minimum size.
    if (left && p.x + kContainerMinimum <= r.right)
      r.left = p.x;
    if (top && p.y + kContainerMinimum <= r.bottom)
      r.top = p.y;
    if (right && p.x - kContainerMinimum >= r.left)
      r.right = p.x;
    if (bottom && p.y - kContainerMinimum >= r.top)
      r.bottom = p.y;
    last = p;
    focus();
  }
  focus();
  ::ReleaseDC(m_hWnd, dc);
  if (HasCapture())
    ::ReleaseCapture();
  if (r.left == original.left && r.top == original.top && r.right == original.right && r.bottom == original.bottom)
    return;
  if (!book->undoHistory.RecordContainerChange(book, container))
    m_host->ShowError(book->error);
  RedrawContainer(container->header.id, true);
  const uint16_t zx = m_zoomX ? m_zoomX : 100, zy = m_zoomY ? m_zoomY : 100;
  ContainerRect& offsets = container->header.rect;
  const int32_t oldWidth = offsets.right - offsets.left, oldHeight = offsets.bottom - offsets.top;
  offsets.left += (r.left - original.left) * 100 / zx;
  offsets.right += (r.right - original.right) * 100 / zx;
  offsets.top += (r.top - original.top) * 100 / zy;
  offsets.bottom += (r.bottom - original.bottom) * 100 / zy;
  PlaceContainerAt({area.left, area.top}, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn), container,
                   {r.left, r.top}, zx, zy);
  const int32_t newWidth = offsets.right - offsets.left, newHeight = offsets.bottom - offsets.top;
  if ((newWidth != oldWidth || newHeight != oldHeight) && !book->RefreshContainer(container->header.id))
    m_host->ShowError(book->error);
  RedrawContainer(container->header.id, true);
  UpdateScrollRanges(true, true);
  m_host->ContainerPlaced(*container);
  m_host->SetModified(true);
}
