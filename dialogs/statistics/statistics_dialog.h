#ifndef TALVERO_DIALOGS_STATISTICS_DIALOG_H
#define TALVERO_DIALOGS_STATISTICS_DIALOG_H

// The statistics dialog (CStatisticsDlg, "Statistics"): one row per
// worksheet of the workbook with its cells counted by kind. "Go To" (or a
// double click) ends it with 1 and the chosen worksheet's path; "Close"
// ends it with 2.

#include "core/model/tree_item.h"
#include "platform/ui/dialog_impl.h"

class CWorkBook;

class CStatisticsDlg : public CDialogImpl {
 public:
  explicit CStatisticsDlg(CWorkBook* book);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  const char* ChosenPath() const { return m_path; }

 private:
  LRESULT OnInitDialog();
  void FillRows(HWND list, int* widths);
  void GoToSelectedRow();

  CWorkBook* m_book;
  char m_path[kTreePathCapacity] = {};
};

#endif
