#ifndef TALVERO_DIALOGS_STYLE_NAME_DLG_H
#define TALVERO_DIALOGS_STYLE_NAME_DLG_H

// The name of a new named number format ("User Style Name"): at most 49
// characters; ends with 1 (OK) or 2 (Cancel). Windows only.

#include "platform/ui/dialog_impl.h"
#include "services/settings/global_options.h"

class CStyleNameDlg : public CDialogImpl {
 public:
  CStyleNameDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // The proposed name in, the chosen one out.
  char name[kUserFormatTextSize] = {};
};

#endif
