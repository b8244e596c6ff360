#ifndef TALVERO_APP_FRAME_ACTIVE_DOCUMENT_H
#define TALVERO_APP_FRAME_ACTIVE_DOCUMENT_H

// How the frame knows a document window from its window handle: the
// document windows install the finder when their module starts; without one
// the frame sees no document window.

#include <windows.h>

class CChildFrame;
class CMainFrame;

using DocumentWindowFinder = CChildFrame* (*)(HWND window);

void SetDocumentWindowFinder(DocumentWindowFinder finder);
// The document window of the open-document table with this handle, or null.
CChildFrame* FindDocumentWindow(HWND window);

// The frame's file commands (New, Open, the recent files, the native save
// format) live with the document windows they create; they install their
// handler here. True when the handler took the command.
using FrameCommandHandler = bool (*)(CMainFrame* frame, UINT command);
void SetFrameFileCommands(FrameCommandHandler handler);
bool RunFrameFileCommand(CMainFrame* frame, UINT command);

#endif
