#ifndef TALVERO_DIALOGS_BACKGROUND_PROP_PAGE_H
#define TALVERO_DIALOGS_BACKGROUND_PROP_PAGE_H

// The Background tab: the fill pattern and its two colours with a preview,
// each change applied to the selection as the fill. Windows only.

#include "core/styles/style_record.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/format_cells/format_page.h"
#include "platform/ui/window_impl.h"

class CBackgroundPropPage;

class CCellBackgroundWnd : public CWindowImpl {
 public:
  explicit CCellBackgroundWnd(CBackgroundPropPage* page) : m_page(page) {}
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  CBackgroundPropPage* m_page;
};

class CBackgroundPropPage : public CFormatPageT<CDialogImpl> {
 public:
  explicit CBackgroundPropPage(CFormatPropSheet* sheet);
  void RefreshPage(int direction) override;
  HWND Preview() const { return m_preview.m_hWnd; }

  // The page's copy of the cell's style; the fill block is its part.
  StyleRecord style = {};

 private:
  LRESULT OnInitPage() override;
  bool OnPageCommand(int id, int code, HWND control) override;

  CCellBackgroundWnd m_preview{this};
  CPatternComboBox m_pattern;
  CColorComboBox m_first;
  CColorComboBox m_second;
};

#endif
