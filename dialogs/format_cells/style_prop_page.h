#ifndef TALVERO_DIALOGS_STYLE_PROP_PAGE_H
#define TALVERO_DIALOGS_STYLE_PROP_PAGE_H

// The Style tab of the format-cells sheet: the number-format host whose
// every valid change is applied at once to the selection. Windows only.

#include "dialogs/format_cells/format_page.h"
#include "dialogs/number_format/num_format_host.h"

class CStylePropPage : public CFormatPageT<CNumFormatHost> {
 public:
  explicit CStylePropPage(CFormatPropSheet* sheet);
  void RefreshPage(int direction) override { Refresh(direction); }
  bool FilterSubPageInput(MSG* msg) override { return FilterPageInput(msg); }

 protected:
  LRESULT OnInitPage() override { return OnInitHost(); }
  void OnDestroyPage() override { OnDestroyHost(); }
  void OnFormatChanged() override;
};

#endif
