#ifndef TALVERO_DIALOGS_PAGE_TOOLBAR_H
#define TALVERO_DIALOGS_PAGE_TOOLBAR_H

// The small toolbar of a format page: flat, list style, with tooltips, at a
// position in dialog units. Buttons with a picture (24-pixel PNG resources
// on the button face, and greyed for disabled buttons) show their text as
// their tooltip; buttons without one show their text. Windows only.

#include <windows.h>

struct PageButton {
  UINT command;
  int imageId;      // PNG resource; 0: a text button
  const char* text;
  int separatorBefore;  // pixels of a separator before the button, 0 for none
};

// Null when the toolbar cannot be created.
HWND CreatePageToolBar(HWND page, int xUnits, int yUnits, const PageButton* buttons, int count);
// The image lists of a page toolbar, released when its page goes.
void DestroyPageToolBar(HWND toolbar);

void CheckToolButton(HWND toolbar, UINT command, bool checked);
void EnableToolButton(HWND toolbar, UINT command, bool enabled);

#endif
