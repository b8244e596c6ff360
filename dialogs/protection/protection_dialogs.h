#ifndef TALVERO_DIALOGS_PROTECTION_DIALOGS_H
#define TALVERO_DIALOGS_PROTECTION_DIALOGS_H

// The workbook protection dialog (CProtectDlg: none, or a password with RC4
// encryption of 40 or 128 bits, optionally readable without it) and the
// password dialog of an encrypted workbook being opened (CPasswordDlg). Both
// end with 1 (OK) or 2 (Cancel); the caller reads the fields after OK.

#include "services/choices/protection_choice.h"
#include "platform/ui/dialog_impl.h"

class CProtectDlg : public CDialogImpl {
 public:
  CProtectDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  ProtectionChoice choice;
  char password[kProtectPasswordCapacity] = {};
  char confirmation[kProtectPasswordCapacity] = {};

 private:
  LRESULT OnInitDialog();
  void EnablePasswordControls();
  void OnOK();
  void RefuseField(int id, UINT message);
};

class CPasswordDlg : public CDialogImpl {
 public:
  explicit CPasswordDlg(bool readOnlyOffered);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  uint8_t readOnlyOffered;
  uint8_t readOnlyChosen = 0;
  char password[kProtectPasswordCapacity] = {};

 private:
  LRESULT OnInitDialog();
};

#endif
