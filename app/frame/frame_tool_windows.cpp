// The frame's tool windows and the About box: the worksheet-format sheet,
// the zoom chooser with the zoom it applies, the formula composer's
// command, and the program's About box.

#include "app/document/child_frame.h"
#include "app/frame/main_frame.h"
#include "app/frame/worksheet_zoom.h"
#include "core/workbook/workbook.h"
#include "dialogs/about/about_dialog.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"

namespace {

void ApplyChosenZoom(void* frame, uint32_t zoomPercent, bool allWorksheets) {
  static_cast<CMainFrame*>(frame)->ApplyZoom(zoomPercent, allWorksheets);
}

// Both panes show the worksheet anew.
void RepaintViews(CChildFrame* child) {
  if (CDocumentView* view = child->GetActiveView()) {
    view->UpdateScrollRanges(true, true);
    view->Invalidate();
    view->SyncOtherPane();
  }
}

}  // namespace

HWND CMainFrame::CWorksheetFormatHost::HostWindow() { return m_frame->m_hWnd; }

bool CMainFrame::CWorksheetFormatHost::ActiveWorksheetFormat(WorksheetViewFormat* format) {
  CWorkBook* book = m_frame->GetActiveWorkbook();
  if (book == nullptr || book->activeWorksheet == nullptr) return false;
  *format = book->activeWorksheet->viewFormat;
  return true;
}

void CMainFrame::CWorksheetFormatHost::ApplyWorksheetFormat(const WorksheetViewFormat& format) {
  m_frame->ApplyWorksheetFormat(format);
}

void CMainFrame::CWorksheetFormatHost::StampActivityClocks() { m_frame->StampActivityClocks(); }

void CMainFrame::CWorksheetFormatHost::SheetClosed() { m_frame->UpdateUI(); }

bool CMainFrame::OnToolWindowCommand(UINT command) {
  switch (command) {
    case ID_FORMAT_WORKSHEET:
      OnFormatWorksheet();
      return true;
    case ID_VIEW_ZOOM:
      OnZoom();
      return true;
    case ID_APP_ABOUT:
      OnAbout();
      return true;
    case ID_VIEW_COMPOSER:
      OnViewComposer();
      return true;
  }
  return false;
}

void CMainFrame::OnFormatWorksheet() {
  CChildFrame* child = GetActiveChildFrame();
  if (child == nullptr || child->Workbook()->activeWorksheet == nullptr) return;
  child->EndOpenEdit();
  if (m_worksheetFormat.m_hWnd != nullptr) {
    ::DestroyWindow(m_worksheetFormat.m_hWnd);
    Options.WorksheetFormatVisible = 0;
    UISetCheck(ID_FORMAT_WORKSHEET, false);
    return;
  }
  m_worksheetFormat.SetFormat(child->Workbook()->activeWorksheet->viewFormat);
  if (!ShowPropSheetModeless(&m_worksheetFormat)) return;
  Options.WorksheetFormatVisible = 1;
  UISetCheck(ID_FORMAT_WORKSHEET, true);
  UpdateUI();
}

bool CMainFrame::ApplyWorksheetFormat(const WorksheetViewFormat& format) {
  CChildFrame* child = GetActiveChildFrame();
  if (child == nullptr || child->Workbook()->activeWorksheet == nullptr) return true;
  child->Workbook()->activeWorksheet->viewFormat = format;
  child->SetModified(true);
  RepaintViews(child);
  return true;
}

void CMainFrame::RestoreToolWindows(bool documentActive) {
  if (!documentActive) {
    // The options stay, so that the windows come back with a document.
    if (m_worksheetFormat.m_hWnd != nullptr) ::DestroyWindow(m_worksheetFormat.m_hWnd);
    if (m_composer.m_hWnd != nullptr) ::DestroyWindow(m_composer.m_hWnd);
    return;
  }
  if (Options.ComposerVisible != 0 && m_composer.m_hWnd == nullptr) {
    Options.ComposerVisible = 0;
    PostMessage(WM_COMMAND, ID_VIEW_COMPOSER);
  }
  if (Options.WorksheetFormatVisible != 0 && m_worksheetFormat.m_hWnd == nullptr) {
    Options.WorksheetFormatVisible = 0;
    PostMessage(WM_COMMAND, ID_FORMAT_WORKSHEET);
  }
}

void CMainFrame::OnZoom() {
  CChildFrame* child = GetActiveChildFrame();
  const CWorkSheet* sheet = child != nullptr ? child->Workbook()->activeWorksheet : nullptr;
  if (sheet == nullptr) return;
  child->EndOpenEdit();
  RECT pane{};
  ::SendMessageA(m_hWndStatusBar, SB_GETRECT, CStatusBarCtrl2::kZoomPane, reinterpret_cast<LPARAM>(&pane));
  POINT corner{pane.right, pane.top};
  ::ClientToScreen(m_hWndStatusBar, &corner);
  m_zoomChooser.Show(m_hWnd, sheet->viewFormat.zoom, corner, ApplyChosenZoom, this);
}

void CMainFrame::ApplyZoom(uint32_t zoomPercent, bool allWorksheets) {
  CChildFrame* child = GetActiveChildFrame();
  CWorkBook* book = child != nullptr ? child->Workbook() : nullptr;
  if (book == nullptr || book->activeWorksheet == nullptr) return;
  SetWorksheetZoom(book, static_cast<uint16_t>(zoomPercent), allWorksheets);
  {
    WaitCursor wait;
    if (!book->RefreshAllContainers()) child->ShowError(book->error);
  }
  child->SetModified(true);
  RepaintViews(child);
  UpdateStatusBar();
}

void CMainFrame::OnAbout() {
  CAboutDlg about;
  about.DoModal(m_hWnd);
}
