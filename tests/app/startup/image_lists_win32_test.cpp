#include "app/startup/image_lists.h"

#include <gtest/gtest.h>

namespace {

TEST(ImageLists, EveryToolbarHasItsPicturesInBothForms) {
  BuildImageLists();
  const int counts[kProgramImageListCount] = {21, 5, 7, 1, 7};
  for (int kind = 0; kind < kProgramImageListCount; ++kind) {
    for (bool greyed : {false, true}) {
      HIMAGELIST list = ProgramImageList(ProgramImageListKind(kind), greyed);
      ASSERT_NE(list, nullptr) << kind;
      EXPECT_EQ(ImageList_GetImageCount(list), counts[kind]) << kind;
      int cx = 0, cy = 0;
      ImageList_GetIconSize(list, &cx, &cy);
      EXPECT_EQ(cx, kind == kMainToolbarImages ? 24 : 16);
    }
  }
  EXPECT_NE(ProtectedReadOnlyIcon(), nullptr);
  EXPECT_NE(ProtectedIcon(), nullptr);
  DestroyImageLists();
  EXPECT_EQ(ProgramImageList(kMainToolbarImages, false), nullptr);
}

}  // namespace
