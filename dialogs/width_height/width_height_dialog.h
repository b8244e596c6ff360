#ifndef TALVERO_DIALOGS_WIDTH_HEIGHT_DIALOG_H
#define TALVERO_DIALOGS_WIDTH_HEIGHT_DIALOG_H

// The dialog in which the row-height and column-width commands take a size
// in pixels at zoom 100 (CWidthHeightDlg, "Change Width/Height"). Only the
// edit of its mode can be used. It ends with 1 (OK, the value then in
// Value()) or 2 (Cancel).

#include <cstdint>

#include "dialogs/controls/parsed_edit.h"
#include "platform/ui/dialog_impl.h"

constexpr uint8_t kSizeRowHeight = 0;
constexpr uint8_t kSizeColumnWidth = 1;
constexpr int32_t kLineSizeMinimum = 0;
constexpr int32_t kLineSizeMaximum = 4095;

class CWidthHeightDlg : public CDialogImpl {
 public:
  CWidthHeightDlg(uint8_t mode, int32_t value);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  int32_t Value() const { return m_value; }

 private:
  LRESULT OnInitDialog();
  void OnOK();
  int EditId() const;

  uint8_t m_mode;
  int32_t m_value;
  CParsedEdit m_edit{kParsedInteger, kLineSizeMinimum, kLineSizeMaximum};
};

#endif
