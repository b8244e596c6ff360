// The document window's go-to-cell commands: the next or previous row of
// the selection's columns that is filled, empty, identical or different,
// and the top and bottom of the worksheet.

#include "app/document/cell_search.h"
#include "app/document/child_frame.h"

void CChildFrame::OnFindNext(UINT command) { GoToFoundRow(command); }

void CChildFrame::OnFindPrevious(UINT command) { GoToFoundRow(command); }

void CChildFrame::GoToFoundRow(UINT command) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  const CellSearchCommand search = CellSearchOfCommand(command);
  switch (search.action) {
    case kCommandScrollsToTop:
      view->SendMessage(WM_VSCROLL, SB_TOP);
      return;
    case kCommandScrollsToBottom:
      view->SendMessage(WM_VSCROLL, SB_BOTTOM);
      return;
    case kCommandNotASearch:
      return;
  }
  const SelectionRange before = view->Selection();
  uint32_t row = 0;
  if (!FindRowInSpan(&m_workbook.activeWorksheet->cells, static_cast<uint16_t>(before.firstColumn),
                     static_cast<uint16_t>(before.lastColumn), before.firstRow, search.downward, search.kind, &row)) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  SelectRange(SelectionRange{before.firstColumn, row, before.lastColumn, row});
  view->EnsureCellVisible(row, before.firstColumn);
  view->SyncOtherPane();
}
