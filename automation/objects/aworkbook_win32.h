#ifndef TALVERO_AUTOMATION_AWORKBOOK_H
#define TALVERO_AUTOMATION_AWORKBOOK_H

// The Workbook object: a workbook without a window (IWorksheet) and its tree
// of worksheets and folders (ITree). It is created empty and holds a
// document once NewDocument or Load has run; its members then read and
// write the active worksheet's cells and formats, load and save the
// document in every format, protect it, and paginate and print the active
// worksheet on a printer of its own; the tree's members walk and edit its
// worksheets and folders. None of them records undo steps, repaints or
// recalculates on its own.

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

  // ITree (aworkbook_tree_win32.cpp). Items are addressed by their place in
  // the flat list of the tree, from 0; an index below 1 is the first item.
  STDMETHODIMP GetFirstChildOf(int folder, int* item) override;
  STDMETHODIMP GetNextItem(int curItem, int* nextItem) override;
  STDMETHODIMP GetPreviousItem(int curItem, int* previousItem) override;
  STDMETHODIMP InsertItem(int insertAt, int type, BSTR name, int* item) override;
  STDMETHODIMP DeleteItem(int item) override;
  STDMETHODIMP GetItemName(int item, BSTR* name) override;
  STDMETHODIMP SetItemName(int item, BSTR name) override;
  STDMETHODIMP IsWorksheet(int item, LONG* result) override;
  STDMETHODIMP IsFolder(int item, LONG* result) override;
  STDMETHODIMP GetItemPath(int item, BSTR* path) override;
  STDMETHODIMP GetItemIndex(BSTR path, int* index) override;
  STDMETHODIMP SetActiveWorksheet(BSTR path) override;
  STDMETHODIMP GetActiveWorksheet(BSTR* path) override;
  STDMETHODIMP UpdateWorkbook() override;
  STDMETHODIMP GetItemCount(int* counter) override;

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
