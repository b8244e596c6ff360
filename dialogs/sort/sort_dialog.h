#ifndef TALVERO_DIALOGS_SORT_DIALOG_H
#define TALVERO_DIALOGS_SORT_DIALOG_H

// The sort dialog (CSortDlg, "Sort"): up to five keys, each a check box, a
// column position stepped by its up-down control and an order. The caller
// fills `keys` and `columns` before and reads `keys` after OK; the dialog
// ends with 1 (OK) or 2 (Cancel).

#include "dialogs/controls/parsed_edit.h"
#include "dialogs/sort/sort_keys.h"
#include "platform/ui/dialog_impl.h"

class CSortDlg : public CDialogImpl {
 public:
  CSortDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  SortKeySettings keys;
  // The columns of the range being sorted: OK refuses an enabled key whose
  // position lies beyond them.
  uint32_t columns = kSortPositionMaximum;

 private:
  LRESULT OnInitDialog();
  void OnOK();

  CParsedEdit m_positions[kSortKeyCount] = {
      {kParsedInteger, kSortPositionMinimum, kSortPositionMaximum},
      {kParsedInteger, kSortPositionMinimum, kSortPositionMaximum},
      {kParsedInteger, kSortPositionMinimum, kSortPositionMaximum},
      {kParsedInteger, kSortPositionMinimum, kSortPositionMaximum},
      {kParsedInteger, kSortPositionMinimum, kSortPositionMaximum}};
};

#endif
