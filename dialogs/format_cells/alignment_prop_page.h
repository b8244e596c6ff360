#ifndef TALVERO_DIALOGS_ALIGNMENT_PROP_PAGE_H
#define TALVERO_DIALOGS_ALIGNMENT_PROP_PAGE_H

// The Alignment tab: overflow, horizontal and vertical buttons, the two
// indents and the rotation bar, each change applied to the selection as one
// attribute. Windows only.

#include "core/styles/style_record.h"
#include "dialogs/format_cells/format_page.h"

class CAlignmentPropPage : public CFormatPageT<CDialogImpl> {
 public:
  explicit CAlignmentPropPage(CFormatPropSheet* sheet);
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  void RefreshPage(int direction) override;
  HWND ToolBar() const { return m_toolbar; }

  // The page's copy of the cell's style; the alignment block is its part.
  StyleRecord style = {};

 private:
  LRESULT OnInitPage() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  void OnRotationScroll(int code);
  void ShowRotation(int degrees);

};

#endif
