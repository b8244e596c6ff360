#ifndef TALVERO_APP_DOCUMENT_VIEW_H
#define TALVERO_APP_DOCUMENT_VIEW_H

// The grid views of a document window come from this one creation function,
// so the window's layout, splits and pane cycle do not depend on how a view
// is made.

#include <windows.h>

#include "view/grid_view/talver_view.h"

class CChildFrame;

using CDocumentView = CTalverView;

// Creates the view as a child of parent with a client edge; null on failure.
HWND CreateDocumentView(CDocumentView& view, CChildFrame* owner, HWND parent);

#endif
