#ifndef TALVERO_PLATFORM_UI_MESSAGE_BOX_H
#define TALVERO_PLATFORM_UI_MESSAGE_BOX_H

// Every message box of the program goes through ShowMessageBox, so a test can
// answer it instead of a person.

#include <windows.h>

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);

// Shows the box (MessageBoxA unless replaced) and returns the button chosen.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
// Replaces the function; null restores MessageBoxA. Returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn);

#endif
