#include "view/printing/sheet_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Collect(void* context, const PlacedPage& placed) {
  static_cast<std::vector<PlacedPage>*>(context)->push_back(placed);
}

TEST(SheetPlacement, AlignmentBitsPlaceThePage) {
  const PixelRect place = {10, 20, 109, 219};  // 100 x 200
  const struct {
    uint8_t bits;
    PixelRect expected;
  } cases[] = {
      {0, {10, 20, 49, 79}},
      {kAlignPageCentre | kAlignPageMiddle, {40, 90, 79, 149}},
      {kAlignPageRight | kAlignPageBottom, {70, 160, 109, 219}},
      {kAlignPageCentre | kAlignPageRight, {40, 20, 79, 79}},  // centre wins
  };
  for (const auto& c : cases) {
    const PixelRect r = AlignPageInPlace(place, 40, 60, c.bits);
    EXPECT_EQ(r.left, c.expected.left) << int(c.bits);
    EXPECT_EQ(r.top, c.expected.top) << int(c.bits);
    EXPECT_EQ(r.right, c.expected.right) << int(c.bits);
    EXPECT_EQ(r.bottom, c.expected.bottom) << int(c.bits);
  }
}

TEST(SheetPlacement, SecondSheetOfTwoByTwoHoldsSelectedPagesFiveToEight) {
  PageList list;
  for (uint32_t i = 0; i < 11; ++i) {
    PageRecord page = {};
    page.firstRow = i;
    page.width = 10;
    page.height = 10;
    page.selected = i != 1;  // page 2 is not printed
    ASSERT_TRUE(list.Append(page));
  }
  PageSettings settings;
  InitPageSettings(&settings);
  settings.pagesPerSheetRows = 2;
  settings.pagesPerSheetColumns = 2;
  const PrintFrame frame = {0, 0, 400, 200, 0, 0, 0, 0, 0, 0};
  std::vector<PlacedPage> placed;
  PrintedSheetInfo info = {};
  EXPECT_EQ(PlaceSheetPages(list, settings, frame, {100, 100}, 1, &info, Collect, &placed), 4u);
  ASSERT_EQ(placed.size(), 4u);
  // Selected pages 5 to 8 are list entries 6 to 9; places are 200 x 100
  // less gaps of 4 and 2.
  const uint32_t expectedPages[] = {6, 7, 8, 9, 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(info.pages[i], expectedPages[i]);
  EXPECT_EQ(info.pageCount, 11u);
  EXPECT_EQ(info.sheetNumber, 2u);
  EXPECT_EQ(placed[1].target.left, 204);
  EXPECT_EQ(placed[2].target.top, 102);
  EXPECT_EQ(CountPrintedSheets(list, settings), 3u);
}

}  // namespace
