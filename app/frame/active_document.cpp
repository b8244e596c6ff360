// The active document window and workbook of the frame.

#include "app/frame/active_document.h"

#include "app/frame/main_frame.h"
#include "core/workbook/open_document_table.h"

namespace {

DocumentWindowFinder g_finder = nullptr;
FrameCommandHandler g_fileCommands = nullptr;

}  // namespace

void SetDocumentWindowFinder(DocumentWindowFinder finder) { g_finder = finder; }

CChildFrame* FindDocumentWindow(HWND window) {
  if (g_finder == nullptr || window == nullptr) return nullptr;
  return g_finder(window);
}

void SetFrameFileCommands(FrameCommandHandler handler) { g_fileCommands = handler; }

bool RunFrameFileCommand(CMainFrame* frame, UINT command) {
  return g_fileCommands != nullptr && g_fileCommands(frame, command);
}

CChildFrame* CMainFrame::GetActiveChildFrame() const { return FindDocumentWindow(MDIGetActive()); }

CWorkBook* CMainFrame::GetActiveWorkbook() const {
  const CChildFrame* window = GetActiveChildFrame();
  if (window == nullptr) return nullptr;
  for (const OpenDocument& slot : OpenDocuments().slots)
    if (slot.frame == window) return slot.workbook;
  return nullptr;
}
