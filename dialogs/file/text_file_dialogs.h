#ifndef TALVERO_DIALOGS_TEXT_FILE_DIALOGS_H
#define TALVERO_DIALOGS_TEXT_FILE_DIALOGS_H

// The options of a text file before it is read (COpenTextFileDlg) or written
// (CSaveTextFileDlg): separator or fixed widths, quoting symbol, encoding,
// and for reading whether numbers and formulas are recognised. Both edit
// the workbook's record in place after OK (1); Cancel (2) leaves it alone.

#include "core/model/exchange_options.h"
#include "platform/ui/dialog_impl.h"

class CTextFileDlg : public CDialogImpl {
 public:
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 protected:
  CTextFileDlg(TextFileOptions* options, bool save);

 private:
  LRESULT OnInitDialog();
  void OnSeparatorChanged();
  void OnOK();

  TextFileOptions* m_options;
  bool m_save;
};

class COpenTextFileDlg : public CTextFileDlg {
 public:
  explicit COpenTextFileDlg(TextFileOptions* options) : CTextFileDlg(options, false) {}
};

class CSaveTextFileDlg : public CTextFileDlg {
 public:
  explicit CSaveTextFileDlg(TextFileOptions* options) : CTextFileDlg(options, true) {}
};

#endif
