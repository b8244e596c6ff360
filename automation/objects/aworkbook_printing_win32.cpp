// The Workbook object's members that exchange the active worksheet's page
// settings with a PageInfo object and print the worksheet on the default
// printer without any window.

#include <cstring>

#include "automation/objects/array_elements_win32.h"
#include "automation/objects/aworkbook_win32.h"
#include "platform/com/bstr_text_win32.h"
#include "platform/ui/locked_global.h"
#include "automation/objects/page_info_win32.h"
#include "files/native_binary/record_checks.h"

namespace {

constexpr LONG kPageSettingsBytes = static_cast<LONG>(sizeof(PageSettings));

// A new array of the page settings' bytes; null when it cannot be made.
SAFEARRAY* NewPageSettingsArray() { return SafeArrayCreateVector(VT_UI1, 0, kPageSettingsBytes); }

HRESULT Printed(bool printed) { return printed ? S_OK : S_FALSE; }

}  // namespace

STDMETHODIMP CAWorkbook::CreatePageInfo(IPageInfo** pageInfo) { return CreateObjectForCaller<CPageInfo>(pageInfo); }

STDMETHODIMP CAWorkbook::GetPageSettings(IPageInfo* pageInfo) {
  if (pageInfo == nullptr) return E_FAIL;
  if (activeWorksheet == nullptr) return NoWorksheet();
  SAFEARRAY* data = NewPageSettingsArray();
  if (data == nullptr) return E_OUTOFMEMORY;
  uint8_t bytes[sizeof(PageSettings)];
  std::memcpy(bytes, &activeWorksheet->pageSettings, sizeof bytes);
  HRESULT result = S_OK;
  for (LONG i = 0; i < kPageSettingsBytes && SUCCEEDED(result); ++i) result = SafeArrayPutElement(data, &i, &bytes[i]);
  if (SUCCEEDED(result)) result = pageInfo->SetData(data);
  SafeArrayDestroy(data);
  return SUCCEEDED(result) ? S_OK : E_FAIL;
}

// The settings are read whole before any changes, and what the client set
// is made safe to print from: texts ended, numbers and margins in range.
STDMETHODIMP CAWorkbook::SetPageSettings(IPageInfo* pageInfo) {
  if (pageInfo == nullptr) return E_FAIL;
  if (activeWorksheet == nullptr) return NoWorksheet();
  SAFEARRAY* data = NewPageSettingsArray();
  if (data == nullptr) return E_OUTOFMEMORY;
  uint8_t bytes[sizeof(PageSettings)];
  HRESULT result = pageInfo->GetData(&data);
  if (SUCCEEDED(result) && !HasElementsOfSize(data, 1)) result = E_FAIL;
  for (LONG i = 0; i < kPageSettingsBytes && SUCCEEDED(result); ++i) result = SafeArrayGetElement(data, &i, &bytes[i]);
  SafeArrayDestroy(data);
  if (FAILED(result)) return E_FAIL;
  PageSettings settings;
  std::memcpy(&settings, bytes, sizeof settings);
  CheckPageSettings(&settings);
  activeWorksheet->pageSettings = settings;
  return S_OK;
}

STDMETHODIMP CAWorkbook::PrintAll() {
  if (activeWorksheet == nullptr) return NoWorksheet();
  activeWorksheet->pageSettings.printRangeKind = kPrintAll;
  return Printed(PrintDocument());
}

// The range is printed as the worksheet's selected cells, the one range kind
// pagination keeps to.
STDMETHODIMP CAWorkbook::PrintRange(BSTR range) {
  CellRange cells;
  if (!ParseCellArg(range, &cells)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  SelectPrintCells(&activeWorksheet->pageSettings, cells.firstColumn, cells.firstRow, cells.lastColumn,
                   cells.lastRow);
  return Printed(PrintDocument());
}

STDMETHODIMP CAWorkbook::PrintPages(BSTR pages) {
  if (activeWorksheet == nullptr) return NoWorksheet();
  PageSettings& settings = activeWorksheet->pageSettings;
  BstrToAnsi(pages, settings.pages, sizeof settings.pages);
  settings.printRangeKind = kPrintPageList;
  return Printed(PrintDocument());
}

STDMETHODIMP CAWorkbook::PrintContainer(int containerId) {
  if (containerId < 0 || containerId > 0xFFFF) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  activeWorksheet->pageSettings.containerId = static_cast<uint16_t>(containerId);
  activeWorksheet->pageSettings.printRangeKind = kPrintContainer;
  return Printed(PrintDocument());
}

bool CAWorkbook::PrintDocument() {
  if (!HoldDefaultPrinter(nullptr, m_printerName, &m_devMode)) return false;
  CWorkSheet* sheet = activeWorksheet;
  uint8_t code = 0;
  HDC printer;
  {
    LockedGlobal settings(m_devMode);
    printer = PaginateForPrinter(this, sheet, m_printerName, settings.As<const DEVMODEA>(), &m_printPages, &code);
  }
  if (printer == nullptr) return false;
  const bool printed =
      m_printPages.sheets > 0 && RunPrintJob(printer, this, kPrintDocumentName, nullptr, 0, m_printPages.sheets - 1);
  FreePageList(sheet);
  DeleteDC(printer);
  return printed;
}

bool CAWorkbook::PrintPage(UINT page, HDC dc) {
  if (activeWorksheet == nullptr) return false;
  DrawPrinterSheet(this, activeWorksheet, m_printPages, page, dc, false);
  return true;
}
