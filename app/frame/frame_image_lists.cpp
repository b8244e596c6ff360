#include "app/frame/frame_image_lists.h"

#include "charts/png/png_image_list.h"
#include "resources/resource_ids.h"

namespace {

const int kMainImages[] = {IDP_NEW_WORKBOOK,   IDP_OPEN,          IDP_SAVE,           IDP_NEW_WORKSHEET,
                           IDP_NEW_FOLDER,     IDP_CUT,           IDP_COPY,           IDP_PASTE,
                           IDP_PRINT_PREVIEW,  IDP_PRINT,         IDP_UNDO,           IDP_REDO,
                           IDP_FIND,           IDP_SORT_ASCENDING, IDP_SORT_DESCENDING, IDP_INSERT_DATE,
                           IDP_INSERT_FORMULA, IDP_COMPOSER,      IDP_INSERT_CHART,   IDP_INSERT_IMAGE,
                           IDP_UPDATE_DATA};
const int kSecondaryImages[] = {IDP_SMALL_TREE, IDP_SMALL_NAME_BOX, IDP_SMALL_OK, IDP_SMALL_ADD, IDP_SMALL_FORMAT};
const int kPreviewImages[] = {IDP_SMALL_PRINT_ALL,  IDP_SMALL_GO_TO,  IDP_SMALL_PREVIOUS_PAGE, IDP_SMALL_NEXT_PAGE,
                              IDP_SMALL_ZOOM_IN,    IDP_SMALL_ZOOM_OUT, IDP_SMALL_CLOSE};
const int kFindImages[] = {IDP_SMALL_CLOSE};

struct PairSource {
  int imageSize;
  const int* ids;
  int count;
};

const PairSource kSources[kFrameImagePairCount] = {
    {24, kMainImages, static_cast<int>(sizeof kMainImages / sizeof kMainImages[0])},
    {16, kSecondaryImages, static_cast<int>(sizeof kSecondaryImages / sizeof kSecondaryImages[0])},
    {16, kPreviewImages, static_cast<int>(sizeof kPreviewImages / sizeof kPreviewImages[0])},
    {16, kFindImages, 1},
};

HIMAGELIST g_lists[kFrameImagePairCount][2] = {};
bool g_tried[kFrameImagePairCount][2] = {};

}  // namespace

HIMAGELIST FrameImageList(FrameImagePair pair, bool greyed) {
  if (pair < 0 || pair >= kFrameImagePairCount) return nullptr;
  const int g = greyed ? 1 : 0;
  if (!g_tried[pair][g]) {
    g_tried[pair][g] = true;
    const PairSource& source = kSources[pair];
    g_lists[pair][g] = LoadPngImageList(source.imageSize, source.count, source.ids,
                                        GetSysColor(COLOR_BTNFACE), greyed);
  }
  return g_lists[pair][g];
}
