#ifndef TALVERO_APP_DOCUMENT_VIEW_H
#define TALVERO_APP_DOCUMENT_VIEW_H

// The grid views of a document window come from this one creation function,
// so the window's layout, splits and pane cycle do not depend on the class
// that draws the cells. The view shown here is a plain focusable pane.

#include <windows.h>

#include "platform/ui/window_impl.h"

class CChildFrame;

class CDocumentView : public CWindowImpl {
 public:
  LRESULT ProcessWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;
};

// Creates the view as a child of parent with a client edge; null on failure.
HWND CreateDocumentView(CDocumentView& view, CChildFrame* owner, HWND parent);

#endif
