#ifndef TALVERO_AUTOMATION_APPLICATION_H
#define TALVERO_AUTOMATION_APPLICATION_H

// The Application object: the server's factory of workbooks and info objects
// (IDocuments) and the part of the global options a client reads and
// replaces (IOptions). It keeps no state of its own. The members that open
// and create workbooks and those of IOptions are not built yet and answer
// E_NOTIMPL.

#include "automation/objects/automation_object_win32.h"

class CApplication final : public CDispatchImpl<IDocuments>,
                           public CDispatchImpl<IOptions>,
                           public ISupportErrorInfo,
                           public CServerObject {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return AddReference(); }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

  // IDocuments
  STDMETHODIMP CreateXBaseInfo(IXBaseInfo** xbaseInfo) override;
  STDMETHODIMP CreateTextFileInfo(ITextFileInfo** textFileInfo) override;
  STDMETHODIMP New(IWorksheet**) override { return E_NOTIMPL; }
  STDMETHODIMP Open(BSTR, BSTR, IWorksheet**) override { return E_NOTIMPL; }
  STDMETHODIMP OpenTextFile(BSTR, ITextFileInfo*, IWorksheet**) override { return E_NOTIMPL; }
  STDMETHODIMP OpenDatabase(BSTR, IXBaseInfo*, IWorksheet**) override { return E_NOTIMPL; }
  STDMETHODIMP OpenExcelFile(BSTR, IWorksheet**) override { return E_NOTIMPL; }
  STDMETHODIMP get_Options(IOptions** options) override;
  STDMETHODIMP put_Options(IOptions*) override { return S_OK; }

  // IOptions
  STDMETHODIMP GetStyles(SAFEARRAY**) override { return E_NOTIMPL; }
  STDMETHODIMP SetStyles(SAFEARRAY*) override { return E_NOTIMPL; }
  STDMETHODIMP GetBookmarks(SAFEARRAY**) override { return E_NOTIMPL; }
  STDMETHODIMP SetBookmarks(SAFEARRAY*) override { return E_NOTIMPL; }
  STDMETHODIMP LoadProfile(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP SaveProfile(BSTR) override { return E_NOTIMPL; }
};

#endif
