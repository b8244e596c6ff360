#include "dialogs/format_cells/style_prop_page.h"

#include "dialogs/format_cells/selection_appliers.h"
#include "resources/resource_ids.h"

CStylePropPage::CStylePropPage(CFormatPropSheet* sheet) : CFormatPageT<CNumFormatHost>(sheet, IDD_STYLE_PAGE, true) {}

LRESULT CStylePropPage::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitHost();
    case WM_DESTROY:
      OnDestroyHost();
      break;
  }
  return CNumFormatHost::ProcessWindowMessage(msg, wp, lp, handled);
}

void CStylePropPage::OnFormatChanged() { ApplyNumFormatToSelection(Host(), Params()); }
