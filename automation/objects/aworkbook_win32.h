#ifndef TALVERO_AUTOMATION_AWORKBOOK_H
#define TALVERO_AUTOMATION_AWORKBOOK_H

// The Workbook object: a workbook without a window (IWorksheet) and its tree
// of worksheets and folders (ITree). It is created empty and holds a
// document once NewDocument or Load has run; its members then read and
// write the active worksheet's cells and formats, load and save the
// document in every format, protect it, and paginate and print the active
// worksheet on a printer of its own. None of them records undo steps,
// repaints or recalculates on its own. The members of ITree are not built
// yet and answer E_NOTIMPL.

#include <cstdint>

#include "automation/objects/automation_object_win32.h"
#include "core/edit/reference_adjust.h"
#include "core/workbook/workbook.h"
#include "platform/ui/print_job.h"
#include "platform/ui/printer_capabilities.h"
#include "view/printing/printer_pages.h"

class CAWorkbook final : public CWorkBook,
                         public CPrintJobInfo,
                         public CDispatchImpl<IWorksheet>,
                         public CDispatchImpl<ITree>,
                         public ISupportErrorInfo,
                         public CServerObject {
 public:
  ~CAWorkbook() override;

  // The failure of a member that carries a workbook error code: 0x80040000
  // plus the code, with error information for the thread holding the code's
  // text (and for the XML reader's codes the line, when not 0), the failed
  // interface and the product title as its source.
  static HRESULT ReportError(uint8_t code, REFIID iid, uint32_t line);

  // What answers a wrong password, and how long it waits first; replaceable
  // so that a test need not wait.
  using PasswordDelay = void (*)(DWORD milliseconds);
  static constexpr DWORD kWrongPasswordDelay = 2000;
  static void SetPasswordDelayForTesting(PasswordDelay delay);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return AddReference(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

  // IWorksheet: cells, ranges and formats (aworkbook_cells_win32.cpp).
  STDMETHODIMP get_WorksheetTree(ITree** tree) override;
  STDMETHODIMP put_WorksheetTree(ITree*) override { return S_OK; }
  STDMETHODIMP CreateFormatInfo(IFormatInfo** formatInfo) override;
  STDMETHODIMP format(BSTR range, int formatType, IFormatInfo* formatInfo) override;
  STDMETHODIMP Clear(BSTR range, int clearType) override;
  STDMETHODIMP GetValue(BSTR cell, VARIANT* value) override;
  STDMETHODIMP PutValue(BSTR cell, VARIANT value) override;
  STDMETHODIMP GetFormula(BSTR cell, BSTR* formula) override;
  STDMETHODIMP PutFormula(BSTR cell, BSTR formula) override;
  STDMETHODIMP GetRange(BSTR range, SAFEARRAY** values) override;
  STDMETHODIMP PutRange(BSTR range, SAFEARRAY* values) override;
  STDMETHODIMP UpdateWorksheet() override;
  STDMETHODIMP GetStyleID(BSTR cell, int* id) override;
  STDMETHODIMP PutStyleID(BSTR cell, int id) override;

  // IWorksheet: documents, files and protection (aworkbook_files_win32.cpp).
  STDMETHODIMP NewDocument() override;
  STDMETHODIMP Load(BSTR path, BSTR password, int format, ITextFileInfo* textFileInfo,
                    IXBaseInfo* xbaseInfo) override;
  STDMETHODIMP Save() override;
  STDMETHODIMP SaveAs(BSTR path) override;
  STDMETHODIMP SaveAsDatabase(BSTR path, IXBaseInfo* xbaseInfo) override;
  STDMETHODIMP SaveAsTextFile(BSTR path, ITextFileInfo* textFileInfo) override;
  STDMETHODIMP SaveAsExcelFile(BSTR path) override;
  STDMETHODIMP SaveRangeAsImage(BSTR range, BSTR path, double gamma) override;
  STDMETHODIMP SaveContainerAsImage(int containerId, BSTR path, double gamma) override;
  STDMETHODIMP GetProtection(BSTR* password, LONG* allowReadOnly) override;
  STDMETHODIMP SetProtection(BSTR password, LONG allowReadOnly) override;

  // IWorksheet: page settings and printing (aworkbook_printing_win32.cpp).
  STDMETHODIMP CreatePageInfo(IPageInfo** pageInfo) override;
  STDMETHODIMP GetPageSettings(IPageInfo* pageInfo) override;
  STDMETHODIMP SetPageSettings(IPageInfo* pageInfo) override;
  STDMETHODIMP PrintAll() override;
  STDMETHODIMP PrintRange(BSTR range) override;
  STDMETHODIMP PrintPages(BSTR pages) override;
  STDMETHODIMP PrintContainer(int containerId) override;

  // ITree
  STDMETHODIMP GetFirstChildOf(int, int*) override { return E_NOTIMPL; }
  STDMETHODIMP GetNextItem(int, int*) override { return E_NOTIMPL; }
  STDMETHODIMP GetPreviousItem(int, int*) override { return E_NOTIMPL; }
  STDMETHODIMP InsertItem(int, int, BSTR, int*) override { return E_NOTIMPL; }
  STDMETHODIMP DeleteItem(int) override { return E_NOTIMPL; }
  STDMETHODIMP GetItemName(int, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetItemName(int, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP IsWorksheet(int, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP IsFolder(int, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetItemPath(int, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP GetItemIndex(BSTR, int*) override { return E_NOTIMPL; }
  STDMETHODIMP SetActiveWorksheet(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetActiveWorksheet(BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP UpdateWorkbook() override { return E_NOTIMPL; }
  STDMETHODIMP GetItemCount(int*) override { return E_NOTIMPL; }

  // The print job's page source: draws sheet of paper `page` of the
  // pagination on the printer's device context.
  bool PrintPage(UINT page, HDC dc) override;

  // A cell or range argument as a rectangle; false when it is no absolute
  // reference or range in the current addressing style.
  bool ParseCellArg(BSTR text, CellRange* range);

 private:
  // The failure of a member that needs the active worksheet when the object
  // holds no document.
  static HRESULT NoWorksheet();
  // The failure of a load: the file is let go, so that no later Save writes
  // over it; a wrong password leaves nothing of the file in the document and
  // is answered after the delay, with its code alone.
  HRESULT FailLoad();
  // Saves the document under path (null: its own file) as file type `type`
  // with native variant `variant`, which become the document's on success;
  // false with the workbook's error, the document then on its previous file,
  // type and variant.
  bool SaveToPath(const char* path, uint8_t type, uint8_t variant);
  HRESULT SaveAsType(BSTR path, uint8_t type);
  // Paginates the active worksheet on the printer it holds (the default
  // printer, taken at the first print) and prints every sheet of paper;
  // false when nothing was printed.
  bool PrintDocument();

  char m_printerName[kPrinterNameCapacity] = {};
  HGLOBAL m_devMode = nullptr;
  PrinterPages m_printPages = {{}, {100, 100}, 0};
};

#endif
