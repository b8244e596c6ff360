#ifndef TALVERO_DIALOGS_CHART_EDITOR_FRACTAL_DIALOG_H
#define TALVERO_DIALOGS_CHART_EDITOR_FRACTAL_DIALOG_H

// "Fractal Properties" (CFractalDlg): the modal dialog of a container's
// fractal background, its six numbers and sixteen colours. It edits the
// settings its owner gave it and stores them only on OK. Windows only.

#include "dialogs/chart_editor/container_page_fields.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "platform/ui/dialog_impl.h"

class CFractalDlg : public CDialogImpl {
 public:
  CFractalDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // What the dialog holds; its numbers and colours are the settings.
  FractalChoice m_choice = {};

 private:
  LRESULT OnInitDialog();
  void ShowChoice();
  void OnOK();

  CColorComboBox m_colors[kPaletteSize];
  char m_separator;
};

#endif
