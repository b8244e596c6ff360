#ifndef TALVERO_DIALOGS_ABOUT_DIALOG_H
#define TALVERO_DIALOGS_ABOUT_DIALOG_H

// The About box (CAboutDlg, "About Talvero"): the program's icon, its name
// and version in a bold title and its legal notice. It ends with 1 (OK) or
// 2 (Cancel).

#include "platform/ui/dialog_impl.h"

class CAboutDlg : public CDialogImpl {
 public:
  CAboutDlg();
  ~CAboutDlg() override;
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnInitDialog();

  HFONT m_titleFont = nullptr;
};

#endif
