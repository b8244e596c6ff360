// Creation of the frame and the layout of its bars.

#include <richedit.h>

#include "app/clipboard/clipboard_ring.h"
#include "app/frame/activity_clock.h"
#include "app/frame/frame_image_lists.h"
#include "app/frame/frame_layout.h"
#include "app/frame/main_frame.h"
#include "app/frame/unbuilt_commands.h"
#include "services/settings/global_options.h"
#include "platform/ui/common_controls.h"
#include "resources/resource_ids.h"
#include "view/draw_context/default_font.h"

namespace {

constexpr int kWindowMenuPosition = 6;
constexpr int kPlaceholderWidth = 50;
constexpr int kGapWidth = 8;
constexpr int kFindBoxWidth = 181;
constexpr int kComboListHeight = 160;
constexpr int kSpaceBeforeFormula = 40;  // twips above the formula bar's paragraph
constexpr int kBandHeaderWidth = 8;

constexpr DWORD kToolBarExStyle = TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS | TBSTYLE_EX_HIDECLIPPEDBUTTONS;
constexpr BYTE kTextButton = BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE;

void SetToolBarImages(HWND toolbar, FrameImagePair pair) {
  if (HIMAGELIST normal = FrameImageList(pair, false))
    ::SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
  if (HIMAGELIST greyed = FrameImageList(pair, true))
    ::SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(greyed));
}

HWND CreateFrameToolBar(HWND parent, UINT id, DWORD style) {
  HWND toolbar = CreateToolBar(parent, id, style);
  if (toolbar != nullptr) ::SendMessageA(toolbar, TB_SETEXTENDEDSTYLE, 0, kToolBarExStyle);
  return toolbar;
}

// The rectangle of the toolbar item at `index`, in the toolbar's coordinates.
RECT ItemRect(HWND toolbar, int index) {
  RECT r{};
  ::SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

int IndexOfCommand(HWND toolbar, UINT command) {
  return static_cast<int>(::SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0));
}

void SetButtonWidth(HWND toolbar, UINT command, int width) {
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_SIZE;
  info.cx = static_cast<WORD>(width);
  ::SendMessageA(toolbar, TB_SETBUTTONINFOA, command, reinterpret_cast<LPARAM>(&info));
}

int TextWidth(HWND window, HFONT font, const char* text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cx;
}

int FontHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

// A combo box standing over a separator of a toolbar; an editable one opens
// its list with the down-arrow key.
HWND CreateComboOverItem(HWND toolbar, int index, const char* className, UINT id, DWORD style, int narrower,
                         HFONT font) {
  RECT r = ItemRect(toolbar, index);
  r.right -= narrower;
  r.bottom = r.top + kComboListHeight;
  HWND combo = CreateControl(className, toolbar, id, WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, 0, &r);
  if (combo != nullptr) {
    ::SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if ((style & CBS_DROPDOWNLIST) == CBS_DROPDOWN) ::SendMessageA(combo, CB_SETEXTENDEDUI, TRUE, 0);
  }
  return combo;
}

}  // namespace

LRESULT CMainFrame::OnCreate() {
  // The menu is drawn by the command bar, not by the window (which would
  // destroy it with itself).
  SetMenu(nullptr);
  if (m_commandBar.Create(m_hWnd, m_hWnd) == nullptr) return -1;
  if (m_menu != nullptr) {
    m_commandBar.AttachMenu(m_menu);
    m_commandBar.LoadImages(IDR_TOOLBAR_MAIN);
  }
  if (!CreateMainToolBar() || !CreateSecondaryToolBar() || !CreateNameBoxAndFormulaBar() ||
      !CreatePreviewToolBar() || !CreateFindToolBar() || !CreateReBar() || !CreateStatusBar())
    return -1;
  HMENU windowMenu = m_menu != nullptr ? GetSubMenu(m_menu, kWindowMenuPosition) : nullptr;
  if (CreateMDIClient(windowMenu) == nullptr) return -1;
  m_commandBar.SetMDIClient(m_hWndClient);

  UIAddToolBar(m_mainToolBar);
  UIAddToolBar(m_secondaryToolBar);
  UIAddToolBar(m_findToolBar);
  UIAddToolBar(m_previewToolBar);
  for (UINT command = 1; command < 0x10000; ++command) {
    if (IsCommandUnbuilt(command)) UIKeepDisabled(command);
  }
  // The preview bar's commands wait for a preview.
  EnablePreviewCommands(false);
  UISetCheck(ID_VIEW_COMPOSER, Options.ComposerVisible ? 1 : 0);
  SetDefaultFaceName(Options.DefaultFont.faceName);
  FillBookmarkList();

  if (CMessageLoop* loop = CMessageLoop::Current()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
    m_loopRegistered = true;
  }
  m_recentDocuments.SetMaxEntries(RecentDocumentList::kMaxEntries);
  if (const ProfileLists* lists = Options.Lists) {
    // Oldest first, so that the newest ends first.
    for (int i = lists->recentFileCount < kRecentFileCount ? lists->recentFileCount : kRecentFileCount; i-- > 0;)
      m_recentDocuments.Add(lists->recentFiles[i]);
  }
  ClipboardRing().SetLevels(Options.CopyLevel);
  // A frame that starts without a document must not offer the document
  // commands: the first idle call looks.
  m_refreshPending = 1;
  m_clocks.autoSave = m_clocks.autoClose = ActivityClockNow();
  SetTimer(m_hWnd, kTimerId, kTimerPeriod, nullptr);
  return 0;
}

bool CMainFrame::CreateMainToolBar() {
  m_mainToolBar = CreateFrameToolBar(m_hWnd, IDR_TOOLBAR_MAIN, 0);
  if (m_mainToolBar == nullptr) return false;
  SetToolBarImages(m_mainToolBar, kMainToolBarImages);
  ::SendMessageA(m_mainToolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(24, 24));
  ::SendMessageA(m_mainToolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(31, 31));
  const ToolBarButton buttons[] = {
      {0, ID_FILE_NEW, BTNS_BUTTON, nullptr, 0},
      {1, ID_FILE_OPEN, BTNS_BUTTON, nullptr, 0},
      {2, ID_FILE_SAVE, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {3, ID_NEW_WORKSHEET, BTNS_BUTTON, nullptr, 0},
      {4, ID_NEW_FOLDER, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {5, ID_EDIT_CUT, BTNS_BUTTON, nullptr, 0},
      {6, ID_EDIT_COPY, BTNS_BUTTON, nullptr, 0},
      {7, ID_EDIT_PASTE, BTNS_DROPDOWN, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {8, ID_FILE_PRINT_PREVIEW, BTNS_BUTTON, nullptr, 0},
      {9, ID_FILE_PRINT, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {10, ID_EDIT_UNDO, BTNS_BUTTON, nullptr, 0},
      {11, ID_EDIT_REDO, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {12, ID_EDIT_FIND, BTNS_BUTTON, nullptr, 0},
      {13, ID_SORT_ASCENDING, BTNS_BUTTON, nullptr, 0},
      {14, ID_SORT_DESCENDING, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {15, ID_INSERT_DATE_MENU, BTNS_WHOLEDROPDOWN, nullptr, 0},
      {16, ID_INSERT_FORMULA, BTNS_WHOLEDROPDOWN, nullptr, 0},
      {17, ID_VIEW_COMPOSER, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {18, ID_INSERT_CHART, BTNS_WHOLEDROPDOWN, nullptr, 0},
      {19, ID_INSERT_IMAGE, BTNS_BUTTON, nullptr, 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {20, ID_UPDATE_DATA, BTNS_BUTTON, nullptr, 0},
  };
  return ToolBarAddButtons(m_mainToolBar, buttons, static_cast<int>(sizeof buttons / sizeof buttons[0]));
}

bool CMainFrame::CreateSecondaryToolBar() {
  m_secondaryToolBar = CreateFrameToolBar(m_hWnd, IDR_TOOLBAR_SECONDARY, TBSTYLE_LIST);
  if (m_secondaryToolBar == nullptr) return false;
  SetToolBarImages(m_secondaryToolBar, kSecondaryToolBarImages);
  const int fontHeight = FontHeight(m_hWnd, BarFont());
  const int imageHeight = fontHeight > 16 ? fontHeight : 16;
  ::SendMessageA(m_secondaryToolBar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, imageHeight));
  ::SendMessageA(m_secondaryToolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, imageHeight + 7));
  ::SendMessageA(m_secondaryToolBar, WM_SETFONT, reinterpret_cast<WPARAM>(BarFont()), FALSE);
  const ToolBarButton buttons[] = {
      {0, ID_VIEW_TREE, BTNS_BUTTON, nullptr, 0},
      {0, kNameBoxId, BTNS_SEP, nullptr, kPlaceholderWidth},
      {I_IMAGENONE, ID_GO, kTextButton | BTNS_WHOLEDROPDOWN, " Go", 0},
      {0, 0, BTNS_SEP, nullptr, kGapWidth},
      {I_IMAGENONE, ID_RECENT_DATA_FIRST, kTextButton | BTNS_WHOLEDROPDOWN, " Data", 0},
      {0, kFormulaBarId, BTNS_SEP, nullptr, kPlaceholderWidth},
      {I_IMAGENONE, ID_LOCK_EDITING, kTextButton, " Lock", 0},
      {2, ID_FORMULA_BAR_OK, kTextButton, " OK", 0},
      {3, ID_SELECT_CELL_ADDRESS, kTextButton | BTNS_DROPDOWN, " Select", 0},
      {0, 0, BTNS_SEP, nullptr, kGapWidth},
      {4, ID_FORMAT_CELLS, kTextButton, " Format", 0},
  };
  return ToolBarAddButtons(m_secondaryToolBar, buttons, static_cast<int>(sizeof buttons / sizeof buttons[0]));
}

bool CMainFrame::CreateNameBoxAndFormulaBar() {
  HFONT font = BarFont();
  RECT r = ItemRect(m_secondaryToolBar, IndexOfCommand(m_secondaryToolBar, kNameBoxId));
  r.bottom = r.top + kComboListHeight;
  m_nameBox = CreateControl(WC_COMBOBOXEXA, m_secondaryToolBar, kNameBoxId,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, &r);
  if (m_nameBox == nullptr) return false;
  ::SendMessageA(m_nameBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HWND nameCombo = reinterpret_cast<HWND>(::SendMessageA(m_nameBox, CBEM_GETCOMBOCONTROL, 0, 0));
  if (nameCombo != nullptr) ::SendMessageA(nameCombo, CB_SETEXTENDEDUI, TRUE, 0);
  m_nameBoxCombo.Attach(m_nameBox);

  r = ItemRect(m_secondaryToolBar, IndexOfCommand(m_secondaryToolBar, kFormulaBarId));
  m_formulaBarFrame = CreateControl("STATIC", m_secondaryToolBar, 0xFFFF, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                    WS_EX_CLIENTEDGE, &r);
  if (m_formulaBarFrame == nullptr) return false;
  RECT inside{0, 0, r.right - r.left, r.bottom - r.top};
  HWND edit = CreateControl("RichEdit20A", m_formulaBarFrame, kFormulaBarId,
                            WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_LEFT, 0, &inside);
  if (edit == nullptr || !m_formulaBar.SubclassWindow(edit)) return false;
  m_formulaBar.frame = m_hWnd;
  ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageA(edit, EM_SETSEL, 0, 0);
  PARAFORMAT2 paragraph{};
  paragraph.cbSize = sizeof paragraph;
  paragraph.dwMask = PFM_SPACEBEFORE;
  paragraph.dySpaceBefore = kSpaceBeforeFormula;
  ::SendMessageA(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
  return true;
}

bool CMainFrame::CreatePreviewToolBar() {
  m_previewToolBar = CreateFrameToolBar(m_hWnd, IDR_TOOLBAR_PREVIEW, TBSTYLE_LIST);
  if (m_previewToolBar == nullptr) return false;
  SetToolBarImages(m_previewToolBar, kPreviewToolBarImages);
  ::SendMessageA(m_previewToolBar, WM_SETFONT, reinterpret_cast<WPARAM>(BarFont()), FALSE);
  const int goToWidth = 2 * TextWidth(m_hWnd, BarFont(), " Go To ");
  const ToolBarButton buttons[] = {
      {0, ID_PREVIEW_PRINT_ALL, kTextButton, " Print All", 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {I_IMAGENONE, ID_PREVIEW_GO_TO, kTextButton, " Go To ", 0},
      {0, kPreviewPageComboId, BTNS_SEP, nullptr, goToWidth},
      {2, ID_PREVIEW_PREVIOUS, kTextButton, " Previous Page", 0},
      {3, ID_PREVIEW_NEXT, kTextButton, " Next Page", 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {4, ID_PREVIEW_ZOOM_IN, kTextButton, " Zoom In", 0},
      {5, ID_PREVIEW_ZOOM_OUT, kTextButton, " Zoom Out", 0},
      {0, 0, BTNS_SEP, nullptr, 0},
      {6, ID_PREVIEW_CLOSE, BTNS_BUTTON, nullptr, 0},
  };
  if (!ToolBarAddButtons(m_previewToolBar, buttons, static_cast<int>(sizeof buttons / sizeof buttons[0])))
    return false;
  m_previewPageCombo = CreateComboOverItem(m_previewToolBar, 3, WC_COMBOBOXA, kPreviewPageComboId,
                                           CBS_DROPDOWNLIST, 0, BarFont());
  return m_previewPageCombo != nullptr;
}

bool CMainFrame::CreateFindToolBar() {
  m_findToolBar = CreateFrameToolBar(m_hWnd, IDR_TOOLBAR_FIND, TBSTYLE_LIST);
  if (m_findToolBar == nullptr) return false;
  SetToolBarImages(m_findToolBar, kFindToolBarImages);
  ::SendMessageA(m_findToolBar, WM_SETFONT, reinterpret_cast<WPARAM>(BarFont()), FALSE);
  const ToolBarButton buttons[] = {
      {I_IMAGENONE, ID_FIND_TEXT, kTextButton, "Find Text (F3)", 0},
      {0, 0, BTNS_SEP, nullptr, kFindBoxWidth},
      {0, 0, BTNS_SEP, nullptr, kGapWidth},
      {I_IMAGENONE, ID_REPLACE_SELECTION, kTextButton, "Replace with", 0},
      {0, 0, BTNS_SEP, nullptr, kFindBoxWidth},
      {I_IMAGENONE, ID_REPLACE_ALL, kTextButton, "Replace All", 0},
      {0, 0, BTNS_SEP, nullptr, kGapWidth},
      {I_IMAGENONE, ID_MATCH_CASE, BTNS_CHECK | BTNS_SHOWTEXT | BTNS_AUTOSIZE, "Match case", 0},
      {I_IMAGENONE, ID_MATCH_WHOLE_CELLS, BTNS_CHECK | BTNS_SHOWTEXT | BTNS_AUTOSIZE, "Match whole cells", 0},
      {0, 0, BTNS_SEP, nullptr, kGapWidth},
      {0, ID_FIND_BAR_CLOSE, BTNS_BUTTON, nullptr, 0},
  };
  if (!ToolBarAddButtons(m_findToolBar, buttons, static_cast<int>(sizeof buttons / sizeof buttons[0])))
    return false;
  m_findCombo = CreateComboOverItem(m_findToolBar, 1, WC_COMBOBOXA, 0, CBS_DROPDOWN | CBS_AUTOHSCROLL, 4,
                                    BarFont());
  m_replaceCombo = CreateComboOverItem(m_findToolBar, 4, WC_COMBOBOXA, 0, CBS_DROPDOWN | CBS_AUTOHSCROLL, 4,
                                       BarFont());
  return m_findCombo != nullptr && m_replaceCombo != nullptr;
}

bool CMainFrame::CreateReBar() {
  m_hWndToolBar = ::CreateReBar(m_hWnd, kReBarId);
  if (m_hWndToolBar == nullptr) return false;
  struct Band {
    HWND child;
    bool header;
  };
  const Band bands[] = {{m_commandBar.m_hWnd, false},
                        {m_mainToolBar, false},
                        {m_secondaryToolBar, true},
                        {m_findToolBar, true},
                        {m_previewToolBar, false}};
  for (int i = 0; i < 5; ++i) {
    const bool hasButtons = ::SendMessageA(bands[i].child, TB_BUTTONCOUNT, 0, 0) > 0;
    if (!ReBarAddBand(m_hWndToolBar, bands[i].child, kCommandBarBand + i, i > 0, hasButtons && !bands[i].header,
                      bands[i].header ? kBandHeaderWidth : -1))
      return false;
  }
  ShowFindBar(false);
  ReBarShowBand(m_hWndToolBar, kPreviewToolBarBand, false);
  return true;
}

bool CMainFrame::CreateStatusBar() {
  char ready[64];
  if (LoadStringA(GetModuleHandleA(nullptr), IDS_READY, ready, sizeof ready) <= 0) lstrcpynA(ready, "Ready", 64);
  HWND status = ::CreateStatusBar(m_hWnd, kStatusBarId, ready);
  if (status == nullptr) return false;
  const int edges[kStatusPanes] = {200, 300, 400, 600};
  StatusBarSetParts(status, edges, kStatusPanes);
  StatusBarSetText(status, 0, ready);
  if (!m_statusBar.SubclassWindow(status)) return false;
  m_statusBar.frame = m_hWnd;
  m_hWndStatusBar = status;
  return true;
}

void CMainFrame::ShowFindBar(bool show) {
  ReBarShowBand(m_hWndToolBar, kFindToolBarBand, show);
  if (m_findCombo != nullptr) ::EnableWindow(m_findCombo, show);
  if (m_replaceCombo != nullptr) ::EnableWindow(m_replaceCombo, show);
  EnableFind(show);
  UpdateLayout();
}

// With the find bar shown, Find searches the document (once its search is
// built); hidden, it shows the bar. Either needs a document.
void CMainFrame::EnableFind(bool findBarShown) {
  UIEnable(ID_EDIT_FIND, m_documentActive != 0 && !(findBarShown && IsCommandUnbuilt(ID_FIND_TEXT)));
}

void CMainFrame::LayoutSecondaryBar() {
  HWND rebar = m_hWndToolBar;
  if (rebar == nullptr) return;
  const int mainBand = static_cast<int>(::SendMessageA(rebar, RB_IDTOINDEX, kMainToolBarBand, 0));
  if (mainBand >= 0 && ::IsWindowVisible(m_mainToolBar)) ::SendMessageA(rebar, RB_MAXIMIZEBAND, mainBand, TRUE);
  const int band = static_cast<int>(::SendMessageA(rebar, RB_IDTOINDEX, kSecondaryToolBarBand, 0));
  if (band < 0 || !::IsWindowVisible(m_secondaryToolBar)) return;
  ::SendMessageA(rebar, RB_MAXIMIZEBAND, band, FALSE);
  RECT bandRect{}, borders{};
  ::SendMessageA(rebar, RB_GETRECT, band, reinterpret_cast<LPARAM>(&bandRect));
  ::SendMessageA(rebar, RB_GETBANDBORDERS, band, reinterpret_cast<LPARAM>(&borders));
  const int count = static_cast<int>(::SendMessageA(m_secondaryToolBar, TB_BUTTONCOUNT, 0, 0));
  int widths[16];
  int n = 0;
  const int nameIndex = IndexOfCommand(m_secondaryToolBar, kNameBoxId);
  const int formulaIndex = IndexOfCommand(m_secondaryToolBar, kFormulaBarId);
  for (int i = 0; i < count && n < 16; ++i) {
    if (i == nameIndex || i == formulaIndex) continue;
    RECT r = ItemRect(m_secondaryToolBar, i);
    widths[n++] = r.right - r.left;
  }
  const SecondaryBarWidths shares =
      ComputeSecondaryBarWidths(bandRect.right - bandRect.left, borders.left, borders.right, widths, n);
  SetButtonWidth(m_secondaryToolBar, kNameBoxId, shares.nameBox);
  SetButtonWidth(m_secondaryToolBar, kFormulaBarId, shares.formulaBar);

  RECT name = ItemRect(m_secondaryToolBar, nameIndex);
  ::SetWindowPos(m_nameBox, nullptr, name.left + 1, name.top, name.right - name.left - 2, kComboListHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  RECT formula = ItemRect(m_secondaryToolBar, formulaIndex);
  const int frameWidth = formula.right - formula.left - 3;
  const int frameHeight = formula.bottom - formula.top - 1;
  ::SetWindowPos(m_formulaBarFrame, nullptr, formula.left + 1, formula.top, frameWidth, frameHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ::SetWindowPos(m_formulaBar.m_hWnd, nullptr, 2, 1, frameWidth - 5, frameHeight - 3, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::LayoutStatusBar() {
  if (m_hWndStatusBar == nullptr) return;
  int borders[3] = {};
  ::SendMessageA(m_hWndStatusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_hWndStatusBar, WM_GETFONT, 0, 0));
  const int zoomWidth = TextWidth(m_hWndStatusBar, font, "XXXXXXXXx");
  RECT client = GetClientRect();
  int edges[kStatusPanes];
  ComputeStatusPaneEdges(client.right - client.left, borders[0], borders[2], zoomWidth, edges);
  StatusBarSetParts(m_hWndStatusBar, edges, kStatusPanes);
}
