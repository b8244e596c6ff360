#include "app/document/document_view.h"

#include "platform/ui/window_class.h"

LRESULT CDocumentView::ProcessWindowMessage(UINT msg, WPARAM, LPARAM, bool& handled) {
  // Clicking the pane gives it the focus, as a grid view takes it.
  if (msg == WM_LBUTTONDOWN) {
    ::SetFocus(m_hWnd);
    return 0;
  }
  handled = false;
  return 0;
}

HWND CreateDocumentView(CDocumentView& view, CChildFrame*, HWND parent) {
  static WindowClass cls{};
  if (cls.atom == 0 &&
      !RegisterOwnClass("TalveroDocumentView", CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), &cls))
    return nullptr;
  const RECT r{0, 0, 0, 0};
  return view.Create(cls, parent, r, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP,
                     WS_EX_CLIENTEDGE);
}
