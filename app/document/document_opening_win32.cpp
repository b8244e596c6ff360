#include "app/document/document_opening.h"

#include "app/document/child_frame.h"
#include "app/frame/main_frame.h"
#include "app/frame/open_documents.h"
#include "app/messages/message_boxes.h"
#include "app/settings/global_options.h"
#include "resources/resource_ids.h"

namespace {

// Enters a created window in the table, maximises it when it is the only
// document and the option asks for it, and applies its layout; a full table
// destroys the window.
CChildFrame* EnterDocumentWindow(CChildFrame* window) {
  if (!AddOpenDocument(&window->Workbook(), window)) {
    // The window's final message frees it.
    window->DestroyWindow();
    return nullptr;
  }
  if (Options.MaximizeDocWindow != 0 && CountOpenDocuments() == 1) MaximizeDocumentWindow(window->m_hWnd);
  window->ApplyStoredLayout();
  return window;
}

}  // namespace

void MaximizeDocumentWindow(HWND window) {
  ::SendMessageA(::GetParent(window), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window), 0);
}

CChildFrame* OpenNewDocumentWindow(CMainFrame* frame) {
  // A full table refuses before a window flashes up and goes again.
  if (CountOpenDocuments() >= kOpenDocumentSlots) return nullptr;
  CChildFrame* window = new CChildFrame(frame);
  if (!window->Workbook().NewDocument() || window->CreateDocumentWindow(frame->m_hWndClient) == nullptr) {
    if (window->m_hWnd != nullptr) {
      window->DestroyWindow();
    } else {
      delete window;
    }
    ShowError(kWorkbookOutOfMemory);
    return nullptr;
  }
  return EnterDocumentWindow(window);
}

bool HandleFrameFileCommand(CMainFrame* frame, UINT command) {
  switch (command) {
    case ID_FILE_NEW:
      OpenNewDocumentWindow(frame);
      return true;
  }
  return false;
}
