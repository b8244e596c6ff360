// Printing the active worksheet, its page setup and the print preview that
// takes the place of the document windows.

#include "app/frame/main_frame.h"
#include "app/frame/owned_windows_win32.h"

#include <winspool.h>

#include <cstring>

#include "app/document/child_frame.h"
#include "app/frame/print_selection.h"
#include "core/workbook/open_document_table.h"
#include "core/workbook/workbook.h"
#include "dialogs/printing/print_sheet.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/locked_global.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"

namespace {

constexpr UINT kNormalBands[] = {CMainFrame::kCommandBarBand, CMainFrame::kMainToolBarBand,
                                 CMainFrame::kSecondaryToolBarBand};

// The system's measurement setting: "1" shows inches.
bool ImperialMeasurement() {
  char measure[4] = {};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, sizeof measure) > 0 && measure[0] == '1';
}

}  // namespace

bool CMainFrame::FindPaperByName(const char* paperName, uint16_t* paper) {
  if (m_printerName[0] == '\0' || m_devMode == nullptr) return false;
  PrinterFormList* papers = static_cast<PrinterFormList*>(GlobalAlloc(GMEM_FIXED, sizeof(PrinterFormList)));
  if (papers == nullptr) return false;
  bool listed;
  {
    LockedGlobal settings(m_devMode);
    listed = ReadPrinterPapers(m_printerName, settings.As<const DEVMODEA>(), papers);
  }
  const int found = listed ? FindFormByName(*papers, paperName) : -1;
  if (found >= 0) *paper = papers->numbers[found];
  GlobalFree(papers);
  return found >= 0;
}

bool CMainFrame::PreparePrinter(const char* paperName, bool landscape) {
  if (!HoldDefaultPrinter(m_hWnd, m_printerName, &m_devMode)) return false;
  uint16_t paper = 0;
  const bool paperFound = paperName[0] != '\0' && FindPaperByName(paperName, &paper);
  LockedGlobal settings(m_devMode);
  DEVMODEA* devMode = settings.As<DEVMODEA>();
  if (devMode == nullptr) return false;
  if (paperFound) {
    devMode->dmFields |= DM_PAPERSIZE;
    devMode->dmPaperSize = static_cast<short>(paper);
  }
  devMode->dmFields |= DM_ORIENTATION;
  devMode->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  return true;
}

bool CMainFrame::OnPrintCommand(UINT command) {
  switch (command) {
    case ID_FILE_PRINT:
      OnFilePrint();
      return true;
    case ID_FILE_PAGE_SETUP:
      OnFilePageSetup();
      return true;
    case ID_FILE_PRINT_PREVIEW:
      OnFilePrintPreview();
      return true;
    case ID_PREVIEW_PREVIOUS:
      OnPreviewPage(false);
      return true;
    case ID_PREVIEW_NEXT:
      OnPreviewPage(true);
      return true;
    case ID_PREVIEW_ZOOM_IN:
      m_previewZoomIn = 1;
      if (m_preview.m_hWnd != nullptr) m_preview.SetZoomInMode(true);
      return true;
    case ID_PREVIEW_ZOOM_OUT:
      m_previewZoomIn = 0;
      if (m_preview.m_hWnd != nullptr) m_preview.ResetZoom();
      return true;
    case ID_PREVIEW_CLOSE:
      OnPreviewClose();
      return true;
    case ID_PREVIEW_PRINT_ALL:
      PostMessage(WM_COMMAND, ID_PREVIEW_CLOSE);
      PostMessage(WM_COMMAND, ID_FILE_PRINT);
      return true;
  }
  return false;
}

void CMainFrame::TakeViewSelection(CWorkSheet* sheet) {
  CChildFrame* child = GetActiveChildFrame();
  CDocumentView* view = child != nullptr ? child->GetActiveView() : nullptr;
  if (view == nullptr) return;
  const SelectionRange range = view->Selection();
  // A container counts only while the worksheet still has it.
  const uint16_t container =
      view->m_selectedContainer != 0 && view->FindContainer(view->m_selectedContainer) != nullptr
          ? view->m_selectedContainer
          : 0;
  const ViewSelection selection = {container, static_cast<uint16_t>(range.firstColumn), range.firstRow,
                                   static_cast<uint16_t>(range.lastColumn), range.lastRow};
  TakePrintSelection(selection, &sheet->pageSettings);
}

int32_t CMainFrame::PaginateForPrinter(CWorkBook* book, CWorkSheet* sheet, HDC* printer) {
  uint8_t code = 0;
  HDC device;
  {
    WaitCursor wait;
    LockedGlobal settings(m_devMode);
    device = ::PaginateForPrinter(book, sheet, m_printerName, settings.As<const DEVMODEA>(), &m_printPages, &code);
  }
  *printer = device;
  if (device == nullptr) {
    ShowError(code);
    return -1;
  }
  return static_cast<int32_t>(m_printPages.sheets);
}

CWorkSheet* CMainFrame::ActiveSheetWithPrinter(CWorkBook** book, CChildFrame** child) {
  *book = GetActiveWorkbook();
  *child = GetActiveChildFrame();
  if (*book == nullptr || *child == nullptr || (*book)->activeWorksheet == nullptr) return nullptr;
  CWorkSheet* sheet = (*book)->activeWorksheet;
  if (!PreparePrinter(sheet->pageSettings.sheetSizeName, sheet->pageSettings.landscape != 0)) {
    ShowError(kNoPrinterSelected);
    return nullptr;
  }
  return sheet;
}

bool CMainFrame::RunPrintSheet(CPrintPropertySheet& printSheet, int* activePage, CWorkSheet* sheet,
                               CChildFrame* child) {
  printSheet.UsePrinter(m_printerName, m_devMode);
  printSheet.LoadFromPageSettings(sheet->pageSettings);
  const bool ok = printSheet.Run(m_hWnd) == IDOK;
  *activePage = printSheet.ActivePage();
  if (printSheet.Applied()) {
    if (HGLOBAL devMode = CopyDevModeBlock(printSheet.DevMode())) {
      if (m_devMode != nullptr) GlobalFree(m_devMode);
      m_devMode = devMode;
    }
    lstrcpynA(m_printerName, printSheet.PrinterName(), sizeof m_printerName);
    printSheet.StoreToPageSettings(&sheet->pageSettings);
    child->SetModified(true);
  }
  return ok;
}

void CMainFrame::OnFilePrint() {
  // The preview's page list belongs to the preview: printing makes its own.
  OnPreviewClose();
  CWorkBook* book = nullptr;
  CChildFrame* child = nullptr;
  CWorkSheet* sheet = ActiveSheetWithPrinter(&book, &child);
  if (sheet == nullptr) return;
  CPrintPropertySheet printSheet(false, ImperialMeasurement(), IDR_MAINFRAME, m_printSheetPage);
  if (!RunPrintSheet(printSheet, &m_printSheetPage, sheet, child)) return;
  TakeViewSelection(sheet);
  ::UpdateWindow(m_hWnd);
  HDC printer = nullptr;
  const int32_t sheets = PaginateForPrinter(book, sheet, &printer);
  if (sheets < 0) return;
  if (sheets > 0) {
    m_printBook = book;
    m_printSheet = sheet;
    WaitCursor wait;
    RunPrintJob(printer, this, kPrintDocumentName, printSheet.PrintToFile() ? "FILE:" : nullptr, 0,
                static_cast<UINT>(sheets - 1));
    m_printBook = nullptr;
    m_printSheet = nullptr;
  }
  book->FreePageList(sheet);
  DeleteDC(printer);
}

void CMainFrame::OnFilePageSetup() {
  OnPreviewClose();
  CWorkBook* book = nullptr;
  CChildFrame* child = nullptr;
  CWorkSheet* sheet = ActiveSheetWithPrinter(&book, &child);
  if (sheet == nullptr) return;
  CPrintPropertySheet setupSheet(true, ImperialMeasurement(), IDR_MAINFRAME, m_pageSetupPage);
  RunPrintSheet(setupSheet, &m_pageSetupPage, sheet, child);
  if (!setupSheet.Applied()) return;
  PageSettings& settings = sheet->pageSettings;
  const uint8_t kind = settings.printRangeKind;
  CDocumentView* view = child->GetActiveView();
  if (view != nullptr && (kind == kPrintSelectedCells || kind == kPrintContainer || kind == kPrintSelection)) {
    const PrintSelectionRange& range = settings.selectionRange;
    view->m_selection = GridSelection{range.firstColumn, range.firstRow, range.lastColumn, range.lastRow,
                                      0,                 range.firstColumn, range.firstRow};
    ::InvalidateRect(view->m_hWnd, nullptr, FALSE);
  }
}

void CMainFrame::OnFilePrintPreview() {
  CWorkBook* book = GetActiveWorkbook();
  CChildFrame* child = GetActiveChildFrame();
  if (book == nullptr || child == nullptr || book->activeWorksheet == nullptr || m_preview.m_hWnd != nullptr) return;
  CWorkSheet* sheet = book->activeWorksheet;
  TakeViewSelection(sheet);
  if (!PreparePrinter(sheet->pageSettings.sheetSizeName, sheet->pageSettings.landscape != 0)) {
    ShowError(kNoPrinterSelected);
    return;
  }
  HDC printer = nullptr;
  const int32_t sheets = PaginateForPrinter(book, sheet, &printer);
  if (sheets < 0) return;
  DeleteDC(printer);
  m_printBook = book;
  m_printSheet = sheet;

  ::SendMessageA(m_previewPageCombo, CB_RESETCONTENT, 0, 0);
  for (int32_t i = 1; i <= sheets; ++i) {
    char number[16];
    wsprintfA(number, "%d", static_cast<int>(i));
    ComboAddString(m_previewPageCombo, number);
  }
  ::EnableWindow(m_previewPageCombo, TRUE);
  ::SendMessageA(m_previewPageCombo, CB_SETCURSEL, 0, 0);

  const RECT client = GetClientRect();
  bool created;
  {
    LockedGlobal settings(m_devMode);
    created = m_preview.Create(m_hWnd, client) != nullptr &&
              m_preview.SetPrintPreviewInfo(m_printerName, settings.As<const DEVMODEA>(), this, 0,
                                            static_cast<UINT>(sheets > 0 ? sheets - 1 : 0));
  }
  if (!created) {
    if (m_preview.m_hWnd != nullptr) m_preview.DestroyWindow();
    book->FreePageList(sheet);
    m_printBook = nullptr;
    m_printSheet = nullptr;
    ShowError(kNoPrinterSelected);
    return;
  }
  m_preview.ResetZoom();
  m_previewZoomIn = 0;
  m_preview.SetPage(0);

  m_hiddenToolWindowCount = 0;
  // The frame's visible tool windows hide while the preview stands.
  ForEachVisibleOwnedWindow(m_hWnd, [this](HWND window) {
    if (m_hiddenToolWindowCount < kMaxHiddenToolWindows) m_hiddenToolWindows[m_hiddenToolWindowCount++] = window;
  });
  for (int i = 0; i < m_hiddenToolWindowCount; ++i) ::ShowWindow(m_hiddenToolWindows[i], SW_HIDE);
  ::ShowWindow(m_hWndClient, SW_HIDE);
  m_hWndClientStandIn = m_preview.m_hWnd;
  for (UINT band : kNormalBands) ReBarShowBand(m_hWndToolBar, band, false);
  ReBarShowBand(m_hWndToolBar, kFindToolBarBand, false);
  ReBarShowBand(m_hWndToolBar, kPreviewToolBarBand, true);
  EnablePreviewCommands(true);
  UpdateLayout();
  m_preview.SetFocus();
}

void CMainFrame::EnablePreviewCommands(bool previewing) {
  const UINT page = m_preview.m_hWnd != nullptr ? m_preview.Page() : 0;
  UIEnable(ID_PREVIEW_PRINT_ALL, previewing);
  UIEnable(ID_PREVIEW_PREVIOUS, previewing && page > m_preview.FirstPage());
  UIEnable(ID_PREVIEW_NEXT, previewing && page < m_preview.LastPage());
  UIEnable(ID_PREVIEW_ZOOM_IN, previewing);
  UIEnable(ID_PREVIEW_ZOOM_OUT, previewing);
  UIEnable(ID_PREVIEW_CLOSE, previewing);
  UIUpdateToolBars();
}

void CMainFrame::ShowPreviewPage(UINT page) {
  if (!PreviewedDocumentOpen()) return;
  m_preview.SetPage(page);
  ::SendMessageA(m_previewPageCombo, CB_SETCURSEL, m_preview.Page(), 0);
  EnablePreviewCommands(true);
}

void CMainFrame::OnPreviewPage(bool next) {
  if (m_preview.m_hWnd == nullptr) return;
  const UINT page = m_preview.Page();
  if (next && page < m_preview.LastPage()) ShowPreviewPage(page + 1);
  if (!next && page > m_preview.FirstPage() && page != 0) ShowPreviewPage(page - 1);
}

void CMainFrame::OnPreviewPageSelected() {
  if (m_preview.m_hWnd == nullptr) return;
  const LRESULT item = ::SendMessageA(m_previewPageCombo, CB_GETCURSEL, 0, 0);
  if (item != CB_ERR) ShowPreviewPage(static_cast<UINT>(item));
}

bool CMainFrame::PreviewedDocumentOpen() {
  if (m_preview.m_hWnd == nullptr || m_printBook == nullptr) return false;
  for (const OpenDocument& slot : OpenDocuments().slots)
    if (slot.workbook == m_printBook) return true;
  // Its document closed under the preview: nothing of it may be drawn.
  m_printBook = nullptr;
  m_printSheet = nullptr;
  OnPreviewClose();
  return false;
}

void CMainFrame::OnPreviewClose() {
  if (m_preview.m_hWnd == nullptr) return;
  m_preview.DestroyWindow();
  m_hWndClientStandIn = nullptr;
  ::ShowWindow(m_hWndClient, SW_SHOW);
  ::SendMessageA(m_previewPageCombo, CB_RESETCONTENT, 0, 0);
  ::EnableWindow(m_previewPageCombo, FALSE);
  ReBarShowBand(m_hWndToolBar, kPreviewToolBarBand, false);
  for (UINT band : kNormalBands) ReBarShowBand(m_hWndToolBar, band, true);
  if (m_printBook != nullptr) m_printBook->FreePageList(m_printSheet);
  m_printBook = nullptr;
  m_printSheet = nullptr;
  m_previewZoomIn = 0;
  EnablePreviewCommands(false);
  UpdateLayout();
  LayoutSecondaryBar();
  LayoutStatusBar();
  for (int i = 0; i < m_hiddenToolWindowCount; ++i)
    if (::IsWindow(m_hiddenToolWindows[i])) ::ShowWindow(m_hiddenToolWindows[i], SW_SHOWNOACTIVATE);
  m_hiddenToolWindowCount = 0;
  // The document bars follow whether a document is active, as after any
  // activation.
  SetRefreshPending();
  if (CChildFrame* child = GetActiveChildFrame())
    if (CDocumentView* view = child->GetActiveView()) view->SetFocus();
}

bool CMainFrame::PrintPage(UINT page, HDC dc) {
  if (m_printBook == nullptr || m_printSheet == nullptr) return false;
  DrawPrinterSheet(m_printBook, m_printSheet, m_printPages, page, dc, m_preview.m_hWnd != nullptr);
  return true;
}

LRESULT CMainFrame::OnMouseWheel(WPARAM wp, LPARAM lp, bool& handled) {
  if (m_preview.m_hWnd == nullptr) {
    handled = false;
    return 0;
  }
  m_preview.OnWheelZoom(GET_WHEEL_DELTA_WPARAM(wp), POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
  return 0;
}
