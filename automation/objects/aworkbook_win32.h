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
};

#endif
