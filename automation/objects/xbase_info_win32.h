#ifndef TALVERO_AUTOMATION_XBASE_INFO_H
#define TALVERO_AUTOMATION_XBASE_INFO_H

// The XBaseInfo object: an xBase flavour, an encoding and the table's field
// descriptors.

#include "automation/info/xbase_info_fields.h"
#include "automation/objects/automation_object_win32.h"

class CXBaseInfo final : public CSingleInterfaceObject<IXBaseInfo> {
 public:
  STDMETHODIMP SetXBaseFormat(int format) override;
  STDMETHODIMP GetXBaseFormat(int* format) override;
  STDMETHODIMP SetField(int index, BSTR name, unsigned char type, int length, int decimals) override;
  STDMETHODIMP GetField(int index, BSTR* name, unsigned char* type, int* length, int* decimals) override;
  STDMETHODIMP GetFieldCount(int* counter) override;
  STDMETHODIMP DeleteField(int index) override;
  STDMETHODIMP GetEncoding(int* encoding) override;
  STDMETHODIMP SetEncoding(int encoding) override;
  STDMETHODIMP SetFieldCount(int counter) override;

 private:
  XBaseInfoFields m_fields;
};

#endif
