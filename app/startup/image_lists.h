#ifndef TALVERO_APP_IMAGE_LISTS_H
#define TALVERO_APP_IMAGE_LISTS_H

// The pictures of the toolbars and the status bar, built once at start-up
// and released at exit (Windows build only).

#include <windows.h>
#include <commctrl.h>

enum ProgramImageListKind : int {
  kMainToolbarImages,       // 24 by 24
  kSecondaryToolbarImages,  // 16 by 16, as all that follow
  kPreviewToolbarImages,
  kFindToolbarImages,
  kChartEditorImages,
  kProgramImageListCount,
};

// Builds each list in a normal and a greyed form (for disabled buttons) and
// loads the status bar's two protection icons. A list that cannot be built
// stays null; nothing is shown.
void BuildImageLists();
// Destroys the lists; the icons are the system's shared ones and stay.
void DestroyImageLists();

HIMAGELIST ProgramImageList(ProgramImageListKind kind, bool greyed);
// The status bar's icons of a protected document: opened read-only, or
// protected with full access.
HICON ProtectedReadOnlyIcon();
HICON ProtectedIcon();

#endif
