// What a user meets with the keys of a new workbook: each story types into
// the real document window through the frame's message filter and
// accelerators and looks at the workbook afterwards.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/app/document/document_window_fixture.h"

namespace {

class UserKeys : public DocumentEditingTest {};

// Cut is a copy and then a deletion, whichever way it is given.
TEST_F(UserKeys, ControlXCutsTheCell) {
  CChildFrame* doc = NewDocument();
  ASSERT_NE(doc, nullptr);
  CWorkBook& book = *doc->Workbook();
  FocusCell(doc, 0, 0);
  Type("7");
  Key(VK_RETURN);
  FocusCell(doc, 0, 0);
  Key('X', VK_CONTROL);
  EXPECT_EQ(book.activeWorksheet->cells.GetCell(0, 0), nullptr) << "the cut cell stays";
  FocusCell(doc, 1, 0);
  Key('V', VK_CONTROL);
  EXPECT_EQ(NumberAt(book, 1, 0), 7);
  EXPECT_TRUE(g_boxes.empty());
}

}  // namespace
