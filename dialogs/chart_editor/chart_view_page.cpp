#include "dialogs/chart_editor/chart_view_page.h"

#include "charts/gallery/gallery_tile.h"
#include "charts/gallery/sample_charts.h"
#include "core/model/chart_record.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "view/draw_context/draw_context.h"
#include "view/painting/draw_context_surface.h"

namespace {

constexpr int kListInset = 2;

}  // namespace

CChartViewDlg::CChartViewDlg() : CChartEditorPage(IDD_CHART_VIEW_PAGE) {}

LRESULT CChartViewDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_MEASUREITEM: {
      MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item->CtlID != IDC_GALLERY_LIST)
        break;
      item->itemHeight = static_cast<UINT>(m_tileSize);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (wp != IDC_GALLERY_LIST)
        break;
      DrawGalleryTile(*item);
      return TRUE;
    }
    case WM_DESTROY:
      m_list = nullptr;
      handled = false;
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CChartViewDlg::OnInitDialog() {
  RECT frame = {};
  ::GetWindowRect(GetDlgItem(IDC_GALLERY_FRAME), &frame);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
  ::InflateRect(&frame, -kListInset, -kListInset);
  // Square tiles fill the list's height above its scroll bar; the border
  // takes its edge on either side.
  const int edge = ::GetSystemMetrics(SM_CYEDGE);
  m_tileSize = frame.bottom - frame.top - 2 * edge - ::GetSystemMetrics(SM_CYHSCROLL);
  if (m_tileSize < 1)
    m_tileSize = 1;
  m_list = CreateControl("LISTBOX", m_hWnd, IDC_GALLERY_LIST,
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | LBS_MULTICOLUMN | LBS_OWNERDRAWFIXED |
                             LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                         WS_EX_CLIENTEDGE, &frame);
  if (m_list != nullptr) {
    ::SendMessageA(m_list, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::SendMessageA(m_list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(m_tileSize), 0);
    ::SendMessageA(m_list, LB_SETITEMHEIGHT, 0, m_tileSize);
  }
  return TRUE;
}

void CChartViewDlg::Refill(uint8_t kind) {
  m_kind = kind;
  if (m_list == nullptr)
    return;
  ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
  for (int tile = 0; tile < GalleryTileCount(kind); ++tile) ::SendMessageA(m_list, LB_ADDSTRING, 0, tile);
}

bool CChartViewDlg::ExchangeData(bool save, const ChartPageTarget& target) {
  ChartRecord* chart = target.chart;
  const bool dataSeries = chart != nullptr && target.series >= 0 && target.series < chart->UsedSeriesCount() &&
                          chart->series[target.series].role == kSeriesData;
  if (save) {
    if (!dataSeries)
      return true;
    SeriesRecord& series = chart->series[target.series];
    int tile = m_list != nullptr ? static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0)) : -1;
    if (chart->Kind() == kChartXY || tile < 0)
      tile = 0;
    GalleryViewType view = {};
    if (GalleryTileViewType(chart->Kind(), tile, &view)) {
      series.viewType = view.viewType;
      series.stacked = view.stacked;
      series.relative = view.relative;
    }
    return true;
  }
  if (m_list == nullptr)
    return true;
  ::EnableWindow(m_list, FALSE);
  Refill(chart != nullptr ? chart->Kind() : static_cast<uint8_t>(kChart2D));
  if (dataSeries) {
    const SeriesRecord& series = chart->series[target.series];
    ::EnableWindow(m_list, TRUE);
    const int tile = GalleryTileOfViewType(chart->Kind(), {series.viewType, series.stacked, series.relative});
    ::SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(tile), 0);
  }
  return true;
}

void CChartViewDlg::DrawGalleryTile(const DRAWITEMSTRUCT& item) {
  if (static_cast<int>(item.itemID) < 0)
    return;
  const int colour = (item.itemState & ODS_DISABLED) ? COLOR_BTNFACE
                     : (item.itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT
                                                        : COLOR_WINDOW;
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(colour));
  DrawContext context;
  context.AttachDC(item.hDC);
  DrawContextSurface surface(&context);
  const RECT& r = item.rcItem;
  PaintGallerySample(surface.Surface(), m_kind, static_cast<int>(item.itemID),
                     PixelRect{r.left, r.top, r.right - 1, r.bottom - 1});
}
