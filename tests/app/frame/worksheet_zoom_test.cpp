// The zoom of the active worksheet or of all worksheets.

#include "app/frame/worksheet_zoom.h"

#include <gtest/gtest.h>

#include "core/workbook/workbook.h"

TEST(WorksheetZoom, ActiveOrEveryWorksheetFoldersSkipped) {
  CWorkBook book;
  ASSERT_TRUE(book.NewDocument());
  CWorkSheet* second = NewWorksheet("Second", 1);
  book.InsertItems(second, nullptr);
  book.InsertItems(NewFolderItem("Folder", 1, 0), nullptr);
  SetWorksheetZoom(&book, 150, false);
  EXPECT_EQ(book.activeWorksheet->viewFormat.zoom, 150);
  EXPECT_EQ(second->viewFormat.zoom, 100);
  SetWorksheetZoom(&book, 75, true);
  EXPECT_EQ(book.activeWorksheet->viewFormat.zoom, 75);
  EXPECT_EQ(second->viewFormat.zoom, 75);
  SetWorksheetZoom(nullptr, 50, true);
}
