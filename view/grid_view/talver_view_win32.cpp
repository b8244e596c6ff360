#include "view/grid_view/talver_view.h"

#include <cstring>
#include <new>

#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "view/draw_context/draw_context.h"
#include "view/draw_context/screen_measurer.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"
#include "view/grid_view/grid_view_options.h"
#include "view/painting/container_placement.h"
#include "view/painting/draw_context_surface.h"
#include "view/painting/grid_painter.h"
#include "view/painting/selection_painter.h"

namespace {

const WindowClass* ViewClass() {
  static WindowClass cls = {};
  static bool registered = false;
  // A view of a new size is painted whole: the row headings' width follows
  // the last row in view, and pixels kept from the old place may be another
  // window's that covered it.
  if (!registered)
    registered = RegisterOwnClass("CTalverView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr, nullptr, &cls);
  return registered ? &cls : nullptr;
}

// The header bands measured once: they are drawn in the default font at
// zoom 100 whatever the worksheet's zoom.
const SheetViewport& MeasuredHeaders() {
  static SheetViewport headers = {};
  static bool measured = false;
  if (!measured) {
    ScreenMeasurer screen;
    headers = MakeSheetViewport(nullptr, screen.Measurer(), 0, 0, 100, 100);
    measured = true;
  }
  return headers;
}

}  // namespace

ThumbDrag& ThumbDragOf(bool columns) {
  static ThumbDrag drags[2] = {};
  return drags[columns ? 0 : 1];
}

CTalverView::CTalverView(GridViewHost* host) : m_host(host) {}

CTalverView::~CTalverView() {
  if (m_editorFont)
    ::DeleteObject(m_editorFont);
}

HWND CTalverView::CreateView(HWND parent, const RECT& rect, UINT id) {
  const WindowClass* cls = ViewClass();
  if (!cls)
    return nullptr;
  return Create(*cls, parent, rect, "",
                WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0, id);
}

CWorkSheet* CTalverView::Worksheet() const {
  CWorkBook* book = m_host ? m_host->Workbook() : nullptr;
  return book ? book->activeWorksheet : nullptr;
}

SheetViewport CTalverView::Viewport() const {
  SheetViewport v = MeasuredHeaders();
  const RECT client = GetClientRect();
  v.sheet = Worksheet();
  v.clientWidth = client.right - client.left;
  v.clientHeight = client.bottom - client.top;
  v.zoomX = m_zoomX;
  v.zoomY = m_zoomY;
  return v;
}

ScrollPosition CTalverView::Position() const {
  return {m_firstRow, static_cast<uint16_t>(m_firstColumn), m_selection.currentRow,
          static_cast<uint16_t>(m_selection.currentColumn)};
}

LRESULT CTalverView::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate();
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_LBUTTONDOWN:
      return OnLButtonDown(wp, PointFromLParam(lp));
    case WM_LBUTTONUP:
      return OnLButtonUp();
    case WM_LBUTTONDBLCLK:
      return OnLButtonDblClk();
    case WM_MOUSEWHEEL:
      return OnMouseWheel(wp, handled);
    case WM_MBUTTONDOWN:
      return OnMButtonDown(PointFromLParam(lp));
    case WM_MOUSEMOVE:
      return OnMouseMove(wp, PointFromLParam(lp));
    case WM_TIMER:
      return OnTimer(wp, handled);
    case WM_CAPTURECHANGED:
      return OnCaptureChanged();
    case WM_KEYDOWN:
      return OnKeyDown(wp, handled);
    case WM_KEYUP:
      return OnKeyUp(wp, handled);
    case WM_CHAR:
      return OnChar(wp, handled);
    case WM_HSCROLL:
      return OnHScroll(LOWORD(wp));
    case WM_VSCROLL:
      return OnVScroll(LOWORD(wp));
    case WM_COMMAND:
      if (LOWORD(wp) == kCommandPlaceEditor) {
        PlaceEditor();
        return 0;
      }
      break;
  }
  handled = false;
  return 0;
}

LRESULT CTalverView::OnCreate() {
  const HWND editor = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL |
                                        ES_AUTOHSCROLL, 0, 0, 0, 0, m_hWnd, nullptr, ::GetModuleHandleA(nullptr),
                                        nullptr);
  if (!editor || !m_editor.SubclassWindow(editor) || !CreateList(m_listOptions[0] != 0)) {
    if (editor && !m_editor.m_hWnd)
      ::DestroyWindow(editor);
    if (m_host)
      m_host->ShowError(kWorkbookOutOfMemory);
    return -1;
  }
  m_editor.SendMessage(EM_LIMITTEXT, kEditCapacity);
  ResetScrollBars();
  return 0;
}

GridPainter* CTalverView::Painter() {
  if (!m_painter) {
    m_painter.reset(new (std::nothrow) GridPainter(m_host->Workbook()));
    if (m_painter)
      m_painter->onScreen = true;
  }
  return m_painter.get();
}

LRESULT CTalverView::OnPaint() {
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(m_hWnd, &ps);
  const RECT client = GetClientRect();
  CWorkSheet* sheet = Worksheet();
  if (!sheet) {
    ::FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }
  GridPainter* painter = Painter();
  {
    DrawContext context;
    context.AttachDC(dc);
    const uint16_t zoom = sheet->viewFormat.zoom ? sheet->viewFormat.zoom : 100;
    m_zoomX = m_zoomY = zoom;
    const GridFrame frame = ComputeGridFrame(Viewport(), m_firstRow);
    m_columnHeaderHeight = frame.columnHeaderHeight;
    m_rowHeaderWidth = frame.rowHeaderWidth;
    // The client rectangle and one pixel beyond, as the scroll arithmetic
    // counts it.
    const PixelRect area = {0, 0, client.right, client.bottom};
    DrawContextSurface surface(&context);
    if (painter) {
      painter->hideCellMarkers = ViewOptions().hideCellMarkers;
      painter->showFormulas = ViewOptions().showFormulas;
      painter->PaintCells(surface.Surface(), area, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn), m_zoomX,
                          m_zoomY);
    }
    const SelectionRange selection = Selection();
    DrawSelection(surface.Surface(), area, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn), &selection,
                  nullptr, m_zoomX, m_zoomY);
    const ContainerRecord* container = m_selectedContainer ? FindContainer(m_selectedContainer) : nullptr;
    if (container) {
      const PixelRect cellArea = {frame.rowHeaderWidth + 1, frame.columnHeaderHeight + 1, client.right,
                                  client.bottom};
      PixelRect rect;
      surface.PushClip({frame.scrollLeft + 1, frame.scrollTop + 1, client.right, client.bottom});
      if (GetColumnRangeRect(cellArea, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn), *container, &rect,
                             m_zoomX, m_zoomY))
        DrawSelectionHandles(surface.Surface(), rect);
      surface.PopClip();
    }
  }
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

void CTalverView::DrawSelectionChange(const GridSelection* before, const GridSelection* after) {
  CWorkSheet* sheet = Worksheet();
  if (!sheet || !m_hWnd)
    return;
  const RECT client = GetClientRect();
  const PixelRect area = {0, 0, client.right, client.bottom};
  SelectionRange a = {}, b = {};
  if (before)
    a = SelectionRangeOf(*before);
  if (after)
    b = SelectionRangeOf(*after);
  DrawContext context;
  if (!context.AttachWindow(m_hWnd))
    return;
  DrawContextSurface surface(&context);
  DrawSelection(surface.Surface(), area, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn),
                before ? &a : nullptr, after ? &b : nullptr, m_zoomX, m_zoomY);
}

ContainerRecord* CTalverView::FindContainer(uint16_t id) const {
  CWorkSheet* sheet = Worksheet();
  for (ContainerRecord* c = sheet ? sheet->containers : nullptr; c; c = c->next)
    if (c->header.id == id)
      return c;
  return nullptr;
}

RECT CTalverView::GetRangeRect(const SelectionRange& range) const {
  RECT r = {};
  if (!Worksheet())
    return r;
  const PixelRect p = ::GetRangeRect(Viewport(), m_firstRow, static_cast<uint16_t>(m_firstColumn), range);
  r = {p.left, p.top, p.right, p.bottom};
  return r;
}

void CTalverView::RedrawContainer(uint16_t id, bool invalidateOnly) {
  CWorkSheet* sheet = Worksheet();
  ContainerRecord* container = FindContainer(id);
  if (!sheet || !container)
    return;
  const RECT client = GetClientRect();
  const GridFrame frame = ComputeGridFrame(Viewport(), m_firstRow);
  const PixelRect cellArea = {frame.rowHeaderWidth + 1, frame.columnHeaderHeight + 1, client.right, client.bottom};
  PixelRect rect;
  if (!GetColumnRangeRect(cellArea, sheet, m_firstRow, static_cast<uint16_t>(m_firstColumn), *container, &rect,
                          m_zoomX, m_zoomY))
    return;
  if (invalidateOnly) {
    const RECT grown = {rect.left - 1, rect.top - 1, rect.right + 2, rect.bottom + 2};
    InvalidateRect(grown, false);
    return;
  }
  GridPainter* painter = Painter();
  DrawContext context;
  if (!painter || !context.AttachWindow(m_hWnd))
    return;
  DrawContextSurface surface(&context);
  surface.PushClip({cellArea.left + 1, cellArea.top + 1, client.right, client.bottom});
  painter->DrawContainer(surface.Surface(), container, rect, m_zoomX, m_zoomY);
  if (id == m_selectedContainer)
    DrawSelectionHandles(surface.Surface(), rect);
  surface.PopClip();
}

void CTalverView::InvalidateFormulaCells(bool formulasOnly) {
  CWorkSheet* sheet = Worksheet();
  if (!sheet || !m_hWnd)
    return;
  const SheetViewport v = Viewport();
  const GridFrame frame = ComputeGridFrame(v, m_firstRow);
  const FrozenPanes panes = GetFrozenPanes(sheet);
  if (panes.row) {
    const RECT band = {0, frame.columnHeaderHeight + 1, v.clientWidth, frame.scrollTop + 1};
    InvalidateRect(band, false);
  }
  const uint32_t lastRow = LastVisibleRow(sheet, AvailableHeight(v), m_firstRow, m_zoomY, false);
  const uint32_t lastColumn = LastVisibleColumn(sheet, AvailableWidth(v, m_firstRow), m_firstColumn, m_zoomX, false);
  int64_t y = frame.scrollTop;
  for (uint32_t row = m_firstRow; row <= lastRow; ++row) {
    const int32_t height = GetRowHeight(sheet, row, m_zoomY);
    for (uint32_t column = m_firstColumn; column <= lastColumn; ++column) {
      const CellRecord* cell = sheet->cells.FindCell(row, static_cast<uint16_t>(column), nullptr);
      if (cell && (!formulasOnly || (cell->Type() & (kCellFormula | kCellSpillValue)))) {
        const RECT band = {0, static_cast<LONG>(y), v.clientWidth, static_cast<LONG>(y + height + 2)};
        InvalidateRect(band, false);
        break;
      }
    }
    y += height + 1;
  }
  for (ContainerRecord* c = sheet->containers; c; c = c->next) RedrawContainer(c->header.id, true);
}

void CTalverView::SyncOtherPane() {
  if (!m_host)
    return;
  CTalverView* other = m_host->OtherView(this);
  if (!other || !other->m_hWnd)
    return;
  bool changed = false;
  if (m_host->RowSplitterShowsBoth()) {
    other->m_firstRow = m_firstRow;
    other->m_selection.currentRow = other->m_selection.endRow = m_selection.currentRow;
    other->m_selectedContainer = m_selectedContainer;
    changed = true;
  }
  if (m_host->ColumnSplitterShowsBoth()) {
    other->m_firstColumn = m_firstColumn;
    other->m_selection.currentColumn = other->m_selection.endColumn = m_selection.currentColumn;
    other->m_selectedContainer = m_selectedContainer;
    changed = true;
  }
  if (changed)
    other->Invalidate(false);
}
