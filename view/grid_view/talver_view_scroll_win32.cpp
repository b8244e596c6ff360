#include "view/grid_view/talver_view.h"

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"
#include "view/grid_view/scroll_ranges.h"
#include "view/grid_view/wheel_accumulator.h"

namespace {

// Moving the pixels is only right when every scrolled-in strip repaints the
// same plain background.
bool BackgroundMovesWithContents(const CWorkSheet* sheet) {
  const WorksheetViewFormat& f = sheet->viewFormat;
  return f.backgroundMode == 1 && f.fill.pattern <= 1;
}

bool TowardsLower(bool columns, int code) {
  return code == SB_LINEUP || code == SB_PAGEUP || (columns ? code == kScrollHome : code == SB_TOP);
}

void EnlargeRange(HWND window, int bar, uint32_t maximum, bool keepPosition) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS;
  if (!::GetScrollInfo(window, bar, &si))
    si.nMax = 0;
  if (static_cast<int64_t>(si.nMax) >= static_cast<int64_t>(maximum))
    return;
  const int position = si.nPos;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMin = 0;
  si.nMax = static_cast<int>(maximum);
  si.nPage = 1;
  if (keepPosition) {
    si.fMask |= SIF_POS;
    si.nPos = position;
  }
  ::SetScrollInfo(window, bar, &si, TRUE);
}

void SetBarPosition(HWND window, int bar, uint32_t position, bool redraw) {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_POS;
  si.nPos = static_cast<int>(position);
  ::SetScrollInfo(window, bar, &si, redraw);
}

}  // namespace

LRESULT CTalverView::OnHScroll(int code) { return OnScroll(true, code); }

LRESULT CTalverView::OnVScroll(int code) { return OnScroll(false, code); }

LRESULT CTalverView::OnScroll(bool columns, int code) {
  CWorkSheet* sheet = Worksheet();
  if (!sheet)
    return 0;
  const bool line = code == SB_LINEUP || code == SB_LINEDOWN;
  const bool page = code == SB_PAGEUP || code == SB_PAGEDOWN;
  const bool jump = columns ? code == kScrollHome || code == kScrollEnd : code == SB_TOP || code == SB_BOTTOM;
  const bool thumb = code == SB_THUMBTRACK || code == SB_THUMBPOSITION || code == SB_ENDSCROLL;
  if (!line && !page && !jump && !thumb)
    return 0;

  EndEdit(0);
  UpdateWindow();

  if (!m_selection.anchorActive && !thumb) {
    if (m_selection.endColumn != m_selection.currentColumn || m_selection.endRow != m_selection.currentRow) {
      const GridSelection before = m_selection;
      m_selection.endColumn = m_selection.currentColumn;
      m_selection.endRow = m_selection.currentRow;
      DrawSelectionChange(&before, &m_selection);
      SyncOtherPane();
    }
    const bool shared = columns ? m_host->ColumnSplitterShowsBoth() : m_host->RowSplitterShowsBoth();
    CTalverView* other = shared && !m_syncGuard ? m_host->OtherView(this) : nullptr;
    if (other && other->m_hWnd) {
      other->m_syncGuard = true;
      other->SendMessage(columns ? WM_HSCROLL : WM_VSCROLL, static_cast<WPARAM>(code));
      other->m_syncGuard = false;
    }
  }

  const SheetViewport v = Viewport();
  const GridFrame frameBefore = ComputeGridFrame(v, m_firstRow);
  const GridSelection before = m_selection;
  ScrollPosition p = Position();
  if (columns)
    p.cursorColumn = static_cast<uint16_t>(MovingColumn(m_selection));
  else
    p.cursorRow = MovingRow(m_selection);
  int64_t moved = 0;
  switch (code) {
    case SB_LINEUP:
      moved = columns ? ScrollLineLeft(v, &p) : ScrollLineUp(v, &p);
      break;
    case SB_LINEDOWN:
      moved = columns ? ScrollLineRight(v, &p) : ScrollLineDown(v, &p);
      break;
    case SB_PAGEUP:
      columns ? ScrollPageLeft(v, &p) : ScrollPageUp(v, &p);
      break;
    case SB_PAGEDOWN:
      columns ? ScrollPageRight(v, &p) : ScrollPageDown(v, &p);
      break;
    case SB_TOP:
      ScrollTop(v, &p);
      break;
    case SB_BOTTOM:
      ScrollBottom(v, &p);
      break;
    case kScrollHome:
      ScrollHome(v, &p);
      break;
    case kScrollEnd:
      ScrollEnd(v, &p);
      break;
    case SB_THUMBTRACK: {
      // The message's own position has 16 bits; rows run past that.
      SCROLLINFO si = {};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      ::GetScrollInfo(m_hWnd, columns ? SB_HORZ : SB_VERT, &si);
      const int64_t track = si.nTrackPos;
      ThumbDrag& drag = ThumbDragOf(columns);
      const int64_t first = columns ? p.firstColumn : p.firstRow;
      if (!drag.active) {
        drag.active = true;
        drag.offset = track - first;
      }
      const int64_t limit = columns ? kColumnCount : kRowCount;
      if (track >= 0 && track < limit) {
        int64_t target = track - drag.offset;
        if (target < 0)
          target = 0;
        if (target >= limit)
          target = limit - 1;
        if (columns)
          p.firstColumn = static_cast<uint16_t>(target);
        else
          p.firstRow = static_cast<uint32_t>(target);
        SetBarPosition(m_hWnd, columns ? SB_HORZ : SB_VERT, static_cast<uint32_t>(track), false);
      }
      break;
    }
    default:  // the thumb released, the scroll ended
      ThumbDragOf(columns).active = false;
      break;
  }

  const uint32_t oldFirst = columns ? m_firstColumn : m_firstRow;
  const uint32_t newFirst = columns ? p.firstColumn : p.firstRow;
  if (!thumb) {
    if (columns)
      ApplyColumnStep(&m_selection, p.cursorColumn);
    else
      ApplyRowStep(&m_selection, p.cursorRow);
  }

  bool invalidated = false;
  if (line && moved != 0 && BackgroundMovesWithContents(sheet)) {
    // The old selection goes off where it was drawn, before the pixels move:
    // how a range is inverted depends on whether it starts the visible area.
    DrawSelectionChange(&before, nullptr);
    m_firstColumn = p.firstColumn;
    m_firstRow = p.firstRow;
    const int32_t amount = static_cast<int32_t>(moved > 1000000 ? 1000000 : moved);
    const int32_t signedAmount = code == SB_LINEUP ? amount : -amount;
    RECT area = GetClientRect();
    if (columns)
      area.left = frameBefore.rowHeaderWidth + 2 + frameBefore.frozenWidth;
    else
      area.top = frameBefore.columnHeaderHeight + 2 + frameBefore.frozenHeight;
    ::ScrollWindowEx(m_hWnd, columns ? signedAmount : 0, columns ? 0 : signedAmount, &area, &area, nullptr, nullptr,
                     SW_INVALIDATE | SW_ERASE);
    DrawSelectionChange(nullptr, &m_selection);
  } else {
    m_firstColumn = p.firstColumn;
    m_firstRow = p.firstRow;
    if ((line && moved != 0) || ((page || thumb) && newFirst != oldFirst) || jump) {
      Invalidate(false);
      invalidated = true;
    } else if (!SameSelection(before, m_selection)) {
      // A step that moved only the cursor still shows it.
      DrawSelectionChange(&before, &m_selection);
    }
  }

  if (!columns && !invalidated && ComputeGridFrame(v, m_firstRow).rowHeaderWidth != frameBefore.rowHeaderWidth)
    Invalidate(false);

  m_host->RefreshFrameUI();

  if (!thumb) {
    const int bar = columns ? SB_HORZ : SB_VERT;
    const uint32_t end = columns ? m_selection.endColumn : m_selection.endRow;
    EnlargeRange(m_hWnd, bar, end, true);
    const uint32_t current = columns ? m_selection.currentColumn : m_selection.currentRow;
    SetBarPosition(m_hWnd, bar, TowardsLower(columns, code) ? current : end, true);
  }
  return 0;
}

void CTalverView::EnsureCellVisible(uint32_t row, uint32_t column) {
  if (!Worksheet())
    return;
  ScrollPosition p = Position();
  ScrollToCell(Viewport(), &p, row, static_cast<uint16_t>(column));
  m_firstRow = p.firstRow;
  m_firstColumn = p.firstColumn;
  UpdateScrollRanges(false, false);
  SetScrollPositions(true, true, true, true);
  Invalidate(false);
  m_host->RefreshFrameUI();
}

void CTalverView::UpdateScrollRanges(bool includeContainers, bool keepPositions) {
  CWorkSheet* sheet = Worksheet();
  if (!sheet)
    return;
  const ScrollMaxima m = ComputeScrollMaxima(sheet, includeContainers, m_selection.endColumn, m_selection.endRow);
  EnlargeRange(m_hWnd, SB_HORZ, m.column, keepPositions);
  EnlargeRange(m_hWnd, SB_VERT, m.row, keepPositions);
}

void CTalverView::SetScrollPositions(bool horizontal, bool vertical, bool horizontalFromCurrent,
                                     bool verticalFromCurrent) {
  if (horizontal)
    SetBarPosition(m_hWnd, SB_HORZ, horizontalFromCurrent ? m_selection.currentColumn : m_selection.endColumn, true);
  if (vertical)
    SetBarPosition(m_hWnd, SB_VERT, verticalFromCurrent ? m_selection.currentRow : m_selection.endRow, true);
}

void CTalverView::ResetScrollBars() {
  SCROLLINFO si = {};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = 1;
  si.nPage = 1;
  si.nPos = 0;
  ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

LRESULT CTalverView::OnMouseWheel(WPARAM wp, bool& handled) {
  if (!IsWindowVisible()) {
    handled = false;
    return 0;
  }
  const WheelSteps steps = AccumulateWheel(&WheelTotal(), GET_WHEEL_DELTA_WPARAM(wp));
  if (GET_KEYSTATE_WPARAM(wp) & MK_CONTROL)
    return 0;
  for (int32_t i = 0; i < steps.rows; ++i) OnVScroll(steps.up ? SB_LINEUP : SB_LINEDOWN);
  return 0;
}
