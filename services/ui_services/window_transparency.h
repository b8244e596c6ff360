#ifndef TALVERO_APP_WINDOW_TRANSPARENCY_H
#define TALVERO_APP_WINDOW_TRANSPARENCY_H

// The opacity option applied to the program's dialogs and tool windows.

#include <cstdint>

// The window's alpha for an opacity in per cent; never below 10, so that a
// window cannot vanish altogether.
uint8_t TransparencyAlpha(int percent);

#ifdef _WIN32
#include <windows.h>
// 100 makes the window opaque (removes the layered style); any other value
// layers it with TransparencyAlpha. False on systems without layered windows
// and when the system library cannot be loaded.
bool SetWindowTransparency(HWND window, int percent);
#endif

#endif
