#include "view/painting/selection_painter.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "tests/test_seed.h"
#include "tests/view/painting/recording_surface.h"

namespace {

constexpr PixelRect kArea = {0, 0, 299, 199};

SelectionRange RandomRange(std::mt19937& random) {
  std::uniform_int_distribution<uint32_t> column(0, 9);
  std::uniform_int_distribution<uint32_t> row(0, 14);
  uint32_t c1 = column(random), c2 = column(random), r1 = row(random), r2 = row(random);
  return {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
}

// Inverting is an XOR on every pixel, so the screen after any sequence of
// calls is white XOR their combined masks.
TEST(DrawSelection, InvertsWhatLiesInOneRangeOnlyWithFrozenPanes) {
  const uint32_t seed = TestSeed(20261207u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  CWorkSheet* sheet = book->activeWorksheet;
  for (int c = 0; c < 12; ++c) sheet->format.columns[c].SetWidth(static_cast<uint16_t>(20 + c), true);
  ViewCorner& frozen = ViewStateOf(&sheet->viewFormat)->frozen;
  frozen = {0, 0, static_cast<uint8_t>(kCornerRowGiven | kCornerColumnGiven)};

  for (int i = 0; i < 50; ++i) {
    const SelectionRange a = RandomRange(random);
    const SelectionRange b = RandomRange(random);
    const uint16_t firstColumn = static_cast<uint16_t>(1 + random() % 3);
    const uint32_t firstRow = 1 + random() % 3;
    auto draw = [&](RecordingSurface& rec, const SelectionRange* x, const SelectionRange* y) {
      DrawSelection(rec.Surface(), kArea, sheet, firstRow, firstColumn, x, y, 100, 100);
    };
    RecordingSurface white(300, 200);
    RecordingSurface twice(300, 200);
    draw(twice, &a, nullptr);
    EXPECT_NE(twice.pixels, white.pixels) << "pair " << i;
    draw(twice, &a, nullptr);
    EXPECT_EQ(twice.pixels, white.pixels) << "pair " << i;

    RecordingSurface moved(300, 200);
    RecordingSurface offOn(300, 200);
    draw(moved, &a, &b);
    draw(offOn, &a, nullptr);
    draw(offOn, &b, nullptr);
    EXPECT_EQ(moved.pixels, offOn.pixels) << "pair " << i;

    RecordingSurface same(300, 200);
    draw(same, &a, &a);
    EXPECT_EQ(same.pixels, white.pixels) << "pair " << i;
  }
}

TEST(DrawSelection, HandlesFrameTheRectangleWithEightSquares) {
  RecordingSurface rec(100, 100);
  DrawSelectionHandles(rec.Surface(), {10, 20, 60, 80});
  ASSERT_EQ(rec.Of('l').size(), 1u);
  const std::vector<RecordedOp> handles = rec.Of('F');
  ASSERT_EQ(handles.size(), 8u);
  EXPECT_EQ(handles[1].rect.left, 32);  // centred on the top edge
  EXPECT_EQ(handles[4].rect.right, 60);
  EXPECT_EQ(handles[4].rect.bottom, 80);
}

}  // namespace
