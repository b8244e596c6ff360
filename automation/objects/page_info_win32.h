#ifndef TALVERO_AUTOMATION_PAGE_INFO_H
#define TALVERO_AUTOMATION_PAGE_INFO_H

// The PageInfo object: a copy of a worksheet's page settings, all zero until
// it is filled, exchanged byte for byte as an array of 1152 bytes.

#include "automation/objects/automation_object_win32.h"
#include "core/model/page_settings.h"

class CPageInfo final : public CSingleInterfaceObject<IPageInfo> {
 public:
  STDMETHODIMP GetMargins(double* left, double* top, double* right, double* bottom) override;
  STDMETHODIMP SetMargins(double left, double top, double right, double bottom) override;
  STDMETHODIMP SetData(SAFEARRAY* data) override;
  STDMETHODIMP GetData(SAFEARRAY** data) override;

 private:
  PageSettings m_settings = {};
};

#endif
