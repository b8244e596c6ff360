// The document window's cell editing commands: undo and redo, increment and
// decrement, the Convert menu, references and values for the formula bar,
// find and replace from the find bar, and transpose.

#include "app/document/child_frame.h"

#include "app/document/find_start.h"
#include "app/document/selection_cells.h"
#include "app/frame/main_frame.h"
#include "core/edit/array_result_cover.h"
#include "core/edit/increment_cells.h"
#include "core/edit/replace_in_range.h"
#include "core/edit/undoable_transpose.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"
#include "view/draw_context/screen_measurer.h"
#include "view/grid_view/pointing_reference.h"

namespace {

// The longest text the find bar's boxes give.
constexpr int kFindTextCapacity = 1024;

bool KeyHeld(int key) { return ::GetKeyState(key) < 0; }

// A text not yet in the box's list goes on top of it.
void RememberInCombo(HWND combo, const char* text) {
  if (combo == nullptr || text[0] == '\0') return;
  if (::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) != CB_ERR)
    return;
  ::SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text));
}

bool ButtonChecked(HWND toolbar, UINT command) {
  return toolbar != nullptr && ::SendMessageA(toolbar, TB_ISBUTTONCHECKED, command, 0) != 0;
}

bool InGrid(const UndoRange& r) {
  return r.firstColumn <= r.lastColumn && r.lastColumn <= kMaxColumn && r.firstRow <= r.lastRow &&
         r.lastRow <= kMaxRow;
}

}  // namespace

void CChildFrame::OnEditUndo() { ApplyUndoStep(false); }

void CChildFrame::OnEditRedo() { ApplyUndoStep(true); }

void CChildFrame::ApplyUndoStep(bool redo) {
  EndOpenEdit();
  UndoHistory& history = m_workbook.undoHistory;
  if (redo ? !history.CanRedo() : !history.CanUndo()) return;
  WaitCursor wait;
  // A step of another worksheet brings that worksheet into the view; this
  // one keeps where the view stood.
  StoreViewPosition();
  const CWorkSheet* shown = m_workbook.activeWorksheet;
  if (CDocumentView* view = GetActiveView()) view->InvalidateFormulaCells(true);
  const int32_t index = redo ? history.Current() + 1 : history.Current();
  if (redo ? m_workbook.RedoStep() : m_workbook.UndoStep()) {
    RefreshAfterStep(index, shown);
  } else {
    ShowError(m_workbook.error);
  }
  CompleteEdit();
}

void CChildFrame::RefreshAfterStep(int32_t index, const CWorkSheet* shownBefore) {
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (sheet == nullptr || GetActiveView() == nullptr) return;
  // The split follows the worksheet, so the active view is taken after it.
  if (sheet != shownBefore) ShowWorksheetView(sheet);
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return;
  const UndoRecord& step = m_workbook.undoHistory.Record(index);
  const UndoRange& range = step.range;
  ScreenMeasurer screen;
  switch (step.stepKind) {
    case kUndoStepCells:
    case kUndoStepCellsAndStyles:
    case kUndoStepRows:
    case kUndoStepRowsChange:
      if (InGrid(range)) CWorkSheet::AutoRowHeights(&m_workbook, screen.Measurer(), sheet, range.firstRow, range.lastRow);
      break;
    case kUndoStepColumns:
    case kUndoStepColumnsChange: {
      uint32_t firstRow = 0;
      uint32_t lastRow = 0;
      if (sheet->cells.GetUsedRange(nullptr, nullptr, &firstRow, &lastRow))
        CWorkSheet::AutoRowHeights(&m_workbook, screen.Measurer(), sheet, firstRow, lastRow);
      break;
    }
  }
  // The cells the step changed are shown selected; steps of containers and
  // of the tree have no cells.
  const uint8_t kind = step.stepKind;
  const bool ofTree = kind == kUndoStepTreeItem || kind == kUndoStepRename || kind == kUndoStepTreeItemMoved;
  const bool ofCells = kind != kUndoStepContainerAddedOrRemoved && kind != kUndoStepContainerChanged && !ofTree;
  // The tree shows the items and which worksheet is active.
  if ((ofTree || sheet != shownBefore) && !FillTree()) ShowError(kWorkbookOutOfMemory);
  if (ofCells && InGrid(range)) {
    SelectRange(SelectionRange{range.firstColumn, range.firstRow, range.lastColumn, range.lastRow});
    view->EnsureCellVisible(range.firstRow, range.firstColumn);
  }
  view->UpdateScrollRanges(true, true);
  view->Invalidate();
  // The step may have brought another worksheet or renamed this one.
  UpdateTitle();
  view->SyncOtherPane();
}

void CChildFrame::OnIncrementValue(bool up) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  WaitCursor wait;
  const SelectionRange s = view->Selection();
  uint32_t changed = 0;
  if (!IncrementCells(&m_workbook, CellRangeOfSelection(s), up, &changed)) {
    ShowError(m_workbook.error);
    return;
  }
  if (changed == 0) return;
  InvalidateCellRange(s.firstColumn, s.lastColumn, s.firstRow, s.lastRow);
  CompleteEdit();
}

void CChildFrame::OnConvert(uint8_t kind) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  WaitCursor wait;
  const CellRange range = CoverArrayResults(sheet->cells, CellRangeOfSelection(view->Selection()));
  const UndoRange recorded = {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
  if (!m_workbook.undoHistory.RecordCellsAndStyles(&m_workbook, recorded, true, false)) {
    ShowError(kWorkbookOutOfMemory);
    return;
  }
  if (!sheet->TransformCells(&m_workbook, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                             kind)) {
    // Nothing was converted: no step stands for it.
    m_workbook.undoHistory.DropLast(true);
    ShowError(m_workbook.error);
    return;
  }
  InvalidateCellRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow);
  CompleteEdit();
}

// Nothing in the workbook changes, and an open edit stays open: the text
// goes into the formula bar where its caret stands.
void CChildFrame::OnInsertReference(UINT command) {
  CDocumentView* view = GetActiveView();
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (view == nullptr || sheet == nullptr || m_owner == nullptr) return;
  const SelectionRange s = view->Selection();
  const CellRange cells = CellRangeOfSelection(s);
  char text[kEditCapacity + 1] = {};
  if (command == ID_SELECT_CELL_VALUE || (command == ID_SELECT_CELL_ADDRESS && KeyHeld(VK_SHIFT))) {
    sheet->GetCellText(&m_workbook, text, sizeof text, cells.firstColumn, cells.lastColumn, cells.firstRow,
                       cells.lastRow, true, false);
  } else {
    char path[kTreePathCapacity] = {};
    if (command == ID_SELECT_SHEET_ADDRESS) sheet->GetFullPath(path, sizeof path);
    if (!FormatSelectionReference(m_workbook.evaluator, s, text, sizeof text, KeyHeld(VK_CONTROL),
                                  command == ID_SELECT_SHEET_ADDRESS ? path : nullptr))
      return;
  }
  ::SendMessageA(m_owner->FormulaBar(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void CChildFrame::OnFindNext() {
  CDocumentView* view = GetActiveView();
  if (view == nullptr || m_owner == nullptr) return;
  EndOpenEdit();
  view->SetFocus();
  char pattern[kFindTextCapacity] = {};
  ::GetWindowTextA(m_owner->FindTextCombo(), pattern, sizeof pattern);
  RememberInCombo(m_owner->FindTextCombo(), pattern);
  const bool matchCase = ButtonChecked(m_owner->FindToolBar(), ID_MATCH_CASE);
  const bool wholeCells = ButtonChecked(m_owner->FindToolBar(), ID_MATCH_WHOLE_CELLS);
  const SelectionRange s = view->Selection();
  FindSearch search;
  if (PlanFindNext(s.firstColumn, s.firstRow, s.lastColumn, s.lastRow, &search)) {
    uint16_t column = search.startColumn;
    uint32_t row = search.startRow;
    if (m_workbook.FindInRange(search.range, &column, &row, pattern, matchCase, wholeCells)) {
      SelectRange(SelectionRange{column, row, column, row});
      view->EnsureCellVisible(row, column);
      view->SyncOtherPane();
      return;
    }
  }
  ShowMessageRes(IDS_NO_MORE_CELLS, MB_ICONINFORMATION | MB_OK);
}

void CChildFrame::OnReplaceAll(bool wholeWorksheet) {
  CDocumentView* view = GetActiveView();
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (view == nullptr || sheet == nullptr || m_owner == nullptr) return;
  EndOpenEdit();
  view->SetFocus();
  char pattern[kFindTextCapacity] = {};
  char replacement[kFindTextCapacity] = {};
  ::GetWindowTextA(m_owner->FindTextCombo(), pattern, sizeof pattern);
  ::GetWindowTextA(m_owner->ReplaceTextCombo(), replacement, sizeof replacement);
  RememberInCombo(m_owner->ReplaceTextCombo(), replacement);
  const bool matchCase = ButtonChecked(m_owner->FindToolBar(), ID_MATCH_CASE);
  const bool wholeCells = ButtonChecked(m_owner->FindToolBar(), ID_MATCH_WHOLE_CELLS);
  const CellRange range =
      wholeWorksheet ? CellRange{0, 0, kMaxColumn, kMaxRow} : CellRangeOfSelection(view->Selection());
  WaitCursor wait;
  const UndoRange recorded = {range.firstColumn, range.firstRow, range.lastColumn, range.lastRow};
  if (!m_workbook.undoHistory.RecordCellsAndStyles(&m_workbook, recorded, true, true)) {
    ShowError(m_workbook.error);
    return;
  }
  ReplaceOutcome outcome = {0, 0};
  if (!sheet->ReplaceInRange(&m_workbook, range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                             pattern, replacement, matchCase, wholeCells, &outcome)) {
    ShowError(m_workbook.error);
  } else if (outcome.replaced == 0) {
    // Nothing matched: no step stands for nothing.
    m_workbook.undoHistory.DropLast(true);
    return;
  }
  view->Invalidate();
  CompleteEdit();
}

void CChildFrame::OnTranspose() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  const CellRange source = CellRangeOfSelection(view->Selection());
  const uint64_t targetLastColumn = uint64_t(source.firstColumn) + (source.lastRow - source.firstRow);
  const uint64_t targetLastRow = uint64_t(source.firstRow) + (source.lastColumn - source.firstColumn);
  if (targetLastColumn > kMaxColumn || targetLastRow > kMaxRow) {
    ShowMessageRes(IDS_CANNOT_TRANSPOSE, MB_ICONEXCLAMATION | MB_OK);
    return;
  }
  WaitCursor wait;
  if (!TransposeRangeWithUndo(&m_workbook, source)) {
    ShowError(m_workbook.error);
    return;
  }
  view->UpdateScrollRanges(true, true);
  const uint32_t lastRow = targetLastRow > source.lastRow ? static_cast<uint32_t>(targetLastRow) : source.lastRow;
  ScreenMeasurer screen;
  CWorkSheet::AutoRowHeights(&m_workbook, screen.Measurer(), sheet, source.firstRow, lastRow);
  SelectRange(SelectionRange{source.firstColumn, source.firstRow, static_cast<uint32_t>(targetLastColumn),
                             static_cast<uint32_t>(targetLastRow)});
  CompleteEdit();
}
