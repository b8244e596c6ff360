#ifndef TALVERO_AUTOMATION_TEXT_FILE_INFO_H
#define TALVERO_AUTOMATION_TEXT_FILE_INFO_H

// The TextFileInfo object: the options of a text file to load or save.

#include "automation/info/text_file_info_record.h"
#include "automation/objects/automation_object_win32.h"

class CTextFileInfo final : public CSingleInterfaceObject<ITextFileInfo> {
 public:
  STDMETHODIMP SetSeparator(BSTR separator) override;
  STDMETHODIMP SetEncoding(int encoding) override;
  STDMETHODIMP SetQuotingSymbol(BSTR symbol) override;
  STDMETHODIMP SetConversion(int conversion) override;
  STDMETHODIMP SetColumnWidths(SAFEARRAY* widths) override;
  STDMETHODIMP GetConversion(int* conversion) override;
  STDMETHODIMP GetEncoding(int* encoding) override;
  STDMETHODIMP GetQuotingSymbol(BSTR* symbol) override;
  STDMETHODIMP GetSeparator(BSTR* separator) override;
  STDMETHODIMP GetColumnWidths(SAFEARRAY** widths) override;
  STDMETHODIMP get_useFixedColWidths(LONG* value) override;
  STDMETHODIMP put_useFixedColWidths(LONG value) override;

 private:
  TextFileInfoRecord m_record;
};

#endif
