#ifndef TALVERO_DIALOGS_BORDER_PROP_PAGE_H
#define TALVERO_DIALOGS_BORDER_PROP_PAGE_H

// The Border tab: a preview of the cell whose sides and diagonals a click or
// the keys "1" to "6" toggle, the line style and colour shared by all sides,
// and the buttons for all sides, the outline and no border. Windows only.

#include "core/styles/style_record.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/format_cells/format_page.h"
#include "platform/ui/window_impl.h"

class CBorderPropPage;

class CCellBorderWnd : public CWindowImpl {
 public:
  explicit CCellBorderWnd(CBorderPropPage* page) : m_page(page) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  LRESULT OnPaint();
  CBorderPropPage* m_page;
};

class CBorderPropPage : public CFormatPageT<CDialogImpl> {
 public:
  explicit CBorderPropPage(CFormatPropSheet* sheet);
  void RefreshPage(int direction) override;
  // A side of the mask flipped, from the preview or a digit key, and applied.
  void ToggleSide(uint8_t side);
  HWND Preview() const { return m_preview.m_hWnd; }
  HWND ToolBar() const { return m_toolbar; }

  // The page's copy of the cell's style; the border block is its part.
  StyleRecord style = {};

 private:
  LRESULT OnInitPage() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  void Apply(int kind);

  CCellBorderWnd m_preview{this};
  CLineComboBox m_line;
  CColorComboBox m_color;
};

#endif
