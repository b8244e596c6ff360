#ifndef TALVERO_PLATFORM_UI_POPUP_MENU_H
#define TALVERO_PLATFORM_UI_POPUP_MENU_H

// Every pop-up menu the program tracks goes through TrackPopupMenuCommand, so
// that a test can choose from it instead of a person.

#include <windows.h>

// Shows the pop-up at (x, y) in screen coordinates, keeping clear of
// `exclude` when given, and returns the command chosen, 0 for none. The owner
// receives the menu's messages (WM_INITMENUPOPUP, WM_MENUSELECT...); the
// command is returned, not sent.
using TrackPopupMenuFunction = UINT (*)(HMENU popup, UINT flags, int x, int y, HWND owner,
                                        const RECT* exclude);

UINT TrackPopupMenuCommand(HMENU popup, UINT flags, int x, int y, HWND owner,
                           const RECT* exclude = nullptr);
// Replaces the function; null restores the system's menu. Returns the previous one.
TrackPopupMenuFunction SetTrackPopupMenuFunction(TrackPopupMenuFunction fn);

#endif
