#ifndef TALVERO_APP_FRAME_FRAME_IMAGE_LISTS_H
#define TALVERO_APP_FRAME_FRAME_IMAGE_LISTS_H

// The pictures of the frame's toolbars: a pair of image lists (normal, and
// greyed for disabled buttons) per toolbar, decoded from the PNG images of
// the resources on first use and kept for the process. A list that cannot
// be built is null; its toolbar then shows no pictures.

#include <windows.h>

#include <commctrl.h>

enum FrameImagePair : int {
  kMainToolBarImages,
  kSecondaryToolBarImages,
  kPreviewToolBarImages,
  kFindToolBarImages,
  kFrameImagePairCount,
};

HIMAGELIST FrameImageList(FrameImagePair pair, bool greyed);

#endif
