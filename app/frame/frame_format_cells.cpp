// The frame's side of the format-cells sheet: what the sheet reads and
// writes of the active document, the command that shows or closes it, the
// sheet following the active cell, and the font-style buttons.

#include "app/document/child_frame.h"
#include "app/frame/main_frame.h"
#include "dialogs/format_cells/font_page_rules.h"
#include "dialogs/format_cells/selection_appliers.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"

bool CMainFrame::ActiveSelection(CWorkBook** book, FormatSelection* selection) {
  CChildFrame* child = GetActiveChildFrame();
  CWorkBook* workbook = GetActiveWorkbook();
  CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
  if (view == nullptr || workbook == nullptr || workbook->activeWorksheet == nullptr) return false;
  const SelectionRange s = view->Selection();
  *book = workbook;
  *selection = {static_cast<uint16_t>(s.firstColumn),       static_cast<uint16_t>(s.lastColumn), s.firstRow,
                s.lastRow, static_cast<uint16_t>(view->m_selection.currentColumn), view->m_selection.currentRow};
  return true;
}

void CMainFrame::SelectionFormatted(const FormatSelection& s) {
  CChildFrame* child = GetActiveChildFrame();
  CWorkBook* book = GetActiveWorkbook();
  if (child == nullptr || book == nullptr) return;
  UIEnable(ID_EDIT_UNDO, book->undoHistory.CanUndo());
  UIEnable(ID_EDIT_REDO, book->undoHistory.CanRedo());
  // Row heights may have changed with the font or the overflow.
  if (CDocumentView* view = child->GetActiveView()) view->UpdateScrollRanges(true, true);
  child->InvalidateCellRange(s.firstColumn, s.lastColumn, s.firstRow, s.lastRow);
  child->SetModified(true);
}

void CMainFrame::FormatSheetClosed() {
  Options.CellFormatVisible = 0;
  UISetCheck(ID_FORMAT_CELLS, false);
  UpdateUI();
}

void CMainFrame::OnCellFormatWindow() {
  CChildFrame* child = GetActiveChildFrame();
  if (child == nullptr || GetActiveWorkbook() == nullptr) return;
  child->EndOpenEdit();
  if (m_formatSheet.m_hWnd != nullptr) {
    m_formatSheet.DestroyWindow();
    Options.CellFormatVisible = 0;
    UISetCheck(ID_FORMAT_CELLS, false);
    return;
  }
  if (!ShowPropSheetModeless(&m_formatSheet)) return;
  Options.CellFormatVisible = 1;
  UISetCheck(ID_FORMAT_CELLS, true);
  UpdateUI();
}

// The sheet shows the selection's top-left cell.
void CMainFrame::ShowActiveCellFormat(CChildFrame* child, CWorkBook* book) {
  CDocumentView* view = child->GetActiveView();
  const CWorkSheet* sheet = book->activeWorksheet;
  if (m_formatSheet.m_hWnd == nullptr || view == nullptr || sheet == nullptr) return;
  const SelectionRange s = view->Selection();
  StyleRecord style;
  FontRecord font;
  const uint16_t column = static_cast<uint16_t>(s.firstColumn);
  sheet->format.CompareStylesInRange(book->styles, column, column, s.firstRow, s.firstRow, &style, &font, nullptr);
  m_formatSheet.SetCellFormat(style, font);
}

void CMainFrame::OnFontStyle(UINT command) {
  CChildFrame* child = GetActiveChildFrame();
  CWorkBook* book = GetActiveWorkbook();
  CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
  if (view == nullptr || book == nullptr || book->activeWorksheet == nullptr) return;
  child->EndOpenEdit();
  const SelectionRange s = view->Selection();
  StyleRecord style;
  FontWithColor font{};
  book->activeWorksheet->format.CompareStylesInRange(book->styles, static_cast<uint16_t>(s.firstColumn),
                                                     static_cast<uint16_t>(s.lastColumn), s.firstRow, s.lastRow,
                                                     &style, &font.font, nullptr);
  font.colorSet = style.fontColorSet;
  font.color = style.fontColor;
  const int kind = ToggleFontStyle(&font.font, command);
  if (kind != 0 && ApplyFontToSelection(this, font, kind)) UpdateUI();
}
