#include "view/grid_view/talver_view.h"

#include "core/workbook/worksheet.h"
#include "view/geometry/sheet_sizes.h"
#include "view/grid_view/grid_frame.h"

namespace {

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

bool IsMovementKey(WPARAM key) {
  switch (key) {
    case VK_DOWN:
    case VK_UP:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_END:
    case VK_HOME:
    case VK_RETURN:
      return true;
  }
  return false;
}

}  // namespace

bool CTalverView::CellInVisibleArea() const {
  CWorkSheet* sheet = Worksheet();
  if (!sheet)
    return true;
  const SheetViewport v = Viewport();
  const GridFrame f = ComputeGridFrame(v, m_firstRow);
  const int64_t width = static_cast<int64_t>(v.clientWidth) + 1;
  int64_t height = static_cast<int64_t>(v.clientHeight) + 1 - (f.columnHeaderHeight + 2) - f.frozenHeight;
  if (height < 0)
    height = 0;
  const uint32_t lastColumn = LastVisibleColumn(sheet, width, m_firstColumn, m_zoomX, false);
  const uint32_t lastRow = LastVisibleRow(sheet, height, m_firstRow, m_zoomY, false);
  const GridSelection& s = m_selection;
  return s.currentColumn >= m_firstColumn && s.currentColumn <= lastColumn && s.currentRow >= m_firstRow &&
         s.currentRow <= lastRow;
}

LRESULT CTalverView::OnKeyDown(WPARAM key, bool& handled) {
  if (!Worksheet()) {
    handled = false;
    return 0;
  }
  if (IsMovementKey(key) && !m_selection.anchorActive && !CellInVisibleArea())
    EnsureCellVisible(m_selection.currentRow, m_selection.currentColumn);
  const bool ctrl = KeyDown(VK_CONTROL);
  switch (key) {
    case VK_RETURN:
      ::SendMessageA(m_host->DocumentWindow(), WM_COMMAND, kCommandBeginEdit, 0);
      return 0;
    case VK_SHIFT:
      if (!m_selection.anchorActive) {
        m_selection.anchorColumn = m_selection.currentColumn;
        m_selection.anchorRow = m_selection.currentRow;
        m_selection.anchorActive = 1;
      }
      return 0;
    case VK_ESCAPE:
      if (m_host->EditState() == kEditPointing) {
        m_host->EditState() = kEditIdle;
        m_host->RefreshFrameUI();
      }
      break;
    case VK_PRIOR:
      return OnVScroll(ctrl ? SB_TOP : SB_PAGEUP);
    case VK_NEXT:
      return OnVScroll(ctrl ? SB_BOTTOM : SB_PAGEDOWN);
    case VK_END:
      return OnHScroll(kScrollEnd);
    case VK_HOME:
      return OnHScroll(kScrollHome);
    case VK_LEFT:
      return OnHScroll(ctrl ? SB_PAGELEFT : SB_LINELEFT);
    case VK_UP:
      return OnVScroll(ctrl ? SB_PAGEUP : SB_LINEUP);
    case VK_RIGHT:
      return OnHScroll(ctrl ? SB_PAGERIGHT : SB_LINERIGHT);
    case VK_DOWN:
      return OnVScroll(ctrl ? SB_PAGEDOWN : SB_LINEDOWN);
    case VK_DELETE:
      ::SendMessageA(m_host->DocumentWindow(), WM_COMMAND, kCommandClear, 0);
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CTalverView::OnKeyUp(WPARAM key, bool& handled) {
  if (key != VK_SHIFT) {
    handled = false;
    return 0;
  }
  if (m_selection.anchorActive && !HasCapture())
    m_selection.anchorActive = 0;
  return 0;
}

LRESULT CTalverView::OnChar(WPARAM ch, bool& handled) {
  if (ch < 32 || !Worksheet()) {
    handled = false;
    return 0;
  }
  if (KeyDown(VK_SHIFT))
    m_selection.anchorActive = 0;
  if (!CellInVisibleArea())
    EnsureCellVisible(m_selection.currentRow, m_selection.currentColumn);
  char text[2] = {static_cast<char>(ch), '\0'};
  ::SendMessageA(m_host->DocumentWindow(), WM_COMMAND, kCommandBeginEdit, reinterpret_cast<LPARAM>(text));
  return 0;
}
