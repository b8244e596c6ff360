#ifndef TALVERO_CHARTS_PNG_PNG_IMAGE_LIST_H
#define TALVERO_CHARTS_PNG_PNG_IMAGE_LIST_H

// Image lists of toolbars and dialogs built from the program's PNG_DATA
// resources (Windows build only).

#include <windows.h>
#include <commctrl.h>

// count square images of imageSize pixels, each decoded from the PNG_DATA
// resource of the module with that identifier, transparent areas laid over
// background (a COLORREF). greyed turns every pixel that is not the
// background into its grey level, for the pictures of disabled buttons.
// Null when a resource is missing, does not decode to that size, or cannot
// be added.
HIMAGELIST LoadPngImageList(int imageSize, int count, const int* resourceIds, COLORREF background, bool greyed);

#endif
