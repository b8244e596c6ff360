#include "dialogs/number_format/num_format_dlg.h"

#include "dialogs/controls/dialog_opening.h"
#include "resources/resource_ids.h"

CNumFormatDlg::CNumFormatDlg() : CNumFormatHost(IDD_NUMERIC_FORMAT, false) {}

LRESULT CNumFormatDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG: {
      const LRESULT result = OnInitHost();
      PlaceOpeningDialog(m_hWnd);
      return result;
    }
    case WM_DESTROY:
      OnDestroyHost();
      break;
  }
  return CNumFormatHost::ProcessWindowMessage(msg, wp, lp, handled);
}
