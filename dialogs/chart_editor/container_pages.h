#ifndef TALVERO_DIALOGS_CHART_EDITOR_CONTAINER_PAGES_H
#define TALVERO_DIALOGS_CHART_EDITOR_CONTAINER_PAGES_H

// The chart editor's pages of the container itself, shown in container
// mode: "Contents/Size" (CCntWindowDlg: the grid, the spacing and the
// size), "Window" (CCntBkgDlg: the border and the background, with the
// fractal dialog) and "Titles" (CCntTitlesDlg). Each moves the working
// copy's fields between the record and its controls. Windows only.

#include "dialogs/chart_editor/chart_editor_page.h"
#include "dialogs/chart_editor/container_page_fields.h"
#include "dialogs/chart_editor/fractal_dialog.h"
#include "dialogs/controls/owner_drawn_combos.h"
#include "dialogs/controls/parsed_edit.h"

class CCntWindowDlg : public CChartEditorPage {
 public:
  CCntWindowDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

 private:
  LRESULT OnInitDialog();

  CParsedEdit m_edits[kContainerGridFields] = {
      {kParsedInteger, kContainerGridRanges[0].minimum, kContainerGridRanges[0].maximum},
      {kParsedInteger, kContainerGridRanges[1].minimum, kContainerGridRanges[1].maximum},
      {kParsedInteger, kContainerGridRanges[2].minimum, kContainerGridRanges[2].maximum},
      {kParsedInteger, kContainerGridRanges[3].minimum, kContainerGridRanges[3].maximum},
      {kParsedInteger, kContainerGridRanges[4].minimum, kContainerGridRanges[4].maximum},
      {kParsedInteger, kContainerGridRanges[5].minimum, kContainerGridRanges[5].maximum},
  };
};

class CCntBkgDlg : public CChartEditorPage {
 public:
  CCntBkgDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;
  void OnBrowse();

  // The page's copy of the fractal settings, run by "Options...".
  CFractalDlg m_fractal;

 private:
  LRESULT OnInitDialog();

  CLineComboBox m_borderLine;
  CColorComboBox m_borderColor;
  CPatternComboBox m_pattern;
  CColorComboBox m_patternColor;
  CColorComboBox m_backgroundColor;
};

class CCntTitlesDlg : public CChartEditorPage {
 public:
  CCntTitlesDlg();
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

  // The page's copies of the two fonts.
  ColorFontRecord m_titleFont = {};
  ColorFontRecord m_subtitleFont = {};

 private:
  LRESULT OnInitDialog();
};

#endif
