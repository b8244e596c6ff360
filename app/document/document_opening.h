#ifndef TALVERO_APP_DOCUMENT_OPENING_H
#define TALVERO_APP_DOCUMENT_OPENING_H

// How the frame's file commands make document windows: a new workbook in a
// new window, entered in the open-document table with its layout applied.

#include <windows.h>

#include <cstdint>

class CChildFrame;
class CMainFrame;
class CWorkBook;

// New: a window with a new workbook. Null when it cannot be created (error 8
// shown) or when the open-document table is full (the window is destroyed
// again, nothing is shown).
CChildFrame* OpenNewDocumentWindow(CMainFrame* frame);
// Asks the MDI client to maximise the window.
void MaximizeDocumentWindow(HWND window);
// Open: the open dialog, then OpenDocumentPath with the chosen type.
void OnFileOpen(CMainFrame* frame);
// Opens the path as a file type into a new document window, or only
// activates the window that already holds it. A load that fails shows its
// error and leaves no window. recentIndex names the recent-file entry the
// path came from (-1 for none): a failure with an error code removes it.
// The path becomes the newest recent file when it loads.
CChildFrame* OpenDocumentPath(CMainFrame* frame, const char* path, uint8_t type, int recentIndex);
// The file named on the command line, typed by its extension.
void OpenCommandLineFile(CMainFrame* frame, const char* path);

// Opens the file into the window's workbook (for reading and writing, else
// reading only, waiting while another program holds it) and runs the reader
// of the type. False with the reader's code in the workbook, or with none
// when the user cancelled.
bool LoadDocumentFile(const char* path, CChildFrame* window, uint8_t type);
// Loads the workbook's open native file, asking for the password of a
// protected one; false with the code in the workbook, or none when the user
// cancelled.
bool LoadNativeAskingPassword(CWorkBook& book, HWND owner);
// Loads the workbook's open Excel 2003 XML file, measured on the screen;
// false with the code in the workbook.
bool LoadExcelXmlMeasured(CWorkBook& book);
// Shows a load's error code, the XML reader's with the line it stopped at.
void ShowLoadError(uint8_t code, uint32_t xmlLine);

// The frame's file commands; true when the command was one of them.
bool HandleFrameFileCommand(CMainFrame* frame, UINT command);

#endif
