#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_GRID_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_GRID_PAGE_H

// The chart editor's "Grid" page (CChartGridDlg): the major and minor
// gridlines of the selected series' axis and up to 16 gridlines at values
// of the user's, each added or edited in "User Defined Gridline"
// (CUserGridDlg). Windows only.

#include "dialogs/chart_editor/axis_page_values.h"
#include "dialogs/chart_editor/chart_editor_page.h"
#include "dialogs/controls/owner_drawn_combos.h"

class CUserGridDlg : public CDialogImpl {
 public:
  CUserGridDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  // Set before the dialog runs, taken after OK.
  double value = 0;
  BorderLine line = {1, 0, {}, 0};

 private:
  LRESULT OnInitDialog();
  void OnOK();

  CLineComboBox m_style;
  CColorComboBox m_colour;
};

class CChartGridDlg : public CChartEditorPage {
 public:
  CChartGridDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

  void AddUserGridline();
  void EditUserGridline();
  void DeleteUserGridline();
  HWND UserGridList() const { return m_list; }

 private:
  LRESULT OnInitDialog();
  void CreateUserGridControls();
  void DrawUserGridRow(const DRAWITEMSTRUCT& item);

  CLineComboBox m_major;
  CColorComboBox m_majorColour;
  CLineComboBox m_minor;
  CColorComboBox m_minorColour;
  HWND m_header = nullptr;
  HWND m_list = nullptr;
  HWND m_buttons[2] = {};
  // The user gridlines as the page shows them, until it is stored.
  GridPageValues m_values = {};
};

#endif
