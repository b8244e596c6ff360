// The frame's side of the formula composer: what the composer reads of the
// active document and the formula bar, and the command that shows or
// closes it.

#include "app/document/child_frame.h"
#include "app/frame/main_frame.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"

HWND CMainFrame::CComposerHost::HostWindow() { return m_frame->m_hWnd; }

bool CMainFrame::CComposerHost::ComposerSource(CWorkBook** book, ComposerSelection* selection) {
  CChildFrame* child = m_frame->GetActiveChildFrame();
  CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
  if (view == nullptr || child->Workbook()->activeWorksheet == nullptr) return false;
  *book = child->Workbook();
  selection->range = view->Selection();
  selection->currentColumn = view->m_selection.currentColumn;
  selection->currentRow = view->m_selection.currentRow;
  return true;
}

HWND CMainFrame::CComposerHost::FormulaBarWindow() { return m_frame->FormulaBar(); }

void CMainFrame::CComposerHost::StampActivityClocks() { m_frame->StampActivityClocks(); }

void CMainFrame::CComposerHost::ComposerClosed() {
  Options.ComposerVisible = 0;
  m_frame->UISetCheck(ID_VIEW_COMPOSER, false);
}

void CMainFrame::OnViewComposer() {
  if (m_composer.m_hWnd != nullptr && m_composer.IsWindowVisible()) {
    ::DestroyWindow(m_composer.m_hWnd);
    m_composerHost.ComposerClosed();
    return;
  }
  if (!m_composer.Show()) return;
  Options.ComposerVisible = 1;
  UISetCheck(ID_VIEW_COMPOSER, true);
}
