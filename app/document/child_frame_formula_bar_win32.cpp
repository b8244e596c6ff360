// The formula bar's text entered into the selected cells.

#include "app/document/child_frame.h"

#include "app/frame/main_frame.h"
#include "app/frame/recent_cell_texts.h"
#include "platform/ui/wait_cursor.h"
#include "services/settings/global_options.h"
#include "view/draw_context/screen_measurer.h"
#include "view/grid_view/cell_from_text.h"
#include "view/grid_view/grid_view_options.h"

void CChildFrame::OnEnterFormulaBar() {
  if (GetActiveView() == nullptr || m_owner == nullptr || m_workbook.activeWorksheet == nullptr) return;
  EndOpenEdit();
  char text[kEditCapacity + 1] = {};
  ::GetWindowTextA(m_owner->FormulaBar(), text, sizeof text);
  if (Options.Lists != nullptr) AddRecentCellText(*Options.Lists, text);
  EnterTextIntoSelection(text);
}

// The text goes into every selected cell as if typed there, with one undo
// step for the whole selection, so that one Undo takes it all back however
// many cells it filled.
void CChildFrame::EnterTextIntoSelection(const char* text) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr || m_workbook.activeWorksheet == nullptr) return;
  WaitCursor wait;
  const SelectionRange s = view->Selection();
  const UndoRange range = {static_cast<uint16_t>(s.firstColumn), s.firstRow, static_cast<uint16_t>(s.lastColumn),
                           s.lastRow};
  ScreenMeasurer screen;
  bool keptAsText = false;
  if (!StoreTextInRange(&m_workbook, screen.Measurer(), text, range, ViewOptions().autoFormatting != 0, &keptAsText))
    ShowError(kWorkbookOutOfMemory);
  else if (keptAsText)
    ShowError(kWorkbookQualifiedRefTooLong);
  view->UpdateScrollRanges(true, true);
  InvalidateCellRange(s.firstColumn, s.lastColumn, s.firstRow, s.lastRow);
  CompleteEdit();
}
