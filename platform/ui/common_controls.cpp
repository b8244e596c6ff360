#include "platform/ui/common_controls.h"

bool InitCommonControlClasses() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES |
                                           ICC_USEREX_CLASSES | ICC_TAB_CLASSES |
                                           ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
  return InitCommonControlsEx(&icc) != 0;
}

bool LoadRichEdit20() {
  static HMODULE library = LoadLibraryA("RICHED20.DLL");
  return library != nullptr;
}

HWND CreateControl(const char* className, HWND parent, UINT id, DWORD style, DWORD exStyle,
                   const RECT* rect, const char* text) {
  RECT r = rect != nullptr ? *rect : RECT{0, 0, 0, 0};
  return CreateWindowExA(exStyle, className, text, style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

HWND CreateToolBar(HWND parent, UINT id, DWORD extraStyle) {
  HWND tb = CreateControl(TOOLBARCLASSNAMEA, parent, id,
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                              TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN |
                              extraStyle);
  if (tb != nullptr) SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  return tb;
}

bool ToolBarAddButtons(HWND toolbar, const ToolBarButton* buttons, int count) {
  for (int i = 0; i < count; ++i) {
    const ToolBarButton& b = buttons[i];
    TBBUTTON tbb{};
    tbb.iBitmap = b.style == BTNS_SEP ? b.separatorWidth : b.image;
    tbb.idCommand = static_cast<int>(b.command);
    tbb.fsState = TBSTATE_ENABLED;
    tbb.fsStyle = b.style;
    tbb.iString = b.text != nullptr ? reinterpret_cast<INT_PTR>(b.text) : -1;
    if (!SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tbb))) return false;
  }
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  return true;
}

bool ToolBarButtonRect(HWND toolbar, UINT command, RECT* out) {
  return SendMessageA(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(out)) != 0;
}

HWND CreateReBar(HWND parent, UINT id) {
  HWND rebar = CreateControl(REBARCLASSNAMEA, parent, id,
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                 RBS_VARHEIGHT | RBS_BANDBORDERS | RBS_AUTOSIZE | CCS_NODIVIDER,
                             WS_EX_TOOLWINDOW);
  if (rebar != nullptr) {
    REBARINFO info{sizeof info, 0, nullptr};
    SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
  }
  return rebar;
}

bool ReBarAddBand(HWND rebar, HWND child, UINT bandId, bool newRow, bool chevron, int headerWidth) {
  REBARBANDINFOA band{};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_ID | RBBIM_SIZE | RBBIM_IDEALSIZE;
  band.fStyle = RBBS_CHILDEDGE | (newRow ? RBBS_BREAK : 0) | (chevron ? RBBS_USECHEVRON : 0);
  band.hwndChild = child;
  band.wID = bandId;
  RECT r{};
  // A toolbar's buttons give its ideal size; any other child its window size.
  int count = static_cast<int>(SendMessageA(child, TB_BUTTONCOUNT, 0, 0));
  if (count > 0 && SendMessageA(child, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&r))) {
    band.cxIdeal = r.right;
  } else {
    GetWindowRect(child, &r);
    band.cxIdeal = r.right - r.left;
    r.bottom -= r.top;
  }
  band.cx = band.cxIdeal;
  band.cxMinChild = 0;
  band.cyMinChild = r.bottom;
  if (headerWidth >= 0) {
    band.fMask |= RBBIM_HEADERSIZE;
    band.cxHeader = headerWidth;
  }
  return SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

bool ReBarShowBand(HWND rebar, UINT bandId, bool show) {
  int index = static_cast<int>(SendMessageA(rebar, RB_IDTOINDEX, bandId, 0));
  return index >= 0 && SendMessageA(rebar, RB_SHOWBAND, index, show) != 0;
}

HWND CreateStatusBar(HWND parent, UINT id, const char* text, bool sizeGrip) {
  return CreateControl(STATUSCLASSNAMEA, parent, id,
                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (sizeGrip ? SBARS_SIZEGRIP : 0), 0,
                       nullptr, text);
}

bool StatusBarSetParts(HWND status, const int* rightEdges, int count) {
  return SendMessageA(status, SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)) != 0;
}

bool StatusBarSetText(HWND status, int pane, const char* text, UINT style) {
  return SendMessageA(status, SB_SETTEXTA, pane | style, reinterpret_cast<LPARAM>(text)) != 0;
}

int ComboAddString(HWND combo, const char* text, LPARAM data) {
  int index = static_cast<int>(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
  if (index >= 0) SendMessageA(combo, CB_SETITEMDATA, index, data);
  return index;
}

int ComboExInsertItem(HWND comboEx, int index, const char* text, int image) {
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_TEXT | (image >= 0 ? CBEIF_IMAGE | CBEIF_SELECTEDIMAGE : 0);
  item.iItem = index;
  item.pszText = const_cast<char*>(text);
  item.iImage = image;
  item.iSelectedImage = image;
  return static_cast<int>(SendMessageA(comboEx, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int ListViewInsertColumn(HWND list, int index, const char* text, int width, int format) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(text);
  return static_cast<int>(SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

int ListViewInsertItem(HWND list, int index, const char* text, LPARAM data) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text);
  item.lParam = data;
  return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListViewSetItemText(HWND list, int item, int subItem, const char* text) {
  LVITEMA lv{};
  lv.iSubItem = subItem;
  lv.pszText = const_cast<char*>(text);
  return SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv)) != 0;
}

HTREEITEM TreeInsertItem(HWND tree, HTREEITEM parent, HTREEITEM after, const char* text, int image,
                         int selectedImage, LPARAM data) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

int TabInsertItem(HWND tab, int index, const char* text) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(text);
  return static_cast<int>(SendMessageA(tab, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
}

void TrackBarSetRange(HWND trackBar, int low, int high, int position) {
  SendMessageA(trackBar, TBM_SETRANGEMIN, FALSE, low);
  SendMessageA(trackBar, TBM_SETRANGEMAX, FALSE, high);
  SendMessageA(trackBar, TBM_SETPOS, TRUE, position);
}

void UpDownSetRange(HWND upDown, int low, int high, int position) {
  SendMessageA(upDown, UDM_SETRANGE32, low, high);
  SendMessageA(upDown, UDM_SETPOS32, 0, position);
}

HIMAGELIST ImageListCreate(int width, int height, int initial, int grow) {
  return ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, initial, grow);
}

TEXTMETRICA StockFontMetrics(HWND window, int stockFont) {
  HDC dc = GetDC(window);
  HGDIOBJ prior = SelectObject(dc, GetStockObject(stockFont));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, prior);
  ReleaseDC(window, dc);
  return metrics;
}
