#ifndef TALVERO_AUTOMATION_AWORKBOOK_H
#define TALVERO_AUTOMATION_AWORKBOOK_H

// The Workbook object: a workbook without a window (IWorksheet) and its tree
// of worksheets and folders (ITree). It is created empty. The members that
// give it a document, edit, save and print it are not built yet and answer
// E_NOTIMPL; those that create info objects and reach its tree interface
// work.

#include <cstdint>

#include "automation/objects/automation_object_win32.h"
#include "core/workbook/workbook.h"

class CAWorkbook final : public CWorkBook,
                         public CDispatchImpl<IWorksheet>,
                         public CDispatchImpl<ITree>,
                         public ISupportErrorInfo,
                         public CServerObject {
 public:
  // The failure of a member that carries a workbook error code: 0x80040000
  // plus the code, with error information for the thread holding the code's
  // text (and for the XML reader's codes the line, when not 0), the failed
  // interface and the product title as its source.
  static HRESULT ReportError(uint8_t code, REFIID iid, uint32_t line);

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return AddReference(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

  // IWorksheet
  STDMETHODIMP get_WorksheetTree(ITree** tree) override;
  STDMETHODIMP put_WorksheetTree(ITree*) override { return S_OK; }
  STDMETHODIMP CreatePageInfo(IPageInfo** pageInfo) override;
  STDMETHODIMP GetPageSettings(IPageInfo*) override { return E_NOTIMPL; }
  STDMETHODIMP SetPageSettings(IPageInfo*) override { return E_NOTIMPL; }
  STDMETHODIMP PrintAll() override { return E_NOTIMPL; }
  STDMETHODIMP PrintRange(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP PrintPages(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP PrintContainer(int) override { return E_NOTIMPL; }
  STDMETHODIMP Save() override { return E_NOTIMPL; }
  STDMETHODIMP SaveAs(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP SaveAsDatabase(BSTR, IXBaseInfo*) override { return E_NOTIMPL; }
  STDMETHODIMP SaveAsTextFile(BSTR, ITextFileInfo*) override { return E_NOTIMPL; }
  STDMETHODIMP SaveAsExcelFile(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP CreateFormatInfo(IFormatInfo** formatInfo) override;
  STDMETHODIMP format(BSTR, int, IFormatInfo*) override { return E_NOTIMPL; }
  STDMETHODIMP Clear(BSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP GetValue(BSTR, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP PutValue(BSTR, VARIANT) override { return E_NOTIMPL; }
  STDMETHODIMP GetFormula(BSTR, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP PutFormula(BSTR, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP GetRange(BSTR, SAFEARRAY**) override { return E_NOTIMPL; }
  STDMETHODIMP PutRange(BSTR, SAFEARRAY*) override { return E_NOTIMPL; }
  STDMETHODIMP SaveRangeAsImage(BSTR, BSTR, double) override { return E_NOTIMPL; }
  STDMETHODIMP SaveContainerAsImage(int, BSTR, double) override { return E_NOTIMPL; }
  STDMETHODIMP UpdateWorksheet() override { return E_NOTIMPL; }
  STDMETHODIMP Load(BSTR, BSTR, int, ITextFileInfo*, IXBaseInfo*) override { return E_NOTIMPL; }
  STDMETHODIMP NewDocument() override { return E_NOTIMPL; }
  STDMETHODIMP GetStyleID(BSTR, int*) override { return E_NOTIMPL; }
  STDMETHODIMP PutStyleID(BSTR, int) override { return E_NOTIMPL; }
  STDMETHODIMP GetProtection(BSTR*, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetProtection(BSTR, LONG) override { return E_NOTIMPL; }

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
};

#endif
