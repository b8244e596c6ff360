// The document window's go-to-cell commands: the next or previous row of
// the selection's columns that is filled, empty, identical or different,
// and the top and bottom of the worksheet.

#include "app/document/cell_search.h"
#include "app/document/child_frame.h"

namespace {

// The rectangle repainted around a selection that moves.
constexpr int kSelectionMargin = 5;

void InvalidateAround(CDocumentView* view, const SelectionRange& range) {
  RECT r = view->GetRangeRect(range);
  ::InflateRect(&r, kSelectionMargin, kSelectionMargin);
  view->InvalidateRect(r);
}

}  // namespace

void CChildFrame::OnFindNext(UINT command) { GoToFoundRow(command); }

void CChildFrame::OnFindPrevious(UINT command) { GoToFoundRow(command); }

void CChildFrame::GoToFoundRow(UINT command) {
  CDocumentView* view = GetActiveView();
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (view == nullptr || sheet == nullptr) return;
  view->EndEdit(0);
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
  if (!FindRowInSpan(&sheet->cells, static_cast<uint16_t>(before.firstColumn),
                     static_cast<uint16_t>(before.lastColumn), before.firstRow, search.downward, search.kind, &row)) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  InvalidateAround(view, before);
  GridSelection& selection = view->m_selection;
  SpanSelection(&selection, before.firstColumn, row, before.lastColumn, row);
  selection.anchorActive = 0;
  selection.anchorColumn = selection.currentColumn;
  selection.anchorRow = selection.currentRow;
  view->EnsureCellVisible(row, before.firstColumn);
  view->SyncOtherPane();
  InvalidateAround(view, view->Selection());
  RefreshFrameUI();
}
