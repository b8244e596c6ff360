#include "platform/ui/print_preview_window.h"

#include "platform/ui/preview_layout.h"

CPrintPreviewWindow::~CPrintPreviewWindow() {
  if (IsWindow()) DestroyWindow();
  FreePrinter();
}

void CPrintPreviewWindow::FreePrinter() {
  if (m_metafile != nullptr) DeleteEnhMetaFile(m_metafile);
  m_metafile = nullptr;
  if (m_printer != nullptr) DeleteDC(m_printer);
  m_printer = nullptr;
}

HWND CPrintPreviewWindow::Create(HWND parent, const RECT& rect) {
  WindowClass cls;
  if (!RegisterOwnClass("TalveroPrintPreview", CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW), nullptr,
                        &cls))
    return nullptr;
  return CWindowImpl::Create(cls, parent, rect, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                             WS_EX_CLIENTEDGE);
}

bool CPrintPreviewWindow::SetPrintPreviewInfo(const char* printer, const DEVMODEA* devMode, CPrintJobInfo* source,
                                              UINT firstPage, UINT lastPage) {
  FreePrinter();
  m_printer = CreatePrinterDC(printer, devMode);
  if (m_printer == nullptr) return false;
  m_paperWidth = GetDeviceCaps(m_printer, PHYSICALWIDTH);
  m_paperHeight = GetDeviceCaps(m_printer, PHYSICALHEIGHT);
  m_offsetX = GetDeviceCaps(m_printer, PHYSICALOFFSETX);
  m_offsetY = GetDeviceCaps(m_printer, PHYSICALOFFSETY);
  m_source = source;
  m_firstPage = firstPage;
  m_lastPage = lastPage;
  m_page = firstPage;
  return true;
}

bool CPrintPreviewWindow::SetPage(UINT page) {
  if (m_printer == nullptr || m_source == nullptr || page < m_firstPage || page > m_lastPage) return false;
  m_page = page;
  if (m_metafile != nullptr) DeleteEnhMetaFile(m_metafile);
  m_metafile = nullptr;
  // The metafile's frame is the whole paper, in hundredths of a millimetre.
  const int dpiX = GetDeviceCaps(m_printer, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(m_printer, LOGPIXELSY);
  const RECT frame = {0, 0, MulDiv(m_paperWidth, 2540, dpiX), MulDiv(m_paperHeight, 2540, dpiY)};
  HDC recording = CreateEnhMetaFileA(m_printer, nullptr, &frame, nullptr);
  if (recording == nullptr) return false;
  // The page source draws from the printable area's corner, as on paper.
  SetViewportOrgEx(recording, m_offsetX, m_offsetY, nullptr);
  const int saved = SaveDC(recording);
  m_source->PrintPage(page, recording);
  if (saved != 0) RestoreDC(recording, saved);
  m_metafile = CloseEnhMetaFile(recording);
  if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return m_metafile != nullptr;
}

RECT CPrintPreviewWindow::PaperRect() const {
  const RECT client = GetClientRect();
  const PreviewPaper paper =
      LayOutPreviewPaper(client.right, client.bottom, m_paperWidth, m_paperHeight, m_zoom, m_scrollX, m_scrollY);
  return RECT{paper.left, paper.top, paper.left + paper.width, paper.top + paper.height};
}

void CPrintPreviewWindow::SetZoom(double zoom, POINT about) {
  const double next = zoom < kPreviewMinZoom ? kPreviewMinZoom : zoom > kPreviewMaxZoom ? kPreviewMaxZoom : zoom;
  const RECT paper = PaperRect();
  const RECT client = GetClientRect();
  // The paper's own position counts where it is centred rather than
  // scrolled.
  m_scrollX = ScrollKeepingPoint(kPreviewBorder - paper.left, about.x, paper.left, m_zoom, next);
  m_scrollY = ScrollKeepingPoint(kPreviewBorder - paper.top, about.y, paper.top, m_zoom, next);
  m_zoom = next;
  const PreviewPaper after =
      LayOutPreviewPaper(client.right, client.bottom, m_paperWidth, m_paperHeight, m_zoom, m_scrollX, m_scrollY);
  m_scrollX = m_scrollX < 0 ? 0 : m_scrollX > after.scrollRangeX ? after.scrollRangeX : m_scrollX;
  m_scrollY = m_scrollY < 0 ? 0 : m_scrollY > after.scrollRangeY ? after.scrollRangeY : m_scrollY;
  UpdateScrollBars();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPrintPreviewWindow::ResetZoom() {
  m_zoomInMode = false;
  m_zoom = kPreviewMinZoom;
  m_scrollX = m_scrollY = 0;
  UpdateScrollBars();
  if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPrintPreviewWindow::OnWheelZoom(int delta, POINT screenPoint) {
  const int notches = delta / WHEEL_DELTA;
  if (notches == 0) return;
  POINT point = screenPoint;
  ScreenToClient(m_hWnd, &point);
  SetZoom(StepPreviewZoom(m_zoom, notches), point);
}

void CPrintPreviewWindow::UpdateScrollBars() {
  if (m_hWnd == nullptr) return;
  const RECT client = GetClientRect();
  const PreviewPaper paper =
      LayOutPreviewPaper(client.right, client.bottom, m_paperWidth, m_paperHeight, m_zoom, m_scrollX, m_scrollY);
  SCROLLINFO info = {sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  info.nMax = paper.scrollRangeX > 0 ? paper.scrollRangeX + client.right - 1 : 0;
  info.nPage = paper.scrollRangeX > 0 ? static_cast<UINT>(client.right) : 0;
  info.nPos = m_scrollX;
  SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
  info.nMax = paper.scrollRangeY > 0 ? paper.scrollRangeY + client.bottom - 1 : 0;
  info.nPage = paper.scrollRangeY > 0 ? static_cast<UINT>(client.bottom) : 0;
  info.nPos = m_scrollY;
  SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

LRESULT CPrintPreviewWindow::ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  switch (msg) {
    case WM_PAINT:
      return OnPaint();
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      UpdateScrollBars();
      return 0;
    case WM_LBUTTONDOWN:
      return OnLButtonDown(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    case WM_HSCROLL:
      return OnScroll(SB_HORZ, LOWORD(wp));
    case WM_VSCROLL:
      return OnScroll(SB_VERT, LOWORD(wp));
  }
  handled = false;
  return 0;
}

LRESULT CPrintPreviewWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  const RECT client = GetClientRect();
  const RECT paper = PaperRect();
  // The grey around the paper, then the paper, then the page on it.
  HRGN around = CreateRectRgnIndirect(&client);
  HRGN sheet = CreateRectRgnIndirect(&paper);
  CombineRgn(around, around, sheet, RGN_DIFF);
  FillRgn(dc, around, GetSysColorBrush(COLOR_APPWORKSPACE));
  DeleteObject(sheet);
  DeleteObject(around);
  FillRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (m_metafile != nullptr) PlayEnhMetaFile(dc, m_metafile, &paper);
  FrameRect(dc, &paper, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT CPrintPreviewWindow::OnLButtonDown(POINT point) {
  SetFocus();
  if (!m_zoomInMode) return 0;
  SetZoom(StepPreviewZoom(m_zoom, 2), point);
  if (m_zoom >= kPreviewMaxZoom) {
    m_zoomInMode = false;
    NMHDR header = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), kZoomModeEndedCode};
    ::SendMessageA(GetParent(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }
  return 0;
}

LRESULT CPrintPreviewWindow::OnScroll(int bar, WORD request) {
  SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(m_hWnd, bar, &info);
  const int line = 16;
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return 0;
  }
  const int highest = info.nMax - static_cast<int>(info.nPage) + 1;
  position = position > highest ? highest : position;
  position = position < 0 ? 0 : position;
  (bar == SB_HORZ ? m_scrollX : m_scrollY) = position;
  UpdateScrollBars();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return 0;
}
