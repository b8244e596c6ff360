#include "app/document/child_frame.h"

#include "core/model/container_record.h"
#include "core/workbook/worksheet.h"

namespace {

// The worksheet whose container list holds the id, or null.
CWorkSheet* WorksheetOfContainer(CWorkBook& book, uint16_t id) {
  for (CWorkSheetTree::CTreeItem* item = book.firstItem; item != nullptr; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (sheet == nullptr) continue;
    for (ContainerRecord* container = sheet->containers; container != nullptr; container = container->next)
      if (container->header.id == id) return sheet;
  }
  return nullptr;
}

bool SamePlace(const ContainerHeader& a, const ContainerHeader& b) {
  return a.anchor.column == b.anchor.column && a.anchor.row == b.anchor.row && a.rect.left == b.rect.left &&
         a.rect.top == b.rect.top && a.rect.right == b.rect.right && a.rect.bottom == b.rect.bottom;
}

}  // namespace

void CChildFrame::OpenContainerEditor(ContainerRecord* container) {
  m_chartEditor.OpenForContainer(m_hWnd, container);
}

void CChildFrame::ContainerPlaced(const ContainerRecord& container) { m_chartEditor.UpdatePlacement(container); }

bool CChildFrame::ActiveSelection(SelectionRange* selection) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return false;
  *selection = view->Selection();
  return true;
}

void CChildFrame::ApplyContainerEdit(ContainerRecord& copy) {
  const uint16_t id = copy.header.id;
  ContainerRecord* stored = m_workbook.FindContainerById(id);
  CWorkSheet* sheet = WorksheetOfContainer(m_workbook, id);
  if (stored == nullptr || sheet == nullptr) return;
  // The step belongs to the container's worksheet, which undo finds it on,
  // whichever worksheet is shown now.
  CWorkSheet* shown = m_workbook.activeWorksheet;
  m_workbook.activeWorksheet = sheet;
  const bool recorded = m_workbook.undoHistory.RecordContainerChange(&m_workbook, stored);
  m_workbook.activeWorksheet = shown;
  if (!recorded) ShowError(m_workbook.error);
  const bool moved = !SamePlace(copy.header, stored->header);
  for (CDocumentView& view : m_view)
    if (moved && view.m_hWnd != nullptr) view.RedrawContainer(id, true);
  if (!stored->CopyFrom(copy))
    ShowError(stored->error);
  else if (!m_workbook.RefreshContainer(id))
    ShowError(m_workbook.error);
  for (CDocumentView& view : m_view)
    if (view.m_hWnd != nullptr) view.RedrawContainer(id, true);
  if (CDocumentView* view = GetActiveView()) view->SyncOtherPane();
  RefreshFrameUI();
  SetModified(true);
}
