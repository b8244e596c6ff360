#ifndef TALVERO_AUTOMATION_APPLICATION_H
#define TALVERO_AUTOMATION_APPLICATION_H

// The Application object: the server's factory of workbooks and info objects
// (IDocuments) and the part of the global options a client reads and
// replaces (IOptions). It keeps no state of its own.

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
  // A new Workbook holding a new document, or one loaded from a file. A load
  // that fails returns its failure and no workbook: the caller of a failed
  // call releases nothing.
  STDMETHODIMP New(IWorksheet** worksheet) override;
  STDMETHODIMP Open(BSTR path, BSTR password, IWorksheet** worksheet) override;
  STDMETHODIMP OpenTextFile(BSTR path, ITextFileInfo* textFileInfo, IWorksheet** worksheet) override;
  STDMETHODIMP OpenDatabase(BSTR path, IXBaseInfo* xbaseInfo, IWorksheet** worksheet) override;
  STDMETHODIMP OpenExcelFile(BSTR path, IWorksheet** worksheet) override;
  STDMETHODIMP get_Options(IOptions** options) override;
  STDMETHODIMP put_Options(IOptions*) override { return S_OK; }

  // IOptions (application_options_win32.cpp): the user formats ("name,
  // pattern" texts) and the bookmarks of the settings lists, replaced whole
  // or not at all, and the settings profile read from or written to a path
  // that then becomes the profile's path.
  STDMETHODIMP GetStyles(SAFEARRAY** styles) override;
  STDMETHODIMP SetStyles(SAFEARRAY* styles) override;
  STDMETHODIMP GetBookmarks(SAFEARRAY** bookmarks) override;
  STDMETHODIMP SetBookmarks(SAFEARRAY* bookmarks) override;
  STDMETHODIMP LoadProfile(BSTR path) override;
  STDMETHODIMP SaveProfile(BSTR path) override;
};

#endif
