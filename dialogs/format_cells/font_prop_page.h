#ifndef TALVERO_DIALOGS_FONT_PROP_PAGE_H
#define TALVERO_DIALOGS_FONT_PROP_PAGE_H

// The Font tab: the TrueType faces in alphabetical order, the sizes, the
// colour, the bold, italic, underline and strike-out buttons and the
// "&Default Font" button, each change applied to the selection as one
// attribute. Windows only.

#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/format_cells/format_page.h"
#include "dialogs/format_cells/selection_appliers.h"

class CFontPropPage : public CFormatPageT<CDialogImpl> {
 public:
  explicit CFontPropPage(CFormatPropSheet* sheet);
  void RefreshPage(int direction) override;
  HWND ToolBar() const { return m_toolbar; }

  // The page's copy: the cell's font and the colour of its text.
  FontWithColor font = {};

 private:
  LRESULT OnInitPage() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  void FillFaces();
  void LoadToolBar();
  void Apply(int kind);

  CColorComboBox m_color;
  bool m_faceChanged = false;
  bool m_sizeChanged = false;
};

#endif
