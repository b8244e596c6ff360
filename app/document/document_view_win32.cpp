#include "app/document/document_view.h"

HWND CreateDocumentView(CDocumentView& view, CChildFrame*, HWND parent) {
  const RECT none{0, 0, 0, 0};
  const HWND window = view.CreateView(parent, none, 0);
  if (window == nullptr) return nullptr;
  ::SetWindowLongA(window, GWL_EXSTYLE, ::GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  return window;
}
