#ifndef TALVERO_DIALOGS_OPTIONS_DIALOG_H
#define TALVERO_DIALOGS_OPTIONS_DIALOG_H

// The options dialog (COptionsDlg, "Options"): the global options and the
// addressing style, read when it opens and stored back on OK, which the
// frame then applies. The opacity typed into its field shows on the dialog
// at once. It ends with 1 after OK and 2 after Cancel; a refused OK stores
// nothing.

#include "dialogs/controls/parsed_edit.h"
#include "platform/ui/dialog_impl.h"
#include "services/settings/global_options.h"

class COptionsDlg : public CDialogImpl {
 public:
  static constexpr int kHelpTopic = 14;
  static constexpr uint8_t kMinOpacity = 10;

  COptionsDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnInitDialog();
  void FillAutoCombo(int id, uint8_t minutes);
  void FillFontCombo();
  bool OnCommand(UINT id, UINT code);
  void OnOpacityChange();
  void OnBrowse();
  void OnOK();
  // The field's number within its bounds; otherwise a beep, the focus on
  // the field, and false.
  bool ReadNumberField(CParsedEdit& edit, uint8_t* value);
  int ComboChoice(int id) const;

  // The undo level, the copy level and the opacity, read on OK in this order.
  enum NumberField { kUndoField, kCopyField, kOpacityField, kNumberFieldCount };
  CParsedEdit m_numbers[kNumberFieldCount] = {{kParsedInteger, kMinUndoLevel, kMaxUndoLevel},
                                              {kParsedInteger, kMinCopyLevel, kMaxCopyLevel},
                                              {kParsedInteger, kMinOpacity, kMaxOpacity}};
};

#endif
