// The document window's commands on whole rows and columns: selecting them
// and the used range, inserting and removing them, fitting their sizes,
// freezing the first visible one, and recalculation.

#include "app/document/child_frame.h"

#include "app/document/selection_cells.h"
#include "core/base/global_options.h"
#include "core/model/worksheet_view_state.h"
#include "platform/ui/wait_cursor.h"
#include "view/draw_context/screen_measurer.h"
#include "view/geometry/column_fit.h"

namespace {

// Every row that holds a cell gets the height its contents need, after a
// change of widths or of the columns' places.
void RefitUsedRows(CWorkBook* book, CWorkSheet* sheet) {
  uint32_t firstRow = 0;
  uint32_t lastRow = 0;
  if (!sheet->cells.GetUsedRange(nullptr, nullptr, &firstRow, &lastRow)) return;
  ScreenMeasurer screen;
  CWorkSheet::AutoRowHeights(book, screen.Measurer(), sheet, firstRow, lastRow);
}

}  // namespace

void CChildFrame::OnSelectRows() {
  // The editor takes Shift+Space as a space.
  if (m_editing == kEditInCell) return;
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return;
  const uint32_t row = view->Selection().firstRow;
  SelectRange(SelectionRange{0, row, kMaxColumn, row});
}

void CChildFrame::OnSelectColumns() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  const uint32_t column = view->Selection().firstColumn;
  SelectRange(SelectionRange{column, 0, column, kMaxRow});
}

void CChildFrame::OnSelectAll() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  uint16_t firstColumn = 0;
  uint16_t lastColumn = 0;
  uint32_t firstRow = 0;
  uint32_t lastRow = 0;
  sheet->cells.GetUsedRange(&firstColumn, &lastColumn, &firstRow, &lastRow);
  SelectRange(SelectionRange{firstColumn, firstRow, lastColumn, lastRow});
  view->EnsureCellVisible(firstRow, firstColumn);
  view->SyncOtherPane();
}

void CChildFrame::OnInsertRemoveColumns(bool insert) { InsertOrRemoveLines(false, insert); }

void CChildFrame::OnInsertRemoveRows(bool insert) { InsertOrRemoveLines(true, insert); }

void CChildFrame::InsertOrRemoveLines(bool rows, bool insert) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  WaitCursor wait;
  const CellRange s = CellRangeOfSelection(view->Selection());
  UndoHistory& history = m_workbook.undoHistory;
  if (insert) {
    const bool recorded = rows ? history.RecordRowsChange(&m_workbook, s.firstRow, s.lastRow)
                               : history.RecordColumnsChange(&m_workbook, s.firstColumn, s.lastColumn);
    if (!recorded) {
      ShowError(m_workbook.error);
      return;
    }
    const bool inserted = rows ? m_workbook.InsertRows(sheet, s.firstRow, s.lastRow)
                               : m_workbook.InsertColumns(sheet, s.firstColumn, s.lastColumn);
    if (!inserted) {
      // A refused insertion moved nothing, so no step may stand for it: its
      // undo would delete lines that were never inserted.
      history.DropLast(true);
      ShowError(m_workbook.error);
      return;
    }
  } else {
    const bool recorded = rows ? history.RecordRowsChangeWithSnapshot(&m_workbook, s.firstRow, s.lastRow)
                               : history.RecordColumnsChangeWithSnapshot(&m_workbook, s.firstColumn, s.lastColumn);
    if (!recorded) {
      ShowError(m_workbook.error);
      return;
    }
    const bool removed = rows ? m_workbook.DeleteRows(sheet, s.firstRow, s.lastRow)
                              : m_workbook.DeleteColumns(sheet, s.firstColumn, s.lastColumn);
    if (!removed) {
      // A refused removal moved nothing: its step would insert lines that
      // were never removed. Memory that ran out may have left the lines
      // removed, which the step then takes back.
      if (m_workbook.error != kWorkbookOutOfMemory) m_workbook.undoHistory.DropLast(true);
      ShowError(m_workbook.error);
    }
    if (!rows) RefitUsedRows(&m_workbook, sheet);
  }
  view->UpdateScrollRanges(true, true);
  // The selection keeps only its first line.
  if (rows) {
    SelectRange(SelectionRange{s.firstColumn, s.firstRow, s.lastColumn, s.firstRow});
  } else {
    SelectRange(SelectionRange{s.firstColumn, s.firstRow, s.firstColumn, s.lastRow});
  }
  CompleteEdit();
}

void CChildFrame::OnAutoRowHeight() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  WaitCursor wait;
  const CellRange s = CellRangeOfSelection(view->Selection());
  // Rows past the row table and the cells have the default height already,
  // and no fixed one: a whole column's selection stops where they begin.
  RowTable& rows = sheet->format.rows;
  uint32_t lastUsedRow = 0;
  const bool hasCells = sheet->cells.GetUsedRange(nullptr, nullptr, nullptr, &lastUsedRow);
  if (!hasCells && rows.Count() == 0) return;
  uint32_t last = rows.Count() > 0 ? rows.Count() - 1 : 0;
  if (hasCells && lastUsedRow > last) last = lastUsedRow;
  if (s.lastRow < last) last = s.lastRow;
  if (s.firstRow > last) return;
  if (!m_workbook.undoHistory.RecordRowHeights(&m_workbook, s.firstRow, last)) {
    ShowError(m_workbook.error);
    return;
  }
  for (uint32_t row = s.firstRow; row <= last; ++row) {
    // Height 0 is the default height; the flag bits above the height stay.
    if (uint16_t* record = rows.At(row)) *record = static_cast<uint16_t>(*record & RowTable::kFlagBits);
  }
  ScreenMeasurer screen;
  if (!CWorkSheet::AutoRowHeights(&m_workbook, screen.Measurer(), sheet, s.firstRow, last))
    ShowError(m_workbook.error);
  CompleteLayoutChange();
}

void CChildFrame::OnAutoColumnWidth() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  WaitCursor wait;
  const CellRange s = CellRangeOfSelection(view->Selection());
  if (!m_workbook.undoHistory.RecordColumnWidths(&m_workbook, s.firstColumn, s.lastColumn)) {
    ShowError(m_workbook.error);
    return;
  }
  {
    ScreenMeasurer screen;
    AutoFitColumnWidths(screen.Measurer(), m_workbook.styles, sheet, s.firstColumn, s.lastColumn);
  }
  RefitUsedRows(&m_workbook, sheet);
  view->UpdateScrollRanges(true, true);
  CompleteLayoutChange();
}

void CChildFrame::OnFreezeColumn() { ToggleFreeze(kCornerColumnGiven); }

void CChildFrame::OnFreezeRow() { ToggleFreeze(kCornerRowGiven); }

// A worksheet freezes either its first visible row or its first visible
// column, never both: freezing one ends the other.
void CChildFrame::ToggleFreeze(uint8_t flag) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  ViewCorner& frozen = ViewStateOf(&sheet->viewFormat)->frozen;
  if ((frozen.flags & flag) != 0) {
    frozen.flags = 0;
  } else {
    if (flag == kCornerColumnGiven) {
      frozen.column = static_cast<uint16_t>(view->m_firstColumn);
    } else {
      frozen.row = view->m_firstRow;
    }
    frozen.flags = flag;
  }
  CompleteLayoutChange();
}

// Recalculates as the update mode asks of the command, which a manual mode
// waits for; the workbook's contents do not change.
void CChildFrame::OnUpdateData() {
  EndOpenEdit();
  WaitCursor wait;
  if (!m_workbook.RecalculateForMode(true)) ShowError(m_workbook.error);
  if (CDocumentView* view = GetActiveView()) {
    view->InvalidateFormulaCells(true);
    view->SyncOtherPane();
  }
  ShowRecalculatedValues();
}

void CChildFrame::OnAutomaticUpdating() {
  EndOpenEdit();
  m_workbook.recalcMode = ToggledUpdateMode(m_workbook.recalcMode);
  SetModified(true);
  RefreshFrameUI();
}
