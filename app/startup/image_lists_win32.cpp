#include "app/startup/image_lists.h"

#include "charts/png/png_image_list.h"
#include "resources/resource_ids.h"

namespace {

struct ImageListSource {
  int imageSize;
  int count;
  int ids[21];
};

const ImageListSource kSources[kProgramImageListCount] = {
    {24, 21, {IDP_NEW_WORKBOOK, IDP_OPEN, IDP_SAVE, IDP_NEW_WORKSHEET, IDP_NEW_FOLDER, IDP_CUT, IDP_COPY,
              IDP_PASTE, IDP_PRINT_PREVIEW, IDP_PRINT, IDP_UNDO, IDP_REDO, IDP_FIND, IDP_SORT_ASCENDING,
              IDP_SORT_DESCENDING, IDP_INSERT_DATE, IDP_INSERT_FORMULA, IDP_COMPOSER, IDP_INSERT_CHART,
              IDP_INSERT_IMAGE, IDP_UPDATE_DATA}},
    {16, 5, {IDP_SMALL_TREE, IDP_SMALL_NAME_BOX, IDP_SMALL_OK, IDP_SMALL_ADD, IDP_SMALL_FORMAT}},
    {16, 7, {IDP_SMALL_PRINT_ALL, IDP_SMALL_GO_TO, IDP_SMALL_PREVIOUS_PAGE, IDP_SMALL_NEXT_PAGE,
             IDP_SMALL_ZOOM_IN, IDP_SMALL_ZOOM_OUT, IDP_SMALL_CLOSE}},
    {16, 1, {IDP_SMALL_CLOSE}},
    {16, 7, {IDP_SMALL_MOVE_DOWN, IDP_SMALL_MOVE_UP, IDP_SMALL_OK, IDP_SMALL_HELP, IDP_SMALL_USE_SELECTION,
             IDP_SMALL_ADD, IDP_SMALL_DELETE}},
};

HIMAGELIST normalLists[kProgramImageListCount];
HIMAGELIST greyedLists[kProgramImageListCount];
HICON protectedReadOnlyIcon;
HICON protectedIcon;

HICON LoadSmallIcon(int id) {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_SHARED));
}

}  // namespace

void BuildImageLists() {
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  for (int i = 0; i < kProgramImageListCount; ++i) {
    const ImageListSource& s = kSources[i];
    normalLists[i] = LoadPngImageList(s.imageSize, s.count, s.ids, background, false);
    greyedLists[i] = LoadPngImageList(s.imageSize, s.count, s.ids, background, true);
  }
  protectedReadOnlyIcon = LoadSmallIcon(IDI_PROTECTED_READ_ONLY);
  protectedIcon = LoadSmallIcon(IDI_PROTECTED);
}

void DestroyImageLists() {
  for (int i = 0; i < kProgramImageListCount; ++i) {
    if (normalLists[i]) ImageList_Destroy(normalLists[i]);
    if (greyedLists[i]) ImageList_Destroy(greyedLists[i]);
    normalLists[i] = greyedLists[i] = nullptr;
  }
}

HIMAGELIST ProgramImageList(ProgramImageListKind kind, bool greyed) {
  if (kind < 0 || kind >= kProgramImageListCount) return nullptr;
  return greyed ? greyedLists[kind] : normalLists[kind];
}

HICON ProtectedReadOnlyIcon() { return protectedReadOnlyIcon; }
HICON ProtectedIcon() { return protectedIcon; }
