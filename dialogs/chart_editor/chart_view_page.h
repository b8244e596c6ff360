#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_VIEW_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_VIEW_PAGE_H

// The chart editor's "View" page (CChartViewDlg): the view types of the
// chart's kind as a row of square tiles, each a sample chart drawn by the
// chart engine (the gallery), the tile of the selected data series chosen.
// Windows only.

#include <cstdint>

#include "dialogs/chart_editor/chart_editor_page.h"

class CChartViewDlg : public CChartEditorPage {
 public:
  CChartViewDlg();

  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
  // Load: the tiles of the chart's kind, enabled with the series' tile
  // chosen for a data series, disabled for any other. Save (data series
  // only): the chosen tile's view type, tile 0's without a choice, and
  // always scatter in an XY chart.
  bool ExchangeData(bool save, const ChartPageTarget& target) override;

  // The owner-drawn tile: its background by its state and the sample chart
  // of the tile inside it.
  void DrawGalleryTile(const DRAWITEMSTRUCT& item);

  HWND TileList() const { return m_list; }

 private:
  LRESULT OnInitDialog();
  void Refill(uint8_t kind);

  HWND m_list = nullptr;
  int m_tileSize = 0;
  uint8_t m_kind = 1;  // the chart kind of the last load
};

#endif
