#include "view/grid_view/talver_view.h"

#include <cstring>

#include "core/base/global_options.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "view/draw_context/screen_font_win32.h"
#include "view/draw_context/screen_measurer.h"
#include "view/grid_view/cell_from_text.h"
#include "view/grid_view/grid_frame.h"
#include "view/grid_view/grid_view_options.h"

namespace {

// Width and height of a text, every line counted, in a font.
SIZE TextSize(HWND window, HFONT font, const char* text) {
  SIZE size = {0, 0};
  HDC dc = ::GetDC(window);
  if (!dc)
    return size;
  HGDIOBJ prior = font ? ::SelectObject(dc, font) : nullptr;
  RECT r = {0, 0, 0, 0};
  ::DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  size.cx = r.right - r.left;
  size.cy = r.bottom - r.top;
  if (prior)
    ::SelectObject(dc, prior);
  ::ReleaseDC(window, dc);
  return size;
}

}  // namespace

bool CTalverView::CreateList(bool sorted) {
  DWORD style = WS_CHILD | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;
  if (sorted)
    style |= LBS_SORT;
  const HWND list = ::CreateWindowExA(0, "LISTBOX", "", style, 0, 0, 0, 0, m_hWnd, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
  if (!list)
    return false;
  if (!m_list.SubclassWindow(list)) {
    ::DestroyWindow(list);
    return false;
  }
  return true;
}

bool CTalverView::BeginEdit(const char* text, int caret) {
  CWorkBook* book = m_host->Workbook();
  CWorkSheet* sheet = Worksheet();
  if (!book || !sheet || !m_editor.IsWindow())
    return false;
  const uint32_t row = m_selection.currentRow;
  const uint16_t column = static_cast<uint16_t>(m_selection.currentColumn);
  const StyleRecord& style = book->styles.StyleAt(sheet->format.CellStyle(row, column));

  // The list first: without it nothing is begun, so that no hidden editor
  // holds text that a later click would store unseen.
  const DropDownRef dropDown = style.dropDown;
  if (dropDown.listId != 0 && dropDown.listId <= kDropDownListCount) {
    const bool sorted = dropDown.sort != 0;
    if (m_list.IsWindow() && ((m_list.GetStyle() & LBS_SORT) != 0) != sorted)
      m_list.DestroyWindow();
    if (!m_list.IsWindow() && !CreateList(sorted)) {
      m_host->ShowError(kWorkbookOutOfMemory);
      return false;
    }
    m_listNumber = dropDown.listId;
    m_listOptions[0] = dropDown.sort;
    m_listOptions[1] = dropDown.autoAppend;
    m_listOptions[2] = dropDown.autoComplete;
  } else {
    m_listNumber = 0;
  }

  const HFONT font = CreateScreenFont(book->styles.FontAt(style.fontIndex), 0, m_zoomY);
  if (font) {
    if (m_editorFont)
      ::DeleteObject(m_editorFont);
    m_editorFont = font;
    m_editor.SetFont(font, true);
  }
  m_editRange[0] = m_editRange[2] = column;
  m_editRange[1] = m_editRange[3] = row;
  m_editor.SetWindowText(text ? text : "");
  m_editor.SendMessage(EM_SETSEL, static_cast<WPARAM>(caret), caret);
  m_editor.SendMessage(EM_SCROLLCARET);

  if (m_listNumber) {
    m_list.SendMessage(LB_RESETCONTENT);
    if (m_editorFont)
      m_list.SetFont(m_editorFont, false);
    for (const DropDownEntry* e = book->dropDownLists[m_listNumber - 1].entries; e; e = e->next)
      m_list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e->text));
  }
  m_host->EditState() = kEditInCell;
  PlaceEditor();
  m_editor.ShowWindow(SW_SHOW);
  if (m_listNumber)
    m_list.ShowWindow(SW_SHOW);
  m_editor.SetFocus();
  return true;
}

void CTalverView::PlaceEditor() {
  if (!m_editor.IsWindow() || m_host->EditState() != kEditInCell)
    return;
  char text[kEditCapacity + 1] = {};
  m_editor.GetWindowText(text, sizeof text);

  if (m_listNumber && m_list.IsWindow()) {
    if (text[0]) {
      const LRESULT found = m_list.SendMessage(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
      DWORD start = 0, end = 0;
      m_editor.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      const size_t typed = std::strlen(text);
      if (found != LB_ERR && m_listOptions[2] && start == end && end == typed) {
        const LRESULT length = m_list.SendMessage(LB_GETTEXTLEN, found);
        if (length > 0 && length <= kEditCapacity) {
          m_list.SendMessage(LB_GETTEXT, found, reinterpret_cast<LPARAM>(text));
          m_editor.SetWindowText(text);
          m_editor.SendMessage(EM_SETSEL, typed, length);
        }
        m_list.SendMessage(LB_SETCURSEL, found);
      }
    } else {
      m_list.SendMessage(LB_SETCURSEL, 0);
    }
  }

  // The editor grows a column at a time, then a row at a time, while the
  // text (and room for one more letter) does not fit.
  const RECT client = GetClientRect();
  char measured[kEditCapacity + 2];
  std::strcpy(measured, text);
  std::strcat(measured, "w");
  const SIZE size = TextSize(m_editor.m_hWnd, m_editorFont, measured);
  auto rangeRect = [&]() {
    const SelectionRange range = {m_editRange[0], m_editRange[1], m_editRange[2], m_editRange[3]};
    RECT r = GetRangeRect(range);
    ++r.right;
    ++r.bottom;
    return r;
  };
  RECT r = rangeRect();
  while (size.cx > r.right - r.left + 1 && m_editRange[2] < kMaxColumn) {
    ++m_editRange[2];
    const RECT grown = rangeRect();
    if (grown.right > client.right) {
      --m_editRange[2];
      break;
    }
    r = grown;
  }
  while (size.cy > r.bottom - r.top + 1 && m_editRange[3] < kMaxRow) {
    ++m_editRange[3];
    const RECT grown = rangeRect();
    if (grown.bottom > client.bottom) {
      --m_editRange[3];
      break;
    }
    r = grown;
  }
  const RECT now = m_editor.GetRectInParent();
  if (std::memcmp(&now, &r, sizeof r) != 0)
    m_editor.MoveWindow(r, true);

  if (m_listNumber && m_list.IsWindow()) {
    const LRESULT count = m_list.SendMessage(LB_GETCOUNT);
    const LRESULT itemHeight = m_list.SendMessage(LB_GETITEMHEIGHT, 0);
    const LONG height = count > 0 ? static_cast<LONG>(itemHeight * (count + 1)) : 170;
    RECT placed;
    placed.left = r.left;
    placed.top = r.bottom + 1;
    placed.right = r.left + (r.right - r.left) + 1;
    placed.bottom = placed.top + height < client.bottom + 1 ? placed.top + height : client.bottom + 1;
    const RECT listNow = m_list.GetRectInParent();
    if (std::memcmp(&listNow, &placed, sizeof placed) != 0)
      m_list.MoveWindow(placed, true);
  }
}

void CTalverView::TakeListItem(int index) {
  char text[kEditCapacity + 1] = {};
  const LRESULT length = m_list.SendMessage(LB_GETTEXTLEN, index);
  if (length < 0 || length > kEditCapacity)
    return;
  m_list.SendMessage(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  m_editor.SetWindowText(text);
}

bool CTalverView::EndEdit(int move, bool forceText) {
  if (m_host->EditState() != kEditInCell)
    return true;
  m_host->EditState() = kEditIdle;
  CWorkBook* book = m_host->Workbook();
  char text[kEditCapacity + 1] = {};
  m_editor.GetWindowText(text, sizeof text);
  if (text[0] && m_listNumber && m_listOptions[1] &&
      m_list.SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) == LB_ERR &&
      !book->dropDownLists[m_listNumber - 1].AppendEntry(text))
    m_host->ShowError(kWorkbookOutOfMemory);
  HideEditorAndList();
  const bool stored = SetCellFromText(text, m_selection.currentRow, m_selection.currentColumn, !forceText);
  if (!stored)
    m_host->ShowError(kWorkbookOutOfMemory);
  const uint8_t mode = UpdateMode(book->recalcMode);
  if (mode == kUpdateAutomatic || mode == kUpdateAutomaticActiveSheet) {
    if (!book->RecalculateForMode(false))
      m_host->ShowError(book->error);
    InvalidateFormulaCells(true);
    m_host->ShowRecalculatedValues();
  }
  SyncOtherPane();
  m_host->SetModified(true);
  m_host->RefreshFrameUI();
  MoveAfterEdit(move);
  return stored;
}

void CTalverView::MoveAfterEdit(int move) {
  int code = -1;
  bool columns = false;
  if (move == kMoveByEnterOption) {
    switch (ViewOptions().whenEnterPressed) {
      case kEnterMovesDown:
        move = kMoveDown;
        break;
      case kEnterMovesRight:
        move = kMoveRight;
        break;
      case kEnterToNextCellBelow:
      case kEnterToNextCellRight:
        MoveToNextCell(ViewOptions().whenEnterPressed == kEnterToNextCellBelow);
        return;
      default:
        return;
    }
  }
  switch (move) {
    case kMoveLeft:
      code = SB_LINELEFT;
      columns = true;
      break;
    case kMoveRight:
      code = SB_LINERIGHT;
      columns = true;
      break;
    case kMoveUp:
      code = SB_LINEUP;
      break;
    case kMoveDown:
      code = SB_LINEDOWN;
      break;
    default:
      return;
  }
  // Posted, so that the move follows the commit.
  PostMessage(columns ? WM_HSCROLL : WM_VSCROLL, static_cast<WPARAM>(code));
}

// To the next existing cell below in the column (or right in the row); the
// cursor stays when there is none.
void CTalverView::MoveToNextCell(bool below) {
  CWorkSheet* sheet = Worksheet();
  uint32_t row = m_selection.currentRow, column = m_selection.currentColumn;
  bool found = false;
  if (below) {
    uint32_t lastRow = 0;
    sheet->cells.GetUsedRange(nullptr, nullptr, nullptr, &lastRow);
    while (!found && row < lastRow) {
      ++row;
      found = sheet->cells.FindCell(row, static_cast<uint16_t>(column), nullptr) != nullptr;
    }
  } else {
    while (!found && column < kMaxColumn) {
      ++column;
      found = sheet->cells.FindCell(row, static_cast<uint16_t>(column), nullptr) != nullptr;
    }
  }
  if (!found)
    return;
  m_selection.currentRow = m_selection.endRow = row;
  m_selection.currentColumn = m_selection.endColumn = column;
  EnsureCellVisible(row, column);
}

// Hides the editor and its list; the view takes the focus they had.
void CTalverView::HideEditorAndList() {
  const bool hadFocus = ::GetFocus() == m_editor.m_hWnd || ::GetFocus() == m_list.m_hWnd;
  m_editor.ShowWindow(SW_HIDE);
  if (m_listNumber) {
    m_listNumber = 0;
    m_list.SendMessage(LB_RESETCONTENT);
    m_list.ShowWindow(SW_HIDE);
  }
  if (hadFocus)
    SetFocus();
}

void CTalverView::CancelEdit() {
  if (m_host->EditState() != kEditInCell)
    return;
  m_host->EditState() = kEditIdle;
  HideEditorAndList();
  m_host->RefreshFrameUI();
}

bool CTalverView::SetCellFromText(const char* text, uint32_t row, uint32_t column, bool parse) {
  CWorkBook* book = m_host->Workbook();
  if (!book || !Worksheet())
    return false;
  CellFromTextResult result = {};
  bool stored;
  {
    ScreenMeasurer screen;
    stored = StoreCellFromText(book, screen.Measurer(), text, row, static_cast<uint16_t>(column), parse,
                               ViewOptions().autoFormatting != 0, &result);
  }
  if (result.formatApplied)
    m_host->RefreshFrameUI();
  if (result.formulaKeptAsText)
    m_host->ShowError(kWorkbookQualifiedRefTooLong);
  const RECT client = GetClientRect();
  const RECT range = GetRangeRect(Selection());
  const GridFrame frame = ComputeGridFrame(Viewport(), m_firstRow);
  RECT band = {frame.rowHeaderWidth + 1, range.top, client.right, range.bottom + 1};
  if (result.rowHeightChanged)
    band = {0, range.top, client.right, client.bottom};
  InvalidateRect(band, false);
  return stored;
}
