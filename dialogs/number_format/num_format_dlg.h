#ifndef TALVERO_DIALOGS_NUM_FORMAT_DLG_H
#define TALVERO_DIALOGS_NUM_FORMAT_DLG_H

// The modal "Numeric Format" dialog: the number-format host on its own, for
// formats that are not a cell's (the chart editor's axis labels). It applies
// nothing: the caller puts its params in, runs it, and takes them back when
// it ends with 1 (OK); Cancel ends with 2. Windows only.

#include "dialogs/number_format/num_format_host.h"

class CNumFormatDlg : public CNumFormatHost {
 public:
  CNumFormatDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
};

#endif
