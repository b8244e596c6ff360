#ifndef TALVERO_APP_DOCUMENT_OPENING_H
#define TALVERO_APP_DOCUMENT_OPENING_H

// How the frame's file commands make document windows: a new workbook in a
// new window, entered in the open-document table with its layout applied.

#include <windows.h>

class CChildFrame;
class CMainFrame;

// New: a window with a new workbook. Null when it cannot be created (error 8
// shown) or when the open-document table is full (the window is destroyed
// again, nothing is shown).
CChildFrame* OpenNewDocumentWindow(CMainFrame* frame);
// Asks the MDI client to maximise the window.
void MaximizeDocumentWindow(HWND window);
// The frame's file commands; true when the command was one of them.
bool HandleFrameFileCommand(CMainFrame* frame, UINT command);

#endif
