#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_EDITOR_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_EDITOR_H

// The chart editor (CChartDlg2, "Container"): the modeless editor of one
// container and the charts inside it. It edits a working copy of the
// container, never the worksheet's own: in container mode the container's
// pages are shown, in chart mode one chart of the copy is selected with its
// series list above the chart's pages. Apply checks the shown page and the
// series references and hands the whole copy to the document window, which
// makes it one undo step. The copy stays until the next opening, so a window
// closed without Apply drops its edits then.
//
// The files split it by concern: the window, its toolbars, tabs and pages
// (chart_editor.cpp), the chart menu, moving charts, Apply and Help
// (chart_editor_charts.cpp), and the series list (chart_editor_series.cpp).
// What it decides is plain code beside it. Windows only.

#include <cstdint>

#include <windows.h>

#include "core/model/container_record.h"
#include "dialogs/chart_editor/chart_editor_owner.h"
#include "dialogs/chart_editor/chart_editor_page.h"
#include "dialogs/chart_editor/chart_axes_page.h"
#include "dialogs/chart_editor/chart_data_page.h"
#include "dialogs/chart_editor/chart_grid_page.h"
#include "dialogs/chart_editor/chart_legend_page.h"
#include "dialogs/chart_editor/chart_options_page.h"
#include "dialogs/chart_editor/chart_style_page.h"
#include "dialogs/chart_editor/chart_view_page.h"
#include "dialogs/chart_editor/chart_walls_page.h"
#include "dialogs/chart_editor/container_pages.h"
#include "platform/ui/dialog_impl.h"

// Where the editor stood when it was last closed, for every document's
// editor; zero (centred on its owner) until then. Not kept between runs.
extern RECT EditorPlacement;

// Gives a toolbar the pictures of the editor's buttons (and their greyed
// twins): 0 move down, 1 move up, 2 Apply, 3 Help, 4 use the selection,
// 5 add, 6 delete.
void SetToolBarImages(HWND toolbar);
// The height of a row of the editor's lists: the default GUI font's line
// and 3 pixels.
UINT MeasureListItemHeight(HWND window);
// A control's rectangle in its dialog's client coordinates.
RECT ChildRect(HWND dialog, int id);

class CChartDlg2 : public CDialogImpl {
 public:
  // The chart pages and the container pages, in the order of their tabs.
  static constexpr int kChartPages = 8;
  static constexpr int kContainerPages = 3;

  explicit CChartDlg2(ChartEditorOwner* owner);
  ~CChartDlg2() override;

  // Opens the editor on a copy of the container (null: an empty one), on the
  // chart it last edited; an editor window already open goes first. False
  // when the copy or the window cannot be made.
  bool OpenForContainer(HWND parent, ContainerRecord* container);
  // After the container was moved or resized on the sheet: an open editor
  // of it takes its anchor and rectangle.
  void UpdatePlacement(const ContainerRecord& container);
  // The active view's selection becomes the selected series' formula.
  void UseSelectionAsSeries();
  // The same for a new chart: without a selected series a data series is
  // added first to take the selection.
  void UseSelectionAsFirstSeries();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  const ContainerRecord& WorkingCopy() const { return m_copy; }
  int32_t SelectedChart() const { return m_selectedChart; }
  int32_t SelectedSeries() const { return m_selectedSeries; }
  HWND SeriesList() const { return m_seriesList; }
  HWND Tabs() const { return m_tabs; }
  HWND MainToolBar() const { return m_toolbar; }
  // The page shown, or null.
  CChartEditorPage* ShownPage() const { return m_page; }

 private:
  LRESULT OnInitDialog();
  LRESULT OnCommand(WORD id, WORD code, HWND control);
  LRESULT OnNotify(NMHDR& header);
  void OnDestroy();
  void CreateToolbars();
  void CreateSeriesControls();
  void PlaceWindow();

  // Tabs and pages.
  void SelectChart(int32_t slot);
  void InsertTabs(bool chartMode);
  void CreatePage();
  void OnTabChange();
  // Loads the shown page (save false), or checks and stores it; false when
  // the page refused.
  bool ApplyPage(bool save);
  CChartEditorPage* PageOfTab(int tab) const;

  // The chart menu, moving charts, Apply and Help.
  void OnChartMenu();
  void RunChartCommand(UINT command);
  void MoveChart(bool towardsFirst);
  void OnApply();
  void OnHelp();
  void SetSelectorText(const char* text);

  // The series list.
  ChartRecord* SelectedChartRecord();
  void FillSeriesControls(ChartRecord* chart);
  void EnableSeriesControls(bool enable);
  void CompileSeriesFormula(bool save);
  void DrawSeriesRow(const DRAWITEMSTRUCT& item);
  void AddSeries();
  void DeleteSeries();
  void OnSeriesSelChange();
  void OnTypeCloseUp();
  void SetControlText(int id, const char* text);

  ContainerRecord m_copy;
  int32_t m_selectedChart = -1;
  int32_t m_selectedSeries = -1;
  CChartEditorPage* m_page = nullptr;
  ChartEditorOwner* m_owner;
  HWND m_rebar = nullptr;
  HWND m_toolbar = nullptr;
  HWND m_header = nullptr;
  HWND m_seriesList = nullptr;
  HWND m_tabs = nullptr;
  HWND m_seriesBars[3] = {};
  // Set while the editor fills its own controls, whose changes then store
  // nothing.
  bool m_filling = false;

  // The pages; a null page is not built yet and its tab is not shown.
  CChartDataDlg m_dataPage;
  CChartViewDlg m_viewPage;
  CChartStyleDlg m_stylePage;
  CChartAxesDlg m_axesPage;
  CChartGridDlg m_gridPage;
  CChartWallsDlg m_wallsPage;
  CChartLegendDlg m_legendPage;
  CChartOptionsDlg m_optionsPage;
  CCntWindowDlg m_containerSizePage;
  CCntBkgDlg m_containerWindowPage;
  CCntTitlesDlg m_containerTitlesPage;
  CChartEditorPage* m_chartPages[kChartPages] = {};
  CChartEditorPage* m_containerPages[kContainerPages] = {};
};

#endif
