#include "dialogs/chart_editor/chart_editor.h"

#include <commctrl.h>

#include "charts/png/png_image_list.h"
#include "core/model/chart_record.h"
#include "dialogs/chart_editor/chart_slots.h"
#include "dialogs/chart_editor/editor_texts.h"
#include "dialogs/controls/dialog_opening.h"
#include "dialogs/worksheet_format/view_format_choices.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

RECT EditorPlacement = {};

namespace {

constexpr UINT kReBarId = 60160;
constexpr UINT kToolBarId = 60161;
constexpr UINT kSeriesBarFirstId = 60162;
constexpr int kImageSize = 16;
constexpr int kButtonWidth = 23;
constexpr int kButtonExtraHeight = 7;
constexpr int kSeriesBarSize = 25;

// The tooltips of the buttons that show only their pictures.
struct ButtonTip {
  UINT command;
  const char* text;
};
const ButtonTip kButtonTips[] = {
    {ID_CHART_MOVE_DOWN, "Move chart down, below other charts in the container"},
    {ID_CHART_MOVE_UP, "Move chart up, above other charts in the container"},
    {ID_SERIES_USE_SELECTION, "Use the current selection as the data series source"},
    {ID_SERIES_ADD, "Add a new series of the specified type:\n\"Data\", \"Categories\", \"Error Bars\""},
    {ID_SERIES_DELETE, "Delete the selected series"},
};

const char* const kChartTabTexts[CChartDlg2::kChartPages] = {
    "Data", "View", "Style", "Axes", "Grid", "Walls/Size", "Titles/Legend", "3D Options"};
const char* const kContainerTabTexts[CChartDlg2::kContainerPages] = {"Contents/Size", "Window", "Titles"};

// The pictures of the editor's buttons, in the order of their image
// numbers, made once for every editor of the process.
HIMAGELIST EditorImageList(bool greyed) {
  static const int kImages[] = {IDP_SMALL_MOVE_DOWN, IDP_SMALL_MOVE_UP,       IDP_SMALL_OK,    IDP_SMALL_HELP,
                                IDP_SMALL_USE_SELECTION, IDP_SMALL_ADD, IDP_SMALL_DELETE};
  static HIMAGELIST lists[2] = {};
  static bool tried[2] = {};
  const int g = greyed ? 1 : 0;
  if (!tried[g]) {
    tried[g] = true;
    lists[g] = LoadPngImageList(kImageSize, static_cast<int>(sizeof kImages / sizeof kImages[0]), kImages,
                                GetSysColor(COLOR_BTNFACE), greyed);
  }
  return lists[g];
}

}  // namespace

void SetToolBarImages(HWND toolbar) {
  if (HIMAGELIST normal = EditorImageList(false))
    ::SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
  if (HIMAGELIST greyed = EditorImageList(true))
    ::SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(greyed));
}

// A series row: the default GUI font's line and 3 pixels.
UINT MeasureListItemHeight(HWND window) {
  const TEXTMETRICA metrics = StockFontMetrics(window, DEFAULT_GUI_FONT);
  return static_cast<UINT>(metrics.tmHeight + metrics.tmExternalLeading + 3);
}

RECT ChildRect(HWND dialog, int id) {
  RECT r = {};
  ::GetWindowRect(::GetDlgItem(dialog, id), &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}


CChartDlg2::CChartDlg2(ChartEditorOwner* owner) : CDialogImpl(IDD_CHART_EDITOR), m_owner(owner) {
  m_copy.Init();
  m_copy.selectedItem = -1;
  m_chartPages[0] = &m_dataPage;
  m_chartPages[1] = &m_viewPage;
  m_chartPages[2] = &m_stylePage;
  m_chartPages[3] = &m_axesPage;
  m_chartPages[4] = &m_gridPage;
  m_chartPages[5] = &m_wallsPage;
  m_chartPages[6] = &m_legendPage;
  m_chartPages[7] = &m_optionsPage;
  m_containerPages[0] = &m_containerSizePage;
  m_containerPages[1] = &m_containerWindowPage;
  m_containerPages[2] = &m_containerTitlesPage;
}

CChartDlg2::~CChartDlg2() {
  if (m_hWnd != nullptr)
    ::DestroyWindow(m_hWnd);
  m_copy.Clear();
}

bool CChartDlg2::OpenForContainer(HWND parent, ContainerRecord* container) {
  if (m_hWnd != nullptr)
    ::DestroyWindow(m_hWnd);
  m_selectedChart = -1;
  m_selectedSeries = -1;
  m_page = nullptr;
  m_copy.Clear();
  m_copy.Init();
  if (container != nullptr) {
    if (!m_copy.CopyFrom(*container)) {
      ShowError(m_copy.error);
      m_copy.Init();
      return false;
    }
    m_selectedChart = RestoredChartSlot(m_copy);
    m_copy.selectedItem = m_selectedChart;
  }
  if (Create(parent) == nullptr)
    return false;
  if (container != nullptr) {
    char caption[kEditorTitleCapacity] = {};
    char title[kEditorTitleCapacity];
    ::GetWindowTextA(m_hWnd, caption, sizeof caption);
    FormatEditorTitle(caption, m_copy.header.id, title);
    ::SetWindowTextA(m_hWnd, title);
  }
  ShowWindow(SW_SHOW);
  return true;
}

void CChartDlg2::UpdatePlacement(const ContainerRecord& container) {
  if (m_hWnd == nullptr || m_copy.header.id != container.header.id)
    return;
  const bool firstContainerTab =
      m_selectedChart < 0 && m_tabs != nullptr && m_page != nullptr && ::SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0) == 0;
  if (firstContainerTab)
    ApplyPage(true);
  m_copy.header.anchor = container.header.anchor;
  m_copy.header.rect = container.header.rect;
  if (firstContainerTab)
    ApplyPage(false);
}

LRESULT CChartDlg2::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_DRAWITEM:
      if (wp != IDC_SERIES_LIST)
        break;
      DrawSeriesRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_MEASUREITEM: {
      MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item->CtlID != IDC_SERIES_LIST)
        break;
      item->itemHeight = MeasureListItemHeight(m_hWnd);
      return TRUE;
    }
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
      if (wp != IDC_SERIES_LIST)
        break;
      return 0;
    case WM_DESTROY:
      OnDestroy();
      handled = false;
      return 0;
  }
  handled = false;
  return 0;
}

LRESULT CChartDlg2::OnInitDialog() {
  CreateToolbars();
  CreateSeriesControls();
  m_tabs = GetDlgItem(IDC_EDITOR_TABS);
  SelectChart(m_selectedChart);
  PlaceWindow();
  SetWindowTransparency(m_hWnd, Options.Opacity);
  return TRUE;
}

void CChartDlg2::OnDestroy() {
  ::GetWindowRect(m_hWnd, &EditorPlacement);
  m_selectedChart = -1;
  m_selectedSeries = -1;
  m_page = nullptr;
  m_rebar = m_toolbar = m_header = m_seriesList = m_tabs = nullptr;
  for (HWND& bar : m_seriesBars) bar = nullptr;
}

void CChartDlg2::PlaceWindow() {
  RECT work = {};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const RECT& p = EditorPlacement;
  if (ToolWindowPositionFits(UiRect{p.left, p.top, p.right, p.bottom},
                             UiRect{work.left, work.top, work.right, work.bottom}))
    ::MoveWindow(m_hWnd, p.left, p.top, p.right - p.left, p.bottom - p.top, FALSE);
  else
    CenterWindow();
}

void CChartDlg2::CreateToolbars() {
  const int fontHeight = StockFontMetrics(m_hWnd, DEFAULT_GUI_FONT).tmHeight;
  const int bitmapHeight = fontHeight > kImageSize ? fontHeight : kImageSize;
  m_toolbar = CreateToolBar(m_hWnd, kToolBarId, TBSTYLE_LIST);
  if (m_toolbar != nullptr) {
    ::SendMessageA(m_toolbar, TB_SETEXTENDEDSTYLE, 0,
                   TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    SetToolBarImages(m_toolbar);
    ::SendMessageA(m_toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, bitmapHeight));
    ::SendMessageA(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kButtonWidth, bitmapHeight + kButtonExtraHeight));
    constexpr BYTE kTextButton = BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE;
    const ToolBarButton buttons[] = {
        {I_IMAGENONE, ID_CHART_SELECTOR, BTNS_WHOLEDROPDOWN | BTNS_SHOWTEXT | BTNS_AUTOSIZE, kContainerWindowText, 0},
        {0, ID_CHART_MOVE_DOWN, BTNS_BUTTON | BTNS_AUTOSIZE, nullptr, 0},
        {1, ID_CHART_MOVE_UP, BTNS_BUTTON | BTNS_AUTOSIZE, nullptr, 0},
        {0, 0, BTNS_SEP, nullptr, 8},
        {2, ID_CHART_APPLY, kTextButton, "Apply", 0},
        {0, 0, BTNS_SEP, nullptr, 0},
        {3, ID_HELP, kTextButton, "Help", 0},
    };
    ToolBarAddButtons(m_toolbar, buttons, static_cast<int>(sizeof buttons / sizeof buttons[0]));
    m_rebar = CreateReBar(m_hWnd, kReBarId);
    if (m_rebar != nullptr)
      ReBarAddBand(m_rebar, m_toolbar, kToolBarId, false, ::SendMessageA(m_toolbar, TB_BUTTONCOUNT, 0, 0) > 0);
  }
  struct SeriesButton {
    UINT command;
    int image;
    int yUnits;
  };
  const SeriesButton seriesButtons[3] = {
      {ID_SERIES_USE_SELECTION, 4, 28},
      {ID_SERIES_ADD, 5, 54},
      {ID_SERIES_DELETE, 6, 72},
  };
  for (int i = 0; i < 3; ++i) {
    const SeriesButton& b = seriesButtons[i];
    HWND bar = CreateToolBar(m_hWnd, kSeriesBarFirstId + static_cast<UINT>(i));
    m_seriesBars[i] = bar;
    if (bar == nullptr)
      continue;
    SetToolBarImages(bar);
    const ToolBarButton button = {b.image, b.command, BTNS_BUTTON, nullptr, 0};
    ToolBarAddButtons(bar, &button, 1);
    if (HWND tips = reinterpret_cast<HWND>(::SendMessageA(bar, TB_GETTOOLTIPS, 0, 0)))
      ::SendMessageA(tips, TTM_SETMAXTIPWIDTH, 0, 400);
    RECT units = {269, b.yUnits, 0, 0};
    MapDialogRect(m_hWnd, &units);
    ::SetWindowPos(bar, nullptr, units.left, units.top, kSeriesBarSize, kSeriesBarSize,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CChartDlg2::CreateSeriesControls() {
  ::SendMessageA(GetDlgItem(IDC_SERIES_NAME_EDIT), EM_LIMITTEXT, kSeriesTextSize - 1, 0);
  ::SendMessageA(GetDlgItem(IDC_SERIES_FORMULA_EDIT), EM_LIMITTEXT, kSeriesFormulaSize - 1, 0);
  const RECT frame = ChildRect(m_hWnd, IDC_SERIES_FRAME);
  const HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
  const RECT headerRect = {frame.left + 2, frame.top + 2, frame.right - 2,
                           frame.top + 2 + ::GetSystemMetrics(SM_CYMENU)};
  m_header = CreateControl(WC_HEADERA, m_hWnd, IDC_SERIES_HEADER, WS_CHILD | WS_VISIBLE | HDS_HORZ, 0, &headerRect);
  if (m_header != nullptr) {
    ::SendMessageA(m_header, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const RECT combo = ChildRect(m_hWnd, IDC_SERIES_TYPE_COMBO);
    const RECT name = ChildRect(m_hWnd, IDC_SERIES_NAME_EDIT);
    const RECT formula = ChildRect(m_hWnd, IDC_SERIES_FORMULA_EDIT);
    int32_t widths[3];
    SeriesColumnWidths({combo.left, combo.right, name.left, name.right, formula.left, formula.right}, widths);
    const char* const texts[3] = {"Series Type", "Name", "Array Formula"};
    for (int i = 0; i < 3; ++i) {
      HDITEMA item = {};
      item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
      item.fmt = HDF_LEFT | HDF_STRING;
      item.cxy = widths[i];
      item.pszText = const_cast<char*>(texts[i]);
      ::SendMessageA(m_header, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  const RECT listRect = {headerRect.left, headerRect.bottom, headerRect.right, frame.bottom - 2};
  m_seriesList = CreateControl("LISTBOX", m_hWnd, IDC_SERIES_LIST,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED |
                                   LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                               WS_EX_CLIENTEDGE, &listRect);
  if (m_seriesList != nullptr)
    ::SendMessageA(m_seriesList, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Tabs and pages.

void CChartDlg2::SelectChart(int32_t slot) {
  m_selectedChart = slot;
  m_selectedSeries = -1;
  if (m_page != nullptr && m_page->m_hWnd != nullptr)
    ::DestroyWindow(m_page->m_hWnd);
  m_page = nullptr;
  m_filling = true;
  if (m_tabs != nullptr)
    ::SendMessageA(m_tabs, TCM_DELETEALLITEMS, 0, 0);
  ::SendMessageA(GetDlgItem(IDC_SERIES_TYPE_COMBO), CB_RESETCONTENT, 0, 0);
  SetControlText(IDC_SERIES_NAME_EDIT, "");
  SetControlText(IDC_SERIES_FORMULA_EDIT, "");
  if (m_seriesList != nullptr)
    ::SendMessageA(m_seriesList, LB_RESETCONTENT, 0, 0);
  m_filling = false;

  if (slot >= 0) {
    char text[64];
    FormatChartSlotText(m_copy, slot, text, sizeof text);
    SetSelectorText(text);
    ChartRecord* chart = ChartOfSlot(m_copy, slot);
    EnableSeriesControls(chart != nullptr);
    if (chart == nullptr)
      return;
    FillSeriesControls(chart);
    InsertTabs(true);
  } else {
    SetSelectorText(kContainerWindowText);
    EnableSeriesControls(false);
    InsertTabs(false);
  }
  if (m_tabs != nullptr && ::SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0) > 0) {
    ::SendMessageA(m_tabs, TCM_SETCURSEL, 0, 0);
    CreatePage();
  }
}

void CChartDlg2::InsertTabs(bool chartMode) {
  if (m_tabs == nullptr)
    return;
  const int count = chartMode ? kChartPages : kContainerPages;
  int tab = 0;
  for (int i = 0; i < count; ++i) {
    if ((chartMode ? m_chartPages[i] : m_containerPages[i]) == nullptr)
      continue;
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(chartMode ? kChartTabTexts[i] : kContainerTabTexts[i]);
    item.lParam = i;
    ::SendMessageA(m_tabs, TCM_INSERTITEMA, static_cast<WPARAM>(tab++), reinterpret_cast<LPARAM>(&item));
  }
}

CChartEditorPage* CChartDlg2::PageOfTab(int tab) const {
  if (m_tabs == nullptr || tab < 0)
    return nullptr;
  TCITEMA item = {};
  item.mask = TCIF_PARAM;
  if (!::SendMessageA(m_tabs, TCM_GETITEMA, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item)))
    return nullptr;
  const int index = static_cast<int>(item.lParam);
  if (m_selectedChart >= 0)
    return index >= 0 && index < kChartPages ? m_chartPages[index] : nullptr;
  return index >= 0 && index < kContainerPages ? m_containerPages[index] : nullptr;
}

void CChartDlg2::CreatePage() {
  if (m_page != nullptr && m_page->m_hWnd != nullptr)
    ::DestroyWindow(m_page->m_hWnd);
  m_page = PageOfTab(static_cast<int>(::SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
  if (m_page == nullptr)
    return;
  if (CreateTabPage(*m_page, m_tabs) == nullptr) {
    m_page = nullptr;
    return;
  }
  m_page->ShowWindow(SW_SHOW);
  ApplyPage(false);
}

void CChartDlg2::OnTabChange() { CreatePage(); }

bool CChartDlg2::ApplyPage(bool save) {
  if (m_page == nullptr || m_page->m_hWnd == nullptr)
    return true;
  ChartRecord* chart = SelectedChartRecord();
  return m_page->ExchangeData(save, ChartPageTarget{&m_copy, chart, chart != nullptr ? m_selectedSeries : -1});
}

LRESULT CChartDlg2::OnCommand(WORD id, WORD code, HWND control) {
  switch (id) {
    case IDCANCEL:
      ::DestroyWindow(m_hWnd);
      return 0;
    case ID_CHART_SELECTOR:
      OnChartMenu();
      return 0;
    case ID_CHART_MOVE_UP:
    case ID_CHART_MOVE_DOWN:
      MoveChart(id == ID_CHART_MOVE_UP);
      return 0;
    case ID_CHART_APPLY:
      OnApply();
      return 0;
    case ID_HELP:
      OnHelp();
      return 0;
    case ID_SERIES_USE_SELECTION:
      UseSelectionAsSeries();
      return 0;
    case ID_SERIES_ADD:
      AddSeries();
      return 0;
    case ID_SERIES_DELETE:
      DeleteSeries();
      return 0;
    case IDC_SERIES_TYPE_COMBO:
      if (code == CBN_CLOSEUP)
        OnTypeCloseUp();
      return 0;
    case IDC_SERIES_NAME_EDIT:
    case IDC_SERIES_FORMULA_EDIT:
      // Only the user's typing stores the row: the editor's own filling of
      // the edit changes it too.
      if (code == EN_CHANGE && !m_filling && ::GetFocus() == control && SelectedChartRecord() != nullptr)
        CompileSeriesFormula(true);
      return 0;
    case IDC_SERIES_LIST:
      if (code == LBN_SELCHANGE)
        OnSeriesSelChange();
      return 0;
  }
  return 0;
}

LRESULT CChartDlg2::OnNotify(NMHDR& header) {
  if (header.hwndFrom == m_toolbar && header.code == TBN_DROPDOWN) {
    if (reinterpret_cast<const NMTOOLBARA&>(header).iItem == ID_CHART_SELECTOR)
      OnChartMenu();
    return TBDDRET_DEFAULT;
  }
  if (header.hwndFrom == m_tabs && header.code == TCN_SELCHANGING)
    return ApplyPage(true) ? FALSE : TRUE;
  if (header.hwndFrom == m_tabs && header.code == TCN_SELCHANGE) {
    OnTabChange();
    return 0;
  }
  if (header.code == TTN_GETDISPINFOA) {
    NMTTDISPINFOA& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    for (const ButtonTip& tip : kButtonTips)
      if (tip.command == header.idFrom)
        info.lpszText = const_cast<char*>(tip.text);
    return 0;
  }
  if (header.hwndFrom == m_header && (header.code == HDN_ENDTRACKA || header.code == HDN_ENDTRACKW)) {
    ::InvalidateRect(m_seriesList, nullptr, TRUE);
    return 0;
  }
  return 0;
}
