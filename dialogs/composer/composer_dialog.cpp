#include "dialogs/composer/composer_dialog.h"

#include <richedit.h>

#include "charts/png/png_image_list.h"
#include "dialogs/composer/composer_value.h"
#include "dialogs/controls/dialog_opening.h"
#include "platform/ui/common_controls.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/window_class.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"
#include "services/settings/global_options.h"
#include "services/ui_services/window_transparency.h"

namespace {

// Where the splitter and the toolbar stand, in dialog units, and the
// toolbar's size in pixels.
constexpr RECT kSplitterArea = {7, 24, 166, 192};
constexpr POINT kToolBarPlace = {105, 196};
constexpr SIZE kToolBarSize = {69, 25};
constexpr int kMinPane = 15;
constexpr int kToolImageSize = 16;
constexpr int kToolImageCount = 3;
const int kToolImages[kToolImageCount] = {IDP_SMALL_PREVIOUS_PAGE, IDP_SMALL_NEXT_PAGE, IDP_SMALL_ADD};

// The current parameter's name in the template.
constexpr LONG kParagraphSpaceBefore = 35;  // twips
constexpr LONG kHighlightHeight = 220;      // twips: 11 points
constexpr COLORREF kHighlightColour = RGB(0, 128, 0);

bool Held(int key) { return ::GetKeyState(key) < 0; }

HFONT DialogFont(HWND dialog) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
  return font != nullptr ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

int FontHeight(HWND window, HFONT font) {
  HDC dc = ::GetDC(window);
  HGDIOBJ old = ::SelectObject(dc, font);
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(window, dc);
  return metrics.tmHeight;
}

// A menu corner that lies on no monitor is kept within the nearest one's
// work area horizontally.
POINT MenuCorner(POINT corner) {
  if (::MonitorFromPoint(corner, MONITOR_DEFAULTTONULL) != nullptr) return corner;
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoA(::MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &info)) return corner;
  if (corner.x < info.rcWork.left) corner.x = info.rcWork.left;
  if (corner.x >= info.rcWork.right) corner.x = info.rcWork.right - 1;
  return corner;
}

// The anchors of the controls that follow the window's size.
const ResizeAnchor kAnchors[] = {
    {IDC_CATEGORY_COMBO, kAnchorSizeX},
    {IDC_COMPOSER_SPLITTER, kAnchorSizeX | kAnchorSizeY},
    {IDC_PARAMETERS_LABEL, kAnchorMoveY},
    {IDC_COMPOSER_TOOLBAR, kAnchorMoveY},
    {IDC_TEMPLATE_EDIT, kAnchorMoveY | kAnchorSizeX},
    {IDC_FORMULA_EDIT, kAnchorMoveY | kAnchorSizeX},
    {IDC_INSERT_FORMULA, kAnchorMoveY},
    {IDC_INSERT_VALUE, kAnchorMoveY},
};

}  // namespace

HWND CFormulaList::CreateList(HWND parent) {
  WindowClass cls;
  if (!RegisterSuperclass("CFormulaList", "ListBox", &cls)) return nullptr;
  const RECT none{0, 0, 0, 0};
  return Create(cls, parent, none, nullptr,
                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOINTEGRALHEIGHT,
                WS_EX_CLIENTEDGE, IDC_FUNCTION_LIST);
}

LRESULT CFormulaList::ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  // The list tells its parent of nothing itself, so that every release
  // chooses the function anew.
  if (msg == WM_KEYUP || msg == WM_LBUTTONUP)
    ::PostMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(IDC_FUNCTION_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
  handled = false;
  return 0;
}

CComposerDlg::CComposerDlg(ComposerHost* host) : CDialogImpl(IDD_COMPOSER), m_host(host) {
  ResetComposerState(&m_state);
}

CComposerDlg::~CComposerDlg() {
  if (m_images != nullptr) ImageList_Destroy(m_images);
  if (m_greyImages != nullptr) ImageList_Destroy(m_greyImages);
}

bool CComposerDlg::Show() {
  if (m_hWnd != nullptr) return true;
  LoadRichEdit20();
  if (Create(m_host->HostWindow()) == nullptr) return false;
  ShowWindow(SW_SHOW);
  return true;
}

bool CComposerDlg::PreTranslateMessage(MSG* msg) {
  if (m_hWnd == nullptr) return false;
  if (IsUserInputMessage(msg->message)) m_host->StampActivityClocks();
  return CDialogImpl::PreTranslateMessage(msg);
}

LRESULT CComposerDlg::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_DESTROY:
      OnDestroy();
      handled = false;
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->code == TBN_DROPDOWN) return OnToolbarDropDown(*reinterpret_cast<const NMTOOLBARA*>(header));
      break;
    }
  }
  if (m_resize.HandleMessage(msg, wp, lp)) return 0;
  handled = false;
  return 0;
}

bool CComposerDlg::OnCommand(UINT id, UINT code) {
  switch (id) {
    case IDCANCEL:
      ::DestroyWindow(m_hWnd);
      m_host->ComposerClosed();
      return true;
    case IDC_CATEGORY_COMBO:
      if (code != CBN_SELCHANGE) return false;
      OnCategoryChange();
      return true;
    case IDC_FUNCTION_LIST:
      if (code != LBN_SELCHANGE) return false;
      OnFunctionChange();
      return true;
    case ID_PREVIOUS_PARAMETER:
      if (PreviousComposerParameter(&m_state)) ShowTemplate();
      return true;
    case ID_NEXT_PARAMETER:
      OnNextParameter();
      return true;
    case ID_SELECT_CELL_ADDRESS:
      OnUseSelection(ComposerSelectionUse::kAddress);
      return true;
    case ID_SELECT_SHEET_ADDRESS:
      OnUseSelection(ComposerSelectionUse::kWorksheetAddress);
      return true;
    case ID_SELECT_CELL_VALUE:
      OnUseSelection(ComposerSelectionUse::kValue);
      return true;
    case IDC_INSERT_VALUE:
      OnInsertValue();
      return true;
    case IDC_INSERT_FORMULA:
      OnInsertFormula();
      return true;
  }
  return false;
}

LRESULT CComposerDlg::OnInitDialog() {
  HWND categories = GetDlgItem(IDC_CATEGORY_COMBO);
  ::SendMessageA(categories, CB_SETEXTENDEDUI, TRUE, 0);
  for (const char* name : kFunctionCategoryNames) ComboAddString(categories, name);
  const uint8_t category = kFunctionCatalog[m_state.currentFunction].category;
  ::SendMessageA(categories, CB_SETCURSEL, category, 0);
  CreateSplitter();
  FillFunctionList(category);
  const LRESULT item = ::SendMessageA(m_list.m_hWnd, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(kFunctionCatalog[m_state.currentFunction].name));
  ::SendMessageA(m_list.m_hWnd, LB_SETCURSEL, item, 0);
  ShowHelpText();
  m_state.shownParameters = ParametersShownOnOpening(kFunctionCatalog[m_state.currentFunction]);
  m_state.currentParameter = 0;
  ShowCall();
  CreateParameterToolBar();

  CWorkBook* book = nullptr;
  ComposerSelection selection{};
  const bool document = m_host->ComposerSource(&book, &selection);
  ::EnableWindow(GetDlgItem(IDC_INSERT_FORMULA), document);
  ::EnableWindow(GetDlgItem(IDC_INSERT_VALUE), document);
  ::SendMessageA(m_toolbar, TB_ENABLEBUTTON, ID_SELECT_CELL_ADDRESS, MAKELPARAM(document, 0));

  SetWindowLongA(m_hWnd, GWL_STYLE, GetWindowLongA(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
  m_resize.Init(m_hWnd, kAnchors, sizeof kAnchors / sizeof kAnchors[0]);
  const RECT r = GetWindowRect();
  m_resize.SetMinTrackSize(r.right - r.left + 1, (r.bottom - r.top) / 2);
  PlaceToolWindow(m_hWnd, Options.ComposerRect);
  ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, 0);
  SetWindowTransparency(m_hWnd, Options.Opacity);
  return TRUE;
}

void CComposerDlg::OnDestroy() {
  const RECT r = GetWindowRect();
  Options.ComposerRect = OptionsRect{r.left, r.top, r.right, r.bottom};
  Options.ComposerSplitter = m_splitter.GetSplitterPos();
}

void CComposerDlg::CreateSplitter() {
  RECT area = kSplitterArea;
  ::MapDialogRect(m_hWnd, &area);
  m_splitter.Create(m_hWnd, area, IDC_COMPOSER_SPLITTER);
  HFONT font = DialogFont(m_hWnd);
  m_list.CreateList(m_splitter.m_hWnd);
  m_help = CreateControl("EDIT", m_splitter.m_hWnd, IDC_HELP_TEXT_EDIT,
                         WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE);
  ::SendMessageA(m_list.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageA(m_help, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  m_splitter.SetMinPaneSize(kMinPane);
  m_splitter.SetSplitterPanes(m_list.m_hWnd, m_help, false);
  m_splitter.SetSplitterPos(Options.ComposerSplitter);
}

void CComposerDlg::CreateParameterToolBar() {
  m_toolbar = CreateToolBar(m_hWnd, IDC_COMPOSER_TOOLBAR, TBSTYLE_LIST);
  if (m_toolbar == nullptr) return;
  ::SendMessageA(m_toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
  ::SendMessageA(m_toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kToolImageSize, kToolImageSize));
  const int fontHeight = FontHeight(m_hWnd, DialogFont(m_hWnd));
  const int height = (fontHeight > kToolImageSize ? fontHeight : kToolImageSize) + 7;
  ::SendMessageA(m_toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, height));
  if (!m_imagesTried) {
    m_imagesTried = true;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    m_images = LoadPngImageList(kToolImageSize, kToolImageCount, kToolImages, face, false);
    m_greyImages = LoadPngImageList(kToolImageSize, kToolImageCount, kToolImages, face, true);
  }
  if (m_images != nullptr) ::SendMessageA(m_toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));
  if (m_greyImages != nullptr)
    ::SendMessageA(m_toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(m_greyImages));
  const BYTE autoSize = BTNS_AUTOSIZE;
  const ToolBarButton buttons[] = {
      {0, ID_PREVIOUS_PARAMETER, static_cast<BYTE>(BTNS_BUTTON | autoSize), "Previous parameter", 0},
      {1, ID_NEXT_PARAMETER, static_cast<BYTE>(BTNS_BUTTON | autoSize), "Next parameter", 0},
      {2, ID_SELECT_CELL_ADDRESS, static_cast<BYTE>(BTNS_DROPDOWN | autoSize),
       "Use the current selection as the parameter", 0},
  };
  ToolBarAddButtons(m_toolbar, buttons, sizeof buttons / sizeof buttons[0]);
  RECT place{kToolBarPlace.x, kToolBarPlace.y, kToolBarPlace.x, kToolBarPlace.y};
  ::MapDialogRect(m_hWnd, &place);
  ::SetWindowPos(m_toolbar, nullptr, place.left, place.top, kToolBarSize.cx, kToolBarSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CComposerDlg::FillFunctionList(uint8_t category) {
  ::SendMessageA(m_list.m_hWnd, LB_RESETCONTENT, 0, 0);
  for (uint32_t i = 0; i < kFunctionCatalogCount; ++i) {
    if (category >= kFunctionCategoryAll || kFunctionCatalog[i].category == category)
      ::SendMessageA(m_list.m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFunctionCatalog[i].name));
  }
}

void CComposerDlg::ShowHelpText() { ::SetWindowTextA(m_help, kFunctionCatalog[m_state.currentFunction].help); }

void CComposerDlg::ShowTemplate() {
  char text[kComposerTextCapacity];
  const ComposerHighlight highlight = BuildComposerTemplate(m_state, text, sizeof text);
  HWND edit = GetDlgItem(IDC_TEMPLATE_EDIT);
  HWND focus = ::GetFocus();
  ::SetWindowTextA(edit, text);
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  PARAFORMAT2 paragraph{};
  paragraph.cbSize = sizeof paragraph;
  paragraph.dwMask = PFM_SPACEBEFORE;
  paragraph.dySpaceBefore = kParagraphSpaceBefore;
  ::SendMessageA(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
  ::SendMessageA(edit, EM_SETSEL, highlight.start, highlight.end);
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_BOLD | CFM_SIZE | CFM_COLOR;
  format.dwEffects = CFE_BOLD;
  format.yHeight = kHighlightHeight;
  format.crTextColor = kHighlightColour;
  ::SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  ::SendMessageA(edit, EM_SETSEL, highlight.end, highlight.end);
  ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
  if (::GetFocus() != focus && focus != nullptr) ::SetFocus(focus);
}

void CComposerDlg::ShowFormula() {
  char text[kComposerTextCapacity];
  const ComposerHighlight highlight = BuildComposerFormula(m_state, text, sizeof text);
  HWND edit = GetDlgItem(IDC_FORMULA_EDIT);
  ::SetWindowTextA(edit, text);
  ::SendMessageA(edit, EM_SETSEL, highlight.start, highlight.end);
  ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

void CComposerDlg::ShowCall() {
  ShowTemplate();
  ShowFormula();
}

void CComposerDlg::OnCategoryChange() {
  const int category = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CATEGORY_COMBO, CB_GETCURSEL, 0, 0));
  if (category < 0) return;
  const uint8_t chosen = static_cast<uint8_t>(category < kFunctionCategoryAll ? category : kFunctionCategoryAll);
  FillFunctionList(chosen);
  const uint32_t first = FirstEntryOfCategory(chosen);
  ::SendMessageA(m_list.m_hWnd, LB_SETCURSEL, 0, 0);
  ChooseComposerFunction(&m_state, first, ParametersShownOnOpening(kFunctionCatalog[first]));
  ShowHelpText();
  ShowCall();
}

void CComposerDlg::OnFunctionChange() {
  const int item = static_cast<int>(::SendMessageA(m_list.m_hWnd, LB_GETCURSEL, 0, 0));
  if (item < 0 || ::SendDlgItemMessageA(m_hWnd, IDC_CATEGORY_COMBO, CB_GETCURSEL, 0, 0) < 0) return;
  char name[64] = {};
  if (::SendMessageA(m_list.m_hWnd, LB_GETTEXTLEN, item, 0) < static_cast<LRESULT>(sizeof name))
    ::SendMessageA(m_list.m_hWnd, LB_GETTEXT, item, reinterpret_cast<LPARAM>(name));
  uint32_t index = m_state.currentFunction;
  FindCatalogEntry(name, &index);
  ChooseComposerFunction(&m_state, index, ParametersShownOnChoice(kFunctionCatalog[index]));
  ShowHelpText();
  ShowCall();
}

void CComposerDlg::OnNextParameter() {
  switch (NextComposerParameter(&m_state)) {
    case ComposerStep::kRefused:
      ShowMessageRes(IDS_MAX_ARGUMENTS, MB_OK | MB_ICONEXCLAMATION);
      break;
    case ComposerStep::kMoved:
      // The formula keeps its text until the next value or function.
      ShowTemplate();
      break;
    case ComposerStep::kUnchanged:
      break;
  }
}

void CComposerDlg::OnUseSelection(ComposerSelectionUse use) {
  CWorkBook* book = nullptr;
  ComposerSelection selection{};
  if (!m_host->ComposerSource(&book, &selection)) return;
  selection.controlHeld = Held(VK_CONTROL);
  selection.shiftHeld = Held(VK_SHIFT);
  char text[kComposerTextCapacity];
  ComposerSelectionText(book, use, selection, ComposerParameterTakesRange(m_state), text, sizeof text);
  SetComposerParameterValue(&m_state, text);
  ShowCall();
}

CWorkBook* CComposerDlg::ReadFormula(char* formula, size_t size) {
  CWorkBook* book = nullptr;
  ComposerSelection selection{};
  if (!m_host->ComposerSource(&book, &selection)) return nullptr;
  ::GetDlgItemTextA(m_hWnd, IDC_FORMULA_EDIT, formula, static_cast<int>(size));
  return book;
}

void CComposerDlg::OnInsertFormula() {
  char formula[kComposerTextCapacity] = {};
  if (ReadFormula(formula, sizeof formula) != nullptr) PutIntoFormulaBar(formula, true);
}

void CComposerDlg::OnInsertValue() {
  char formula[kComposerTextCapacity] = {};
  CWorkBook* book = ReadFormula(formula, sizeof formula);
  if (book == nullptr) return;
  char value[kComposerTextCapacity];
  bool beep = false;
  ComposerValueText(book, formula, value, sizeof value, &beep);
  if (beep) MessageBeep(MB_OK);
  PutIntoFormulaBar(value, false);
}

void CComposerDlg::PutIntoFormulaBar(const char* text, bool formula) {
  HWND bar = m_host->FormulaBarWindow();
  if (bar == nullptr) return;
  if (::GetWindowTextLengthA(bar) == 0) {
    ::SetWindowTextA(bar, text);
    return;
  }
  DWORD start = 0;
  ::SendMessageA(bar, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const char* replacement = formula ? ComposerFormulaForBar(text, false, static_cast<long>(start)) : text;
  ::SendMessageA(bar, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(replacement));
}

LRESULT CComposerDlg::OnToolbarDropDown(const NMTOOLBARA& info) {
  if (info.iItem != ID_SELECT_CELL_ADDRESS) return 0;
  HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MENU_SELECT));
  if (menu == nullptr) return TBDDRET_DEFAULT;
  RECT button{};
  ::SendMessageA(info.hdr.hwndFrom, TB_GETRECT, info.iItem, reinterpret_cast<LPARAM>(&button));
  ::MapWindowPoints(info.hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&button), 2);
  const POINT corner = MenuCorner(POINT{button.left, button.bottom});
  const UINT command = TrackPopupMenuCommand(::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                                             corner.x, corner.y, m_hWnd, &button);
  ::DestroyMenu(menu);
  if (command != 0) SendMessage(WM_COMMAND, command, 0);
  return TBDDRET_DEFAULT;
}
