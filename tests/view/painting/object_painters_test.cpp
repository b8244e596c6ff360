#include "view/painting/object_painters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/workbook.h"
#include "tests/core/generic_locale_test.h"
#include "tests/view/painting/recording_surface.h"
#include "view/painting/grid_painter.h"

namespace {

struct Drawn {
  CWorkBook* workbook;
  ContainerRecord* container;
  PixelRect rect;
};
std::vector<Drawn> g_drawn;
std::vector<std::string> g_asked;
const uint8_t kPicture[44] = {40};

void RecordContainer(const PaintSurface&, CWorkBook* workbook, ContainerRecord* container, const PixelRect& rect,
                     uint16_t, uint16_t) {
  g_drawn.push_back({workbook, container, rect});
}

const void* PictureOf(CWorkBook*, const char* name) {
  g_asked.push_back(name);
  return std::strcmp(name, "known.png") == 0 ? kPicture : nullptr;
}

const ObjectPainters kRecorders = {RecordContainer, PictureOf};

class ObjectPainting : public GenericLocaleTest {
 protected:
  void SetUp() override {
    GenericLocaleTest::SetUp();
    ASSERT_TRUE(book->NewDocument());
    sheet = book->activeWorksheet;
    g_drawn.clear();
    g_asked.clear();
  }
  void TearDown() override {
    SetObjectPainters(nullptr);
    GenericLocaleTest::TearDown();
  }
  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;
  RecordingSurface rec{400, 200};
  GridPainter painter{book.get()};
};

TEST_F(ObjectPainting, ContainersGoToTheInstalledPainterWithTheirWorkbook) {
  ContainerRecord* box = new ContainerRecord();
  const ContainerAnchor anchor = {0, 0, 9};
  const ContainerRect offsets = {10, 5, 100, 50};
  box->Init(&anchor, &offsets);
  sheet->AddContainer(box);
  painter.PaintCells(rec.Surface(), {0, 0, 399, 199}, sheet, 0, 0, 100, 100);
  EXPECT_TRUE(g_drawn.empty());  // nothing installed: not drawn

  SetObjectPainters(&kRecorders);
  painter.PaintCells(rec.Surface(), {0, 0, 399, 199}, sheet, 0, 0, 100, 100);
  ASSERT_EQ(g_drawn.size(), 1u);
  EXPECT_EQ(g_drawn[0].workbook, book.get());
  EXPECT_EQ(g_drawn[0].container, box);
  EXPECT_EQ(g_drawn[0].rect.right - g_drawn[0].rect.left, 90);
}

TEST_F(ObjectPainting, AnImageBackgroundComesFromTheWorkbooksPictures) {
  SetObjectPainters(&kRecorders);
  sheet->viewFormat.backgroundMode = 2;
  sheet->viewFormat.imageSizeMode = 2;
  struct Case {
    const char* name;
    size_t drawn;
  } cases[] = {{"known.png", 1}, {"unknown.png", 0}, {"", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_asked.clear();
    rec.ops.clear();
    std::strcpy(sheet->viewFormat.imagePath, c.name);
    painter.PaintBackground(rec.Surface(), sheet, {30, 20, 399, 199});
    EXPECT_EQ(g_asked.size(), c.name[0] ? 1u : 0u);
    ASSERT_EQ(rec.ops.size(), c.drawn);
    if (c.drawn) {
      EXPECT_EQ(rec.ops[0].rect.left, 30);
      EXPECT_EQ(rec.ops[0].rect.bottom, 199);
    }
  }
}

}  // namespace
